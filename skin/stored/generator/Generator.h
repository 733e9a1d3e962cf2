// The generator's steps shared by its modes and by the tests: one skin
// built and checked, its compressed frame, and the build's output folder.
#pragma once

#include "skin/model/bsSkinData.h"
#include "skin/stored/generator/Checks.h"
#include "skin/stored/generator/Palette.h"

#include <memory>
#include <string>

namespace skingen {

// Skin Index of the theme table, built by the palette rule Rule.
std::unique_ptr<TbsSkinData> MakeSkin(int Index, const TPaletteRule& Rule = {});
// The compressed frame the skin data's own writer makes (payload and
// frame version 3, zlib level 9).
std::string CompressedFrame(TbsSkinData& Skin);
// Builds, checks and writes the eleven frames, an index of display names
// and the source that embeds them into Folder; nothing is written when a
// check fails. Answers the check failures' text, empty
// when everything was written.
std::string WriteStoredSkins(const std::string& Folder);
// Every skin as a skin folder (ini text and BMP files) under Folder.
std::string WriteSkinFolders(const std::string& Folder);

} // namespace skingen
