// The preview panel: the selected job's input played in Panel6, the seek
// slider, the transport buttons, mute and volume, and the player's events.
#include "app/Unit1.h"

#include "app/PreviewPlayer.h"
#include "app/ProgramServices.h"
#include "platform/core/Conversions.h"
#include "platform/core/Format.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Edits.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/ListBoxes.h"
#include "platform/forms/ListViews.h"
#include "platform/forms/StdCtrls.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.Slider.h"
#include "skin/controls/bsSkinCtrls.Views.h"

#include <string>

namespace {

std::string Seconds(std::int64_t Microseconds) {
    return Format("%f", {static_cast<double>(Microseconds) / 1000000.0});
}

void FocusTable(TForm1& Form) {
    if (Form.lvFiles->CanFocus())
        Form.lvFiles->SetFocus();
}

// Opens the previewed file in Panel6; a refusal goes to the log memo.
void OpenPreview(TForm1& Form) {
    IPreviewPlayer& Player = Form.Player();
    if (!Player.Open(Form.T_Movie_PLayer_FileName, Form.Panel6->Handle(),
                     Form.chkOpenPaused->Checked()))
        Form.mmoLog->Lines()->Add(Player.LastErrMsg());
}

// Fills List with Prefix + index for each stream Kind accepts.
template <class TKind>
void FillStreamList(TComboBox& List, IPreviewPlayer& Player, const char* Prefix, TKind Kind) {
    List.Items()->BeginUpdate();
    List.Items()->Clear();
    for (int Index = 0; Index < Player.StreamCount(); ++Index)
        if (Kind(Index))
            List.Items()->Add(Prefix + IntToStr(Index));
    List.Items()->EndUpdate();
}

void ChooseStream(TComboBox& List, const std::string& Entry) {
    List.SetItemIndex(List.Items()->IndexOf(Entry));
}

} // namespace

void TForm1::BindPreviewCommands() {
    Player().SetOnFileOpen(TFileOpenEvent(this, &TForm1::RIVavovaFileOpen));
    Player().SetOnPosition(TPositionEvent(this, &TForm1::RIVavovaPosition));
    Player().SetOnState(TPlayStateEvent(this, &TForm1::RIVavovaState));
    Player().SetOnHook(THookEvent(this, &TForm1::RIVavovaHook));
    bsSkinSlider1->OnMouseDown = TMouseEvent(this, &TForm1::bsSkinSlider1MouseDown);
    bsSkinSlider1->OnMouseUp = TMouseEvent(this, &TForm1::bsSkinSlider1MouseUp);
    bsSkinButton13->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton13Click);
    bsSkinButton14->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton14Click);
    bsSkinButton15->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton15Click);
    bsSkinButton16->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton16Click);
    bsSkinButton20->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton20Click);
    TrackBar2->OnChange = TNotifyEvent(this, &TForm1::TrackBar2Change);
}

// ---------------------------------------------------------------- open

void TForm1::Button31Click(TObject*) {
    IPreviewPlayer& Player = this->Player();
    if (!Player.AVLibLoaded() && !Player.LoadAVLib(ProgramFolder() + "LibAV")) {
        mmoLog->Lines()->Add(Player.LastErrMsg());
        return;
    }
    FScreenControl = nullptr;
    const std::string ScreenName = cboScreens->ItemIndex() >= 0 ? cboScreens->Text() : "";
    for (int I = 0; I < ControlCount(); ++I)
        if (auto* Child = dynamic_cast<TWinControl*>(Controls(I));
            Child && !ScreenName.empty() && Child->Name() == ScreenName) {
            FScreenControl = Child;
            break;
        }
    switch (cboVideoDriver->ItemIndex()) {
    case 1:
        Player.SetVideoDriver(vdDirectDraw);
        break;
    case 2:
        Player.SetVideoDriver(vdGDI);
        break;
    default:
        Player.SetVideoDriver(vdDefault);
        break;
    }
    switch (cboAudioDriver->ItemIndex()) {
    case 1:
        Player.SetAudioDriver(adDirectSound);
        break;
    case 2:
        Player.SetAudioDriver(adWaveOut);
        break;
    default:
        Player.SetAudioDriver(adDefault);
        break;
    }
    OpenPreview(*this);
}

// ---------------------------------------------------------------- player events

void TForm1::RIVavovaFileOpen(TObject*, std::int64_t ADuration, int AFrameWidth, int AFrameHeight,
                              int& AScreenWidth, int& AScreenHeight) {
    IPreviewPlayer& Player = this->Player();
    TStrings& Log = *mmoLog->Lines();
    Log.Add(Player.FileInfoText());
    Log.Add(Format("duration: %f, frame size: %dx%d",
                   {static_cast<double>(ADuration) / 1000000.0, AFrameWidth, AFrameHeight}));
    if (FScreenControl) {
        AScreenWidth = FScreenControl->Width();
        AScreenHeight = FScreenControl->Height();
    } else {
        AScreenWidth = Screen->Width();
        AScreenHeight = Screen->Height();
    }
    FDuration = ADuration;
    Label2->SetCaption(Seconds(ADuration));
    Label3->SetCaption("0.0");
    bsSkinSlider1->SetIncrement(5);
    bsSkinSlider1->SetMaxValue(bsSkinSlider1->Width());
    bsSkinSlider1->SetValue(0);

    FillStreamList(*cboVideo, Player, "Video#", [&](int I) { return Player.IsVideoStream(I); });
    FillStreamList(*cboAudio, Player, "Audio#",
                   [&](int I) { return !Player.IsVideoStream(I) && Player.IsAudioStream(I); });
    FillStreamList(*cboSubtitle, Player, "Subtitle#", [&](int I) {
        return !Player.IsVideoStream(I) && !Player.IsAudioStream(I) && Player.IsSubtitleStream(I);
    });
    cboVideo->SetEnabled(cboVideo->Items()->Count() >= 2 && Player.VideoStreamIndex() >= 0);
    ChooseStream(*cboVideo, "Video#" + IntToStr(Player.VideoStreamIndex()));
    cboAudio->SetEnabled(cboAudio->Items()->Count() >= 2 && Player.AudioStreamIndex() >= 0);
    ChooseStream(*cboAudio, "Audio#" + IntToStr(Player.AudioStreamIndex()));
    const bool Subtitles = cboSubtitle->Items()->Count() >= 1 && Player.VideoStreamIndex() >= 0;
    cboSubtitle->SetEnabled(Subtitles);
    if (Subtitles) {
        cboSubtitle->Items()->Insert(0, "Subtitle#-1");
        ChooseStream(*cboSubtitle, "Subtitle#" + IntToStr(Player.SubtitleStreamIndex()));
    }
}

void TForm1::RIVavovaPosition(TObject*, std::int64_t APTS) {
    // While the user holds the thumb it stays where it is dragged.
    if (bsSkinSlider1_down_UP != "UP")
        return;
    Label3->SetCaption(Seconds(APTS));
    const int Maximum = bsSkinSlider1->MaxValue();
    if (APTS >= 0 && FDuration > 0 && Maximum > 0)
        bsSkinSlider1->SetValue(static_cast<int>(Maximum * APTS / FDuration));
}

void TForm1::RIVavovaState(TObject*, TPlayState AState) {
    static constexpr const char* Names[] = {"Play", "Pause", "Resume", "Step", "Stop", "End"};
    mmoLog->Lines()->Add(Names[AState]);
    switch (AState) {
    case psPlay:
    case psResume:
        if (chkStayOnTop->Checked())
            SetFormStyle(fsStayOnTop);
        break;
    case psPause:
    case psStep:
        SetFormStyle(fsNormal);
        break;
    case psStop:
        SetFormStyle(fsNormal);
        if (HWND Host = Player().ScreenHandle()) {
            PostMessage(Host, CM_INVALIDATE, 0, 0);
            UpdateWindow(Host);
        }
        break;
    case psEnd:
        Player().Seek(0, TSeekFlags{sfAny}, false);
        Player().Pause();
        break;
    }
}

void TForm1::RIVavovaHook(TObject*, TBitmap*, std::int64_t) {
    // The player's hook is never switched on.
}

// ---------------------------------------------------------------- slider

void TForm1::bsSkinSlider1MouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    bsSkinSlider1_down_UP = "Down";
    Player().Pause();
}

void TForm1::bsSkinSlider1MouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    Player().Pause();
    // A slider without range has no position to stand for.
    const int Maximum = bsSkinSlider1->MaxValue();
    const std::int64_t Position = Maximum > 0 ? FDuration * bsSkinSlider1->Value() / Maximum : 0;
    Player().Seek(Position, TSeekFlags{}, false);
    Player().Resume();
    bsSkinSlider1_down_UP = "UP";
}

// ---------------------------------------------------------------- transport

void TForm1::bsSkinButton13Click(TObject*) {
    Player().Resume();
    FocusTable(*this);
}

void TForm1::bsSkinButton14Click(TObject*) {
    Player().Pause();
    FocusTable(*this);
}

void TForm1::bsSkinButton15Click(TObject*) {
    if (lvFiles->ItemIndex() < 0)
        return;
    try {
        Player().Stop(true);
        OpenPreview(*this);
        FocusTable(*this);
    } catch (const std::exception&) {
        Player().Stop(true);
    }
}

void TForm1::bsSkinButton16Click(TObject*) {
    Player().SetMute(true);
    bsSkinButton20->SetVisible(true);
    bsSkinButton16->SetVisible(false);
}

void TForm1::bsSkinButton20Click(TObject*) {
    Player().SetMute(false);
    bsSkinButton16->SetVisible(true);
    bsSkinButton20->SetVisible(false);
}

void TForm1::TrackBar2Change(TObject*) {
    Player().SetAudioVolume(TrackBar2->Position());
}
