#include "media/FFBaseComponent.h"

int SeekFlagsToInt(TSeekFlags AFlags) {
    static constexpr TSeekFlag Flags[] = {sfBackward, sfByte, sfAny, sfFrame};
    static constexpr int Bits[] = {1, 2, 4, 8};
    int Result = 0;
    for (int I = 0; I < 4; ++I)
        if (AFlags.Contains(Flags[I]))
            Result |= Bits[I];
    return Result;
}
