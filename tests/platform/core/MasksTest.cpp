#include "platform/core/Masks.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Masks, MatchesWildcardsWithoutRegardToCase) {
    struct TRow {
        const char* Name;
        const char* Mask;
        bool Matches;
    };
    const std::vector<TRow> rows = {
        {"clip.avi", "*.AVI", true},
        {"CLIP.AVI", "*.avi", true},
        {"clip.avi.txt", "*.avi", false},
        {"README", "*.*", true},
        {"a.b", "*.*", true},
        {"b.txt", "[a-c]*", true},
        {"B.txt", "[a-c]*", true},
        {"d.txt", "[a-c]*", false},
        {"d.txt", "[!a-c]*", true},
        {"a.txt", "[!a]*", false},
        {"abc", "a?c", true},
        {"ac", "a?c", false},
        {"视频.mp4", "??.mp4", true},
        {"视频.MP4", "视*.mp4", true},
        {"", "*", true},
        {"", "?", false},
        {"aaa", "a*a*a", true},
        {"aa", "a*a*a", false},
        {"x-y", "x[-]y", true},
        {"a]", "a]", true},
        {"abcabd", "*abd", true},
    };
    for (const TRow& row : rows)
        EXPECT_EQ(MatchesMask(row.Name, row.Mask), row.Matches) << row.Name << " ~ " << row.Mask;
}

TEST(Masks, UnclosedBracketRaisesWithItsPosition) {
    struct TRow {
        const char* Mask;
        const char* Message;
    };
    const std::vector<TRow> rows = {
        {"[abc", "'[abc' is an invalid mask at (1)"},
        {"中*.[a", "'中*.[a' is an invalid mask at (4)"},
        {"a[!", "'a[!' is an invalid mask at (2)"},
    };
    for (const TRow& row : rows) {
        try {
            MatchesMask("abc", row.Mask);
            ADD_FAILURE() << row.Mask << " did not raise";
        } catch (const EMaskException& e) {
            EXPECT_EQ(e.Message(), row.Message);
        }
    }
}
