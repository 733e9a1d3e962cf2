// Accelerators of captions: the character after a single "&".
#pragma once

#include <string>

// The accelerator character of a caption ("&Save" -> 'S'); "&&" is a
// literal ampersand. 0 for none.
unsigned GetHotkey(const std::string& Caption);
// Whether the accelerator of Caption is the character VK, ignoring case.
bool IsAccel(unsigned VK, const std::string& Caption);
// The caption without its accelerator marks ("&&" becomes "&").
std::string StripHotkey(const std::string& Caption);
