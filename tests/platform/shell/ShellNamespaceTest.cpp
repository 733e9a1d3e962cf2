#include "platform/shell/ShellApi.h"
#include "platform/shell/ShellProperties.h"
#include "tests/platform/core/FakeDriveTree.h"
#include "tests/platform/shell/ShellTestSupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

namespace {

// A list of raw bytes in a block of the shell allocator, so that the
// provider knows where the block ends.
TOwnedList RawList(const std::vector<std::uint8_t>& Bytes) {
    auto* Block = static_cast<std::uint8_t*>(ShellAlloc(Bytes.size()));
    std::memcpy(Block, Bytes.data(), Bytes.size());
    return TOwnedList(reinterpret_cast<PItemIDList>(Block));
}

std::vector<std::uint8_t> Item(std::uint8_t Kind, const std::string& Name, int Count = -1) {
    const int Size = Count < 0 ? int(Name.size()) + 4 : Count;
    std::vector<std::uint8_t> Bytes(4 + Name.size());
    Bytes[0] = std::uint8_t(Size & 0xFF);
    Bytes[1] = std::uint8_t(Size >> 8);
    Bytes[2] = Kind;
    for (std::size_t I = 0; I < Name.size(); ++I)
        Bytes[4 + I] = std::uint8_t(Name[I]);
    return Bytes;
}

std::vector<std::uint8_t> List(std::initializer_list<std::vector<std::uint8_t>> Items,
                               bool Terminated = true) {
    std::vector<std::uint8_t> Bytes;
    for (const auto& I : Items)
        for (std::uint8_t B : I)
            Bytes.push_back(B);
    if (Terminated) {
        Bytes.push_back(0);
        Bytes.push_back(0);
    }
    return Bytes;
}

void Touch(const std::string& FileName, const std::string& Text = "") {
    std::ofstream(FileName, std::ios::binary) << Text;
}

using ShellNamespaceTest = TShellTest;

TEST_F(ShellNamespaceTest, DamagedListsAreRefusedByEveryCall) {
    const std::vector<std::pair<const char*, std::vector<std::uint8_t>>> Cases = {
        {"count 3", List({Item(1, "", 3)})},
        {"count 1", List({Item(1, "", 1)})},
        {"count past the end", List({Item(4, "abc", 40)}, false)},
        {"no terminator", List({Item(1, "")}, false)},
        {"kind 9", List({Item(9, "")})},
        {"name ..", List({Item(1, ""), Item(3, "/"), Item(4, "..")})},
        {"name with /", List({Item(1, ""), Item(3, "/"), Item(4, "a/b")})},
        {"empty entry name", List({Item(1, ""), Item(3, "/"), Item(4, "")})},
        {"not UTF-8", List({Item(1, ""), Item(3, "/"), Item(4, "\xFF\xFE")})},
        {"relative mount", List({Item(1, ""), Item(3, "tmp")})},
        {"entry under desktop", List({Item(4, "tmp")})},
    };
    for (const auto& [What, Bytes] : Cases) {
        SCOPED_TRACE(What);
        TOwnedList ID = RawList(Bytes);
        const ITEMIDLIST* IDs[] = {ID.Get()};
        ULONG Attributes = 0;
        STRRET Name;
        PUnknown Object;
        SHELLDETAILS Details;
        EXPECT_EQ(Desktop->GetAttributesOf(1, IDs, &Attributes), E_INVALIDARG);
        EXPECT_EQ(Desktop->GetDisplayNameOf(ID.Get(), SHGDN_NORMAL, &Name), E_INVALIDARG);
        EXPECT_EQ(Desktop->BindToObject(ID.Get(), IID_IShellFolder, Object), E_INVALIDARG);
        EXPECT_EQ(Desktop->CompareIDs(0, ID.Get(), ID.Get()), E_INVALIDARG);
        EXPECT_EQ(Desktop->GetUIObjectOf(nullptr, 1, IDs, IID_IContextMenu, Object), E_INVALIDARG);
        EXPECT_EQ(Desktop->SetNameOf(nullptr, ID.Get(), "x", SHGDN_NORMAL, nullptr), E_INVALIDARG);
        // An entry may stand under a folder, though not under the desktop.
        auto Work2 = std::dynamic_pointer_cast<IShellFolder2>(FolderAt(Work));
        ASSERT_TRUE(Work2);
        if (std::string(What) != "entry under desktop") {
            EXPECT_EQ(Work2->GetDetailsOf(ID.Get(), 1, &Details), E_INVALIDARG);
        }
        std::string Path;
        EXPECT_FALSE(SHGetPathFromIDList(ID.Get(), Path));
        EXPECT_EQ(SHGetFileInfo(ID.Get(), 0, nullptr, 0, SHGFI_PIDL | SHGFI_SYSICONINDEX), 0u);
    }
}

// A folder "b", files that differ only in letter case, a hidden file, a
// fifo, a dangling link and a link to "b".
class ShellFolderTreeTest : public TShellTest {
protected:
    void SetUp() override {
        TShellTest::SetUp();
        ForceDirectories(Work + "/b");
        Touch(Work + "/a.AVI", "1");
        Touch(Work + "/A.avi", "22");
        Touch(Work + "/c.mpg");
        Touch(Work + "/.hidden");
        ASSERT_EQ(::mkfifo((Work + "/fifo").c_str(), 0600), 0);
        ASSERT_EQ(::symlink("missing", (Work + "/dangling").c_str()), 0);
        ASSERT_EQ(::symlink("b", (Work + "/link").c_str()), 0);
        Folder = FolderAt(Work);
        ASSERT_TRUE(Folder);
    }
    PShellFolder Folder;
};

TEST_F(ShellFolderTreeTest, ListsFoldersFirstThenFilesInAStableOrder) {
    const DWORD All = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS;
    EXPECT_EQ(Names(Folder, All),
              (std::vector<std::string>{"b", "link", "A.avi", "a.AVI", "c.mpg"}));
    EXPECT_EQ(Names(Folder, All | SHCONTF_INCLUDEHIDDEN),
              (std::vector<std::string>{"b", "link", ".hidden", "A.avi", "a.AVI", "c.mpg"}));
    EXPECT_EQ(Names(Folder, SHCONTF_FOLDERS), (std::vector<std::string>{"b", "link"}));
    EXPECT_EQ(Names(Folder, SHCONTF_NONFOLDERS),
              (std::vector<std::string>{"A.avi", "a.AVI", "c.mpg"}));

    TOwnedList Lower = Child(Folder, "a.AVI"), Upper = Child(Folder, "A.avi");
    EXPECT_EQ(Folder->CompareIDs(0, Upper.Get(), Lower.Get()) & 0xFFFF, 0xFFFF); // -1
    EXPECT_EQ(Folder->CompareIDs(0, Lower.Get(), Upper.Get()) & 0xFFFF, 1);
    EXPECT_EQ(Folder->CompareIDs(0, Lower.Get(), Lower.Get()), 0);

    EXPECT_TRUE(AttributesOf(Folder, Child(Folder, "link").Get()) & SFGAO_LINK);
    EXPECT_TRUE(AttributesOf(Folder, Child(Folder, "link").Get()) & SFGAO_FOLDER);
    EXPECT_FALSE(AttributesOf(Folder, Child(Folder, "b").Get()) & SFGAO_LINK);
    EXPECT_TRUE(AttributesOf(Folder, Child(Folder, ".hidden").Get()) & SFGAO_GHOSTED);
    EXPECT_FALSE(AttributesOf(Folder, Upper.Get()) & SFGAO_FOLDER);
}

TEST_F(ShellFolderTreeTest, ParsingNamesParseBackWithoutTheCurrentFolder) {
    const std::string Saved = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(Work + "/b"));
    std::vector<std::string> Paths = {"/", Work, Work + "/"};
    for (const char* Name : {"b", "link", ".hidden", "A.avi", "a.AVI", "c.mpg"})
        Paths.push_back(Work + "/" + Name);
    for (const std::string& Path : Paths) {
        SCOPED_TRACE(Path);
        TOwnedList ID = Parse(Path);
        const std::string Parsing = NameOf(Desktop, ID.Get(), SHGDN_FORPARSING);
        EXPECT_EQ(Parsing, Path == Work + "/" ? Work : Path);
        TOwnedList Again = Parse(Parsing);
        EXPECT_EQ(Desktop->CompareIDs(0, ID.Get(), Again.Get()), 0);
        std::string FilePath;
        EXPECT_TRUE(SHGetPathFromIDList(ID.Get(), FilePath));
        EXPECT_EQ(FilePath, Parsing);
    }
    TOwnedList Dotted = Parse(Work + "/b/../c.mpg");
    TOwnedList Plain = Parse(Work + "//c.mpg");
    EXPECT_EQ(Desktop->CompareIDs(0, Dotted.Get(), Plain.Get()), 0);

    TOwnedList Computer = Parse("::{Computer}");
    EXPECT_EQ(NameOf(Desktop, Computer.Get(), SHGDN_NORMAL), "Computer");
    EXPECT_EQ(NameOf(Desktop, Computer.Get(), SHGDN_FORPARSING), "::{Computer}");
    for (const char* Bad : {"x/y", "", "/missing", "b", "Computer", "c.mpg"}) {
        TOwnedList ID;
        EXPECT_EQ(Desktop->ParseDisplayName(nullptr, Bad, nullptr, ID.Out(), nullptr), E_FAIL)
            << Bad;
        EXPECT_EQ(ID.Get(), nullptr);
    }
    ASSERT_TRUE(SetCurrentDir(Saved));
}

TEST_F(ShellFolderTreeTest, RenamesNeverReplaceAnotherItem) {
    TOwnedList NewID;
    TOwnedList C = Child(Folder, "c.mpg");
    ASSERT_EQ(Folder->SetNameOf(nullptr, C.Get(), "d.mpg", SHGDN_NORMAL, NewID.Out()), S_OK);
    EXPECT_TRUE(FileExists(Work + "/d.mpg"));
    EXPECT_FALSE(FileExists(Work + "/c.mpg"));
    EXPECT_EQ(NameOf(Folder, NewID.Get()), "d.mpg");

    // "A.avi" holds "22", "a.AVI" holds "1": neither may be lost.
    TOwnedList Upper = Child(Folder, "A.avi");
    EXPECT_EQ(Folder->SetNameOf(nullptr, Upper.Get(), "a.AVI", SHGDN_NORMAL, NewID.Out()), E_FAIL);
    std::ifstream Lower(Work + "/a.AVI"), Kept(Work + "/A.avi");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(Lower), {}), "1");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(Kept), {}), "22");

    for (const std::string& Bad :
         std::vector<std::string>{"x/y", "", "..", ".", std::string(256, 'n')})
        EXPECT_EQ(Folder->SetNameOf(nullptr, Upper.Get(), Bad, SHGDN_NORMAL, NewID.Out()),
                  E_INVALIDARG)
            << Bad;
    struct stat Before {
    }, After{};
    ::stat((Work + "/A.avi").c_str(), &Before);
    EXPECT_EQ(Folder->SetNameOf(nullptr, Upper.Get(), "A.avi", SHGDN_NORMAL, NewID.Out()), S_OK);
    ::stat((Work + "/A.avi").c_str(), &After);
    EXPECT_EQ(Before.st_ctim.tv_nsec, After.st_ctim.tv_nsec);
    EXPECT_EQ(NameOf(Folder, NewID.Get()), "A.avi");
}

TEST_F(ShellFolderTreeTest, DetailsOfFilesFoldersAndVanishedItems) {
    auto Details = std::dynamic_pointer_cast<IShellFolder2>(Folder);
    ASSERT_TRUE(Details);
    const std::string Big = Work + "/big.avi";
    Touch(Big);
    ASSERT_EQ(::truncate(Big.c_str(), 5368709120LL), 0);
    auto Text = [&](const ITEMIDLIST* ID, UINT Column) {
        SHELLDETAILS D;
        return SUCCEEDED(Details->GetDetailsOf(ID, Column, &D)) ? D.str.pOleStr : "(failed)";
    };
    TOwnedList File = Child(Folder, "big.avi"), Sub = Child(Folder, "b"),
               Plain = Child(Folder, "c.mpg");
    EXPECT_EQ(Text(File.Get(), 1), "5242880 KB");
    EXPECT_EQ(Text(File.Get(), 2), "AVI File");
    EXPECT_NE(Text(File.Get(), 3).find(':'), std::string::npos);
    EXPECT_NE(Text(File.Get(), 4).find(':'), std::string::npos);
    EXPECT_EQ(Text(Plain.Get(), 1), "0 KB");
    EXPECT_EQ(Text(Sub.Get(), 1), "");
    EXPECT_EQ(Text(Sub.Get(), 2), "Folder");
    ::unlink(Big.c_str());
    EXPECT_EQ(Text(File.Get(), 1), "(failed)");

    const std::vector<std::string> Headers = {"Name", "Size", "Type", "Modified", "Created"};
    for (UINT Column = 0; Column < 5; ++Column) {
        EXPECT_EQ(Text(nullptr, Column), Headers[Column]);
        DWORD State = 0;
        ASSERT_EQ(Details->GetDefaultColumnState(Column, &State), S_OK);
        EXPECT_EQ((State & SHCOLSTATE_ONBYDEFAULT) != 0, Column < 4) << Column;
    }
    EXPECT_EQ(Text(nullptr, 5), "(failed)");
    SHELLDETAILS Size;
    Details->GetDetailsOf(nullptr, 1, &Size);
    EXPECT_EQ(Size.fmt, LVCFMT_RIGHT_DETAIL);

    // Computer and the desktop offer no details.
    TOwnedList Computer = Parse("::{Computer}");
    PUnknown Object;
    EXPECT_EQ(Desktop->BindToObject(Computer.Get(), IID_IShellFolder2, Object), E_NOINTERFACE);
    EXPECT_FALSE(std::dynamic_pointer_cast<IShellFolder2>(Desktop));
}

TEST_F(ShellFolderTreeTest, CapabilitiesFollowWhatMayBeChanged) {
    const ULONG Change = SFGAO_CANRENAME | SFGAO_CANDELETE | SFGAO_CANMOVE;
    EXPECT_EQ(AttributesOf(Folder, Child(Folder, "c.mpg").Get()) & Change, Change);

    TOwnedList HomeID;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, HomeID.Out()), S_OK);
    EXPECT_EQ(NameOf(Desktop, HomeID.Get(), SHGDN_NORMAL), "Home");
    EXPECT_EQ(AttributesOf(Desktop, HomeID.Get()) & Change, 0u);
    EXPECT_TRUE(AttributesOf(Desktop, HomeID.Get()) & SFGAO_FILESYSTEM);
    TOwnedList Computer = Parse("::{Computer}");
    EXPECT_EQ(AttributesOf(Desktop, Computer.Get()) & (SFGAO_FILESYSTEM | Change), 0u);
    EXPECT_TRUE(AttributesOf(Desktop, Computer.Get()) & SFGAO_FOLDER);

    if (::geteuid() == 0)
        GTEST_SKIP() << "every folder is writable for root";
    ASSERT_EQ(::chmod(Work.c_str(), 0555), 0);
    const ULONG ReadOnly = AttributesOf(Folder, Child(Folder, "c.mpg").Get());
    ::chmod(Work.c_str(), 0755);
    EXPECT_EQ(ReadOnly & Change, 0u);
}

TEST_F(ShellFolderTreeTest, AFolderMountedMeanwhileCannotBeChangedAnyMore) {
    // The mount table is read once and again only when it changed: a new
    // mount is seen at once, and so is its removal.
    const ULONG Change = SFGAO_CANRENAME | SFGAO_CANDELETE | SFGAO_CANMOVE;
    auto ChangeOfB = [&] { return AttributesOf(Folder, Child(Folder, "b").Get()) & Change; };
    TFakeDriveTree Tree;
    Tree.Mount("/dev/sda1", "/", "ext4");
    EXPECT_EQ(ChangeOfB(), Change);
    Tree.Mount("/dev/sdb1", Work + "/b", "ext4");
    EXPECT_EQ(ChangeOfB(), 0u);
    std::ofstream(Tree.Root() + "/../mounts") << "/dev/sda1 / ext4 rw 0 0\n";
    EXPECT_EQ(ChangeOfB(), Change);
}

TEST_F(ShellNamespaceTest, SpecialFoldersComeFromTheUserDirectories) {
    ForceDirectories(Home + "/.config");
    ForceDirectories(Home + "/Docs");
    Touch(Home + "/.config/user-dirs.dirs",
          "# written by the desktop\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n");
    auto PathOf = [&](int Id) {
        TOwnedList ID;
        if (FAILED(SHGetSpecialFolderLocation(nullptr, Id, ID.Out())))
            return std::string("(failed)");
        return NameOf(Desktop, ID.Get(), SHGDN_FORPARSING);
    };
    EXPECT_EQ(PathOf(CSIDL_DESKTOP), "::{Desktop}");
    EXPECT_EQ(PathOf(CSIDL_DRIVES), "::{Computer}");
    EXPECT_EQ(PathOf(CSIDL_PERSONAL), Home + "/Docs");
    EXPECT_EQ(PathOf(CSIDL_APPDATA), Home + "/.config");
    EXPECT_EQ(PathOf(CSIDL_DESKTOPDIRECTORY), "(failed)"); // no such folder
    EXPECT_EQ(PathOf(CSIDL_PRINTERS), "(failed)");
    EXPECT_EQ(PathOf(CSIDL_NETWORK), "(failed)");
    EXPECT_EQ(Names(Desktop, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS),
              (std::vector<std::string>{"Computer", "Home"}));
}

TEST_F(ShellNamespaceTest, ComputerListsTheDrivesWithTheirPictures) {
    TFakeDriveTree Tree;
    Tree.AddDisk("sda", false, 1);
    Tree.AddDisk("sdb", true, 1);
    Tree.Mount("/dev/sda1", "/", "ext4");
    Tree.Mount("/dev/sdb1", "/media/u/USB", "vfat", "/media/u/USB");
    Tree.Mount("tmpfs", "/run/user/1000", "tmpfs", "/run/user/1000");
    Tree.Mount("//server/share", "/mnt/share", "cifs", "/mnt/share");
    Tree.Mount("proc", "/proc", "proc", "/proc");
    TOwnedList ComputerID = Parse("::{Computer}");
    PUnknown Object;
    ASSERT_EQ(Desktop->BindToObject(ComputerID.Get(), IID_IShellFolder, Object), S_OK);
    auto Computer = std::dynamic_pointer_cast<IShellFolder>(Object);
    EXPECT_EQ(
        Names(Computer, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS),
        (std::vector<std::string>{"File System (/)", "USB (/media/u/USB)", "share (/mnt/share)"}));
    std::shared_ptr<IEnumIDList> Enum;
    ASSERT_EQ(Computer->EnumObjects(nullptr, SHCONTF_FOLDERS, Enum), S_OK);
    const int Icons[] = {siHardDisk, siRemovable, siNetwork};
    for (int I = 0; I < 3; ++I) {
        TOwnedList Mount;
        ULONG Fetched = 0;
        ASSERT_EQ(Enum->Next(1, Mount.Out(), &Fetched), S_OK);
        SHFILEINFO Info;
        // The Computer's children are relative to it: make them absolute.
        std::string Path = NameOf(Computer, Mount.Get(), SHGDN_FORPARSING | SHGDN_INFOLDER);
        EXPECT_EQ((AttributesOf(Computer, Mount.Get()) & SFGAO_REMOVABLE) != 0, I == 1) << Path;
        PItemIDList Joined = nullptr;
        {
            // Computer + mount, by hand: the skin layer's join does this for real.
            const std::size_t Size = ItemIdByteCount(Mount.Get());
            auto* Bytes = static_cast<std::uint8_t*>(ShellAlloc(4 + Size + 2));
            std::memcpy(Bytes, ComputerID.Get(), 4);
            std::memcpy(Bytes + 4, Mount.Get(), Size);
            Joined = reinterpret_cast<PItemIDList>(Bytes);
        }
        TOwnedList Owned(Joined);
        ASSERT_NE(SHGetFileInfo(Owned.Get(), 0, &Info, sizeof Info,
                                SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON),
                  0u);
        EXPECT_EQ(Info.iIcon, Icons[I]) << Path;
    }
}

TEST_F(ShellNamespaceTest, SystemImageListsAndFilePictures) {
    SHFILEINFO Info;
    const auto Small =
        SHGetFileInfo("/", 0, &Info, sizeof Info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    const auto Large = SHGetFileInfo("/", 0, &Info, sizeof Info, SHGFI_SYSICONINDEX);
    EXPECT_EQ(Small, reinterpret_cast<std::uintptr_t>(ShellImageList(false)->Handle()));
    EXPECT_EQ(Large, reinterpret_cast<std::uintptr_t>(ShellImageList(true)->Handle()));
    EXPECT_EQ(ShellImageList(false)->Count(), 13);
    EXPECT_EQ(ShellImageList(true)->Width(), 32);
    const std::vector<std::pair<std::string, int>> Files = {{"clip.MKV", siVideo},
                                                            {"song.flac", siAudio},
                                                            {"shot.Png", siPicture},
                                                            {"notes.txt", siDocument},
                                                            {"noext", siDocument}};
    for (const auto& [Name, Icon] : Files) {
        Touch(Work + "/" + Name);
        SHGetFileInfo(Work + "/" + Name, 0, &Info, sizeof Info, SHGFI_SYSICONINDEX);
        EXPECT_EQ(Info.iIcon, Icon) << Name;
    }
    SHGetFileInfo(Work, 0, &Info, sizeof Info, SHGFI_SYSICONINDEX | SHGFI_OPENICON);
    EXPECT_EQ(Info.iIcon, siOpenFolder);
}

TEST_F(ShellNamespaceTest, PropertiesNameTheItemAndItsPermissions) {
    Touch(Work + "/clip.avi", "12345");
    ::chmod((Work + "/clip.avi").c_str(), 0640);
    TOwnedList ID = Parse(Work + "/clip.avi");
    const auto Rows = ShellPropertyRows(ID.Get());
    ASSERT_FALSE(Rows.empty());
    EXPECT_EQ(Rows[0].second, "clip.avi Properties");
    auto Value = [&](const std::string& Label) {
        for (const auto& [L, V] : Rows)
            if (L == Label)
                return V;
        return std::string("(none)");
    };
    EXPECT_EQ(Value("Type"), "AVI File");
    EXPECT_EQ(Value("Location"), Work);
    EXPECT_EQ(Value("Size"), "5 bytes");
    EXPECT_EQ(Value("Permissions").substr(0, 9), "rw-r-----");
    TOwnedList Computer = Parse("::{Computer}");
    EXPECT_TRUE(ShellPropertyRows(Computer.Get()).empty());
}

} // namespace
