// Clips made on demand by the fixtures' script, and what ffprobe reads in a
// converted file.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

// The clip Name made by FixturesDir/make_media.sh into CacheDir (once), and
// its path.
inline std::string CachedClip(const std::string& FixturesDir, const std::string& CacheDir,
                              const std::string& Name) {
    const std::string Command =
        "\"" + FixturesDir + "/make_media.sh\" \"" + CacheDir + "\" " + Name + " >/dev/null";
    EXPECT_EQ(std::system(Command.c_str()), 0);
    return CacheDir + "/" + Name;
}

// "format|codecs|duration" lines as ffprobe reads the file, or "".
inline std::string Probe(const std::string& Path) {
    const std::string Command =
        "ffprobe -v error -show_entries format=format_name,duration:stream=codec_name "
        "-of default=nw=1:nk=1 \"" +
        Path + "\" 2>/dev/null";
    std::string Text;
    if (FILE* Pipe = popen(Command.c_str(), "r")) {
        std::array<char, 256> Buffer{};
        while (fgets(Buffer.data(), Buffer.size(), Pipe))
            Text += Buffer.data();
        if (pclose(Pipe) != 0)
            return "";
    }
    return Text;
}

// The duration ffprobe reads (its last line), or -1.
inline double ProbedDuration(const std::string& Path) {
    const std::string Text = Probe(Path);
    if (Text.empty())
        return -1;
    const std::string Last = Text.substr(0, Text.size() - 1);
    return std::stod(Last.substr(Last.rfind('\n') + 1));
}
