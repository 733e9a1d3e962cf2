#include "platform/forms/PopupMenus.h"
#include "platform/shell/ShellInternal.h"
#include "platform/shell/ShellProperties.h"
#include "platform/shell/Trash.h"

#include <cstring>

namespace shell_detail {

namespace {

enum TVerb : UINT { vbOpen, vbRename, vbDelete, vbProperties, vbCount };
const char* const VerbNames[vbCount] = {"open", "rename", "delete", "properties"};
const char* const VerbCaptions[vbCount] = {"Open", "Rename", "Delete", "Properties"};

bool RunOpen(HWND Owner, const std::string& Path) {
    return ShellExecute(Owner, "open", Path.c_str(), nullptr, nullptr, SW_SHOW) > 32;
}

class TContextMenu : public IContextMenu {
public:
    explicit TContextMenu(TPlace Place) : FPlace(std::move(Place)) {}

    HRESULT QueryContextMenu(HMENU Menu, UINT Index, UINT First, UINT Last, UINT Flags) override {
        if (!HasPath(FPlace))
            return S_OK;
        const ULONG Attributes = AttributesOf(FPlace);
        UINT Position = Index;
        UINT Used = 0;
        auto Add = [&](TVerb Verb, UINT Extra) {
            if (First + Verb > Last)
                return;
            InsertMenu(Menu, Position++, MF_BYPOSITION | MF_STRING | Extra, First + Verb,
                       VerbCaptions[Verb]);
            Used = std::max<UINT>(Used, Verb + 1);
        };
        Add(vbOpen, MF_DEFAULT);
        if ((Flags & CMF_CANRENAME) && (Attributes & SFGAO_CANRENAME))
            Add(vbRename, 0);
        if (Attributes & SFGAO_CANDELETE)
            Add(vbDelete, 0);
        InsertMenu(Menu, Position++, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        Add(vbProperties, 0);
        return static_cast<HRESULT>(Used);
    }

    HRESULT InvokeCommand(const CMINVOKECOMMANDINFO* Info) override {
        // A null verb is the command offset 0.
        if (!Info)
            return E_INVALIDARG;
        const int Verb = VerbOf(Info->lpVerb);
        if (Verb < 0 || !HasPath(FPlace))
            return E_INVALIDARG;
        switch (Verb) {
        case vbOpen:
            return RunOpen(Info->hwnd, FPlace.Path) ? S_OK : E_FAIL;
        case vbDelete:
            // Only the trash: nothing is deleted for good, so no question.
            if (!(AttributesOf(FPlace) & SFGAO_CANDELETE))
                return E_FAIL;
            return MoveToTrash(FPlace.Path) ? S_OK : E_FAIL;
        case vbProperties: {
            PItemIDList ID = ListOf(FPlace);
            const BOOL Shown = ShowShellProperties(Info->hwnd, ID);
            ShellFree(ID);
            return Shown ? S_OK : E_FAIL;
        }
        default:
            // A rename needs the new name, which the views' label edit asks.
            return E_FAIL;
        }
    }

    HRESULT GetCommandString(UINT_PTR Offset, UINT Type, UINT*, char* Name,
                             UINT NameSize) override {
        if (Type != GCS_VERBA || Offset >= vbCount || !Name || NameSize == 0)
            return E_INVALIDARG;
        std::strncpy(Name, VerbNames[Offset], NameSize - 1);
        Name[NameSize - 1] = '\0';
        return S_OK;
    }

private:
    static int VerbOf(const char* Verb) {
        if (!Verb || IsVerbOffset(Verb)) {
            const auto Offset = reinterpret_cast<std::uintptr_t>(Verb);
            return Offset < vbCount ? static_cast<int>(Offset) : -1;
        }
        for (UINT I = 0; I < vbCount; ++I)
            if (std::strcmp(Verb, VerbNames[I]) == 0)
                return static_cast<int>(I);
        return -1;
    }

    TPlace FPlace;
};

} // namespace

PUnknown MakeContextMenu(const TPlace& Place) {
    return std::make_shared<TContextMenu>(Place);
}

} // namespace shell_detail

using namespace shell_detail;

BOOL ShellExecuteEx(SHELLEXECUTEINFO* Info) {
    if (!Info)
        return FALSE;
    std::string Target;
    if ((Info->fMask & SEE_MASK_INVOKEIDLIST) == SEE_MASK_INVOKEIDLIST && Info->lpIDList) {
        if (!SHGetPathFromIDList(Info->lpIDList, Target))
            return FALSE;
    } else if (Info->lpFile) {
        Target = Info->lpFile;
    }
    if (Target.empty() || Target[0] != '/')
        return FALSE;
    Info->hInstApp = ShellExecute(Info->hwnd, Info->lpVerb ? Info->lpVerb : "open", Target.c_str(),
                                  Info->lpParameters, Info->lpDirectory, Info->nShow);
    return Info->hInstApp > 32;
}
