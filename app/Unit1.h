// The program's main window. At this stage it is the empty titled form the
// program starts with; the converter's controls join it later.
#pragma once

#include "platform/forms/Forms.h"

class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* AOwner);
};

extern TForm1* Form1;
