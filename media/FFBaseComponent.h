// The common base of the media components, and FFmpeg's seek flags.
#pragma once

#include "platform/core/Objects.h"

#include <cstdint>
#include <initializer_list>

// The logger, the task queue, the prober and the player share this type.
class TFFBaseComponent : public TComponent {
public:
    using TComponent::TComponent;
};

enum TSeekFlag : std::uint8_t { sfBackward, sfByte, sfAny, sfFrame };

// A set of TSeekFlag.
class TSeekFlags {
public:
    constexpr TSeekFlags() = default;
    constexpr TSeekFlags(std::initializer_list<TSeekFlag> AFlags) {
        for (TSeekFlag Flag : AFlags)
            FBits |= 1u << Flag;
    }
    constexpr bool Contains(TSeekFlag AFlag) const { return (FBits & (1u << AFlag)) != 0; }
    friend constexpr bool operator==(TSeekFlags, TSeekFlags) = default;

private:
    unsigned FBits = 0;
};

// FFmpeg's AVSEEK_FLAG_BACKWARD (1), _BYTE (2), _ANY (4) and _FRAME (8).
int SeekFlagsToInt(TSeekFlags AFlags);

// FFmpeg's picture types, with the same numbers (AV_PICTURE_TYPE_NONE .. _BI).
enum TPictureType : std::uint8_t { ptUnknown, ptI, ptP, ptB, ptS, ptSI, ptSP, ptBI };
