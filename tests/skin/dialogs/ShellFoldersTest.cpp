#include "platform/core/Exceptions.h"
#include "platform/forms/Forms.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/dialogs/bsShellFolders.h"
#include "tests/skin/dialogs/ShellDialogsTestSupport.h"

#include <unistd.h>

#include <cstring>
#include <memory>

namespace {

// A list of the given items (each a kind and a name) from the allocator.
PItemIDList MakeList(std::initializer_list<std::pair<std::uint8_t, std::string>> Items) {
    std::size_t Size = 2;
    for (const auto& Item : Items)
        Size += 4 + Item.second.size();
    auto* Bytes = static_cast<std::uint8_t*>(ShellAlloc(Size));
    std::size_t Pos = 0;
    for (const auto& [Kind, Name] : Items) {
        Bytes[Pos] = std::uint8_t(4 + Name.size());
        Bytes[Pos + 2] = Kind;
        std::memcpy(Bytes + Pos + 4, Name.data(), Name.size());
        Pos += 4 + Name.size();
    }
    return reinterpret_cast<PItemIDList>(Bytes);
}

TEST(ItemIdLists, OperationsKeepTheLayout) {
    TItemIdListHolder Three(MakeList({{1, ""}, {3, "/"}, {4, "abc"}}));
    EXPECT_EQ(ItemIdCount(Three.get()), 3);
    EXPECT_EQ(ItemIdListSize(Three.get()), 4 + 5 + 7 + 2);
    EXPECT_EQ(ItemIdListSize(nullptr), 0);
    EXPECT_EQ(CopyItemIdList(nullptr), nullptr);

    std::vector<PItemIDList> Prefixes = ItemIdListPrefixes(Three.get());
    ASSERT_EQ(Prefixes.size(), 3u);
    for (int I = 0; I < 3; ++I)
        EXPECT_EQ(ItemIdCount(Prefixes[I]), I);
    EXPECT_EQ(std::memcmp(Prefixes[2], Three.get(), 9), 0);
    FreeItemIdListPrefixes(Prefixes);
    EXPECT_TRUE(Prefixes.empty());
    TItemIdListHolder Empty(MakeList({}));
    EXPECT_TRUE(ItemIdListPrefixes(Empty.get()).empty());

    TItemIdListHolder Copy(JoinItemIdLists(nullptr, Three.get()));
    EXPECT_EQ(std::memcmp(Copy.get(), Three.get(), 18), 0);
    TItemIdListHolder Joined(JoinItemIdLists(Copy.get(), Copy.get()));
    EXPECT_EQ(ItemIdCount(Joined.get()), 6);

    RemoveLastItemId(Empty.get());
    EXPECT_EQ(ItemIdCount(Empty.get()), 0);
    RemoveLastItemId(nullptr);
    RemoveLastItemId(Copy.get());
    EXPECT_EQ(ItemIdCount(Copy.get()), 2);

    TItemIdListHolder Last(LastItemIdOf(Three.get()));
    EXPECT_EQ(ItemIdCount(Last.get()), 1);
    EXPECT_EQ(ItemIdListSize(Last.get()), 7 + 2);
    EXPECT_EQ(std::memcmp(reinterpret_cast<std::uint8_t*>(Last.get()) + 4, "abc", 3), 0);
}

TEST(ItemIdLists, StrRetTextReadsEachFormSafely) {
    TItemIdListHolder Item(MakeList({{4, "clip.avi"}}));
    auto Wide = [](const std::string& Text) {
        STRRET R;
        R.uType = STRRET_WSTR;
        R.pOleStr = Text;
        return R;
    };
    auto Offset = [](UINT Value) {
        STRRET R;
        R.uType = STRRET_OFFSET;
        R.uOffset = Value;
        return R;
    };
    STRRET Fixed;
    std::strcpy(Fixed.cStr, "?2name");
    const std::vector<std::pair<STRRET, std::string>> Cases = {
        {Wide("?1?a"), "1a"}, {Wide("?a"), "?a"}, {Wide("?"), "?"},  {Offset(4), "clip.avi"},
        {Offset(8), ".avi"},  {Offset(12), ""},   {Offset(500), ""}, {Fixed, "2name"},
    };
    for (const auto& [StrRet, Expected] : Cases)
        EXPECT_EQ(StrRetText(Item.get(), StrRet), Expected)
            << StrRet.uType << " " << StrRet.uOffset;
    EXPECT_EQ(StrRetText(nullptr, Offset(4)), "");
}

TEST(ItemIdLists, RootNamesAndFlags) {
    EXPECT_EQ(RootFolderOrdinal("RFMYCOMPUTER"), rfMyComputer);
    EXPECT_EQ(RootFolderOrdinal("rfTemplates"), rfTemplates);
    EXPECT_EQ(RootFolderOrdinal("/tmp"), -1);
    EXPECT_EQ(RootFolderId(rfPrinters), CSIDL_PRINTERS);
    EXPECT_EQ(EnumFlagsOf({otFolders, otHidden}), SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN);
}

using ShellFoldersTest = TShellItemsTest;

// The child of Parent with the display name Name, as the views make it.
std::unique_ptr<TbsShellFolder> ChildOf(TbsShellFolder* Parent, const std::string& Name) {
    std::shared_ptr<IEnumIDList> Enum;
    Parent->ShellFolder()->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, Enum);
    PItemIDList ID = nullptr;
    ULONG Fetched = 0;
    while (Enum && Enum->Next(1, &ID, &Fetched) == S_OK && Fetched == 1) {
        TItemIdListHolder Holder(ID);
        if (ItemDisplayName(Parent->ShellFolder(), ID, SHGDN_INFOLDER) == Name)
            return std::make_unique<TbsShellFolder>(
                Parent, ID, BindShellFolder(Parent->ShellFolder(), ID, nullptr));
    }
    return nullptr;
}

TEST_F(ShellFoldersTest, RootsFromNamesAndPaths) {
    TRoot Root = "RFMYCOMPUTER";
    TbsShellFolder* Folder = CreateRootFolder(nullptr, "", Root);
    EXPECT_EQ(Folder->DisplayName(), "Computer");
    EXPECT_EQ(Folder->PathName(), "Computer");
    EXPECT_EQ(Folder->FullObjectName(), "");
    EXPECT_EQ(Folder->Level(), 0);
    EXPECT_EQ(Folder->Parent(), DesktopFolder());

    Root = "rfDesktop";
    Folder = CreateRootFolder(Folder, "RFMYCOMPUTER", Root);
    EXPECT_EQ(Folder->DisplayName(), "Desktop");
    EXPECT_TRUE(SameItemIdList(Folder->AbsoluteID(), DesktopFolder()->AbsoluteID()));

    Root = Work;
    Folder = CreateRootFolder(Folder, "rfDesktop", Root);
    EXPECT_EQ(Folder->PathName(), Work);
    EXPECT_EQ(Folder->FullObjectName(), Work);

    for (const std::string Bad : {"/missing", "rfPrinters", "", "relative"}) {
        Root = Bad;
        try {
            CreateRootFolder(Folder, Work, Root);
            ADD_FAILURE() << Bad;
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message(), "Error setting path: \"" + Bad + "\"");
        }
        EXPECT_EQ(Root, Work);
        // The old item is still whole.
        EXPECT_EQ(Folder->PathName(), Work);
    }
    delete Folder;
}

TEST_F(ShellFoldersTest, ItemsThreeLevelsDownRenameAndKeepTheirLists) {
    ForceDirectories(Work + "/a/b/c");
    TRoot Root = Work;
    std::unique_ptr<TbsShellFolder> RootItem(CreateRootFolder(nullptr, "", Root));
    auto A = ChildOf(RootItem.get(), "a");
    auto B = ChildOf(A.get(), "b");
    auto C = ChildOf(B.get(), "c");
    ASSERT_TRUE(C);
    EXPECT_EQ(A->Level(), 1);
    EXPECT_EQ(C->Level(), 3);
    EXPECT_TRUE(C->Capabilities().Contains(fcCanRename));
    EXPECT_TRUE(C->Properties().Contains(fpFileSystem));
    EXPECT_TRUE(C->IsFolder());

    ASSERT_TRUE(C->Rename("c2"));
    EXPECT_TRUE(DirectoryExists(Work + "/a/b/c2"));
    EXPECT_EQ(C->DisplayName(), "c2");
    EXPECT_EQ(C->PathName(), Work + "/a/b/c2");
    TItemIdListHolder Expected(JoinItemIdLists(B->AbsoluteID(), C->RelativeID()));
    EXPECT_TRUE(SameItemIdList(C->AbsoluteID(), Expected.get()));

    // A name that is taken, or no name at all, is refused with the message.
    ForceDirectories(Work + "/a/b/taken");
    for (const std::string Bad : {"taken", ""}) {
        try {
            C->Rename(Bad);
            ADD_FAILURE() << Bad;
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message(), "Rename to " + Bad + " failed");
        }
    }
    EXPECT_TRUE(DirectoryExists(Work + "/a/b/c2"));
    // Home cannot be renamed: false, no message.
    TRoot HomeRoot = "rfPersonal";
    std::unique_ptr<TbsShellFolder> HomeItem(CreateRootFolder(nullptr, "", HomeRoot));
    EXPECT_FALSE(HomeItem->Rename("elsewhere"));
}

TEST_F(ShellFoldersTest, FolderTestsAndDetails) {
    ForceDirectories(Work + "/x.ZIP");
    ForceDirectories(Work + "/d");
    Touch(Work + "/clip.avi", std::string(3 * 1024, 'x'));
    Touch(Work + "/big.mkv");
    ASSERT_EQ(::truncate((Work + "/big.mkv").c_str(), 5368709120LL), 0);
    TRoot Root = Work;
    std::unique_ptr<TbsShellFolder> RootItem(CreateRootFolder(nullptr, "", Root));
    EXPECT_FALSE(ChildOf(RootItem.get(), "x.ZIP")->IsFolder());
    EXPECT_TRUE(ChildOf(RootItem.get(), "d")->IsFolder());

    auto Clip = ChildOf(RootItem.get(), "clip.avi");
    try {
        Clip->DetailText(1);
        ADD_FAILURE();
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "clip.avi: Missing call to LoadColumnDetails");
    }
    Clip->LoadColumnDetails(RootItem.get(), nullptr, 3);
    EXPECT_EQ(Clip->DetailText(1), "3 KB");
    EXPECT_EQ(Clip->DetailText(2), "AVI File");
    EXPECT_NE(Clip->DetailText(3).find(':'), std::string::npos);
    EXPECT_THROW(Clip->DetailText(4), EListError);
    EXPECT_TRUE(RootItem->ShellFolder2());
    EXPECT_FALSE(RootItem->ShellDetails());

    TSearchRec Data;
    ChildOf(RootItem.get(), "big.mkv")->ReadFindData(Data);
    EXPECT_EQ(FindDataSize(Data), 5368709120LL);
    EXPECT_GT(FindDataModified(Data), 0.0);
    ChildOf(RootItem.get(), "d")->ReadFindData(Data);
    EXPECT_EQ(FindDataSize(Data), -1);
    EXPECT_EQ(FindDataModified(Data), -1.0);
    ::unlink((Work + "/clip.avi").c_str());
    try {
        Clip->ReadFindData(Data);
        ADD_FAILURE();
    } catch (const EInvalidPath& E) {
        EXPECT_EQ(E.Message(), "Unable to retrieve folder details for \"clip.avi\". Error code $2");
    }
}

TEST_F(ShellFoldersTest, DisplayNamesOfVirtualItems) {
    PItemIDList ID = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &ID), S_OK);
    TItemIdListHolder Computer(ID);
    // The parsing name "::{Computer}" is replaced by the normal one.
    EXPECT_EQ(ItemDisplayName(GetDesktopShellFolder(), Computer.get(), SHGDN_FORPARSING),
              "Computer");
    EXPECT_EQ(ItemDisplayName(nullptr, Computer.get(), SHGDN_NORMAL), "parentfolder = nil");
    EXPECT_EQ(DesktopFolder()->DisplayName(), "Desktop");
    EXPECT_EQ(DesktopFolder()->Parent(), nullptr);
    InitShellControls();
    EXPECT_NE(ShellUnitLock(), nullptr);
    EXPECT_FALSE(ActiveContextMenu2());
}

// A form that hears of the context menu's commands, and may take them over.
class TTargetForm : public TForm, public IbsShellCommandTarget {
public:
    using TForm::TForm;
    void ExecuteCommand(const std::string& Verb, bool& Handled) override {
        Heard.push_back("execute " + Verb);
        Handled = TakeOver;
    }
    void CommandCompleted(const std::string& Verb, bool Succeeded) override {
        Heard.push_back("completed " + Verb + (Succeeded ? " ok" : " failed"));
    }
    std::vector<std::string> Heard;
    bool TakeOver = false;
};

class ShellContextMenuTest : public TShellItemsTest {
protected:
    void SetUp() override {
        TShellItemsTest::SetUp();
        SetBackend(&Headless);
        InitApplication();
        Form = new TTargetForm(nullptr);
        Form->SetBounds(100, 100, 300, 200);
        Form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override {
        delete Form;
        DoneApplication();
        ResetWindowSystem();
        SetBackend(nullptr);
        TShellItemsTest::TearDown();
    }
    // Queues the keys that choose the menu's third command (Open, Rename,
    // Delete).
    void ChooseThird() {
        for (int Key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}) {
            Headless.KeyDown(Key);
            Headless.KeyUp(Key);
        }
    }

    THeadlessBackend Headless;
    TTargetForm* Form = nullptr;
};

TEST_F(ShellContextMenuTest, TheChosenCommandRunsUnlessTheControlTakesItOver) {
    Touch(Work + "/a.avi");
    Touch(Work + "/b.avi");
    TRoot Root = Work;
    std::unique_ptr<TbsShellFolder> RootItem(CreateRootFolder(nullptr, "", Root));
    auto A = ChildOf(RootItem.get(), "a.avi");
    ChooseThird();
    ShowShellContextMenu(Form, A.get(), 10, 10);
    EXPECT_FALSE(FileExists(Work + "/a.avi"));
    EXPECT_TRUE(FileExists(Home + "/.local/share/Trash/files/a.avi"));
    EXPECT_EQ(Form->Heard, (std::vector<std::string>{"execute delete", "completed delete ok"}));
    EXPECT_FALSE(ActiveContextMenu2());

    Form->Heard.clear();
    Form->TakeOver = true;
    auto B = ChildOf(RootItem.get(), "b.avi");
    ChooseThird();
    ShowShellContextMenu(Form, B.get(), 10, 10);
    EXPECT_TRUE(FileExists(Work + "/b.avi"));
    EXPECT_EQ(Form->Heard, (std::vector<std::string>{"execute delete", "completed delete ok"}));

    // Escape chooses nothing; nothing runs.
    Form->Heard.clear();
    Headless.KeyDown(VK_ESCAPE);
    Headless.KeyUp(VK_ESCAPE);
    ShowShellContextMenu(Form, B.get(), 10, 10);
    EXPECT_TRUE(Form->Heard.empty());
    ShowShellContextMenu(Form, nullptr, 10, 10);
}

} // namespace
