#include "platform/shell/ShellProperties.h"

#include "platform/core/DateTime.h"
#include "platform/core/Drives.h"
#include "platform/core/Paths.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/shell/ShellInternal.h"

#include <pwd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <algorithm>

using namespace shell_detail;

namespace {

std::string PermissionText(const struct stat& Info) {
    std::string Text = "---------";
    const mode_t Bits[] = {S_IRUSR, S_IWUSR, S_IXUSR, S_IRGRP, S_IWGRP,
                           S_IXGRP, S_IROTH, S_IWOTH, S_IXOTH};
    for (int I = 0; I < 9; ++I)
        if (Info.st_mode & Bits[I])
            Text[I] = "rwx"[I % 3];
    passwd Entry{}, *Found = nullptr;
    char Buffer[1024];
    if (::getpwuid_r(Info.st_uid, &Entry, Buffer, sizeof Buffer, &Found) == 0 && Found)
        return Text + " " + Found->pw_name;
    return Text + " " + std::to_string(Info.st_uid);
}

std::string Megabytes(unsigned long long Bytes) {
    return std::to_string(Bytes / (1024 * 1024)) + " MB";
}

std::string FileSystemOf(const std::string& MountPoint) {
    std::string Type;
    for (const TMountEntry& Entry : ReadMountTable(DriveEnvironment().MountTable))
        if (Entry.MountPoint == MountPoint)
            Type = Entry.FileSystem; // the later line is the one on top
    return Type;
}

class TPropertiesForm : public TForm {
public:
    TPropertiesForm(const std::vector<std::pair<std::string, std::string>>& Rows) : TForm(nullptr) {
        SetBorderStyle(bsDialog);
        SetPosition(poScreenCenter);
        SetCaption(Rows.front().second);
        int Top = 12;
        for (std::size_t I = 1; I < Rows.size(); ++I) {
            AddLabel(12, Top, Rows[I].first + ":");
            AddLabel(110, Top, Rows[I].second);
            Top += 20;
        }
        auto* Ok = new TButton(this);
        Ok->SetCaption("OK");
        Ok->SetModalResult(mrOk);
        Ok->SetDefault(true);
        Ok->SetCancel(true);
        Ok->SetBounds(250, Top + 8, 75, 23);
        Ok->SetParent(this);
        SetClientSize(340, Top + 43);
        SetActiveControl(Ok);
    }

private:
    void AddLabel(int X, int Y, const std::string& Text) {
        auto* Label = new TLabel(this);
        Label->SetCaption(Text);
        Label->SetLeft(X);
        Label->SetTop(Y);
        Label->SetParent(this);
    }
};

} // namespace

std::vector<std::pair<std::string, std::string>> ShellPropertyRows(const ITEMIDLIST* AbsoluteID) {
    const std::optional<std::vector<TItem>> Items = DecodeList(AbsoluteID);
    TPlace Place;
    if (!Items || !Walk(TPlace{}, *Items, Place) || !HasPath(Place))
        return {};
    struct stat Info {};
    if (::stat(Place.Path.c_str(), &Info) != 0)
        return {};
    const std::string Name = DisplayNameOf(Place);
    std::vector<std::pair<std::string, std::string>> Rows = {
        {"", Name + " Properties"},
        {"Name", Name},
        {"Type", TypeTextOf(Place)},
        {"Location", Place.Path == "/" ? "/" : ExtractFileDir(Place.Path)},
    };
    // Folders are not summed: a large one would stall the window.
    if (!S_ISDIR(Info.st_mode))
        Rows.push_back({"Size", std::to_string(Info.st_size) + " bytes"});
    Rows.push_back(
        {"Modified", DateTimeToStr(FileTimeToDateTime(Info.st_mtim.tv_sec, Info.st_mtim.tv_nsec))});
    Rows.push_back({"Permissions", PermissionText(Info)});
    if (Place.Kind == pkMount) {
        Rows.push_back({"File system", FileSystemOf(Place.Path)});
        struct statvfs Space {};
        if (::statvfs(Place.Path.c_str(), &Space) == 0) {
            Rows.push_back({"Capacity", Megabytes(1ULL * Space.f_blocks * Space.f_frsize)});
            Rows.push_back({"Free", Megabytes(1ULL * Space.f_bavail * Space.f_frsize)});
        }
    }
    return Rows;
}

BOOL ShowShellProperties(HWND, const ITEMIDLIST* AbsoluteID) {
    const auto Rows = ShellPropertyRows(AbsoluteID);
    if (Rows.empty())
        return FALSE;
    TPropertiesForm Form(Rows);
    Form.ShowModal();
    return TRUE;
}
