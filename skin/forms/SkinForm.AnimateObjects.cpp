// The animation object's looks, hover, buttons, command and menu. Until the
// caption animations are part of the program an animation behaves as the
// base caption object: base looks, base events.
#include "skin/forms/SkinForm.h"

void TbsSkinAnimateObject::ShowLayer() {
    TbsActiveSkinObject::ShowLayer();
}

void TbsSkinAnimateObject::HideLayer() {
    TbsActiveSkinObject::HideLayer();
}

void TbsSkinAnimateObject::Draw(TCanvas* Cnvs, bool UpDate) {
    TbsActiveSkinObject::Draw(Cnvs, UpDate);
}

void TbsSkinAnimateObject::DblClick() {
    TbsActiveSkinObject::DblClick();
}

void TbsSkinAnimateObject::MouseDown(int X, int Y, TMouseButton Button) {
    TbsActiveSkinObject::MouseDown(X, Y, Button);
}

void TbsSkinAnimateObject::MouseUp(int X, int Y, TMouseButton Button) {
    TbsActiveSkinObject::MouseUp(X, Y, Button);
}

void TbsSkinAnimateObject::MouseEnter() {
    TbsActiveSkinObject::MouseEnter();
}

void TbsSkinAnimateObject::MouseLeave() {
    TbsActiveSkinObject::MouseLeave();
}

void TbsSkinAnimateObject::DoCommand() {}

void TbsSkinAnimateObject::TrackMenu() {}
