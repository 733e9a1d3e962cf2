#include "app/Unit1.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
    Form1 = this;
    SetName("Form1");
    SetCaption("Ostrela");
    SetBorderStyle(bsSingle);
    // Until the skinned frame draws the caption, the plain frame offers
    // closing and minimizing.
    SetBorderIcons({biSystemMenu, biMinimize});
    SetPosition(poDesktopCenter);
    Font()->SetName("MS Sans Serif");
    // The client size follows from the frame, which the window knows.
    HandleNeeded();
    SetClientWidth(804);
    SetClientHeight(541);
}
