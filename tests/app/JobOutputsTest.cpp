// Partial and final output names on real files: a final name is free of
// other rows' outputs, of inputs, of partial files and (unless overwriting)
// of existing files;
// only the move of a finished job's partial file takes it.
#include "app/JobOutputs.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

void Write(const std::string& Path, const std::string& Text) {
    std::ofstream(Path) << Text;
}

std::string Read(const std::string& Path) {
    std::ifstream In(Path);
    std::string Text;
    std::getline(In, Text);
    return Text;
}

} // namespace

TEST(JobOutputs, PartialNamesKeepTheExtensionLast) {
    EXPECT_EQ(PartialOutputPath("/out/clip.avi"), "/out/clip.part.avi");
    EXPECT_EQ(PartialOutputPath("/out/my.clip.mp4"), "/out/my.clip.part.mp4");
    EXPECT_EQ(PartialOutputPath("/out.d/clip"), "/out.d/clip.part");
    EXPECT_EQ(PartialOutputPath("/out/视频 1.mkv"), "/out/视频 1.part.mkv");
}

TEST(JobOutputs, AFinalNameIsFreeOfRowsInputsPartialFilesAndUnlessOverwritingFiles) {
    TTempDir Dir;
    const std::string F = Dir.Path();
    struct {
        const char* Case;
        std::vector<std::string> OnDisk;
        std::vector<std::string> Rows;   // the other rows' final names
        std::vector<std::string> Inputs; // the job list's inputs
        bool Overwrite;
        std::string FileName;
        std::string Expected;
    } Cases[] = {
        {"nothing there", {}, {}, {}, false, "a.avi", "a.avi"},
        {"another row holds it", {}, {"a.avi"}, {}, false, "a.avi", "a_1.avi"},
        {"another row holds it, overwriting", {}, {"a.avi"}, {}, true, "a.avi", "a_1.avi"},
        {"a file holds it", {"a.avi"}, {}, {}, false, "a.avi", "a_1.avi"},
        {"a file holds it, overwriting", {"a.avi"}, {}, {}, true, "a.avi", "a.avi"},
        {"a kept partial file holds it", {"a.part.avi"}, {}, {}, true, "a.avi", "a_1.avi"},
        {"files and rows up to _2",
         {"a.avi", "a_1.part.avi"},
         {"a_2.avi"},
         {},
         false,
         "a.avi",
         "a_3.avi"},
        {"a folder of that name", {"a.avi/"}, {}, {}, true, "a.avi", "a_1.avi"},
        {"an input, overwriting", {"a.avi"}, {}, {"a.avi"}, true, "a.avi", "a_1.avi"},
        {"an input spelt otherwise, overwriting",
         {"a.avi"},
         {},
         {"./a.avi"},
         true,
         "a.avi",
         "a_1.avi"},
        {"an input reached through a link, overwriting",
         {"a.avi", "b.avi@a.avi"},
         {},
         {"b.avi"},
         true,
         "a.avi",
         "a_1.avi"},
        {"another row's live partial file, overwriting",
         {"x.part.avi"},
         {"x.avi"},
         {},
         true,
         "x.part.avi",
         "x.part_1.avi"},
        {"another row's partial name before it exists",
         {},
         {"x.avi"},
         {},
         false,
         "x.part.avi",
         "x.part_1.avi"},
        {"the partial name is another row's final",
         {},
         {"x.part.avi"},
         {},
         true,
         "x.avi",
         "x_1.avi"},
        {"the partial name is an input",
         {"x.part.avi"},
         {},
         {"x.part.avi"},
         true,
         "x.avi",
         "x_1.avi"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Case);
        std::filesystem::remove_all(F);
        std::filesystem::create_directories(F);
        for (const std::string& Name : C.OnDisk) {
            if (Name.back() == '/')
                std::filesystem::create_directories(F + "/" + Name);
            else if (const auto At = Name.find('@'); At != std::string::npos)
                std::filesystem::create_symlink(Name.substr(At + 1), F + "/" + Name.substr(0, At));
            else
                Write(F + "/" + Name, "old");
        }
        TTakenNames Taken;
        for (const std::string& Name : C.Rows)
            Taken.Outputs.push_back(F + "/" + Name);
        for (const std::string& Name : C.Inputs)
            Taken.Inputs.push_back(F + "/" + Name);
        EXPECT_EQ(ResolveOutputName(F, C.FileName, C.Overwrite, Taken), F + "/" + C.Expected);
    }
}

TEST(JobOutputs, TheMoveReplacesOnlyWhenOverwritingAndElseTakesTheNextName) {
    TTempDir Dir;
    const std::string Final = Dir.File("a.avi");
    std::string Placed, Error;

    // Nothing there: the partial file becomes the final one.
    Write(PartialOutputPath(Final), "run 1");
    ASSERT_TRUE(MovePartialIntoPlace(Final, false, {}, Placed, Error)) << Error;
    EXPECT_EQ(Placed, Final);
    EXPECT_EQ(Read(Final), "run 1");
    EXPECT_FALSE(std::filesystem::exists(PartialOutputPath(Final)));

    // A file appeared meanwhile: it is kept, the output goes to "_1" (a row
    // already naming "_1" pushes it on to "_2").
    Write(PartialOutputPath(Final), "run 2");
    ASSERT_TRUE(MovePartialIntoPlace(Final, false, {{Dir.File("a_1.avi")}, {}}, Placed, Error));
    EXPECT_EQ(Placed, Dir.File("a_2.avi"));
    EXPECT_EQ(Read(Final), "run 1");
    EXPECT_EQ(Read(Placed), "run 2");

    // Overwriting: replaced whole in one step.
    Write(PartialOutputPath(Final), "run 3");
    ASSERT_TRUE(MovePartialIntoPlace(Final, true, {}, Placed, Error));
    EXPECT_EQ(Placed, Final);
    EXPECT_EQ(Read(Final), "run 3");

    // Overwriting never replaces an input, nor another row's live work: the
    // output takes the next free name instead.
    const std::string Live = PartialOutputPath(Dir.File("b.avi"));
    Write(Live, "live");
    for (const TTakenNames& Taken :
         {TTakenNames{{}, {Final}}, TTakenNames{{Dir.File("b.avi")}, {}}}) {
        const std::string Target = Taken.Inputs.empty() ? Live : Final;
        const std::string Kept = Read(Target);
        Write(PartialOutputPath(Target), "run 4");
        ASSERT_TRUE(MovePartialIntoPlace(Target, true, Taken, Placed, Error)) << Error;
        EXPECT_NE(Placed, Target);
        EXPECT_EQ(Read(Target), Kept);
        EXPECT_EQ(Read(Placed), "run 4");
    }
}

TEST(JobOutputs, AFailedMoveKeepsThePartialFileAndSaysWhy) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "a read-only folder does not stop root";
    TTempDir Dir;
    const std::string Folder = Dir.File("out");
    std::filesystem::create_directories(Folder);
    const std::string Final = Folder + "/a.avi";
    Write(PartialOutputPath(Final), "work");
    ::chmod(Folder.c_str(), 0555);
    for (bool Overwrite : {false, true}) {
        std::string Placed, Error;
        EXPECT_FALSE(MovePartialIntoPlace(Final, Overwrite, {}, Placed, Error));
        EXPECT_FALSE(Error.empty());
        EXPECT_EQ(Read(PartialOutputPath(Final)), "work");
        EXPECT_FALSE(std::filesystem::exists(Final));
    }
    ::chmod(Folder.c_str(), 0755);
}

TEST(JobOutputs, AMissingPartialFileOrAFolderInTheWayIsAnError) {
    TTempDir Dir;
    std::string Placed, Error;
    EXPECT_FALSE(MovePartialIntoPlace(Dir.File("a.avi"), false, {}, Placed, Error));
    EXPECT_FALSE(Error.empty());
    EXPECT_FALSE(MovePartialIntoPlace(Dir.File("a.avi"), true, {}, Placed, Error));
    EXPECT_FALSE(std::filesystem::exists(Dir.File("a.avi")));
    // Even overwriting never replaces a folder; the work stays (this fails
    // for root too).
    std::filesystem::create_directories(Dir.File("b.avi/inside"));
    Write(Dir.File("b.part.avi"), "work");
    Error.clear();
    EXPECT_FALSE(MovePartialIntoPlace(Dir.File("b.avi"), true, {}, Placed, Error));
    EXPECT_FALSE(Error.empty());
    EXPECT_EQ(Read(Dir.File("b.part.avi")), "work");
}
