#include "media/FFmpegQueue.h"

#include "platform/core/Exceptions.h"

TOptionNormDefault::TOptionNormDefault(TOptionNormType Value) : FValue(Value) {
    if (Value != ntPAL && Value != ntNTSC)
        throw EConvertError("Range check error");
}

// Assigning a default-constructed record resets every field, strings released
// included, and keeps the reset values in one place: the member initialisers.
void InitInputOptions(TInputOptions& AOptions) {
    AOptions = TInputOptions{};
}

void InitOutputOptions(TOutputOptions& AOptions) {
    AOptions = TOutputOptions{};
}
