// The sound child's switch and its playback, heard through SDL's disk
// driver: the whole file reaches the device, and failures are one line on
// standard error with status 1.
#include "app/SoundPlayer.h"

#include "platform/core/Environment.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string Clip(const std::string& Name) {
    const std::string Command = std::string("\"") + OSTRELA_FIXTURES_DIR + "/make_media.sh\" \"" +
                                OSTRELA_CLIP_CACHE + "\" " + Name;
    EXPECT_EQ(std::system(Command.c_str()), 0) << Command;
    return std::string(OSTRELA_CLIP_CACHE) + "/" + Name;
}

std::string Samples(const std::string& Path) {
    std::ifstream In(Path, std::ios::binary);
    std::string Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    return Bytes;
}

} // namespace

TEST(SoundChild, OnlyTheSwitchWithOneFileMakesTheChild) {
    struct {
        std::vector<const char*> Args;
        bool Child;
    } Rows[] = {{{"ostrela", "--play-sound", "/s/ring001.wav"}, true},
                {{"ostrela", "--play-sound"}, false},
                {{"ostrela", "--play-sound", "a.wav", "b.wav"}, false},
                {{"ostrela", "--play", "a.wav"}, false},
                {{"ostrela"}, false}};
    for (auto& Row : Rows) {
        std::string File;
        EXPECT_EQ(
            IsSoundChildCommand(int(Row.Args.size()), const_cast<char**>(Row.Args.data()), File),
            Row.Child)
            << Row.Args.size();
        if (Row.Child) {
            EXPECT_EQ(File, "/s/ring001.wav");
        }
    }
}

TEST(SoundChild, PlaysTheWholeFileAndReportsFailuresOnOneLine) {
    TTempDir Dir;
    const std::string Heard = Dir.File("heard.raw");
    SetEnvironmentVariable("SDL_AUDIODRIVER", "disk");
    SetEnvironmentVariable("SDL_DISKAUDIOFILE", Heard);
    SetEnvironmentVariable("SDL_DISKAUDIODELAY", "5");

    const std::string Tone = Clip("tone.wav");
    ASSERT_EQ(PlaySoundFile(Tone), 0);
    // 0.5 s of 16-bit stereo at 44.1 kHz reached the device whole, with
    // only silence around it (the device runs before it is unpaused, and the
    // last buffer is filled up).
    const std::string Wave = Samples(Tone), Device = Samples(Heard);
    const std::size_t Data = 44100 / 2 * 4, Start = Wave.find("data") + 8;
    ASSERT_EQ(Wave.size(), Start + Data);
    const std::size_t At = Device.find(Wave.substr(Start, 4096));
    ASSERT_NE(At, std::string::npos);
    EXPECT_TRUE(Device.compare(At, Data, Wave, Start, Data) == 0);
    EXPECT_EQ(Device.find_first_not_of('\0', At + Data), std::string::npos);
    EXPECT_EQ(Device.substr(0, At).find_first_not_of('\0'), std::string::npos);

    for (const std::string& Bad : {Dir.File("missing.wav"), Clip("notmedia.bin")}) {
        SCOPED_TRACE(Bad);
        testing::internal::CaptureStderr();
        EXPECT_EQ(PlaySoundFile(Bad), 1);
        const std::string Error = testing::internal::GetCapturedStderr();
        EXPECT_EQ(Error.rfind("ostrela: ", 0), 0u) << Error;
        EXPECT_NE(Error.find(Bad), std::string::npos) << Error;
        EXPECT_EQ(Error.find('\n'), Error.size() - 1) << Error;
    }
}
