// The skinned edit box: geometry, buttons, hover and focus, painting, skin
// change and malformed skins.
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Graphics.h"
#include "platform/win/MessageRecorder.h"
#include "platform/win/Windows.h"
#include "skin/model/bsMessages.h"
#include "skin/stored/StoredSkins.h"
#include "tests/skin/controls/edits/EditsTestSupport.h"

namespace skinctl {
namespace {

// Within the smoothing of a glyph's edge.
bool Near(std::uint32_t A, std::uint32_t B) {
    for (int Shift : {0, 8, 16})
        if (std::abs(int((A >> Shift) & 0xFF) - int((B >> Shift) & 0xFF)) > 16)
            return false;
    return true;
}

class EditBoxTest : public TEditsTest {
protected:
    TbsSkinEdit* Skinned(int W = 120, int H = 22) {
        ShownForm();
        TbsSkinEdit* E = MakeEdit(Form, W, H);
        E->SetSkinDataName(EditElement);
        E->SetSkinData(Data.get());
        Pump();
        return E;
    }
    TbsSkinEdit* Plain(int W = 120, int H = 22) {
        ShownForm();
        TbsSkinEdit* E = MakeEdit(Form, W, H);
        Pump();
        return E;
    }
    // The client rectangle in window coordinates.
    static TRect ClientInWindow(TWinControl* C) {
        TRect W, R;
        GetWindowRect(C->Handle(), &W);
        GetClientRect(C->Handle(), &R);
        TPoint O = C->ClientToScreen({0, 0});
        OffsetRect(&R, O.X - W.Left, O.Y - W.Top);
        return R;
    }
    std::string Region(const std::string& Name) { return "edits.bmp/" + Name; }
};

TEST_F(EditBoxTest, PlainGeometryLeavesRoomForTheFrameButton) {
    struct {
        bool ButtonMode;
        TRect Client;
    } Cases[] = {{true, {2, 2, 96, 20}}, {false, {2, 2, 118, 20}}};
    for (const auto& C : Cases) {
        TbsSkinEdit* E = Plain();
        E->SetButtonMode(C.ButtonMode);
        Pump();
        EXPECT_EQ(ClientInWindow(E), C.Client) << C.ButtonMode;
        E->CalcRects();
        if (C.ButtonMode) {
            EXPECT_EQ(E->FButtonRect, (TRect{98, 0, 120, 22}));
        }
        delete Form;
    }
}

TEST_F(EditBoxTest, SkinnedGeometryKeepsTheFramesMarginsAtAnySize) {
    TbsSkinEdit* E = Skinned(300);
    E->CalcRects();
    EXPECT_EQ(E->FEditRect, (TRect{5, 4, 295, 16}));
    EXPECT_EQ(ClientInWindow(E), E->FEditRect);
    EXPECT_EQ(E->Height(), 20) << "the face's height with UseSkinFont";
    E->SetBounds(10, 10, 300, 40);
    EXPECT_EQ(E->Height(), 20);
}

TEST_F(EditBoxTest, AFrameButtonInTheFixedRightPartFollowsTheRightEdge) {
    struct {
        const char* ButtonRect;
        int Moved;
    } Cases[] = {{"buttonrect=35,0,40,20", 50}, {"buttonrect=20,0,30,20", 0}};
    for (const auto& C : Cases) {
        UseSkin(EditSkin({C.ButtonRect}));
        TbsSkinEdit* E = Skinned(40);
        E->CalcRects();
        const TRect Before = E->FButtonRect;
        E->SetWidth(90);
        E->CalcRects();
        EXPECT_EQ(E->FButtonRect.Left - Before.Left, C.Moved) << C.ButtonRect;
        delete Form;
    }
}

TEST_F(EditBoxTest, WithoutSkinFontTheHeightFollowsTheFontAndTheRectanglesGrow) {
    TbsSkinEdit* E = Skinned();
    E->SetUseSkinFont(false);
    E->DefaultFont()->SetHeight(30);
    E->ChangeSkinData();
    const int Expected = E->CalcEditHeight();
    EXPECT_EQ(E->Height(), Expected);
    EXPECT_GT(Expected, 20);
    E->CalcRects();
    EXPECT_EQ(E->FEditRect.Bottom, 16 + (Expected - 20));
}

TEST_F(EditBoxTest, PlainDefaultSizesApplyOnlyInThePlainLook) {
    TbsSkinEdit* P = Plain();
    P->SetDefaultHeight(30);
    P->SetDefaultWidth(200);
    EXPECT_EQ(P->Height(), 30);
    EXPECT_EQ(P->Width(), 200);
    delete Form;
    TbsSkinEdit* S = Skinned();
    S->SetDefaultWidth(200);
    EXPECT_EQ(S->Width(), 120);
}

TEST_F(EditBoxTest, AnAlignedEditIsCentredInASkinnedToolBarThatAdjustsItsControls) {
    for (bool Adjust : {true, false}) {
        SCOPED_TRACE(Adjust);
        ShownForm();
        auto* Bar = new TbsSkinToolBar(Form);
        Bar->SetParent(Form);
        Bar->SetSkinData(Data.get());
        Bar->SetAlign(alTop);
        Bar->SetHeight(44);
        Bar->SetAdjustControls(Adjust);
        TbsSkinEdit* E = MakeEdit(Bar);
        E->SetSkinDataName(EditElement);
        E->SetSkinData(Data.get());
        E->SetAlign(alTop);
        Pump();
        const TRect R = Bar->GetSkinClientRect();
        ASSERT_GT(R.Height(), 30);
        EXPECT_EQ(E->Height(), 20);
        if (Adjust)
            EXPECT_EQ(E->Top(), R.Top + R.Height() / 2 - 10);
        else
            EXPECT_EQ(E->Top(), R.Top);
        delete Form;
        Form = nullptr;
    }
}

TEST_F(EditBoxTest, HoverAndFocusColoursOfASkinnedEdit) {
    TbsSkinEdit* E = Skinned();
    auto Colour = [&] { return E->Font()->Color(); };
    E->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(Colour(), EditActiveFontColor);
    E->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Colour(), EditFontColor);
    E->SetFocus();
    Pump();
    EXPECT_EQ(Colour(), EditActiveFontColor);
    E->Perform(CM_MOUSEENTER, 0, 0);
    E->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Colour(), EditActiveFontColor) << "leaving a focused edit keeps the active colour";
    auto* Other = new TbsCustomEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(10, 100, 50, 20);
    Other->SetFocus();
    Pump();
    EXPECT_EQ(Colour(), EditFontColor);

    delete Form;
    TbsSkinEdit* P = Plain();
    const TColor Before = P->Font()->Color();
    P->Perform(CM_MOUSEENTER, 0, 0);
    P->SetFocus();
    Pump();
    EXPECT_EQ(P->Font()->Color(), Before);
}

TEST_F(EditBoxTest, PlainFramePaintsTwoRingsAndTheDefaultColour) {
    TbsSkinEdit* E = Plain();
    E->SetDefaultColor(clYellow);
    EXPECT_EQ(WindowPixel(E, 0, 10), Rgb(clBtnShadow));
    EXPECT_EQ(WindowPixel(E, 60, 0), Rgb(clBtnShadow));
    EXPECT_EQ(WindowPixel(E, 1, 10), Rgb(clBtnFace));
    EXPECT_EQ(WindowPixel(E, 60, 21), Rgb(clBtnShadow));
    EXPECT_EQ(WindowPixel(E, 60, 10), Rgb(clYellow));
}

TEST_F(EditBoxTest, PlainFrameButtonShowsIdleHotAndPressed) {
    TbsSkinEdit* E = Plain();
    E->SetButtonMode(true);
    Pump();
    struct {
        const char* State;
        std::function<void()> Enter;
        TColor Frame, Fill;
    } Cases[] = {
        {"idle", [] {}, clBtnShadow, clBtnFace},
        {"hot", [&] { E->Perform(WM_NCMOUSEMOVE, HTHSCROLL, 0); }, TColor(8388608),
         TColor(13811126)},
        {"pressed and hot", [&] { E->Perform(WM_NCLBUTTONDOWN, HTHSCROLL, 0); }, TColor(8388608),
         TColor(11899781)},
        {"released", [&] { E->Perform(WM_NCLBUTTONUP, HTHSCROLL, 0); }, TColor(8388608),
         TColor(13811126)},
        // The second press of a double click is a press.
        {"double-clicked", [&] { E->Perform(WM_NCLBUTTONDBLCLK, HTHSCROLL, 0); }, TColor(8388608),
         TColor(11899781)},
    };
    for (const auto& C : Cases) {
        C.Enter();
        EXPECT_EQ(WindowPixel(E, 98, 10), Rgb(C.Frame)) << C.State;
        EXPECT_EQ(WindowPixel(E, 108, 10), Rgb(C.Fill)) << C.State;
    }
    E->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(E->FButtonActive);
    EXPECT_FALSE(E->FButtonDown);
    EXPECT_EQ(WindowPixel(E, 98, 10), Rgb(clBtnShadow)) << "repainted after leaving";
}

TEST_F(EditBoxTest, AReleaseOnTheFrameButtonClicksAndFocuses) {
    TbsSkinEdit* E = Plain();
    E->SetButtonMode(true);
    int Clicks = 0;
    E->OnButtonClick = [&](TObject*) { ++Clicks; };
    Pump();
    TRect W;
    GetWindowRect(E->Handle(), &W);
    Headless.MovePointer(W.Left + 108, W.Top + 10);
    Pump();
    EXPECT_EQ(SendMessage(E->Handle(), WM_NCHITTEST, 0, MAKELPARAM(W.Left + 108, W.Top + 10)),
              HTHSCROLL);
    // A release there without a press there still clicks.
    Headless.Release();
    Pump();
    EXPECT_EQ(Clicks, 1);
    EXPECT_TRUE(E->Focused());
    Headless.MovePointer(W.Left + 108, W.Top + 10);
    Headless.Press();
    Headless.Release();
    Pump();
    EXPECT_EQ(Clicks, 2);
}

TEST_F(EditBoxTest, SkinnedFaceFollowsFocusInFrameAndClient) {
    TbsSkinEdit* E = Skinned();
    EXPECT_EQ(EditRegion(E, 1, 1), Region("n.frame"));
    EXPECT_EQ(EditRegion(E, 60, 10), Region("n.client"));
    E->SetFocus();
    Pump();
    HideCaret(E->Handle());
    EXPECT_EQ(EditRegion(E, 1, 1), Region("a.frame"));
    EXPECT_EQ(EditRegion(E, 60, 10), Region("a.client"));
}

// Without the skin's font the face grows with the text: its corners keep
// their size, the edges between them and the client part stretch.
TEST_F(EditBoxTest, ATallerFaceIsANinePartFrameAroundAStretchedClient) {
    testskin::TTestSkin S = NineSkin();
    AddNineElement(S, "edit", "nineedit", {"activeskinrect=0,0,40,20"});
    UseSkin(S);
    ShownForm();
    TbsSkinEdit* E = MakeEdit(Form, 120, 40);
    E->SetUseSkinFont(false);
    E->SetSkinDataName("nineedit");
    E->SetSkinData(Data.get());
    E->Font()->SetHeight(30);
    Pump();
    const int H = E->Height();
    ASSERT_GT(H, 30);
    E->CalcRects();
    EXPECT_EQ(E->FEditRect, (TRect{10, 5, 110, H - 5}));
    const struct {
        int X, Y;
        const char* Region;
    } Points[] = {
        {0, 0, "lt"},          {9, 4, "lt"},           {10, 0, "top"},        {109, 4, "top"},
        {110, 0, "rt"},        {119, 4, "rt"},         {0, 5, "left"},        {9, H - 6, "left"},
        {110, 5, "right"},     {119, H - 6, "right"},  {0, H - 5, "lb"},      {9, H - 1, "lb"},
        {10, H - 5, "bottom"}, {109, H - 1, "bottom"}, {110, H - 5, "rb"},    {119, H - 1, "rb"},
        {10, 5, "client"},     {109, H - 6, "client"}, {60, H / 2, "client"},
    };
    for (const auto& P : Points)
        EXPECT_EQ(EditRegion(E, P.X, P.Y), std::string("nine.bmp/") + P.Region)
            << P.X << "," << P.Y;
}

TEST_F(EditBoxTest, DisabledSkinnedFrameButtonShowsItsDisabledPicture) {
    TbsSkinEdit* E = Skinned();
    E->SetButtonMode(true);
    E->SetEnabled(false);
    Pump();
    EXPECT_EQ(EditRegion(E, 117, 10), Region("btn.off"));
}

// A skinned edit that notes the painting messages it handles, with the
// FStopDraw flag each found.
class TPaintLogEdit : public TbsSkinEdit {
public:
    using TbsSkinEdit::TbsSkinEdit;
    std::vector<std::string> Log;

protected:
    void WndProc(TMessage& M) override {
        const char* Name = M.Msg == WM_CHAR         ? "char"
                           : M.Msg == WM_ERASEBKGND ? "erase"
                           : M.Msg == WM_PAINT      ? (M.WParam ? "paint(dc)" : "paint")
                                                    : nullptr;
        if (Name)
            Log.push_back(std::string(Name) + (FStopDraw ? " stop" : ""));
        TbsSkinEdit::WndProc(M);
    }
};

// One typed character: the erase step composes the face and has the edit
// draw its text; the WM_PAINT it performs inside the edit's own painting
// draws nothing; the pixels are the bare face with the text drawn once.
TEST_F(EditBoxTest, ATypedCharacterIsComposedInOneEraseStep) {
    ShownForm();
    auto* E = new TPaintLogEdit(Form);
    E->SetParent(Form);
    E->SetBounds(10, 10, 120, 22);
    E->SetSkinDataName(EditElement);
    E->SetSkinData(Data.get());
    E->SetFocus();
    Pump();
    // The caret is not part of the comparison.
    HideCaret(E->Handle());
    const int W = E->ClientWidth(), H = E->ClientHeight();
    PixelOf(E, 0, 0);
    std::vector<std::uint32_t> Bare;
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            Bare.push_back(ScreenAt(E, X, Y));

    E->Log.clear();
    Type("a");
    EXPECT_EQ(E->Log, (std::vector<std::string>{"char", "paint", "erase stop", "paint(dc) stop"}));
    EXPECT_FALSE(E->FStopDraw);
    HideCaret(E->Handle());
    PixelOf(E, 0, 0);

    TRect TextR;
    SendMessage(E->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&TextR));
    TBitmap Reference;
    Reference.SetSize(W, H);
    std::size_t I = 0;
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X, ++I)
            Reference.Canvas()->SetPixels(
                X, Y, TColor(((Bare[I] & 0xFF) << 16) | (Bare[I] & 0xFF00) | (Bare[I] >> 16)));
    HDC DC = Reference.Canvas()->Handle();
    SelectObject(DC, ToObj(HFONT(SendMessage(E->Handle(), WM_GETFONT, 0, 0))));
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, ColorToRGB(EditActiveFontColor));
    DrawText(DC, "a", -1, &TextR, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    int Differ = 0, Ink = 0;
    I = 0;
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X, ++I) {
            const std::uint32_t P = ScreenAt(E, X, Y);
            Differ += P != Rgb(Reference.Canvas()->Pixels(X, Y));
            Ink += P != Bare[I];
        }
    EXPECT_GT(Ink, 4) << "the text is drawn";
    EXPECT_EQ(Differ, 0);
}

TEST_F(EditBoxTest, PaintingIntoAGivenDC) {
    TbsSkinEdit* P = Plain();
    P->SetDefaultColor(clYellow);
    TBitmap B;
    B.SetSize(120, 22);
    HDC DC = B.Canvas()->Handle();
    EXPECT_EQ(P->Perform(WM_NCPAINTTODC, WPARAM(DC), 0), NCPAINTTODC_ANSWER);
    EXPECT_EQ(Rgb(TColor(GetPixel(DC, 0, 10))), Rgb(clBtnShadow));
    EXPECT_EQ(P->Perform(WM_NCPAINTTODC, 0, 0), 0);
    EXPECT_EQ(P->Perform(WM_PAINTTODC, 0, PAINTTODC_TOKEN), PAINTTODC_TOKEN);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect({0, 0, 120, 22});
    EXPECT_EQ(P->Perform(WM_PAINTTODC, WPARAM(DC), PAINTTODC_TOKEN), PAINTTODC_TOKEN);
    EXPECT_EQ(Rgb(TColor(GetPixel(DC, 0, 10))), Rgb(clBtnShadow));
    // The edit rectangle is cut out of the caller's clipping and left
    // unpainted; the frame around it is drawn.
    EXPECT_EQ(GetPixel(DC, 60, 10), CLR_INVALID);
    EXPECT_EQ(Rgb(TColor(GetPixel(DC, 1, 10))), Rgb(clBtnFace));
    SelectClipRgn(DC, nullptr);
    EXPECT_EQ(Rgb(TColor(GetPixel(DC, 60, 10))), Rgb(clWhite));
    EXPECT_EQ(Rgb(TColor(GetPixel(DC, 2, 2))), Rgb(clWhite));
}

TEST_F(EditBoxTest, PaintSkinToDrawsTheNormalFaceWhateverTheState) {
    TbsSkinEdit* E = Skinned();
    E->SetFocus();
    E->Perform(CM_MOUSEENTER, 0, 0);
    Pump();
    TBitmap B;
    B.SetSize(200, 40);
    E->PaintSkinTo(B.Canvas(), 10, 5, "abc");
    HDC DC = B.Canvas()->Handle();
    EXPECT_EQ(Skin.RegionAt(Rgb(TColor(GetPixel(DC, 11, 6)))), Region("n.frame"));
    EXPECT_EQ(Skin.RegionAt(Rgb(TColor(GetPixel(DC, 120, 14)))), Region("n.client"));
    bool SawText = false;
    for (int X = 17; X < 40 && !SawText; ++X)
        for (int Y = 9; Y < 21 && !SawText; ++Y)
            SawText = Near(Rgb(TColor(GetPixel(DC, X, Y))), Rgb(EditFontColor));
    EXPECT_TRUE(SawText) << "the text in FontColor";
}

TEST_F(EditBoxTest, SkinChangeThereAndBackKeepsTextAndSelection) {
    TbsSkinEdit* E = Plain();
    E->DefaultFont()->SetName("Arial");
    E->DefaultFont()->SetHeight(14);
    E->SetDefaultHeight(24);
    E->SetSkinDataName(EditElement);
    E->SetText("hello");
    E->SetSelStart(1);
    E->SetSelLength(2);
    // A word table for another script: the text takes its character set.
    auto* Words = new TbsResourceStrData(Form);
    Words->SetCharSet(GB2312_CHARSET);
    Data->SetResourceStrData(Words);
    E->SetSkinData(Data.get());
    EXPECT_EQ(E->Font()->Height(), 11);
    EXPECT_EQ(E->Font()->Charset(), GB2312_CHARSET);
    EXPECT_EQ(E->Height(), 20);
    EXPECT_EQ(E->Text(), "hello");
    EXPECT_EQ(E->SelStart(), 1);
    EXPECT_EQ(E->SelLength(), 2);
    Data->ClearAll();
    Data->SetResourceStrData(nullptr);
    E->ChangeSkinData();
    EXPECT_EQ(E->Font()->Height(), 14);
    EXPECT_EQ(E->Font()->Charset(), E->DefaultFont()->Charset());
    EXPECT_EQ(E->Height(), 24);
    EXPECT_EQ(E->Text(), "hello");
    EXPECT_EQ(E->SelStart(), 1);
    EXPECT_EQ(E->SelLength(), 2);
}

TEST_F(EditBoxTest, MalformedEditElementsFallBackToThePlainLook) {
    for (const char* Kind : {"button", "edit"}) {
        testskin::TTestSkin S = testskin::StandardTestSkin();
        testskin::TKeys Keys{"pictureindex=99", "skinrect=0,0,40,20", "clientrect=5,4,35,16"};
        S.AddControl(Kind, EditElement, Keys);
        UseSkin(S);
        TbsSkinEdit* E = Skinned();
        E->SetDefaultColor(clYellow);
        E->GetSkinData();
        EXPECT_EQ(E->FIndex, -1) << Kind;
        EXPECT_EQ(WindowPixel(E, 0, 10), Rgb(clBtnShadow)) << Kind;
        EXPECT_EQ(WindowPixel(E, 60, 10), Rgb(clYellow)) << Kind;
        delete Form;
    }
}

TEST_F(EditBoxTest, AStoredSkinsButtonEditShowsItsButtonAtTheRightEdge) {
    ShownForm();
    auto* SD = new TbsSkinData(Form);
    SD->SetSkinList(CreateStoredSkinList(Form));
    for (int I = 0; I < 11; ++I) {
        SCOPED_TRACE(I);
        SD->SetSkinIndex(I);
        TbsSkinEdit* E = MakeEdit(Form, 220);
        E->SetButtonMode(true);
        E->SetSkinDataName("buttonedit");
        E->SetSkinData(SD);
        Pump();
        ASSERT_FALSE(E->SkinData()->Empty);
        TRect W;
        GetWindowRect(E->Handle(), &W);
        const int Mid = W.Top + (W.Bottom - W.Top) / 2;
        // The button's place: the last 19 pixels, beside the text.
        EXPECT_EQ(SendMessage(E->Handle(), WM_NCHITTEST, 0, MAKELPARAM(W.Right - 10, Mid)),
                  HTHSCROLL);
        EXPECT_NE(SendMessage(E->Handle(), WM_NCHITTEST, 0, MAKELPARAM(W.Right - 40, Mid)),
                  HTHSCROLL);
        // Its idle picture (an arrow in the text colour) is part of the face.
        int Ink = 0;
        for (int X = 220 - 19; X < 220 - 2; ++X)
            for (int Y = 2; Y < E->Height() - 2; ++Y)
                Ink += WindowPixel(E, X, Y) == WindowPixel(E, 100, E->Height() / 2) ? 0 : 1;
        EXPECT_GT(Ink, 5);
        delete E;
    }
}

// Three 16 x 16 images: red, lime, blue.
TCustomImageList* ThreeImages(TComponent* Owner) {
    auto* L = new TCustomImageList(Owner);
    L->SetWidth(16);
    L->SetHeight(16);
    for (TColor C : {clRed, clLime, clBlue}) {
        TBitmap B;
        B.SetSize(16, 16);
        B.Canvas()->Brush()->SetColor(C);
        B.Canvas()->FillRect({0, 0, 16, 16});
        L->Add(&B, nullptr);
    }
    return L;
}

TEST_F(EditBoxTest, ImageButtonsReserveTheirPlaceAndClickWhenReleasedWhereThePressWas) {
    TbsSkinEdit* E = Plain(160, 22);
    E->SetImages(ThreeImages(Form));
    E->SetLeftImageIndex(0);
    E->SetLeftImageHotIndex(1);
    E->SetLeftImageDownIndex(2);
    int Clicks = 0;
    E->OnLeftButtonClick = [&](TObject*) { ++Clicks; };
    auto* Other = new TbsSkinEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(10, 100, 120, 22);
    Other->SetFocus();
    Pump();
    // The formatting rectangle starts right of the image and its 2-pixel
    // gap (18); the text rectangle read back adds the edit's margin of 2.
    TRect Formatting{};
    SendMessage(E->Handle(), EM_GETRECT, 0, LPARAM(&Formatting));
    EXPECT_EQ(Formatting.Left, 18 + 2);
    const int Mid = E->ClientHeight() / 2;
    const TPoint On = E->ClientToScreen({8, Mid}), Off = E->ClientToScreen({80, Mid});
    EXPECT_EQ(PixelOf(E, 8, Mid), Rgb(clRed));
    EXPECT_EQ(SendMessage(E->Handle(), WM_NCHITTEST, 0, MAKELPARAM(On.X, On.Y)), 104);

    // Hot, then pressed while over it, then a release there: one click and
    // the edit has the focus.
    TMessageRecorder Recorder;
    Headless.MovePointer(On.X, On.Y);
    Pump();
    EXPECT_EQ(PixelOf(E, 8, Mid), Rgb(clLime));
    Headless.Press();
    Pump();
    EXPECT_EQ(PixelOf(E, 8, Mid), Rgb(clBlue));
    EXPECT_TRUE(E->Focused());
    Headless.Release();
    Pump();
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Recorder.Compare({Expect(E->Handle(), WM_NCLBUTTONDOWN).W(104),
                                Expect(E->Handle(), WM_NCLBUTTONUP).W(104)}),
              "");
    // Pressed there, released elsewhere: no click, the idle image back.
    Headless.Press();
    Pump();
    Headless.MovePointer(Off.X, Off.Y);
    Pump();
    Headless.Release();
    Pump();
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(PixelOf(E, 8, Mid), Rgb(clRed));

    // An index past the list draws nothing but keeps the place and answers.
    E->SetLeftImageIndex(5);
    Pump();
    EXPECT_EQ(SendMessage(E->Handle(), WM_NCHITTEST, 0, MAKELPARAM(On.X, On.Y)), 104);
    EXPECT_EQ(PixelOf(E, 8, Mid), PixelOf(E, 80, Mid));
    SendMessage(E->Handle(), EM_GETRECT, 0, LPARAM(&Formatting));
    EXPECT_EQ(Formatting.Left, 18 + 2);
}

// An image wider than the client area leaves the text no room: the text is
// not drawn and nothing fails.
TEST_F(EditBoxTest, AnImageWiderThanTheClientLeavesTheTextNoRoom) {
    TbsSkinEdit* E = Plain(16, 22);
    E->SetImages(ThreeImages(Form));
    E->SetLeftImageIndex(0);
    E->SetText("WWW");
    E->SetFocus();
    Pump();
    HideCaret(E->Handle());
    TRect Formatting{};
    SendMessage(E->Handle(), EM_GETRECT, 0, LPARAM(&Formatting));
    EXPECT_GE(Formatting.Left, Formatting.Right);
    const int Top = (E->ClientHeight() - 16) / 2;
    int NotRed = 0;
    PixelOf(E, 0, 0);
    for (int Y = Top; Y < Top + 16; ++Y)
        for (int X = 0; X < E->ClientWidth(); ++X)
            NotRed += ScreenAt(E, X, Y) != Rgb(clRed);
    EXPECT_EQ(NotRed, 0) << "only the image, no text over it";
    E->SetSelStart(3);
    Type("x");
    EXPECT_EQ(E->Text(), "WWWx");
}

TEST_F(EditBoxTest, AStretchedFrameTakesItsButtonFromEditButtonOrResizeButton) {
    // Skins without the standard elements, with one, the other or neither
    // of the two button elements (each a flat 10 x 10 face of its own).
    struct {
        bool EditButton, ResizeButton;
        const char* Region;
    } Rows[] = {{true, true, "eb"}, {false, true, "rb"}, {false, false, "n.frame"}};
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Region);
        testskin::TTestSkin S = EditSkinOn(testskin::MinimalLoadableSkin());
        testskin::TTestPicture& P = S.AddPicture("btns.bmp", 20, 10, 24);
        P.AddRegion("eb", {0, 0, 10, 10});
        P.AddRegion("rb", {10, 0, 20, 10});
        const std::string Index = std::to_string(S.PictureIndex("btns.bmp"));
        auto Button = [&](const char* Name, int X) {
            S.AddControl("button", Name,
                         {"pictureindex=" + Index,
                          "skinrect=" + std::to_string(X) + ",0," + std::to_string(X + 10) + ",10",
                          "lefttoppoint=2,2", "righttoppoint=8,2", "leftbottompoint=2,8",
                          "rightbottompoint=8,8", "clientrect=2,2,8,8"});
        };
        if (R.EditButton)
            Button("editbutton", 0);
        if (R.ResizeButton)
            Button("resizebutton", 10);
        UseSkin(S);
        ShownForm();
        TbsSkinEdit* E = MakeEdit(Form, 120, 40);
        E->SetUseSkinFont(false);
        E->SetButtonMode(true);
        E->SetSkinDataName(EditElement);
        E->SetSkinData(Data.get());
        // A font taller than the face: the frame stretches.
        E->Font()->SetHeight(30);
        Pump();
        ASSERT_GT(E->Height(), 30);
        // The button sits in the fixed right part, as high as the edit.
        EXPECT_EQ(EditRegion(E, 117, E->Height() - 3), std::string(R.Region) == "n.frame"
                                                           ? "edits.bmp/n.frame"
                                                           : "btns.bmp/" + std::string(R.Region));
        delete Form;
        Form = nullptr;
    }
}

TEST_F(EditBoxTest, DisabledTextTakesItsColourAndFollowsTheAlignment) {
    for (bool IsSkinned : {false, true})
        for (TAlignment A : {taLeftJustify, taRightJustify, taCenter}) {
            SCOPED_TRACE(std::to_string(IsSkinned) + " " + std::to_string(int(A)));
            TbsSkinEdit* E = IsSkinned ? Skinned(120, 22) : Plain(120, 22);
            E->SetText("WWW");
            E->SetAlignment(A);
            E->SetEnabled(false);
            Pump();
            const int W = E->ClientWidth(), H = E->ClientHeight();
            const std::uint32_t Ground = PixelOf(E, W / 2, H - 1);
            const TRect Ink = InkBox(E, {0, 0, W, H}, Ground);
            ASSERT_LT(Ink.Left, Ink.Right);
            EXPECT_TRUE(Near(StrongestInk(E, {0, 0, W, H}, Ground),
                             Rgb(IsSkinned ? EditDisabledFontColor : clGrayText)));
            if (A == taLeftJustify) {
                EXPECT_GE(Ink.Left, 2);
                EXPECT_LE(Ink.Left, 4);
            } else if (A == taRightJustify) {
                // Drawn at width - text width - 1: it ends at the right edge.
                EXPECT_LE(Ink.Right, W);
                EXPECT_GE(Ink.Right, W - 4);
            } else {
                EXPECT_NEAR(Ink.Left, W - Ink.Right, 3);
            }
            delete Form;
            Form = nullptr;
        }
}

} // namespace
} // namespace skinctl
