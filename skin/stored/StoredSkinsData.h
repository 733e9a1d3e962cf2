// The embedded frames of the stored skins, defined by the source the
// generator writes at build time.
#pragma once

struct TStoredSkinBytes {
    const char* DisplayName;
    const unsigned char* Begin;
    const unsigned char* End;
};

extern const TStoredSkinBytes StoredSkinTable[];
extern const int StoredSkinTableCount;
