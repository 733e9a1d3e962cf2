#include "platform/core/Paths.h"

#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <set>
#include <string>

namespace {

struct TPathCase {
    std::string Function;
    std::string Input;
    std::string Expected;
};

std::string Apply(const TPathCase& Case) {
    if (Case.Function == "ExtractFilePath")
        return ExtractFilePath(Case.Input);
    if (Case.Function == "ExtractFileDir")
        return ExtractFileDir(Case.Input);
    if (Case.Function == "ExtractFileName")
        return ExtractFileName(Case.Input);
    if (Case.Function == "ExtractFileExt")
        return ExtractFileExt(Case.Input);
    if (Case.Function == "ChangeFileExt")
        return ChangeFileExt(Case.Input, ".mp4");
    if (Case.Function == "Include")
        return IncludeTrailingPathDelimiter(Case.Input);
    if (Case.Function == "Exclude")
        return ExcludeTrailingPathDelimiter(Case.Input);
    if (Case.Function == "ExpandFileName")
        return ExpandFileName(Case.Input);
    return "unknown function " + Case.Function;
}

void WriteFile(const std::string& Name, const std::string& Text = "x") {
    std::ofstream(Name, std::ios::binary) << Text;
}

// Every entry FindFirst/FindNext reports for Path with Attr.
std::set<std::string> Find(const std::string& Path, int Attr) {
    std::set<std::string> names;
    TSearchRec rec;
    for (int result = FindFirst(Path, Attr, rec); result == 0; result = FindNext(rec))
        names.insert(rec.Name);
    FindClose(rec);
    return names;
}

} // namespace

TEST(Paths, PathRoutines) {
    const TPathCase cases[] = {
        {"ExtractFilePath", "/a/b/c.txt", "/a/b/"},
        {"ExtractFilePath", "c.txt", ""},
        {"ExtractFileDir", "/a/b/c.txt", "/a/b"},
        {"ExtractFileDir", "/c.txt", "/"},
        {"ExtractFileName", "/a/b/c.txt", "c.txt"},
        {"ExtractFileName", "/a/b/", ""},
        {"ExtractFileName", "视频.avi", "视频.avi"},
        {"ExtractFileExt", "/a/b.d/c", ""},
        {"ExtractFileExt", "c.tar.gz", ".gz"},
        {"ExtractFileExt", "/a/clip.AVI", ".AVI"},
        {"ChangeFileExt", "a.b.avi", "a.b.mp4"},
        {"ChangeFileExt", "/x.y/noext", "/x.y/noext.mp4"},
        {"ChangeFileExt", "clip.", "clip.mp4"},
        {"Include", "", "/"},
        {"Include", "/a", "/a/"},
        {"Include", "/a/", "/a/"},
        {"Exclude", "/a/", "/a"},
        {"Exclude", "/a", "/a"},
        {"ExpandFileName", "/a/./b/../c", "/a/c"},
        {"ExpandFileName", "/../a", "/a"},
        {"ExpandFileName", "/a/b/", "/a/b/"},
        {"ExpandFileName", "a/../b", IncludeTrailingPathDelimiter(GetCurrentDir()) + "b"},
    };
    for (const TPathCase& c : cases)
        EXPECT_EQ(Apply(c), c.Expected) << c.Function << "(\"" << c.Input << "\")";
}

TEST(Paths, ExistenceOfFilesLinksAndFolders) {
    TTempDir dir;
    WriteFile(dir.File("file"));
    ASSERT_EQ(::symlink(dir.File("file").c_str(), dir.File("link").c_str()), 0);
    ASSERT_EQ(::symlink(dir.File("missing").c_str(), dir.File("dangling").c_str()), 0);
    EXPECT_TRUE(FileExists(dir.File("file")));
    EXPECT_TRUE(FileExists(dir.File("link")));
    EXPECT_FALSE(FileExists(dir.File("dangling")));
    EXPECT_FALSE(FileExists(dir.Path()));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(DirectoryExists(dir.Path()));
    EXPECT_FALSE(DirectoryExists(dir.File("file")));
}

TEST(Paths, SameFileComparesIdentityNotSpelling) {
    TTempDir dir;
    WriteFile(dir.File("file"));
    WriteFile(dir.File("other"));
    ASSERT_EQ(::symlink(dir.File("file").c_str(), dir.File("link").c_str()), 0);
    ASSERT_EQ(::link(dir.File("file").c_str(), dir.File("hard").c_str()), 0);
    EXPECT_TRUE(SameFile(dir.File("file"), dir.Path() + "/./file"));
    EXPECT_TRUE(SameFile(dir.File("file"), dir.File("link")));
    EXPECT_TRUE(SameFile(dir.File("file"), dir.File("hard")));
    EXPECT_FALSE(SameFile(dir.File("file"), dir.File("other")));
    EXPECT_FALSE(SameFile(dir.File("missing"), dir.File("missing")));
    EXPECT_FALSE(SameFile("", ""));
}

TEST(Paths, ForceDirectoriesCreatesEveryMissingFolder) {
    TTempDir dir;
    EXPECT_TRUE(ForceDirectories(dir.File("a/b/c")));
    EXPECT_TRUE(DirectoryExists(dir.File("a/b/c")));
    EXPECT_TRUE(ForceDirectories(dir.File("a/b/c/")));
    WriteFile(dir.File("file"));
    EXPECT_FALSE(ForceDirectories(dir.File("file/sub/deeper")));
    EXPECT_FALSE(ForceDirectories(""));
}

TEST(Paths, FolderAndFileOperations) {
    TTempDir dir;
    EXPECT_TRUE(CreateDir(dir.File("d")));
    EXPECT_FALSE(CreateDir(dir.File("d")));
    WriteFile(dir.File("d/f"), "old");
    EXPECT_FALSE(RemoveDir(dir.File("d")));
    EXPECT_TRUE(RenameFile(dir.File("d/f"), dir.File("d/g")));
    EXPECT_FALSE(FileExists(dir.File("d/f")));
    // A rename never replaces an existing file.
    WriteFile(dir.File("d/h"), "new");
    EXPECT_FALSE(RenameFile(dir.File("d/h"), dir.File("d/g")));
    std::ifstream kept(dir.File("d/g"));
    std::string text;
    kept >> text;
    EXPECT_EQ(text, "old");
    EXPECT_TRUE(DeleteFile(dir.File("d/g")));
    EXPECT_TRUE(DeleteFile(dir.File("d/h")));
    EXPECT_FALSE(DeleteFile(dir.File("d/g")));
    EXPECT_FALSE(DeleteFile(dir.File("d")));
    EXPECT_TRUE(RemoveDir(dir.File("d")));
    EXPECT_FALSE(DirectoryExists(dir.File("d")));
}

TEST(Paths, ReplacingRenameSwapsInOneStepAndKeepsErrno) {
    TTempDir dir;
    WriteFile(dir.File("clip.part.avi"), "finished");
    WriteFile(dir.File("clip.avi"), "older");
    ASSERT_TRUE(RenameFileReplacing(dir.File("clip.part.avi"), dir.File("clip.avi")));
    std::ifstream in(dir.File("clip.avi"));
    std::string text;
    in >> text;
    EXPECT_EQ(text, "finished");
    EXPECT_FALSE(FileExists(dir.File("clip.part.avi")));
    // A missing source changes nothing and says why.
    errno = 0;
    EXPECT_FALSE(RenameFileReplacing(dir.File("gone.avi"), dir.File("clip.avi")));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_TRUE(FileExists(dir.File("clip.avi")));
}

TEST(Paths, CurrentFolderChangesAndComesBack) {
    TTempDir dir;
    std::string before = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(dir.Path()));
    char real[4096];
    ASSERT_NE(::realpath(dir.Path().c_str(), real), nullptr);
    EXPECT_EQ(GetCurrentDir(), real);
    EXPECT_EQ(ExpandFileName("x/../y.txt"), std::string(real) + "/y.txt");
    EXPECT_FALSE(SetCurrentDir(dir.File("missing")));
    ASSERT_TRUE(SetCurrentDir(before));
}

class FileSearch : public testing::Test {
protected:
    void SetUp() override {
        WriteFile(Dir.File("A.TXT"));
        WriteFile(Dir.File("b.txt"));
        WriteFile(Dir.File("c.doc"));
        WriteFile(Dir.File(".hidden.txt"));
        WriteFile(Dir.File("视频 片段.txt"));
        ASSERT_TRUE(CreateDir(Dir.File("sub.txt")));
        ASSERT_EQ(::mkfifo(Dir.File("pipe").c_str(), 0600), 0);
    }
    std::string Mask(const std::string& Mask) const { return Dir.File(Mask); }

    TTempDir Dir;
};

TEST_F(FileSearch, MaskIgnoresCaseAndAttributesFilterEntries) {
    using TNames = std::set<std::string>;
    EXPECT_EQ(Find(Mask("*.txt"), 0), (TNames{"A.TXT", "b.txt", "视频 片段.txt"}));
    EXPECT_EQ(Find(Mask("*.txt"), faDirectory),
              (TNames{"A.TXT", "b.txt", "视频 片段.txt", "sub.txt"}));
    EXPECT_EQ(Find(Mask("*.txt"), faHidden),
              (TNames{"A.TXT", "b.txt", "视频 片段.txt", ".hidden.txt"}));
    EXPECT_EQ(Find(Mask("*"), faArchive), (TNames{"A.TXT", "b.txt", "c.doc", "视频 片段.txt"}));
    EXPECT_EQ(Find(Mask("*"), faAnyFile),
              (TNames{".", "..", "A.TXT", "b.txt", "c.doc", ".hidden.txt", "视频 片段.txt",
                      "sub.txt", "pipe"}));
    EXPECT_EQ(Find(Mask("*.*"), faDirectory | faSysFile),
              (TNames{".", "..", "A.TXT", "b.txt", "c.doc", "视频 片段.txt", "sub.txt", "pipe"}));
    EXPECT_EQ(Find(Mask("视频*"), 0), (TNames{"视频 片段.txt"}));
}

TEST_F(FileSearch, RecordDescribesTheEntry) {
    TSearchRec rec;
    ASSERT_EQ(FindFirst(Mask("sub.txt"), faDirectory, rec), 0);
    EXPECT_EQ(rec.Name, "sub.txt");
    EXPECT_EQ(rec.Attr & (faDirectory | faArchive), faDirectory);
    EXPECT_EQ(FindNext(rec), ENOENT);
    FindClose(rec);
    FindClose(rec);

    ASSERT_EQ(FindFirst(Mask("pipe"), faSysFile, rec), 0);
    EXPECT_EQ(rec.Attr & faSysFile, faSysFile);
    FindClose(rec);

    ASSERT_EQ(::symlink(Dir.File("b.txt").c_str(), Dir.File("link.txt").c_str()), 0);
    ASSERT_EQ(FindFirst(Mask("link.txt"), 0, rec), 0);
    EXPECT_EQ(rec.Attr & (faSymLink | faArchive), faSymLink | faArchive);
    EXPECT_EQ(rec.Size, 1);
    EXPECT_GT(rec.TimeStamp, 40000.0); // after the year 2009
    FindClose(rec);
}

TEST_F(FileSearch, SizeOfASparseFileBeyond4GiB) {
    const std::int64_t size = 5LL << 30;
    int fd = ::open(Dir.File("big.bin").c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, size), 0);
    ::close(fd);
    TSearchRec rec;
    ASSERT_EQ(FindFirst(Mask("BIG.BIN"), faAnyFile, rec), 0);
    EXPECT_EQ(rec.Size, size);
    FindClose(rec);
}

// Brackets are common in media file names; a search names them literally.
TEST_F(FileSearch, BracketsInANameStandForThemselves) {
    using TNames = std::set<std::string>;
    WriteFile(Dir.File("[HD] clip.avi"));
    WriteFile(Dir.File("H clip.avi"));
    WriteFile(Dir.File("clip[1.avi"));
    EXPECT_EQ(Find(Mask("[HD] clip.avi"), 0), (TNames{"[HD] clip.avi"}));
    EXPECT_EQ(Find(Mask("[hd]*"), 0), (TNames{"[HD] clip.avi"}));
    EXPECT_EQ(Find(Mask("clip[1.avi"), 0), (TNames{"clip[1.avi"}));
    EXPECT_EQ(Find(Mask("*[*"), 0), (TNames{"[HD] clip.avi", "clip[1.avi"}));
}

TEST_F(FileSearch, NothingFoundAnswersTheSystemsError) {
    TSearchRec rec;
    EXPECT_EQ(FindFirst(Mask("*.avi"), faAnyFile, rec), ENOENT);
    EXPECT_EQ(FindFirst(Dir.File("missing/*"), faAnyFile, rec), ENOENT);
    EXPECT_EQ(FindFirst(Dir.File("A.TXT/*"), faAnyFile, rec), ENOTDIR);
    EXPECT_NE(FindNext(rec), 0);
    FindClose(rec);
}

TEST(Paths, RootHasNoDotEntries) {
    std::set<std::string> names = Find("/*", faAnyFile);
    EXPECT_FALSE(names.empty());
    EXPECT_EQ(names.count("."), 0u);
    EXPECT_EQ(names.count(".."), 0u);
}

// A file system may hold times that the calendar of TDateTime (years 1 to
// 9999) cannot; such a file is still listed, with a time stamp of 0, and the
// search goes on. ext4 cannot store such a time, tmpfs can.
TEST(Paths, FileTimeBeyondTheCalendarDoesNotStopTheSearch) {
    char folder[] = "/dev/shm/ostrela-core-XXXXXX";
    if (::mkdtemp(folder) == nullptr)
        GTEST_SKIP() << "no tmpfs at /dev/shm";
    const std::string path = std::string(folder) + "/";
    WriteFile(path + "far.txt");
    WriteFile(path + "near.txt");
    const timespec times[2] = {{0, UTIME_OMIT}, {400000000000, 0}}; // year 14645
    struct stat info {};
    const bool stored = ::utimensat(AT_FDCWD, (path + "far.txt").c_str(), times, 0) == 0 &&
                        ::stat((path + "far.txt").c_str(), &info) == 0 &&
                        info.st_mtim.tv_sec == times[1].tv_sec;
    std::set<std::string> names;
    TDateTime farStamp = -1;
    if (stored) {
        TSearchRec rec;
        try {
            for (int result = FindFirst(path + "*.txt", 0, rec); result == 0;
                 result = FindNext(rec)) {
                names.insert(rec.Name);
                if (rec.Name == "far.txt")
                    farStamp = rec.TimeStamp;
            }
        } catch (const std::exception& E) {
            ADD_FAILURE() << "the search raised: " << E.what();
        }
        FindClose(rec);
    }
    ::unlink((path + "far.txt").c_str());
    ::unlink((path + "near.txt").c_str());
    ::rmdir(folder);
    if (!stored)
        GTEST_SKIP() << "this file system cannot store the time";
    EXPECT_EQ(names, (std::set<std::string>{"far.txt", "near.txt"}));
    EXPECT_EQ(farStamp, 0.0);
}
