// The inner edit's context menu: which entries are enabled, their words,
// where it opens, what a chosen entry does and how long the menu lives. The
// skinned menus live above this library, so the menus' registration is
// filled here with a recording stand-in that plays the chain's part.
#include "platform/forms/Menus.h"
#include "skin/model/bsMessages.h"
#include "tests/skin/controls/edits/EditsTestSupport.h"

#include <map>

namespace skinctl {
namespace {

// A popup menu that tells when it goes.
class TTracedMenu : public TPopupMenu {
public:
    TTracedMenu(TComponent* AOwner, int& Alive) : TPopupMenu(AOwner), FAlive(Alive) { ++FAlive; }
    ~TTracedMenu() override { --FAlive; }

private:
    int& FAlive;
};

// An edit's own menu, recording where the class library shows it.
class TOwnMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup(int X, int Y) override { Shown.push_back({X, Y}); }
    std::vector<TPoint> Shown;
};

class EditMenuTest : public TEditsTest {
protected:
    void SetUp() override {
        TEditsTest::SetUp();
        Saved = EditMenus();
        TbsEditMenus& M = EditMenus();
        M.CreatePopupMenu = [this](TComponent* Owner, TCustomForm* F) -> TPopupMenu* {
            MenuForm = F;
            ++Made;
            return new TTracedMenu(Owner, Alive);
        };
        M.Popup = [this](TPopupMenu* Menu, TControl* C, int X, int Y) {
            Opened.push_back({Menu, C, {X, Y}});
        };
        M.FormSkinData = [this](TCustomForm* F) -> TbsSkinData* {
            auto It = FormSkins.find(F);
            return It == FormSkins.end() ? nullptr : It->second;
        };
    }
    void TearDown() override {
        EditMenus() = Saved;
        TEditsTest::TearDown();
    }

    TbsCustomEdit* ShownEdit(const std::string& Text) {
        ShownForm();
        auto* E = new TbsCustomEdit(Form);
        E->SetParent(Form);
        E->SetBounds(10, 10, 120, 22);
        E->SetText(Text);
        E->SetFocus();
        Pump();
        return E;
    }
    void RightClick(TbsCustomEdit* E, int X, int Y) {
        SendMessage(E->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(E->Handle()),
                    MAKELPARAM(X, Y));
    }
    // Captions, and which entries are enabled, in menu order.
    std::vector<std::string> Captions(TbsCustomEdit* E) {
        std::vector<std::string> Out;
        for (int I = 0; I < E->SysPopupMenu()->Items()->Count(); ++I)
            Out.push_back(E->SysPopupMenu()->Items()->Items(I)->Caption());
        return Out;
    }
    std::vector<bool> Enabled(TbsCustomEdit* E) {
        std::vector<bool> Out;
        for (int I : {0, 2, 3, 4, 5, 7})
            Out.push_back(E->SysPopupMenu()->Items()->Items(I)->Enabled());
        return Out;
    }
    // A skin data whose word table holds Lines.
    TbsSkinData* SkinWithWords(std::initializer_list<const char*> Lines) {
        auto* SD = new TbsSkinData(Form);
        auto* Words = new TbsResourceStrData(Form);
        TStringList L;
        for (const char* Line : Lines)
            L.Add(Line);
        Words->SetResStrings(&L);
        SD->SetResourceStrData(Words);
        return SD;
    }

    struct TOpening {
        TPopupMenu* Menu;
        TControl* Control;
        TPoint At;
    };
    TbsEditMenus Saved;
    std::vector<TOpening> Opened;
    std::map<TCustomForm*, TbsSkinData*> FormSkins;
    TCustomForm* MenuForm = nullptr;
    int Alive = 0, Made = 0;
};

TEST_F(EditMenuTest, EntriesAreEnabledByClipboardSelectionReadOnlyAndUndo) {
    enum { None, Middle, All };
    struct {
        const char* Clipboard;
        const char* Text;
        int Selection;
        bool ReadOnly, Typed;
        std::vector<bool> Expect; // Undo, Cut, Copy, Paste, Delete, Select All
    } Rows[] = {
        {"", "", None, false, false, {false, false, false, false, false, false}},
        {"zz", "abc", Middle, false, false, {false, true, true, true, true, true}},
        {"zz", "abc", All, false, false, {false, true, true, true, true, false}},
        {"zz", "abc", Middle, true, false, {false, false, true, false, false, true}},
        {"", "ab", None, false, true, {true, false, false, false, false, true}},
    };
    for (const auto& R : Rows) {
        TbsCustomEdit* E = ShownEdit(R.Text);
        Headless.SetClipboardText(R.Clipboard);
        if (R.Typed) {
            E->SetSelStart(2);
            Type("c");
        }
        E->SetSelStart(R.Selection == Middle ? 1 : 0);
        E->SetSelLength(R.Selection == Middle ? 1 : R.Selection == All ? 3 : 0);
        E->SetReadOnly(R.ReadOnly);
        RightClick(E, 300, 200);
        ASSERT_NE(E->SysPopupMenu(), nullptr);
        EXPECT_EQ(Enabled(E), R.Expect) << R.Clipboard << "|" << R.Text << "|" << R.Selection;
        delete Form;
    }
}

TEST_F(EditMenuTest, WordsComeFromTheSkinnedFormsTableOrAreBuiltIn) {
    const std::vector<std::string> English = {"Undo",  "-",      "Cut", "Copy",
                                              "Paste", "Delete", "-",   "Select All"};
    TbsCustomEdit* E = ShownEdit("abc");
    RightClick(E, 300, 200);
    EXPECT_EQ(Captions(E), English);
    // A skinned form whose skin has no word table.
    FormSkins[Form] = new TbsSkinData(Form);
    RightClick(E, 300, 200);
    EXPECT_EQ(Captions(E), English);
    FormSkins[Form] =
        SkinWithWords({"EDIT_UNDO=Annuler", "EDIT_CUT=Couper", "EDIT_COPY=Copier",
                       "EDIT_PASTE=Coller", "EDIT_DELETE=Supprimer", "EDIT_SELECTALL=Tout"});
    RightClick(E, 300, 200);
    EXPECT_EQ(Captions(E), (std::vector<std::string>{"Annuler", "-", "Couper", "Copier", "Coller",
                                                     "Supprimer", "-", "Tout"}));
    FormSkins[Form] = SkinWithWords({"EDIT_UNDO=Annuler"});
    RightClick(E, 300, 200);
    EXPECT_EQ(Captions(E)[0], "Annuler");
    EXPECT_EQ(Captions(E)[3], "");
    EXPECT_EQ(MenuForm, Form);
}

TEST_F(EditMenuTest, OpensAtThePointOrTheMiddleAndNeverOverAnOwnMenu) {
    TbsCustomEdit* E = ShownEdit("abc");
    const TPoint Origin = E->ClientToScreen({0, 0});
    RightClick(E, 300, 200);
    RightClick(E, -1, -1);
    ASSERT_EQ(Opened.size(), 2u);
    EXPECT_EQ(Opened[0].At, (TPoint{300, 200}));
    EXPECT_EQ(Opened[0].Control, E);
    EXPECT_EQ(Opened[1].At, (TPoint{Origin.X + 60, Origin.Y + 11}));
    EXPECT_EQ(Opened[1].Menu, E->SysPopupMenu());

    // The edit's own menu: the class library shows it, nothing is built.
    auto* Own = new TOwnMenu(Form);
    E->SetPopupMenu(Own);
    const int Before = Made;
    Opened.clear();
    RightClick(E, 300, 200);
    EXPECT_EQ(Own->Shown.size(), 1u);
    EXPECT_TRUE(Opened.empty());
    EXPECT_EQ(Made, Before);

    // Without the skinned menus nothing opens and nothing is held.
    E->SetPopupMenu(nullptr);
    EditMenus() = TbsEditMenus{};
    RightClick(E, 300, 200);
    EXPECT_EQ(E->SysPopupMenu(), nullptr);
    EXPECT_TRUE(Opened.empty());
}

TEST_F(EditMenuTest, AChosenEntryRunsWhileTheMenuLivesWhichGoesAfterward) {
    TbsCustomEdit* E = ShownEdit("abc");
    E->SetSelStart(1);
    E->SetSelLength(1);
    Headless.SetClipboardText("");
    RightClick(E, 300, 200);
    TPopupMenu* Menu = E->SysPopupMenu();
    ASSERT_EQ(Alive, 1);
    // The chain's order: the window closes, the item runs, then the edit is
    // told the command is over.
    SendMessage(E->Handle(), WM_CLOSESKINMENU, 0, 0);
    EXPECT_EQ(E->SysPopupMenu(), Menu);
    Menu->Items()->Items(3)->Click();
    EXPECT_EQ(Headless.Clipboard(), "b");
    SendMessage(E->Handle(), WM_AFTERSKINMENUCOMMAND, 0, 0);
    EXPECT_EQ(E->SysPopupMenu(), nullptr);
    EXPECT_EQ(Alive, 0);

    // Select All and Delete act on the edit through its messages.
    RightClick(E, 300, 200);
    E->SysPopupMenu()->Items()->Items(7)->Click();
    EXPECT_EQ(E->SelLength(), 3);
    E->SysPopupMenu()->Items()->Items(5)->Click();
    EXPECT_EQ(E->Text(), "");
}

TEST_F(EditMenuTest, ADismissedMenuLivesUntilTheNextOneOrTheEdit) {
    TbsCustomEdit* E = ShownEdit("abc");
    RightClick(E, 300, 200);
    SendMessage(E->Handle(), WM_CLOSESKINMENU, 0, 0);
    Pump();
    EXPECT_EQ(Alive, 1);
    RightClick(E, 300, 200);
    EXPECT_EQ(Made, 2);
    EXPECT_EQ(Alive, 1);
    delete E;
    EXPECT_EQ(Alive, 0);
}

} // namespace
} // namespace skinctl
