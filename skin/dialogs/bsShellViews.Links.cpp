// The links between the three shell views. A link is a plain reference kept
// in both directions by the setters; nothing is owned through it, and a
// destroyed view's removal notification clears the link on the other side.
#include "skin/dialogs/bsShellViews.h"

// ---------------------------------------------------------------- the tree

void TbsCustomShellTreeView::SetShellListView(TbsCustomShellListView* Value) {
    if (Value == FListView)
        return;
    if (Value) {
        Value->SetRoot(FRoot);
        Value->FTreeView = this;
        Value->FreeNotification(this);
    } else if (FListView) {
        FListView->FTreeView = nullptr;
    }
    FListView = Value;
}

void TbsCustomShellTreeView::SetShellComboBox(TbsCustomShellComboBox* Value) {
    if (Value == FComboBox)
        return;
    if (Value) {
        Value->SetRoot(FRoot);
        Value->FTreeView = this;
        Value->FreeNotification(this);
    } else if (FComboBox) {
        FComboBox->FTreeView = nullptr;
    }
    FComboBox = Value;
}

void TbsCustomShellTreeView::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomTreeView::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FListView)
        FListView = nullptr;
    if (AComponent == FComboBox)
        FComboBox = nullptr;
}

// ---------------------------------------------------------------- the list

void TbsCustomShellListView::SetShellTreeView(TbsCustomShellTreeView* Value) {
    if (Value == FTreeView)
        return;
    if (Value) {
        Value->SetRoot(FRoot);
        Value->FListView = this;
        Value->FreeNotification(this);
    } else if (FTreeView) {
        FTreeView->FListView = nullptr;
    }
    FTreeView = Value;
}

void TbsCustomShellListView::SetShellComboBox(TbsCustomShellComboBox* Value) {
    if (Value == FComboBox)
        return;
    if (Value) {
        Value->SetRoot(FRoot);
        Value->FListView = this;
        Value->FreeNotification(this);
    } else if (FComboBox) {
        FComboBox->FListView = nullptr;
    }
    FComboBox = Value;
}

void TbsCustomShellListView::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomListView::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FTreeView)
        FTreeView = nullptr;
    if (AComponent == FComboBox)
        FComboBox = nullptr;
}

void TbsCustomShellListView::SyncLinked() {
    if (FSettingRoot) {
        if (FTreeView)
            FTreeView->SetRoot(FRoot);
    } else if (FRootFolder) {
        if (FTreeView)
            FTreeView->SyncToFolder(FRootFolder->AbsoluteID());
        if (FComboBox)
            FComboBox->SyncToFolder(FRootFolder->AbsoluteID());
    }
    FSettingRoot = false;
}

// ---------------------------------------------------------------- the combo box

void TbsCustomShellComboBox::SetShellTreeView(TbsCustomShellTreeView* Value) {
    if (Value == FTreeView)
        return;
    if (Value) {
        Value->SetRoot(FRoot);
        Value->FComboBox = this;
        Value->FreeNotification(this);
    } else if (FTreeView) {
        FTreeView->FComboBox = nullptr;
    }
    FTreeView = Value;
}

void TbsCustomShellComboBox::SetShellListView(TbsCustomShellListView* Value) {
    if (Value == FListView)
        return;
    if (Value) {
        Value->SetRoot(FRoot);
        Value->FComboBox = this;
        Value->FreeNotification(this);
    } else if (FListView) {
        FListView->FComboBox = nullptr;
    }
    FListView = Value;
}

void TbsCustomShellComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomComboBox::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FTreeView)
        FTreeView = nullptr;
    if (AComponent == FListView)
        FListView = nullptr;
}
