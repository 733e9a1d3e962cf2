// option.ini: first start, the defaulting of every key, and failures.
#include "app/OptionFile.h"

#include "platform/core/Environment.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Paths.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace {

class OptionFileTest : public ::testing::Test {
protected:
    TTempDir Folder;
    std::string SavedHome = GetEnvironmentVariable("HOME");
    TOptionFile File{Folder.Path()};

    void SetUp() override { SetEnvironmentVariable("HOME", Folder.File("home")); }
    void TearDown() override { SetEnvironmentVariable("HOME", SavedHome); }

    // The file's lines without blank ones, as "section/key=value" and "[section]".
    std::vector<std::string> Lines() const {
        std::ifstream In(File.Path());
        std::vector<std::string> Result;
        for (std::string Line; std::getline(In, Line);) {
            if (!Line.empty() && Line.back() == '\r')
                Line.pop_back();
            if (!Line.empty())
                Result.push_back(Line);
        }
        return Result;
    }
    void Store(const std::string& Text) { std::ofstream(File.Path()) << Text; }
    std::string Text() const {
        std::ifstream In(File.Path());
        std::stringstream S;
        S << In.rdbuf();
        return S.str();
    }
};

} // namespace

TEST_F(OptionFileTest, FirstStartWritesTheDefaultsInTheProgramsOrder) {
    const std::string Out = ReadOutPathSection(File);
    const std::optional<int> Skin = ReadSkinSection(File);
    const TOptionsSection Options = ReadOptionsSection(File);

    const std::string Home = Folder.File("home");
    EXPECT_EQ(Out, Home + "/Ostrela视频软件/输出");
    EXPECT_TRUE(DirectoryExists(Out));
    EXPECT_EQ(Skin, 0);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"[OutPath]", "OutPath=" + Out, "[Skin]",
                                                 "SetSkin=0", "[Options]", "Thread_Count=0",
                                                 "After_Done=0", "Thread_Priority=3",
                                                 "Overwrite_File=1", "Show_Preview=0"}));
    EXPECT_EQ(Options.ThreadCount, 1);
    EXPECT_EQ(Options.AfterDone, 0);
    EXPECT_FALSE(Options.ShowPreview);
    EXPECT_EQ(Options.Priority, 3);
    EXPECT_FALSE(Options.OverwriteFile);
}

TEST_F(OptionFileTest, OptionsWithoutAFileAreWrittenInTheDialogsOrder) {
    const TOptionsSection Options = ReadOptionsSection(File);
    EXPECT_EQ(Options.ThreadCount, 1);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"[Options]", "Thread_Count=0", "After_Done=0",
                                                 "Show_Preview=0", "Thread_Priority=3",
                                                 "Overwrite_File=1"}));
}

TEST_F(OptionFileTest, EveryStoredOptionsValue) {
    struct Case {
        const char* Key;
        const char* Stored; // nullptr: missing
        const char* Kept;   // the key's text afterwards
        int Shown;          // what the dialog shows, as a number
    };
    auto ShownOf = [](const char* Key, const TOptionsSection& O) {
        std::string K = Key;
        if (K == "Thread_Count")
            return O.ThreadCount;
        if (K == "After_Done")
            return O.AfterDone;
        if (K == "Thread_Priority")
            return O.Priority;
        if (K == "Overwrite_File")
            return O.OverwriteFile ? 0 : 1;
        return O.ShowPreview ? 1 : 0;
    };
    const Case Cases[] = {
        {"Thread_Count", "7", "7", 7},     {"Thread_Count", "1", "1", 1},
        {"Thread_Count", "19", "19", 19},  {"Thread_Count", "0", "0", 1},
        {"Thread_Count", "99", "0", 1},    {"Thread_Count", "x", "0", 1},
        {"Thread_Count", nullptr, "0", 1}, {"Thread_Count", "Error", "0", 1},
        {"After_Done", "4", "0", 0},       {"After_Done", "3", "3", 3},
        {"After_Done", "2", "2", 2},       {"Thread_Priority", "0", "0", 0},
        {"Thread_Priority", "x", "3", 3},  {"Thread_Priority", "03", "3", 3},
        {"Overwrite_File", "0", "0", 0},   {"Overwrite_File", "1", "1", 1},
        {"Overwrite_File", "x", "1", 1},   {"Show_Preview", "1", "1", 1},
        {"Show_Preview", "0", "0", 0},     {"Show_Preview", "x", "0", 0},
    };
    const char* Keys[] = {"Thread_Count", "After_Done", "Thread_Priority", "Overwrite_File",
                          "Show_Preview"};
    const char* Valid[] = {"5", "1", "2", "0", "1"};
    for (const Case& C : Cases) {
        SCOPED_TRACE(std::string(C.Key) + "=" + (C.Stored ? C.Stored : "(missing)"));
        std::string Text = "[Options]\n";
        for (int K = 0; K < 5; ++K)
            if (std::string(Keys[K]) != C.Key)
                Text += std::string(Keys[K]) + "=" + Valid[K] + "\n";
            else if (C.Stored)
                Text += std::string(Keys[K]) + "=" + C.Stored + "\n";
        Store(Text);
        const TOptionsSection Options = ReadOptionsSection(File);
        EXPECT_EQ(ShownOf(C.Key, Options), C.Shown);
        EXPECT_EQ(File.Read("Options", C.Key).value_or("(missing)"), C.Kept);
        // No other key was touched.
        for (int K = 0; K < 5; ++K) {
            if (std::string(Keys[K]) != C.Key) {
                EXPECT_EQ(File.Read("Options", Keys[K]).value_or("(missing)"), Valid[K]) << Keys[K];
            }
        }
    }
}

TEST_F(OptionFileTest, ConfirmedOptionsAreWrittenInOrderAndComeBack) {
    Store("[Options]\n");
    TOptionsSection Chosen;
    Chosen.ThreadCount = 4;
    Chosen.AfterDone = 2;
    Chosen.ShowPreview = true;
    Chosen.Priority = 0;
    Chosen.OverwriteFile = true;
    WriteOptionsSection(File, Chosen);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"[Options]", "Thread_Count=4", "After_Done=2",
                                                 "Show_Preview=1", "Thread_Priority=0",
                                                 "Overwrite_File=0"}));
    const TOptionsSection Read = ReadOptionsSection(File);
    EXPECT_EQ(Read.ThreadCount, 4);
    EXPECT_EQ(Read.AfterDone, 2);
    EXPECT_TRUE(Read.ShowPreview);
    EXPECT_EQ(Read.Priority, 0);
    EXPECT_TRUE(Read.OverwriteFile);
}

TEST_F(OptionFileTest, OutputFolderRules) {
    Store("[OutPath]\nOutPath=Error\n");
    EXPECT_EQ(ReadOutPathSection(File), File.DefaultOutputFolder());
    EXPECT_EQ(File.Read("OutPath", "OutPath"), File.DefaultOutputFolder());
    EXPECT_TRUE(DirectoryExists(File.DefaultOutputFolder()));

    const std::string Missing = Folder.File("a/b/输出");
    Store("[OutPath]\nOutPath=" + Missing + "\n");
    const std::string Before = Text();
    EXPECT_EQ(ReadOutPathSection(File), Missing);
    EXPECT_TRUE(DirectoryExists(Missing));
    EXPECT_EQ(Text(), Before);

    // A folder that cannot be made gives way to the default, in the file too,
    // and the caller learns which one was refused.
    std::ofstream(Folder.File("plain")) << "x";
    for (const std::string& Uncreatable :
         {Folder.File("plain/out"), std::string("/proc/forbidden/out")}) {
        SCOPED_TRACE(Uncreatable);
        Store("[OutPath]\nOutPath=" + Uncreatable + "\n");
        std::string Refused = "stale";
        EXPECT_EQ(ReadOutPathSection(File, &Refused), File.DefaultOutputFolder());
        EXPECT_EQ(Refused, Uncreatable);
        EXPECT_EQ(File.Read("OutPath", "OutPath"), File.DefaultOutputFolder());
        EXPECT_FALSE(DirectoryExists(Uncreatable));
    }
    std::string Refused = "stale";
    EXPECT_EQ(ReadOutPathSection(File, &Refused), File.DefaultOutputFolder());
    EXPECT_EQ(Refused, "");

    // Only an existing folder is written; a Chinese one comes back unchanged.
    WriteOutPathSection(File, Folder.File("nowhere"));
    EXPECT_EQ(File.Read("OutPath", "OutPath"), File.DefaultOutputFolder());
    const std::string Chinese = Folder.File("视频 输出");
    ASSERT_TRUE(ForceDirectories(Chinese));
    WriteOutPathSection(File, Chinese);
    EXPECT_EQ(ReadOutPathSection(File), Chinese);
}

TEST_F(OptionFileTest, StoredSkin) {
    EXPECT_EQ(ReadSkinSection(File), std::nullopt);
    EXPECT_EQ(File.Read("Skin", "SetSkin"), "0");
    for (const char* Stored : {"0", "3", "10"}) {
        Store(std::string("[Skin]\nSetSkin=") + Stored + "\n");
        EXPECT_EQ(ReadSkinSection(File), std::stoi(Stored));
        EXPECT_EQ(File.Read("Skin", "SetSkin"), Stored);
    }
    // A value that is no integer or names no stored skin gives way to the
    // default, in the file too.
    for (const char* Stored : {"abc", "Error", "", "11", "99", "-1"}) {
        Store(std::string("[Skin]\nSetSkin=") + Stored + "\n");
        EXPECT_EQ(ReadSkinSection(File), 0) << Stored;
        EXPECT_EQ(File.Read("Skin", "SetSkin"), "0") << Stored;
    }
    WriteSkinSection(File, 7);
    EXPECT_EQ(File.Read("Skin", "SetSkin"), "7");
}

TEST_F(OptionFileTest, SnapshotFolderAndPicture) {
    EXPECT_EQ(ReadSnapshotFolder(File), File.DefaultSnapshotFolder());
    EXPECT_TRUE(DirectoryExists(File.DefaultSnapshotFolder()));
    EXPECT_EQ(File.Read("SnapShot", "Dir"), File.DefaultSnapshotFolder());
    WriteSnapshotFolder(File, Folder.File("none"));
    EXPECT_EQ(File.Read("SnapShot", "Dir"), File.DefaultSnapshotFolder());

    EXPECT_EQ(ReadSnapshotPicture(File), "BMP");
    for (const char* Type : {"JPG", "GIF", "PNG", "BMP"}) {
        WriteSnapshotPicture(File, Type);
        EXPECT_EQ(ReadSnapshotPicture(File), Type);
    }
    WriteSnapshotPicture(File, "TIFF");
    EXPECT_EQ(ReadSnapshotPicture(File), "BMP");
    EXPECT_EQ(File.Read("SnapShot", "Picture"), "BMP");
}

TEST_F(OptionFileTest, AnUnwritableFileIsAClearError) {
    // A folder in the file's place cannot be written, not even by root.
    ASSERT_EQ(mkdir(File.Path().c_str(), 0755), 0);
    EXPECT_FALSE(File.Exists());
    try {
        ReadOutPathSection(File);
        FAIL() << "no error";
    } catch (const Exception& E) {
        EXPECT_NE(std::string(E.what()).find("option.ini"), std::string::npos) << E.what();
    }
    EXPECT_THROW(ReadSkinSection(File), Exception);
    EXPECT_THROW(ReadOptionsSection(File), Exception);
}

TEST_F(OptionFileTest, WithoutAHomeTheProgramFolderHoldsTheDefaults) {
    UnsetEnvironmentVariable("HOME");
    EXPECT_EQ(File.DefaultOutputFolder(), Folder.Path() + "/Ostrela视频软件/输出");
    EXPECT_EQ(File.DefaultSnapshotFolder(), Folder.Path() + "/Ostrela视频软件/快照");
}
