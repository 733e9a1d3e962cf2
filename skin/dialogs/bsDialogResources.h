// The small pictures of the skinned dialogs, drawn in code at first use and
// registered in the graphics layer's resource registry under their names
// (TBitmap::LoadFromResourceName finds them). Each is drawn on magenta, the
// colour of its bottom-left pixel, which the controls draw as transparent.
//
// Drives, 16 x 16: "BS_FLOPPY", "BS_HARD", "BS_NETWORK", "BS_CDROM"; the RAM
// disk "BS_RAM", 16 x 11. Folders, 16 x 15: "BS_OPENFOLDER",
// "BS_CLOSEDFOLDER", "BS_CURRENTFOLDER".
#pragma once

#include <memory>
#include <string>

class TBitmap;

// Safe to call from any thread, any number of times.
void RegisterDialogResources();
// A new bitmap holding the registered picture Name.
std::unique_ptr<TBitmap> LoadDialogPicture(const std::string& Name);
