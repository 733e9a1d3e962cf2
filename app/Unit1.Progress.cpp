// Progress and termination reports of the task queue, and the actions run
// when every job has ended.
#include "app/Unit1.h"

#include "app/ExternalActions.h"
#include "app/JobOutputs.h"
#include "app/ProgramServices.h"
#include "app/Unit5.h"
#include "platform/core/Conversions.h"
#include "platform/core/Paths.h"
#include "platform/forms/Edits.h"
#include "platform/forms/ListViews.h"
#include "platform/forms/Menus.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.Views.h"

#include <algorithm>
#include <initializer_list>

namespace {

constexpr UINT ExclamationBox = 48; // OK button and the exclamation icon

void SetCell(TListItem& Item, int Index, const std::string& Text) {
    TStrings& Cells = *Item.SubItems();
    while (Cells.Count() <= Index)
        Cells.Add("");
    Cells.SetStrings(Index, Text);
}

} // namespace

void TForm1::FFQueueProgress(TObject*, PProgressInfo Info) {
    if (!Info || Info->TaskIndex < 0 || Info->TaskIndex >= lvFiles->Items()->Count())
        return;
    TListItem& Item = *lvFiles->Items()->Item(Info->TaskIndex);
    if (Info->TotalDuration > 0) {
        // An estimate shorter than the output would read above 100.
        const std::int64_t Percent =
            std::clamp<std::int64_t>(Info->CurrentDuration * 100 / Info->TotalDuration, 0, 100);
        SetCell(Item, 3, IntToStr(static_cast<int>(Percent)) + "%");
    } else {
        SetCell(Item, 3, "N/A");
    }
    if (Info->FPS > 0)
        SetCell(Item, 4, IntToStr(Info->FPS));
    SetCell(Item, 5, SecToDate(static_cast<int>(Info->CurrentDuration / 1000000)));
    SetCell(Item, 6, MegabyteText(Info->CurrentSize));
}

void TForm1::JobTerminated(const TTerminateInfo& Info) {
    if (Info.TaskIndex < 0) {
        if (FClosing)
            return;
        SetToolButtonEnabled(bsSkinButton7, false, false);
        SetToolButtonEnabled(bsSkinButton21, false, false);
        N9->SetEnabled(false);
        N26->SetEnabled(false);
        SetToolButtonEnabled(bsSkinButton8, true, false);
        N10->SetEnabled(true);
        for (TControl* Button :
             std::initializer_list<TControl*>{bsSkinButton10, bsSkinButton11, bsSkinButton12})
            SetToolButtonEnabled(Button, false, true);
        for (TMenuItem* Entry : {N13, N16, N17})
            Entry->SetEnabled(false);
        Button23Click(this);
        Button24Click(this);
        for (TControl* Move : std::initializer_list<TControl*>{bsSkinButton3, bsSkinButton4})
            Move->SetEnabled(true);
        N7->SetEnabled(true);
        N8->SetEnabled(true);
        // A batch the user stopped ends without its action: a cancelled
        // batch must not power the machine off.
        if (FBatchStopped || !Form5)
            return;
        switch (Form5->AfterDoneChoice()) {
        case 0:
            Button20Click(this);
            break;
        case 1:
            Button25Click(this);
            break;
        case 2:
            Button29Click(this);
            break;
        default:
            break;
        }
        return;
    }
    const int Row = Info.TaskIndex;
    if (Row >= lvFiles->Items()->Count() || Row >= Slots.RowCount())
        return;
    TListItem& Item = *lvFiles->Items()->Item(Row);
    if (Info.Finished && !Info.Exception) {
        // Only now does the work take its final name.
        TOutputOptions& Out = Slots.OO1(Slots.SlotOfRow(Row));
        const std::string Final = Out.FileName;
        const bool Overwrite = Form5 && Form5->OverwriteOutput();
        std::string Placed, Error;
        if (MovePartialIntoPlace(Final, Overwrite, OtherRowOutputs(Row), Placed, Error)) {
            if (Placed != Final) {
                Out.FileName = Placed;
                SetCell(Item, 2, ExtractFileName(Placed));
            }
            SetCell(Item, 3, "100%");
        } else {
            const std::string Partial = PartialOutputPath(Final);
            SetCell(Item, 3, "失败");
            LogDiagnostic("***Output kept as: " + Partial);
            if (!FClosing)
                Application->MessageBox(Final + "\n" + Error + "\n" + Partial, Application->Title(),
                                        ExclamationBox);
        }
    }
    if (Info.Exception) {
        // A failed job never looks done, whatever else the report says.
        SetCell(Item, 3, "失败");
        if (!FClosing)
            Application->MessageBox(Info.ExceptionMsg, Application->Title(), ExclamationBox);
    }
}

// ---------------------------------------------------------------- after-done actions

bool TForm1::SetPrivilege(const std::string&, bool) {
    // The login manager decides who may power off; there is no privilege of
    // the process to switch.
    return true;
}

void TForm1::Button25Click(TObject*) {
    SetPrivilege("SeShutdownPrivilege", true);
    std::string Error;
    if (!Actions().PowerOff(Error))
        ExternalActionFailed("PowerOff", Error);
}

void TForm1::Button29Click(TObject*) {
    const std::string Sound = ProgramFolder() + "sounds/ring001.wav";
    if (!FileExists(Sound))
        return;
    std::string Error;
    if (!Actions().PlaySound(Sound, Error))
        ExternalActionFailed("PlaySound", Error);
}

void TForm1::ExternalActionFailed(const std::string& Action, const std::string& Text) {
    if (Action == "PowerOff") {
        LogDiagnostic("***Power off failed: " + Text);
        Application->MessageBox("自动关闭计算机失败：\n" + Text, Application->Title(),
                                ExclamationBox);
    } else {
        LogDiagnostic("***Play sound failed: " + Text);
    }
}
