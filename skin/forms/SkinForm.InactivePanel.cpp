// The panel that covers the client area of an inactive form. It is not
// part of the program yet: nothing is shown or hidden.
#include "skin/forms/SkinForm.h"

void TbsSkinForm::ShowClientInActiveEffect() {}

void TbsSkinForm::HideClientInActiveEffect() {}
