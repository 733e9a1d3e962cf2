// Every bound of the main window in one table: the areas' places are the
// window's design, the places inside the panels are ours. The end-to-end
// tests find the controls on the screen through the same table.
#include "app/Unit1.h"

#include "platform/forms/Controls.h"

#include <array>

namespace {

// Off the client area, to the right: the command panel and the hidden ones.
constexpr int Off = 820;

constexpr std::array Layout{
    // Areas of the client.
    TLayoutBound{"bsSkinMainMenuBar1", "Form1", 0, 0, 804, 22},
    TLayoutBound{"bsSkinToolBar2", "Form1", 0, 22, 804, 59},
    TLayoutBound{"bsSkinPanel1", "Form1", 8, 87, 558, 260},
    TLayoutBound{"bsSkinPanel5", "Form1", 8, 87, 558, 260},
    TLayoutBound{"bsSkinPanel2", "Form1", 8, 356, 558, 166},
    TLayoutBound{"bsSkinPanel4", "Form1", 572, 87, 219, 206},
    TLayoutBound{"bsSkinPanel3", "Form1", 572, 296, 219, 226},
    TLayoutBound{"Panel6", "Form1", 581, 323, 200, 124},
    // Outside the client area.
    TLayoutBound{"Panel1", "Form1", Off, 0, 300, 541},
    TLayoutBound{"Panel3", "Form1", Off + 310, 0, 100, 100},
    TLayoutBound{"Button19", "Form1", Off + 310, 110, 75, 25},
    TLayoutBound{"Button27", "Form1", Off + 310, 140, 75, 25},
    TLayoutBound{"edt", "Form1", Off + 310, 170, 121, 14},
    TLayoutBound{"Panel4", "Form1", Off + 420, 0, 100, 100},
    TLayoutBound{"Panel5", "Form1", Off + 530, 0, 300, 541},

    // Tool bar, left to right; pause and resume share one place.
    TLayoutBound{"bsSkinMenuSpeedButton1", "bsSkinToolBar2", 4, 2, 66, 55},
    TLayoutBound{"bsSkinButton7", "bsSkinToolBar2", 74, 2, 60, 55},
    TLayoutBound{"bsSkinButton8", "bsSkinToolBar2", 136, 2, 60, 55},
    TLayoutBound{"bsSkinButton2", "bsSkinToolBar2", 198, 2, 60, 55},
    TLayoutBound{"bsSkinButton10", "bsSkinToolBar2", 260, 2, 60, 55},
    TLayoutBound{"bsSkinButton11", "bsSkinToolBar2", 322, 2, 60, 55},
    TLayoutBound{"bsSkinButton12", "bsSkinToolBar2", 322, 2, 60, 55},
    TLayoutBound{"bsSkinButton19", "bsSkinToolBar2", 384, 2, 60, 55},
    TLayoutBound{"bsSkinButton9", "bsSkinToolBar2", 446, 2, 60, 55},

    // Job table.
    TLayoutBound{"lvFiles", "bsSkinPanel1", 2, 2, 554, 198},
    TLayoutBound{"bsSkinScrollBar1", "bsSkinPanel1", 2, 200, 554, 16},
    TLayoutBound{"bsSkinScrollBar2", "bsSkinPanel1", 537, 2, 19, 198},
    TLayoutBound{"bsSkinButton3", "bsSkinPanel1", 4, 220, 80, 36},
    TLayoutBound{"bsSkinButton4", "bsSkinPanel1", 88, 220, 80, 36},
    TLayoutBound{"bsSkinButton21", "bsSkinPanel1", 172, 220, 96, 36},
    TLayoutBound{"Image1", "bsSkinPanel5", 0, 0, 558, 260},

    // Output panel.
    TLayoutBound{"bsSkinStdLabel1", "bsSkinPanel2", 10, 8, 100, 16},
    TLayoutBound{"bsSkinOfficeComboBox2", "bsSkinPanel2", 10, 28, 260, 48},
    TLayoutBound{"bsSkinOfficeComboBox1", "bsSkinPanel2", 280, 28, 268, 48},
    TLayoutBound{"bsSkinStdLabel2", "bsSkinPanel2", 10, 84, 100, 16},
    TLayoutBound{"Video_OutPut_Folder_Edit", "bsSkinPanel2", 10, 104, 370, 21},
    TLayoutBound{"bsSkinButton5", "bsSkinPanel2", 388, 102, 75, 25},
    TLayoutBound{"bsSkinButton6", "bsSkinPanel2", 471, 102, 75, 25},
    TLayoutBound{"bsSkinStdLabel3", "bsSkinPanel2", 10, 140, 72, 16},
    TLayoutBound{"bsSkinLinkLabel1", "bsSkinPanel2", 84, 140, 300, 16},
    TLayoutBound{"bsSkinButton1", "bsSkinPanel2", 471, 136, 75, 25},

    // Preset lists: two columns of three labelled lists.
    TLayoutBound{"bsSkinStdLabel4", "bsSkinPanel4", 8, 26, 100, 16},
    TLayoutBound{"bsSkinComboBox1", "bsSkinPanel4", 8, 44, 98, 20},
    TLayoutBound{"bsSkinStdLabel5", "bsSkinPanel4", 8, 86, 100, 16},
    TLayoutBound{"bsSkinComboBox2", "bsSkinPanel4", 8, 104, 98, 20},
    TLayoutBound{"bsSkinStdLabel6", "bsSkinPanel4", 8, 146, 100, 16},
    TLayoutBound{"bsSkinComboBox9", "bsSkinPanel4", 8, 164, 98, 20},
    TLayoutBound{"bsSkinStdLabel7", "bsSkinPanel4", 113, 26, 100, 16},
    TLayoutBound{"bsSkinComboBox3", "bsSkinPanel4", 113, 44, 98, 20},
    TLayoutBound{"bsSkinStdLabel8", "bsSkinPanel4", 113, 86, 100, 16},
    TLayoutBound{"bsSkinComboBox10", "bsSkinPanel4", 113, 104, 98, 20},
    TLayoutBound{"bsSkinStdLabel9", "bsSkinPanel4", 113, 146, 100, 16},
    TLayoutBound{"bsSkinComboBox4", "bsSkinPanel4", 113, 164, 98, 20},

    // Preview panel: the video surface (a child of the window) is at the
    // top, the seek slider under it, the small buttons in a row below.
    TLayoutBound{"bsSkinSlider1", "bsSkinPanel3", 9, 156, 200, 20},
    TLayoutBound{"bsSkinButton13", "bsSkinPanel3", 9, 184, 30, 30},
    TLayoutBound{"bsSkinButton14", "bsSkinPanel3", 43, 184, 30, 30},
    TLayoutBound{"bsSkinButton15", "bsSkinPanel3", 77, 184, 30, 30},
    TLayoutBound{"bsSkinButton16", "bsSkinPanel3", 111, 184, 30, 30},
    TLayoutBound{"bsSkinButton20", "bsSkinPanel3", 111, 184, 30, 30},
    TLayoutBound{"bsSkinButton22", "bsSkinPanel3", 145, 184, 30, 30},
    TLayoutBound{"bsSkinButton23", "bsSkinPanel3", 179, 184, 30, 30},
    TLayoutBound{"bsSkinButton17", "bsSkinPanel3", 179, 184, 30, 30},

    // Command panel.
    TLayoutBound{"Image2", "Panel1", 4, 4, 32, 32},
    TLayoutBound{"Image3", "Panel1", 40, 4, 32, 32},
    TLayoutBound{"Image4", "Panel1", 76, 4, 32, 32},
    TLayoutBound{"Image5", "Panel1", 112, 4, 32, 32},
    TLayoutBound{"Image6", "Panel1", 148, 4, 32, 32},
    TLayoutBound{"Image7", "Panel1", 184, 4, 32, 32},
    TLayoutBound{"Image8", "Panel1", 220, 4, 32, 32},
    TLayoutBound{"Image9", "Panel1", 256, 4, 32, 32},
    TLayoutBound{"Image10", "Panel1", 4, 40, 32, 32},
    TLayoutBound{"Image11", "Panel1", 40, 40, 32, 32},
    TLayoutBound{"Image12", "Panel1", 76, 40, 32, 32},
    TLayoutBound{"Image13", "Panel1", 112, 40, 32, 32},
    TLayoutBound{"Image14", "Panel1", 148, 40, 32, 32},
    TLayoutBound{"Image15", "Panel1", 184, 40, 32, 32},
    TLayoutBound{"Image16", "Panel1", 220, 40, 32, 32},
    TLayoutBound{"Image17", "Panel1", 256, 40, 32, 32},
    TLayoutBound{"ProgressBar1", "Panel1", 4, 80, 290, 16},
    TLayoutBound{"ListBox1", "Panel1", 4, 100, 290, 200},
    TLayoutBound{"chkThreadMode", "Panel1", 4, 306, 140, 17},
    TLayoutBound{"chkPreview", "Panel1", 150, 306, 140, 17},

    // Player options and the log.
    TLayoutBound{"cboVideoDriver", "Panel5", 4, 4, 140, 21},
    TLayoutBound{"cboAudioDriver", "Panel5", 150, 4, 140, 21},
    TLayoutBound{"cboScreens", "Panel5", 4, 30, 140, 21},
    TLayoutBound{"chkOpenPaused", "Panel5", 150, 30, 140, 17},
    TLayoutBound{"chkStayOnTop", "Panel5", 150, 50, 140, 17},
    TLayoutBound{"TrackBar2", "Panel5", 4, 72, 286, 30},
    TLayoutBound{"cboVideo", "Panel5", 4, 106, 90, 21},
    TLayoutBound{"cboAudio", "Panel5", 100, 106, 90, 21},
    TLayoutBound{"cboSubtitle", "Panel5", 196, 106, 90, 21},
    TLayoutBound{"Label2", "Panel5", 4, 132, 60, 13},
    TLayoutBound{"Label3", "Panel5", 70, 132, 60, 13},
    TLayoutBound{"mmoLog", "Panel5", 4, 150, 290, 350},
    TLayoutBound{"btnCapture", "Panel5", 4, 506, 75, 25},
};

} // namespace

std::span<const TLayoutBound> MainWindowLayout() {
    return Layout;
}

const TLayoutBound* FindLayoutBound(const std::string& Name) {
    for (const TLayoutBound& Row : Layout)
        if (Name == Row.Name)
            return &Row;
    return nullptr;
}

TComponent* FindOwnedComponent(const TComponent& Owner, const std::string& Name) {
    for (int I = 0; I < Owner.ComponentCount(); ++I)
        if (Owner.Components(I)->Name() == Name)
            return Owner.Components(I);
    return nullptr;
}

void TForm1::ApplyLayout() {
    for (const TLayoutBound& Row : Layout)
        if (auto* Control = dynamic_cast<TControl*>(FindOwnedComponent(*this, Row.Name)))
            Control->SetBounds(Row.Left, Row.Top, Row.Width, Row.Height);
}
