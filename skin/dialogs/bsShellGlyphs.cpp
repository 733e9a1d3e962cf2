#include "skin/dialogs/bsShellGlyphs.h"

#include "platform/core/Streams.h"
#include "platform/gdi/BmpCodec.h"
#include "platform/gdi/Graphics.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace {

// One letter per pixel, top row first; the palette below gives the colours.
// '.' is the magenta key the buttons leave transparent.
struct TPaletteColour {
    char Letter;
    std::uint8_t R, G, B;
};

const TPaletteColour Palette[] = {
    {'.', 255, 0, 255}, {'k', 0, 0, 0},       {'w', 255, 255, 255}, {'g', 0, 160, 60},
    {'G', 0, 100, 30},  {'y', 250, 210, 80},  {'Y', 190, 140, 30},  {'b', 40, 90, 200},
    {'r', 210, 40, 40}, {'s', 128, 128, 128}, {'l', 200, 200, 200}, {'o', 250, 160, 20},
};

const char* const Back[16] = {
    "................", ".....GGGGGG.....", "...GGggggggGG...", "..GggggggggggG..",
    ".Gggggwgggggggg.", ".Ggggwwgggggggg.", "Gggggwwggggggggg", "Ggggwwwwwwwwwggg",
    "Gggwwwwwwwwwwggg", "Ggggwwwwwwwwwggg", "Gggggwwggggggggg", ".Ggggwwgggggggg.",
    ".Gggggwgggggggg.", "..GggggggggggG..", "...GGggggggGG...", ".....GGGGGG.....",
};

const char* const Up[16] = {
    "................", "................", ".YYYYY..........", "YyyyyyY.........",
    "YyyyyyYYYYYYYYY.", "Yyyyyyyyyyyyyyy.", "Yyyyyyykyyyyyyy.", "Yyyyyykkkyyyyyy.",
    "Yyyyykkkkkyyyyy.", "Yyyykkkkkkkyyyy.", "Yyyyyykkkyyyyyy.", "Yyyyyykkkyyyyyy.",
    "Yyyyyykkkyyyyyy.", "Yyyyyyyyyyyyyyy.", "YYYYYYYYYYYYYYY.", "................",
};

const char* const NewFolder[16] = {
    "...........o....", "........o..o..o.", ".........o.o.o..", ".YYYYY...ooooo..",
    "YyyyyyY.oooooooo", "YyyyyyYYYooooo..", "Yyyyyyyyyo.o.o..", "Yyyyyyyyo..o..o.",
    "Yyyyyyyyyyyo....", "Yyyyyyyyyyyyyyy.", "Yyyyyyyyyyyyyyy.", "Yyyyyyyyyyyyyyy.",
    "Yyyyyyyyyyyyyyy.", "Yyyyyyyyyyyyyyy.", "YYYYYYYYYYYYYYY.", "................",
};

const char* const ListStyle[16] = {
    "................", ".kkkkkkkkkkkkkk.", ".kbbbbbbbbbbbbk.", ".kkkkkkkkkkkkkk.",
    ".kwwwwwwwwwwwwk.", ".kwrrwggwbbwyyk.", ".kwrrwggwbbwyyk.", ".kwwwwwwwwwwwwk.",
    ".kwggwbbwyywrrk.", ".kwggwbbwyywrrk.", ".kwwwwwwwwwwwwk.", ".kwbbwyywrrwggk.",
    ".kwbbwyywrrwggk.", ".kwwwwwwwwwwwwk.", ".kkkkkkkkkkkkkk.", "................",
};

// The corners stay on the key: the bottom-left pixel names the colour the
// buttons leave transparent.
const char* const Stretch[16] = {
    "................", ".kkkkk....kkkkk.", ".kkkk......kkkk.", ".kkkk......kkkk.",
    ".kk.kk....kk.kk.", ".k...kk..kk...k.", "......kssk......", ".......ss.......",
    ".......ss.......", "......kssk......", ".k...kk..kk...k.", ".kk.kk....kk.kk.",
    ".kkkk......kkkk.", ".kkkk......kkkk.", ".kkkkk....kkkkk.", "................",
};

std::uint8_t PaletteIndex(char Letter) {
    for (std::size_t I = 0; I < std::size(Palette); ++I)
        if (Palette[I].Letter == Letter)
            return std::uint8_t(I);
    return 0;
}

std::vector<std::uint8_t> EncodeGlyph(const char* const (&Rows)[16]) {
    TBmpImage Image;
    Image.Width = 16;
    Image.Height = 16;
    Image.Format = pf8bit;
    Image.Table.assign(256, RGBQUAD{0, 0, 0, 0});
    for (std::size_t I = 0; I < std::size(Palette); ++I)
        Image.Table[I] = RGBQUAD{Palette[I].B, Palette[I].G, Palette[I].R, 0};
    Image.Pixels.assign(16 * 16, 0);
    for (int Y = 0; Y < 16; ++Y)
        for (int X = 0; X < 16; ++X)
            Image.Pixels[std::size_t(Y) * 16 + X] = PaletteIndex(Rows[Y][X]);
    TMemoryStream S;
    WriteBmp(S, Image);
    const auto* Bytes = static_cast<const std::uint8_t*>(S.Memory());
    return {Bytes, Bytes + S.Size()};
}

} // namespace

void RegisterShellGlyphs() {
    static std::once_flag Once;
    std::call_once(Once, [] {
        RegisterResource("BS_BACK", EncodeGlyph(Back));
        RegisterResource("BS_UP", EncodeGlyph(Up));
        RegisterResource("BS_NEWFOLDER", EncodeGlyph(NewFolder));
        RegisterResource("BS_LVSTYLE", EncodeGlyph(ListStyle));
        RegisterResource("BS_STRETCH", EncodeGlyph(Stretch));
    });
}

std::unique_ptr<TBitmap> LoadShellGlyph(const std::string& Name) {
    RegisterShellGlyphs();
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->LoadFromResourceName(nullptr, Name);
    return Bitmap;
}
