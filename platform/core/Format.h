// Format with the class library's rules, which differ from printf's:
// no '0' flag (in "%04x" the 0 is part of the width), "%f" has two decimals,
// "%x" prints capitals, halves round away from zero on the exact double, and
// a type that does not fit its argument raises EConvertError ("Format '%s'
// invalid or incompatible with argument"), as does a missing argument ("No
// argument for format '%s'"). Widths and precisions count characters, and the
// decimal separator is FormatSettings.DecimalSeparator, never the C locale's.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One argument of Format: an integer, a real, a text or a pointer.
struct TVarRec {
    enum class TKind { Int32, Int64, UInt32, UInt64, Double, String, Pointer };

    TKind Kind;
    std::int64_t Int = 0;
    std::uint64_t UInt = 0;
    double Real = 0.0;
    std::string Text;
    const void* Ptr = nullptr;

    TVarRec(int v) : Kind(TKind::Int32), Int(v) {}
    TVarRec(long v) : Kind(TKind::Int64), Int(v) {}
    TVarRec(long long v) : Kind(TKind::Int64), Int(v) {}
    TVarRec(unsigned v) : Kind(TKind::UInt32), UInt(v) {}
    TVarRec(unsigned long v) : Kind(TKind::UInt64), UInt(v) {}
    TVarRec(unsigned long long v) : Kind(TKind::UInt64), UInt(v) {}
    TVarRec(double v) : Kind(TKind::Double), Real(v) {}
    TVarRec(float v) : Kind(TKind::Double), Real(v) {}
    TVarRec(const char* v) : Kind(TKind::String), Text(v ? v : "") {}
    TVarRec(std::string v) : Kind(TKind::String), Text(std::move(v)) {}
    TVarRec(std::string_view v) : Kind(TKind::String), Text(v) {}
    TVarRec(const void* v) : Kind(TKind::Pointer), Ptr(v) {}
    TVarRec(bool) = delete;
};

std::string Format(std::string_view Fmt, std::span<const TVarRec> Args);
std::string Format(std::string_view Fmt, std::initializer_list<TVarRec> Args);
