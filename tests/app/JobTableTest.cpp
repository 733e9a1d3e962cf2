// Cell texts of the job table, the log memo's lines and the job slots.
#include "app/JobSlots.h"
#include "app/Unit1.h"
#include "tests/support/CommaLocale.h"

#include <gtest/gtest.h>

#include <string>

TEST(JobTableTexts, SecToDate) {
    const std::pair<int, const char*> Cases[] = {
        {0, "00:00:00"},     {59, "00:00:59"}, {3725, "01:02:05"}, {86400, "00:00:00"},
        {90000, "01:00:00"}, {-1, "00:00:00"}, {-3725, "00:00:00"}};
    for (auto [Sec, Text] : Cases)
        EXPECT_EQ(SecToDate(Sec), Text) << Sec;
}

TEST(JobTableTexts, MegabytesAreTheSameUnderEveryLocale) {
    const std::pair<std::int64_t, const char*> Cases[] = {
        {1572864, "1.5MB"}, {1048576, "1MB"}, {10485, "0.01MB"},
        {5242, "0MB"},      {0, "0MB"},       {5368709120LL, "5120MB"}};
    for (auto [Bytes, Text] : Cases)
        EXPECT_EQ(MegabyteText(Bytes), Text) << Bytes;
    TCommaNumericLocale Comma;
    if (!Comma.Active())
        GTEST_SKIP() << "no locale with a decimal comma could be had";
    for (auto [Bytes, Text] : Cases)
        EXPECT_EQ(MegabyteText(Bytes), Text) << Bytes << " under a decimal comma";
}

TEST(JobTableTexts, LogMemoLines) {
    EXPECT_EQ(LogMemoText(52, llError, "x"), "#52.3: x");
    EXPECT_EQ(LogMemoText(0, llQuiet, ""), "#0.0: ");
    EXPECT_EQ(LogMemoText(7, llInfo, "a\nb"), "#7.5: a\nb");
    EXPECT_EQ(LogMemoText(4000000000U, llDebug, "z"), "#4000000000.7: z");
}

namespace {

TOutputOptions OutputNamed(const std::string& Name, const std::string& Target) {
    TOutputOptions Output;
    InitOutputOptions(Output);
    Output.FileName = Name;
    Output.VideoCodec = Target;
    return Output;
}

TInputOptions InputNamed(const std::string& Name) {
    TInputOptions Input;
    InitInputOptions(Input);
    Input.FileName = Name;
    return Input;
}

} // namespace

TEST(JobSlots, FreeUsedDeletedAndReset) {
    TJobSlots Slots;
    Slots.ResetAll();
    for (int Job = 0; Job < 3; ++Job)
        Slots.Store(Slots.TakeFree(), InputNamed("in" + std::to_string(Job)),
                    OutputNamed("out", ""));
    Slots.MarkDeleted(0);
    EXPECT_EQ(Slots.State(0), "DELETED");
    EXPECT_EQ(Slots.State(1), "Full");
    EXPECT_EQ(Slots.TakeFree(), 3);

    for (int Slot = Slots.TakeFree(); Slot >= 0; Slot = Slots.TakeFree())
        Slots.Store(Slot, InputNamed("x"), OutputNamed("y", ""));
    EXPECT_EQ(Slots.TakeFree(), -1);

    Slots.ResetAll();
    EXPECT_EQ(Slots.TakeFree(), 0);
    for (int Slot = 0; Slot < JobSlotCount; ++Slot)
        ASSERT_EQ(Slots.State(Slot), "kong");
    // A reset only frees: the last options stay.
    EXPECT_EQ(Slots.IO1(1).FileName, "in1");
}

TEST(JobSlots, EachRowKeepsItsOwnSlotThroughRemovesAndMoves) {
    TJobSlots Slots;
    Slots.ResetAll();
    auto Add = [&](const std::string& Name, const std::string& Codec) {
        const int Slot = Slots.TakeFree();
        ASSERT_GE(Slot, 0);
        Slots.Store(Slot, InputNamed(Name), OutputNamed(Name + ".out", Codec));
        Slots.LinkRow(Slots.RowCount(), Slot);
    };
    Add("a", "dvd-job");
    Add("b", "x264");
    Add("c", "mpeg4");
    // Remove the first row: its own slot is marked, the others keep theirs.
    Slots.MarkDeleted(Slots.SlotOfRow(0));
    Slots.RemoveRow(0);
    Add("d", "wmv2");
    Slots.SwapRows(0, 2); // move "d" up to the top, "b" down
    const char* Expected[] = {"d", "c", "b"};
    for (int Row = 0; Row < Slots.RowCount(); ++Row) {
        const int Slot = Slots.SlotOfRow(Row);
        EXPECT_EQ(Slots.IO1(Slot).FileName, Expected[Row]) << Row;
        EXPECT_NE(Slots.OO1(Slot).VideoCodec, "dvd-job") << Row;
        EXPECT_EQ(Slots.State(Slot), "Full") << Row;
    }
    EXPECT_EQ(Slots.State(0), "DELETED");
    EXPECT_THROW(Slots.RemoveRow(3), Exception);
    EXPECT_THROW(Slots.LinkRow(0, JobSlotCount), Exception);
}
