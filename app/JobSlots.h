// The main window's 501 job slots: for each job added, a copy of the input
// and output options its task was created with, and the slot's state in the
// output options' AudioLanguage text ("kong" free, "Full" used, "DELETED").
//
// Every row of the job table names its own slot, and the link travels with
// the row when rows are removed or moved, so a row is always rebuilt from
// its own job's options.
#pragma once

#include "media/FFmpegQueue.h"

#include <array>
#include <string>
#include <vector>

inline constexpr int JobSlotCount = 501;

class TJobSlots {
public:
    static constexpr const char* FreeState = "kong";
    static constexpr const char* UsedState = "Full";
    static constexpr const char* DeletedState = "DELETED";

    // Every slot free; their other fields keep their values.
    void ResetAll();
    // The lowest free slot, or -1 when none is free.
    int TakeFree() const;
    // Slot takes the options and the used state.
    void Store(int Slot, const TInputOptions& Input, const TOutputOptions& Output);
    void MarkDeleted(int Slot);
    const std::string& State(int Slot) const { return FOutput.at(Slot).AudioLanguage; }

    TInputOptions& IO1(int Slot) { return FInput.at(Slot); }
    TOutputOptions& OO1(int Slot) { return FOutput.at(Slot); }

    // The rows' links, in row order.
    int RowCount() const { return static_cast<int>(FRowSlots.size()); }
    int SlotOfRow(int Row) const { return FRowSlots.at(Row); }
    // Row (at most RowCount()) is a new row of Slot; later rows move down.
    void LinkRow(int Row, int Slot);
    void RemoveRow(int Row);
    void SwapRows(int A, int B);
    void ClearRows() { FRowSlots.clear(); }

private:
    std::array<TInputOptions, JobSlotCount> FInput{};
    std::array<TOutputOptions, JobSlotCount> FOutput{};
    std::vector<int> FRowSlots;
};
