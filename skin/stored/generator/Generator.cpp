#include "skin/stored/generator/Generator.h"

#include "platform/core/Streams.h"
#include "skin/stored/generator/Elements.h"
#include "skin/stored/generator/Themes.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace skingen {

namespace {

void WriteFile(const std::filesystem::path& P, const std::string& Bytes) {
    std::ofstream Out(P, std::ios::binary | std::ios::trunc);
    Out.write(Bytes.data(), std::streamsize(Bytes.size()));
    if (!Out)
        throw std::runtime_error("cannot write " + P.string());
}

std::string Failures(const std::vector<TCheckFailure>& List) {
    std::string Text;
    for (const TCheckFailure& F : List)
        Text += F.Text() + "\n";
    return Text;
}

// The embedding source: every frame by .incbin, so the compiler reads the
// bytes straight from the files instead of parsing a large array.
std::string EmbeddingSource(const std::filesystem::path& Folder) {
    std::string Asm, Decls, Table;
    const auto& Rows = Themes();
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        const std::string S = "ostrela_stored_skin_" + std::to_string(i);
        const std::string File = (Folder / ("skin" + std::to_string(i) + ".skn")).string();
        Asm += "    \".global " + S + "\\n\"\n    \".balign 16\\n\"\n    \"" + S +
               ":\\n\"\n"
               "    \".incbin \\\"" +
               File + "\\\"\\n\"\n    \".global " + S +
               "_end\\n\"\n"
               "    \"" +
               S + "_end:\\n\"\n";
        Decls += "extern \"C\" const unsigned char " + S +
                 "[];\nextern \"C\" const unsigned char " + S + "_end[];\n";
        Table += "    {\"" + std::string(Rows[i].DisplayName) + "\", " + S + ", " + S + "_end},\n";
    }
    return "// Made by ostrela-skingen; do not edit.\n"
           "#include \"skin/stored/StoredSkinsData.h\"\n\n"
           "__asm__(\".section .rodata\\n\"\n" +
           Asm + "    \".previous\\n\");\n\n" + Decls +
           "\nconst TStoredSkinBytes StoredSkinTable[] = {\n" + Table +
           "};\nconst int StoredSkinTableCount = " + std::to_string(Rows.size()) + ";\n";
}

} // namespace

std::unique_ptr<TbsSkinData> MakeSkin(int Index, const TPaletteRule& Rule) {
    const TTheme& Theme = Themes().at(std::size_t(Index));
    return BuildSkin(Theme, MakePalette(Theme, Rule));
}

std::string CompressedFrame(TbsSkinData& Skin) {
    TbsCompressedStoredSkin Stored(nullptr);
    Stored.LoadFromSkinData(&Skin);
    TStringStream Out;
    Stored.SaveToCompressStream(Out);
    return Out.DataString();
}

std::string WriteStoredSkins(const std::string& Folder) {
    const std::filesystem::path Dir(Folder);
    std::filesystem::create_directories(Dir);
    std::string Errors, Index;
    std::vector<std::string> Frames;
    for (std::size_t i = 0; i < Themes().size(); ++i) {
        auto Skin = MakeSkin(int(i));
        Errors += Failures(CheckSkin(*Skin, Themes()[i]));
        Frames.push_back(CompressedFrame(*Skin));
        Index +=
            std::to_string(i) + " " + Themes()[i].DisplayName + " " + Themes()[i].SkinName + "\n";
    }
    if (!Errors.empty())
        return Errors;
    for (std::size_t i = 0; i < Frames.size(); ++i)
        WriteFile(Dir / ("skin" + std::to_string(i) + ".skn"), Frames[i]);
    WriteFile(Dir / "index.txt", Index);
    WriteFile(Dir / "StoredSkinsData.cpp", EmbeddingSource(std::filesystem::absolute(Dir)));
    return {};
}

std::string WriteSkinFolders(const std::string& Folder) {
    std::string Errors;
    for (std::size_t i = 0; i < Themes().size(); ++i) {
        auto Skin = MakeSkin(int(i));
        Errors += Failures(CheckSkin(*Skin, Themes()[i]));
        const std::filesystem::path Dir =
            std::filesystem::path(Folder) / ("skin" + std::to_string(i));
        std::filesystem::create_directories(Dir);
        Skin->StoreToDisk((Dir / "skin.ini").string());
    }
    return Errors;
}

} // namespace skingen
