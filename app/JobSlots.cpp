#include "app/JobSlots.h"

#include "platform/core/Objects.h"

#include <utility>

void TJobSlots::ResetAll() {
    for (TOutputOptions& Output : FOutput)
        Output.AudioLanguage = FreeState;
}

int TJobSlots::TakeFree() const {
    for (int Slot = 0; Slot < JobSlotCount; ++Slot)
        if (FOutput[Slot].AudioLanguage == FreeState)
            return Slot;
    return -1;
}

void TJobSlots::Store(int Slot, const TInputOptions& Input, const TOutputOptions& Output) {
    FInput.at(Slot) = Input;
    FOutput.at(Slot) = Output;
    FOutput[Slot].AudioLanguage = UsedState;
}

void TJobSlots::MarkDeleted(int Slot) {
    FOutput.at(Slot).AudioLanguage = DeletedState;
}

void TJobSlots::LinkRow(int Row, int Slot) {
    if (Row < 0 || Row > RowCount())
        RaiseListIndexError(Row);
    if (Slot < 0 || Slot >= JobSlotCount)
        RaiseListIndexError(Slot);
    FRowSlots.insert(FRowSlots.begin() + Row, Slot);
}

void TJobSlots::RemoveRow(int Row) {
    if (Row < 0 || Row >= RowCount())
        RaiseListIndexError(Row);
    FRowSlots.erase(FRowSlots.begin() + Row);
}

void TJobSlots::SwapRows(int A, int B) {
    std::swap(FRowSlots.at(A), FRowSlots.at(B));
}
