// How the legacy settings form reaches the main window: the working set it
// writes, the output folder and the overwrite choice it reads at the moment
// of a step, and the skin its controls take.
#pragma once

#include "catalogue/ProfileWorkingSet.h"

#include <string>

class TbsSkinData;

class TLegacyFormHost {
public:
    virtual ~TLegacyFormHost() = default;

    // The main window's working set, written by the form's steps.
    virtual TProfileWorkingSet& WorkingSet() = 0;
    // The output folder as the main window shows it now.
    virtual std::string OutputFolderText() = 0;
    // Whether the user chose to overwrite existing output files, asked only
    // when the output name is taken.
    virtual bool OverwriteChosen() = 0;
    // The program's skin; null gives the plain look.
    virtual TbsSkinData* SkinData() = 0;
};
