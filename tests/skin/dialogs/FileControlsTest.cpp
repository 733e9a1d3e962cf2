// The file controls: the filter and drive combo boxes, the folder and file
// list boxes over a temporary tree, their links, and the process's current
// folder left alone throughout.
#include "platform/core/Exceptions.h"
#include "platform/core/Paths.h"
#include "skin/controls/bsSkinCtrls.Labels.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/dialogs/bsSkinFileControls.h"
#include "tests/platform/core/FakeDriveTree.h"
#include "tests/skin/dialogs/SkinDialogsTestSupport.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <thread>

using namespace skindlg;

namespace {

class FileControlsTest : public TSkinDialogsTest {
protected:
    void SetUp() override {
        TSkinDialogsTest::SetUp();
        T = EnterableFolder(Tree.Path());
        for (const char* Sub : {"x", "Y", "z"})
            ForceDirectories(T + "/A/B/" + Sub);
        for (const char* File : {"readme.txt", "b.log", "c.avi", "a.txt"})
            Touch(T + "/A/" + File);
    }

    static void Touch(const std::string& FileName) { std::ofstream(FileName) << "x"; }
    template <class C> C* Make() {
        auto* Control = new C(Main);
        Control->SetParent(Main);
        Control->SetBounds(10, 10, 200, 150);
        Control->HandleNeeded();
        return Control;
    }
    static std::vector<std::string> Rows(TbsSkinCustomListBox* L) {
        std::vector<std::string> R;
        for (int I = 0; I < L->Items()->Count(); ++I)
            R.push_back(L->Items()->Strings(I));
        return R;
    }
    static std::vector<std::string> Rows(TbsSkinCustomComboBox* C) {
        std::vector<std::string> R;
        for (int I = 0; I < C->Items()->Count(); ++I)
            R.push_back(C->Items()->Strings(I));
        return R;
    }
    void DoubleClickRow(TbsSkinCustomListBox* L, int Row) {
        TRect R = L->ListBox->ItemRect(Row);
        TPoint P = L->ListBox->ClientToScreen({R.Left + 30, (R.Top + R.Bottom) / 2});
        Headless.DoubleClick(P.X, P.Y);
        Pump();
    }

    TTempDir Tree;
    std::string T;
};

// ---------------------------------------------------------------- filter combo

TEST_F(FileControlsTest, FiltersBecomeItemsWithAMaskBehindEach) {
    struct TCase {
        const char* Filter;
        std::vector<std::string> Items;
        std::vector<std::string> Masks;
        const char* Mask;
    } Cases[] = {
        {"All files (*.*)|*.*", {"All files (*.*)"}, {"*.*"}, "*.*"},
        {"Text|*.txt|Other", {"Text"}, {"*.txt"}, "*.txt"},
        {"A|", {"A"}, {""}, ""},
        {"", {}, {}, "*.*"},
        {"Video|*.avi;*.mp4|Audio|*.mp3",
         {"Video", "Audio"},
         {"*.avi;*.mp4", "*.mp3"},
         "*.avi;*.mp4"},
    };
    for (const TCase& C : Cases) {
        auto* Combo = Make<TbsSkinFilterComboBox>();
        Combo->SetFilter(C.Filter);
        EXPECT_EQ(Rows(Combo), C.Items) << C.Filter;
        std::vector<std::string> Masks;
        for (int I = 0; I < Combo->MaskList()->Count(); ++I)
            Masks.push_back(Combo->MaskList()->Strings(I));
        EXPECT_EQ(Masks, C.Masks) << C.Filter;
        EXPECT_EQ(Combo->Mask(), C.Mask) << C.Filter;
        delete Combo;
    }
}

class TCountingFilterCombo : public TbsSkinFilterComboBox {
public:
    using TbsSkinFilterComboBox::TbsSkinFilterComboBox;
    void Change() override {
        ++Changes;
        MaskSeenByList = FileList() ? FileList()->Mask() : "";
        TbsSkinFilterComboBox::Change();
    }
    int Changes = 0;
    std::string MaskSeenByList;
};

TEST_F(FileControlsTest, TheMaskFallsToTheLastItemAndTheSameFilterChangesNothing) {
    auto* Combo = Make<TCountingFilterCombo>();
    Combo->SetFilter("Text|*.txt|Logs|*.log");
    Combo->SetItemIndex(-1);
    EXPECT_EQ(Combo->Mask(), "*.log");
    EXPECT_EQ(Combo->ItemIndex(), 1);
    const int Before = Combo->Changes;
    Combo->SetFilter("TEXT|*.TXT|LOGS|*.LOG");
    EXPECT_EQ(Combo->Changes, Before);
    EXPECT_EQ(Combo->Filter(), "Text|*.txt|Logs|*.log");
}

TEST_F(FileControlsTest, ALinkedFileListTakesTheChosenMask) {
    auto* List = Make<TbsSkinFileListBox>();
    List->SetDirectory(T + "/A");
    auto* Combo = Make<TbsSkinFilterComboBox>();
    Combo->SetFilter("Text|*.txt|Logs|*.log");
    Combo->SetFileList(List);
    EXPECT_EQ(List->FilterCombo(), Combo);
    Combo->SetItemIndex(1);
    EXPECT_EQ(List->Mask(), "*.log");
    EXPECT_EQ(Rows(List), (std::vector<std::string>{"b.log"}));
    // Before its window exists the combo has no items: a linked list is
    // given "*.*", and asking for the mask does not select for ever.
    auto* Early = new TbsSkinFilterComboBox(Main);
    Early->SetFileList(List);
    Early->SetFilter("Video|*.avi");
    EXPECT_EQ(List->Mask(), "*.*");
    delete Early;
    Combo->SetFileList(List);
    // A freed combo leaves no link behind.
    delete Combo;
    EXPECT_EQ(List->FilterCombo(), nullptr);
    List->SetDirectory(T);
    List->SetMask("*.txt");
}

// ---------------------------------------------------------------- drive combo

// The fake system of the drive tests, with one more mount on a real folder
// so that a folder list can move to it.
class DriveComboTest : public FileControlsTest {
protected:
    void SetUp() override {
        FileControlsTest::SetUp();
        Fake = std::make_unique<TFakeDriveTree>();
        Fake->AddDisk("sda", false, 3);
        Fake->AddDisk("sdb", true, 1);
        Fake->AddDisk("sdc", false, 1);
        Fake->AddDisk("sr0", false, 0);
        Fake->AddLabel("system", "sda1");
        Fake->AddLabel("dvd", "sr0");
        Fake->AddLabel("archive", "sdc1");
        Fake->Mount("/dev/sda1", "/", "ext4");
        Fake->Mount("proc", "/proc", "proc", "/proc");
        Fake->Mount("tmpfs", "/tmp", "tmpfs", "/tmp");
        Fake->Mount("/dev/sdb1", "/media/my\\040disk", "vfat", "/media/my disk");
        Fake->Mount("/dev/sr0", "/mnt/cd", "iso9660", "/mnt/cd");
        Fake->Mount("//Server/Share", "/mnt/share", "cifs", "/mnt/share");
        Fake->AddFile("/etc/hosts");
        Fake->Mount("/dev/sda2", "/etc/hosts", "ext4");
        Fake->Mount("cgroup2", "/sys/fs/cgroup", "cgroup2", "/sys/fs/cgroup");
        Fake->Mount("/dev/sda3", "/data", "ext4", "/data");
        Fake->Mount("/dev/sdc1", "/data", "ext4");
        Fake->AddLine("this line is malformed");
    }
    void TearDown() override {
        Fake.reset();
        FileControlsTest::TearDown();
    }
    std::unique_ptr<TFakeDriveTree> Fake;
};

TEST_F(DriveComboTest, ItemsShowTheMountPointsWithLabelsInTheChosenCase) {
    auto* Combo = Make<TbsSkinDriveComboBox>();
    EXPECT_EQ(Rows(Combo),
              (std::vector<std::string>{"/ [system]", "/data [archive]", "/media/my disk",
                                        "/mnt/cd [dvd]", "/mnt/share //server/share", "/tmp []"}));
    std::vector<TBitmap*> Pictures;
    for (int I = 0; I < Combo->Items()->Count(); ++I)
        Pictures.push_back(dynamic_cast<TBitmap*>(Combo->Items()->Objects(I)));
    EXPECT_EQ(Pictures, (std::vector<TBitmap*>{Combo->FixedBMP.get(), Combo->FixedBMP.get(),
                                               Combo->FloppyBMP.get(), Combo->CDROMBMP.get(),
                                               Combo->NetworkBMP.get(), Combo->RAMBMP.get()}));
    Combo->SetTextCase(tcUpperCase);
    EXPECT_EQ(Rows(Combo),
              (std::vector<std::string>{"/ [SYSTEM]", "/data [ARCHIVE]", "/media/my disk",
                                        "/mnt/cd [DVD]", "/mnt/share //SERVER/SHARE", "/tmp []"}));
}

TEST_F(DriveComboTest, SetDriveSelectsByMountPointAndALinkedFolderListFollowsAPick) {
    Fake->Mount("tmpfs", T, "tmpfs", T);
    auto* Combo = Make<TbsSkinDriveComboBox>();
    auto* Dirs = Make<TbsSkinDirectoryListBox>();
    Combo->SetDirList(Dirs);
    EXPECT_EQ(Combo->DirList(), Dirs);
    Combo->SetDrive("");
    EXPECT_EQ(Combo->ItemIndex(), -1);
    EXPECT_EQ(Combo->Drive(), "");
    Combo->SetDrive("/mnt/cd");
    EXPECT_EQ(Combo->ItemMountPoint(Combo->ItemIndex()), "/mnt/cd");
    // A user's pick: the folder list moves to the mount point.
    int Row = -1;
    for (int I = 0; I < Combo->Items()->Count(); ++I)
        if (Combo->ItemMountPoint(I) == T)
            Row = I;
    ASSERT_GE(Row, 0);
    Combo->SetItemIndex(Row);
    EXPECT_EQ(Combo->Drive(), T);
    EXPECT_EQ(Dirs->Directory(), T);
    delete Dirs;
    EXPECT_EQ(Combo->DirList(), nullptr);
}

TEST_F(DriveComboTest, ADriveRowShowsItsPictureKeyedAndTheTextBesideIt) {
    auto* Combo = Make<TbsSkinDriveComboBox>();
    TBitmap Row;
    Row.SetSize(120, 18);
    TCanvas* C = Row.Canvas();
    C->Brush()->SetColor(clWhite);
    C->FillRect(Rect(0, 0, 120, 18));
    C->Font()->SetColor(clBlack);
    Combo->DrawDriveItem(C, 0, 120, 18, Rect(0, 0, 120, 18), {});
    TBitmap* Hard = Combo->FixedBMP.get();
    const int Top = (18 - Hard->Height()) / 2;
    bool Magenta = false, PictureInk = false;
    for (int Y = 0; Y < 18; ++Y)
        for (int X = 0; X < 16; ++X) {
            const std::uint32_t P = skinctl::Rgb(C->Pixels(X, Y));
            Magenta |= P == 0xFF00FF;
            if (Y >= Top && Y < Top + Hard->Height() && P != 0xFFFFFF)
                PictureInk = true;
            if (Y < Top || Y >= Top + Hard->Height()) {
                EXPECT_EQ(P, 0xFFFFFFu) << X << "," << Y;
            }
        }
    EXPECT_FALSE(Magenta);
    EXPECT_TRUE(PictureInk);
    int FirstDark = -1;
    for (int X = 0; X < 120 && FirstDark < 0; ++X)
        for (int Y = 0; Y < 18; ++Y)
            if (X >= 16 && skinctl::Rgb(C->Pixels(X, Y)) < 0x404040) {
                FirstDark = X;
                break;
            }
    EXPECT_GE(FirstDark, 16 + 6);
    EXPECT_LT(FirstDark, 16 + 10);
}

// ---------------------------------------------------------------- folder list

TEST_F(FileControlsTest, TheFolderListShowsThePathAndTheSubfolders) {
    auto* Dirs = Make<TbsSkinDirectoryListBox>();
    Dirs->SetDirectory(T + "/A/B");
    std::vector<std::string> Want{"/"};
    std::string Walk;
    for (std::size_t S = 1; S < T.size();) {
        std::size_t E = std::min(T.find('/', S), T.size());
        Want.push_back(T.substr(S, E - S));
        S = E + 1;
    }
    const int Levels = int(Want.size());
    for (const char* Name : {"A", "B", "x", "Y", "z"})
        Want.push_back(Name);
    EXPECT_EQ(Rows(Dirs), Want);
    EXPECT_EQ(Dirs->ItemIndex(), Levels + 1);
    EXPECT_EQ(Dirs->Items()->Objects(Levels + 1), Dirs->CurrentBMP.get());
    EXPECT_EQ(Dirs->Items()->Objects(Levels + 2), Dirs->ClosedBMP.get());
    EXPECT_EQ(Dirs->GetItemPath(0), "/");
    EXPECT_EQ(Dirs->GetItemPath(Levels - 1), T);
    EXPECT_EQ(Dirs->GetItemPath(Levels), T + "/A");
    EXPECT_EQ(Dirs->GetItemPath(Levels + 1), T + "/A/B");
    EXPECT_EQ(Dirs->GetItemPath(Levels + 2), T + "/A/B/x");
    EXPECT_EQ(Dirs->GetItemPath(-1), "");
    EXPECT_EQ(Dirs->GetItemPath(Dirs->Items()->Count()), "");
    // Indents: the path's rows step by 4, the subfolders sit one step in.
    for (int I = 0; I <= Levels + 1; ++I)
        EXPECT_EQ(Dirs->ItemIndent(I), I * 4 + 2);
    EXPECT_EQ(Dirs->ItemIndent(Levels + 3), CountBackslashes(T + "/A/B") * 4 + 6);
    TCanvas* C = Dirs->ListBoxCanvas();
    EXPECT_EQ(Dirs->GetItemWidth(Levels + 3, C),
              C->TextWidth("Y") + Dirs->ItemIndent(Levels + 3) + 16 + 4);

    Dirs->SetDirectory("/");
    EXPECT_EQ(Dirs->Items()->Strings(0), "/");
    EXPECT_EQ(Dirs->Items()->Objects(0), Dirs->CurrentBMP.get());
    EXPECT_EQ(Dirs->ItemIndex(), 0);
    EXPECT_GT(Dirs->Items()->Count(), 1);
}

TEST_F(FileControlsTest, OpeningARowMovesTheListAndItsLinks) {
    auto* Dirs = Make<TbsSkinDirectoryListBox>();
    auto* Files = Make<TbsSkinFileListBox>();
    auto* Label = new TbsSkinStdLabel(Main);
    Label->SetParent(Main);
    Label->SetAutoSize(false);
    Label->SetBounds(10, 200, 60, 20);
    Dirs->SetFileList(Files);
    Dirs->SetDirLabel(Label);
    Dirs->SetDirectory(T + "/A/B");
    const int RowA = Dirs->ItemIndex() - 1;
    for (bool ByKey : {false, true}) {
        Dirs->SetDirectory(T + "/A/B");
        Pump();
        if (ByKey) {
            Dirs->SetItemIndex(RowA);
            unsigned Key = 13;
            Dirs->ListBoxKeyPress(Key);
        } else {
            DoubleClickRow(Dirs, RowA);
        }
        EXPECT_EQ(Dirs->Directory(), T + "/A") << ByKey;
        EXPECT_EQ(Dirs->Items()->Strings(Dirs->ItemIndex()), "A");
        EXPECT_EQ(Files->Directory(), T + "/A");
        EXPECT_EQ(Label->Caption(), FitPathToWidth(T + "/A", Label->Canvas(), 60));
    }
}

TEST_F(FileControlsTest, OpeningWithNoRowSelectedChangesNothing) {
    auto* Dirs = Make<TbsSkinDirectoryListBox>();
    Dirs->SetDirectory(T + "/A/B");
    const auto Before = Rows(Dirs);
    Dirs->SetItemIndex(-1);
    Dirs->ListBoxDblClick();
    Dirs->OpenCurrent();
    EXPECT_EQ(Dirs->Directory(), T + "/A/B");
    EXPECT_EQ(Rows(Dirs), Before);
}

TEST_F(FileControlsTest, AMissingFolderRaisesAndKeepsTheList) {
    auto* Dirs = Make<TbsSkinDirectoryListBox>();
    Dirs->SetDirectory(T + "/A/B");
    const auto Before = Rows(Dirs);
    EXPECT_THROW(Dirs->SetDirectory(T + "/nosuch"), EInOutError);
    EXPECT_EQ(Dirs->Directory(), T + "/A/B");
    EXPECT_EQ(Rows(Dirs), Before);
    auto* Files = Make<TbsSkinFileListBox>();
    EXPECT_THROW(Files->SetDirectory(T + "/nosuch"), EInOutError);
}

// ---------------------------------------------------------------- file list

TEST_F(FileControlsTest, TheFileListMergesPatternsAndShowsFoldersInBrackets) {
    auto* Files = Make<TbsSkinFileListBox>();
    Files->SetDirectory(T + "/A");
    Files->SetMask("*.txt;*.log");
    EXPECT_EQ(Rows(Files), (std::vector<std::string>{"a.txt", "b.log", "readme.txt"}));
    Files->SetMask("*.*");
    Files->SetFileType({bsftNormal, bsftDirectory});
    const auto R = Rows(Files);
    for (const char* Row : {"[B]", "[.]", "[..]", "c.avi"})
        EXPECT_NE(std::find(R.begin(), R.end(), Row), R.end()) << Row;
    Files->ApplyFilePath("[..]");
    EXPECT_EQ(Files->Directory(), T);
}

TEST_F(FileControlsTest, ApplyFilePathMovesAndSelects) {
    auto* Files = Make<TbsSkinFileListBox>();
    Files->ApplyFilePath(T + "/A/*.txt");
    EXPECT_EQ(Files->Directory(), T + "/A");
    EXPECT_EQ(Files->Mask(), "*.txt");
    Files->SetMask("*.*");
    Files->ApplyFilePath(T + "/A/readme.txt");
    EXPECT_EQ(Files->GetFileName(), "readme.txt");
    EXPECT_EQ(Files->GetFilePath(), T + "/A/readme.txt");
    Files->SetFileName("nothing-like-it");
    EXPECT_EQ(Files->ItemIndex(), -1);
    EXPECT_EQ(Files->GetFilePath(), "");
}

TEST_F(FileControlsTest, ALinkedEditShowsTheChosenName) {
    auto* Files = Make<TbsSkinFileListBox>();
    Files->SetDirectory(T + "/A");
    auto* Edit = Make<TbsSkinEdit>();
    Edit->SetTop(170);
    Files->SetFileEdit(Edit);
    EXPECT_EQ(Edit->Text(), "*.*");
    int Changes = 0;
    Files->OnChange = [&](TObject*) { ++Changes; };
    Files->SetItemIndex(2);
    Files->ListBoxClick();
    EXPECT_EQ(Edit->Text(), Files->Items()->Strings(2));
    EXPECT_EQ(Edit->SelLength(), int(Edit->Text().size()));
    Files->ListBoxClick();
    EXPECT_EQ(Changes, 1);
    delete Edit;
    EXPECT_EQ(Files->FileEdit(), nullptr);
}

TEST_F(FileControlsTest, ALongReadShowsTheHourglassAndTheCursorComesBackAlsoAfterAFailedOne) {
    for (int I = 0; I < 150; ++I)
        Touch(T + "/A/B/x/f" + std::to_string(1000 + I));
    auto* Files = Make<TbsSkinFileListBox>();
    // The pointer's shape as the desktop shows it, seen as each row arrives.
    std::vector<int> Seen;
    TWndMethod Inner = Files->ListBox->WindowProc;
    Files->ListBox->WindowProc = [&](TMessage& M) {
        Inner(M);
        if (M.Msg == LB_ADDSTRING)
            Seen.push_back(Headless.Cursor());
    };
    Screen->SetCursor(crHandPoint);
    Files->SetDirectory(T + "/A/B/x");
    EXPECT_EQ(Files->Items()->Count(), 150);
    ASSERT_EQ(Seen.size(), 150u);
    EXPECT_EQ(std::count(Seen.begin(), Seen.begin() + 100, IDC_HAND), 100);
    EXPECT_EQ(std::count(Seen.begin() + 101, Seen.end(), IDC_WAIT), 49);
    EXPECT_EQ(Screen->Cursor(), crHandPoint);
    EXPECT_EQ(Headless.Cursor(), IDC_HAND);
    Files->ListBox->WindowProc = Inner;
    ForceDirectories(T + "/A/B/gone");
    Files->SetDirectory(T + "/A/B/gone");
    RemoveDir(T + "/A/B/gone");
    EXPECT_THROW(Files->UpdateList(), EInOutError);
    EXPECT_EQ(Screen->Cursor(), crHandPoint);
    Screen->SetCursor(crDefault);
}

// No control changes the process's current folder, which every thread of
// the process shares.
TEST_F(FileControlsTest, TheCurrentFolderNeverMoves) {
    const std::string Start = GetCurrentDir();
    std::atomic<bool> Stop{false}, Moved{false};
    std::thread Watcher([&] {
        while (!Stop)
            if (GetCurrentDir() != Start)
                Moved = true;
    });
    auto* Dirs = Make<TbsSkinDirectoryListBox>();
    auto* Files = Make<TbsSkinFileListBox>();
    auto* Combo = Make<TbsSkinFilterComboBox>();
    Dirs->SetFileList(Files);
    Combo->SetFileList(Files);
    Dirs->SetDirectory(T + "/A/B");
    Dirs->SetDirectory(T + "/A");
    Files->ApplyFilePath(T + "/A/readme.txt");
    Files->ApplyFilePath("[B]");
    Combo->SetFilter("Logs|*.log");
    std::string Drive, DirPart, FilePart;
    SplitFileSpec("B/x", T + "/A", Drive, DirPart, FilePart);
    EXPECT_THROW(Dirs->SetDirectory(T + "/nosuch"), EInOutError);
    Stop = true;
    Watcher.join();
    EXPECT_FALSE(Moved);
    EXPECT_EQ(GetCurrentDir(), Start);
}

} // namespace
