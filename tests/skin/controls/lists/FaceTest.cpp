// The combo faces: layout, the plain button and tool faces in their three
// states, the face that keeps the chosen item while the list is open,
// PaintSkinTo, and the skinned button: where it sits when the combo widens
// and which element draws it without the skin size.
#include "skin/model/bsUtils.Rects.h"
#include "tests/skin/controls/lists/ListsTestSupport.h"

#include <algorithm>

namespace {

using namespace liststest;
using testskin::operator+;

class TFaceTest : public TListsTest {
protected:
    TbsSkinComboBox* MakeCombo(int W = 120, int H = 20) {
        auto* C = new TbsSkinComboBox(Form);
        C->SetParent(Form);
        C->SetBounds(20, 20, W, H);
        for (const char* S : {"alpha", "beta", "gamma"})
            C->Items()->Add(S);
        Pump();
        return C;
    }
};

constexpr std::uint32_t NavyRgb = 0x000080;
constexpr std::uint32_t HotRgb = 0xB6BDD2;
constexpr std::uint32_t PressedRgb = 0x8593B5;

TEST_F(TFaceTest, PlainLayout) {
    TbsSkinComboBox* C = MakeCombo();
    EXPECT_EQ(C->Button.R, (TRect{101, 2, 118, 18}));
    EXPECT_EQ(C->CBItem.R, (TRect{2, 2, 100, 18}));
}

TEST_F(TFaceTest, PlainButtonIdleHotAndHeld) {
    TbsSkinComboBox* C = MakeCombo();
    EXPECT_EQ(PixelOf(C, 101, 2), Rgb(clBtnShadow));
    EXPECT_EQ(PixelOf(C, 103, 4), Rgb(clBtnFace));
    EXPECT_EQ(PixelOf(C, 0, 0), Rgb(clBtnShadow));
    MoveTo(C, 110, 10);
    EXPECT_EQ(PixelOf(C, 101, 2), NavyRgb);
    EXPECT_EQ(PixelOf(C, 103, 4), HotRgb);
    C->Button.Down = true;
    C->Repaint();
    EXPECT_EQ(PixelOf(C, 103, 4), PressedRgb);
    // The arrow sits in the middle of the button.
    EXPECT_EQ(PixelOf(C, 109, 10), 0u);
}

TEST_F(TFaceTest, DisabledArrowIsShadowColoured) {
    TbsSkinComboBox* C = MakeCombo();
    C->SetEnabled(false);
    EXPECT_EQ(PixelOf(C, 109, 10), Rgb(clBtnShadow));
}

TEST_F(TFaceTest, PlainToolFaceIdleHotAndOpen) {
    auto* O = new TbsSkinOfficeComboBox(Form);
    O->SetParent(Form);
    O->SetToolButtonStyle(true);
    O->SetBounds(200, 20, 119, 51);
    O->Items()->Add()->SetCaption("one");
    Pump();
    EXPECT_EQ(PixelOf(O, 0, 0), Rgb(clBtnShadow));
    EXPECT_EQ(PixelOf(O, 3, 40), Rgb(clBtnFace));
    MoveTo(O, 50, 25);
    EXPECT_EQ(PixelOf(O, 0, 0), NavyRgb);
    EXPECT_EQ(PixelOf(O, 3, 40), HotRgb);
    O->DropDown();
    EXPECT_EQ(PixelOf(O, 3, 40), PressedRgb);
    O->CloseUp(false);
}

TEST_F(TFaceTest, OpenFaceKeepsTheItemChosenBeforeOpening) {
    TbsSkinComboBox* C = MakeCombo();
    std::vector<int> Drawn;
    C->OnComboBoxDrawItem = [&](TCanvas*, int Index, int, int, TRect, TOwnerDrawState) {
        Drawn.push_back(Index);
    };
    C->SetItemIndex(0);
    C->DropDown();
    const TRect R = C->FListBox->ListBox->ItemRect(2);
    MoveTo(C->FListBox->ListBox, 5, R.Top + 5);
    ASSERT_EQ(C->FListBox->ItemIndex(), 2);
    Drawn.clear();
    C->Repaint();
    Pump();
    ASSERT_FALSE(Drawn.empty());
    EXPECT_EQ(Drawn.back(), 0);
}

TEST_F(TFaceTest, PaintSkinToDrawsTheFaceWithTheTextAtThePoint) {
    TbsSkinComboBox* C = MakeCombo();
    C->SetItemIndex(1);
    TBitmap B;
    B.SetSize(200, 100);
    B.Canvas()->Brush()->SetColor(clRed);
    B.Canvas()->FillRect({0, 0, 200, 100});
    C->PaintSkinTo(B.Canvas(), 10, 5, "xyz");
    EXPECT_EQ(Rgb(B.Canvas()->Pixels(9, 4)), Rgb(clRed));
    EXPECT_EQ(Rgb(B.Canvas()->Pixels(10, 5)), Rgb(clBtnShadow));
    EXPECT_EQ(Rgb(B.Canvas()->Pixels(10 + 111, 5 + 4)), Rgb(clBtnFace));
    // Some text pixels inside the item area, not the item's own picture.
    bool Ink = false;
    for (int X = 12; X < 40 && !Ink; ++X)
        for (int Y = 7; Y < 23 && !Ink; ++Y)
            Ink = Rgb(B.Canvas()->Pixels(X, Y)) != Rgb(clWindow);
    EXPECT_TRUE(Ink);
}

// The item's image: the combo's own ImageIndex when set, else the item's
// number; an item past the images shows none but its text keeps the image
// column.
TEST_F(TFaceTest, ItemImageFromTheOwnIndexOrTheItemsNumberAndTheTextAfterIt) {
    struct TCase {
        const char* Name;
        int Images;
        int ImageIndex;
        int Shown; // the image whose colour fills the image's place; -1 none
    };
    const TColor Colours[] = {clRed, clLime, clBlue, clYellow};
    const TCase Cases[] = {
        {"no images", 0, -1, -1},
        {"item's number", 4, -1, 3},
        {"own index", 4, 0, 0},
        {"past the images", 2, -1, -1},
    };
    int TextWithoutImages = -1, TextWithImages = -1;
    for (const TCase& Case : Cases) {
        TbsSkinComboBox* C = MakeCombo();
        C->Items()->Add("delta");
        if (Case.Images > 0)
            C->SetImages(FlatImages(C, 12, std::vector<TColor>(Colours, Colours + Case.Images)));
        C->SetImageIndex(Case.ImageIndex);
        C->SetItemIndex(3);
        // Image colours counted over the item area, and where the text starts.
        int Counts[4] = {}, FirstInk = -1;
        for (int Y = C->CBItem.R.Top; Y < C->CBItem.R.Bottom; ++Y)
            for (int X = C->CBItem.R.Left; X < C->CBItem.R.Right; ++X) {
                const std::uint32_t P = PixelOf(C, X, Y);
                const auto Image = std::find_if(std::begin(Colours), std::end(Colours),
                                                [&](TColor K) { return Rgb(K) == P; });
                if (Image != std::end(Colours))
                    ++Counts[Image - std::begin(Colours)];
                else if (P != Rgb(clWindow) && (FirstInk < 0 || X < FirstInk))
                    FirstInk = X;
            }
        for (int I = 0; I < 4; ++I)
            EXPECT_EQ(Counts[I], I == Case.Shown ? 144 : 0) << Case.Name << " image " << I;
        ASSERT_GT(FirstInk, 0) << Case.Name;
        if (Case.Images == 0)
            TextWithoutImages = FirstInk;
        else if (TextWithImages < 0)
            TextWithImages = FirstInk;
        else
            EXPECT_EQ(FirstInk, TextWithImages) << Case.Name;
        delete C;
    }
    EXPECT_EQ(TextWithImages, TextWithoutImages + 12 + 2);
}

// The office face with item titles (the profile chooser's settings): the
// title in bold at the top left, the 32 x 32 image and the caption below it.
TEST_F(TFaceTest, OfficeFaceShowsTheBoldTitleAboveTheImageAndCaption) {
    auto* O = new TbsSkinOfficeComboBox(Form);
    O->SetParent(Form);
    O->SetToolButtonStyle(true);
    O->SetBounds(20, 20, 341, 51);
    O->SetImages(FlatImages(O, 32, {clLime}));
    TbsSkinOfficeItem* Item = O->Items()->Add();
    Item->SetTitle("Wide");
    Item->SetCaption("Wide");
    Item->SetImageIndex(0);
    O->SetItemIndex(0);
    MoveTo(Form, 450, 350);
    // Bounding boxes of the image and of the text's ink above and beside it.
    TRect Image{1000, 1000, -1, -1}, Title = Image, Caption = Image;
    const auto Grow = [](TRect& R, int X, int Y) {
        R = {std::min(R.Left, X), std::min(R.Top, Y), std::max(R.Right, X + 1),
             std::max(R.Bottom, Y + 1)};
    };
    std::vector<std::pair<TPoint, std::uint32_t>> Ink;
    for (int Y = 2; Y < 49; ++Y)
        for (int X = 2; X < 341 - 17; ++X) {
            const std::uint32_t P = PixelOf(O, X, Y);
            if (P == Rgb(clLime))
                Grow(Image, X, Y);
            else if (P != Rgb(clBtnFace))
                Ink.push_back({{X, Y}, P});
        }
    ASSERT_EQ(RectWidth(Image), 32);
    ASSERT_EQ(RectHeight(Image), 32);
    int TitleInk = 0, CaptionInk = 0;
    for (const auto& [P, Colour] : Ink) {
        Grow(P.Y < Image.Top ? Title : Caption, P.X, P.Y);
        ++(P.Y < Image.Top ? TitleInk : CaptionInk);
    }
    EXPECT_LE(Title.Left, 6);
    EXPECT_LE(Title.Top, 6);
    EXPECT_LE(Image.Left, 6);
    EXPECT_GE(Caption.Left, Image.Right);
    EXPECT_GT(Caption.Top, Image.Top);
    EXPECT_LT(Caption.Bottom, Image.Bottom);
    // The same word, heavier in bold.
    EXPECT_GT(TitleInk, CaptionInk * 11 / 10);
}

// A "combobox" element 60 x 20 whose button lies in the stretched middle or
// in the fixed right part, and, when named, a button element of that name.
testskin::TTestSkin ComboSkin(bool ButtonInMiddle, const char* ButtonElement = nullptr) {
    testskin::TTestSkin Skin = testskin::MinimalLoadableSkin();
    testskin::TTestPicture& P = Skin.AddPicture("combo.bmp", 96, 64, 24);
    P.AddRegion("face", {0, 0, 60, 20});
    P.AddRegion("button.normal", {0, 24, 12, 36});
    P.AddRegion("button.active", {12, 24, 24, 36});
    P.AddRegion("button.down", {24, 24, 36, 36});
    P.AddRegion("button.disabled", {36, 24, 48, 36});
    const std::string Button = ButtonInMiddle ? "buttonrect=20,2,34,18" : "buttonrect=44,2,58,18";
    Skin.AddControl("combobox", "combobox",
                    {"pictureindex=1", "skinrect=0,0,60,20", "lefttoppoint=10,0",
                     "righttoppoint=40,0", "clientrect=3,3,40,17", Button});
    if (ButtonElement)
        Skin.AddControl("button", ButtonElement,
                        testskin::ButtonKeys(P, 1, "button.normal", "button.active", "button.down",
                                             "button.disabled", 3));
    return Skin;
}

TEST_F(TFaceTest, SkinnedButtonStaysInTheMiddleOrFollowsTheRightEdge) {
    for (bool Middle : {true, false}) {
        TbsSkinData* SD = LoadSkin(ComboSkin(Middle));
        TbsSkinComboBox* C = MakeCombo(60, 20);
        C->SetSkinData(SD);
        const TRect Before = C->Button.R;
        C->SetWidth(100);
        Pump();
        EXPECT_EQ(C->Button.R.Left - Before.Left, Middle ? 0 : 40) << Middle;
        delete C;
    }
}

// Without the skin size the button is drawn by the "combobutton" element,
// else by "editbutton", else not at all.
TEST_F(TFaceTest, WithoutTheSkinSizeTheButtonComesFromTheComboButtonElement) {
    TbsSkinComboBox* C = MakeCombo(100, 24);
    C->SetUseSkinSize(false);
    for (const char* Element : {"combobutton", "editbutton", static_cast<const char*>(nullptr)}) {
        const testskin::TTestSkin Skin = ComboSkin(false, Element);
        C->SetSkinData(LoadSkin(Skin));
        Pump();
        const TRect R = C->Button.R;
        const std::uint32_t Normal = Skin.Picture("combo.bmp").ColourOf("button.normal");
        EXPECT_EQ(PixelOf(C, (R.Left + R.Right) / 2, R.Top + 1) == Normal, Element != nullptr)
            << (Element ? Element : "none");
    }
}

TEST_F(TFaceTest, PicturesThatDoNotExistPaintNothingOfThemselves) {
    testskin::TTestSkin Skin = testskin::MinimalLoadableSkin();
    Skin.AddControl("combobox", "combobox",
                    {"pictureindex=99", "skinrect=0,0,60,20", "buttonrect=44,2,58,18"});
    Skin.AddControl(
        "listbox", "listbox",
        {"pictureindex=99", "skinrect=0,0,30,30", "clientrect=3,3,27,27", "itemrect=0,0,30,16"});
    Skin.AddControl("button", "combobutton", {"pictureindex=99", "skinrect=0,0,12,12"});
    TbsSkinData* SD = LoadSkin(Skin);
    TbsSkinComboBox* C = MakeCombo();
    C->SetUseSkinSize(false);
    C->SetSkinData(SD);
    auto* L = new TbsSkinListBox(Form);
    L->SetParent(Form);
    L->SetBounds(20, 60, 120, 100);
    L->Items()->Add("x");
    L->SetSkinData(SD);
    // Without a picture the plain look stands in.
    EXPECT_EQ(C->FIndex, -1);
    EXPECT_EQ(L->FIndex, -1);
    EXPECT_EQ(PixelOf(C, 0, 0), Rgb(clBtnShadow));
    C->DropDown();
    Pump();
    C->CloseUp(false);
}

// Skinned at the skin's size, the item area comes from the element's focused
// or hot row picture (hot only with a hot face picture), else its row
// picture; a disabled combo's button from its disabled button picture.
TEST_F(TFaceTest, SkinnedItemAreaAndButtonFollowFocusHoverAndEnabled) {
    testskin::TTestSkin Skin = testskin::MinimalLoadableSkin();
    testskin::TTestPicture& P = Skin.AddPicture("states.bmp", 128, 64, 24);
    P.AddRegion("face", {0, 0, 60, 20});
    P.AddRegion("item", {0, 24, 30, 38});
    P.AddRegion("activeitem", {30, 24, 60, 38});
    P.AddRegion("focusitem", {60, 24, 90, 38});
    P.AddRegion("activeface", {0, 40, 60, 60});
    P.AddRegion("button.disabled", {64, 0, 78, 16});
    P.AddRegion("button.active", {80, 0, 94, 16});
    P.AddRegion("button.down", {96, 0, 110, 16});
    Skin.AddControl("combobox", "combobox",
                    {"pictureindex=1", "skinrect=0,0,60,20", "lefttoppoint=10,0",
                     "righttoppoint=40,0", "clientrect=3,3,40,17", "buttonrect=44,2,58,18",
                     "itemrect=0,24,30,38", "activeitemrect=30,24,60,38",
                     "focusitemrect=60,24,90,38", "activeskinrect=0,40,60,60",
                     "activebuttonrect=80,0,94,16", "downbuttonrect=96,0,110,16",
                     "unenabledbuttonrect=64,0,78,16"});
    TbsSkinData* SD = LoadSkin(Skin);
    auto* C = new TbsSkinComboBox(Form);
    C->SetParent(Form);
    C->SetBounds(20, 20, 120, 20);
    C->SetSkinData(SD);
    Pump();
    ASSERT_TRUE(C->UseSkinSize());
    const TRect I = C->CBItem.R;
    const TPoint Item{I.Right - 3, (I.Top + I.Bottom) / 2};
    EXPECT_EQ(PixelOf(C, Item.X, Item.Y), P.ColourOf("item"));
    MoveTo(C, Item.X, Item.Y);
    EXPECT_EQ(PixelOf(C, Item.X, Item.Y), P.ColourOf("activeitem"));
    MoveTo(Form, 400, 300);
    Focus(C);
    EXPECT_EQ(PixelOf(C, Item.X, Item.Y), P.ColourOf("focusitem"));
    Focus(Form);
    const TRect B = C->Button.R;
    EXPECT_NE(PixelOf(C, (B.Left + B.Right) / 2, B.Top + 2), P.ColourOf("button.disabled"));
    C->SetEnabled(false);
    EXPECT_EQ(PixelOf(C, (B.Left + B.Right) / 2, B.Top + 2), P.ColourOf("button.disabled"));
}

// The skinned tool face draws the "resizetoolbutton" element's normal, hot
// and pressed pictures, and while open the text moves 2 pixels right and down.
TEST_F(TFaceTest, SkinnedToolFaceIdleHotAndOpenWithTheTextShifted) {
    const testskin::TTestSkin Skin = testskin::StandardTestSkin();
    TbsSkinData* SD = LoadSkin(Skin);
    auto* O = new TbsSkinOfficeComboBox(Form);
    O->SetParent(Form);
    O->SetToolButtonStyle(true);
    O->SetBounds(200, 20, 119, 51);
    O->Items()->Add()->SetCaption("WWW");
    O->SetItemIndex(0);
    O->SetSkinData(SD);
    Pump();
    const auto& P = Skin.Picture("controls.bmp");
    // The top-left corner of the text's ink over the face colour.
    const auto InkCorner = [&](std::uint32_t Face) {
        TPoint Corner{1000, 1000};
        for (int Y = 2; Y < 49; ++Y)
            for (int X = 2; X < 119 - 17; ++X)
                if (PixelOf(O, X, Y) != Face) {
                    Corner.X = std::min(Corner.X, X);
                    Corner.Y = std::min(Corner.Y, Y);
                }
        return Corner;
    };
    const std::uint32_t Normal = P.ColourOf("resizetoolbutton.normal");
    EXPECT_EQ(PixelOf(O, 3, 45), Normal);
    MoveTo(O, 50, 25);
    const std::uint32_t Hot = P.ColourOf("resizetoolbutton.active");
    EXPECT_EQ(PixelOf(O, 3, 45), Hot);
    const TPoint Idle = InkCorner(Hot);
    ASSERT_LT(Idle.X, 1000);
    O->DropDown();
    const std::uint32_t Down = P.ColourOf("resizetoolbutton.down");
    EXPECT_EQ(PixelOf(O, 3, 45), Down);
    EXPECT_EQ(InkCorner(Down), (TPoint{Idle.X + 2, Idle.Y + 2}));
    O->CloseUp(false);
}

} // namespace
