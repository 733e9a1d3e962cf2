// Editing the job table: removing and clearing jobs, renaming a job's
// output, moving rows, and what selecting or clicking a row does.
#include "app/Unit1.h"

#include "app/JobOutputs.h"
#include "app/JobQueue.h"
#include "app/PreviewPlayer.h"
#include "app/Unit5.h"
#include "catalogue/ProfileCatalogue.h"
#include "platform/core/Conversions.h"
#include "platform/core/Paths.h"
#include "platform/forms/Edits.h"
#include "platform/forms/ListViews.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.Panel.h"
#include "skin/controls/bsSkinCtrls.Slider.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "skin/controls/bsSkinCtrls.Views.h"
#include "skin/controls/bsSkinEdits.h"

#include <initializer_list>
#include <vector>

namespace {

constexpr int TaskNumberCell = 7;
constexpr int OutputNameCell = 2;

std::string CellOf(TListItem& Item, int Index) {
    TStrings& Cells = *Item.SubItems();
    return Index < Cells.Count() ? Cells.Strings(Index) : std::string();
}

std::string WithoutTrailingDelimiter(std::string Folder) {
    while (Folder.size() > 1 && Folder.back() == '/')
        Folder.pop_back();
    return Folder;
}

// A name the output folder can hold as one file of its own: no folder part
// and not "." or "..".
bool IsPlainFileName(const std::string& Name) {
    return Name.find('/') == std::string::npos && Name.find_first_not_of('.') != std::string::npos;
}

void FocusTable(TForm1& Form) {
    if (Form.lvFiles->CanFocus())
        Form.lvFiles->SetFocus();
}

// The table is empty: the cover over it, no preview.
void ShowEmptyTable(TForm1& Form) {
    Form.bsSkinPanel5->SetVisible(true);
    Form.Player().Stop(true);
    Form.bsSkinSlider1->SetValue(0);
}

} // namespace

void TForm1::BindEditCommands() {
    bsSkinButton7->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton7Click);
    bsSkinButton8->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton8Click);
    bsSkinButton21->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton21Click);
    bsSkinButton3->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton3Click);
    bsSkinButton4->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton4Click);
    N9->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton7Click);
    N10->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton8Click);
    N26->OnClick = TNotifyEvent(this, &TForm1::N26Click);
    N7->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton3Click);
    N8->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton4Click);
    lvFiles->OnSelectItem = TLVSelectItemEvent(this, &TForm1::lvFilesSelectItem);
    lvFiles->OnClick = TNotifyEvent(this, &TForm1::lvFilesClick);
    lvFiles->OnDblClick = TNotifyEvent(this, &TForm1::lvFilesDblClick);
    edt->OnExit = TNotifyEvent(this, &TForm1::edtExit);
    Video_OutPut_Folder_Edit->OnClick = TNotifyEvent(this, &TForm1::Video_OutPut_Folder_EditClick);
}

void TForm1::SetRowCommandsEnabled(bool Enabled) {
    SetToolButtonEnabled(bsSkinButton7, Enabled, false);
    SetToolButtonEnabled(bsSkinButton21, Enabled, false);
    SetToolButtonEnabled(bsSkinButton8, Enabled, false);
    SetToolButtonEnabled(bsSkinButton2, Enabled, true);
    for (TMenuItem* Entry : {N9, N26, N10, N12})
        Entry->SetEnabled(Enabled);
}

// ---------------------------------------------------------------- remove,
// clear

int TForm1::TaskNumber(TListItem& Item) {
    return StrToIntDef(CellOf(Item, TaskNumberCell), 0);
}

void TForm1::SetTaskNumber(TListItem& Item, int Number) {
    TStrings& Cells = *Item.SubItems();
    while (Cells.Count() <= TaskNumberCell)
        Cells.Add("");
    Cells.SetStrings(TaskNumberCell, Number > 0 ? IntToStr(Number) : std::string());
}

void TForm1::bsSkinButton7Click(TObject* Sender) {
    btnRemoveClick(Sender);
}

void TForm1::bsSkinButton8Click(TObject* Sender) {
    btnClearClick(Sender);
}

void TForm1::btnRemoveClick(TObject*) {
    const int Row = lvFiles->ItemIndex();
    if (Row < 0) {
        ShowNotice("请先选择您需要删除的项目！");
        return;
    }
    TListItem& Item = *lvFiles->Items()->Item(Row);
    const int Number = TaskNumber(Item);
    // Raises while the queue works; nothing has changed then. A row whose
    // task a refused start released has none to remove.
    if (Number > 0)
        Queue().RemoveTask(Number - 1);

    // A rename still open was for a row that may be this one.
    FRenameRow = -1;
    edt->SetVisible(false);
    lvFiles->Items()->Delete(Row);
    Slots.MarkDeleted(Slots.SlotOfRow(Row));
    Slots.RemoveRow(Row);
    // The queue moved its later tasks down by one; every row keeps naming
    // its own task.
    for (int Other = 0; Other < lvFiles->Items()->Count(); ++Other) {
        TListItem& Later = *lvFiles->Items()->Item(Other);
        const int LaterNumber = TaskNumber(Later);
        if (Number > 0 && LaterNumber > Number)
            SetTaskNumber(Later, LaterNumber - 1);
    }

    const bool RowsLeft = lvFiles->Items()->Count() > 0;
    SetRowCommandsEnabled(RowsLeft);
    FocusTable(*this);
    if (RowsLeft) {
        SelectJobRow(0);
        FocusTable(*this);
    } else {
        ShowEmptyTable(*this);
    }
}

void TForm1::btnClearClick(TObject*) {
    // Raises while the queue works; nothing has changed then.
    Queue().ClearTasks();
    FRenameRow = -1;
    edt->SetVisible(false);
    lvFiles->Items()->Clear();
    Slots.ClearRows();

    SetToolButtonEnabled(bsSkinMenuSpeedButton1, true, true);
    for (TMenuItem* Entry : {N2, N3, N21, N2221, N2222, N3331})
        Entry->SetEnabled(true);
    SetRowCommandsEnabled(false);
    Button15Click(this);
    ShowEmptyTable(*this);
}

// ---------------------------------------------------------------- rename

void TForm1::bsSkinButton21Click(TObject* Sender) {
    if (lvFiles->ItemIndex() < 0) {
        ShowNotice("请先选中您需要重命名的项目！");
        return;
    }
    lvFilesDblClick(Sender);
}

void TForm1::N26Click(TObject* Sender) {
    bsSkinButton21Click(Sender);
}

void TForm1::lvFilesDblClick(TObject*) {
    const int Row = lvFiles->ItemIndex();
    // From a start until the list is cleared the rows' tasks write the names
    // they were given; a new name would part the row from its job's output.
    if (Row < 0 || Queue().Working())
        return;
    TListItem& Item = *lvFiles->Items()->Item(Row);
    edt->SetParent(lvFiles);
    int Left = lvFiles->Left() + 2;
    for (int Column = 0; Column < 3; ++Column)
        Left += lvFiles->Column(Column)->Width();
    edt->SetBounds(Left, Item.Top(), lvFiles->Column(3)->Width(), 14);
    edt->SetText(ChangeFileExt(ExtractFileName(CellOf(Item, OutputNameCell)), ""));
    FRenameRow = Row;
    edt->SetVisible(true);
    if (edt->CanFocus())
        edt->SetFocus();
}

void TForm1::edtExit(TObject*) {
    const int Row = FRenameRow;
    if (Row < 0 || Row >= lvFiles->Items()->Count())
        return;
    const std::string Typed = edt->Text();
    if (Typed.empty())
        return;
    // The name must stay one file inside the output folder.
    if (!IsPlainFileName(Typed)) {
        ShowNotice("输出文件名不能包含“/”，也不能只由“.”组成！");
        return;
    }
    const int Profile = bsSkinOfficeComboBox1->ItemIndex();
    const std::string Title = Profile >= 0 && Profile < bsSkinOfficeComboBox1->Items()->Count()
                                  ? bsSkinOfficeComboBox1->Items()->Items(Profile)->Title()
                                  : std::string();
    // Another row's name, or without overwriting an existing file's, would
    // make two jobs write one file or lose one the user did not give up.
    const bool Overwrite = Form5 && Form5->OverwriteOutput();
    const std::string Final =
        ResolveOutputName(WithoutTrailingDelimiter(Video_OutPut_Folder_Edit->Text()),
                          Typed + ProfileExtension(Title), Overwrite, OtherRowOutputs(Row));
    lvFiles->Items()->Item(Row)->SubItems()->SetStrings(OutputNameCell, ExtractFileName(Final));
    FRenameRow = -1;
    edt->SetVisible(false);
    Slots.OO1(Slots.SlotOfRow(Row)).FileName = Final;
}

// ---------------------------------------------------------------- moves

namespace {

void MoveSelectedRow(TForm1& Form, int Step) {
    TCustomListView& Table = *Form.lvFiles;
    const int Row = Table.ItemIndex();
    const int Other = Row + Step;
    if (Row < 0 || Other < 0 || Other >= Table.Items()->Count())
        return;
    // A rename still open (a menu command leaves the box open) is taken
    // first, for the job it was begun on.
    if (Form.FRenameRow >= 0 && Form.edt->Visible())
        Form.edtExit(&Form);
    TListItems& Items = *Table.Items();
    Items.BeginUpdate();
    try {
        TListItem* Held = Items.Add();
        Held->Assign(Items.Item(Row));
        Items.Item(Row)->Assign(Items.Item(Other));
        Items.Item(Other)->Assign(Held);
        Held->Delete();
        // The rows' jobs change places with them, and so does a rename the
        // box still holds.
        Form.Slots.SwapRows(Row, Other);
        if (Form.FRenameRow == Row)
            Form.FRenameRow = Other;
        else if (Form.FRenameRow == Other)
            Form.FRenameRow = Row;
        Form.SelectJobRow(Other);
        FocusTable(Form);
    } catch (...) {
        Items.EndUpdate();
        throw;
    }
    Items.EndUpdate();
}

} // namespace

void TForm1::bsSkinButton3Click(TObject*) {
    MoveSelectedRow(*this, -1);
}

void TForm1::bsSkinButton4Click(TObject*) {
    MoveSelectedRow(*this, +1);
}

// ---------------------------------------------------------------- selection,
// clicks

void TForm1::SelectJobRow(int Row) {
    if (Row < 0 || Row >= lvFiles->Items()->Count())
        return;
    // The selection event restores the row; selecting it afresh makes sure
    // the event comes also when the row was already selected.
    if (lvFiles->ItemIndex() == Row)
        lvFiles->SetItemIndex(-1);
    lvFiles->SetItemIndex(Row);
}

void TForm1::lvFilesSelectItem(TObject*, TListItem*, bool Selected) {
    // The row losing the selection has nothing to restore.
    if (!Selected)
        return;
    try {
        const int Row = lvFiles->ItemIndex();
        if (Row < 0)
            return;
        if (!Catalogue().RestoreRowChoices())
            return;
        bsSkinSlider1->SetValue(0);
        T_Movie_PLayer_FileName = lvFiles->Items()->Item(Row)->Caption();
        Button31Click(this);
    } catch (const std::exception&) {
        // Whatever was already restored stays; the row itself is unchanged.
    }
}

void TForm1::lvFilesClick(TObject*) {
    if (lvFiles->ItemIndex() < 0)
        Player().Stop(true);
}

void TForm1::Video_OutPut_Folder_EditClick(TObject*) {
    FocusTable(*this);
}
