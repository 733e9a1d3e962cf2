// The shell views: a skinned tree of the shell namespace whose folders open
// on demand, each node owning the TbsShellFolder of its item.
//
// The tree selects a folder given as a path, shows the shell's context menu
// for the selected item, renames items in place and, with AutoRefresh,
// re-reads the selected folder when the change notifier reports a change.
// FUpdating is set while the tree moves its own selection, so the moves it
// makes itself are not echoed back.
#pragma once

#include "skin/controls/bsSkinCtrls.Views.h"
#include "skin/dialogs/bsShellChangeNotifier.h"
#include "skin/dialogs/bsShellFolders.h"

#include <string>

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
