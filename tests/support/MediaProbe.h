// What ffprobe (or any other command) prints about a file, for tests and
// benchmarks that check converted media from outside the engine.
#pragma once

#include <array>
#include <cstdio>
#include <string>

// What Command prints on stdout. Ok, when given, tells whether it ended with
// status 0.
inline std::string CommandOutput(const std::string& Command, bool* Ok = nullptr) {
    std::string Text;
    bool Ended = false;
    if (FILE* Pipe = popen(Command.c_str(), "r")) {
        std::array<char, 512> Buffer{};
        while (fgets(Buffer.data(), Buffer.size(), Pipe))
            Text += Buffer.data();
        Ended = pclose(Pipe) == 0;
    }
    if (Ok)
        *Ok = Ended;
    return Text;
}

// The streams' codecs, the format and the duration as ffprobe reads the
// file, one a line and the duration last, or "" when it cannot read it.
inline std::string Probe(const std::string& Path) {
    bool Ok = false;
    std::string Text = CommandOutput(
        "ffprobe -v error -show_entries format=format_name,duration:stream=codec_name "
        "-of default=nw=1:nk=1 \"" +
            Path + "\" 2>/dev/null",
        &Ok);
    return Ok ? Text : "";
}

// The duration ffprobe reads (its last line), or -1.
inline double ProbedDuration(const std::string& Path) {
    const std::string Text = Probe(Path);
    if (Text.empty())
        return -1;
    const std::string Last = Text.substr(0, Text.size() - 1);
    return std::stod(Last.substr(Last.rfind('\n') + 1));
}
