// Conversion control: start (every task rebuilt from the rows), pause,
// resume and stop of the whole job list, and the controls locked while it
// converts.
#include "app/Unit1.h"

#include "app/ExternalActions.h"
#include "app/JobOutputs.h"
#include "app/JobQueue.h"
#include "app/Unit5.h"
#include "platform/core/Conversions.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Paths.h"
#include "platform/forms/Edits.h"
#include "platform/forms/ListViews.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "skin/controls/bsSkinCtrls.Views.h"

#include <initializer_list>

namespace {

std::string WithoutTrailingDelimiter(std::string Folder) {
    while (Folder.size() > 1 && Folder.back() == '/')
        Folder.pop_back();
    return Folder;
}

// Row's cells over its slot's output options, by the rebuild's rules.
void ApplyRowCells(TStrings& Cells, TOutputOptions& Out) {
    auto Cell = [&Cells](int Index) {
        return Index < Cells.Count() ? Cells.Strings(Index) : std::string();
    };
    const std::string VideoCodec = Cell(10);
    if (VideoCodec == "libx264") {
        Out.VideoCodec = "libx264";
        Out.VideoPreset = "libx264-default";
    } else if (!VideoCodec.empty()) {
        Out.VideoCodec = VideoCodec;
        Out.VideoPreset.clear();
    }
    if (Cell(11) != "AUTO" && !Cell(11).empty())
        Out.AudioCodec = Cell(11);
    if (!Cell(12).empty())
        Out.AudioChannels = StrToInt(Cell(12));
    Out.VideoTag = Cell(13).empty() || VideoCodec == "libx264" ? std::string() : Cell(13);
    if (!Cell(14).empty())
        Out.FileExt = Cell(14);
    if (!Cell(15).empty())
        Out.FrameSize = Cell(15);
    if (!Cell(16).empty())
        Out.VideoBitrate = StrToInt(Cell(16));
    if (!Cell(17).empty())
        Out.FrameRate = Cell(17);
    if (Cell(18) != "-1000" && Cell(18) != "-2000")
        Out.AudioBitrate = StrToInt(Cell(18));
    if (Cell(19) != "AUTO" && !Cell(19).empty())
        Out.AudioSampleRate = StrToInt(Cell(19));
    if (!Cell(20).empty())
        Out.FrameAspectRatio = Cell(20);
    Out.DisableVideo = Cell(21) == "True";
    if (!Cell(22).empty())
        Out.TargetType = TargetTypeFromText(Cell(22));
    Out.NormType = NormTypeFromText(Cell(23));
}

} // namespace

void TForm1::BindJobFlowCommands() {
    auto Bind = [this](TMenuItem* Entry, void (TForm1::*Handler)(TObject*)) {
        Entry->OnClick = TNotifyEvent(this, Handler);
    };
    Bind(N2, &TForm1::btnAddClick);
    Bind(N3, &TForm1::Button8Click);
    Bind(N21, &TForm1::N21Click);
    Bind(N2221, &TForm1::btnAddClick);
    Bind(N2222, &TForm1::N2222Click);
    Bind(N3331, &TForm1::N3331Click);
    Bind(N12, &TForm1::bsSkinButton2Click);
    Bind(N13, &TForm1::bsSkinButton10Click);
    Bind(N16, &TForm1::bsSkinButton11Click);
    Bind(N17, &TForm1::bsSkinButton12Click);
    bsSkinButton2->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton2Click);
    bsSkinButton10->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton10Click);
    bsSkinButton11->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton11Click);
    bsSkinButton12->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton12Click);
    chkPreview->OnClick = TNotifyEvent(this, &TForm1::chkPreviewClick);
    Queue().SetOnProgress(TProgressEvent(this, &TForm1::FFQueueProgress));
    Actions().SetOnFailure([this](const std::string& Action, const std::string& Text) {
        ExternalActionFailed(Action, Text);
    });
    BindEditCommands();
    BindPreviewCommands();
    BindSnapshotCommands();
}

// ---------------------------------------------------------------- start

void TForm1::bsSkinButton2Click(TObject* Sender) {
    btnStartClick(Sender);
}

void TForm1::btnStartClick(TObject* Sender) {
    if (Form5) {
        constexpr TThreadPriority Priorities[] = {tpIdle, tpLowest, tpLower, tpNormal};
        const int Choice = Form5->PriorityChoice();
        if (Choice >= 0 && Choice < 4)
            Queue().SetThreadPriority(Priorities[Choice]);
    }
    // A rename still open is taken before the rows become tasks; one that
    // cannot be taken is dropped, since the batch writes the names it has.
    if (FRenameRow >= 0 && edt->Visible())
        edtExit(Sender);
    FRenameRow = -1;
    edt->SetVisible(false);
    try {
        button28Click(Sender);
    } catch (const std::exception& E) {
        // Nothing has changed on the window: the user mends the row and
        // starts again.
        Application->ShowException(E);
        return;
    }
    FBatchStopped = false;

    SetToolButtonEnabled(bsSkinMenuSpeedButton1, false, true);
    for (TMenuItem* Entry : {N2, N3, N21, N2221, N2222, N3331})
        Entry->SetEnabled(false);
    Button22Click(Sender);
    SetToolButtonEnabled(bsSkinButton7, false, false);
    SetToolButtonEnabled(bsSkinButton21, false, false);
    SetToolButtonEnabled(bsSkinButton8, false, false);
    for (TMenuItem* Entry : {N9, N26, N10})
        Entry->SetEnabled(false);
    SetToolButtonEnabled(bsSkinButton2, false, true);
    N12->SetEnabled(false);
    const bool ThreadMode = chkThreadMode->Checked();
    SetToolButtonEnabled(bsSkinButton10, ThreadMode, true);
    N13->SetEnabled(ThreadMode);
    SetToolButtonEnabled(bsSkinButton11, ThreadMode, true);
    N16->SetEnabled(ThreadMode);
    SetToolButtonEnabled(bsSkinButton12, false, true);
    N17->SetEnabled(false);
    // Reports address rows by task index: a moved row would take another
    // job's progress and output.
    for (TControl* Move : std::initializer_list<TControl*>{bsSkinButton3, bsSkinButton4})
        Move->SetEnabled(false);
    N7->SetEnabled(false);
    N8->SetEnabled(false);

    const bool Several = Form5 && Form5->MultiThread();
    Queue().Start(Several ? StrToIntDef(Form5->ThreadCountText(), 1) : 1);
}

void TForm1::button28Click(TObject*) {
    // Refused only while a run is still going, a stop still waiting included:
    // an ended run, stopped or not, gives its tasks up to the new one.
    Queue().ClearTasks();
    try {
        RebuildTasks();
    } catch (...) {
        // Half a task list would leave rows naming tasks that do not exist.
        Queue().ClearTasks();
        for (int Row = 0; Row < lvFiles->Items()->Count(); ++Row)
            SetTaskNumber(*lvFiles->Items()->Item(Row), 0);
        throw;
    }
}

void TForm1::RebuildTasks() {
    // Each task's opening reports its input to the log.
    TLogBatch Log(*this);
    const std::string Folder = WithoutTrailingDelimiter(FileOutPutPath);
    const bool Overwrite = Form5 && Form5->OverwriteOutput();
    for (int Row = 0; Row < lvFiles->Items()->Count(); ++Row) {
        TListItem* Item = lvFiles->Items()->Item(Row);
        TStrings& Cells = *Item->SubItems();
        const int Slot = Slots.SlotOfRow(Row);
        TInputOptions& In = Slots.IO1(Slot);
        TOutputOptions& Out = Slots.OO1(Slot);
        In.FileName = Item->Caption();
        try {
            ApplyRowCells(Cells, Out);
            // The name is settled again now, against the folder and the files
            // of this moment and the names the rows before have taken.
            const std::string Name = Cells.Count() > 2 ? Cells.Strings(2) : std::string();
            const std::string Final =
                ResolveOutputName(Folder, Name, Overwrite, OtherRowOutputs(Row));
            if (ExtractFileName(Final) != Name) {
                Cells.SetStrings(2, ExtractFileName(Final));
                Log.Diagnostic("***Output renamed: " + Name + " -> " + ExtractFileName(Final));
            }
            Out.FileName = Final;
            TInputOptions TaskIn = In;
            TOutputOptions TaskOut = Out;
            TaskOut.AudioLanguage.clear();
            TaskOut.FileName.clear();
            const int Task = Queue().AddTask(In.FileName, &TaskIn);
            if (Task < 0)
                throw Exception(Queue().LastErrMsg());
            if (!Queue().SetOutputFile(Task, PartialOutputPath(Final), &TaskOut))
                throw Exception(Queue().LastErrMsg());
            SetTaskNumber(*Item, Task + 1);
        } catch (const std::exception& E) {
            throw Exception("无法开始转换：" + In.FileName + "\n" + E.what());
        }
    }
}

// ------------------------------------------------------ pause, resume, stop

void TForm1::btnPauseClick(TObject*) {
    SetToolButtonEnabled(bsSkinButton11, false, true);
    N16->SetEnabled(false);
    SetToolButtonEnabled(bsSkinButton12, true, true);
    N17->SetEnabled(true);
    Queue().Pause();
}

void TForm1::btnResumeClick(TObject*) {
    SetToolButtonEnabled(bsSkinButton11, true, true);
    N16->SetEnabled(true);
    SetToolButtonEnabled(bsSkinButton12, false, true);
    N17->SetEnabled(false);
    Queue().Resume();
}

void TForm1::bsSkinButton11Click(TObject* Sender) {
    btnPauseClick(Sender);
    bsSkinButton11->SetVisible(false);
    bsSkinButton12->SetVisible(true);
}

void TForm1::bsSkinButton12Click(TObject* Sender) {
    btnResumeClick(Sender);
    bsSkinButton11->SetVisible(true);
    bsSkinButton12->SetVisible(false);
}

void TForm1::bsSkinButton10Click(TObject* Sender) {
    btnStopClick(Sender);
}

void TForm1::btnStopClick(TObject* Sender) {
    SetToolButtonEnabled(bsSkinButton10, false, true);
    N13->SetEnabled(false);
    SetToolButtonEnabled(bsSkinButton2, true, true);
    Button23Click(Sender);
    Button24Click(Sender);
    FBatchStopped = true;
    WaitingStop();
}

// ---------------------------------------------------------------- lock, unlock

namespace {

void SetSettingsEnabled(TForm1& Form, bool Enabled) {
    for (TControl* List : std::initializer_list<TControl*>{
             Form.bsSkinComboBox1, Form.bsSkinComboBox2, Form.bsSkinComboBox3, Form.bsSkinComboBox4,
             Form.bsSkinComboBox9, Form.bsSkinComboBox10})
        List->SetEnabled(Enabled);
    Form.bsSkinOfficeComboBox2->SetEnabled(Enabled);
    Form.bsSkinOfficeComboBox2->Repaint();
    Form.bsSkinOfficeComboBox1->SetEnabled(Enabled);
    Form.bsSkinButton5->SetEnabled(Enabled);
}

} // namespace

void TForm1::Button22Click(TObject*) {
    SetSettingsEnabled(*this, false);
}

void TForm1::Button23Click(TObject*) {
    SetSettingsEnabled(*this, true);
}

void TForm1::chkPreviewClick(TObject*) {
    Queue().SetPreview(chkPreview->Checked());
}
