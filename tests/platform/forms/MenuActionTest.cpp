// Menu items, shortcut texts and actions.
#include "platform/forms/ActnList.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"
#include "tests/platform/forms/FormsTestSupport.h"

class MenuActionTest : public TFormsTest {};

TEST_F(MenuActionTest, ShortcutTextsRoundTrip) {
    struct TRow {
        TShortCut Key;
        const char* Text;
    };
    const TRow Rows[] = {
        {ShortCut(VK_F4, {ssCtrl}), "Ctrl+F4"},
        {ShortCut(VK_F4, {ssAlt}), "Alt+F4"},
        {ShortCut(VK_F1, {}), "F1"},
        {ShortCut('O', {ssCtrl, ssShift}), "Shift+Ctrl+O"},
        {ShortCut(VK_DELETE, {}), "Del"},
        {ShortCut(VK_NEXT, {ssAlt}), "Alt+PgDn"},
        {ShortCut('7', {}), "7"},
        {ShortCut(VK_F1 + 23, {}), "F24"},
    };
    for (const TRow& Row : Rows) {
        EXPECT_EQ(ShortCutToText(Row.Key), Row.Text);
        EXPECT_EQ(TextToShortCut(Row.Text), Row.Key) << Row.Text;
    }
    EXPECT_EQ(TextToShortCut("alt+f4"), ShortCut(VK_F4, {ssAlt}));
    EXPECT_EQ(TextToShortCut("Hyper+Q"), 0);
    EXPECT_EQ(TextToShortCut(""), 0);
    unsigned short Key = 0;
    TShiftState Shift;
    ShortCutToKey(ShortCut(VK_F4, {ssAlt}), Key, Shift);
    EXPECT_EQ(Key, VK_F4);
    EXPECT_EQ(Shift, TShiftState{ssAlt});
}

TEST_F(MenuActionTest, RethinkLinesKeepsOnlySeparatorsBetweenItems) {
    TPopupMenu Menu(nullptr);
    TMenuItem* Root = Menu.Items();
    for (const char* Caption : {"-", "A", "-", "-", "B", "-"})
        Root->Add(NewItem(nullptr, Caption, 0, false, true, nullptr, ""));
    Root->RethinkLines();
    std::vector<bool> Hidden;
    for (int I = 0; I < Root->Count(); ++I)
        Hidden.push_back(Root->LineHidden(I));
    EXPECT_EQ(Hidden, (std::vector<bool>{true, false, false, true, false, true}));
    Menu.SetAutoLineReduction(maManual);
    EXPECT_FALSE(Root->LineHidden(0));
}

TEST_F(MenuActionTest, RadioItemsOfAGroupExcludeEachOther) {
    TMainMenu Menu(nullptr);
    TMenuItem* Root = Menu.Items();
    std::vector<TMenuItem*> Items;
    for (int I = 0; I < 4; ++I) {
        auto* Item = NewItem(nullptr, "R" + std::to_string(I), 0, false, true, nullptr, "");
        Item->SetRadioItem(true);
        Item->SetGroupIndex(I < 3 ? 1 : 2);
        Root->Add(Item);
        Items.push_back(Item);
    }
    Items[0]->SetChecked(true);
    Items[3]->SetChecked(true);
    Items[1]->SetChecked(true);
    EXPECT_FALSE(Items[0]->Checked());
    EXPECT_TRUE(Items[1]->Checked());
    EXPECT_TRUE(Items[3]->Checked());
}

TEST_F(MenuActionTest, TheTreeFindsItemsByCommandCaptionAndShortcut) {
    TMainMenu Menu(nullptr);
    auto* File = NewItem(nullptr, "&File", 0, false, true, nullptr, "File");
    Menu.Items()->Add(File);
    int Clicks = 0;
    auto* Save = NewItem(
        nullptr, "&Save", ShortCut('S', {ssCtrl}), false, true, [&](TObject*) { ++Clicks; },
        "Save");
    File->Add(Save);
    EXPECT_EQ(Menu.Items()->Find("file"), File);
    EXPECT_EQ(File->Find("Save"), Save);
    EXPECT_EQ(Save->GetParentMenu(), &Menu);
    EXPECT_EQ(Menu.FindItem(Save->Command(), fkCommand), Save);
    EXPECT_NE(File->Command(), Save->Command());
    EXPECT_TRUE(Menu.DispatchCommand(Save->Command()));
    EXPECT_EQ(Clicks, 1);
    EXPECT_FALSE(Menu.DispatchCommand(0xFFFFFF));
    // A shortcut under a hidden parent does not count.
    File->SetVisible(false);
    TWMKey Key{WM_KEYDOWN, 'S', 0, 0};
    EXPECT_FALSE(Menu.IsShortCut(Key));
    // Deleting an item frees its sub-items with it.
    Menu.Items()->Delete(0);
    EXPECT_EQ(Menu.Items()->Count(), 0);
}

TEST_F(MenuActionTest, AnActionKeepsItsClientsInStep) {
    TForm* Form = MakeForm();
    auto* List = new TActionList(Form);
    auto* Action = new TAction(Form);
    Action->SetActionList(List);
    Action->SetCaption("&Convert");
    int Runs = 0;
    Action->OnExecute = [&](TObject*) { ++Runs; };
    auto* Button = new TButton(Form);
    Button->SetParent(Form);
    Button->SetAction(Action);
    auto* Item = new TMenuItem(Form);
    Item->SetAction(Action);
    EXPECT_EQ(Button->Caption(), "&Convert");
    EXPECT_EQ(Item->Caption(), "&Convert");

    Action->SetEnabled(false);
    Action->SetHint("Convert the list");
    EXPECT_FALSE(Button->Enabled());
    EXPECT_FALSE(Item->Enabled());
    EXPECT_EQ(Button->Hint(), "Convert the list");
    Action->SetEnabled(true);
    Button->Click();
    Item->Click();
    EXPECT_EQ(Runs, 2);
    EXPECT_EQ(Action->ActionComponent(), nullptr);

    // A client changed on its own stops following that property.
    Button->SetCaption("Go");
    Action->SetCaption("&Run");
    EXPECT_EQ(Button->Caption(), "Go");
    EXPECT_EQ(Item->Caption(), "&Run");

    // Checking an action of a group unchecks the others of its list.
    auto* Other = new TAction(Form);
    Other->SetActionList(List);
    Action->SetGroupIndex(3);
    Other->SetGroupIndex(3);
    Action->SetChecked(true);
    Other->SetChecked(true);
    EXPECT_FALSE(Action->Checked());
    EXPECT_FALSE(Item->Checked());

    // The action freed: the clients forget it.
    delete Action;
    EXPECT_EQ(Button->Action(), nullptr);
    EXPECT_EQ(Item->Action(), nullptr);
    EXPECT_EQ(List->ActionCount(), 1);
}

// ---------------------------------------------------------------- the plain popup menu

#include "platform/forms/PopupMenus.h"

class PopupMenuTest : public TFormsTest {
protected:
    void SetUp() override {
        TFormsTest::SetUp();
        Form = MakeForm();
        Form->Show();
        Pump();
    }
    void Key(int VK) {
        Headless.KeyDown(VK);
        Headless.KeyUp(VK);
    }
    TForm* Form = nullptr;
};

TEST_F(PopupMenuTest, KeysWalkTheEnabledItemsAndEnterClicks) {
    TPopupMenu Menu(nullptr);
    std::vector<std::string> Clicked;
    auto Add = [&](TMenuItem* Parent, const std::string& Caption, bool Enabled = true) {
        auto* Item = NewItem(
            nullptr, Caption, 0, false, Enabled,
            [&, Caption](TObject*) { Clicked.push_back(Caption); }, "");
        Parent->Add(Item);
        return Item;
    };
    Add(Menu.Items(), "First");
    Add(Menu.Items(), "-");
    Add(Menu.Items(), "Disabled", false);
    Add(Menu.Items(), "Second");
    TMenuItem* R1 = Add(Menu.Items(), "R1");
    TMenuItem* R2 = Add(Menu.Items(), "R2");
    for (TMenuItem* R : {R1, R2}) {
        R->SetRadioItem(true);
        R->SetGroupIndex(1);
        R->SetAutoCheck(true);
    }
    TMenuItem* Sub = Add(Menu.Items(), "Sub");
    Add(Sub, "Inner");
    bool PoppedUp = false;
    Menu.OnPopup = [&](TObject*) { PoppedUp = true; };

    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_RETURN);
    Menu.Popup(300, 300);
    EXPECT_TRUE(PoppedUp);
    EXPECT_EQ(Clicked, std::vector<std::string>{"Second"});

    // Into the submenu with Right, out with Left, then the radio items.
    Key(VK_UP);
    Key(VK_RIGHT);
    Key(VK_RETURN);
    Menu.Popup(300, 300);
    EXPECT_EQ(Clicked.back(), "Inner");
    Key(VK_UP);
    Key(VK_UP);
    Key(VK_RETURN);
    Menu.Popup(300, 300);
    EXPECT_TRUE(R2->Checked());
    Key(VK_UP);
    Key(VK_UP);
    Key(VK_UP);
    Key(VK_RETURN);
    Menu.Popup(300, 300);
    EXPECT_TRUE(R1->Checked());
    EXPECT_FALSE(R2->Checked());
}

TEST_F(PopupMenuTest, TrackPopupMenuAnswersTheChoiceOrNothing) {
    HMENU Menu = CreatePopupMenu();
    AppendMenu(Menu, MF_STRING, 101, "&Open");
    AppendMenu(Menu, MF_SEPARATOR, 0, nullptr);
    AppendMenu(Menu, MF_STRING | MF_GRAYED, 102, "Gone");
    AppendMenu(Menu, MF_STRING, 103, "&Properties\tAlt+Enter");
    ASSERT_EQ(GetMenuItemCount(Menu), 4);
    EXPECT_EQ(GetMenuItemID(Menu, 3), 103u);
    int Commands = 0;
    std::vector<UINT> Inits;
    TWndMethod Old = Form->WindowProc;
    Form->WindowProc = [&](TMessage& M) {
        if (M.Msg == WM_COMMAND)
            ++Commands;
        if (M.Msg == WM_INITMENUPOPUP)
            Inits.push_back(UINT(M.WParam == WPARAM(Menu)));
        Old(M);
    };
    const UINT Flags = TPM_RETURNCMD | TPM_RIGHTBUTTON;
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_EQ(TrackPopupMenu(Menu, Flags, 400, 300, 0, Form->Handle(), nullptr), 103);
    Key(VK_ESCAPE);
    EXPECT_EQ(TrackPopupMenu(Menu, Flags, 400, 300, 0, Form->Handle(), nullptr), 0);
    Headless.Click(1500, 900);
    EXPECT_EQ(TrackPopupMenu(Menu, Flags, 400, 300, 0, Form->Handle(), nullptr), 0);
    // A letter chooses by accelerator; a click on an item chooses it.
    Headless.KeyDown('O', "o");
    Headless.KeyUp('O');
    EXPECT_EQ(TrackPopupMenu(Menu, Flags, 400, 300, 0, Form->Handle(), nullptr), 101);
    Headless.Click(430, 312);
    EXPECT_EQ(TrackPopupMenu(Menu, Flags, 400, 300, 0, Form->Handle(), nullptr), 101);
    Pump();
    EXPECT_EQ(Commands, 0);
    EXPECT_EQ(Inits, std::vector<UINT>(5, 1u));

    // Without TPM_RETURNCMD the choice is posted to the owner.
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_EQ(TrackPopupMenu(Menu, 0, 400, 300, 0, Form->Handle(), nullptr), TRUE);
    Pump();
    EXPECT_EQ(Commands, 1);
    Form->WindowProc = Old;
    EXPECT_TRUE(DestroyMenu(Menu));
    EXPECT_EQ(GetMenuItemCount(Menu), -1);
}

TEST_F(PopupMenuTest, ASubmenuOpensWhenThePointerRestsOnItsItem) {
    HMENU Sub = CreatePopupMenu();
    AppendMenu(Sub, MF_STRING, 201, "Inner");
    HMENU Menu = CreatePopupMenu();
    AppendMenu(Menu, MF_STRING, 101, "First");
    AppendMenu(Menu, MF_POPUP, UINT_PTR(Sub), "More");
    // When the submenu opens, its first item is chosen with the keys.
    TWndMethod Old = Form->WindowProc;
    std::uint32_t OpenedAt = 0, MovedAt = 0;
    Form->WindowProc = [&](TMessage& M) {
        if (M.Msg == WM_INITMENUPOPUP && HMENU(M.WParam) == Sub) {
            OpenedAt = Clock.Now();
            Key(VK_DOWN);
            Key(VK_RETURN);
        }
        Old(M);
    };
    // Over the second item (20 pixels per item, below a 1-pixel border and
    // a 2-pixel margin).
    Headless.MovePointer(430, 300 + 3 + 20 + 10);
    MovedAt = Clock.Now();
    UINT Chosen = TrackPopupMenu(Menu, TPM_RETURNCMD, 400, 300, 0, Form->Handle(), nullptr);
    Form->WindowProc = Old;
    EXPECT_EQ(Chosen, 201u);
    EXPECT_GE(OpenedAt - MovedAt, 400u);
    DestroyMenu(Menu);
    // The submenu went with its menu.
    EXPECT_EQ(GetMenuItemCount(Sub), -1);
}

TEST_F(PopupMenuTest, AMenuNearTheScreensCornerFlipsToStayInTheWorkArea) {
    HMENU Menu = CreatePopupMenu();
    AppendMenu(Menu, MF_STRING, 1, "One");
    AppendMenu(Menu, MF_STRING, 2, "Two");
    TRect Seen;
    // Looked at while the menu runs: a timer of the owner fires in its loop.
    TWndMethod Old = Form->WindowProc;
    Form->WindowProc = [&](TMessage& M) {
        if (M.Msg == WM_TIMER && M.WParam == 7) {
            KillTimer(Form->Handle(), 7);
            EnumThreadWindows(
                GetCurrentThreadId(),
                [&](HWND Wnd, LPARAM) {
                    char Class[32];
                    GetClassName(Wnd, Class, sizeof(Class));
                    if (std::string(Class) == "#MenuPopup" && IsWindowVisible(Wnd))
                        GetWindowRect(Wnd, &Seen);
                    return TRUE;
                },
                0);
            Key(VK_ESCAPE);
            return;
        }
        Old(M);
    };
    SetTimer(Form->Handle(), 7, 10, nullptr);
    EXPECT_EQ(TrackPopupMenu(Menu, TPM_RETURNCMD, 1910, 1030, 0, Form->Handle(), nullptr), 0);
    Form->WindowProc = Old;
    DestroyMenu(Menu);
    ASSERT_GT(Seen.Width(), 0);
    // Work area 1920 x 1040: the menu opens to the left of and above the point.
    EXPECT_EQ(Seen.Right, 1910);
    EXPECT_EQ(Seen.Bottom, 1030);
}

TEST_F(PopupMenuTest, ThePlainMenuShowsItemPicturesFromTheMenusImageList) {
    TImageList Images(nullptr);
    TBitmap Picture;
    Picture.SetSize(16, 16);
    Picture.Canvas()->Brush()->SetColor(clRed);
    Picture.Canvas()->FillRect(Rect(0, 0, 16, 16));
    Images.Add(&Picture, nullptr);
    TPopupMenu Menu(nullptr);
    Menu.SetImages(&Images);
    auto* Item = NewItem(nullptr, "Red", 0, false, true, nullptr, "");
    Item->SetImageIndex(0);
    Menu.Items()->Add(Item);
    std::uint32_t Pixel = 0;
    TWndMethod Old = Form->WindowProc;
    Form->WindowProc = [&](TMessage& M) {
        if (M.Msg == WM_TIMER && M.WParam == 7) {
            KillTimer(Form->Handle(), 7);
            FlushPresents();
            // The picture sits in the first column of the first item.
            Pixel = Headless.ScreenPixel(300 + 1 + 2 + 2 + 8, 300 + 1 + 2 + 10);

            Key(VK_ESCAPE);
            return;
        }
        Old(M);
    };
    SetTimer(Form->Handle(), 7, 10, nullptr);
    Menu.Popup(300, 300);
    Form->WindowProc = Old;
    EXPECT_EQ(Pixel, Rgb(clRed));
}

namespace {

// The visible popup-menu window's rectangle, found while the menu runs.
TRect VisibleMenuRect() {
    TRect Seen{0, 0, 0, 0};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [&](HWND Wnd, LPARAM) {
            char Class[32];
            GetClassName(Wnd, Class, sizeof(Class));
            if (std::string(Class) == "#MenuPopup" && IsWindowVisible(Wnd))
                GetWindowRect(Wnd, &Seen);
            return TRUE;
        },
        0);
    return Seen;
}

} // namespace

TEST_F(PopupMenuTest, ThePlainMenuDrawsMarksSeparatorsAndSubmenuArrows) {
    HMENU Sub = CreatePopupMenu();
    AppendMenu(Sub, MF_STRING, 201, "Inner");
    HMENU Menu = CreatePopupMenu();
    AppendMenu(Menu, MF_STRING | MF_CHECKED, 101, "Checked");
    MENUITEMINFO Radio;
    Radio.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
    Radio.fType = MFT_RADIOCHECK;
    Radio.fState = MFS_CHECKED;
    Radio.wID = 102;
    Radio.dwTypeData = "Radio";
    InsertMenuItem(Menu, 1, TRUE, &Radio);
    AppendMenu(Menu, MF_SEPARATOR, 0, nullptr);
    AppendMenu(Menu, MF_STRING, 103, "Plain");
    AppendMenu(Menu, MF_POPUP, UINT_PTR(Sub), "More");
    // Rows of the items: 20 pixels each, the separator 9, below a 2-pixel
    // margin (window coordinates).
    const int Tops[] = {2, 22, 42, 51, 71};
    const int Heights[] = {20, 20, 9, 20, 20};

    TRect Window;
    std::vector<std::vector<std::uint32_t>> Rows;
    TWndMethod Old = Form->WindowProc;
    Form->WindowProc = [&](TMessage& M) {
        if (M.Msg == WM_TIMER && M.WParam == 7) {
            KillTimer(Form->Handle(), 7);
            FlushPresents();
            Window = VisibleMenuRect();
            for (int Y = Window.Top; Y < Window.Bottom; ++Y) {
                Rows.emplace_back();
                for (int X = Window.Left; X < Window.Right; ++X)
                    Rows.back().push_back(Headless.ScreenPixel(X, Y));
            }
            Key(VK_ESCAPE);
            return;
        }
        Old(M);
    };
    SetTimer(Form->Handle(), 7, 10, nullptr);
    TrackPopupMenu(Menu, TPM_RETURNCMD, 300, 300, 0, Form->Handle(), nullptr);
    Form->WindowProc = Old;
    DestroyMenu(Menu);
    ASSERT_EQ(int(Rows.size()), Window.Height());
    ASSERT_EQ(Window.Height(), 2 + 20 * 4 + 9 + 2);
    const int W = Window.Width();
    // Pixels of a colour in a part of an item's row (window coordinates).
    auto Count = [&](int Item, int Left, int Right, TColor Colour) {
        int N = 0;
        for (int Y = Tops[Item]; Y < Tops[Item] + Heights[Item]; ++Y)
            for (int X = Left; X < Right; ++X)
                N += Rows[std::size_t(Y)][std::size_t(X)] == Rgb(Colour);
        return N;
    };
    // Marks in the check column (22 pixels) of the checked items only; the
    // radio mark is a round dot, fuller than the tick's strokes.
    const int Check = 2 + 22;
    int Tick = Count(0, 2, Check, clMenuText);
    int Dot = Count(1, 2, Check, clMenuText);
    EXPECT_GT(Tick, 8);
    EXPECT_GT(Dot, 8);
    EXPECT_EQ(Count(3, 2, Check, clMenuText), 0);
    EXPECT_EQ(Count(4, 2, Check, clMenuText), 0);
    // The tick's strokes rise to the right; the dot is symmetric.
    auto Centre = [&](int Item) {
        int Sum = 0, N = 0;
        for (int Y = Tops[Item]; Y < Tops[Item] + Heights[Item]; ++Y)
            for (int X = 2; X < Check; ++X)
                if (Rows[std::size_t(Y)][std::size_t(X)] == Rgb(clMenuText))
                    Sum += X, ++N;
        return N ? double(Sum) / N : 0.0;
    };
    EXPECT_NEAR(Centre(1), 2 + 11 - 0.5, 1.0);
    EXPECT_NE(Tick, Dot);
    // The separator: a shadow line over a highlight line across the menu.
    int Mid = Tops[2] + Heights[2] / 2;
    int Shadow = 0, Light = 0;
    for (int X = 4; X < W - 4; ++X) {
        Shadow += Rows[std::size_t(Mid - 1)][std::size_t(X)] == Rgb(clBtnShadow);
        Light += Rows[std::size_t(Mid)][std::size_t(X)] == Rgb(clBtnHighlight);
    }
    EXPECT_EQ(Shadow, W - 8);
    EXPECT_EQ(Light, W - 8);
    EXPECT_EQ(Count(2, 2, W - 2, clMenuText), 0);
    // The arrow in the last column of the submenu's item only.
    const int ArrowLeft = W - 2 - 18;
    EXPECT_GT(Count(4, ArrowLeft, W - 2, clMenuText), 8);
    EXPECT_EQ(Count(3, ArrowLeft, W - 2, clMenuText), 0);
    EXPECT_EQ(Count(0, ArrowLeft, W - 2, clMenuText), 0);
}

TEST_F(PopupMenuTest, OwnerDrawnItemsAreSizedByOnMeasureItem) {
    TPopupMenu Menu(nullptr);
    Menu.SetOwnerDraw(true);
    std::vector<std::pair<std::string, TRect>> Drawn;
    auto Add = [&](const std::string& Caption, int Width, int Height) {
        auto* Item = NewItem(nullptr, Caption, 0, false, true, nullptr, "");
        if (Width > 0)
            Item->OnMeasureItem = [=](TObject*, TCanvas* Canvas, int& W, int& H) {
                EXPECT_NE(Canvas, nullptr);
                // Preset to the plain item's height.
                EXPECT_EQ(H, 20);
                W = Width;
                H = Height;
            };
        Item->OnDrawItem = [&, Caption](TObject*, TCanvas*, TRect R, bool) {
            Drawn.emplace_back(Caption, R);
        };
        Menu.Items()->Add(Item);
    };
    Add("Tall", 250, 40);
    Add("Default", 0, 0);
    Add("Short", 10, 12);
    TRect Window;
    TWndMethod Old = Form->WindowProc;
    Form->WindowProc = [&](TMessage& M) {
        if (M.Msg == WM_TIMER && M.WParam == 7) {
            KillTimer(Form->Handle(), 7);
            Window = VisibleMenuRect();
            Key(VK_ESCAPE);
            return;
        }
        Old(M);
    };
    SetTimer(Form->Handle(), 7, 10, nullptr);
    Menu.Popup(300, 300);
    Form->WindowProc = Old;
    ASSERT_GE(Drawn.size(), 3u);
    Drawn.resize(3);
    EXPECT_EQ(Drawn[0].first, "Tall");
    EXPECT_EQ(Drawn[0].second.Height(), 40);
    EXPECT_EQ(Drawn[1].second.Height(), 20);
    EXPECT_EQ(Drawn[2].second.Height(), 12);
    // The widest item sets the menu's width; the rows follow each other.
    for (const auto& [Caption, R] : Drawn)
        EXPECT_EQ(R.Width(), 250) << Caption;
    EXPECT_EQ(Drawn[1].second.Top, Drawn[0].second.Bottom);
    EXPECT_EQ(Drawn[2].second.Top, Drawn[1].second.Bottom);
    EXPECT_EQ(Window.Height(), 2 + 40 + 20 + 12 + 2);
}
