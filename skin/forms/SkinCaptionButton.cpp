#include "skin/forms/SkinCaptionButton.h"

#include "skin/model/bsUtils.Glyphs.h"

void DrawDefaultCaptionButton(TCanvas* Cnvs, const TRect& R, TbsCaptionGlyph Glyph, bool Pressed,
                              bool Hot, bool Enabled) {
    const int W = R.Width(), H = R.Height();
    if (W <= 0 || H <= 0)
        return;
    TBitmap B;
    B.SetSize(W, H);
    TCanvas* C = B.Canvas();
    const TRect All{0, 0, W, H};
    if (Hot) {
        C->Brush()->SetColor(RGB(0, 0, 128));
        C->FillRect(All);
        C->Brush()->SetColor(Pressed ? RGB(133, 147, 181) : RGB(182, 189, 210));
        C->FillRect(TRect{1, 1, W - 1, H - 1});
    } else {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(All);
    }
    int X = W / 2 - 5, Y = H / 2 - 4;
    if (Pressed && Hot) {
        ++X;
        ++Y;
    }
    const TColor Color = Enabled ? clBtnText : clBtnShadow;
    switch (Glyph) {
    case cgNone:
        break;
    case cgClose:
        DrawCloseImage(C, X, Y, Color);
        break;
    case cgMaximize:
        DrawMaximizeImage(C, X, Y, Color);
        break;
    case cgRestore:
        DrawRestoreImage(C, X, Y, Color);
        break;
    case cgMinimize:
        DrawMinimizeImage(C, X, Y, Color);
        break;
    case cgSysMenu:
        DrawSysMenuImage(C, X, Y, Color);
        break;
    case cgRollUp:
        DrawRollUpImage(C, X, Y, Color);
        break;
    case cgRollDown:
        DrawRollDownImage(C, X, Y, Color);
        break;
    case cgTray:
        DrawTrayImage(C, X, Y, Color);
        break;
    }
    Cnvs->Draw(R.Left, R.Top, &B);
}
