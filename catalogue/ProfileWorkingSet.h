// The main window's working copy of one profile's settings: filled from the
// catalogue, overwritten field by field from the parameter lists, and turned
// into a job's TOutputOptions by the consumer rules.
//
// Texts hold "not set" as the empty text ("AUTO" too for audio codec and
// sample rate); bit rates hold it as -1000 (and -2000 for audio); a volume of
// "256" means unchanged.
#pragma once

#include "catalogue/ProfileCatalogue.h"
#include "media/FFmpegQueue.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

struct TProfileWorkingSet {
    std::string Video_OutPutFileName;
    std::string Video_AddFileName;
    std::string Video_FileExt;
    std::string Video_VideoCodec;
    std::string Video_VideoTag;
    std::string Video_AudioCodec;
    std::string Video_FrameSize;
    std::string Video_FrameRate;
    std::string Video_FrameAspectRatio;
    std::int32_t Video_VideoBitrate = 0;
    std::int32_t Video_AudioBitrate = 0;
    std::string Video_AudioSampleRate;
    std::string Video_AudioChannels;
    std::string Video_AudioVolume;
    std::string Video_TargetType;
    std::string Video_NormType;
    bool Video_DisableVideo = false;
    std::string Video_FileFormat;
    std::string Video_VideoFilters;
    // Kept for the second settings form; no profile assigns them and no
    // consumer rule copies them.
    std::string Video_CopyTimestamp;
    std::int32_t Video_TimeStart = 0;
    std::int32_t Video_TimeLength = 0;
};

// Every field at its reset value, except Video_AddFileName, which is kept.
void ResetWorkingSet(TProfileWorkingSet& Set);

// Assigns a profile's settings; the output name is not touched.
void AssignProfileSettings(TProfileWorkingSet& Set, const TProfileSettings& Settings);

// How the volume text "256" (unchanged) reaches the options: the working
// set's own rule leaves AudioVolume alone, the add commands set 256.
enum class TVolumeRule { SkipUnchanged, AlwaysSet };

// Copies the set into Options by the consumer rules, in their order; fields
// whose rule does not apply keep their value. Integer texts that are no
// number raise EConvertError.
void ApplyWorkingSet(const TProfileWorkingSet& Set, TOutputOptions& Options, TVolumeRule Volume);

// "vcd", "svcd" and "dvd" name their disc target, any other text none.
TOptionTargetType TargetTypeFromText(std::string_view Text);
// "PAL" and "NTSC" name their norm; any other text, the empty one included,
// leaves the choice to the engine.
TOptionNormType NormTypeFromText(std::string_view Text);

// What follows the last "/" of a path (the whole text without one).
std::string FileNamePart(std::string_view Path);

// The extension of a file name, from its last "." on; empty without one.
std::string FileNameExtension(std::string_view FileName);

// The name with its extension replaced, or Ext appended to a name without
// one.
std::string ReplaceFileNameExtension(std::string_view FileName, std::string_view Ext);

// The path for FileName in Folder: Folder, "/" and the name, or, when that
// file exists and Overwrite() says no, the name with "_1", "_2" ... before
// its extension, the first that names no file. Folders never count as files.
// Overwrite is asked only when the file exists.
std::string UniqueOutputPath(std::string_view Folder, std::string_view FileName,
                             const std::function<bool()>& Overwrite);
