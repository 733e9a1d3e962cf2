// The program's outside services, replaceable by tests before the forms are
// created: the task queue, the preview player, the desktop actions and the
// program folder. A null member means the real one (the window's own
// component); an empty ProgramFolder means the executable's folder, where
// option.ini, "LibAV", "help.chm" and "sounds/ring001.wav" are looked for.
// The program itself never sets anything.
#pragma once

#include <string>

class IJobQueue;
class IPreviewPlayer;
class TExternalActions;

struct TProgramServices {
    IJobQueue* Queue = nullptr;
    IPreviewPlayer* Player = nullptr;
    TExternalActions* Actions = nullptr;
    std::string ProgramFolder;
};

void SetProgramServices(const TProgramServices& Services);
const TProgramServices& ProgramServices();

// ProgramServices().ProgramFolder, or the executable's folder; with "/".
std::string ProgramFolder();
