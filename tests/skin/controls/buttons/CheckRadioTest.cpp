// Check and radio boxes: setters that fire OnClick, group exclusion, the
// grayed cycle, focus rules, the plain and skin looks and the morph.
#include "platform/forms/ActnList.h"
#include "platform/forms/ExtCtrls.h"
#include "skin/controls/bsSkinCtrls.CheckRadio.h"
#include "skin/model/bsMessages.h"
#include "tests/skin/controls/buttons/ButtonsTestSupport.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr std::uint32_t Navy = 0x000080;

class TCheckRadioTest : public TButtonsTest {
protected:
    TbsSkinCheckRadioBox* MakeBox(TWinControl* Parent, const std::string& Name, bool Radio,
                                  int GroupIndex, int Top = 10) {
        auto* B = new TbsSkinCheckRadioBox(Form);
        B->SetParent(Parent);
        B->SetBounds(10, Top, 150, 25);
        B->SetRadio(Radio);
        B->SetGroupIndex(GroupIndex);
        B->SetCaption(Name);
        B->OnClick = Log.Note(Name);
        return B;
    }
    TPanel* MakePanel(int Left) {
        auto* P = new TPanel(Form);
        P->SetParent(Form);
        P->SetBounds(Left, 0, 200, 200);
        return P;
    }
    TEventLog Log;
};

// Click in code fires OnClick once and leaves the box as it is; a mouse
// click and Space each toggle it and fire OnClick once.
TEST_F(TCheckRadioTest, ClickInCodeByMouseAndBySpaceEachFireOnClickOnce) {
    auto* B = MakeBox(Form, "c", false, 0);
    Pump();
    B->Click();
    EXPECT_EQ(Log.Count("c"), 1);
    EXPECT_FALSE(B->Checked());
    ClickAt(B, 10, 10);
    EXPECT_EQ(Log.Count("c"), 2);
    EXPECT_TRUE(B->Checked());
    EXPECT_TRUE(B->Focused());
    Headless.KeyDown(VK_SPACE);
    Headless.KeyUp(VK_SPACE);
    Pump();
    EXPECT_EQ(Log.Count("c"), 3);
    EXPECT_FALSE(B->Checked());
}

TEST_F(TCheckRadioTest, RadioGroupUnchecksTheOthersSilentlyThenClicksTheNewOne) {
    TPanel* P = MakePanel(0);
    std::vector<TbsSkinCheckRadioBox*> Boxes;
    for (int I = 0; I < 4; ++I)
        Boxes.push_back(MakeBox(P, "r" + std::to_string(I), true, 1, 10 + 30 * I));
    Boxes[0]->SetChecked(true);
    Log.Names.clear();
    Boxes[2]->SetChecked(true);
    EXPECT_FALSE(Boxes[0]->Checked());
    EXPECT_TRUE(Boxes[2]->Checked());
    EXPECT_EQ(Log.Names, (std::vector<std::string>{"r2"}));

    // A checked radio box ignores clicks and Space.
    Pump();
    Log.Names.clear();
    ClickAt(Boxes[2], 8, 12);
    Boxes[2]->SetFocus();
    Headless.KeyDown(VK_SPACE);
    Headless.KeyUp(VK_SPACE);
    Pump();
    EXPECT_TRUE(Boxes[2]->Checked());
    EXPECT_TRUE(Log.Names.empty());
}

TEST_F(TCheckRadioTest, GroupsStopAtTheParentAndSetStateLeavesMembersAlone) {
    TPanel* A = MakePanel(0);
    TPanel* B = MakePanel(250);
    auto* InA = MakeBox(A, "a", true, 1);
    auto* InB = MakeBox(B, "b", true, 1);
    auto* Second = MakeBox(A, "a2", true, 1, 50);
    InA->SetChecked(true);
    InB->SetChecked(true);
    EXPECT_TRUE(InA->Checked());
    Log.Names.clear();
    Second->SetState(cbChecked);
    EXPECT_TRUE(InA->Checked());
    EXPECT_TRUE(Second->Checked());
    EXPECT_EQ(Log.Names, (std::vector<std::string>{"a2"}));
}

TEST_F(TCheckRadioTest, CheckBoxSettersFireEveryTime) {
    auto* C = MakeBox(Form, "c", false, 0);
    C->SetChecked(true);
    C->SetChecked(true);
    C->SetChecked(false);
    EXPECT_EQ(Log.Count("c"), 3);
}

TEST_F(TCheckRadioTest, AllowGrayedCyclesAndFalseKeepsGrayed) {
    auto* C = MakeBox(Form, "c", false, 0);
    C->SetAllowGrayed(true);
    Pump();
    const TCheckBoxState Expect[] = {cbGrayed, cbChecked, cbUnchecked};
    for (TCheckBoxState S : Expect) {
        ClickAt(C, 8, 12);
        EXPECT_EQ(C->State(), S);
    }
    EXPECT_EQ(Log.Count("c"), 3);
    ClickAt(C, 8, 12);
    ASSERT_EQ(C->State(), cbGrayed);
    C->SetChecked(false);
    EXPECT_EQ(C->State(), cbGrayed);
}

TEST_F(TCheckRadioTest, CanFocusedDecidesFocusSpaceAndAccelerator) {
    auto* Off = MakeBox(Form, "&Off", false, 0);
    Off->SetCanFocused(false);
    Pump();
    Off->Perform(CM_DIALOGCHAR, 'O', 0);
    PressAt(Off, 8, 12);
    EXPECT_FALSE(Off->Focused());
    Headless.Release(0);
    Pump();
    Log.Names.clear();
    Headless.KeyDown(VK_SPACE);
    Headless.KeyUp(VK_SPACE);
    Pump();
    EXPECT_EQ(Log.Count("&Off"), 0);

    auto* On = MakeBox(Form, "&Next", false, 0, 50);
    Pump();
    EXPECT_EQ(On->Perform(CM_DIALOGCHAR, 'N', 0), 1);
    EXPECT_TRUE(On->Focused());
    EXPECT_TRUE(On->Checked());
}

TEST_F(TCheckRadioTest, FlatPlainLookPlacesSquareDotAndCaption) {
    auto* R = MakeBox(Form, "", true, 0);
    R->SetChecked(true);
    EXPECT_EQ(PixelOf(R, 3, 5), Rgb(clBtnShadow));
    EXPECT_EQ(PixelOf(R, 16, 18), Rgb(clBtnShadow));
    EXPECT_EQ(PixelOf(R, 7, 9), 0u);
    EXPECT_EQ(PixelOf(R, 12, 14), 0u);
    EXPECT_NE(PixelOf(R, 13, 15), 0u);
    MoveTo(R, 8, 12);
    EXPECT_EQ(PixelOf(R, 3, 5), Navy);

    auto* C = MakeBox(Form, "Caption", false, 0, 50);
    C->SetState(cbGrayed);
    Pump();
    bool GrayTick = false, CaptionLeft = false;
    for (int Y = 5; Y < 20; ++Y)
        for (int X = 4; X < 16; ++X)
            GrayTick |= PixelOf(C, X, Y) == Rgb(clGrayText);
    for (int Y = 0; Y < 25; ++Y)
        for (int X = 17; X < 22; ++X)
            CaptionLeft |= PixelOf(C, X, Y) != PixelOf(C, 17, 0);
    EXPECT_TRUE(GrayTick);
    EXPECT_FALSE(CaptionLeft) << "the caption starts at x 22";
}

// A check element with every picture of the table in its own colour.
// CheckRight puts the check area right of the text area in the face.
testskin::TTestSkin CheckSkin(bool WithGrayed, bool Morph, bool Masked = false,
                              bool CheckRight = false) {
    testskin::TTestSkin Skin = testskin::StandardTestSkin();
    testskin::TTestPicture& P = Skin.AddPicture("checks.bmp", 200, 60, 24);
    const int Index = Skin.PictureIndex("checks.bmp");
    const char* Names[] = {"check",          "uncheck",          "active.check", "active.uncheck",
                           "disabled.check", "disabled.uncheck", "grayed",       "active.grayed"};
    // Each picture keys its see-through colour on its bottom-left pixel.
    for (int I = 0; I < 8; ++I) {
        P.AddRegion(Names[I], {I * 14, 0, I * 14 + 13, 13});
        P.Fill({I * 14, 12, I * 14 + 1, 13}, 0xFF00FF);
    }
    P.AddRegion("face", {0, 20, 100, 40});
    P.AddRegion("face.active", {100, 20, 200, 40});
    using testskin::RectText;
    testskin::TKeys Keys{"pictureindex=" + std::to_string(Index),
                         "skinrect=" + RectText(P.Region("face")),
                         "activeskinrect=" + RectText(P.Region("face.active")),
                         "lefttoppoint=20,0",
                         "righttoppoint=80,0",
                         "leftbottompoint=20,20",
                         "rightbottompoint=80,20",
                         "clientrect=20,0,80,20",
                         CheckRight ? "checkimagearea=82,2,98,18" : "checkimagearea=2,2,18,18",
                         CheckRight ? "textarea=0,0,80,20" : "textarea=20,0,100,20",
                         "checkimagerect=" + RectText(P.Region("check")),
                         "uncheckimagerect=" + RectText(P.Region("uncheck")),
                         "activecheckimagerect=" + RectText(P.Region("active.check")),
                         "activeuncheckimagerect=" + RectText(P.Region("active.uncheck")),
                         "unenabledcheckimagerect=" + RectText(P.Region("disabled.check")),
                         "unenableduncheckimagerect=" + RectText(P.Region("disabled.uncheck")),
                         "framefontcolor=255",
                         "fontcolor=65280",
                         "activefontcolor=0"};
    if (WithGrayed) {
        Keys.push_back("grayedcheckimagerect=" + RectText(P.Region("grayed")));
        Keys.push_back("activegrayedcheckimagerect=" + RectText(P.Region("active.grayed")));
    }
    if (Morph)
        Keys.push_back("morphing=1");
    if (Masked) {
        // The face's shape: all of it but a 4 x 4 corner at the top left.
        testskin::TTestPicture& M = Skin.AddPicture("checkmask.bmp", 100, 20, 24);
        M.Fill({0, 0, 100, 20}, testskin::Black);
        M.Fill({0, 0, 4, 4}, 0xFFFFFF);
        Keys.push_back("maskpictureindex=" + std::to_string(Skin.PictureIndex("checkmask.bmp")));
    }
    Skin.AddControl("checkradio", "testcheck", Keys);
    return Skin;
}

// Halfway toward white, within one step of rounding on each channel.
bool IsBrightened(std::uint32_t Got, std::uint32_t From) {
    for (int Shift : {0, 8, 16}) {
        const int V = int(From >> Shift & 0xFF), G = int(Got >> Shift & 0xFF);
        if (std::abs(G - (V + (255 - V) / 2)) > 1)
            return false;
    }
    return true;
}

TEST_F(TCheckRadioTest, CheckPictureTableInTheFlatSkinLook) {
    struct TRow {
        bool Enabled, Hovered, Grayed, Checked, GrayedPictures;
        const char* Region;
        bool Brighten;
    };
    const TRow Rows[] = {
        {true, true, true, false, true, "active.grayed", false},
        {true, true, false, true, true, "active.check", false},
        {true, true, false, false, true, "active.uncheck", false},
        {true, false, true, false, true, "grayed", false},
        {true, false, false, true, true, "check", false},
        {true, false, false, false, true, "uncheck", false},
        {false, false, true, false, true, "grayed", false},
        {false, false, false, true, true, "disabled.check", false},
        {false, false, false, false, true, "disabled.uncheck", false},
        {true, false, true, false, false, "check", true},
        {true, true, true, false, false, "active.check", true},
    };
    for (bool GrayedPictures : {true, false}) {
        const testskin::TTestSkin Skin = CheckSkin(GrayedPictures, false);
        const testskin::TTestPicture& P = Skin.Picture("checks.bmp");
        auto* SD = LoadSkin(Skin);
        for (const TRow& R : Rows) {
            if (R.GrayedPictures != GrayedPictures)
                continue;
            SCOPED_TRACE(R.Region);
            auto* C = MakeBox(Form, "x", false, 0, 100);
            C->SetSkinDataName("testcheck");
            C->SetSkinData(SD);
            C->SetEnabled(R.Enabled);
            if (R.Grayed)
                C->SetState(cbGrayed);
            else
                C->SetChecked(R.Checked);
            if (R.Hovered)
                MoveTo(C, 60, 12);
            else
                MoveTo(C, 300, 300);
            // At (3, 25 div 2 - 13 div 2) = (3, 6).
            if (R.Brighten)
                EXPECT_TRUE(IsBrightened(PixelOf(C, 6, 9), P.ColourOf(R.Region)));
            else
                EXPECT_EQ(PixelOf(C, 6, 9), P.ColourOf(R.Region));
            delete C;
        }
    }
}

TEST_F(TCheckRadioTest, NonFlatSkinFaceFollowsHoverAndMorphsOnTheClock) {
    const testskin::TTestSkin Skin = CheckSkin(true, true);
    const testskin::TTestPicture& P = Skin.Picture("checks.bmp");
    auto* SD = LoadSkin(Skin);
    auto* C = MakeBox(Form, "x", false, 0, 100);
    C->SetFlat(false);
    C->SetSkinDataName("testcheck");
    C->SetSkinData(SD);
    C->SetBounds(10, 100, 160, 20);
    Pump();
    EXPECT_EQ(PixelOf(C, 150, 2), P.ColourOf("face"));
    const std::uint32_t T0 = Clock.Now();
    MoveTo(C, 150, 10);
    EXPECT_TRUE(C->MorphRunning());
    for (int Tick = 1; Tick <= 5; ++Tick) {
        Headless.RunUntil(T0 + 20 * Tick);
        EXPECT_NEAR(C->MorphKf(), 0.2 * Tick, 1e-9) << Tick;
    }
    Headless.RunUntil(T0 + 140);
    EXPECT_DOUBLE_EQ(C->MorphKf(), 1.0);
    EXPECT_FALSE(C->MorphRunning());
    EXPECT_EQ(PixelOf(C, 150, 2), P.ColourOf("face.active"));
    MoveTo(C, 400, 300);
    Headless.RunUntil(Clock.Now() + 200);
    EXPECT_DOUBLE_EQ(C->MorphKf(), 0.0);
    EXPECT_FALSE(C->MorphRunning());
}

// A non-flat box 60 pixels wider than its face: the caption area grows by
// 60, and a check area right of the text moves with the right edge.
TEST_F(TCheckRadioTest, NonFlatFaceAtALargerSizePlacesCheckAndCaption) {
    struct TRow {
        bool CheckRight;
        int CheckLeft; // centred in the check area: 16 div 2 + area left - 13 div 2
        int CaptionFrom, CaptionTo;
    };
    const TRow Rows[] = {{false, 4, 20, 160}, {true, 144, 0, 140}};
    for (const TRow& R : Rows) {
        SCOPED_TRACE(R.CheckRight);
        const testskin::TTestSkin Skin = CheckSkin(true, false, false, R.CheckRight);
        const testskin::TTestPicture& P = Skin.Picture("checks.bmp");
        auto* SD = LoadSkin(Skin);
        auto* C = MakeBox(Form, "A caption long enough to pass the face", false, 0, 100);
        C->SetFlat(false);
        C->SetSkinDataName("testcheck");
        C->SetSkinData(SD);
        C->SetBounds(10, 100, 160, 20);
        C->SetChecked(true);
        Pump();
        ASSERT_EQ(C->Width(), 160);
        // The 13 x 13 picture at (CheckLeft, 4), its keyed corner excepted.
        EXPECT_EQ(P.RegionAt(PixelOf(C, R.CheckLeft, 4)), "check");
        EXPECT_EQ(P.RegionAt(PixelOf(C, R.CheckLeft + 12, 16)), "check");
        EXPECT_NE(P.RegionAt(PixelOf(C, R.CheckLeft - 1, 10)), "check");
        EXPECT_NE(P.RegionAt(PixelOf(C, R.CheckLeft + 13, 10)), "check");
        // The caption (green) runs inside the grown text area only.
        int Left = 1000, Right = -1;
        for (int Y = 0; Y < 20; ++Y)
            for (int X = 0; X < 160; ++X)
                if (IsGreenish(PixelOf(C, X, Y))) {
                    Left = std::min(Left, X);
                    Right = std::max(Right, X);
                }
        EXPECT_GE(Left, R.CaptionFrom);
        EXPECT_LT(Left, R.CaptionFrom + 4);
        EXPECT_GT(Right, R.CaptionFrom + 100) << "the caption passes the face's text area";
        EXPECT_LT(Right, R.CaptionTo);
        delete C;
    }
}

TEST_F(TCheckRadioTest, OnlyANonFlatBoxTakesTheMasksShape) {
    auto* SD = LoadSkin(CheckSkin(false, false, true));
    for (bool Flat : {false, true}) {
        SCOPED_TRACE(Flat);
        auto* C = MakeBox(Form, "x", false, 0, 100);
        C->SetFlat(Flat);
        C->SetSkinDataName("testcheck");
        C->SetSkinData(SD);
        C->SetBounds(10, 100, 160, 30);
        Pump();
        HRGN Rgn = CreateRectRgn(0, 0, 0, 0);
        if (Flat) {
            EXPECT_EQ(GetWindowRgn(C->Handle(), Rgn), ERROR);
            EXPECT_EQ(C->Height(), 30);
        } else {
            ASSERT_NE(GetWindowRgn(C->Handle(), Rgn), ERROR);
            EXPECT_FALSE(PtInRegion(Rgn, 1, 1));
            EXPECT_TRUE(PtInRegion(Rgn, 50, 10));
        }
        DeleteObject(ToObj(Rgn));
        delete C;
    }
}

TEST_F(TCheckRadioTest, CheckedActionIsTakenOnceAndParentBackgroundRepaints) {
    auto* C = MakeBox(Form, "c", false, 0);
    auto* A = new TAction(Form);
    A->SetChecked(true);
    C->SetAction(A);
    EXPECT_TRUE(C->Checked());
    Pump();
    Form->SetColor(clRed);
    C->Perform(WM_CHECKPARENTBG, 0, 0);
    EXPECT_EQ(PixelOf(C, 100, 2), Rgb(clRed));
}

} // namespace

namespace {

class TCheckRadioLooksTest : public TCheckRadioTest {
protected:
    int Count(TControl* C, std::uint32_t Colour, const TRect& R) {
        int N = 0;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                N += PixelOf(C, X, Y) == Colour;
        return N;
    }
};

TEST_F(TCheckRadioLooksTest, FlatSkinCaptionTakesTheFrameColourUnlessTurnedOff) {
    auto* SD = LoadSkin(CheckSkin(true, false));
    auto* C = MakeBox(Form, "Caption", false, 0, 100);
    C->SetSkinDataName("testcheck");
    C->SetSkinData(SD);
    Pump();
    // The caption starts at the check picture's width + 7 = 20.
    EXPECT_GT(Count(C, 0xFF0000, {20, 0, 100, 25}), 0);
    EXPECT_EQ(Count(C, 0xFF0000, {0, 0, 20, 25}), 0);
    C->SetUseSkinFontColor(false);
    C->Repaint();
    EXPECT_EQ(Count(C, 0xFF0000, {20, 0, 100, 25}), 0);
}

TEST_F(TCheckRadioLooksTest, FlatPlainImageSitsBeforeTheCaption) {
    auto* L = new TCustomImageList(Form);
    L->SetWidth(12);
    L->SetHeight(12);
    TBitmap B;
    B.SetSize(12, 12);
    B.Canvas()->Brush()->SetColor(clRed);
    B.Canvas()->FillRect({0, 0, 12, 12});
    L->Add(&B, nullptr);
    auto* C = MakeBox(Form, "Text", false, 0, 100);
    C->SetImages(L);
    C->SetImageIndex(0);
    C->SetWordWrap(true);
    Pump();
    // At (22, 25 div 2 - 12 div 2) = (22, 6).
    EXPECT_EQ(PixelOf(C, 22, 6), Rgb(clRed));
    EXPECT_EQ(PixelOf(C, 33, 17), Rgb(clRed));
    EXPECT_NE(PixelOf(C, 21, 6), Rgb(clRed));
}

} // namespace
