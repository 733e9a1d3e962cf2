// The text combo in the edit style: typing and completion from the items,
// the search pause, the Up/Down and wheel steps in the inner edit, the word
// table's character set, switching the style, the skin change of the inner
// edit, and the text drawn once over the skinned face.
#include "platform/forms/Edits.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Graphics.h"
#include "skin/model/bsSkinData.ResStr.h"
#include "tests/skin/controls/lists/ListsTestSupport.h"

#include <algorithm>

namespace {

using namespace liststest;
using Strings = std::vector<std::string>;

class TEditComboTest : public TListsTest {
protected:
    TLoggedCombo* MakeCombo(TbsSkinData* SD = nullptr) {
        auto* C = new TLoggedCombo(Form, Log);
        C->SetParent(Form);
        C->SetBounds(20, 20, 120, 20);
        if (SD)
            C->SetSkinData(SD);
        for (const char* S : {"alpha", "beta", "gamma"})
            C->Items()->Add(S);
        C->SetStyle(bscbEditStyle);
        C->OnChange = [this, C](TObject*) { Log.Names.push_back("OnChange(" + C->Text() + ")"); };
        C->OnClick = Log.Note("OnClick");
        Pump();
        return C;
    }
    // One key pressed now and released Hold milliseconds later.
    void Stroke(int Vk, const std::string& Char, std::uint32_t Hold = 0) {
        Headless.KeyDown(Vk, Char);
        Pump();
        if (Hold)
            RunFor(Hold);
        Headless.KeyUp(Vk);
        Pump();
    }
    TEventLog Log;
};

TEST_F(TEditComboTest, TypingCompletesFromTheItemsAndSelectsTheTail) {
    TLoggedCombo* C = MakeCombo();
    ASSERT_NE(C->FEdit, nullptr);
    Focus(C);
    EXPECT_TRUE(C->FEdit->Focused());
    Log.Names.clear();
    Stroke('B', "b", 300);
    EXPECT_EQ(C->FEdit->Text(), "beta");
    EXPECT_EQ(C->ItemIndex(), 1);
    EXPECT_EQ(C->SelStart(), 1);
    EXPECT_EQ(C->SelLength(), 3);
    EXPECT_EQ(Log.Names, (Strings{"OnChange(b)", "Change", "OnChange(beta)", "OnClick", "Change"}));
}

TEST_F(TEditComboTest, KeyReleasesWithinThePauseSearchOnce) {
    TLoggedCombo* C = MakeCombo();
    Focus(C);
    RunFor(300);
    Stroke('G', "g");
    EXPECT_EQ(C->ItemIndex(), 2);
    // Type over the completed tail: "gx" matches nothing, and the release
    // comes too soon after the last search to search at all.
    C->FEdit->SetText("a");
    C->FEdit->SetSelStart(1);
    Log.Names.clear();
    RunFor(100);
    Stroke('L', "l");
    EXPECT_EQ(C->Text(), "al");
    EXPECT_EQ(Log.Count("OnClick"), 0);
    RunFor(150);
    Stroke('P', "p");
    EXPECT_EQ(C->FEdit->Text(), "alpha");
    EXPECT_EQ(Log.Count("OnClick"), 1);
}

struct TStepRow {
    const char* Name;
    int Key;
    int Index;
    std::string Text;
    Strings Expected;
};

class TEditComboSteps : public TEditComboTest, public testing::WithParamInterface<TStepRow> {};

TEST_P(TEditComboSteps, MoveTheRowAndSelectTheWholeText) {
    const TStepRow& Row = GetParam();
    TLoggedCombo* C = MakeCombo();
    C->SetItemIndex(1);
    Focus(C);
    Log.Names.clear();
    Key(Row.Key);
    EXPECT_EQ(C->ItemIndex(), Row.Index);
    EXPECT_EQ(C->Text(), Row.Text);
    EXPECT_EQ(C->FEdit->Text(), Row.Text);
    EXPECT_EQ(C->SelStart(), 0);
    EXPECT_EQ(C->SelLength(), int(Row.Text.size()));
    EXPECT_EQ(Log.Names, Row.Expected);
}

const TStepRow StepRows[] = {
    {"Up", VK_UP, 0, "alpha", {"OnChange(alpha)", "OnClick", "Change", "OnClick"}},
    {"Down", VK_DOWN, 2, "gamma", {"OnChange(gamma)", "OnClick"}},
};

INSTANTIATE_TEST_SUITE_P(Rows, TEditComboSteps, testing::ValuesIn(StepRows),
                         [](const testing::TestParamInfo<TStepRow>& I) {
                             return std::string(I.param.Name);
                         });

TEST_F(TEditComboTest, WheelWhileOpenMovesOnlyTheHighlight) {
    TLoggedCombo* C = MakeCombo();
    C->SetItemIndex(1);
    Focus(C);
    C->DropDown();
    Pump();
    ASSERT_TRUE(C->IsPopupVisible());
    EXPECT_TRUE(C->FEdit->Focused());
    Log.Names.clear();
    MoveTo(C->FEdit, 5, 5);
    C->FEdit->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-120)), 0);
    EXPECT_EQ(C->ItemIndex(), 2);
    EXPECT_EQ(C->Text(), "beta");
    EXPECT_TRUE(Log.Names.empty());
    Key(VK_ESCAPE);
    EXPECT_FALSE(C->IsPopupVisible());
    EXPECT_EQ(C->ItemIndex(), 1);
}

TEST_F(TEditComboTest, AcceptingARowPutsItIntoTheEdit) {
    TLoggedCombo* C = MakeCombo();
    Focus(C);
    C->DropDown();
    C->FListBox->SetItemIndex(2);
    Log.Names.clear();
    Key(VK_RETURN);
    EXPECT_FALSE(C->IsPopupVisible());
    EXPECT_EQ(C->Text(), "gamma");
    EXPECT_EQ(C->SelLength(), 5);
    EXPECT_EQ(Log.Names, (Strings{"OnChange(gamma)", "Change", "OnClick", "Change"}));
}

// With a word table of a wide character set the completed tail is cleared
// before the next completion, and Backspace never completes.
TEST_F(TEditComboTest, WideCharsetClearsTheSelectionAndBackspacePasses) {
    auto* SD = new TbsSkinData(Form);
    auto* Words = new TbsResourceStrData(Form);
    Words->SetCharSet(GB2312_CHARSET);
    SD->SetResourceStrData(Words);
    TLoggedCombo* C = MakeCombo(SD);
    Focus(C);
    C->FEdit->SetText("bx");
    C->FEdit->SetSelStart(1);
    C->FEdit->SetSelLength(1);
    RunFor(300);
    Headless.KeyUp('B');
    Pump();
    EXPECT_EQ(C->FEdit->Text(), "beta");
    EXPECT_EQ(C->ItemIndex(), 1);

    RunFor(300);
    Stroke(VK_BACK, "\b");
    EXPECT_EQ(C->FEdit->Text(), "b");
    RunFor(300);
    Headless.KeyUp(VK_BACK);
    Pump();
    EXPECT_EQ(C->FEdit->Text(), "b");
}

TEST_F(TEditComboTest, SwitchingTheStyleCreatesAndFreesTheEdit) {
    auto* C = new TbsSkinComboBox(Form);
    C->SetParent(Form);
    C->SetText("kept");
    Pump();
    const HWND Before = C->Handle();
    C->SetStyle(bscbEditStyle);
    ASSERT_NE(C->FEdit, nullptr);
    EXPECT_TRUE(C->FEdit->TabStop());
    EXPECT_FALSE(C->TabStop());
    EXPECT_EQ(C->FEdit->Text(), "kept");
    EXPECT_NE(C->Handle(), Before);
    const TRect E = C->FEdit->BoundsRect();
    EXPECT_EQ(E.Left, C->CBItem.R.Left);
    EXPECT_EQ(E.Right, C->CBItem.R.Right);

    C->SetStyle(bscbFixedStyle);
    EXPECT_EQ(C->FEdit, nullptr);
    EXPECT_TRUE(C->TabStop());
    EXPECT_EQ(C->SelStart(), 0);
}

// A flat skin whose item area and font colours are distinct.
testskin::TTestSkin EditComboSkin() {
    testskin::TTestSkin Skin = testskin::MinimalLoadableSkin();
    testskin::TTestPicture& P = Skin.AddPicture("combo.bmp", 96, 64, 24);
    P.AddRegion("face", {0, 0, 60, 20});
    P.AddRegion("client", {3, 3, 40, 17});
    Skin.AddControl("combobox", "combobox",
                    {"pictureindex=1", "skinrect=0,0,60,20", "lefttoppoint=10,0",
                     "righttoppoint=40,0", "clientrect=3,3,40,17", "buttonrect=44,2,58,18",
                     "fontname=Arial", "fontheight=13", "fontcolor=255"});
    Skin.AddControl("edit", "edit",
                    {"pictureindex=1", "skinrect=0,0,60,20", "clientrect=3,3,40,17",
                     "disabledfontcolor=16711680"});
    return Skin;
}

TEST_F(TEditComboTest, SkinChangeGivesTheEditTheSkinFontAndTransparency) {
    TLoggedCombo* C = MakeCombo();
    EXPECT_FALSE(C->FEdit->EditTransparent());
    TbsSkinData* SD = LoadSkin(EditComboSkin());
    C->SetSkinData(SD);
    Pump();
    EXPECT_TRUE(C->FEdit->EditTransparent());
    EXPECT_EQ(C->FEdit->Font()->Height(), 13);
    EXPECT_EQ(Rgb(C->FEdit->Font()->Color()), 0xFF0000u);
    C->SetEnabled(false);
    EXPECT_EQ(Rgb(C->FEdit->Font()->Color()), 0x0000FFu);
    C->SetEnabled(true);
    C->SetSkinData(LoadSkin(testskin::MinimalLoadableSkin()));
    Pump();
    EXPECT_FALSE(C->FEdit->EditTransparent());
}

// Skinned, the face's item area shows around the text the edit draws, and the
// edit's pixels equal the bare face with the text written over it once by
// DrawText in the edit's font and colour (text drawn twice, or over an
// opaque box, would differ); a repaint of the whole combo changes nothing.
TEST_F(TEditComboTest, SkinnedTextIsDrawnOnceOverTheFace) {
    const testskin::TTestSkin Skin = EditComboSkin();
    TbsSkinData* SD = LoadSkin(Skin);
    TLoggedCombo* C = MakeCombo(SD);
    Focus(C);
    Type("ab");
    // The caret is not text: it stays off the pictures compared.
    HideCaret(C->FEdit->Handle());
    RunFor(50);
    const std::uint32_t Face = Skin.Picture("combo.bmp").ColourOf("client");
    const TRect R = C->FEdit->BoundsRect();
    const auto Shot = [&] {
        std::vector<std::uint32_t> Pixels;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                Pixels.push_back(PixelOf(C, X, Y));
        return Pixels;
    };
    const std::vector<std::uint32_t> Typed = Shot();
    EXPECT_EQ(PixelOf(C, R.Right - 2, R.Top + 1), Face);
    EXPECT_GT(std::count_if(Typed.begin(), Typed.end(), [&](auto P) { return P != Face; }), 5);

    C->Invalidate();
    InvalidateRect(C->Handle(), nullptr, TRUE);
    Pump();
    EXPECT_EQ(Shot(), Typed);

    TRect TextR;
    SendMessage(C->FEdit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&TextR));
    C->FEdit->SetText("");
    Pump();
    const std::vector<std::uint32_t> Bare = Shot();
    TBitmap Reference;
    Reference.SetSize(R.Width(), R.Height());
    std::size_t I = 0;
    for (int Y = 0; Y < R.Height(); ++Y)
        for (int X = 0; X < R.Width(); ++X, ++I)
            Reference.Canvas()->SetPixels(
                X, Y, TColor(((Bare[I] & 0xFF) << 16) | (Bare[I] & 0xFF00) | (Bare[I] >> 16)));
    TCanvas* Cnv = Reference.Canvas();
    HDC DC = Cnv->Handle();
    SelectObject(DC, ToObj(HFONT(SendMessage(C->FEdit->Handle(), WM_GETFONT, 0, 0))));
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, ColorToRGB(C->FEdit->Font()->Color()));
    DrawText(DC, "ab", -1, &TextR, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    int Differ = 0;
    I = 0;
    for (int Y = 0; Y < R.Height(); ++Y)
        for (int X = 0; X < R.Width(); ++X, ++I)
            Differ += Rgb(Cnv->Pixels(X, Y)) != Typed[I] ? 1 : 0;
    EXPECT_EQ(Differ, 0);
}

} // namespace
