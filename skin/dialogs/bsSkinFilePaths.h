// Path routines of the file controls: folder tests, joining and splitting,
// shortening a path to a width, and the texts shown beside a drive.
//
// Paths use "/" and have no drive part; a "drive" is a mount point
// (platform/core/Drives.h). None of these routines changes the process's
// current folder: the conversion threads share it.
#pragma once

#include <string>

class TCanvas;

enum TTextCase { tcLowerCase, tcUpperCase };

// True when Path names an existing folder; a dangling or unreadable path is
// no folder.
bool IsFolderPath(const std::string& Path);
// Folder + Name, with one "/" between them.
std::string JoinFolderAndName(const std::string& Folder, const std::string& Name);
// Replaces the first folder of S by "..." ("/a/b/c" becomes "/.../b/c");
// empties S when no folder is left.
void CutFirstFolder(std::string& S);
// FileName with its leading folders cut until it fits MaxWidth pixels on
// Canvas; at the end the bare name.
std::string FitPathToWidth(const std::string& FileName, TCanvas* Canvas, int MaxWidth);
// "[" + the volume label of the mount point + "]", the label in TextCase.
std::string GetVolumeLabelText(const std::string& MountPoint, TTextCase TextCase);
// The source of a network mount ("//server/share") in TextCase, else
// GetVolumeLabelText.
std::string GetNetworkVolumeText(const std::string& MountPoint, TTextCase TextCase);
// Splits a path the user typed into the mount point, the folder and the
// file part. Relative texts, and "[sub]" (how the file list shows a
// folder), are taken from Base, which must be absolute. A bare name that is
// no file of the folder must be a folder and is entered. Every folder on the
// way must exist and be enterable, else EInOutError with the system's error.
void SplitFileSpec(const std::string& Text, const std::string& Base, std::string& Drive,
                   std::string& DirPart, std::string& FilePart);
// The real path (links resolved) of Folder, which must be an absolute
// folder that can be entered, else EInOutError with the system's error.
// The lists' "entering" a folder: the process's current folder stays.
std::string EnterableFolder(const std::string& Folder);
// Counts the path delimiters ("/") of Path; the name is the one the folder
// list's indents have always used.
int CountBackslashes(const std::string& Path);
