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

// What an output must never write over, whatever the overwrite choice: the
// files the other rows write (their final paths, and so their partial paths
// too) and the files the job list reads.
struct TTakenNames {
    std::vector<std::string> Outputs; // the other rows' final paths
    std::vector<std::string> Inputs;  // every row's input and the file being added
};

// The path for FileName in Folder that is free: neither it nor its partial
// path is one of Taken's names (a file reached by another spelling or link
// counts as the same), its partial file is absent, and the file itself is
// absent unless Overwrite. The name itself when free, else the first free
// "_1", "_2" ... before its extension. Folders count as taken names.
std::string ResolveOutputName(const std::string& Folder, const std::string& FileName,
                              bool Overwrite, const TTakenNames& Taken);

// Moves Final's partial file to Final. With Overwrite an existing file is
// replaced in one step unless Taken names it; otherwise a file there keeps
// its name and the output takes the next free "_n" name. Placed answers the
// path the output now has. On failure the partial file stays where it was
// and Error says why.
bool MovePartialIntoPlace(const std::string& Final, bool Overwrite, const TTakenNames& Taken,
                          std::string& Placed, std::string& Error);
