// The shell views: a skinned tree of the shell namespace whose folders open
// on demand (each node owning the TbsShellFolder of its item), and a skinned
// virtual list of one folder's items.
//
// Both show the shell's context menu for the selected item, rename items in
// place and, with AutoRefresh, re-read themselves when the change notifier
// reports a change. FUpdating is set while a view moves its own selection or
// its linked views, so the moves it makes itself are not echoed back.
#pragma once

#include "skin/controls/bsSkinCtrls.Views.h"
#include "skin/dialogs/bsShellChangeNotifier.h"
#include "skin/dialogs/bsShellFolders.h"

#include <string>
#include <vector>

class TbsCustomShellListView;

using TAddFolderEvent = TMethod<void(TObject* Sender, TbsShellFolder* AFolder, bool& CanAdd)>;

class TbsCustomShellTreeView : public TbsSkinCustomTreeView, public IbsShellCommandTarget {
public:
    explicit TbsCustomShellTreeView(TComponent* AOwner);
    ~TbsCustomShellTreeView() override;

    bool AutoRefresh() const { return FAutoRefresh; }
    void SetAutoRefresh(bool Value);
    // The parsing name of the selected folder; empty without a selection.
    std::string Path();
    // Raises EInvalidPath when Value does not parse; the selection stays.
    void SetPath(const std::string& Value);
    bool AutoContextMenus() const { return FAutoContext; }
    void SetAutoContextMenus(bool Value) { FAutoContext = Value; }
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    virtual void SetObjectTypes(TShellObjectTypes Value);
    const TRoot& Root() const { return FRoot; }
    // A root that names nothing keeps the old root (rebuilt) and raises.
    void SetRoot(const TRoot& Value);
    bool UseShellImages() const { return FUseShellImages; }
    void SetUseShellImages(bool Value);
    TbsShellFolder* RootFolder() const { return FRootFolder; }
    // The worker watching the selected folder while AutoRefresh is on.
    TbsShellChangeNotifier* Notifier() const { return FNotifier; }

    void Refresh(TTreeNode* Node);
    void RefreshSelected();
    void ExpandMyComputer();
    TbsShellFolder* SelectedFolder();
    // Selects the node of an absolute list, opening its ancestors.
    void SyncToFolder(const ITEMIDLIST* ID);
    static TbsShellFolder* NodeFolder(TTreeNode* Node) {
        return Node ? static_cast<TbsShellFolder*>(Node->Data()) : nullptr;
    }

    void ExecuteCommand(const std::string& Verb, bool& Handled) override;
    void CommandCompleted(const std::string& Verb, bool Succeeded) override;

    TAddFolderEvent OnAddFolder;

protected:
    void Loaded() override;
    void WndProc(TMessage& Message) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void GetImageIndex(TTreeNode* Node) override;
    void GetSelectedIndex(TTreeNode* Node) override;
    virtual void ClearNodes();
    bool CanChange(TTreeNode* Node) override;
    bool CanExpand(TTreeNode* Node) override;
    void DoContextPopup(TPoint MousePos, bool& Handled) override;
    void Edit(const TVITEM& Item) override;
    void Delete(TTreeNode* Node) override;

private:
    void LoadRoot();
    void RootChanged();
    void AddChildNode(TTreeNode* Node, const ITEMIDLIST* ID, TTreeNode* ParentNode);
    void PopulateNode(TTreeNode* Node);
    // The node whose absolute list equals ID, searched from Start through the
    // nodes after it that lie deeper than it.
    TTreeNode* FindNodeFrom(TTreeNode* Start, const ITEMIDLIST* ID);
    PItemIDList NodeAbsoluteID(TTreeNode* Node);
    void FreeNodeFolders(TTreeNode* Node);
    void ApplyImageList();
    bool IsLoading() const { return ComponentState().Contains(csLoading); }

    std::string FPath;
    TRoot FRoot;
    TRoot FOldRoot;
    TbsShellFolder* FRootFolder = nullptr;
    TShellObjectTypes FObjectTypes;
    bool FLoadingRoot = false;
    bool FAutoContext = true;
    bool FUpdating = false;
    bool FAutoRefresh = false;
    bool FImageListChanging = false;
    bool FUseShellImages = true;
    TbsShellChangeNotifier* FNotifier = nullptr;
    TTreeNode* FNodeToMonitor = nullptr;
    HIMAGELIST FImages = nullptr;
};

class TbsSkinDirTreeView : public TbsCustomShellTreeView {
public:
    using TbsCustomShellTreeView::TbsCustomShellTreeView;
};

class TbsCustomShellListView : public TbsSkinCustomListView, public IbsShellCommandTarget {
public:
    explicit TbsCustomShellListView(TComponent* AOwner);
    ~TbsCustomShellListView() override;

    bool AutoRefresh() const { return FAutoRefresh; }
    void SetAutoRefresh(bool Value);
    bool AutoContextMenus() const { return FAutoContext; }
    void SetAutoContextMenus(bool Value) { FAutoContext = Value; }
    bool AutoNavigate() const { return FAutoNavigate; }
    void SetAutoNavigate(bool Value) { FAutoNavigate = Value; }
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    // Parts cut at ";" and "|"; a part without a dot admits nothing but "*".
    const std::string& Mask() const { return FMask; }
    void SetMask(const std::string& Value);
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    void SetObjectTypes(TShellObjectTypes Value);
    const TRoot& Root() const { return FRoot; }
    void SetRoot(const TRoot& Value);
    TbsShellFolder* RootFolder() const { return FRootFolder; }
    // The parsing name of the folder shown; empty without one.
    std::string Path() const;
    // Raises EInvalidPath when Value does not parse; the list stays.
    void SetPath(const std::string& Value);
    TbsShellChangeNotifier* Notifier() const { return FNotifier; }
    int FolderCount() const { return int(FFolders.size()); }
    // Entry Index, null outside the list.
    TbsShellFolder* Folders(int Index) const;
    int SortColumn() const { return FSortColumn; }
    bool SortDescending() const { return FSortDirection; }

    void SetViewStyle(TViewStyle Value) override;
    virtual void Populate();
    void OpenFolder(const ITEMIDLIST* ID);
    void SyncToFolder(const ITEMIDLIST* ID);
    // The parent folder; nothing at the desktop.
    void Back();
    void Refresh();
    TbsShellFolder* SelectedFolder();
    std::string GetSelectedFile();
    // The selected files (not folders), full paths, in list order.
    void GetSelectedFiles(TStrings* AFiles);
    // Builds the report view's columns for the folder shown.
    void EnumColumns();

    void ExecuteCommand(const std::string& Verb, bool& Handled) override;
    void CommandCompleted(const std::string& Verb, bool Succeeded) override;

    TAddFolderEvent OnAddFolder;
    TNotifyEvent OnPathChanged;
    TLVEditingEvent OnEditing;

protected:
    void Loaded() override;
    void WndProc(TMessage& Message) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    bool OwnerDataFetch(TListItem* Item, TItemRequests Request) override;
    int OwnerDataFind(TItemFind Find, const std::string& FindString, const TPoint& FindPosition,
                      void* FindData, int StartIndex, TSearchDirection Direction,
                      bool Wrap) override;
    void ColClick(TListColumn* Column) override;
    void DblClick() override;
    void DoContextPopup(TPoint MousePos, bool& Handled) override;
    void Edit(const LVITEM& Item) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;

private:
    void LoadRoot();
    void RootChanged();
    void ClearFolders();
    bool MaskAdmits(TbsShellFolder* Folder) const;
    void SortFolders(bool Custom);
    int CompareFolders(TbsShellFolder* A, TbsShellFolder* B, bool Custom);
    bool AddColumn(const SHELLDETAILS& Details, std::vector<std::string>& Added);
    int CharWidth();
    void ForgetFetchedItem();
    bool IsLoading() const { return ComponentState().Contains(csLoading); }

    int FOldSortColumn = -1;
    int FSortColumn = -1;
    bool FSortDirection = false;
    TRoot FOldRoot;
    TRoot FRoot;
    TbsShellFolder* FRootFolder = nullptr;
    bool FAutoContext = true;
    bool FAutoRefresh = false;
    bool FAutoNavigate = true;
    bool FSorted = true;
    bool FUpdating = false;
    TShellObjectTypes FObjectTypes;
    HIMAGELIST FLargeImages = nullptr;
    HIMAGELIST FSmallImages = nullptr;
    std::vector<TbsShellFolder*> FFolders;
    TbsShellChangeNotifier* FNotifier = nullptr;
    bool FSettingRoot = false;
    std::string FMask = "*.*|*.*";
};

class TbsSkinFileListView : public TbsCustomShellListView {
public:
    using TbsCustomShellListView::TbsCustomShellListView;
};
