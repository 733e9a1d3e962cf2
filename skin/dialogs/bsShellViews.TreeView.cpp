#include "skin/dialogs/bsShellViews.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"
#include "platform/forms/Forms.h"
#include "platform/win/Windows.h"
#include "skin/dialogs/bsShellViewsInternal.h"

#include <sys/stat.h>

#include <cstdint>
#include <memory>

namespace {

// Anything at Path, a folder or a dangling link included.
bool AnythingAt(const std::string& Path) {
    struct stat St {};
    return !Path.empty() && ::lstat(Path.c_str(), &St) == 0;
}

std::string FolderPart(const std::string& Path) {
    const auto Slash = Path.rfind('/');
    return Slash == std::string::npos ? std::string() : Path.substr(0, Slash + 1);
}

struct TSortContext {
    PShellFolder Folder;
};

int CompareNodes(LPARAM Data1, LPARAM Data2, LPARAM Param) {
    auto* Context = reinterpret_cast<TSortContext*>(Param);
    auto* F1 = TbsCustomShellTreeView::NodeFolder(reinterpret_cast<TTreeNode*>(Data1));
    auto* F2 = TbsCustomShellTreeView::NodeFolder(reinterpret_cast<TTreeNode*>(Data2));
    if (!F1 || !F2 || !Context->Folder)
        return 0;
    return std::int16_t(Context->Folder->CompareIDs(0, F1->RelativeID(), F2->RelativeID()) &
                        0xFFFF);
}

} // namespace

// ---------------------------------------------------------------- life

TbsCustomShellTreeView::TbsCustomShellTreeView(TComponent* AOwner) : TbsSkinCustomTreeView(AOwner) {
    InitShellControls();
    SetShowRoot(false);
    SetRightClickSelect(true);
    FObjectTypes = TShellObjectTypes{otFolders};
    SHFILEINFO Info;
    FImages = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfo("/", 0, &Info, sizeof Info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    FNotifier = new TbsShellChangeNotifier(this);
    SetRoot("rfDesktop");
}

TbsCustomShellTreeView::~TbsCustomShellTreeView() {
    // The base class deletes the nodes without this class's hooks.
    ClearNodes();
    delete FNotifier;
    FNotifier = nullptr;
    delete FRootFolder;
    FRootFolder = nullptr;
}

void TbsCustomShellTreeView::Loaded() {
    TbsSkinCustomTreeView::Loaded();
    LoadRoot();
}

void TbsCustomShellTreeView::CreateWnd() {
    TbsSkinCustomTreeView::CreateWnd();
    if (Items()->Count() > 0)
        ClearNodes();
    if (!Images())
        ApplyImageList();
    if (!FLoadingRoot)
        LoadRoot();
    if (!FPath.empty())
        SetPath(FPath);
}

void TbsCustomShellTreeView::DestroyWnd() {
    ClearNodes();
    TbsSkinCustomTreeView::DestroyWnd();
}

void TbsCustomShellTreeView::FreeNodeFolders(TTreeNode* Node) {
    for (int I = 0; I < Node->Count(); ++I)
        FreeNodeFolders(Node->Item(I));
    delete NodeFolder(Node);
    Node->SetData(nullptr);
}

void TbsCustomShellTreeView::ClearNodes() {
    TbsUpdateBatch Batch(Items());
    for (TTreeNode* Node = Items()->GetFirstNode(); Node; Node = Node->getNextSibling())
        FreeNodeFolders(Node);
    Items()->Clear();
}

// ---------------------------------------------------------------- properties

void TbsCustomShellTreeView::SetRoot(const TRoot& Value) {
    if (SameText(Value, FRoot))
        return;
    FOldRoot = FRoot;
    FRoot = Value;
    RootChanged();
}

void TbsCustomShellTreeView::SetObjectTypes(TShellObjectTypes Value) {
    FObjectTypes = Value;
    RootChanged();
}

void TbsCustomShellTreeView::RootChanged() {
    if (FUpdating)
        return;
    TbsFlagScope Updating(FUpdating);
    LoadRoot();
    if (FListView)
        FListView->SetRoot(FRoot);
}

void TbsCustomShellTreeView::ApplyImageList() {
    HIMAGELIST List = nullptr;
    if (Images())
        List = Images()->Handle();
    else if (FUseShellImages)
        List = FImages;
    if (HandleAllocated()) {
        TbsFlagScope Changing(FImageListChanging);
        Perform(TVM_SETIMAGELIST, TVSIL_NORMAL, LPARAM(List));
    }
}

void TbsCustomShellTreeView::SetUseShellImages(bool Value) {
    FUseShellImages = Value;
    ApplyImageList();
}

void TbsCustomShellTreeView::SetAutoRefresh(bool Value) {
    FAutoRefresh = Value;
    if (IsLoading())
        return;
    delete FNotifier;
    FNotifier = nullptr;
    if (!Value)
        return;
    FNotifier = new TbsShellChangeNotifier(this);
    FNotifier->SetWatchSubTree(false);
    TbsShellFolder* Folder = FNodeToMonitor ? NodeFolder(FNodeToMonitor) : FRootFolder;
    if (Folder)
        FNotifier->SetRoot(Folder->PathName());
    FNotifier->SetOnChange([this] { RefreshSelected(); });
}

std::string TbsCustomShellTreeView::Path() {
    TbsShellFolder* Folder = SelectedFolder();
    return Folder ? Folder->PathName() : std::string();
}

void TbsCustomShellTreeView::SetPath(const std::string& Value) {
    FPath = Value;
    PItemIDList ID = nullptr;
    ULONG Eaten = 0;
    if (FAILED(DesktopFolder()->ShellFolder()->ParseDisplayName(nullptr, Value, &Eaten, &ID,
                                                                nullptr)) ||
        !ID)
        throw EInvalidPath("Error setting path: \"%s\"", {Value});
    TItemIdListHolder Holder(ID);
    SyncToFolder(ID);
    if (TTreeNode* Node = Selected()) {
        Node->Expand(false);
        CanChange(Node);
    }
    FPath = Value;
}

TbsShellFolder* TbsCustomShellTreeView::SelectedFolder() {
    return NodeFolder(Selected());
}

// ---------------------------------------------------------------- building

void TbsCustomShellTreeView::LoadRoot() {
    if (IsLoading())
        return;
    std::string Message;
    try {
        FRootFolder = CreateRootFolder(FRootFolder, FOldRoot, FRoot);
    } catch (const Exception& E) {
        Message = E.Message();
    }
    // Nodes need the window; a tree made in code builds them in CreateWnd.
    if (FRootFolder && HandleAllocated()) {
        TbsFlagScope Loading(FLoadingRoot);
        if (Items()->Count() > 0)
            ClearNodes();
        auto* Folder =
            new TbsShellFolder(nullptr, FRootFolder->AbsoluteID(), FRootFolder->ShellFolder());
        TTreeNode* Node = Items()->AddObject(nullptr, "", Folder);
        Node->SetText(
            ItemDisplayName(DesktopFolder()->ShellFolder(), Folder->AbsoluteID(), SHGDN_NORMAL));
        if (FUseShellImages && !Images()) {
            Node->SetImageIndex(ShellIconIndex(Folder->AbsoluteID(), false, false));
            Node->SetSelectedIndex(ShellIconIndex(Folder->AbsoluteID(), false, true));
        }
        Node->SetHasChildren(Folder->SubFolders());
        Node->Expand(false);
        Node->SetSelected(true);
    }
    if (!Message.empty())
        throw Exception(Message);
}

void TbsCustomShellTreeView::AddChildNode(TTreeNode* Node, const ITEMIDLIST* ID,
                                          TTreeNode* ParentNode) {
    TbsShellFolder* ParentFolder = NodeFolder(ParentNode);
    PShellFolder Shell = BindShellFolder(ParentFolder->ShellFolder(), ID, nullptr);
    auto* Folder = new TbsShellFolder(ParentFolder, ID, Shell);
    Node->SetData(Folder);
    Node->SetText(Folder->DisplayName());
    if (FUseShellImages && !Images()) {
        Node->SetImageIndex(Folder->ImageIndex(false));
        Node->SetSelectedIndex(ShellIconIndex(Folder->AbsoluteID(), false, true));
        if (Node->SelectedIndex() == 0)
            Node->SetSelectedIndex(Node->ImageIndex());
    }
    bool HasChildren = Folder->SubFolders();
    if (FObjectTypes.Contains(otNonFolders) && Folder->ShellFolder())
        HasChildren = HasSubItems(Folder->ShellFolder(), EnumFlagsOf(FObjectTypes));
    Node->SetHasChildren(HasChildren);
    bool CanAdd = true;
    if (OnAddFolder)
        OnAddFolder(this, Folder, CanAdd);
    if (!CanAdd) {
        delete Folder;
        Node->SetData(nullptr);
        Node->Delete();
    }
}

void TbsCustomShellTreeView::PopulateNode(TTreeNode* Node) {
    TbsShellFolder* Folder = NodeFolder(Node);
    if (!Folder || !Folder->ShellFolder())
        return;
    TbsHourGlass Cursor;
    TbsUpdateBatch Batch(Items());
    std::shared_ptr<IEnumIDList> Enum;
    const HWND Owner = Application ? Application->Handle() : nullptr;
    if (FAILED(Folder->ShellFolder()->EnumObjects(Owner, EnumFlagsOf(FObjectTypes), Enum)) || !Enum)
        return;
    PItemIDList ID = nullptr;
    ULONG Fetched = 0;
    while (Enum->Next(1, &ID, &Fetched) == S_OK && Fetched == 1) {
        TItemIdListHolder Holder(ID);
        TTreeNode* Child = Items()->AddChildObject(Node, "", nullptr);
        AddChildNode(Child, ID, Node);
    }
    TSortContext Context{Folder->ShellFolder()};
    Node->CustomSort(CompareNodes, LPARAM(&Context));
}

bool TbsCustomShellTreeView::CanExpand(TTreeNode* Node) {
    bool Allow = true;
    const bool Designing = ComponentState().Contains(csDesigning);
    if (Designing && Node->Level() > 0)
        return true;
    if (OnExpanding)
        OnExpanding(this, Node, Allow);
    TbsShellFolder* Folder = NodeFolder(Node);
    if (Allow && Folder) {
        if (Folder->IsFolder()) {
            if (Node->HasChildren() && Node->Count() == 0)
                PopulateNode(Node);
        } else {
            const std::string Target = Folder->PathName();
            ShellExecute(HandleAllocated() ? Handle() : nullptr, nullptr, Target.c_str(), nullptr,
                         FolderPart(Target).c_str(), SW_HIDE);
        }
    }
    Node->SetHasChildren(Node->Count() > 0);
    return Allow;
}

// ---------------------------------------------------------------- moving

PItemIDList TbsCustomShellTreeView::NodeAbsoluteID(TTreeNode* Node) {
    TbsShellFolder* Folder = NodeFolder(Node);
    if (!Folder)
        return nullptr;
    TbsShellFolder* Parent = NodeFolder(Node->Parent());
    return Parent ? JoinItemIdLists(Parent->AbsoluteID(), Folder->RelativeID())
                  : CopyItemIdList(Folder->RelativeID());
}

TTreeNode* TbsCustomShellTreeView::FindNodeFrom(TTreeNode* Start, const ITEMIDLIST* ID) {
    if (!Start)
        return nullptr;
    const PShellFolder Desktop = DesktopFolder()->ShellFolder();
    const int StartLevel = Start->Level();
    for (TTreeNode* Node = Start; Node; Node = Node->GetNext()) {
        if (Node != Start && Node->Level() <= StartLevel)
            break;
        TbsShellFolder* Folder = NodeFolder(Node);
        if (Folder && std::int16_t(Desktop->CompareIDs(0, Folder->AbsoluteID(), ID) & 0xFFFF) == 0)
            return Node;
    }
    return nullptr;
}

void TbsCustomShellTreeView::SyncToFolder(const ITEMIDLIST* ID) {
    if (IsLoading() || FUpdating || !ID)
        return;
    if (TbsShellFolder* Current = SelectedFolder())
        if (SameItemIdList(Current->AbsoluteID(), ID))
            return;
    TbsFlagScope Updating(FUpdating);
    TbsUpdateBatch Batch(Items());
    std::vector<PItemIDList> Prefixes = ItemIdListPrefixes(ID);
    struct TPrefixes {
        std::vector<PItemIDList>& List;
        ~TPrefixes() { FreeItemIdListPrefixes(List); }
    } Guard{Prefixes};
    // The first top-level node is the root, whatever its depth in the
    // namespace, so a search may start from it at any prefix.
    TTreeNode* Node = Items()->GetFirstNode();
    for (PItemIDList Prefix : Prefixes) {
        if (TTreeNode* Found = FindNodeFrom(Node, Prefix)) {
            Found->Expand(false);
            Node = Found;
        }
    }
    TTreeNode* Found = FindNodeFrom(Node, ID);
    if (!Found)
        return;
    Found->SetSelected(true);
    if (TbsShellFolder* Folder = NodeFolder(Found)) {
        if (FListView)
            FListView->SyncToFolder(Folder->AbsoluteID());
        if (FComboBox)
            FComboBox->SyncToFolder(Folder->AbsoluteID());
    }
}

void TbsCustomShellTreeView::ExpandMyComputer() {
    PItemIDList ID = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &ID)) || !ID)
        return;
    TItemIdListHolder Holder(ID);
    SyncToFolder(ID);
    if (TTreeNode* Node = Selected())
        Node->Expand(false);
}

bool TbsCustomShellTreeView::CanChange(TTreeNode* Node) {
    if (!TbsSkinCustomTreeView::CanChange(Node))
        return false;
    if (FUpdating || !Node)
        return true;
    const bool WasAutoRefresh = FAutoRefresh;
    SetAutoRefresh(false);
    if (TbsShellFolder* Folder = NodeFolder(Node)) {
        // A file shows its folder.
        TbsShellFolder* Shown = Folder->IsFolder() || !Folder->Parent() ? Folder : Folder->Parent();
        TbsFlagScope Updating(FUpdating);
        if (FComboBox)
            FComboBox->SyncToFolder(Shown->AbsoluteID());
        if (FListView)
            FListView->SyncToFolder(Shown->AbsoluteID());
    }
    struct TMonitor {
        TTreeNode*& Field;
        ~TMonitor() { Field = nullptr; }
    } Monitor{FNodeToMonitor};
    FNodeToMonitor = Node;
    SetAutoRefresh(WasAutoRefresh);
    return true;
}

// ---------------------------------------------------------------- refresh

void TbsCustomShellTreeView::RefreshSelected() {
    if (TTreeNode* Node = Selected())
        Refresh(Node);
}

void TbsCustomShellTreeView::Refresh(TTreeNode* Node) {
    TbsShellFolder* Folder = NodeFolder(Node);
    if (!Folder || !Folder->ShellFolder())
        return;
    TItemIdListHolder TopID(NodeAbsoluteID(TopItem()));
    TItemIdListHolder SelectedID(NodeAbsoluteID(Selected()));
    TbsUpdateBatch Batch(Items());
    TbsHourGlass Cursor;
    TbsFlagScope Updating(FUpdating);

    auto* Fresh =
        new TbsShellFolder(NodeFolder(Node->Parent()), Folder->RelativeID(), Folder->ShellFolder());
    TTreeNode* NewNode = Items()->InsertObject(Node, "", Fresh);
    PopulateNode(NewNode);
    NewNode->SetImageIndex(ShellIconIndex(Fresh->AbsoluteID(), false, false));
    NewNode->SetSelectedIndex(ShellIconIndex(Fresh->AbsoluteID(), false, true));
    NewNode->SetHasChildren(Fresh->SubFolders());
    NewNode->SetText(Fresh->DisplayName());

    const int Level = Node->Level();
    for (TTreeNode* Visit = Node; Visit; Visit = Visit->GetNext()) {
        if (Visit != Node && Visit->Level() <= Level)
            break;
        TbsShellFolder* Visited = NodeFolder(Visit);
        if (!Visited || !Visit->Expanded())
            continue;
        if (TTreeNode* Found = FindNodeFrom(NewNode, Visited->AbsoluteID()))
            Found->Expand(false);
    }
    FreeNodeFolders(Node);
    Node->Delete();

    if (SelectedID)
        if (TTreeNode* Found = FindNodeFrom(Items()->GetFirstNode(), SelectedID.get()))
            Found->SetSelected(true);
    if (TopID)
        if (TTreeNode* Found = FindNodeFrom(Items()->GetFirstNode(), TopID.get()))
            SetTopItem(Found);
}

// ---------------------------------------------------------------- hooks

void TbsCustomShellTreeView::Edit(const TVITEM& Item) {
    if (!Item.pszText) {
        TbsSkinCustomTreeView::Edit(Item);
        return;
    }
    TTreeNode* Node = NodeOf(Item.hItem);
    // The base reports the edit once; the text is applied here.
    FEditingNode = nullptr;
    std::string Text = Item.pszText;
    if (OnEdited && Node)
        OnEdited(this, Node, Text);
    TbsShellFolder* Folder = NodeFolder(Node);
    if (!Folder)
        return;
    // An edit that ends as it began renames nothing: the shown name may
    // differ from the file's name.
    if (Text == Node->Text())
        return;
    if (Folder->Rename(Text))
        Node->SetText(Text);
    if (TTreeNode* Parent = Node->Parent())
        Refresh(Parent);
}

void TbsCustomShellTreeView::Delete(TTreeNode* Node) {
    if (Node)
        FreeNodeFolders(Node);
    TbsSkinCustomTreeView::Delete(Node);
}

void TbsCustomShellTreeView::DoContextPopup(TPoint MousePos, bool& Handled) {
    if (FAutoContext && (!PopupMenu() || !PopupMenu()->AutoPopup())) {
        if (TbsShellFolder* Folder = SelectedFolder())
            ShowShellContextMenu(this, Folder, MousePos.X, MousePos.Y);
        return;
    }
    TbsSkinCustomTreeView::DoContextPopup(MousePos, Handled);
}

void TbsCustomShellTreeView::GetImageIndex(TTreeNode* Node) {
    if (Images())
        TbsSkinCustomTreeView::GetImageIndex(Node);
}

void TbsCustomShellTreeView::GetSelectedIndex(TTreeNode* Node) {
    if (Images())
        TbsSkinCustomTreeView::GetSelectedIndex(Node);
}

void TbsCustomShellTreeView::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR:
        if (const auto& Menu = ActiveContextMenu2()) {
            Menu->HandleMenuMsg(Message.Msg, Message.WParam, Message.LParam);
            Message.Result = 0;
        }
        return;
    case TVM_SETIMAGELIST:
        if (FImageListChanging) {
            TbsSkinCustomTreeView::WndProc(Message);
            return;
        }
        ApplyImageList();
        return;
    default:
        TbsSkinCustomTreeView::WndProc(Message);
    }
}

// ---------------------------------------------------------------- commands

void TbsCustomShellTreeView::ExecuteCommand(const std::string& Verb, bool& Handled) {
    if (SameText(Verb, "rename") && Selected()) {
        Selected()->EditText();
        Handled = true;
    }
}

void TbsCustomShellTreeView::CommandCompleted(const std::string& Verb, bool Succeeded) {
    TTreeNode* Node = Selected();
    if (!Succeeded || !Node)
        return;
    if (SameText(Verb, "delete")) {
        TbsShellFolder* Folder = NodeFolder(Node);
        if (Folder && !AnythingAt(Folder->PathName())) {
            FreeNodeFolders(Node);
            Node->Delete();
        }
    } else if (SameText(Verb, "paste")) {
        Refresh(Node);
    }
}
