// The main window's skinned areas on the headless screen: each holds the
// colour of the skin element that draws it, in the first stored skin and in
// the plain look.
#include "app/Unit1.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ListViews.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.Bars.h"
#include "skin/controls/bsSkinCtrls.Panel.h"
#include "skin/controls/bsSkinCtrls.ScrollBar.h"
#include "skin/controls/bsSkinCtrls.Views.h"
#include "skin/forms/bsSkinMainMenuBar.h"
#include "skin/model/bsMessages.h"
#include "skin/model/bsSkinData.Component.h"
#include "skin/model/bsSkinData.Controls.h"
#include "tests/app/support/JobFlowFixture.h"
#include "tests/app/support/ProgramFixture.h"
#include "tests/support/DominantColour.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <sstream>
#include <string>

namespace {

std::uint32_t Rgb(TColor Color) {
    const std::uint32_t C = static_cast<std::uint32_t>(ColorToRGB(Color));
    return ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
}

std::string Hex(std::uint32_t C) {
    std::ostringstream S;
    S << std::hex << C;
    return S.str();
}

class MainWindowPixels : public TProgramFixture {
protected:
    // The dominant colour of a band of Control on the screen: Top and
    // Height in the control's client rows, from column Left to 8 pixels
    // before the right side.
    std::uint32_t Screen(TControl* Control, int Top, int Height, int Left = 8) {
        Pump();
        FlushPresents();
        const TPoint P = Control->ClientToScreen({0, 0});
        return DominantColour([&](int X, int Y) { return Headless.ScreenPixel(P.X + X, P.Y + Y); },
                              {Left, Top, Control->Width() - 8, Top + Height});
    }

    // The dominant colour of the middle third of a skin element's picture,
    // rows Top to Top + Height of its rectangle (all rows when Height < 0).
    std::uint32_t Skin(const std::string& Element, int Top = 0, int Height = -1) {
        TbsSkinData* Data = Form1->bsSkinData1;
        const int Index = Data->GetControlIndex(Element);
        EXPECT_GE(Index, 0) << Element;
        if (Index < 0)
            return 0;
        const TbsDataSkinControl* Part = Data->CtrlList[Index].get();
        TBitmap* Picture = Data->ActivePicture(Part->PictureIndex);
        EXPECT_NE(Picture, nullptr) << Element;
        if (!Picture)
            return 0;
        const TRect& R = Part->SkinRect;
        const int Third = (R.Right - R.Left) / 3;
        const int Bottom = Height < 0 ? R.Bottom : R.Top + Top + Height;
        return DominantColour([&](int X, int Y) { return Rgb(Picture->Canvas()->Pixels(X, Y)); },
                              {R.Left + Third, R.Top + Top, R.Right - Third, Bottom});
    }
};

TEST_F(MainWindowPixels, SkinnedAreasHoldTheirElementsColoursInTheFirstStoredSkin) {
    Start();
    ASSERT_EQ(Form1->bsSkinData1->SkinIndex(), 0);
    // The menu-bar strip: the top 22 rows of the client area.
    EXPECT_EQ(Form1->bsSkinMainMenuBar1->Height(), 22);
    EXPECT_EQ(Hex(Screen(Form1->bsSkinMainMenuBar1, 0, 22, 200)), Hex(Skin("mainmenubar")));
    // The tool bar's 59 rows, below the buttons' row of pictures.
    EXPECT_EQ(Form1->bsSkinToolBar2->Height(), 59);
    EXPECT_EQ(Hex(Screen(Form1->bsSkinToolBar2, 0, 59, 520)), Hex(Skin("toolpanel")));
    // The two group boxes' caption bands.
    const auto* Group = static_cast<const TbsDataSkinPanelControl*>(
        Form1->bsSkinData1->CtrlList[Form1->bsSkinData1->GetControlIndex("groupbox")].get());
    const int Band = Group->ClRect.Top > 4 ? Group->ClRect.Top - 4 : 12;
    EXPECT_EQ(Hex(Screen(Form1->bsSkinPanel4, 2, Band - 2, 120)),
              Hex(Skin("groupbox", 2, Band - 2)));
    EXPECT_EQ(Hex(Screen(Form1->bsSkinPanel3, 2, Band - 2, 120)),
              Hex(Skin("groupbox", 2, Band - 2)));
}

TEST_F(MainWindowPixels, ToolBarAndGroupBoxesHoldTheFaceColourInThePlainLook) {
    Start();
    // Unloading the skin as loading one does, between the two notices.
    Form1->bsSkinData1->SendSkinDataMessage(WM_BEFORECHANGESKINDATA);
    Form1->bsSkinData1->ClearAll();
    Form1->bsSkinData1->SendSkinDataMessage(WM_AFTERCHANGESKINDATA);
    Pump();
    // The controls take the change without repainting what they showed.
    RedrawWindow(Form1->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    Pump();
    const std::uint32_t Face = Rgb(clBtnFace);
    EXPECT_EQ(Hex(Screen(Form1->bsSkinToolBar2, 0, 59, 520)), Hex(Face));
    EXPECT_EQ(Hex(Screen(Form1->bsSkinPanel4, 0, 16, 120)), Hex(Face));
    EXPECT_EQ(Hex(Screen(Form1->bsSkinPanel3, 0, 16, 120)), Hex(Face));
}

class JobTableScrollBar : public JobFlow {
protected:
    int TopRow() const { return int(SendMessage(Form1->lvFiles->Handle(), LVM_GETTOPINDEX, 0, 0)); }
    TPoint OnScreen(TControl* Control, TPoint At) { return Control->ClientToScreen(At); }
};

// Twenty rows do not fit: the vertical bar shows with the skin's vertical
// element at its full size beside the rows, and its button and thumb scroll
// the rows.
TEST_F(JobTableScrollBar, AVerticalBarOfItsOwnElementScrollsTheRowsByButtonAndThumb) {
    StartWindow();
    std::vector<std::string> Files;
    for (int I = 0; I < 20; ++I)
        Files.push_back(MakeInput("r" + std::to_string(I) + ".mp4"));
    AddFiles(Files);
    ASSERT_EQ(Rows(), 20);
    Pump();
    TbsSkinScrollBar* Bar = Form1->bsSkinScrollBar2;
    TbsSkinListView* Table = Form1->lvFiles;
    ASSERT_TRUE(Bar->Visible());
    EXPECT_EQ(Bar->SkinDataName(), "vscrollbar");
    TbsSkinData* Data = Form1->bsSkinData1;
    const int Element = Data->GetControlIndex("vscrollbar");
    ASSERT_GE(Element, 0);
    const TRect& Skin = Data->CtrlList[Element]->SkinRect;
    EXPECT_EQ(Bar->Width(), Skin.Right - Skin.Left);
    EXPECT_EQ(Bar->Top(), Table->Top());
    EXPECT_EQ(Bar->Height(), Table->Height());
    EXPECT_EQ(Bar->Left() + Bar->Width(), Table->Left() + Table->Width());

    // The button at the bottom end: one row down, twice.
    ASSERT_EQ(TopRow(), 0);
    const TRect Down = Bar->Part(1).R;
    const TPoint DownAt =
        OnScreen(Bar, {(Down.Left + Down.Right) / 2, (Down.Top + Down.Bottom) / 2});
    for (int Expected : {1, 2}) {
        Headless.Click(DownAt.X, DownAt.Y);
        Pump();
        EXPECT_EQ(TopRow(), Expected);
        EXPECT_EQ(Bar->Position(), Expected);
    }
    // The thumb dragged to the bottom end shows the last row.
    const TRect Thumb = Bar->Part(0).R;
    const TPoint Grab =
        OnScreen(Bar, {(Thumb.Left + Thumb.Right) / 2, (Thumb.Top + Thumb.Bottom) / 2});
    Headless.MovePointer(Grab.X, Grab.Y);
    Headless.Press();
    Pump();
    Headless.MovePointer(Grab.X, Grab.Y + Bar->Height());
    Pump();
    Headless.Release();
    Pump();
    const int PerPage = int(SendMessage(Table->Handle(), LVM_GETCOUNTPERPAGE, 0, 0));
    EXPECT_EQ(TopRow() + PerPage, 20);
    EXPECT_EQ(Bar->Position(), TopRow());
}

} // namespace
