// A stand-in for the system's mounted file systems inside a temporary folder:
// a mount table, label links, block-device folders shaped like the system's,
// and the mount points as folders. The process-wide drive environment points
// at it while the object lives.
#pragma once

#include "platform/core/Drives.h"
#include "platform/core/Paths.h"
#include "tests/support/TempDir.h"

#include <unistd.h>

#include <fstream>
#include <stdexcept>
#include <string>

class TFakeDriveTree {
public:
    TFakeDriveTree() {
        ForceDirectories(Root() + "/dev/disk/by-label");
        ForceDirectories(Root() + "/sys/class/block");
        ForceDirectories(Root() + "/sys/devices");
        TDriveEnvironment Env;
        Env.MountTable = FDir.File("mounts");
        Env.LabelFolder = Root() + "/dev/disk/by-label";
        Env.BlockFolder = Root() + "/sys/class/block";
        Env.RootFolder = Root();
        SetDriveEnvironment(Env);
        Write(FDir.File("mounts"), "");
    }
    ~TFakeDriveTree() { SetDriveEnvironment(FSaved); }
    TFakeDriveTree(const TFakeDriveTree&) = delete;
    TFakeDriveTree& operator=(const TFakeDriveTree&) = delete;

    // The fake system's "/".
    std::string Root() const { return FDir.Path() + "/root"; }

    // A line of the mount table as it stands (escapes included); with
    // MakeFolder the mount point also becomes a folder of the fake tree.
    void AddLine(const std::string& Line) { Append(FDir.File("mounts"), Line + "\n"); }
    void Mount(const std::string& Source, const std::string& MountPoint,
               const std::string& FileSystem, const std::string& Folder = {}) {
        AddLine(Source + " " + MountPoint + " " + FileSystem + " rw,relatime 0 0");
        if (!Folder.empty())
            ForceDirectories(Root() + Folder);
    }
    // A disk "/dev/<Disk>" with its partitions "/dev/<Disk>1" ...
    void AddDisk(const std::string& Disk, bool Removable, int Partitions) {
        const std::string Device = Root() + "/sys/devices/" + Disk;
        ForceDirectories(Device);
        Write(Device + "/removable", Removable ? "1\n" : "0\n");
        Link("../../devices/" + Disk, Root() + "/sys/class/block/" + Disk);
        Write(Root() + "/dev/" + Disk, "");
        for (int I = 1; I <= Partitions; ++I) {
            const std::string Name = Disk + std::to_string(I);
            ForceDirectories(Device + "/" + Name);
            Write(Device + "/" + Name + "/partition", std::to_string(I) + "\n");
            Link("../../devices/" + Disk + "/" + Name, Root() + "/sys/class/block/" + Name);
            Write(Root() + "/dev/" + Name, "");
        }
    }
    // A label link as the system makes it ("\x20" for a blank).
    void AddLabel(const std::string& LinkName, const std::string& Device) {
        Link("../../" + Device, Root() + "/dev/disk/by-label/" + LinkName);
    }
    void AddFile(const std::string& Path) { Write(Root() + Path, ""); }

private:
    static void Write(const std::string& FileName, const std::string& Text) {
        std::ofstream(FileName, std::ios::binary) << Text;
    }
    static void Append(const std::string& FileName, const std::string& Text) {
        std::ofstream(FileName, std::ios::binary | std::ios::app) << Text;
    }
    static void Link(const std::string& Target, const std::string& Name) {
        if (::symlink(Target.c_str(), Name.c_str()) != 0)
            throw std::runtime_error("symlink " + Name);
    }

    TDriveEnvironment FSaved = DriveEnvironment();
    TTempDir FDir;
};
