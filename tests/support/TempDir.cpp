#include "tests/support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

TTempDir::TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ostrela-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    FPath = pattern;
}

TTempDir::~TTempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
}

std::string TTempDir::File(const std::string& Name) const {
    return FPath + "/" + Name;
}
