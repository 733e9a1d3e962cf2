// The desktop's trash, in the layout every freedesktop.org desktop shares
// (files/ and info/*.trashinfo): nothing the user deletes is lost, it can be
// restored from the desktop's own trash window.
#pragma once

#include <string>

// Moves an absolute path to the trash of its file system: the home trash
// (ShellEnvironment().DataHome + "/Trash") when it is on the same file
// system, else "<top folder>/.Trash-<uid>". The info file is written first
// under a free name ("name", "name.2" ...), then the item is renamed into
// "files"; when that fails the info file is removed and the item stays where
// it was. Mount points, the home folder and the trash itself are refused.
// False on failure, the errno in ShellLastError().
bool MoveToTrash(const std::string& Path);

// The path encoded as the trash's info files write it.
std::string TrashPercentEncode(const std::string& Path);
