// A small set of enumeration values, the shape the class library's sets
// take here: ControlStyle, ControlState, Anchors, the shift state.
#pragma once

#include <cstdint>
#include <initializer_list>

template <class E> class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> Items) {
        for (E Item : Items)
            FBits |= Bit(Item);
    }

    constexpr bool Contains(E Item) const { return (FBits & Bit(Item)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TSet& Include(E Item) {
        FBits |= Bit(Item);
        return *this;
    }
    constexpr TSet& Exclude(E Item) {
        FBits &= ~Bit(Item);
        return *this;
    }
    constexpr std::uint64_t Bits() const { return FBits; }

    friend constexpr TSet operator+(TSet A, TSet B) { return FromBits(A.FBits | B.FBits); }
    friend constexpr TSet operator-(TSet A, TSet B) { return FromBits(A.FBits & ~B.FBits); }
    friend constexpr TSet operator*(TSet A, TSet B) { return FromBits(A.FBits & B.FBits); }
    friend constexpr bool operator==(TSet, TSet) = default;

private:
    static constexpr std::uint64_t Bit(E Item) { return std::uint64_t(1) << unsigned(Item); }
    static constexpr TSet FromBits(std::uint64_t Bits) {
        TSet Result;
        Result.FBits = Bits;
        return Result;
    }
    std::uint64_t FBits = 0;
};
