// The built program started as the sound child, as the after-done action
// starts it: it plays the file without a display and answers 0, or 1 with
// one line on standard error.
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string Clip(const std::string& Name) {
    const std::string Command = std::string("\"") + OSTRELA_FIXTURES_DIR + "/make_media.sh\" \"" +
                                OSTRELA_CLIP_CACHE + "\" " + Name;
    EXPECT_EQ(std::system(Command.c_str()), 0) << Command;
    return std::string(OSTRELA_CLIP_CACHE) + "/" + Name;
}

std::string Contents(const std::string& Path) {
    std::ifstream In(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), {});
}

// Runs the program with "--play-sound File" and no display; answers its
// exit status, with its standard error in Errors.
int RunChild(const TTempDir& Dir, const std::string& File, std::string& Errors) {
    const std::string ErrorFile = Dir.File("stderr.txt");
    const std::string Command = "env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=disk "
                                "SDL_DISKAUDIODELAY=5 SDL_DISKAUDIOFILE=\"" +
                                Dir.File("heard.raw") + "\" \"" + OSTRELA_PROGRAM +
                                "\" --play-sound \"" + File + "\" 2>\"" + ErrorFile + "\"";
    const int Status = std::system(Command.c_str());
    Errors = Contents(ErrorFile);
    return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
}

} // namespace

TEST(SoundChildProgram, PlaysTheToneWithoutADisplayAndFailsOnOneLine) {
    TTempDir Dir;
    std::string Errors;
    const std::string Tone = Clip("tone.wav");
    ASSERT_EQ(RunChild(Dir, Tone, Errors), 0) << Errors;
    // SDL's disk driver announces itself there; the program says nothing.
    EXPECT_EQ(Errors.find("ostrela:"), std::string::npos) << Errors;
    const std::string Wave = Contents(Tone);
    // The device takes the file's own format: its samples come out as they are.
    const std::size_t Start = Wave.find("data") + 8;
    EXPECT_NE(Contents(Dir.File("heard.raw")).find(Wave.substr(Start)), std::string::npos);

    for (const std::string& Bad : {Dir.File("missing.wav"), Clip("notmedia.bin")}) {
        EXPECT_EQ(RunChild(Dir, Bad, Errors), 1) << Bad;
        const std::size_t Line = Errors.find("ostrela: ");
        ASSERT_NE(Line, std::string::npos) << Errors;
        EXPECT_EQ(std::count(Errors.begin() + Line, Errors.end(), '\n'), 1) << Errors;
    }
}
