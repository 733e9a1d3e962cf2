// Clips made on demand by the fixtures' script, and (MediaProbe.h) what
// ffprobe reads in a converted file.
#pragma once

#include "tests/support/MediaProbe.h"

#include <gtest/gtest.h>

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
