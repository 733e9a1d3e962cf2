// File-name wildcards: '*', '?', and sets in brackets ("[abc]", "[a-z]",
// "[!a]"), compared without regard to ASCII case.
#pragma once

#include <string_view>

// "*.*" matches every name, also names without a dot. An unclosed bracket
// raises EMaskException "'<mask>' is an invalid mask at (<position>)".
bool MatchesMask(std::string_view Name, std::string_view Mask);
