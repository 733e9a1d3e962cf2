#include "platform/forms/Forms.h"
#include "platform/forms/PopupMenus.h"
#include "platform/shell/ShellApi.h"
#include "platform/shell/Trash.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "tests/platform/shell/ShellTestSupport.h"

#include <fstream>
#include <sstream>

namespace {

std::string ReadAll(const std::string& FileName) {
    std::ifstream In(FileName);
    std::stringstream Text;
    Text << In.rdbuf();
    return Text.str();
}

class ShellVerbsTest : public TShellTest {
protected:
    void SetUp() override {
        TShellTest::SetUp();
        SetBackend(&Headless);
        Trash = Home + "/.local/share/Trash";
    }
    void TearDown() override {
        SetBackend(nullptr);
        TShellTest::TearDown();
    }

    std::shared_ptr<IContextMenu> MenuOf(const std::string& Path) {
        TOwnedList ID = Parse(Path);
        const ITEMIDLIST* IDs[] = {ID.Get()};
        PUnknown Object;
        EXPECT_EQ(Desktop->GetUIObjectOf(nullptr, 1, IDs, IID_IContextMenu, Object), S_OK);
        return std::dynamic_pointer_cast<IContextMenu>(Object);
    }
    HRESULT Invoke(const std::string& Path, const char* Verb) {
        CMINVOKECOMMANDINFO Info;
        Info.lpVerb = Verb;
        return MenuOf(Path)->InvokeCommand(&Info);
    }
    // The verbs of the item's menu in their order, "-" for a separator; the
    // menu's ids lead to the verbs through GetCommandString.
    std::vector<std::string> Verbs(const std::shared_ptr<IContextMenu>& Menu, UINT Flags) {
        HMENU Popup = CreatePopupMenu();
        const HRESULT Used = Menu->QueryContextMenu(Popup, 0, 1, 0x7FFF, Flags);
        std::vector<std::string> Result;
        for (int I = 0; I < GetMenuItemCount(Popup); ++I) {
            MENUITEMINFO Item;
            GetMenuItemInfo(Popup, UINT(I), TRUE, &Item);
            char Verb[256] = {};
            if (Item.fType & MFT_SEPARATOR)
                Result.push_back("-");
            else if (Item.wID < 1 + UINT(Used & 0xFFFF) &&
                     Menu->GetCommandString(Item.wID - 1, GCS_VERBA, nullptr, Verb, sizeof Verb) ==
                         S_OK)
                Result.push_back(Verb);
            else
                Result.push_back("(bad id)");
        }
        DestroyMenu(Popup);
        return Result;
    }

    THeadlessBackend Headless;
    std::string Trash;
};

TEST_F(ShellVerbsTest, MenusOfferWhatTheItemAllows) {
    std::ofstream(Work + "/clip.avi");
    const auto Menu = MenuOf(Work + "/clip.avi");
    EXPECT_EQ(Verbs(Menu, CMF_EXPLORE | CMF_CANRENAME),
              (std::vector<std::string>{"open", "rename", "delete", "-", "properties"}));
    EXPECT_EQ(Verbs(Menu, CMF_EXPLORE),
              (std::vector<std::string>{"open", "delete", "-", "properties"}));
    EXPECT_EQ(Verbs(MenuOf(Home), CMF_CANRENAME),
              (std::vector<std::string>{"open", "-", "properties"}));
    EXPECT_TRUE(Verbs(MenuOf("::{Computer}"), CMF_CANRENAME).empty());
    char Verb[256] = {};
    EXPECT_EQ(Menu->GetCommandString(4, GCS_VERBA, nullptr, Verb, sizeof Verb), E_INVALIDARG);
    EXPECT_EQ(Invoke(Work + "/clip.avi", "rename"), E_FAIL);
}

TEST_F(ShellVerbsTest, OpenHandsTheAbsolutePathToTheOpener) {
    std::ofstream(Work + "/clip.avi");
    EXPECT_EQ(Invoke(Work + "/clip.avi", VerbFromOffset(0)), S_OK);
    TOwnedList ID = Parse(Work);
    SHELLEXECUTEINFO Info;
    Info.fMask = SEE_MASK_INVOKEIDLIST;
    Info.lpIDList = ID.Get();
    EXPECT_TRUE(ShellExecuteEx(&Info));
    EXPECT_EQ(Headless.Opened(), (std::vector<std::string>{Work + "/clip.avi", Work}));
    TOwnedList Computer = Parse("::{Computer}");
    Info.lpIDList = Computer.Get();
    EXPECT_FALSE(ShellExecuteEx(&Info));
}

TEST_F(ShellVerbsTest, DeleteMovesToTheTrashAndNeverLosesAFile) {
    std::ofstream(Work + "/my clip.avi") << "first";
    ForceDirectories(Work + "/folder");
    ASSERT_EQ(Invoke(Work + "/my clip.avi", "delete"), S_OK);
    ASSERT_EQ(Invoke(Work + "/folder", VerbFromOffset(2)), S_OK);
    std::ofstream(Work + "/my clip.avi") << "second";
    ASSERT_EQ(Invoke(Work + "/my clip.avi", "delete"), S_OK);

    EXPECT_FALSE(FileExists(Work + "/my clip.avi"));
    EXPECT_EQ(ReadAll(Trash + "/files/my clip.avi"), "first");
    EXPECT_EQ(ReadAll(Trash + "/files/my clip.avi.2"), "second");
    EXPECT_TRUE(DirectoryExists(Trash + "/files/folder"));
    const std::string Info = ReadAll(Trash + "/info/my clip.avi.trashinfo");
    EXPECT_EQ(Info.rfind("[Trash Info]\nPath=" + TrashPercentEncode(Work) + "/my%20clip.avi\n", 0),
              0u)
        << Info;
    EXPECT_NE(Info.find("DeletionDate="), std::string::npos);
    EXPECT_TRUE(FileExists(Trash + "/info/folder.trashinfo"));

    // Home, mount points and the trash itself are never moved.
    EXPECT_EQ(Invoke(Home, "delete"), E_FAIL);
    EXPECT_FALSE(MoveToTrash(Trash));
    EXPECT_FALSE(MoveToTrash("/"));
    EXPECT_FALSE(MoveToTrash("relative"));
    EXPECT_TRUE(DirectoryExists(Home));
}

TEST_F(ShellVerbsTest, AFailedMoveLeavesTheFileAndNoInfo) {
    ForceDirectories(Trash);
    std::ofstream(Trash + "/files") << "not a folder";
    std::ofstream(Work + "/clip.avi") << "kept";
    EXPECT_EQ(Invoke(Work + "/clip.avi", "delete"), E_FAIL);
    EXPECT_EQ(ReadAll(Work + "/clip.avi"), "kept");
    EXPECT_FALSE(FileExists(Trash + "/info/clip.avi.trashinfo"));
}

TEST_F(ShellVerbsTest, PropertiesShowAModalWindowOfTheItem) {
    std::ofstream(Work + "/clip.avi") << "12345";
    InitApplication();
    std::string Caption;
    Application->OnIdle = [&](TObject*, bool& Done) {
        if (TCustomForm* Form = Screen->ActiveForm()) {
            Caption = Form->Caption();
            Form->SetModalResult(mrOk);
        }
        Done = true;
    };
    EXPECT_EQ(Invoke(Work + "/clip.avi", "properties"), S_OK);
    EXPECT_EQ(Caption, "clip.avi Properties");
    EXPECT_EQ(Invoke("::{Computer}", "properties"), E_INVALIDARG);
    Application->OnIdle = nullptr;
    DoneApplication();
    ResetWindowSystem();
}

} // namespace
