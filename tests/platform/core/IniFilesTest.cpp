#include "platform/core/IniFiles.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StringLists.h"
#include "platform/core/Strings.h"
#include "tests/support/TempDir.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

std::string ReadAll(const std::string& FileName) {
    std::ifstream in(FileName, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& FileName, const std::string& Bytes) {
    std::ofstream(FileName, std::ios::binary) << Bytes;
}

std::vector<std::string> Lines(const TStrings& List) {
    std::vector<std::string> lines;
    for (int i = 0; i < List.Count(); ++i)
        lines.push_back(List.Strings(i));
    return lines;
}

std::vector<std::string> FileNamesIn(const std::string& Folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(Folder.c_str())) {
        while (dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.')
                names.emplace_back(entry->d_name);
        closedir(dir);
    }
    return names;
}

enum class TIniKind { File, Memory };

std::string KindName(const testing::TestParamInfo<TIniKind>& Info) {
    return Info.param == TIniKind::File ? "TIniFile" : "TMemIniFile";
}

} // namespace

// The rules both classes share, run once on each: the text starts in a file,
// and Saved() gives the text the object would leave in it.
class IniRules : public testing::TestWithParam<TIniKind> {
protected:
    std::unique_ptr<TCustomIniFile> Open(const std::string& Text) {
        WriteAll(FPath, Text);
        return Reopen();
    }
    std::unique_ptr<TCustomIniFile> Reopen() {
        if (GetParam() == TIniKind::File)
            return std::make_unique<TIniFile>(FPath);
        return std::make_unique<TMemIniFile>(FPath);
    }
    std::string Saved(TCustomIniFile& Ini) {
        Ini.UpdateFile();
        return ReadAll(FPath);
    }

    TTempDir FDir;
    std::string FPath = FDir.File("test.ini");
};

INSTANTIATE_TEST_SUITE_P(IniFiles, IniRules, testing::Values(TIniKind::File, TIniKind::Memory),
                         KindName);

TEST_P(IniRules, NamesCommentsEmptyAndRepeated) {
    auto ini = Open("; leading comment\r\n"
                    "[ Options ]\r\n"
                    "  Key One = value 1  \r\n"
                    ";Commented=no\r\n"
                    "   ; Indented=comment\r\n"
                    "KEY TWO=\r\n"
                    "Quoted=\"a b\"\r\n"
                    "a line without equals\r\n"
                    "[unterminated=1\r\n"
                    "[HeaderOnly]\r\n"
                    "[OverComment]\r\n"
                    "; nothing but a comment\r\n"
                    "\r\n"
                    "[Dup]\r\n"
                    "a=first\r\n"
                    "A=second\r\n"
                    "[dup]\r\n"
                    "a=third\r\n"
                    "b=only in the second\r\n");

    EXPECT_EQ(ini->ReadString("options", "key one", "d"), "value 1");
    EXPECT_EQ(ini->ReadString("OPTIONS", "Key Two", "d"), "");
    EXPECT_EQ(ini->ReadString("Options", "Missing", "d"), "d");
    EXPECT_EQ(ini->ReadString("Options", "Commented", "d"), "d");
    EXPECT_EQ(ini->ReadString("Options", "Indented", "d"), "d");
    EXPECT_EQ(ini->ReadString("Options", "Quoted", "d"), "\"a b\"");
    EXPECT_EQ(ini->ReadString("Options", "[unterminated", "d"), "d");
    EXPECT_EQ(ini->ReadString("Nowhere", "a", "d"), "d");
    EXPECT_TRUE(ini->ValueExists("Options", "KEY TWO"));
    EXPECT_FALSE(ini->ValueExists("Options", "Commented"));

    EXPECT_TRUE(ini->SectionExists("options"));
    EXPECT_FALSE(ini->SectionExists("HeaderOnly"));
    EXPECT_FALSE(ini->SectionExists("OverComment"));
    EXPECT_FALSE(ini->SectionExists("Nowhere"));

    // Of repeated keys and of repeated sections the first is read.
    EXPECT_EQ(ini->ReadString("DUP", "a", "d"), "first");
    EXPECT_EQ(ini->ReadString("Dup", "b", "d"), "d");
}

TEST_P(IniRules, NumbersAndBooleans) {
    struct Row {
        const char* Text;
        int Expected; // with the default 7
    };
    const Row rows[] = {{"0x1F", 31},
                        {"0X1f", 31},
                        {"$1F", 31},
                        {"1F", 7},
                        {"", 7},
                        {" -5 ", -5},
                        {"+12", 12},
                        {"99999999999", 7},
                        {"2147483647", 2147483647},
                        {"-2147483648", INT32_MIN},
                        {"1.5", 7},
                        {"abc", 7}};
    std::string text = "[N]\r\n";
    for (std::size_t i = 0; i < std::size(rows); ++i)
        text += "k" + std::to_string(i) + "=" + rows[i].Text + "\r\n";
    text += "two=2\r\nzero=0\r\nempty=\r\n";
    auto ini = Open(text);

    for (std::size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(ini->ReadInteger("N", "k" + std::to_string(i), 7), rows[i].Expected)
            << '"' << rows[i].Text << '"';
    EXPECT_EQ(ini->ReadInteger("N", "missing", 7), 7);

    EXPECT_TRUE(ini->ReadBool("N", "two", false));
    EXPECT_FALSE(ini->ReadBool("N", "zero", true));
    EXPECT_TRUE(ini->ReadBool("N", "empty", true));
    EXPECT_FALSE(ini->ReadBool("N", "empty", false));

    ini->WriteInteger("N", "neg", -42);
    ini->WriteBool("N", "yes", true);
    ini->WriteBool("N", "no", false);
    const std::string saved = Saved(*ini);
    EXPECT_NE(saved.find("neg=-42\r\nyes=1\r\nno=0\r\n"), std::string::npos) << saved;
}

TEST_P(IniRules, WritesKeepEverythingElseInPlace) {
    auto ini = Open("; keep me\r\n"
                    "[Options]\r\n"
                    "Thread_Count=4\r\n"
                    "; between keys\r\n"
                    "Foreign = kept as written \r\n"
                    "; trailing comment of Options\r\n"
                    "\r\n"
                    "\r\n"
                    "[Other]\r\n"
                    "x=1");
    ini->WriteString("options", "thread_count", "8");
    ini->WriteString("Options", "NewKey", "new");
    ini->WriteString("Added", "k", "v");
    ini->WriteString("Options", "  ", "a key without a name is not written");
    EXPECT_EQ(Saved(*ini), "; keep me\r\n"
                           "[Options]\r\n"
                           "Thread_Count=8\r\n"
                           "; between keys\r\n"
                           "Foreign = kept as written \r\n"
                           "NewKey=new\r\n"
                           "; trailing comment of Options\r\n"
                           "\r\n"
                           "\r\n"
                           "[Other]\r\n"
                           "x=1\r\n"
                           "\r\n"
                           "[Added]\r\n"
                           "k=v\r\n"
                           "\r\n");

    // A line break in a value cannot smuggle in a section or a key.
    ini->WriteString("Other", "x", "a\r\n[Evil]\r\ny=1");
    Saved(*ini);
    auto reread = Reopen();
    EXPECT_FALSE(reread->SectionExists("Evil"));
    EXPECT_EQ(reread->ReadString("Other", "y", "d"), "d");
    EXPECT_EQ(reread->ReadString("Other", "x", "d"), "a  [Evil]  y=1");
}

TEST_P(IniRules, ListsEraseAndDelete) {
    auto ini = Open("[B]\r\nz=1\r\ny=2\r\n;c=3\r\nZ=dup\r\n"
                    "[A]\r\nk=v\r\n"
                    "[C]\r\n"
                    "[b]\r\nw=4\r\n");
    TStringList list;
    list.Add("stale line");
    ini->ReadSections(list);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"B", "A", "C"}));
    ini->ReadSection("b", list);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"z", "y"}));
    ini->ReadSectionValues("B", list);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"z=1", "y=2"}));
    ini->ReadSection("Missing", list);
    EXPECT_EQ(list.Count(), 0);

    ini->DeleteKey("B", "z"); // both lines of the repeated key go
    EXPECT_FALSE(ini->ValueExists("B", "z"));
    EXPECT_EQ(ini->ReadString("B", "y", "d"), "2");
    ini->DeleteKey("B", "missing");
    ini->DeleteKey("Missing", "z");

    ini->EraseSection("b"); // every section of that name
    EXPECT_FALSE(ini->SectionExists("B"));
    ini->ReadSections(list);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(Saved(*ini), "[A]\r\nk=v\r\n\r\n[C]\r\n\r\n");
}

TEST_P(IniRules, ChineseValuesRoundTripByteForByte) {
    const std::string folder = "C:\\Ostrela视频软件\\输出";
    auto ini = Open("");
    ini->WriteString("OutPath", "Path", folder);
    ini->WriteString("皮肤", "名称", "默认");
    Saved(*ini);
    EXPECT_NE(ReadAll(FPath).find("Path=" + folder + "\r\n"), std::string::npos);
    EXPECT_EQ(ReadAll(FPath).substr(0, 3), "[Ou"); // no BOM

    auto reread = Reopen();
    EXPECT_EQ(reread->ReadString("OutPath", "Path", ""), folder);
    EXPECT_EQ(reread->ReadString("皮肤", "名称", ""), "默认");
}

TEST_P(IniRules, ByteOrderMarksAreHonoured) {
    const std::string text = "[S]\r\nk=视频\r\n";
    struct Row {
        const char* Name;
        std::string Bytes;
    };
    const Row rows[] = {{"UTF-8", "\xEF\xBB\xBF" + text},
                        {"UTF-16 LE", "\xFF\xFE" + Utf8ToUtf16Bytes(text, false)},
                        {"UTF-16 BE", "\xFE\xFF" + Utf8ToUtf16Bytes(text, true)},
                        {"UTF-16 LE, odd byte", "\xFF\xFE" + Utf8ToUtf16Bytes(text, false) + "x"}};
    for (const Row& row : rows) {
        auto ini = Open(row.Bytes);
        EXPECT_EQ(ini->ReadString("S", "k", "d"), "视频") << row.Name;
        // A rewrite is UTF-8 without a mark.
        ini->WriteString("S", "n", "1");
        EXPECT_EQ(Saved(*ini), "[S]\r\nk=视频\r\nn=1\r\n\r\n") << row.Name;
    }
}

TEST_P(IniRules, MalformedTextReadsWithoutError) {
    auto ini = Open("\0\xFF\xFE junk=1\r[S]\rk=v\r\x01\x02=\x03\r\x7F\x80=\x81\r[broken=1\r"
                    "no equals\n\xC3\x28=bad utf8\r\n[T]\r\rz=1"s);
    EXPECT_EQ(ini->ReadString("S", "k", "d"), "v");
    EXPECT_EQ(ini->ReadString("S", "\x7F\x80", "d"), "\x81");
    EXPECT_EQ(ini->ReadString("S", "\xC3\x28", "d"), "bad utf8");
    EXPECT_EQ(ini->ReadString("T", "z", "d"), "1");
    EXPECT_EQ(ini->ReadString("S", "junk", "d"), "d");
    EXPECT_EQ(ini->ReadString("S", "[broken", "d"), "d");
    // Nothing is lost on a rewrite, the undecodable bytes included.
    ini->WriteString("T", "z", "2");
    const std::string saved = Saved(*ini);
    EXPECT_EQ(saved.substr(0, 12), "\0\xFF\xFE junk=1\r\n"s);
    EXPECT_NE(saved.find("\xC3\x28=bad utf8\r\n"), std::string::npos);
}

TEST_P(IniRules, FirstStartKeepsSectionOrder) {
    std::remove(FPath.c_str());
    auto ini = Reopen();
    EXPECT_EQ(ini->ReadString("OutPath", "Path", "Error"), "Error");
    ini->WriteString("OutPath", "Path", "/home/user/视频");
    ini->WriteString("Skin", "SetSkin", "0");
    ini->WriteString("Options", "Thread_Count", "0");
    ini->WriteString("Options", "Priority", "2");
    TStringList sections;
    ini->ReadSections(sections);
    EXPECT_EQ(Lines(sections), (std::vector<std::string>{"OutPath", "Skin", "Options"}));
    EXPECT_EQ(Saved(*ini), "[OutPath]\r\nPath=/home/user/视频\r\n\r\n"
                           "[Skin]\r\nSetSkin=0\r\n\r\n"
                           "[Options]\r\nThread_Count=0\r\nPriority=2\r\n\r\n");
}

// ---- TIniFile only ---------------------------------------------------------

TEST(IniFile, MissingFileReadsDefaultsAndAWriteCreatesIt) {
    TTempDir dir;
    const std::string path = dir.File("option.ini");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("Options", "Thread_Count", "Error"), "Error");
    EXPECT_FALSE(ini.SectionExists("Options"));
    ini.DeleteKey("Options", "x");
    ini.EraseSection("Options");
    EXPECT_TRUE(FileNamesIn(dir.Path()).empty()) << "reads and no-op deletes create nothing";

    ini.WriteInteger("Options", "Thread_Count", 4);
    EXPECT_EQ(ReadAll(path), "[Options]\r\nThread_Count=4\r\n\r\n");
    EXPECT_EQ(FileNamesIn(dir.Path()), std::vector<std::string>{"option.ini"});
}

TEST(IniFile, SeesChangesMadeByOthers) {
    TTempDir dir;
    const std::string path = dir.File("skin.ini");
    WriteAll(path, "[S]\r\na=1\r\n");
    TIniFile reader(path);
    EXPECT_EQ(reader.ReadString("S", "a", "d"), "1");

    // Rewritten in place by somebody else.
    WriteAll(path, "[S]\r\na=22\r\n");
    EXPECT_EQ(reader.ReadString("S", "a", "d"), "22");

    // Written by another ini object (a new file replaces the old one).
    TIniFile writer(path);
    writer.WriteString("S", "b", "3");
    EXPECT_EQ(reader.ReadString("S", "b", "d"), "3");

    // A write of the reader starts from the current file, not from what it read.
    WriteAll(path, "[S]\r\na=333\r\n");
    reader.WriteString("S", "c", "4");
    EXPECT_EQ(ReadAll(path), "[S]\r\na=333\r\nc=4\r\n\r\n");

    std::remove(path.c_str());
    EXPECT_EQ(reader.ReadString("S", "a", "gone"), "gone");
}

TEST(IniFile, UnwritablePlacesRaiseAndLeaveTheOldFile) {
    TTempDir dir;
    WriteAll(dir.File("plain"), "x");
    for (const std::string& path : {dir.File("missing/option.ini"), dir.File("plain/option.ini")}) {
        TIniFile ini(path);
        try {
            ini.WriteString("S", "k", "v");
            FAIL() << "no error for " << path;
        } catch (const EIniFileException& e) {
            EXPECT_EQ(e.Message(), "Unable to write to " + path);
        }
    }

    // A write that fails half way (the file size limit works even for the
    // administrator) leaves the old file byte for byte, its mode kept, and
    // no temporary file behind.
    const std::string path = dir.File("option.ini");
    const std::string old = "; comment\r\n[S]\r\nk=old\r\n";
    WriteAll(path, old);
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    TIniFile ini(path);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(ini.WriteString("S", "k", std::string(4096, 'v')), EIniFileException);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(ini.ReadString("S", "k", "d"), "old");
    EXPECT_EQ(FileNamesIn(dir.Path()), (std::vector<std::string>{"option.ini", "plain"}));

    ini.WriteString("S", "k", "new");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

// ---- TMemIniFile only ------------------------------------------------------

TEST(MemIniFile, StringsInAndOut) {
    TMemIniFile ini;
    ini.WriteString("A", "x", "1");
    ini.WriteString("B", "y", "2");
    ini.WriteString("A", "z", "3");
    TStringList list;
    ini.GetStrings(list);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"[A]", "x=1", "z=3", "", "[B]", "y=2", ""}));

    TStringList text;
    text.SetText("; before any section\r\n[Skin]\r\n; about the skin\r\nName=默认\r\n"
                 "\r\n[Colors]\r\nText=0\r\n");
    ini.SetStrings(text);
    EXPECT_FALSE(ini.SectionExists("A"));
    EXPECT_EQ(ini.ReadString("skin", "name", ""), "默认");
    ini.GetStrings(list);
    EXPECT_EQ(Lines(list),
              (std::vector<std::string>{"; before any section", "[Skin]", "; about the skin",
                                        "Name=默认", "", "[Colors]", "Text=0", ""}));

    ini.Clear();
    ini.GetStrings(list);
    EXPECT_EQ(list.Count(), 0);
}

TEST(MemIniFile, UpdateFileWritesOnlyWhenAsked) {
    TTempDir dir;
    const std::string path = dir.File("skin.ini");
    WriteAll(path, "[S]\nk=1\n");
    TMemIniFile ini(path);
    ini.WriteString("S", "k", "2");
    EXPECT_EQ(ReadAll(path), "[S]\nk=1\n");
    ini.UpdateFile();
    EXPECT_EQ(ReadAll(path), "[S]\r\nk=2\r\n\r\n");

    TMemIniFile inMissingFolder(dir.File("missing/skin.ini"));
    inMissingFolder.WriteString("S", "k", "v");
    EXPECT_THROW(inMissingFolder.UpdateFile(), EIniFileException);

    TMemIniFile unnamed;
    EXPECT_THROW(unnamed.UpdateFile(), EIniFileException);

    // A folder where the file should be cannot be taken for an empty file.
    EXPECT_THROW(TMemIniFile{dir.Path()}, EFOpenError);
}
