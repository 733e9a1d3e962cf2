// The process environment and the executable's own place. The core
// serialises its own environment calls, since setenv and getenv may not run
// at the same time.
#pragma once

#include <string>

// Empty when the variable is not set.
std::string GetEnvironmentVariable(const std::string& Name);
// False when the name is not valid (empty or containing "=").
bool SetEnvironmentVariable(const std::string& Name, const std::string& Value);
bool UnsetEnvironmentVariable(const std::string& Name);

// The executable's full path, from /proc/self/exe.
std::string GetAppFileName();
// The executable's folder with a trailing "/".
std::string GetAppPath();
