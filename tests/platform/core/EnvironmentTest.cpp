#include "platform/core/Environment.h"

#include "platform/core/Paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

TEST(Environment, SetReadAndUnsetAVariableWithAChineseValue) {
    const std::string name = "OSTRELA_TEST_" + std::to_string(::getpid());
    EXPECT_EQ(GetEnvironmentVariable(name), "");
    ASSERT_TRUE(SetEnvironmentVariable(name, "视频 转换"));
    EXPECT_EQ(GetEnvironmentVariable(name), "视频 转换");
    ASSERT_TRUE(SetEnvironmentVariable(name, ""));
    EXPECT_EQ(GetEnvironmentVariable(name), "");
    EXPECT_NE(::getenv(name.c_str()), nullptr);
    ASSERT_TRUE(UnsetEnvironmentVariable(name));
    EXPECT_EQ(::getenv(name.c_str()), nullptr);
}

TEST(Environment, InvalidNamesAreRefused) {
    EXPECT_FALSE(SetEnvironmentVariable("", "x"));
    EXPECT_FALSE(SetEnvironmentVariable("A=B", "x"));
    EXPECT_FALSE(UnsetEnvironmentVariable(""));
    EXPECT_EQ(GetEnvironmentVariable("A=B"), "");
}

TEST(Environment, AppPathIsTheTestProgramsFolder) {
    std::string app = GetAppFileName();
    EXPECT_EQ(ExtractFileName(app), "test_platform_core");
    EXPECT_TRUE(FileExists(app));
    std::string path = GetAppPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.back(), '/');
    EXPECT_EQ(path + "test_platform_core", app);
    EXPECT_TRUE(DirectoryExists(path));
}
