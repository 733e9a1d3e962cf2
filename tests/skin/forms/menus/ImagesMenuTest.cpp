// The images menu: grid layout, keys, choosing and closing with their
// events, placement, the message hook shared with the form's menus, and the
// window freed only after its own handlers returned.
#include "platform/forms/Edits.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/bsSkinImagesMenu.h"
#include "tests/skin/forms/menus/MenusFixture.h"

namespace menus {
namespace {

class ImagesMenuTest : public MenusFixture {
protected:
    void SetUp() override {
        MenusFixture::SetUp();
        Images = new TCustomImageList(Form);
        Images->SetWidth(16);
        Images->SetHeight(16);
        for (int i = 0; i < 8; ++i) {
            TBitmap B;
            B.SetSize(16, 16);
            B.Canvas()->Brush()->SetColor(RGB(20 * i, 200, 40));
            B.Canvas()->FillRect({0, 0, 16, 16});
            Images->AddMasked(&B, clFuchsia);
        }
        Menu = new TbsSkinImagesMenu(Form);
        Menu->SetImages(Images);
        Menu->SetColumnsCount(3);
        for (const char* E : {"OnMenuPopup", "OnMenuClose", "OnItemClick", "OnChange"}) {
            const std::string Name = E;
            TNotifyEvent Ev = [this, Name](TObject*) { Log.push_back(Name); };
            if (Name == "OnMenuPopup")
                Menu->OnMenuPopup = Ev;
            else if (Name == "OnMenuClose")
                Menu->OnMenuClose = Ev;
            else if (Name == "OnItemClick")
                Menu->OnItemClick = Ev;
            else
                Menu->OnChange = Ev;
        }
    }
    TbsImagesMenuItem* AddCell(int Image) {
        TbsImagesMenuItem* I = Menu->ImagesItems()->Add();
        I->SetImageIndex(Image);
        const int N = Menu->ImagesItems()->Count() - 1;
        I->OnClick = [this, N](TObject*) { Log.push_back("click " + std::to_string(N)); };
        return I;
    }
    TRect RectOf(int I) const { return Menu->ImagesItems()->Items(I)->ItemRect; }
    TPoint ScreenCentre(int I) const {
        const TRect R = RectOf(I);
        TbsSkinImagesMenuPopupWindow* W = Menu->PopupWindow();
        return {W->Left() + (R.Left + R.Right) / 2, W->Top() + (R.Top + R.Bottom) / 2};
    }
    void Key(int VK) {
        Headless.KeyDown(VK);
        Headless.KeyUp(VK);
        Pump();
    }

    TCustomImageList* Images = nullptr;
    TbsSkinImagesMenu* Menu = nullptr;
};

TEST_F(ImagesMenuTest, GridRowsAndFullWidthRows) {
    for (int i = 0; i < 7; ++i)
        AddCell(i);
    AddCell(7)->Button = true;
    Menu->ImagesItems()->Add()->Header = true;
    AddCell(0);
    Menu->Popup(100, 100);
    ASSERT_NE(Menu->PopupWindow(), nullptr);
    const int CW = 26, CH = 26;
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(RectOf(i), (TRect{5 + (i % 3) * CW, 5 + (i / 3) * (CH + 1), 5 + (i % 3) * CW + CW,
                                    5 + (i / 3) * (CH + 1) + CH}))
            << i;
    // The open third row is closed by the button row, which spans the grid.
    EXPECT_EQ(RectOf(7), (TRect{5, 5 + 3 * (CH + 1), 5 + 3 * CW, 5 + 3 * (CH + 1) + CH}));
    EXPECT_EQ(RectOf(8).Top, RectOf(7).Bottom + 1);
    EXPECT_EQ(RectOf(9).Top, RectOf(8).Bottom + 1);
    EXPECT_EQ(Menu->PopupWindow()->Width(), 3 * CW + 10);
    EXPECT_EQ(Menu->PopupWindow()->Height(), RectOf(9).Bottom - 5 + 10);
}

TEST_F(ImagesMenuTest, KeysMoveByColumnAndWrap) {
    Menu->ImagesItems()->Add()->Header = true; // item 0
    for (int i = 0; i < 7; ++i)
        AddCell(i);            // items 1..7: rows of 3, 3, 1
    AddCell(7)->Button = true; // item 8
    Menu->Popup(100, 100);
    TbsSkinImagesMenuPopupWindow* W = Menu->PopupWindow();
    struct TStep {
        int Key, Expect;
    };
    const TStep Steps[] = {{VK_DOWN, 1}, {VK_DOWN, 4},  {VK_DOWN, 7},  {VK_DOWN, 8}, {VK_RIGHT, 1},
                           {VK_LEFT, 8}, {VK_UP, 7},    {VK_RIGHT, 8}, {VK_UP, 7},   {VK_LEFT, 6},
                           {VK_UP, 3},   {VK_RIGHT, 4}, {VK_UP, 1},    {VK_UP, 1},   {VK_LEFT, 8}};
    for (const TStep& S : Steps) {
        Key(S.Key);
        EXPECT_EQ(W->MouseInItem, S.Expect) << "key " << S.Key;
    }
    Key(VK_RETURN);
    EXPECT_EQ(Menu->ItemIndex(), 8);
    EXPECT_EQ(Menu->PopupWindow(), nullptr);
}

TEST_F(ImagesMenuTest, ChoosingAndClosingFireTheirEvents) {
    for (int i = 0; i < 4; ++i)
        AddCell(i);
    Menu->SetItemIndex(1);
    // A click outside: closed, no choice.
    Menu->Popup(100, 100);
    ClickAt({900, 900});
    EXPECT_EQ(Menu->PopupWindow(), nullptr);
    EXPECT_EQ(Menu->ItemIndex(), 1);
    EXPECT_EQ(Log, (TLog{"OnMenuPopup", "OnMenuClose"}));
    // A click on an image: the item's click, the menu's, then the change.
    Log.clear();
    Menu->Popup(100, 100);
    ClickAt(ScreenCentre(2));
    Pump();
    EXPECT_EQ(Menu->ItemIndex(), 2);
    EXPECT_EQ(Log, (TLog{"OnMenuPopup", "OnMenuClose", "click 2", "OnItemClick", "OnChange"}));
    // The same image again: no change.
    Log.clear();
    Menu->Popup(100, 100);
    ClickAt(ScreenCentre(2));
    EXPECT_EQ(Log, (TLog{"OnMenuPopup", "OnMenuClose", "click 2", "OnItemClick"}));
}

TEST_F(ImagesMenuTest, OpensAboveAButtonAtTheBottomOfTheScreen) {
    for (int i = 0; i < 6; ++i)
        AddCell(i);
    Menu->PopupFromRect({300, 1000, 380, 1030});
    TbsSkinImagesMenuPopupWindow* W = Menu->PopupWindow();
    ASSERT_NE(W, nullptr);
    EXPECT_EQ(W->Top(), 1000 - W->Height());
    EXPECT_EQ(W->Left(), 300);
    Menu->Hide();
    Menu->PopupFromRect({300, 100, 380, 130});
    EXPECT_EQ(Menu->PopupWindow()->Top(), 130);
}

TEST_F(ImagesMenuTest, ColumnsAndEmptyListsAreSafe) {
    Menu->SetColumnsCount(0);
    EXPECT_EQ(Menu->ColumnsCount(), 3);
    Menu->SetColumnsCount(51);
    EXPECT_EQ(Menu->ColumnsCount(), 3);
    // No items; then items without an image list.
    Menu->Popup(100, 100);
    EXPECT_EQ(Menu->PopupWindow(), nullptr);
    AddCell(0);
    Menu->SetImages(nullptr);
    Menu->Popup(100, 100);
    EXPECT_EQ(Menu->PopupWindow(), nullptr);
    EXPECT_EQ(Log, (TLog{"OnMenuPopup", "OnMenuPopup"}));
}

TEST_F(ImagesMenuTest, HooksOfTheFormsMenusAndTheGridInterleave) {
    for (int i = 0; i < 3; ++i)
        AddCell(i);
    auto* Component = new TbsSkinForm(Form);
    auto* Edit = new TEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 100, 24);
    Edit->SetFocus();
    Pump();
    // Either closing order leaves no hook: keys reach the edit again.
    for (bool SkinMenuFirst : {true, false}) {
        Component->PopupSystemMenuAt(300, 300);
        Menu->Popup(100, 100);
        if (SkinMenuFirst) {
            Component->HideSkinMenu();
            Menu->Hide();
        } else {
            Menu->Hide();
            Component->HideSkinMenu();
        }
        Pump();
        EXPECT_FALSE(Component->InMenu);
    }
    Headless.KeyDown('Y', "y");
    Headless.KeyUp('Y');
    Pump();
    EXPECT_EQ(Edit->Text(), "y");
}

TEST_F(ImagesMenuTest, AChoiceMayOpenTheMenuAgainFromItsOwnHandler) {
    for (int i = 0; i < 3; ++i)
        AddCell(i);
    // The closed window's mouse handler is still running when the next one
    // opens: it is freed later, from a posted message.
    Menu->OnItemClick = [this](TObject*) { Menu->Popup(200, 200); };
    Menu->Popup(100, 100);
    TbsSkinImagesMenuPopupWindow* First = Menu->PopupWindow();
    ClickAt(ScreenCentre(1));
    Pump();
    ASSERT_NE(Menu->PopupWindow(), nullptr);
    EXPECT_NE(Menu->PopupWindow(), First);
    EXPECT_EQ(Menu->PopupWindow()->Left(), 200);
    EXPECT_EQ(Menu->ItemIndex(), 1);
}

TEST_F(ImagesMenuTest, SkinnedLookTakesThePopupPictureAndTheButtonElement) {
    const testskin::TTestSkin Skin = testskin::StandardTestSkin();
    Menu->SetSkinData(LoadSkin(Skin));
    for (int i = 0; i < 4; ++i)
        AddCell(i);
    Menu->SetItemIndex(1);
    Menu->Popup(300, 300);
    TbsSkinImagesMenuPopupWindow* W = Menu->PopupWindow();
    ASSERT_NE(W, nullptr);
    const testskin::TTestPicture& P = Skin.Picture("controls.bmp");
    const auto Painted = [W] {
        auto B = std::make_unique<TBitmap>();
        B->SetSize(W->Width(), W->Height());
        W->PaintTo(B->Canvas());
        return B;
    };
    auto B = Painted();
    // The popup picture's corners at the window's corners.
    EXPECT_EQ(Pixel(B.get(), 0, 0), P.Pixel(0, 0));
    EXPECT_EQ(Pixel(B.get(), W->Width() - 1, W->Height() - 1),
              P.Pixel(P.Width() - 1, P.Height() - 1));
    // The chosen cell drawn pressed (the element's down face); another cell
    // has no frame until the pointer is on it (the active face).
    const TRect Chosen = RectOf(1), Other = RectOf(2);
    const auto At = [](TBitmap* Bmp, const TRect& R) { return Pixel(Bmp, R.Left + 1, R.Top + 1); };
    EXPECT_EQ(At(B.get(), Chosen), P.ColourOf("resizebutton.down"));
    const std::uint32_t Bare = At(B.get(), Other);
    EXPECT_NE(Bare, P.ColourOf("resizebutton.active"));
    EXPECT_NE(Bare, P.ColourOf("resizebutton.down"));
    MoveTo(ScreenCentre(2));
    RunFor(60);
    B = Painted();
    EXPECT_EQ(At(B.get(), Other), P.ColourOf("resizebutton.active"));
    // A press on it takes the pressed look from the chosen cell.
    Headless.Press(0);
    Pump();
    B = Painted();
    EXPECT_EQ(At(B.get(), Other), P.ColourOf("resizebutton.down"));
    EXPECT_EQ(At(B.get(), Chosen), Bare);
    Headless.Release(0);
    Pump();
}

TEST_F(ImagesMenuTest, AMenuButtonShowsTheChosenImageUntilItGoes) {
    AddCell(0)->SetCaption("Zero");
    AddCell(5)->SetCaption("Five");
    auto* Button = new TbsSkinMenuSpeedButton(Form);
    Button->SetParent(Form);
    Button->SetBounds(40, 40, 90, 30);
    Button->SetCaption("Btn");
    Button->SetSkinImagesMenu(Menu);
    Button->SetUseImagesMenuImage(true);
    Button->SetUseImagesMenuCaption(true);
    Pump();
    // Pixels of an image's own colour on the button's face.
    const auto Shown = [&](int Image) {
        const TPoint P = Button->ClientToScreen({0, 0});
        const std::uint32_t Want = Rgb(TColor(RGB(20 * Image, 200, 40)));
        int N = 0;
        for (int Y = 0; Y < Button->Height(); ++Y)
            for (int X = 0; X < Button->Width(); ++X)
                N += Headless.ScreenPixel(P.X + X, P.Y + Y) == Want;
        return N;
    };
    EXPECT_EQ(Shown(5), 0);
    for (int Cell : {1, 0}) {
        SCOPED_TRACE(Cell);
        Button->TrackMenu();
        ASSERT_NE(Menu->PopupWindow(), nullptr);
        ClickAt(ScreenCentre(Cell));
        Pump();
        const int Image = Cell == 1 ? 5 : 0;
        EXPECT_GT(Shown(Image), 100);
        EXPECT_EQ(Shown(Image == 5 ? 0 : 5), 0);
    }
    // A button that goes leaves the grid's events empty.
    delete Button;
    Log.clear();
    Menu->Popup(300, 300);
    ASSERT_NE(Menu->PopupWindow(), nullptr);
    ClickAt(ScreenCentre(1));
    Pump();
    EXPECT_EQ(Log, (TLog{"OnMenuPopup", "OnMenuClose", "click 1", "OnItemClick", "OnChange"}));
}

} // namespace
} // namespace menus
