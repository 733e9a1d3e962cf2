// The four windows of a form's layered border: their pictures cut from the
// skin's layer picture, their places around the form, their alpha, and the
// drag that resizes the form.
#include "skin/forms/SkinForm.LayerBorder.h"

#include "platform/core/Clock.h"
#include "platform/core/Conversions.h"
#include "platform/win/Windows.h"
#include "skin/forms/SkinForm.h"
#include "skin/model/bsEffects.Glow.h"
#include "skin/model/bsUtils.Layers.h"
#include "skin/model/bsUtils.h"

#include <algorithm>

namespace {

// Pixels with their alpha, stretched by nearest neighbour when the sizes
// differ; parts outside either bitmap are left out.
void CopyPixels(TbsBitmap* Dest, const TRect& D, const TbsBitmap* Src, const TRect& S) {
    const int DW = D.Width(), DH = D.Height(), SW = S.Width(), SH = S.Height();
    if (DW <= 0 || DH <= 0 || SW <= 0 || SH <= 0)
        return;
    for (int Y = 0; Y < DH; ++Y) {
        const int DY = D.Top + Y, SY = S.Top + Y * SH / DH;
        if (DY < 0 || DY >= Dest->Height() || SY < 0 || SY >= Src->Height())
            continue;
        for (int X = 0; X < DW; ++X) {
            const int DX = D.Left + X, SX = S.Left + X * SW / DW;
            if (DX < 0 || DX >= Dest->Width() || SX < 0 || SX >= Src->Width())
                continue;
            *Dest->PixelPtr(DX, DY) = *Src->PixelPtr(SX, SY);
        }
    }
}

// Band of Src tiled downwards over the whole of Dest. A band without rows
// cannot be tiled: Dest is then left as it is.
void TileDown(TbsBitmap* Dest, const TbsBitmap* Src, const TRect& Band) {
    const int BandH = Band.Height();
    if (BandH <= 0 || Band.Width() <= 0)
        return;
    const int H = Dest->Height();
    for (int M = 0; M <= H / BandH; ++M) {
        const int Top = M * BandH;
        const int Rows = std::min(BandH, H - Top);
        if (Rows <= 0)
            break;
        CopyPixels(Dest, TRect{0, Top, Dest->Width(), Top + Rows}, Src,
                   TRect{Band.Left, Band.Top, Band.Right, Band.Top + Rows});
    }
}

bool HasPixels(const std::unique_ptr<TbsBitmap>& B) {
    return B && !B->Empty() && B->Width() > 0 && B->Height() > 0;
}

} // namespace

// ---------------------------------------------------------------- window

TbsFormLayerWindow::TbsFormLayerWindow(TbsFormLayerBorder* AOwner, TForm* AForm)
    : TForm(AOwner), FForm(AForm), FLayerBorder(AOwner) {
    SetBorderStyle(bsNone);
    SetFormStyle(AForm && AForm->FormStyle() == fsStayOnTop ? fsStayOnTop : fsNormal);
}

void TbsFormLayerWindow::CreateParams(TCreateParams& Params) {
    TForm::CreateParams(Params);
    // Owned by the form it frames, not by the application: the window system
    // then hides the border with the form when it is minimized (by its own
    // button, by the desktop or along with its workspace) and shows it again
    // on restore.
    if (FForm && FForm->HandleAllocated())
        Params.WndParent = FForm->Handle();
    Params.ExStyle |= WS_EX_LAYERED;
    if (!FLayerBorder->Data() || IsNullRect(FLayerBorder->Data()->BorderRect))
        Params.ExStyle |= WS_EX_TRANSPARENT;
}

bool TbsFormLayerWindow::HitTestEnabled() const {
    return FLayerBorder->Data() && FLayerBorder->Data()->HitTestEnable;
}

bool TbsFormLayerWindow::CanResizeForm() {
    TbsSkinForm* C = FLayerBorder->BSF;
    return C->IsSizeable() && !C->RollUpState() && C->WindowState() == wsNormal;
}

TbsFormLayerBorderHit TbsFormLayerWindow::HitTest() {
    TPoint P;
    GetCursorPos(&P);
    const int L = FForm->Left(), T = FForm->Top(), W = FForm->Width(), H = FForm->Height();
    const int LS = FLayerBorder->LeftSize, TS = FLayerBorder->TopSize, RS = FLayerBorder->RightSize,
              BS = FLayerBorder->BottomSize;
    auto In = [&](int Left, int Top, int Right, int Bottom) {
        return P.X >= Left && P.X < Right && P.Y >= Top && P.Y < Bottom;
    };
    auto Sides = [&]() {
        if (L - LS <= P.X && P.X < L)
            return bsflhLeft;
        if (L + W < P.X && P.X <= L + W + RS)
            return bsflhRight;
        return bsflhNone;
    };
    switch (BorderType) {
    case bsflLeft:
        return P.X >= L - LS ? bsflhLeft : bsflhNone;
    case bsflRight:
        return P.X <= L + W + RS ? bsflhRight : bsflhNone;
    case bsflTop:
        if (In(L - LS, T - TS, L + 3, T + 3))
            return bsflhTopLeft;
        if (In(L, T - TS, L + W, T))
            return bsflhTop;
        if (In(L + W - 3, T - TS, L + W + RS, T + 3))
            return bsflhTopRight;
        return P.Y > T ? Sides() : bsflhNone;
    case bsflBottom:
        if (In(L - LS, T + H - 3, L + 3, T + H + BS))
            return bsflhBottomLeft;
        if (In(L, T + H, L + W, T + H + BS))
            return bsflhBottom;
        if (In(L + W - 3, T + H - 3, L + W + RS, T + H + BS))
            return bsflhBottomRight;
        return P.Y < T + H ? Sides() : bsflhNone;
    }
    return bsflhNone;
}

void TbsFormLayerWindow::ReleaseWindow() {
    if (FReleased)
        return;
    FReleased = true;
    FDown = false;
    if (HandleAllocated())
        ShowWindow(Handle(), SW_HIDE);
    if (FBusy > 0)
        FReleasePending = true;
    else
        Release();
}

void TbsFormLayerWindow::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_RELEASE && FBusy > 0) {
        FReleasePending = true;
        return;
    }
    if (Message.Msg == WM_MOUSEACTIVATE) {
        Message.Result = MA_NOACTIVATE;
        if (!FReleased && HitTestEnabled()) {
            FHitMode = HitTest();
            if (FHitMode != bsflhNone && !FForm->Active())
                FForm->Show();
        }
        return;
    }
    ++FBusy;
    TForm::Dispatch(Message);
    --FBusy;
    if (FBusy == 0 && FReleasePending) {
        FReleasePending = false;
        Release();
    }
}

void TbsFormLayerWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FReleased)
        return;
    TForm::MouseDown(Button, Shift, X, Y);
    if (!HitTestEnabled() || !CanResizeForm())
        return;
    FInProcessMessages = false;
    FDown = HitTest() != bsflhNone;
    GetCursorPos(&MousePos1);
    MousePos2 = MousePos1;
}

void TbsFormLayerWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FReleased)
        return;
    TForm::MouseUp(Button, Shift, X, Y);
    FLayerBorder->BSF->FBorderLayerChangeSize = false;
    if (HitTestEnabled() && CanResizeForm()) {
        FDown = false;
        FInProcessMessages = false;
    }
}

void TbsFormLayerWindow::MouseMove(TShiftState Shift, int X, int Y) {
    if (FReleased)
        return;
    if (FInProcessMessages) {
        FInProcessMessages = false;
        MousePos1 = MousePos2;
        return;
    }
    TForm::MouseMove(Shift, X, Y);
    if (!HitTestEnabled())
        return;
    TbsSkinForm* C = FLayerBorder->BSF;
    if (!CanResizeForm()) {
        if (Cursor() != crDefault)
            SetCursor(crDefault);
        return;
    }
    GetCursorPos(&MousePos2);
    const int DX = MousePos2.X - MousePos1.X, DY = MousePos2.Y - MousePos1.Y;
    if (!FDown) {
        C->FBorderLayerChangeSize = false;
        FHitMode = HitTest();
        static const TCursor Cursors[] = {crDefault,  crSizeWE,   crSizeNS,   crSizeWE,  crSizeNS,
                                          crSizeNWSE, crSizeNESW, crSizeNESW, crSizeNWSE};
        SetCursor(Cursors[FHitMode]);
        MousePos1 = MousePos2;
        return;
    }
    C->FBorderLayerChangeSize = true;
    const int L = FForm->Left(), T = FForm->Top(), W = FForm->Width(), H = FForm->Height();
    const int MinW = C->GetMinWidth(), MinH = C->GetMinHeight();
    const int MaxW = C->GetMaxWidth(), MaxH = C->GetMaxHeight();
    auto LimitW = [&](int V) { return std::min(std::max(V, MinW), MaxW); };
    auto LimitH = [&](int V) { return std::min(std::max(V, MinH), MaxH); };
    const bool Moved = DX != 0 || DY != 0;
    bool Applied = false;
    auto Apply = [&](int NL, int NT, int NW, int NH) {
        FForm->SetBounds(NL, NT, NW, NH);
        Applied = true;
    };
    switch (FHitMode) {
    case bsflhLeft: {
        const int NW = LimitW(W - DX);
        if (L + DX + NW == L + W && DX != 0 && NW != W)
            Apply(L + DX, T, NW, H);
        break;
    }
    case bsflhTop: {
        const int NH = LimitH(H - DY);
        if (T + DY + NH == T + H && DY != 0 && NH != H)
            Apply(L, T + DY, W, NH);
        break;
    }
    case bsflhRight: {
        const int NW = LimitW(W + DX);
        if (DX != 0 && NW != W)
            Apply(L, T, NW, H);
        break;
    }
    case bsflhBottom: {
        const int NH = LimitH(H + DY);
        if (DY != 0 && NH != H)
            Apply(L, T, W, NH);
        break;
    }
    case bsflhTopLeft: {
        const int NW = LimitW(W - DX), NH = LimitH(H - DY);
        if (L + DX + NW == L + W && T + DY + NH == T + H && Moved)
            Apply(L + DX, T + DY, NW, NH);
        break;
    }
    case bsflhTopRight: {
        const int NW = LimitW(W + DX), NH = LimitH(H - DY);
        if (T + DY + NH == T + H && !(NW == W && NH == H) && Moved)
            Apply(L, T + DY, NW, NH);
        break;
    }
    case bsflhBottomLeft: {
        const int NW = LimitW(W - DX), NH = LimitH(H + DY);
        if (L + DX + NW == L + W && !(NW == W && NH == H) && Moved)
            Apply(L + DX, T, NW, NH);
        break;
    }
    case bsflhBottomRight: {
        const int NW = LimitW(W + DX), NH = LimitH(H + DY);
        if (!(NW == W && NH == H) && Moved)
            Apply(L, T, NW, NH);
        break;
    }
    case bsflhNone:
        break;
    }
    if (Applied) {
        MousePos1 = MousePos2;
        FInProcessMessages = true;
        Application->ProcessMessages();
        if (FReleased)
            return;
        FInProcessMessages = false;
    }
    MousePos1 = MousePos2;
}

// ---------------------------------------------------------------- border

TbsFormLayerBorder::TbsFormLayerBorder(TbsSkinForm* AOwner) : TComponent(AOwner), BSF(AOwner) {}

TbsFormLayerBorder::~TbsFormLayerBorder() {
    // The windows are owned components: the inherited destruction frees
    // them; nothing here may reach them afterwards.
    LeftBorder = TopBorder = RightBorder = BottomBorder = nullptr;
}

void TbsFormLayerBorder::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    for (TbsFormLayerWindow** W : {&LeftBorder, &TopBorder, &RightBorder, &BottomBorder})
        if (static_cast<TComponent*>(*W) == AComponent)
            *W = nullptr;
}

TbsFormLayerWindow* TbsFormLayerBorder::Window(TbsFormLayerBorderType Side) const {
    switch (Side) {
    case bsflLeft:
        return LeftBorder;
    case bsflTop:
        return TopBorder;
    case bsflRight:
        return RightBorder;
    case bsflBottom:
        return BottomBorder;
    }
    return nullptr;
}

void TbsFormLayerBorder::InitFrame(TbsSkinData* ASkinData, TForm* AForm) {
    FForm = AForm;
    FSD = ASkinData;
    FData = (ASkinData && !ASkinData->Empty) ? ASkinData->LayerFrame.get() : nullptr;
    if (FData && FData->PictureIndex == -1)
        FData = nullptr;
    if (!FData)
        return;
    FSourceBitmap.reset();
    FSourceInActiveBitMap.reset();
    FCurrentAlphaBlendValue = FData->AlphaBlendValue;
    FCurrentInActiveAlphaBlendValue = FData->InActiveAlphaBlendValue;
    auto Source = [&](int Picture, int Mask) {
        auto B = std::make_unique<TbsBitmap>();
        MakeAlphaLayerBitmap(ASkinData->ActivePicture(Picture), ASkinData->ActivePicture(Mask),
                             B.get());
        B->CheckingAlphaBlend();
        return B;
    };
    FSourceBitmap = Source(FData->PictureIndex, FData->MaskPictureIndex);
    if (FData->InActivePictureIndex != -1)
        FSourceInActiveBitMap =
            Source(FData->InActivePictureIndex, FData->InActiveMaskPictureIndex);
    if (IsNullRect(FData->BorderRect))
        LeftSize = TopSize = RightSize = BottomSize = 0;
    else {
        LeftSize = FData->ClRect.Left - FData->BorderRect.Left;
        TopSize = FData->ClRect.Top - FData->BorderRect.Top;
        RightSize = FData->BorderRect.Right - FData->ClRect.Right;
        BottomSize = FData->BorderRect.Bottom - FData->ClRect.Bottom;
    }
}

int TbsFormLayerBorder::TopHeight() const {
    return std::max(FData->LTPoint.Y, FData->RTPoint.Y);
}

int TbsFormLayerBorder::BottomHeight() const {
    const TbsBitmap* S = FSourceBitmap.get();
    return (S ? S->Height() : 0) - std::min(FData->LBPoint.Y, FData->RBPoint.Y);
}

void TbsFormLayerBorder::BuildImages(int AWidth, int AHeight) {
    if (!FData || !HasPixels(FSourceBitmap))
        return;
    const TbsBitmap* S = (!FActive && HasPixels(FSourceInActiveBitMap))
                             ? FSourceInActiveBitMap.get()
                             : FSourceBitmap.get();
    const int SW = S->Width(), SH = S->Height();
    const TPoint LT = FData->LTPoint, RT = FData->RTPoint, LB = FData->LBPoint, RB = FData->RBPoint;
    const TRect Cl = FData->ClRect;
    const int TH = std::max(LT.Y, RT.Y);
    const int BH = SH - std::min(LB.Y, RB.Y);
    auto Strip = [](int W, int H) {
        auto B = std::make_unique<TbsBitmap>();
        if (W > 0 && H > 0) {
            B->SetSize(W, H);
            B->Clear(0);
        }
        return B;
    };

    TopImage = Strip(AWidth, TH);
    if (HasPixels(TopImage)) {
        CopyPixels(TopImage.get(), TRect{0, 0, LT.X, TH}, S, TRect{0, 0, LT.X, TH});
        CopyPixels(TopImage.get(), TRect{AWidth - (SW - RT.X), 0, AWidth, TH}, S,
                   TRect{RT.X, 0, SW, TH});
        CopyPixels(TopImage.get(), TRect{LT.X, 0, AWidth - (SW - RT.X), TH}, S,
                   TRect{LT.X, 0, RT.X, TH});
        TopImage->CheckingAlphaBlend();
    }
    BottomImage = Strip(AWidth, BH);
    if (HasPixels(BottomImage)) {
        CopyPixels(BottomImage.get(), TRect{0, 0, LB.X, BH}, S, TRect{0, SH - BH, LB.X, SH});
        CopyPixels(BottomImage.get(), TRect{AWidth - (SW - RB.X), 0, AWidth, BH}, S,
                   TRect{RB.X, SH - BH, SW, SH});
        CopyPixels(BottomImage.get(), TRect{LB.X, 0, AWidth - (SW - RB.X), BH}, S,
                   TRect{LB.X, SH - BH, RB.X, SH});
        BottomImage->CheckingAlphaBlend();
    }
    // The side bands end at SH - TH - BH, as the pictures are drawn for.
    const int SideH = AHeight - TH - BH;
    const int RightW = SW - Cl.Right;
    const bool Tileable = SH - TH - BH - TH > 0;
    LeftImage = Strip(Tileable ? Cl.Left : 0, SideH);
    if (HasPixels(LeftImage)) {
        TileDown(LeftImage.get(), S, TRect{0, TH, Cl.Left, SH - TH - BH});
        LeftImage->CheckingAlphaBlend();
    }
    RightImage = Strip(Tileable ? RightW : 0, SideH);
    if (HasPixels(RightImage)) {
        TileDown(RightImage.get(), S, TRect{SW - RightW, TH, SW, SH - TH - BH});
        RightImage->CheckingAlphaBlend();
    }
}

BYTE TbsFormLayerBorder::CurrentAlpha() const {
    const int A = FActive ? FCurrentAlphaBlendValue : FCurrentInActiveAlphaBlendValue;
    return static_cast<BYTE>(std::clamp(A, 0, 255));
}

void TbsFormLayerBorder::FreeWindows() {
    for (TbsFormLayerWindow** W : {&LeftBorder, &TopBorder, &RightBorder, &BottomBorder}) {
        if (*W)
            (*W)->ReleaseWindow();
        *W = nullptr;
    }
}

void TbsFormLayerBorder::PlaceWindows(int X, int Y, int AWidth, int AHeight, bool Show) {
    // A minimized form's border stays hidden, whatever repaints or
    // activation changes ask for; the restore shows it again.
    if (Show && FForm && FForm->HandleAllocated() && IsIconic(FForm->Handle()))
        Show = false;
    const int TH = HasPixels(TopImage) ? TopImage->Height() : TopHeight();
    const int BH = HasPixels(BottomImage) ? BottomImage->Height() : BottomHeight();
    const int RW = HasPixels(RightImage) ? RightImage->Width() : 0;
    const HWND After = FForm && FForm->FormStyle() == fsStayOnTop ? HWND_TOPMOST : HWND_TOP;
    const UINT Flags = SWP_NOACTIVATE | SWP_NOSIZE | (Show ? SWP_SHOWWINDOW : SWP_NOZORDER);
    auto Place = [&](TbsFormLayerWindow* W, int WX, int WY) {
        if (W)
            SetWindowPos(W->Handle(), Show ? After : nullptr, WX, WY, 0, 0, Flags);
    };
    Place(TopBorder, X, Y);
    Place(BottomBorder, X, Y + AHeight - BH);
    Place(LeftBorder, X, Y + TH);
    Place(RightBorder, X + AWidth - RW, Y + TH);
}

void TbsFormLayerBorder::Show(int X, int Y, int AWidth, int AHeight) {
    if (!FData)
        return;
    FWidth = AWidth;
    FHeight = AHeight;
    FVisible = true;
    BuildImages(AWidth, AHeight);
    FreeWindows();
    const int TH = HasPixels(TopImage) ? TopImage->Height() : 0;
    const int BH = HasPixels(BottomImage) ? BottomImage->Height() : 0;
    auto Make = [&](const std::unique_ptr<TbsBitmap>& Image, TbsFormLayerBorderType Type, int WX,
                    int WY) -> TbsFormLayerWindow* {
        if (!HasPixels(Image))
            return nullptr;
        auto* W = new TbsFormLayerWindow(this, FForm);
        W->BorderType = Type;
        W->SetBounds(WX, WY, Image->Width(), Image->Height());
        UpdateLayeredWindowAlpha(Image.get(), CurrentAlpha(), W);
        return W;
    };
    LeftBorder = Make(LeftImage, bsflLeft, X, Y + TH);
    RightBorder = Make(RightImage, bsflRight,
                       X + AWidth - (HasPixels(RightImage) ? RightImage->Width() : 0), Y + TH);
    TopBorder = Make(TopImage, bsflTop, X, Y);
    BottomBorder = Make(BottomImage, bsflBottom, X, Y + AHeight - BH);
    PlaceWindows(X, Y, AWidth, AHeight, true);
}

void TbsFormLayerBorder::Hide() {
    FVisible = false;
    LeftImage.reset();
    TopImage.reset();
    RightImage.reset();
    BottomImage.reset();
    FreeWindows();
}

void TbsFormLayerBorder::SetBounds(int X, int Y, int AWidth, int AHeight) {
    if (!FData || !FVisible)
        return;
    FWidth = AWidth;
    FHeight = AHeight;
    BuildImages(AWidth, AHeight);
    auto Push = [&](const std::unique_ptr<TbsBitmap>& Image, TbsFormLayerWindow* W) {
        if (W && HasPixels(Image)) {
            SetWindowPos(W->Handle(), nullptr, 0, 0, Image->Width(), Image->Height(),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            UpdateLayeredWindowAlpha(Image.get(), CurrentAlpha(), W);
        }
    };
    Push(LeftImage, LeftBorder);
    Push(TopImage, TopBorder);
    Push(RightImage, RightBorder);
    Push(BottomImage, BottomBorder);
    PlaceWindows(X, Y, AWidth, AHeight, false);
}

TRect TbsFormLayerBorder::FrameOf(int L, int T, int W, int H) const {
    const int PW = FSourceBitmap ? FSourceBitmap->Width() : 0;
    const int PH = FSourceBitmap ? FSourceBitmap->Height() : 0;
    const TRect& Cl = FData->ClRect;
    const int X0 = L - Cl.Left, Y0 = T - Cl.Top;
    return TRect{X0, Y0, X0 + W + PW - Cl.Width(), Y0 + H + PH - Cl.Height()};
}

void TbsFormLayerBorder::ShowWithForm() {
    if (!FData || !FForm)
        return;
    const TRect R = FrameOf(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
    Show(R.Left, R.Top, R.Width(), R.Height());
}

void TbsFormLayerBorder::SetBoundsWithForm() {
    if (!FData || !FVisible || !FForm)
        return;
    const TRect R = FrameOf(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
    SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

void TbsFormLayerBorder::SetBoundsWithForm2(int AW, int AH) {
    if (!FData || !FVisible || !FForm)
        return;
    const TRect R = FrameOf(FForm->Left(), FForm->Top(), AW, AH);
    SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

void TbsFormLayerBorder::SetBoundsWithForm3(int ALeft, int ATop, int AW, int AH) {
    if (!FData || !FVisible)
        return;
    const TRect R = FrameOf(ALeft, ATop, AW, AH);
    SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

void TbsFormLayerBorder::MoveWithForm() {
    if (FForm)
        MoveWithForm2(FForm->Left(), FForm->Top());
}

void TbsFormLayerBorder::MoveWithForm2(int ALeft, int ATop) {
    if (!FData || !FVisible || !FForm)
        return;
    const TRect R = FrameOf(ALeft, ATop, FForm->Width(), FForm->Height());
    PlaceWindows(R.Left, R.Top, R.Width(), R.Height(), false);
}

void TbsFormLayerBorder::SetAlphaBlend() {
    if (!FData || !FVisible || !TopImage)
        return;
    auto Push = [&](const std::unique_ptr<TbsBitmap>& Image, TbsFormLayerWindow* W) {
        if (W && HasPixels(Image))
            UpdateLayeredWindowAlpha(Image.get(), CurrentAlpha(), W);
    };
    Push(LeftImage, LeftBorder);
    Push(TopImage, TopBorder);
    Push(RightImage, RightBorder);
    Push(BottomImage, BottomBorder);
}

void TbsFormLayerBorder::SetAlphaBlend2() {
    if (!FData || !FVisible || !FForm)
        return;
    // The active and inactive pictures may differ: the strips follow FActive.
    const TRect R = FrameOf(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
    BuildImages(R.Width(), R.Height());
    SetAlphaBlend();
    PlaceWindows(R.Left, R.Top, R.Width(), R.Height(), true);
}

void TbsFormLayerBorder::CheckFormAlpha(int AFormAlpha, bool AUpdate) {
    if (!FData)
        return;
    const double K = AFormAlpha / 255.0;
    FCurrentAlphaBlendValue = static_cast<int>(Round(FData->AlphaBlendValue * K));
    FCurrentInActiveAlphaBlendValue = static_cast<int>(Round(K * FData->InActiveAlphaBlendValue));
    if (AUpdate)
        SetAlphaBlend();
}

void TbsFormLayerBorder::SetActive(bool AValue, bool AUpdate) {
    FActive = AValue;
    if (FVisible && AUpdate)
        SetAlphaBlend2();
}

void TbsFormLayerBorder::ShowWithFormAnimation() {
    if (!FData)
        return;
    const int Target = FCurrentAlphaBlendValue;
    FCurrentAlphaBlendValue = 0;
    ShowWithForm();
    Application->ProcessMessages();
    const int Step = std::max(Target / 15, 1);
    int A = 0;
    std::uint32_t Last = 0;
    while (A < Target) {
        const std::uint32_t Now = GetTickCount();
        if (Now - Last <= 5)
            continue;
        Last = Now;
        A = std::min(A + Step, Target);
        FCurrentAlphaBlendValue = A;
        SetAlphaBlend();
    }
}

void TbsFormLayerBorder::Draw(TCanvas* Canvas, int X, int Y, int AWidth, int AHeight) {
    if (!FData)
        return;
    BuildImages(AWidth, AHeight);
    const HDC DC = Canvas->Handle();
    const int TH = HasPixels(TopImage) ? TopImage->Height() : 0;
    const int BH = HasPixels(BottomImage) ? BottomImage->Height() : 0;
    if (HasPixels(TopImage))
        TopImage->Draw(DC, X, Y);
    if (HasPixels(BottomImage))
        BottomImage->Draw(DC, X, Y + AHeight - BH);
    if (HasPixels(LeftImage))
        LeftImage->Draw(DC, X, Y + TH);
    if (HasPixels(RightImage))
        RightImage->Draw(DC, X + AWidth - RightImage->Width(), Y + TH);
}
