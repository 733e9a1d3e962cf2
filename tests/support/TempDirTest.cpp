#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

TEST(TempDir, RemovesItsFolderWithEverythingInIt) {
    std::string path;
    {
        TTempDir dir;
        path = dir.Path();
        std::filesystem::create_directories(dir.File("a/b"));
        std::ofstream(dir.File("a/b/c.txt")) << "x";
        EXPECT_TRUE(std::filesystem::is_directory(path));
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}
