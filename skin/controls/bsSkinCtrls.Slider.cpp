#include "skin/controls/bsSkinCtrls.Slider.h"

#include "platform/core/Streams.h"
#include "platform/gdi/BmpCodec.h"
#include "skin/model/bsMessages.h"
#include "skin/model/bsSkinData.Component.h"
#include "skin/model/bsSkinData.Controls.h"
#include "skin/model/bsSkinData.Records.h"
#include "skin/model/bsUtils.Glyphs.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.ParentBackground.h"
#include "skin/model/bsUtils.Rects.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <mutex>

namespace {

constexpr UINT_PTR TrackTimerId = 1;
constexpr UINT TrackDelay = 400;
constexpr int Margin = 6;

int Nearest(double X) {
    return static_cast<int>(std::nearbyint(X));
}

const char* const DefaultPictureNames[4] = {"BS_HTB", "BS_HRL", "BS_VTB", "BS_VRL"};

// The default pictures, drawn in the plain look's colours: index 0 is the
// see-through key (their corners), the rest the 3-D face colours.
enum TPen4 : std::uint8_t { Key, Face, Light, Shadow, Dark };

struct TPicture4 {
    int W, H;
    std::vector<std::uint8_t> Px;
    TPicture4(int AW, int AH) : W(AW), H(AH), Px(std::size_t(AW) * AH, Face) {}
    void Set(int X, int Y, std::uint8_t V) { Px[std::size_t(Y) * W + X] = V; }
};

RGBQUAD Quad(TColor C) {
    const TColor RGBValue = ColorToRGB(C);
    return RGBQUAD{BYTE((RGBValue >> 16) & 0xFF), BYTE((RGBValue >> 8) & 0xFF),
                   BYTE(RGBValue & 0xFF), 0};
}

std::vector<std::uint8_t> EncodeBmp4(const TPicture4& P) {
    TBmpImage Image;
    Image.Width = P.W;
    Image.Height = P.H;
    Image.Format = pf4bit;
    Image.Table.assign(16, RGBQUAD{0, 0, 0, 0});
    Image.Table[Key] = Quad(RGB(255, 0, 255));
    Image.Table[Face] = Quad(clBtnFace);
    Image.Table[Light] = Quad(clBtnHighlight);
    Image.Table[Shadow] = Quad(clBtnShadow);
    Image.Table[Dark] = Quad(cl3DDkShadow);
    const int Row = ((P.W * 4 + 31) / 32) * 4;
    Image.Pixels.assign(std::size_t(Row) * P.H, 0);
    for (int Y = 0; Y < P.H; ++Y)
        for (int X = 0; X < P.W; ++X) {
            std::uint8_t& B = Image.Pixels[std::size_t(Y) * Row + X / 2];
            const std::uint8_t V = P.Px[std::size_t(Y) * P.W + X];
            B |= X % 2 == 0 ? std::uint8_t(V << 4) : V;
        }
    TMemoryStream S;
    WriteBmp(S, Image);
    const auto* Bytes = static_cast<const std::uint8_t*>(S.Memory());
    return {Bytes, Bytes + S.Size()};
}

// A raised cell at X0 of width W; Pressed draws it sunken and darker.
void ThumbCell(TPicture4& P, int X0, int W, bool Pressed) {
    for (int Y = 0; Y < P.H; ++Y)
        for (int X = X0; X < X0 + W; ++X) {
            const bool L = X == X0, T = Y == 0, R = X == X0 + W - 1, B = Y == P.H - 1;
            std::uint8_t V = Pressed ? Shadow : Face;
            if (R || B)
                V = Pressed ? Light : Dark;
            else if (L || T)
                V = Pressed ? Dark : Light;
            P.Set(X, Y, V);
        }
    P.Set(X0, 0, Key);
    P.Set(X0 + W - 1, 0, Key);
    P.Set(X0, P.H - 1, Key);
    P.Set(X0 + W - 1, P.H - 1, Key);
}

// A sunken groove; the two end columns (rows) are darker than the middle so
// that the unstretched ends show.
TPicture4 Groove(int W, int H, bool Horizontal) {
    TPicture4 P(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const int Along = Horizontal ? X : Y, Len = Horizontal ? W : H;
            const int Across = Horizontal ? Y : X, Thick = Horizontal ? H : W;
            std::uint8_t V = Across == 0 ? Shadow : Across == Thick - 1 ? Light : Face;
            if (Along < 2 || Along >= Len - 2)
                V = Across == Thick - 1 ? Light : Dark;
            P.Set(X, Y, V);
        }
    P.Set(0, 0, Key);
    P.Set(W - 1, 0, Key);
    P.Set(0, H - 1, Key);
    P.Set(W - 1, H - 1, Key);
    return P;
}

} // namespace

void RegisterSliderDefaultPictures() {
    static std::once_flag Once;
    std::call_once(Once, [] {
        TPicture4 HThumb(18, 17);
        ThumbCell(HThumb, 0, 9, false);
        ThumbCell(HThumb, 9, 9, true);
        TPicture4 VThumb(38, 9);
        ThumbCell(VThumb, 0, 19, false);
        ThumbCell(VThumb, 19, 19, true);
        RegisterResource("BS_HTB", EncodeBmp4(HThumb));
        RegisterResource("BS_HRL", EncodeBmp4(Groove(10, 8, true)));
        RegisterResource("BS_VTB", EncodeBmp4(VThumb));
        RegisterResource("BS_VRL", EncodeBmp4(Groove(8, 10, false)));
    });
}

// ---------------------------------------------------------------- life

TbsSkinCustomSlider::TbsSkinCustomSlider(TComponent* AOwner) : TbsSkinControl(AOwner) {
    TControlStyle S = ControlStyle();
    S.Include(csAcceptsControls);
    S.Include(csCaptureMouse);
    S.Include(csClickEvents);
    S.Include(csDoubleClicks);
    S.Include(csOpaque);
    SetControlStyle(S);
    SetTabStop(true);
    SetBounds(Left(), Top(), 150, 40);
    FRuler = std::make_unique<TBitmap>();
    for (int I = 0; I < 4; ++I)
        LoadDefaultImage(TbsSliderImage(I));
    FSkinDataName = "slider";
    FCreating = false;
    AdjustElements();
}

TbsSkinCustomSlider::~TbsSkinCustomSlider() {
    OnChange = nullptr;
    OnChanged = nullptr;
    OnDrawPoints = nullptr;
    if (FTimerActive && HandleAllocated())
        KillTimer(Handle(), TrackTimerId);
}

bool TbsSkinCustomSlider::Reading() const {
    return ComponentState().Contains(csReading);
}

void TbsSkinCustomSlider::LoadDefaultImage(TbsSliderImage Index) {
    RegisterSliderDefaultPictures();
    if (!FImages[Index])
        FImages[Index] = std::make_unique<TBitmap>();
    FImages[Index]->LoadFromResourceName(nullptr, DefaultPictureNames[Index]);
}

void TbsSkinCustomSlider::SetImage(TbsSliderImage Index, TBitmap* B) {
    if (B) {
        if (!FImages[Index])
            FImages[Index] = std::make_unique<TBitmap>();
        FImages[Index]->Assign(B);
        FUserImages.Include(Index);
    } else {
        LoadDefaultImage(Index);
        FUserImages.Exclude(Index);
        if (!Reading()) {
            TbsSliderOptions O = FOptions;
            O.Exclude(Index == siHThumb || Index == siVThumb ? soThumbOpaque : soRulerOpaque);
            FOptions = O;
            Invalidate();
        }
    }
    if (!FCreating)
        AdjustElements();
}

void TbsSkinCustomSlider::Loaded() {
    TbsSkinControl::Loaded();
    if (!FUserImages.Empty())
        AdjustElements();
}

// ---------------------------------------------------------------- values

void TbsSkinCustomSlider::Change() {
    if (OnChange)
        OnChange(this);
}

void TbsSkinCustomSlider::Changed() {
    if (OnChanged)
        OnChanged(this);
}

void TbsSkinCustomSlider::SetValue(int V) {
    V = std::clamp(V, FMinValue, std::max(FMinValue, FMaxValue));
    const int Old = FValue;
    FValue = V;
    MoveThumb(ValueToPos(V));
    if (V != Old)
        Change();
}

void TbsSkinCustomSlider::SetRange(int AMin, int AMax) {
    if (AMin >= AMax && !Reading())
        return;
    FMinValue = AMin;
    FMaxValue = AMax;
    if (!Reading() && AMax < AMin + FIncrement)
        FIncrement = AMax - AMin;
    if (FOptions.Contains(soShowPoints))
        Invalidate();
    SetValue(FValue);
    RangeChanged();
}

void TbsSkinCustomSlider::SetMinValue(int V) {
    if (V != FMinValue)
        SetRange(V, FMaxValue);
}

void TbsSkinCustomSlider::SetMaxValue(int V) {
    if (V != FMaxValue)
        SetRange(FMinValue, V);
}

void TbsSkinCustomSlider::SetIncrement(int V) {
    if (V <= 0 || V == FIncrement)
        return;
    FIncrement = V;
    SetValue(FValue);
    Invalidate();
}

void TbsSkinCustomSlider::SetOrientation(TbsSliderOrientation V) {
    if (V == FOrientation)
        return;
    FOrientation = V;
    AdjustElements();
    if (!ComponentState().Contains(csLoading))
        SetBounds(Left(), Top(), Height(), Width());
}

void TbsSkinCustomSlider::SetOptions(TbsSliderOptions V) {
    if (V == FOptions)
        return;
    FOptions = V;
    Invalidate();
}

void TbsSkinCustomSlider::SetTransparent(bool V) {
    FTransparent = V;
    Invalidate();
}

void TbsSkinCustomSlider::SetUseSkinThumb(bool V) {
    FUseSkinThumb = V;
    AdjustElements();
}

void TbsSkinCustomSlider::SetNumThumbStates(TbsNumThumbStates V) {
    if (V == FNumThumbStates || V < 1 || V > 2)
        return;
    FNumThumbStates = V;
    AdjustElements();
}

void TbsSkinCustomSlider::SetEdgeSize(int V) {
    if (V == FEdgeSize)
        return;
    const int Limit =
        FOrientation == soHorizontal ? FImages[siHRuler]->Width() : FImages[siVRuler]->Height();
    if (2 * V >= Limit)
        return;
    FEdgeSize = V;
    AdjustElements();
}

// ---------------------------------------------------------------- skin and layout

void TbsSkinCustomSlider::GetSkinData() {
    TbsSkinControl::GetSkinData();
    Picture = nullptr;
    if (FIndex == -1)
        return;
    auto* E = dynamic_cast<TbsDataSkinSlider*>(FSD->CtrlList[FIndex].get());
    if (!E)
        return;
    Picture = FSD->ActivePicture(E->PictureIndex);
    HRulerRect = E->HRulerRect;
    HThumbRect = E->HThumbRect;
    VRulerRect = E->VRulerRect;
    VThumbRect = E->VThumbRect;
    SkinEdgeSize = E->EdgeSize;
    BGColor = E->BGColor;
    PointsColor = E->PointsColor;
}

void TbsSkinCustomSlider::ChangeSkinData() {
    AdjustElements();
}

bool TbsSkinCustomSlider::SkinThumb() const {
    return FIndex != -1 && FUseSkinThumb && Picture;
}

TSize TbsSkinCustomSlider::ThumbSize() {
    if (SkinThumb()) {
        const TRect& T = FOrientation == soHorizontal ? HThumbRect : VThumbRect;
        return {RectWidth(T) / 2, RectHeight(T)};
    }
    TBitmap* P = FImages[FOrientation == soHorizontal ? siHThumb : siVThumb].get();
    return {P->Width() / FNumThumbStates, P->Height()};
}

void TbsSkinCustomSlider::BuildRuler(const TRect& R) {
    const bool Horz = FOrientation == soHorizontal;
    if (FIndex != -1 && Picture) {
        if (Horz)
            MakeHorzThreePartBitmap(SkinEdgeSize, SkinEdgeSize, FRuler.get(), Picture, HRulerRect,
                                    std::max(0, RectWidth(R) - 2 * Margin), RectHeight(HRulerRect),
                                    false);
        else
            MakeVertThreePartBitmap(SkinEdgeSize, SkinEdgeSize, FRuler.get(), Picture, VRulerRect,
                                    RectWidth(VRulerRect), std::max(0, RectHeight(R) - 2 * Margin),
                                    false);
        return;
    }
    TBitmap* P = FImages[Horz ? siHRuler : siVRuler].get();
    const int PLen = Horz ? P->Width() : P->Height();
    const int Thick = Horz ? P->Height() : P->Width();
    const int L = std::max(0, (Horz ? RectWidth(R) : RectHeight(R)) - 2 * Margin);
    const int E = FEdgeSize;
    if (Horz)
        FRuler->SetSize(L, Thick);
    else
        FRuler->SetSize(Thick, L);
    // Copies Len pixels of P starting at From to the ruler at To.
    auto Piece = [&](int To, int From, int Len) {
        if (Len <= 0)
            return;
        if (Horz)
            CopyPart(FRuler.get(), {To, 0, To + Len, Thick}, P, {From, 0, From + Len, Thick});
        else
            CopyPart(FRuler.get(), {0, To, Thick, To + Len}, P, {0, From, Thick, From + Len});
    };
    const int Middle = PLen - 2 * E;
    if (L < PLen || Middle <= 0) {
        const int Last = std::min(E, L);
        Piece(0, 0, L - Last);
        Piece(L - Last, PLen - Last, Last);
        return;
    }
    Piece(0, 0, PLen - E);
    int Pos = PLen - E;
    const int Rest = L - PLen;
    for (int K = 0; K < Rest / Middle; ++K, Pos += Middle)
        Piece(Pos, E, Middle);
    const int LastLen = E + Rest % Middle;
    Piece(Pos, PLen - LastLen, LastLen);
}

void TbsSkinCustomSlider::AdjustElements() {
    GetSkinData();
    const int Kept = FValue;
    TRect R;
    GetSliderRect(R);
    BuildRuler(R);
    const TSize T = ThumbSize();
    const int TW = T.cx, TH = T.cy;
    const int RW = FRuler->Width(), RH = FRuler->Height();
    if (FOrientation == soHorizontal) {
        const int Base = R.Left + Margin;
        if (TH > RH) {
            FThumbRect = {Base, R.Top + Margin, Base + TW, R.Top + Margin + TH};
            FRulerOrg = {Base, R.Top + Margin + (TH - RH) / 2};
        } else {
            const int Top = R.Top + Margin + (RH - TH) / 2;
            FThumbRect = {Base, Top, Base + TW, Top + TH};
            FRulerOrg = {Base, R.Top + Margin};
        }
        FPointsRect = {FRulerOrg.X, R.Top + std::max(TH, RH) + 7, FRulerOrg.X + RW,
                       R.Bottom - R.Top - 1};
    } else {
        const int Base = R.Top + Margin;
        const int TestW = FImages[siVThumb]->Width() / FNumThumbStates;
        if (TestW > RW) {
            FThumbRect = {R.Left + Margin, Base, R.Left + Margin + TW, Base + TH};
            FRulerOrg = {R.Left + Margin + (TW - RW) / 2, Base};
        } else {
            const int Left = R.Left + Margin + (RW - TW) / 2;
            FThumbRect = {Left, Base, Left + TW, Base + TH};
            FRulerOrg = {R.Left + Margin, Base};
        }
        FPointsRect = {R.Left + std::max(TW, RW) + 7, FRulerOrg.Y, R.Right - R.Left - 1,
                       FRulerOrg.Y + RH};
    }
    SetValue(Kept);
    Invalidate();
}

// ---------------------------------------------------------------- geometry

int TbsSkinCustomSlider::TrackLength() {
    const bool Horz = FOrientation == soHorizontal;
    if (FIndex != -1 && Picture)
        return Horz ? FRuler->Width() - RectWidth(HThumbRect) / 2
                    : FRuler->Height() - RectHeight(VThumbRect);
    const TSize T = ThumbSize();
    return Horz ? FRuler->Width() - T.cx : FRuler->Height() - T.cy;
}

int TbsSkinCustomSlider::ValueToPos(int V) {
    TRect R;
    GetSliderRect(R);
    const bool Horz = FOrientation == soHorizontal;
    const int Base = (Horz ? R.Left : R.Top) + Margin;
    const int Span = FMaxValue - FMinValue;
    // An empty range (possible while a form is read) has no positions.
    const int X = Span <= 0 ? 0 : Nearest(double(TrackLength()) * (V - FMinValue) / Span);
    const int P = Horz ? Base + X : R.Top + R.Bottom - (Base + X) - ThumbSize().cy;
    return std::max(P, Base);
}

int TbsSkinCustomSlider::PosToValue(int P) {
    const int TL = TrackLength();
    // A slider too short for its thumb has a single position.
    if (TL <= 0)
        return FMinValue;
    TRect R;
    GetSliderRect(R);
    if (FOrientation == soVertical)
        P = ClientHeight() - P - ThumbSize().cy;
    int V = Nearest(double(P - R.Left - Margin) * (FMaxValue - FMinValue) / TL);
    if (!FOptions.Contains(soSmooth) && FIncrement > 0)
        V = Nearest(double(V) / FIncrement) * FIncrement;
    return std::min(std::max(V, 0) + FMinValue, FMaxValue);
}

int TbsSkinCustomSlider::SnapPosition(int P) {
    TRect R;
    GetSliderRect(R);
    const int Base = (FOrientation == soHorizontal ? R.Left : R.Top) + Margin;
    const int TL = TrackLength();
    const int P1 = std::max(P, Base);
    const int P2 = ValueToPos(PosToValue(std::min(P1, Base + TL)));
    return std::min(P2, Base + std::max(TL, 0));
}

void TbsSkinCustomSlider::InvalidateThumb() {
    if (!HandleAllocated())
        return;
    const RECT R{FThumbRect.Left, FThumbRect.Top, FThumbRect.Right, FThumbRect.Bottom};
    InvalidateRect(Handle(), &R, FALSE);
}

void TbsSkinCustomSlider::MoveThumb(int P) {
    const int Old = FValue;
    const int P2 = SnapPosition(P);
    InvalidateThumb();
    const int W = RectWidth(FThumbRect), H = RectHeight(FThumbRect);
    if (FOrientation == soHorizontal)
        FThumbRect = {P2, FThumbRect.Top, P2 + W, FThumbRect.Top + H};
    else
        FThumbRect = {FThumbRect.Left, P2, FThumbRect.Left + W, P2 + H};
    InvalidateThumb();
    if (FSliding) {
        FValue = PosToValue(P2);
        if (FValue != Old)
            Change();
    }
}

void TbsSkinCustomSlider::JumpTo(TbsJumpMode Mode) {
    int Target;
    switch (Mode) {
    case jmHome:
        Target = FMinValue;
        break;
    case jmEnd:
        Target = FMaxValue;
        break;
    case jmNext:
        Target = FIncrement * Nearest(double(FValue) / FIncrement) + FIncrement;
        break;
    case jmPrior:
        Target = FIncrement * Nearest(double(FValue) / FIncrement) - FIncrement;
        break;
    default:
        return;
    }
    Target = Target >= FMaxValue ? FMaxValue : std::max(Target, FMinValue);
    if (Target != FValue)
        SetValue(Target);
}

TbsJumpMode TbsSkinCustomSlider::HitTest(int X, int Y) {
    if (FOrientation == soHorizontal) {
        if (X < FThumbRect.Left)
            return jmPrior;
        if (X > FThumbRect.Right)
            return jmNext;
    } else {
        if (Y < FThumbRect.Top)
            return jmNext;
        if (Y > FThumbRect.Bottom)
            return jmPrior;
    }
    return jmNone;
}

// ---------------------------------------------------------------- input

void TbsSkinCustomSlider::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || Shift.Contains(ssDouble))
        return;
    if (CanFocus())
        SetFocus();
    if (X >= FThumbRect.Left && X < FThumbRect.Right && Y >= FThumbRect.Top &&
        Y < FThumbRect.Bottom) {
        ThumbMouseDown(Button, Shift, X, Y);
        return;
    }
    TRect Ruler{FRulerOrg.X, FRulerOrg.Y, FRulerOrg.X + FRuler->Width(),
                FRulerOrg.Y + FRuler->Height()};
    if (FOrientation == soHorizontal) {
        Ruler.Top -= 3;
        Ruler.Bottom += 3;
    } else {
        Ruler.Left -= 3;
        Ruler.Right += 3;
    }
    if (!PointInRect(Ruler, {X, Y}) || !CanModify())
        return;
    if (FJumpToPress) {
        SlideFromPress(X, Y);
        return;
    }
    SetMouseCapture(true);
    FTracking = true;
    FMousePos = {X, Y};
    FStartJump = HitTest(X, Y);
    TrackTimer();
}

void TbsSkinCustomSlider::ThumbMouseDown(TMouseButton Button, TShiftState, int X, int Y) {
    if (CanFocus())
        SetFocus();
    if (Button != mbLeft || !CanModify())
        return;
    FSliding = true;
    FThumbDown = true;
    FHit = FOrientation == soVertical ? Y - FThumbRect.Top : X - FThumbRect.Left;
    InvalidateThumb();
    Update();
}

// The thumb is taken by its middle, as if the press had landed there, so
// moving on drags it and the release finishes it like any drag.
void TbsSkinCustomSlider::SlideFromPress(int X, int Y) {
    FSliding = true;
    FThumbDown = true;
    const bool Vert = FOrientation == soVertical;
    FHit = (Vert ? RectHeight(FThumbRect) : RectWidth(FThumbRect)) / 2;
    MoveThumb((Vert ? Y : X) - FHit);
    InvalidateThumb();
    Update();
}

void TbsSkinCustomSlider::ThumbMouseMove(TShiftState, int X, int Y) {
    if (CanModify())
        MoveThumb((FOrientation == soVertical ? Y : X) - FHit);
}

void TbsSkinCustomSlider::MouseMove(TShiftState Shift, int X, int Y) {
    if (FSliding)
        ThumbMouseMove(Shift, X, Y);
    else if (FTracking)
        FMousePos = {X, Y};
    TbsSkinControl::MouseMove(Shift, X, Y);
}

void TbsSkinCustomSlider::TrackTimer() {
    if (HitTest(FMousePos.X, FMousePos.Y) != FStartJump)
        return;
    JumpTo(FStartJump);
    if (!FTimerActive && HandleAllocated()) {
        SetTimer(Handle(), TrackTimerId, TrackDelay, nullptr);
        FTimerActive = true;
    }
}

void TbsSkinCustomSlider::StopTracking() {
    if (!FTracking)
        return;
    if (FTimerActive && HandleAllocated())
        KillTimer(Handle(), TrackTimerId);
    FTimerActive = false;
    FTracking = false;
    SetMouseCapture(false);
    Changed();
}

void TbsSkinCustomSlider::ThumbMouseUp(TMouseButton Button, TShiftState, int, int) {
    if (Button != mbLeft)
        return;
    FSliding = false;
    FThumbDown = false;
    InvalidateThumb();
    Update();
    if (CanModify())
        Changed();
}

void TbsSkinCustomSlider::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    StopTracking();
    if (FSliding)
        ThumbMouseUp(Button, Shift, X, Y);
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinCustomSlider::KeyDown(WORD& Key, TShiftState Shift) {
    TbsJumpMode Mode = jmNone;
    if (!Shift.Contains(ssShift) && !Shift.Contains(ssAlt) && !Shift.Contains(ssCtrl)) {
        const bool Horz = FOrientation == soHorizontal;
        if (Key == VK_HOME)
            Mode = jmHome;
        else if (Key == VK_END)
            Mode = jmEnd;
        else if (Horz && Key == VK_LEFT)
            Mode = jmPrior;
        else if (Horz && Key == VK_RIGHT)
            Mode = jmNext;
        else if (!Horz && Key == VK_UP)
            Mode = jmNext;
        else if (!Horz && Key == VK_DOWN)
            Mode = jmPrior;
    }
    if (Mode != jmNone && CanModify()) {
        Key = 0;
        JumpTo(Mode);
        Changed();
    }
    TbsSkinControl::KeyDown(Key, Shift);
}

// ---------------------------------------------------------------- painting

void TbsSkinCustomSlider::DrawPoints(TCanvas* C, int PointsStep, int ExtremePointsHeight,
                                     int PointsHeight) {
    const int TL = TrackLength();
    // Nothing to mark on a slider too short for its thumb or without a range.
    if (TL <= 0 || PointsStep <= 0 || FMaxValue <= FMinValue)
        return;
    C->Pen()->SetColor(FIndex != -1 ? PointsColor : clWindowText);
    const int Range = FMaxValue - FMinValue;
    int K = 1, N = 0, D = 0;
    for (;;) {
        N = Nearest(double(Range) / (double(PointsStep) * K));
        D = N == 0 ? TL : TL / N;
        if (D < 4 && D < TL)
            ++K;
        else
            break;
    }
    const TSize T = ThumbSize();
    for (int I = 0; I <= N; ++I) {
        const int V = I == N ? FMaxValue : FMinValue + PointsStep * K * I;
        const int Len = V == FMinValue || V == FMaxValue ? ExtremePointsHeight : PointsHeight;
        const int P = ValueToPos(V);
        if (FOrientation == soHorizontal) {
            const int X = P + T.cx / 2;
            C->MoveTo(X, FPointsRect.Top);
            C->LineTo(X, FPointsRect.Top + Len);
        } else {
            const int Y = P + T.cy / 2;
            C->MoveTo(FPointsRect.Left, Y);
            C->LineTo(FPointsRect.Left + Len, Y);
        }
    }
}

void TbsSkinCustomSlider::DefaultDrawPoints(int PointsStep, int PointsHeight,
                                            int ExtremePointsHeight) {
    DrawPoints(Canvas(), PointsStep, ExtremePointsHeight, PointsHeight);
}

void TbsSkinCustomSlider::Paint() {
    GetSkinData();
    TCanvas* C = Canvas();
    TPoint TP{FThumbRect.Left, FThumbRect.Top};
    if (FTransparent) {
        TBitmap B;
        B.SetSize(Width(), Height());
        DrawParentBackground(this, B.Canvas());
        C->Draw(0, 0, &B);
    } else {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(FIndex != -1 ? BGColor : Color());
        C->FillRect({0, 0, Width(), Height()});
    }
    if (!FRuler->Empty()) {
        FRuler->SetTransparent(!(FIndex == -1 && FOptions.Contains(soRulerOpaque)));
        C->Draw(FRulerOrg.X, FRulerOrg.Y, FRuler.get());
    }
    if (FOptions.Contains(soShowFocus) && FFocused) {
        TRect R;
        GetSliderRect(R);
        R = {R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
        if (FIndex != -1 && FSD && FSD->SkinColors())
            C->Font()->SetColor(FSD->SkinColors()->cBtnText());
        DrawFocusRectangle(C, R);
    }
    if (FOptions.Contains(soShowPoints)) {
        if (OnDrawPoints)
            OnDrawPoints(this);
        else
            DrawPoints(C, FIncrement, 5, 3);
    }
    const int S = FThumbDown || !Enabled() ? 1 : 0;
    const bool Horz = FOrientation == soHorizontal;
    TBitmap Thumb;
    if (SkinThumb()) {
        const TRect& Cells = Horz ? HThumbRect : VThumbRect;
        const int W = RectWidth(Cells) / 2;
        Thumb.SetSize(W, RectHeight(Cells));
        CopyPart(&Thumb, {0, 0, W, Thumb.Height()}, Picture,
                 {Cells.Left + S * W, Cells.Top, Cells.Left + S * W + W, Cells.Bottom});
        Thumb.SetTransparent(true);
    } else {
        TBitmap* P = FImages[Horz ? siHThumb : siVThumb].get();
        const int W = P->Width() / FNumThumbStates;
        const int Cell = FNumThumbStates == 2 ? S : 0;
        Thumb.SetSize(W, P->Height());
        CopyPart(&Thumb, {0, 0, W, P->Height()}, P, {Cell * W, 0, Cell * W + W, P->Height()});
        Thumb.SetTransparent(!FOptions.Contains(soThumbOpaque));
    }
    C->Draw(TP.X, TP.Y, &Thumb);
}

void TbsSkinCustomSlider::PaintBuffered(TMessage& Message) {
    HDC DC = reinterpret_cast<HDC>(Message.WParam);
    PAINTSTRUCT PS;
    const bool Own = DC == nullptr;
    if (Own)
        DC = BeginPaint(Handle(), &PS);
    const int W = ClientWidth(), H = ClientHeight();
    HDC MemDC = CreateCompatibleDC(DC);
    HBITMAP Bmp = CreateCompatibleBitmap(DC, W, H);
    HGDIOBJ Old = SelectObject(MemDC, ToObj(Bmp));
    Perform(WM_ERASEBKGND, WPARAM(MemDC), LPARAM(MemDC));
    FPaintBuffered = true;
    TMessage Inner{WM_PAINT, WPARAM(MemDC), 0, 0};
    TbsSkinControl::Dispatch(Inner);
    FPaintBuffered = false;
    BitBlt(DC, 0, 0, W, H, MemDC, 0, 0, SRCCOPY);
    SelectObject(MemDC, Old);
    DeleteObject(ToObj(Bmp));
    DeleteDC(MemDC);
    if (Own)
        EndPaint(Handle(), &PS);
}

void TbsSkinCustomSlider::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT:
        if (FPaintBuffered)
            TbsSkinControl::Dispatch(Message);
        else
            PaintBuffered(Message);
        return;
    case WM_SIZE:
        TbsSkinControl::Dispatch(Message);
        if (!Reading())
            AdjustElements();
        return;
    case WM_MOVE:
        TbsSkinControl::Dispatch(Message);
        if (FTransparent)
            Invalidate();
        return;
    case WM_CHECKPARENTBG:
        if (FTransparent)
            Repaint();
        return;
    case CM_ENABLEDCHANGED:
        TbsSkinControl::Dispatch(Message);
        InvalidateThumb();
        return;
    case CM_FOCUSCHANGED: {
        const bool Now = reinterpret_cast<TControl*>(Message.LParam) == this;
        if (Now != FFocused) {
            FFocused = Now;
            if (FOptions.Contains(soShowFocus))
                Invalidate();
        }
        TbsSkinControl::Dispatch(Message);
        return;
    }
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS;
        return;
    case WM_TIMER:
        TrackTimer();
        return;
    default:
        TbsSkinControl::Dispatch(Message);
    }
}
