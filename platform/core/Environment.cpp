#include "platform/core/Environment.h"

#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <system_error>
#include <vector>

namespace {

std::mutex GEnvironmentLock;

bool ValidName(const std::string& Name) {
    return !Name.empty() && Name.find('=') == std::string::npos;
}

} // namespace

std::string GetEnvironmentVariable(const std::string& Name) {
    std::lock_guard lock(GEnvironmentLock);
    const char* value = ValidName(Name) ? std::getenv(Name.c_str()) : nullptr;
    return value ? value : "";
}

bool SetEnvironmentVariable(const std::string& Name, const std::string& Value) {
    if (!ValidName(Name))
        return false;
    std::lock_guard lock(GEnvironmentLock);
    return ::setenv(Name.c_str(), Value.c_str(), 1) == 0;
}

bool UnsetEnvironmentVariable(const std::string& Name) {
    if (!ValidName(Name))
        return false;
    std::lock_guard lock(GEnvironmentLock);
    return ::unsetenv(Name.c_str()) == 0;
}

std::string GetAppFileName() {
    std::vector<char> buffer(4096);
    for (;;) {
        ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return "";
        if (static_cast<std::size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

std::string GetAppPath() {
    std::string name = GetAppFileName();
    return name.substr(0, name.rfind('/') + 1);
}
