// The contact sheet: for every skin a picture of the main window's mock-up
// above a strip of states, and one overview of all eleven; text needs Qt's
// application object, made here on the offscreen platform.
#pragma once

#include <string>

namespace skingen {

// Writes skin-N.png and overview.png into Folder; answers the exit status.
int WriteContactSheets(const char* Argv0, const std::string& Folder);

} // namespace skingen
