// Names in binary streams (a 32-bit character count, then UTF-16 code units)
// and rectangles written as four integers in a text.
#pragma once

#include "platform/core/Streams.h"
#include "platform/gdi/Types.h"

#include <string>

// Raises EReadError before allocating when the count is negative or more
// characters are announced than the stream holds; S then stays as it was.
void ReadStreamString(TStream* Stream, std::string& S);
void WriteStreamString(TStream* Stream, const std::string& S);

// Cuts the next token off P: everything up to the first of " (),:;=", which
// is consumed; both are trimmed. At most 255 characters are looked at.
void ExtractRectToken(std::string& P, std::string& Token);
// Delimiters before the first number are skipped, so "(2,3,20,21)" reads as
// four numbers. R becomes (0, 0, 0, 0) when any of them cannot be read.
void ReadRectFromString(const std::string& S, TRect& R);
