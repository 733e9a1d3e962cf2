// The skinned lists and combos on a real X display, plain on the left and
// skinned on the right, for the end-to-end test to photograph.
// Usage: skin_lists_demo OUTDIR [SKIN.ini | stored:N]
//
// Without a skin file the standard test skin is written into OUTDIR/skin
// and loaded; "stored:N" takes the program's stored skin N. Shortly after start the plain combo's
// drop-down opens; once everything is on the screen the demo writes OUTDIR/layout.txt (screen
// rectangles of the controls, the drop-down and the caption buttons) and
// prints "ready". It closes itself once OUTDIR/quit exists.
#include "platform/core/Clock.h"
#include "platform/core/Threads.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/ImageList.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/model/bsUtils.Rects.h"
#include "tests/skin/controls/support/SkinControlsDemoForm.h"
#include "tests/support/DemoDesktop.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

// Four 16 x 16 pictures in four colours.
void FillImages(TImageList* Images) {
    TBitmap Picture;
    Picture.SetPixelFormat(pf24bit);
    Picture.SetSize(64, 16);
    TCanvas* C = Picture.Canvas();
    C->Brush()->SetColor(clFuchsia);
    C->FillRect(Rect(0, 0, 64, 16));
    const TColor Colours[] = {TColor(RGB(230, 190, 40)), TColor(RGB(40, 90, 200)),
                              TColor(RGB(60, 170, 80)), TColor(RGB(200, 60, 60))};
    for (int I = 0; I < 4; ++I) {
        C->Brush()->SetColor(Colours[I]);
        C->FillRect(Rect(I * 16 + 2, 2, I * 16 + 14, 14));
    }
    Images->AddMasked(&Picture, clFuchsia);
}

// One column of controls; SD nil gives the plain look.
struct TColumn {
    TbsSkinListBox* List = nullptr;
    TbsSkinOfficeListBox* Office = nullptr;
    TbsSkinComboBox* Fixed = nullptr;
    TbsSkinComboBox* Second = nullptr;
    TbsSkinOfficeComboBox* Profiles = nullptr;
    TbsSkinComboBox* Editable = nullptr;
};

TColumn MakeColumn(TForm* Form, int X, TbsSkinData* SD, TImageList* Images) {
    TColumn Col;
    Col.List = new TbsSkinListBox(Form);
    Col.List->SetParent(Form);
    Col.List->SetBounds(X, 10, 260, 150);
    Col.List->SetCaption("Files");
    Col.List->SetCaptionMode(true);
    Col.List->SetImages(Images);
    auto* Tabs = new TStringList;
    Tabs->Add("130");
    Col.List->SetTabWidths(Tabs);
    delete Tabs;
    for (const char* S : {"movie.avi\t700 MB", "song.mp3\t4 MB", "clip.mkv\t1.2 GB",
                          "voice.wav\t12 MB", "trailer.mp4\t80 MB", "notes.ogg\t2 MB"})
        Col.List->Items()->Add(S);
    Col.List->Items()->Add("a very long file name that needs the horizontal bar.mpg");
    Col.List->SetHorizontalExtent(true);
    Col.List->SetItemIndex(1);
    Col.List->SetSkinData(SD);

    Col.Office = new TbsSkinOfficeListBox(Form);
    Col.Office->SetParent(Form);
    Col.Office->SetBounds(X, 170, 260, 190);
    Col.Office->SetImages(Images);
    Col.Office->SetShowLines(true);
    struct {
        const char* Title;
        const char* Caption;
        bool Header, Enabled;
        int Image;
    } Rows[] = {{"", "Video", true, true, -1},
                {"AVI", "Audio Video Interleave", false, true, 0},
                {"MP4", "MPEG-4 Part 14", false, true, 1},
                {"", "Audio", true, true, -1},
                {"WMA", "Not available here", false, false, 2},
                {"MP3", "MPEG Layer 3", false, true, 3}};
    for (auto R : Rows) {
        TbsSkinOfficeItem* I = Col.Office->Items()->Add();
        I->SetTitle(R.Title);
        I->SetCaption(R.Caption);
        I->SetHeader(R.Header);
        I->SetEnabled(R.Enabled);
        I->SetImageIndex(R.Image);
    }
    Col.Office->SetItemIndex(2);
    Col.Office->SetSkinData(SD);

    auto MakeCombo = [&](int Y) {
        auto* C = new TbsSkinComboBox(Form);
        C->SetParent(Form);
        C->SetBounds(X, Y, 160, 20);
        for (const char* S : {"320x240", "640x480", "720x576", "1280x720", "1920x1080"})
            C->Items()->Add(S);
        C->SetItemIndex(1);
        C->SetSkinData(SD);
        return C;
    };
    Col.Fixed = MakeCombo(370);
    Col.Second = MakeCombo(400);
    Col.Second->SetImages(Images);

    Col.Profiles = new TbsSkinOfficeComboBox(Form);
    Col.Profiles->SetParent(Form);
    Col.Profiles->SetToolButtonStyle(true);
    Col.Profiles->SetUseSkinSize(false);
    Col.Profiles->SetDropDownCount(4);
    Col.Profiles->SetBounds(X, 430, 260, 51);
    Col.Profiles->SetListBoxShowItemTitles(true);
    Col.Profiles->SetListBoxShowLines(true);
    Col.Profiles->SetListBoxItemHeight(60);
    Col.Profiles->SetImages(Images);
    for (int I = 0; I < 3; ++I) {
        TbsSkinOfficeItem* Item = Col.Profiles->Items()->Add();
        Item->SetTitle("Profile " + std::to_string(I + 1));
        Item->SetCaption("A profile of the category");
        Item->SetImageIndex(I);
    }
    Col.Profiles->SetItemIndex(0);
    Col.Profiles->SetSkinData(SD);

    Col.Editable = MakeCombo(490);
    Col.Editable->SetStyle(bscbEditStyle);
    Col.Editable->SetItemIndex(3);
    return Col;
}

void WriteRect(std::ofstream& Out, const std::string& Name, TRect R) {
    Out << Name << ' ' << R.Left << ' ' << R.Top << ' ' << R.Width() << ' ' << R.Height() << '\n';
}

TRect ScreenRect(TControl* C, TRect R) {
    const TPoint A = C->ClientToScreen({R.Left, R.Top});
    return {A.X, A.Y, A.X + R.Width(), A.Y + R.Height()};
}

TRect WindowRect(TWinControl* C) {
    TRect R;
    GetWindowRect(C->Handle(), &R);
    return R;
}

void WriteLayout(const std::string& Dir, const TColumn& Plain, const TColumn& Skinned) {
    std::ofstream Out(Dir + "/layout.txt");
    for (auto [Prefix, Col] : {std::pair{"plain.", &Plain}, std::pair{"skinned.", &Skinned}}) {
        const std::string P = Prefix;
        WriteRect(Out, P + "list", WindowRect(Col->List));
        TbsListBox* In = Col->List->ListBox;
        WriteRect(Out, P + "selectedrow", ScreenRect(In, In->ItemRect(Col->List->ItemIndex())));
        for (int I = 0; I < 3; ++I)
            WriteRect(Out, P + "button" + std::to_string(I),
                      ScreenRect(Col->List, Col->List->Buttons[I].R));
        WriteRect(Out, P + "header",
                  ScreenRect(Col->Office, Col->Office->Items()->Items(0)->ItemRect));
        WriteRect(Out, P + "combobutton", ScreenRect(Col->Fixed, Col->Fixed->Button.R));
        WriteRect(Out, P + "combo", WindowRect(Col->Fixed));
        WriteRect(Out, P + "editcombo", WindowRect(Col->Editable));
    }
    WriteRect(Out, "dropdown", WindowRect(Plain.Fixed->FListBox));

    // The colour the skinned list's chosen row should show (the list is not
    // focused): the middle of the skin's active row picture, or the
    // selection colour when the skin's list has no row pictures.
    TbsSkinListBox* L = Skinned.List;
    COLORREF Row = COLORREF(ColorToRGB(clHighlight));
    if (L->Picture && !IsNullRect(L->SItemRect)) {
        const TRect A = L->ActiveItemRect;
        Row = COLORREF(ColorToRGB(
            L->Picture->Canvas()->Pixels((A.Left + A.Right) / 2, (A.Top + A.Bottom) / 2)));
    }
    std::ofstream(Dir + "/colours.txt")
        << "skinned.selectedrow " << int(GetRValue(Row)) << ' ' << int(GetGValue(Row)) << ' '
        << int(GetBValue(Row)) << '\n';
}

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: skin_lists_demo OUTDIR [SKIN.ini | stored:N]\n");
        return 2;
    }
    const std::string Dir = argv[1];
    TDemoDesktop Desktop("SkinListsDemo");
    if (!Desktop.OpenDisplay(argv[0], true))
        return 1;
    Desktop.Start();
    // Made without an owner: freed before the application ends.
    auto Owned = std::make_unique<TForm>(nullptr);
    TForm* Form = Owned.get();
    Form->SetCaption("Skinned lists and combos");
    Form->SetBounds(100, 100, 560, 580);
    auto* Images = new TImageList(Form);
    Images->SetWidth(16);
    Images->SetHeight(16);
    FillImages(Images);
    TbsSkinData* SD = skinctl::LoadDemoSkin(Form, Dir, argc == 3 ? argv[2] : "", "skin_lists_demo");
    if (!SD)
        return 1;
    const TColumn Plain = MakeColumn(Form, 10, nullptr, Images);
    const TColumn Skinned = MakeColumn(Form, 290, SD, Images);
    Form->Show();
    Plain.Fixed->SetFocus();
    // The drop-down opens on a timer after start, as a user would open it.
    const std::uint32_t OpenAt = GetTickCount() + 300;
    Desktop.RunWhile([&] { return !TickPassed(OpenAt); }, 50);
    Plain.Fixed->DropDown();
    if (!Desktop.WaitUntilShown({Form->Handle(), Plain.Fixed->FListBox->Handle()})) {
        std::fprintf(stderr, "skin_lists_demo: the windows never showed\n");
        return 1;
    }
    WriteLayout(Dir, Plain, Skinned);
    Announce();
    Desktop.RunUntilFile(Dir + "/quit", 120000);
    return 0;
}
