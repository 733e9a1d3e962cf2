// The legacy form's two working-set steps, apart from the controls that feed
// them: writing a profile's settings with a free output name, and reading the
// six parameter texts back.
#pragma once

#include "catalogue/ParameterLists.h"
#include "catalogue/ProfileWorkingSet.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

// Clears Video_DisableVideo, writes the row of Key (when there is one: the
// output name from the input's name with the row's extension, then the
// fields the row holds; every other field keeps its value) and gives the
// output a free name in FolderText. Overwrite is asked only when the name is
// taken.
void WriteLegacySettings(TProfileWorkingSet& Set, int Key, std::string_view FolderText,
                         const std::function<bool()>& Overwrite);

// The six texts shown by the parameter lists, indexed by kind.
using TLegacyParameterTexts = std::array<std::string, ParameterKindCount>;

// Writes frame size, frame rate, video bit rate, sample rate, audio bit rate
// and aspect from the texts. An aspect text that names no mode leaves the
// aspect as it was.
void ReadLegacyParameterTexts(TProfileWorkingSet& Set, const TLegacyParameterTexts& Texts);
