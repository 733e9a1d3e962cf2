// The layered border around the form. No border window exists yet, which
// is the state of a skin without a layer picture: nothing is in use.
#include "skin/forms/SkinForm.h"

bool TbsSkinForm::IsLayeredBorderUsed() {
    return false;
}

bool TbsSkinForm::IsLayeredBorderVisible() {
    return false;
}

bool TbsSkinForm::UseVistaBorderFade() {
    return false;
}

void TbsSkinForm::BorderShowWithForm() {}

void TbsSkinForm::BorderHide() {}

void TbsSkinForm::BorderSetBoundsWithForm() {}

void TbsSkinForm::BorderSetBoundsWithForm3(int, int, int, int) {}

void TbsSkinForm::BorderMoveWithForm2(int, int) {}

void TbsSkinForm::BorderSetActive(bool, bool) {}

void TbsSkinForm::BorderInitFrame() {}

void TbsSkinForm::BorderShowWithFormAnimation() {}

void TbsSkinForm::BorderSetActiveFlag(bool) {}
