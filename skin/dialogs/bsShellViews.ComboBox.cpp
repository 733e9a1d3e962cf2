#include "skin/dialogs/bsShellViews.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"
#include "platform/gdi/ImageList.h"
#include "skin/dialogs/bsShellViewsInternal.h"

#include <algorithm>
#include <cstdint>

// ---------------------------------------------------------------- entries

TbsItemsEx::TbsItemsEx() : TCollection([](TCollection* C) { return new TbsItemEx(C); }) {}

TbsItemEx* TbsItemsEx::AddItem(const std::string& ACaption, int AImageIndex, int ASelectedIndex,
                               int AIdent, TbsShellFolder* AFolder) {
    TbsItemEx* Item = Add();
    Item->Caption = ACaption;
    Item->ImageIndex = AImageIndex;
    Item->SelectedImageIndex = ASelectedIndex;
    Item->Indent = AIdent;
    Item->Data = AFolder;
    return Item;
}

// ---------------------------------------------------------------- life

TbsCustomShellComboBox::TbsCustomShellComboBox(TComponent* AOwner)
    : TbsSkinCustomComboBox(AOwner), FItemsEx(std::make_unique<TbsItemsEx>()) {
    InitShellControls();
    SHFILEINFO Info;
    FImages = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfo("/", 0, &Info, sizeof Info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (FImages)
        ImageList_GetIconSize(FImages, &FImageWidth, &FImageHeight);
    FObjectTypes = TShellObjectTypes{otFolders};
    FRoot = "rfDesktop";
    OnListBoxDrawItem() = [this](TCanvas* C, int Index, int W, int H, TRect R,
                                 TOwnerDrawState State) { DrawListItem(C, Index, W, H, R, State); };
    OnComboBoxDrawItem = [this](TCanvas* C, int Index, int W, int H, TRect R,
                                TOwnerDrawState State) { DrawFaceItem(C, Index, W, H, R, State); };
}

TbsCustomShellComboBox::~TbsCustomShellComboBox() {
    for (int I = 0; I < FItemsEx->Count(); ++I) {
        delete FItemsEx->Items(I)->Data;
        FItemsEx->Items(I)->Data = nullptr;
    }
    FItemsEx->Clear();
    delete FRootFolder;
    FRootFolder = nullptr;
}

void TbsCustomShellComboBox::Loaded() {
    TbsSkinCustomComboBox::Loaded();
    LoadRoot();
}

void TbsCustomShellComboBox::CreateWnd() {
    TbsSkinCustomComboBox::CreateWnd();
    ApplyImages(FUseShellImages);
    if (FItemsEx->Count() == 0)
        LoadRoot();
    const int Index = ItemIndex();
    RebuildStrings();
    if (Index >= 0 && Index < Items()->Count()) {
        // The same entry again: nothing moved, so nothing is reported.
        TbsUpdateBatch Batch(FItemsEx.get());
        SetItemIndex(Index);
    }
}

void TbsCustomShellComboBox::DestroyWnd() {
    ClearItemsEx();
    TbsSkinCustomComboBox::DestroyWnd();
}

void TbsCustomShellComboBox::RebuildStrings() {
    Items()->BeginUpdate();
    struct TEnd {
        TStrings* Lines;
        ~TEnd() { Lines->EndUpdate(); }
    } End{Items()};
    Items()->Clear();
    for (int I = 0; I < FItemsEx->Count(); ++I)
        Items()->Add(FItemsEx->Items(I)->Caption);
}

void TbsCustomShellComboBox::ClearItemsEx() {
    {
        TbsUpdateBatch Batch(FItemsEx.get());
        for (int I = 0; I < FItemsEx->Count(); ++I) {
            delete FItemsEx->Items(I)->Data;
            FItemsEx->Items(I)->Data = nullptr;
        }
        FItemsEx->Clear();
    }
    RebuildStrings();
}

TbsShellFolder* TbsCustomShellComboBox::FolderOfItem(int Index) const {
    // An empty list has no last entry to fall back on.
    if (FItemsEx->Count() == 0 || Index < 0)
        return nullptr;
    return FItemsEx->Items(std::min(Index, FItemsEx->Count() - 1))->Data;
}

int TbsCustomShellComboBox::IndexOfFolder(const ITEMIDLIST* ID) const {
    const PShellFolder Desktop = DesktopFolder()->ShellFolder();
    for (int I = FItemsEx->Count() - 1; I >= 0; --I) {
        TbsShellFolder* Folder = FItemsEx->Items(I)->Data;
        if (Folder && std::int16_t(Desktop->CompareIDs(0, Folder->AbsoluteID(), ID) & 0xFFFF) == 0)
            return I;
    }
    return -1;
}

int TbsCustomShellComboBox::ImageIndexOf(TbsShellFolder* Folder) const {
    return FUseShellImages ? ShellIconIndex(Folder->AbsoluteID(), false, false) : -1;
}

void TbsCustomShellComboBox::ApplyImages(bool Value) {
    FUseShellImages = Value;
    FImageWidth = FImageHeight = 16;
    if (Value && FImages)
        ImageList_GetIconSize(FImages, &FImageWidth, &FImageHeight);
}

void TbsCustomShellComboBox::SetUseShellImages(bool Value) {
    ApplyImages(Value);
    for (int I = 0; I < FItemsEx->Count(); ++I) {
        TbsItemEx* Item = FItemsEx->Items(I);
        if (Item->Data)
            Item->ImageIndex = Item->SelectedImageIndex = ImageIndexOf(Item->Data);
    }
    Invalidate();
}

TbsShellFolder* TbsCustomShellComboBox::MakeChildFolder(TbsShellFolder* Folder,
                                                        const ITEMIDLIST* ID) {
    return new TbsShellFolder(Folder, ID, BindShellFolder(Folder->ShellFolder(), ID, nullptr));
}

// ---------------------------------------------------------------- properties

void TbsCustomShellComboBox::SetRoot(const TRoot& Value) {
    if (SameText(Value, FRoot))
        return;
    FOldRoot = FRoot;
    FRoot = Value;
    RootChanged();
}

void TbsCustomShellComboBox::SetObjectTypes(TShellObjectTypes Value) {
    FObjectTypes = Value;
    RootChanged();
}

void TbsCustomShellComboBox::RootChanged() {
    TbsFlagScope Updating(FUpdating);
    ClearItemsEx();
    LoadRoot();
    if (FTreeView)
        FTreeView->SetRoot(FRoot);
    if (FListView)
        FListView->SetRoot(FRoot);
}

std::string TbsCustomShellComboBox::Path() {
    const int Index = ItemIndex();
    TbsShellFolder* Folder = Index >= 0 ? FolderOfItem(Index) : nullptr;
    return Folder ? Folder->PathName() : std::string();
}

void TbsCustomShellComboBox::SetPath(const std::string& Value) {
    PItemIDList ID = nullptr;
    ULONG Eaten = 0;
    if (FAILED(DesktopFolder()->ShellFolder()->ParseDisplayName(nullptr, Value, &Eaten, &ID,
                                                                nullptr)) ||
        !ID)
        throw EInvalidPath("Error setting path: \"%s\"", {Value});
    TItemIdListHolder Holder(ID);
    ShowPathTo(ID);
}

// ---------------------------------------------------------------- building

void TbsCustomShellComboBox::LoadRoot() {
    if (IsLoading())
        return;
    TbsUpdateBatch Batch(FItemsEx.get());
    ClearItemsEx();
    FRootFolder = CreateRootFolder(FRootFolder, FOldRoot, FRoot);
    auto* Root = new TbsShellFolder(nullptr, FRootFolder->AbsoluteID(), FRootFolder->ShellFolder());
    FItemsEx->AddItem(Root->DisplayName(), ImageIndexOf(Root), ImageIndexOf(Root), 0, Root);
    AddRootChildren();
    RebuildStrings();
    SetItemIndex(0);
    if (FUseShellImages) {
        ApplyImages(false);
        ApplyImages(true);
    }
}

void TbsCustomShellComboBox::AddRootChildren() {
    TbsUpdateBatch Batch(FItemsEx.get());
    AddChildren(0, FItemsEx->Items(0)->Data);
    // Only the root name as written: other spellings show no drives.
    if (FRoot != "rfDesktop")
        return;
    PItemIDList Drives = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &Drives)) || !Drives)
        return;
    TItemIdListHolder Holder(Drives);
    const int Index = IndexOfFolder(Drives);
    if (Index >= 0)
        AddChildren(Index, FItemsEx->Items(Index)->Data);
}

void TbsCustomShellComboBox::AddChildren(int Index, TbsShellFolder* Folder) {
    if (!Folder || !Folder->ShellFolder())
        return;
    std::shared_ptr<IEnumIDList> Enum;
    OleCheck(Folder->ShellFolder()->EnumObjects(nullptr, EnumFlagsOf(FObjectTypes), Enum));
    TbsUpdateBatch Batch(FItemsEx.get());
    std::vector<TItemIdListHolder> Lists;
    PItemIDList ID = nullptr;
    ULONG Fetched = 0;
    while (Enum && Enum->Next(1, &ID, &Fetched) == S_OK && Fetched == 1)
        Lists.emplace_back(ID);
    const PShellFolder Shell = Folder->ShellFolder();
    std::stable_sort(Lists.begin(), Lists.end(), [&](const auto& A, const auto& B) {
        return std::int16_t(Shell->CompareIDs(0, A.get(), B.get()) & 0xFFFF) < 0;
    });
    for (std::size_t K = 0; K < Lists.size(); ++K) {
        TbsShellFolder* Child = MakeChildFolder(Folder, Lists[K].get());
        TbsItemEx* Item = FItemsEx->Insert(Index + int(K) + 1);
        Item->Caption = Child->DisplayName();
        Item->Data = Child;
        Item->Indent = Child->Level();
        Item->ImageIndex = Item->SelectedImageIndex = ImageIndexOf(Child);
    }
}

void TbsCustomShellComboBox::ShowPathTo(const ITEMIDLIST* ID) {
    TbsUpdateBatch Batch(FItemsEx.get());
    LoadRoot();
    std::vector<PItemIDList> Prefixes = ItemIdListPrefixes(ID);
    struct TPrefixes {
        std::vector<PItemIDList>& List;
        ~TPrefixes() { FreeItemIdListPrefixes(List); }
    } Guard{Prefixes};
    int I = -1;
    std::size_t Start = Prefixes.size();
    for (std::size_t P = Prefixes.size(); P-- > 0;) {
        I = IndexOfFolder(Prefixes[P]);
        if (I >= 0) {
            Start = P + 1;
            break;
        }
    }
    if (I < 0)
        return;
    auto InsertChild = [&](const ITEMIDLIST* Full) {
        TbsShellFolder* Parent = FolderOfItem(I);
        if (!Parent)
            return false;
        TItemIdListHolder Last(LastItemIdOf(Full));
        TbsShellFolder* Child = MakeChildFolder(Parent, Last.get());
        TbsItemEx* Item = FItemsEx->Insert(I + 1);
        Item->Caption = Child->DisplayName();
        Item->Indent = Child->Level();
        Item->Data = Child;
        Item->ImageIndex = Item->SelectedImageIndex = ImageIndexOf(Child);
        ++I;
        return true;
    };
    for (std::size_t P = Start; P < Prefixes.size(); ++P)
        if (!InsertChild(Prefixes[P]))
            return;
    int Target = IndexOfFolder(ID);
    if (Target < 0) {
        if (!InsertChild(ID))
            return;
        Target = I;
    }
    RebuildStrings();
    SetItemIndex(Target);
}

// ---------------------------------------------------------------- moving

void TbsCustomShellComboBox::SyncToFolder(const ITEMIDLIST* ID) {
    if (FUpdating || !ID)
        return;
    const int Index = ItemIndex();
    if (TbsShellFolder* Folder = Index >= 0 ? FolderOfItem(Index) : nullptr)
        if (SameItemIdList(Folder->AbsoluteID(), ID))
            return;
    TbsFlagScope Updating(FUpdating);
    ShowPathTo(ID);
}

void TbsCustomShellComboBox::Change() {
    if (FItemsEx->UpdateCount() > 0)
        return;
    TbsSkinCustomComboBox::Change();
    const int Index = ItemIndex();
    TbsShellFolder* Folder = Index >= 0 ? FolderOfItem(Index) : nullptr;
    if (!Folder || FUpdating || IsPopupVisible())
        return;
    TbsFlagScope Updating(FUpdating);
    if (FTreeView)
        FTreeView->SyncToFolder(Folder->AbsoluteID());
    if (FListView)
        FListView->SyncToFolder(Folder->AbsoluteID());
}

// ---------------------------------------------------------------- drawing

void TbsCustomShellComboBox::DrawEntry(TCanvas* Cnvs, int Index, const TRect& R, int Offset) {
    if (Index < 0 || Index >= FItemsEx->Count())
        return;
    TbsItemEx* Item = FItemsEx->Items(Index);
    const int Height = R.Bottom - R.Top;
    if (FImages && Item->ImageIndex >= 0)
        ImageList_DrawEx(FImages, Item->ImageIndex, Cnvs->Handle(), R.Left + Offset,
                         R.Top + (Height - FImageHeight) / 2, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
    const std::string Text = Index < Items()->Count() ? Items()->Strings(Index) : Item->Caption;
    const TBrushStyle Style = Cnvs->Brush()->Style();
    Cnvs->Brush()->SetStyle(bsClear);
    Cnvs->TextOut(R.Left + Offset + FImageWidth + 4,
                  R.Top + Height / 2 - Cnvs->TextHeight("Wg") / 2, Text);
    Cnvs->Brush()->SetStyle(Style);
}

void TbsCustomShellComboBox::DrawFaceItem(TCanvas* Cnvs, int Index, int, int, TRect TxtRect,
                                          TOwnerDrawState) {
    DrawEntry(Cnvs, Index, TxtRect, 0);
}

void TbsCustomShellComboBox::DrawListItem(TCanvas* Cnvs, int Index, int, int, TRect TxtRect,
                                          TOwnerDrawState) {
    const int Indent = Index >= 0 && Index < FItemsEx->Count() ? FItemsEx->Items(Index)->Indent : 0;
    DrawEntry(Cnvs, Index, TxtRect, Indent * FImageWidth / 2);
}
