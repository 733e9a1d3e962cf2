// The skinned edits, a numeric edit, a scroll box and two link labels on a
// real X display, plain on the left and skinned on the right, for the
// end-to-end test to photograph.
// Usage: skin_edits_demo OUTDIR [SKIN.ini | stored:N]
//
// Without a skin file the standard test skin is written into OUTDIR/skin
// and loaded; "stored:N" takes the program's stored skin N. Once everything
// is on the screen the demo writes OUTDIR/layout.txt (screen rectangles of
// the controls) and prints "ready". It closes itself once OUTDIR/quit
// exists.
#include "platform/core/Clock.h"
#include "platform/core/Threads.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/ImageList.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.ScrollBar.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/model/bsMessages.h"
#include "tests/skin/controls/support/SkinControlsDemoForm.h"
#include "tests/support/DemoDesktop.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

// Two 16 x 16 pictures: a magnifier-like disc and a cross.
void FillImages(TImageList* Images) {
    TBitmap Picture;
    Picture.SetPixelFormat(pf24bit);
    Picture.SetSize(32, 16);
    TCanvas* C = Picture.Canvas();
    C->Brush()->SetColor(clFuchsia);
    C->FillRect(Rect(0, 0, 32, 16));
    C->Brush()->SetColor(TColor(RGB(40, 90, 200)));
    C->Ellipse(2, 2, 14, 14);
    C->Brush()->SetColor(TColor(RGB(200, 60, 60)));
    C->FillRect(Rect(22, 3, 26, 13));
    C->FillRect(Rect(19, 6, 29, 10));
    Images->AddMasked(&Picture, clFuchsia);
}

struct TColumn {
    std::vector<TbsSkinEdit*> Edits;
    TbsSkinScrollBox* Box = nullptr;
    TbsSkinScrollBar* VBar = nullptr;
    TbsSkinScrollBar* HBar = nullptr;
    TbsSkinLinkLabel* Hovered = nullptr;
};

TColumn MakeColumn(TForm* Form, int X, TbsSkinData* SD, TImageList* Images) {
    TColumn Col;
    int Y = 10;
    auto Add = [&](const std::string& Text) {
        auto* E = new TbsSkinEdit(Form);
        E->SetParent(Form);
        E->SetBounds(X, Y, 220, 22);
        E->SetText(Text);
        E->SetSkinData(SD);
        Col.Edits.push_back(E);
        Y += 30;
        return E;
    };
    Add("");
    Add("output folder");
    Add("focused");
    // The frame button is part of the button edit's face; an edit switched
    // to button mode in code takes that element by name.
    TbsSkinEdit* WithButton = Add("button mode");
    WithButton->SetButtonMode(true);
    WithButton->SetSkinDataName("buttonedit");
    TbsSkinEdit* Images2 = Add("two image buttons");
    Images2->SetImages(Images);
    Images2->SetLeftImageIndex(0);
    Images2->SetRightImageIndex(1);
    Add("disabled")->SetEnabled(false);
    TbsSkinEdit* ReadOnly = Add("read-only, selected");
    ReadOnly->SetReadOnly(true);
    Add("right-aligned")->SetAlignment(taRightJustify);

    auto* Num = new TbsSkinNumEdit(Form);
    Num->SetParent(Form);
    Num->SetBounds(X, Y, 80, 20);
    Num->SetText("1280");
    Y += 30;

    // A 200 x 120 view onto a 400 x 300 picture, scrolled half way.
    Col.Box = new TbsSkinScrollBox(Form);
    Col.Box->SetParent(Form);
    Col.Box->SetBounds(X, Y, 202, 122);
    Col.VBar = new TbsSkinScrollBar(Form);
    Col.VBar->SetParent(Form);
    Col.VBar->SetKind(sbVertical);
    Col.VBar->SetSkinDataName("vscrollbar");
    Col.VBar->SetBounds(X + 202, Y, 19, 122);
    Col.HBar = new TbsSkinScrollBar(Form);
    Col.HBar->SetParent(Form);
    Col.HBar->SetBounds(X, Y + 122, 221, 19);
    Col.HBar->SetBothSkinDataName("bothhscrollbar");
    Col.Box->SetVScrollBar(Col.VBar);
    Col.Box->SetHScrollBar(Col.HBar);
    auto* Picture = new TImage(Form);
    Picture->SetParent(Col.Box);
    Picture->SetBounds(0, 0, 400, 300);
    TBitmap* B = Picture->Picture()->Bitmap();
    B->SetSize(400, 300);
    for (int Row = 0; Row < 6; ++Row)
        for (int Column = 0; Column < 8; ++Column) {
            B->Canvas()->Brush()->SetColor(
                TColor(RGB(40 + Column * 25, 200 - Row * 25, 90 + (Row + Column) % 3 * 50)));
            B->Canvas()->FillRect(Rect(Column * 50, Row * 50, Column * 50 + 50, Row * 50 + 50));
        }
    Col.Box->SetSkinData(SD);
    Col.VBar->SetSkinData(SD);
    Col.HBar->SetSkinData(SD);
    Col.Box->UpDateScrollRange();
    Col.Box->VScroll(90);
    Col.Box->HScroll(100);
    Y += 150;

    for (int I = 0; I < 2; ++I) {
        auto* L = new TbsSkinLinkLabel(Form);
        L->SetParent(Form);
        L->SetLeft(X);
        L->SetTop(Y);
        L->SetCaption(I == 0 ? "Project home page" : "Help and tutorials");
        L->SetURL("https://example.org/");
        L->SetSkinData(SD);
        if (I == 1)
            Col.Hovered = L;
        Y += 24;
    }
    return Col;
}

void WriteRect(std::ofstream& Out, const std::string& Name, TRect R) {
    Out << Name << ' ' << R.Left << ' ' << R.Top << ' ' << R.Width() << ' ' << R.Height() << '\n';
}

TRect WindowRect(TWinControl* C) {
    TRect R;
    GetWindowRect(C->Handle(), &R);
    return R;
}

TRect ScreenRect(TControl* C) {
    const TPoint A = C->ClientToScreen({0, 0});
    return {A.X, A.Y, A.X + C->Width(), A.Y + C->Height()};
}

void WriteLayout(const std::string& Dir, const TColumn& Plain, const TColumn& Skinned) {
    std::ofstream Out(Dir + "/layout.txt");
    for (auto [Prefix, Col] : {std::pair{"plain.", &Plain}, std::pair{"skinned.", &Skinned}}) {
        const std::string P = Prefix;
        WriteRect(Out, P + "edit", WindowRect(Col->Edits[1]));
        WriteRect(Out, P + "focused", WindowRect(Col->Edits[2]));
        WriteRect(Out, P + "button", WindowRect(Col->Edits[3]));
        WriteRect(Out, P + "box", WindowRect(Col->Box));
        WriteRect(Out, P + "vbar", WindowRect(Col->VBar));
        WriteRect(Out, P + "hbar", WindowRect(Col->HBar));
        WriteRect(Out, P + "link", ScreenRect(Col->Hovered));
    }
}

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: skin_edits_demo OUTDIR [SKIN.ini | stored:N]\n");
        return 2;
    }
    const std::string Dir = argv[1];
    TDemoDesktop Desktop("SkinEditsDemo");
    if (!Desktop.OpenDisplay(argv[0], true))
        return 1;
    Desktop.Start();
    // Made without an owner: freed before the application ends.
    auto Owned = std::make_unique<TForm>(nullptr);
    TForm* Form = Owned.get();
    Form->SetCaption("Skinned edits");
    Form->SetBounds(100, 100, 500, 540);
    auto* Images = new TImageList(Form);
    Images->SetWidth(16);
    Images->SetHeight(16);
    FillImages(Images);
    TbsSkinData* SD = skinctl::LoadDemoSkin(Form, Dir, argc == 3 ? argv[2] : "", "skin_edits_demo");
    if (!SD)
        return 1;
    const TColumn Plain = MakeColumn(Form, 10, nullptr, Images);
    const TColumn Skinned = MakeColumn(Form, 260, SD, Images);
    Form->Show();
    Skinned.Edits[2]->SetFocus();
    Plain.Edits[6]->SelectAll();
    Skinned.Edits[6]->SetSelStart(0);
    Skinned.Edits[6]->SetSelLength(9);
    Plain.Hovered->Perform(CM_MOUSEENTER, 0, 0);
    Skinned.Hovered->Perform(CM_MOUSEENTER, 0, 0);
    if (!Desktop.WaitUntilShown({Form->Handle()})) {
        std::fprintf(stderr, "skin_edits_demo: the form never showed\n");
        return 1;
    }
    WriteLayout(Dir, Plain, Skinned);
    // Where the script rests the pointer: on the plain button edit's frame
    // button, the square at its right end.
    {
        const TRect B = WindowRect(Plain.Edits[3]);
        std::ofstream(Dir + "/pointer.txt")
            << B.Right - B.Height() / 2 << ' ' << B.Top + B.Height() / 2 << '\n';
    }
    Announce();
    Desktop.RunUntilFile(Dir + "/quit", 120000);
    return 0;
}
