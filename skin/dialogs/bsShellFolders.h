// What the shell views and dialogs stand on: item-identifier list
// operations, the item object TbsShellFolder with its names, attributes,
// picture and detail texts, root items made from a Root text, the context
// menu with its command hook, and the unit's shared state.
//
// The unit state (DesktopFolder, ShellUnitLock, ActiveContextMenu2) is made
// on first use, on the user-interface thread, and released by
// DoneShellControls after the forms are gone. Everything but ShellUnitLock
// belongs to the user-interface thread.
#pragma once

#include "platform/core/Objects.h"
#include "platform/core/Paths.h"
#include "platform/core/StringLists.h"
#include "platform/core/SyncObjects.h"
#include "platform/forms/Sets.h"
#include "platform/shell/ShellApi.h"

#include <memory>
#include <string>
#include <vector>

class TWinControl;

// ---------------------------------------------------------------- item-identifier lists

PItemIDList AllocItemIdList(int Size);
void FreeItemIdList(PItemIDList ID);
// The address of the next item.
PItemIDList NextItemId(PItemIDList ID);
int ItemIdCount(const ITEMIDLIST* ID);
// The item byte counts plus the terminator; 0 for no list.
int ItemIdListSize(const ITEMIDLIST* ID);
PItemIDList CopyItemIdList(const ITEMIDLIST* ID);
// The items of ID1 (none when absent) followed by ID2 with its terminator.
PItemIDList JoinItemIdLists(const ITEMIDLIST* ID1, const ITEMIDLIST* ID2);
// Writes a terminator over the last item, in place.
void RemoveLastItemId(PItemIDList ID);
PItemIDList LastItemIdOf(const ITEMIDLIST* ID);
// Every proper prefix of ID, shortest first (the empty list first).
std::vector<PItemIDList> ItemIdListPrefixes(const ITEMIDLIST* ID);
void FreeItemIdListPrefixes(std::vector<PItemIDList>& List);

// Frees its list with FreeItemIdList.
struct TItemIdListDeleter {
    void operator()(ITEMIDLIST* ID) const { FreeItemIdList(ID); }
};
using TItemIdListHolder = std::unique_ptr<ITEMIDLIST, TItemIdListDeleter>;

// Both raise EOleSysError when the shell fails.
PItemIDList DesktopItemIdList();
PShellFolder GetDesktopShellFolder();
bool SameItemIdList(const ITEMIDLIST* ID1, const ITEMIDLIST* ID2);

// ---------------------------------------------------------------- roots and types

// A TRootFolder name (any letter case) or a path.
using TRoot = std::string;

enum TRootFolder {
    rfDesktop,
    rfMyComputer,
    rfNetwork,
    rfRecycleBin,
    rfAppData,
    rfCommonDesktopDirectory,
    rfCommonPrograms,
    rfCommonStartMenu,
    rfCommonStartup,
    rfControlPanel,
    rfDesktopDirectory,
    rfFavorites,
    rfFonts,
    rfInternet,
    rfPersonal,
    rfPrinters,
    rfPrintHood,
    rfPrograms,
    rfRecent,
    rfSendTo,
    rfStartMenu,
    rfStartup,
    rfTemplates
};

// The ordinal whose name equals Name ignoring case; -1 for none.
int RootFolderOrdinal(const std::string& Name);
int RootFolderId(TRootFolder Folder);

enum TShellObjectType { otFolders, otNonFolders, otHidden };
using TShellObjectTypes = TSet<TShellObjectType>;
DWORD EnumFlagsOf(TShellObjectTypes Types);

enum TbsShellFolderCapability {
    fcCanCopy,
    fcCanDelete,
    fcCanLink,
    fcCanMove,
    fcCanRename,
    fcDropTarget,
    fcHasPropSheet
};
using TbsShellFolderCapabilities = TSet<TbsShellFolderCapability>;

enum TbsShellFolderProperty {
    fpCut,
    fpIsLink,
    fpReadOnly,
    fpShared,
    fpFileSystem,
    fpFileSystemAncestor,
    fpRemovable,
    fpValidate
};
using TbsShellFolderProperties = TSet<TbsShellFolderProperty>;

// Offered by the tree and list views: told before and after a context-menu
// command runs.
class IbsShellCommandTarget {
public:
    virtual ~IbsShellCommandTarget() = default;
    virtual void ExecuteCommand(const std::string& Verb, bool& Handled) = 0;
    virtual void CommandCompleted(const std::string& Verb, bool Succeeded) = 0;
};

// ---------------------------------------------------------------- shell queries

int ShellIconIndex(const ITEMIDLIST* AbsoluteID, bool Large, bool Open);
TbsShellFolderCapabilities CapabilitiesOf(const PShellFolder& Parent, const ITEMIDLIST* ID);
TbsShellFolderProperties PropertiesOf(const PShellFolder& Parent, const ITEMIDLIST* ID);
bool IsFolderItem(const PShellFolder& Parent, const ITEMIDLIST* ID);
bool HasSubFoldersItem(const PShellFolder& Parent, const ITEMIDLIST* ID);
bool HasSubItems(const PShellFolder& Folder, DWORD Flags);
// The name, from the folder's GetDisplayNameOf; a class-id parsing name
// ("::{...}") is replaced by the normal name.
std::string ItemDisplayName(const PShellFolder& Folder, const ITEMIDLIST* ID, DWORD Flags);
// An offset text is read only inside ID's first item.
std::string StrRetText(const ITEMIDLIST* ID, const STRRET& StrRet);
PShellFolder BindShellFolder(const PShellFolder& Parent, const ITEMIDLIST* ID, HWND Owner);
std::shared_ptr<IShellDetails> BindShellDetails(const PShellFolder& Folder, const ITEMIDLIST* ID,
                                                HWND Owner);
std::shared_ptr<IShellFolder2> BindShellFolder2(const PShellFolder& Folder, const ITEMIDLIST* ID,
                                                HWND Owner);

// ---------------------------------------------------------------- the item object

class TbsShellFolder : public TObject {
public:
    TbsShellFolder(TbsShellFolder* AParent, const ITEMIDLIST* ID, PShellFolder SF);
    ~TbsShellFolder() override;
    TbsShellFolder(const TbsShellFolder&) = delete;
    TbsShellFolder& operator=(const TbsShellFolder&) = delete;

    PItemIDList RelativeID() const { return FPIDL.get(); }
    PItemIDList AbsoluteID() const { return FFullPIDL.get(); }
    TbsShellFolder* Parent() const { return FParent; }
    const PShellFolder& ShellFolder() const { return FIShellFolder; }
    std::shared_ptr<IShellFolder2> ShellFolder2();
    std::shared_ptr<IShellDetails> ShellDetails();
    int Level() const { return FLevel; }
    HWND ViewHandle() const { return FViewHandle; }
    void SetViewHandle(HWND Value) { FViewHandle = Value; }

    // The parent's folder; with no parent the desktop's.
    PShellFolder ParentShellFolder() const;
    TbsShellFolderProperties Properties() const;
    TbsShellFolderCapabilities Capabilities() const;
    bool SubFolders() const;
    // A ".zip" file counts as a file, whatever the shell says.
    bool IsFolder() const;
    std::string PathName() const;
    // Empty for an item without a file-system path.
    std::string FullObjectName() const;
    std::string DisplayName() const;
    int ImageIndex(bool LargeIcon) const;
    // False without the rename capability; raises "Rename to %s failed"
    // when the shell refuses.
    bool Rename(const std::string& NewName);
    int ExecuteDefault();

    void LoadColumnDetails(TbsShellFolder* RootFolder, HWND AViewHandle, int ColumnCount);
    // Index counts from 1.
    std::string DetailText(int Index);
    // Raises EInvalidPath when the item cannot be found.
    void ReadFindData(TSearchRec& Data) const;

private:
    void LoadDetailInterface();

    TItemIdListHolder FPIDL;
    TItemIdListHolder FFullPIDL;
    TbsShellFolder* FParent = nullptr;
    PShellFolder FIShellFolder;
    std::shared_ptr<IShellFolder2> FIShellFolder2;
    std::shared_ptr<IShellDetails> FIShellDetails;
    std::shared_ptr<IUnknown> FDetailInterface;
    int FLevel = 0;
    HWND FViewHandle = nullptr;
    std::unique_ptr<TStringList> FDetails;
};

// -1 for a folder, else the size.
std::int64_t FindDataSize(const TSearchRec& Data);
// -1.0 for a folder, else the local modification time.
TDateTime FindDataModified(const TSearchRec& Data);

// A root item under DesktopFolder for the shell folder of ID (the desktop
// folder when ID names no folder).
TbsShellFolder* CreateFolderFromItemIdList(const ITEMIDLIST* ID);
// The item Root names; frees OldFolder. A Root that names nothing raises
// "Error setting path: "%s"" with Root put back to OldRoot, and OldFolder
// kept.
TbsShellFolder* CreateRootFolder(TbsShellFolder* OldFolder, const TRoot& OldRoot, TRoot& Root);

// The item's context menu at the control's client point; the chosen command
// runs unless the control (an IbsShellCommandTarget) handles it.
void ShowShellContextMenu(TWinControl* Control, TbsShellFolder* Folder, int X, int Y);
void InvokeShellVerb(TbsShellFolder* Folder, const std::string& Verb);

// ---------------------------------------------------------------- unit state

void InitShellControls();
void DoneShellControls();
TbsShellFolder* DesktopFolder();
TCriticalSection* ShellUnitLock();
std::shared_ptr<IContextMenu2>& ActiveContextMenu2();
