// The inner edit's context menu shown by the real skinned popup menus of a
// form with a skinned form component: the words of the form's skin, what a
// chosen entry does between the chain's messages, and how long each menu
// lives (run under the address sanitizer as well: the menu is freed from
// inside the chain's handling of the chosen entry).
#include "platform/win/MessageRecorder.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/forms/bsSkinMenus.h"
#include "skin/model/bsMessages.h"
#include "skin/model/bsSkinData.ResStr.h"
#include "tests/skin/forms/SkinFormFixture.h"

namespace skinform {
namespace {

class EditMenusTest : public SkinFormFixture {
protected:
    // A skinned form holding a focused edit with "abc", "b" selected.
    TbsCustomEdit* ShownEdit() {
        Form = MakeForm(400, 300, bsSizeable, LoadSkin(testskin::StandardTestSkin()));
        auto* E = new TbsCustomEdit(Form);
        E->SetParent(Form);
        E->SetBounds(10, 10, 120, 22);
        E->SetText("abc");
        E->SetFocus();
        E->SetSelStart(1);
        E->SetSelLength(1);
        Pump();
        return E;
    }
    void Pump() { Application->ProcessMessages(); }
    void RightClick(TbsCustomEdit* E) {
        const TPoint P = E->ClientToScreen({20, 8});
        SendMessage(E->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(E->Handle()),
                    MAKELPARAM(P.X, P.Y));
        Pump();
    }
    TbsSkinMenu* Chain() { return Component(Form)->SkinMenu; }
    std::vector<std::string> Captions(TPopupMenu* M) {
        std::vector<std::string> Out;
        for (int I = 0; I < M->Items()->Count(); ++I)
            Out.push_back(M->Items()->Items(I)->Caption());
        return Out;
    }
    void ClickItem(int Index) {
        TbsSkinPopupWindow* W = Chain()->PopupWindow(0);
        const TRect& R = W->Item(Index)->ObjectRect;
        Headless.MovePointer(W->Left() + (R.Left + R.Right) / 2, W->Top() + (R.Top + R.Bottom) / 2);
        Pump();
        Headless.Press(0);
        Pump();
        Headless.Release(0);
        Pump();
    }

    TForm* Form = nullptr;
};

TEST_F(EditMenusTest, AChosenEntryRunsBetweenTheChainsMessagesAndTheMenuGoesAfterward) {
    TbsCustomEdit* E = ShownEdit();
    Headless.SetClipboardText("");
    RightClick(E);
    auto* Menu = dynamic_cast<TbsSkinPopupMenu*>(E->SysPopupMenu());
    ASSERT_NE(Menu, nullptr);
    ASSERT_TRUE(Chain()->Visible());
    EXPECT_EQ(Captions(Menu), (std::vector<std::string>{"Undo", "-", "Cut", "Copy", "Paste",
                                                        "Delete", "-", "Select All"}));
    EXPECT_EQ(E->ComponentCount(), 1);

    TMessageRecorder Recorder;
    ClickItem(3);
    EXPECT_EQ(Recorder.Compare({Expect(E->Handle(), WM_CLOSESKINMENU), Expect(E->Handle(), WM_COPY),
                                Expect(E->Handle(), WM_AFTERSKINMENUCOMMAND)}),
              "");
    EXPECT_EQ(Headless.Clipboard(), "b");
    EXPECT_FALSE(Chain()->Visible());
    EXPECT_EQ(E->SysPopupMenu(), nullptr);
    EXPECT_EQ(E->ComponentCount(), 0) << "freed when the chain says the command is over";
    Pump();
    Headless.RunUntil(Clock.Now() + 200);
    EXPECT_EQ(E->Text(), "abc");

    // Select All chosen from the keyboard.
    RightClick(E);
    ASSERT_TRUE(Chain()->Visible());
    TbsSkinPopupWindow* W = Chain()->PopupWindow(0);
    for (int I = 0; I < 8 && W->ActiveItem != 7; ++I)
        W->PopupKeyDown(VK_DOWN);
    ASSERT_EQ(W->ActiveItem, 7);
    W->PopupKeyDown(VK_RETURN);
    Pump();
    Headless.RunUntil(Clock.Now() + 200);
    EXPECT_EQ(E->SelLength(), 3);
    EXPECT_EQ(E->ComponentCount(), 0);
}

TEST_F(EditMenusTest, ADismissedMenuLivesUntilTheNextOneAndTheEditFreesTheLast) {
    TbsCustomEdit* E = ShownEdit();
    RightClick(E);
    TPopupMenu* First = E->SysPopupMenu();
    ASSERT_TRUE(Chain()->Visible());
    Chain()->PopupWindow(0)->PopupKeyDown(VK_ESCAPE);
    Pump();
    Headless.RunUntil(Clock.Now() + 200);
    EXPECT_FALSE(Chain()->Visible());
    EXPECT_EQ(E->SysPopupMenu(), First);
    EXPECT_EQ(E->ComponentCount(), 1);

    RightClick(E);
    ASSERT_TRUE(Chain()->Visible());
    EXPECT_EQ(E->ComponentCount(), 1) << "the first menu went when the second was built";
    Chain()->Hide();
    Pump();

    // An edit destroyed while its menu is open takes the menu with it; the
    // chain is left with nothing of it to touch.
    RightClick(E);
    ASSERT_TRUE(Chain()->Visible());
    delete E;
    Pump();
    Headless.RunUntil(Clock.Now() + 200);
    Chain()->Hide();
    Pump();
    Headless.RunUntil(Clock.Now() + 200);
}

// The visible top-level windows.
int VisibleTopLevels() {
    int N = 0;
    for (HWND W = GetTopWindow(nullptr); W; W = GetWindow(W, GW_HWNDNEXT))
        N += IsWindowVisible(W) ? 1 : 0;
    return N;
}

TEST_F(EditMenusTest, NothingOpensOnAFormWithoutASkinnedFormComponent) {
    TbsCustomEdit* Skinned = ShownEdit();
    const int Closed = VisibleTopLevels();
    RightClick(Skinned);
    EXPECT_EQ(VisibleTopLevels(), Closed + 1) << "the menu's window on the skinned form";
    Chain()->Hide();
    Pump();
    auto* Plain = new TForm(nullptr);
    Plain->SetBounds(600, 100, 300, 200);
    Plain->Show();
    auto* E = new TbsCustomEdit(Plain);
    E->SetParent(Plain);
    E->SetBounds(10, 10, 120, 22);
    E->SetText("abc");
    E->SetFocus();
    Pump();
    const int Before = VisibleTopLevels();
    RightClick(E);
    EXPECT_EQ(VisibleTopLevels(), Before);
    EXPECT_FALSE(Chain()->Visible());
    delete Plain;
}

TEST_F(EditMenusTest, WordsComeFromTheTableOfTheFormsSkin) {
    TbsCustomEdit* E = ShownEdit();
    auto* Words = new TbsResourceStrData(Form);
    TStringList L;
    for (const char* Line : {"EDIT_UNDO=Annuler", "EDIT_CUT=Couper", "EDIT_COPY=Copier",
                             "EDIT_PASTE=Coller", "EDIT_DELETE=Supprimer", "EDIT_SELECTALL=Tout"})
        L.Add(Line);
    Words->SetResStrings(&L);
    Component(Form)->SkinData()->SetResourceStrData(Words);
    RightClick(E);
    ASSERT_NE(E->SysPopupMenu(), nullptr);
    EXPECT_EQ(Captions(E->SysPopupMenu()),
              (std::vector<std::string>{"Annuler", "-", "Couper", "Copier", "Coller", "Supprimer",
                                        "-", "Tout"}));
    Chain()->Hide();
    Pump();
    Component(Form)->SkinData()->SetResourceStrData(nullptr);
}

TEST_F(EditMenusTest, TextCommittedWhileTheMenuIsOpenGoesNowhere) {
    TbsCustomEdit* E = ShownEdit();
    RightClick(E);
    ASSERT_TRUE(Chain()->Visible());
    Headless.CommitText("\u4e2d\u6587");
    Pump();
    EXPECT_EQ(E->Text(), "abc");
    EXPECT_EQ(E->SelText(), "b");
    EXPECT_TRUE(Chain()->Visible());

    // Once the menu is gone the same input reaches the edit again.
    Headless.KeyDown(VK_ESCAPE);
    Headless.KeyUp(VK_ESCAPE);
    Pump();
    ASSERT_FALSE(Chain()->Visible());
    Headless.CommitText("x");
    Pump();
    EXPECT_EQ(E->Text(), "axc");
}

TEST_F(EditMenusTest, AMenuWithoutItemsDoesNotTakeTheKeyboard) {
    TbsCustomEdit* E = ShownEdit();
    auto* Empty = new TbsSkinPopupMenu(Form);
    int Popups = 0;
    Empty->OnPopup = [&](TObject*) { ++Popups; };
    for (int Round = 0; Round < 2; ++Round) {
        Empty->Popup(100, 100);
        Pump();
        EXPECT_FALSE(Chain()->Visible());
        EXPECT_FALSE(Component(Form)->InMenu);
        Headless.TypeText("x");
        Pump();
    }
    EXPECT_EQ(Popups, 2);
    EXPECT_EQ(E->Text(), "axxc") << "both keys reached the edit";

    // A menu that gets its items while it pops up opens as usual.
    Empty->OnPopup = [&](TObject*) {
        if (Empty->Items()->Count() == 0) {
            auto* Item = new TMenuItem(Empty);
            Item->SetCaption("Item");
            Empty->Items()->Add(Item);
        }
    };
    Empty->Popup(100, 100);
    Pump();
    EXPECT_TRUE(Chain()->Visible());
    EXPECT_TRUE(Component(Form)->InMenu);
    Chain()->Hide();
    Pump();
    EXPECT_FALSE(Component(Form)->InMenu);
}

} // namespace
} // namespace skinform
