#include "skin/model/bsUtils.StreamText.h"

#include "platform/core/Conversions.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"

#include <cstdint>

namespace {

constexpr std::size_t MaxTokenWalk = 255;

bool IsRectDelimiter(char C) {
    switch (C) {
    case ' ':
    case '(':
    case ')':
    case ',':
    case ':':
    case ';':
    case '=':
        return true;
    default:
        return false;
    }
}

std::string Trimmed(const std::string& S) {
    const auto First = S.find_first_not_of(" \t\r\n");
    if (First == std::string::npos)
        return {};
    const auto Last = S.find_last_not_of(" \t\r\n");
    return S.substr(First, Last - First + 1);
}

} // namespace

void ReadStreamString(TStream* Stream, std::string& S) {
    std::int32_t Count = 0;
    Stream->ReadBuffer(&Count, 4);
    const std::int64_t Left = Stream->Size() - Stream->Position();
    if (Count < 0 || std::int64_t(Count) * 2 > Left)
        throw EReadError("Stream read error");
    std::u16string Units(std::size_t(Count), u'\0');
    if (Count > 0)
        Stream->ReadBuffer(Units.data(), std::int64_t(Count) * 2);
    S = Utf16ToUtf8(Units);
}

void WriteStreamString(TStream* Stream, const std::string& S) {
    const std::u16string Units = Utf8ToUtf16(S);
    const std::int32_t Count = std::int32_t(Units.size());
    Stream->WriteBuffer(&Count, 4);
    if (Count > 0)
        Stream->WriteBuffer(Units.data(), std::int64_t(Count) * 2);
}

void ExtractRectToken(std::string& P, std::string& Token) {
    Token.clear();
    std::size_t I = 0;
    for (; I < P.size() && I < MaxTokenWalk; ++I) {
        if (IsRectDelimiter(P[I])) {
            ++I;
            break;
        }
        Token += P[I];
    }
    P = Trimmed(P.substr(I));
    Token = Trimmed(Token);
}

void ReadRectFromString(const std::string& S, TRect& R) {
    // A text such as "(2,3,20,21)" opens with a delimiter, which must not end
    // the first token empty; later delimiters keep their meaning.
    std::size_t Start = 0;
    while (Start < S.size() && IsRectDelimiter(S[Start]))
        ++Start;
    std::string P = S.substr(Start);
    std::string Token;
    int Values[4] = {};
    for (int& V : Values) {
        ExtractRectToken(P, Token);
        if (!TryStrToInt(Token, V)) {
            R = TRect{};
            return;
        }
    }
    R = {Values[0], Values[1], Values[2], Values[3]};
}
