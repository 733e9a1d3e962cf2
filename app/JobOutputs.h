// Where a job writes and when its output takes its final name. A job writes
// beside its final name under a partial one; only a finished job's output is
// moved to the final name, so a final name only ever holds finished work and
// a stopped job's work stays on disk under the partial name.
#pragma once

#include <string>
#include <vector>

// The final path with ".part" before its extension ("clip.avi" ->
// "clip.part.avi"), so the extension still chooses the container; ".part" is
// appended to a name without one.
std::string PartialOutputPath(const std::string& Final);

// The path for FileName in Folder that is free: named by none of OtherRows
// (the other rows' final paths), its partial file absent, and the file itself
// absent unless Overwrite. The name itself when free, else the first free
// "_1", "_2" ... before its extension. Folders count as taken names.
std::string ResolveOutputName(const std::string& Folder, const std::string& FileName,
                              bool Overwrite, const std::vector<std::string>& OtherRows);

// Moves Final's partial file to Final. With Overwrite an existing file is
// replaced in one step; without, a file that appeared there meanwhile keeps
// its name and the output takes the next free "_n" name. Placed answers the
// path the output now has. On failure the partial file stays where it was
// and Error says why.
bool MovePartialIntoPlace(const std::string& Final, bool Overwrite,
                          const std::vector<std::string>& OtherRows, std::string& Placed,
                          std::string& Error);
