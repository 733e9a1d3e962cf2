#include "platform/core/Masks.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"

#include <vector>

namespace {

char32_t FoldCase(char32_t C) {
    return (C >= 'a' && C <= 'z') ? C - 'a' + 'A' : C;
}

std::u32string Decode(std::string_view Text) {
    std::u32string result;
    for (std::size_t pos = 0; pos < Text.size();)
        result += FoldCase(Utf8Next(Text, pos));
    return result;
}

// One element of a compiled mask: a literal, '?', '*', or a bracket set.
struct TMaskElement {
    enum class TKind { Literal, AnyChar, AnyText, Set } Kind;
    char32_t Char = 0;
    bool Negated = false;
    std::vector<std::pair<char32_t, char32_t>> Ranges;

    explicit TMaskElement(TKind K, char32_t C = 0) : Kind(K), Char(C) {}

    bool Matches(char32_t C) const {
        if (Kind == TKind::AnyChar)
            return true;
        if (Kind == TKind::Literal)
            return C == Char;
        bool inSet = false;
        for (const auto& [low, high] : Ranges)
            if (C >= low && C <= high)
                inSet = true;
        return inSet != Negated;
    }
};

[[noreturn]] void InvalidMask(std::string_view Mask, std::size_t Position) {
    throw EMaskException("'%s' is an invalid mask at (%d)",
                         {std::string(Mask), static_cast<int>(Position)});
}

std::vector<TMaskElement> Compile(std::string_view Mask) {
    const std::u32string chars = Decode(Mask);
    std::vector<TMaskElement> elements;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const char32_t c = chars[i];
        if (c == '*') {
            if (elements.empty() || elements.back().Kind != TMaskElement::TKind::AnyText)
                elements.emplace_back(TMaskElement::TKind::AnyText);
        } else if (c == '?') {
            elements.emplace_back(TMaskElement::TKind::AnyChar);
        } else if (c == '[') {
            const std::size_t open = i;
            TMaskElement set(TMaskElement::TKind::Set);
            ++i;
            if (i < chars.size() && chars[i] == '!') {
                set.Negated = true;
                ++i;
            }
            bool closed = false;
            for (; i < chars.size(); ++i) {
                if (chars[i] == ']') {
                    closed = true;
                    break;
                }
                char32_t low = chars[i];
                char32_t high = low;
                if (i + 2 < chars.size() && chars[i + 1] == '-' && chars[i + 2] != ']') {
                    high = chars[i + 2];
                    i += 2;
                }
                set.Ranges.emplace_back(low, high);
            }
            if (!closed)
                InvalidMask(Mask, open + 1);
            elements.push_back(std::move(set));
        } else {
            elements.emplace_back(TMaskElement::TKind::Literal, c);
        }
    }
    return elements;
}

bool Match(const std::vector<TMaskElement>& Elements, const std::u32string& Name) {
    // Greedy matching with one backtrack point for the last '*' seen.
    std::size_t e = 0, n = 0;
    std::size_t starElement = std::u32string::npos, starName = 0;
    while (n < Name.size()) {
        if (e < Elements.size() && Elements[e].Kind == TMaskElement::TKind::AnyText) {
            starElement = e++;
            starName = n;
        } else if (e < Elements.size() && Elements[e].Matches(Name[n])) {
            ++e;
            ++n;
        } else if (starElement != std::u32string::npos) {
            e = starElement + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (e < Elements.size() && Elements[e].Kind == TMaskElement::TKind::AnyText)
        ++e;
    return e == Elements.size();
}

} // namespace

bool MatchesMask(std::string_view Name, std::string_view Mask) {
    // "*.*" is the everything-mask, even for names that have no dot.
    if (Mask == "*.*")
        return true;
    return Match(Compile(Mask), Decode(Name));
}
