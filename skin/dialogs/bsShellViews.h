// The shell views: a skinned tree of the shell namespace whose folders open
// on demand (each node owning the TbsShellFolder of its item), a skinned
// virtual list of one folder's items, and a look-in combo box listing the
// root, its children and the chain of folders down to the folder shown.
//
// Both show the shell's context menu for the selected item, rename items in
// place and, with AutoRefresh, re-read themselves when the change notifier
// reports a change. FUpdating is set while a view moves its own selection or
// its linked views, so the moves it makes itself are not echoed back.
#pragma once

#include "platform/core/Lists.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinCtrls.Views.h"
#include "skin/dialogs/bsShellChangeNotifier.h"
#include "skin/dialogs/bsShellFolders.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class TbsCustomShellListView;
class TbsCustomShellComboBox;

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
    TbsCustomShellListView* ShellListView() const { return FListView; }
    void SetShellListView(TbsCustomShellListView* Value);
    TbsCustomShellComboBox* ShellComboBox() const { return FComboBox; }
    void SetShellComboBox(TbsCustomShellComboBox* Value);

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
    friend class TbsCustomShellListView;
    friend class TbsCustomShellComboBox;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
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
    TbsCustomShellListView* FListView = nullptr;
    TbsCustomShellComboBox* FComboBox = nullptr;
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
    TbsCustomShellTreeView* ShellTreeView() const { return FTreeView; }
    void SetShellTreeView(TbsCustomShellTreeView* Value);
    TbsCustomShellComboBox* ShellComboBox() const { return FComboBox; }
    void SetShellComboBox(TbsCustomShellComboBox* Value);
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
    friend class TbsCustomShellTreeView;
    friend class TbsCustomShellComboBox;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
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
    // Moves the linked tree and combo box to the folder shown, or hands the
    // tree a new root.
    void SyncLinked();
    void ClearFolders();
    bool MaskAdmits(TbsShellFolder* Folder) const;
    void SortFolders(bool Custom);
    int CompareFolders(TbsShellFolder* A, TbsShellFolder* B, bool Custom);
    // What one sort learned of an entry: each is asked of the file system
    // once per sort, not once per comparison.
    struct TSortKey {
        int IsFolder = -1;
        bool HasFindData = false;
        TSearchRec FindData;
    };
    TSortKey& SortKeyOf(TbsShellFolder* Folder);
    bool SortIsFolder(TbsShellFolder* Folder);
    const TSearchRec& SortFindData(TbsShellFolder* Folder);
    std::unordered_map<TbsShellFolder*, TSortKey>* FSortKeys = nullptr;
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
    TbsCustomShellTreeView* FTreeView = nullptr;
    TbsCustomShellComboBox* FComboBox = nullptr;
    TbsShellChangeNotifier* FNotifier = nullptr;
    bool FSettingRoot = false;
    std::string FMask = "*.*|*.*";
};

class TbsSkinFileListView : public TbsCustomShellListView {
public:
    using TbsCustomShellListView::TbsCustomShellListView;
};

// One entry of the look-in box; the combo box owns Data.
class TbsItemEx : public TCollectionItem {
public:
    explicit TbsItemEx(TCollection* ACollection) : TCollectionItem(ACollection) {}

    std::string Caption;
    TbsShellFolder* Data = nullptr;
    int Indent = 0;
    int ImageIndex = -1;
    int SelectedImageIndex = -1;
};

class TbsItemsEx : public TCollection {
public:
    TbsItemsEx();
    TbsItemEx* Add() { return static_cast<TbsItemEx*>(TCollection::Add()); }
    TbsItemEx* Insert(int Index) { return static_cast<TbsItemEx*>(TCollection::Insert(Index)); }
    TbsItemEx* AddItem(const std::string& ACaption, int AImageIndex, int ASelectedIndex, int AIdent,
                       TbsShellFolder* AFolder);
    TbsItemEx* Items(int Index) const { return static_cast<TbsItemEx*>(TCollection::Items(Index)); }
};

class TbsCustomShellComboBox : public TbsSkinCustomComboBox {
public:
    explicit TbsCustomShellComboBox(TComponent* AOwner);
    ~TbsCustomShellComboBox() override;

    TbsItemsEx* ItemsEx() const { return FItemsEx.get(); }
    // The parsing name of the selected entry's folder; empty without one.
    std::string Path();
    // Raises EInvalidPath when Value does not parse.
    void SetPath(const std::string& Value);
    const TRoot& Root() const { return FRoot; }
    void SetRoot(const TRoot& Value);
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    virtual void SetObjectTypes(TShellObjectTypes Value);
    bool UseShellImages() const { return FUseShellImages; }
    void SetUseShellImages(bool Value);
    int ImageWidth() const { return FImageWidth; }
    int ImageHeight() const { return FImageHeight; }
    HIMAGELIST SystemImages() const { return FImages; }
    TbsCustomShellTreeView* ShellTreeView() const { return FTreeView; }
    void SetShellTreeView(TbsCustomShellTreeView* Value);
    TbsCustomShellListView* ShellListView() const { return FListView; }
    void SetShellListView(TbsCustomShellListView* Value);

    void SyncToFolder(const ITEMIDLIST* ID);
    // Rebuilds the root list with the chain of folders down to ID.
    void ShowPathTo(const ITEMIDLIST* ID);
    // The entry's folder; past the end the last entry's, none when empty.
    TbsShellFolder* FolderOfItem(int Index) const;
    // The last entry whose folder has the absolute list ID; -1 for none.
    int IndexOfFolder(const ITEMIDLIST* ID) const;

    void Change() override;

protected:
    friend class TbsCustomShellTreeView;
    friend class TbsCustomShellListView;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void AddRootChildren();

private:
    void LoadRoot();
    void RootChanged();
    void RebuildStrings();
    void ClearItemsEx();
    int ImageIndexOf(TbsShellFolder* Folder) const;
    void ApplyImages(bool Value);
    TbsShellFolder* MakeChildFolder(TbsShellFolder* Folder, const ITEMIDLIST* ID);
    void AddChildren(int Index, TbsShellFolder* Folder);
    void DrawFaceItem(TCanvas* Cnvs, int Index, int ItemWidth, int ItemHeight, TRect TxtRect,
                      TOwnerDrawState State);
    void DrawListItem(TCanvas* Cnvs, int Index, int ItemWidth, int ItemHeight, TRect TxtRect,
                      TOwnerDrawState State);
    void DrawEntry(TCanvas* Cnvs, int Index, const TRect& R, int Offset);
    bool IsLoading() const { return ComponentState().Contains(csLoading); }

    std::unique_ptr<TbsItemsEx> FItemsEx;
    HIMAGELIST FImages = nullptr;
    int FImageHeight = 16;
    int FImageWidth = 16;
    TRoot FOldRoot;
    TRoot FRoot;
    TbsShellFolder* FRootFolder = nullptr;
    TShellObjectTypes FObjectTypes;
    TbsCustomShellTreeView* FTreeView = nullptr;
    TbsCustomShellListView* FListView = nullptr;
    bool FUseShellImages = true;
    bool FUpdating = false;
};

class TbsSkinShellComboBox : public TbsCustomShellComboBox {
public:
    using TbsCustomShellComboBox::TbsCustomShellComboBox;
};
