#include "platform/core/StringLists.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Streams.h"
#include "platform/core/Strings.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const TStrings& List) {
    std::vector<std::string> Result;
    for (int I = 0; I < List.Count(); ++I)
        Result.push_back(List.Strings(I));
    return Result;
}

using TLines = std::vector<std::string>;

TEST(StringListsTest, TextSplitsAtEveryLineBreakAndJoinsWithCrLf) {
    struct TCase {
        std::string Text;
        TLines Expected;
    } Cases[] = {
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a"}},
        {"", {}},
        {"\r\n", {""}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\r\r\n", {"a", ""}},
        {"中文\n视频", {"中文", "视频"}},
    };
    TStringList List;
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Text);
        List.SetText(Case.Text);
        EXPECT_EQ(Lines(List), Case.Expected);
    }
    List.SetText("a\nb\rc");
    EXPECT_EQ(List.Text(), "a\r\nb\r\nc\r\n");
    List.Clear();
    EXPECT_EQ(List.Text(), "");
}

TEST(StringListsTest, EditingLinesAndObjects) {
    TObject One, Two;
    TStringList List;
    List.Add("a");
    EXPECT_EQ(List.AddObject("b", &One), 1);
    List.InsertObject(0, "z", &Two);
    EXPECT_EQ(Lines(List), (TLines{"z", "a", "b"}));
    EXPECT_EQ(List.Objects(0), &Two);
    EXPECT_EQ(List.IndexOfObject(&One), 2);

    List.Move(0, 2);
    EXPECT_EQ(Lines(List), (TLines{"a", "b", "z"}));
    EXPECT_EQ(List.Objects(2), &Two);
    List.Exchange(0, 1);
    EXPECT_EQ(Lines(List), (TLines{"b", "a", "z"}));
    EXPECT_EQ(List.Objects(0), &One);
    List.SetStrings(1, "A");
    List.SetObjects(1, &One);
    List.Delete(2);
    EXPECT_EQ(Lines(List), (TLines{"b", "A"}));

    TStringList Copy;
    Copy.Add("old");
    Copy.Assign(&List);
    EXPECT_EQ(Lines(Copy), (TLines{"b", "A"}));
    EXPECT_EQ(Copy.Objects(1), &One);
    Copy.AddStrings(&List);
    EXPECT_EQ(Copy.Count(), 4);

    for (auto Action : std::vector<std::function<void()>>{
             [&] { List.Strings(2); }, [&] { List.Delete(-1); }, [&] { List.Insert(3, "x"); },
             [&] { List.SetObjects(2, nullptr); }, [&] { List.Exchange(0, 2); }}) {
        EXPECT_THROW(Action(), EListError);
    }
    try {
        List.Strings(7);
    } catch (const EListError& E) {
        EXPECT_EQ(E.Message(), "List index out of bounds (7)");
    }
    TPersistent Other;
    EXPECT_THROW(List.Assign(&Other), EConvertError);
}

TEST(StringListsTest, IndexOfIgnoresAsciiCaseUnlessCaseSensitive) {
    TStringList List;
    List.SetText("Arial\nTahoma\nÄpfel");
    EXPECT_EQ(List.IndexOf("TAHOMA"), 1);
    EXPECT_EQ(List.IndexOf("äpfel"), -1); // only ASCII folds
    EXPECT_EQ(List.IndexOf("Verdana"), -1);
    List.SetCaseSensitive(true);
    EXPECT_EQ(List.IndexOf("TAHOMA"), -1);
    EXPECT_EQ(List.IndexOf("Tahoma"), 1);
}

TEST(StringListsTest, NamesAndValues) {
    TStringList List;
    List.SetText("MI_MINCAPTION=Mi&nimize\nA=b=c\nnoequals\n=empty name\nKey=");
    EXPECT_EQ(List.IndexOfName("mi_mincaption"), 0);
    EXPECT_EQ(List.Values("mi_mincaption"), "Mi&nimize");
    EXPECT_EQ(List.Values("a"), "b=c");
    EXPECT_EQ(List.Names(1), "A");
    EXPECT_EQ(List.Names(2), "");
    EXPECT_EQ(List.IndexOfName("noequals"), -1);
    EXPECT_EQ(List.IndexOfName(""), 3);
    EXPECT_EQ(List.IndexOfName("key"), 4);
    EXPECT_EQ(List.Values("key"), "");
    EXPECT_EQ(List.Values("missing"), "");

    List.SetValues("a", "x");
    EXPECT_EQ(List.Strings(1), "a=x");
    List.SetValues("New", "1");
    EXPECT_EQ(List.Strings(List.Count() - 1), "New=1");
    List.SetValues("MI_MINCAPTION", "");
    EXPECT_EQ(List.IndexOfName("mi_mincaption"), -1);
    EXPECT_EQ(List.Count(), 5);
    List.SetValues("absent", ""); // nothing to delete, nothing added
    EXPECT_EQ(List.Count(), 5);

    List.SetNameValueSeparator(':');
    List.Add("Host: x");
    EXPECT_EQ(List.Values("host"), " x");
}

TEST(StringListsTest, SortedListsKeepOrderAndApplyDuplicates) {
    struct TCase {
        TDuplicates Duplicates;
        bool Raises;
        TLines Expected;
    } Cases[] = {
        {dupIgnore, false, {"apple", "Banana", "cherry"}},
        {dupAccept, false, {"apple", "banana", "Banana", "cherry"}},
        {dupError, true, {"apple", "Banana", "cherry"}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(static_cast<int>(Case.Duplicates));
        TStringList List;
        List.SetDuplicates(Case.Duplicates);
        List.SetSorted(true);
        List.Add("cherry");
        List.Add("Banana");
        EXPECT_EQ(List.Add("apple"), 0);
        if (Case.Raises) {
            try {
                List.Add("banana");
                ADD_FAILURE() << "no duplicate error";
            } catch (const EListError& E) {
                EXPECT_EQ(E.Message(), "String list does not allow duplicates");
            }
        } else {
            EXPECT_EQ(List.Add("banana"), 1);
        }
        EXPECT_EQ(Lines(List), Case.Expected);
        int Index = -1;
        EXPECT_TRUE(List.Find("BANANA", Index));
        EXPECT_EQ(Index, 1);
        EXPECT_FALSE(List.Find("blueberry", Index));
        EXPECT_EQ(Index, Case.Expected.size() == 4 ? 3 : 2);
    }

    TStringList List;
    List.SetText("b\na");
    List.SetSorted(true);
    EXPECT_EQ(Lines(List), (TLines{"a", "b"}));
    for (auto Action : std::vector<std::function<void()>>{[&] { List.Insert(0, "c"); },
                                                          [&] { List.SetStrings(0, "c"); }}) {
        try {
            Action();
            ADD_FAILURE() << "no sorted-list error";
        } catch (const EListError& E) {
            EXPECT_EQ(E.Message(), "Operation not allowed on sorted list");
        }
    }
    // Changing a value moves the line to its place.
    List.SetText("b=1\nc=2");
    List.SetValues("c", "0");
    List.Add("a=9");
    EXPECT_EQ(Lines(List), (TLines{"a=9", "b=1", "c=0"}));
    List.SetValues("a", "10");
    EXPECT_EQ(Lines(List), (TLines{"a=10", "b=1", "c=0"}));
}

TEST(StringListsTest, SortingByCaseAndCustomOrder) {
    TStringList List;
    List.SetText("b\nB\na\nA\nc");
    List.Sort();
    // Case ignored; lines equal but for case keep their order.
    EXPECT_EQ(Lines(List), (TLines{"a", "A", "b", "B", "c"}));
    List.SetCaseSensitive(true);
    List.Sort();
    EXPECT_EQ(Lines(List), (TLines{"A", "B", "a", "b", "c"}));

    TObject Tag;
    List.SetText("10\n9\n100");
    List.SetObjects(1, &Tag);
    List.CustomSort([](TStringList* L, int I1, int I2) {
        return std::stoi(L->Strings(I1)) - std::stoi(L->Strings(I2));
    });
    EXPECT_EQ(Lines(List), (TLines{"9", "10", "100"}));
    EXPECT_EQ(List.Objects(0), &Tag);
}

// A change that is refused, by the list or by an OnChanging handler that
// raises, leaves every line where it was.
TEST(StringListsTest, RefusedChangesLoseNoLine) {
    TStringList Sorted;
    Sorted.SetSorted(true);
    Sorted.SetText("a\nb\nc");
    try {
        Sorted.Move(0, 2);
        FAIL() << "a sorted list cannot move a line";
    } catch (const EListError& E) {
        EXPECT_STREQ(E.what(), "Operation not allowed on sorted list");
    }
    EXPECT_EQ(Lines(Sorted), (TLines{"a", "b", "c"}));

    TStringList List;
    List.SetText("c\nb\na");
    List.OnChanging = [](TObject*) { throw EInvalidOperation("refused"); };
    EXPECT_THROW(List.CustomSort([](TStringList* L, int I1, int I2) {
        return CompareStr(L->Strings(I1), L->Strings(I2));
    }),
                 EInvalidOperation);
    EXPECT_EQ(Lines(List), (TLines{"c", "b", "a"}));
}

class TChangeCounter {
public:
    explicit TChangeCounter(TStringList& List) {
        List.OnChanging = TNotifyEvent(this, &TChangeCounter::ListChanging);
        List.OnChange = TNotifyEvent(this, &TChangeCounter::ListChange);
    }
    void ListChanging(TObject*) { Log += "<"; }
    void ListChange(TObject*) { Log += ">"; }
    std::string Log;
};

TEST(StringListsTest, ChangeEventsOncePerChangeOrUpdate) {
    TStringList List;
    TChangeCounter Counter(List);
    List.Add("a");
    List.Delete(0);
    EXPECT_EQ(Counter.Log, "<><>");

    Counter.Log.clear();
    List.BeginUpdate();
    List.BeginUpdate();
    List.Add("a");
    List.Add("b");
    List.EndUpdate();
    List.SetText("x\ny\nz");
    EXPECT_EQ(Counter.Log, "<");
    List.EndUpdate();
    EXPECT_EQ(Counter.Log, "<>");

    TStringList Source;
    Source.SetText("1\n2\n3");
    Counter.Log.clear();
    List.Assign(&Source);
    EXPECT_EQ(Counter.Log, "<>");
    Counter.Log.clear();
    List.SetText("p\nq");
    EXPECT_EQ(Counter.Log, "<>");
}

// The smallest TStrings, as a control's lines would be: only the core is
// its own, everything else comes from the base.
class TPlainLines : public TStrings {
public:
    int Count() const override { return static_cast<int>(FLines.size()); }
    std::string Strings(int Index) const override { return FLines.at(Index); }
    void Insert(int Index, const std::string& S) override {
        FLines.insert(FLines.begin() + Index, S);
    }
    void Delete(int Index) override { FLines.erase(FLines.begin() + Index); }
    void Clear() override { FLines.clear(); }

private:
    std::vector<std::string> FLines;
};

TEST(StringListsTest, BaseClassServesAnyLines) {
    TPlainLines Plain;
    Plain.SetText("Title=Clip\r\nSize=7\nnote");
    EXPECT_EQ(Plain.Values("size"), "7");
    Plain.SetValues("Title", "Other");
    Plain.SetValues("Size", "");
    Plain.SetValues("Extra", "1");
    EXPECT_EQ(Lines(Plain), (TLines{"Title=Other", "note", "Extra=1"}));
    Plain.Exchange(0, 2);
    Plain.Move(0, 1);
    EXPECT_EQ(Lines(Plain), (TLines{"note", "Extra=1", "Title=Other"}));
    EXPECT_EQ(Plain.IndexOf("NOTE"), 0);
    EXPECT_EQ(Plain.Text(), "note\r\nExtra=1\r\nTitle=Other\r\n");

    TStringList Sorted;
    Sorted.SetSorted(true);
    Sorted.Assign(&Plain);
    EXPECT_EQ(Lines(Sorted), (TLines{"Extra=1", "note", "Title=Other"}));
    Plain.Assign(&Sorted);
    EXPECT_EQ(Lines(Plain), Lines(Sorted));
}

std::string Utf16(const std::u16string& Text, bool BigEndian) {
    std::string Bytes;
    for (char16_t C : Text) {
        char Hi = static_cast<char>(C >> 8), Lo = static_cast<char>(C & 0xFF);
        Bytes += BigEndian ? Hi : Lo;
        Bytes += BigEndian ? Lo : Hi;
    }
    return Bytes;
}

TEST(StringListsTest, LoadFromStreamHonoursBomsAndKeepsEveryByte) {
    struct TCase {
        const char* Name;
        std::string Bytes;
        TLines Expected;
    } Cases[] = {
        {"UTF-8 BOM",
         "\xEF\xBB\xBF"
         "a=1\r\n视频",
         {"a=1", "视频"}},
        {"UTF-16 LE BOM", "\xFF\xFE" + Utf16(u"中文\r\nb", false), {"中文", "b"}},
        {"UTF-16 BE BOM", "\xFE\xFF" + Utf16(u"中文\nb", true), {"中文", "b"}},
        {"no BOM, Chinese", "输出\n文件夹", {"输出", "文件夹"}},
        {"invalid UTF-8 kept", "a\xFF\xC3(\nb\x80", {"a\xFF\xC3(", "b\x80"}},
        {"odd UTF-16 byte dropped", "\xFF\xFE" + Utf16(u"ab", false) + "c", {"ab"}},
        {"BOM only", "\xEF\xBB\xBF", {}},
        {"empty stream", "", {}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TStringStream Stream(Case.Bytes);
        TStringList List;
        List.Add("stale");
        List.LoadFromStream(Stream);
        EXPECT_EQ(Lines(List), Case.Expected);
    }
}

TEST(StringListsTest, LoadFromStreamStartsAtThePosition) {
    TStringStream Stream("skip\xEF\xBB\xBFkept\n");
    Stream.SetPosition(4);
    TStringList List;
    List.LoadFromStream(Stream);
    EXPECT_EQ(Lines(List), TLines{"kept"});
}

TEST(StringListsTest, SaveWritesUtf8WithoutBomAndCrLf) {
    TStringList List;
    List.SetText("中文\nb\xFF");
    TStringStream Stream;
    List.SaveToStream(Stream);
    EXPECT_EQ(Stream.DataString(), "中文\r\nb\xFF\r\n");

    TTempDir Dir;
    const std::string Name = Dir.File("列表.txt");
    List.SaveToFile(Name);
    TStringList Loaded;
    Loaded.LoadFromFile(Name);
    EXPECT_EQ(Lines(Loaded), Lines(List));

    Loaded.Add("kept");
    EXPECT_THROW(Loaded.LoadFromFile(Dir.File("missing.txt")), EFOpenError);
    EXPECT_EQ(Loaded.Count(), 3);
}

} // namespace

// A save that cannot finish (here: the file-size limit) must leave the file
// that was there before whole, not truncated.
TEST(StringLists, FailedSaveKeepsTheOldFile) {
    TTempDir dir;
    const std::string path = dir.File("list.txt");
    TStringList old;
    old.Add("keep me");
    old.SaveToFile(path);

    TStringList big;
    big.Add(std::string(8192, 'x'));
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(big.SaveToFile(path), EFCreateError);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    std::stringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    EXPECT_EQ(content.str(), "keep me\r\n");
}
