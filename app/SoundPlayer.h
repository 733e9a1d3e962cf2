// The sound child: the program started again with "--play-sound FILE" plays
// the chime at the end of a batch in a process of its own, so its sound
// device never meets the preview player's, and exits.
#pragma once

#include <string>

// True when the command line asks for the sound child, with the file in
// WaveFile: exactly the switch and one file, nothing else.
bool IsSoundChildCommand(int argc, char** argv, std::string& WaveFile);

// Plays the WAV file to its end with SDL, loaded from the program folder's
// "LibAV" or the system. Answers 0, or 1 after one line "ostrela: " + the
// error on standard error. Opens no window.
int PlaySoundFile(const std::string& WaveFile);
