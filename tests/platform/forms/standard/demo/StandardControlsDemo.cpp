// The standard controls in their plain look on a real X display, with
// Chinese content, for the end-to-end test to photograph.
// Usage: standard_controls_demo OUTDIR
//
// Once the form and the combo box's open drop-down are on the screen it
// writes OUTDIR/layout.txt (each control's screen rectangle and the
// drop-down's) and prints "ready". It closes itself once OUTDIR/quit exists,
// so that ending it needs no keyboard focus on the X display, and then
// exits with status 0.
#include "platform/forms/Edits.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ListBoxes.h"
#include "platform/forms/ListViews.h"
#include "platform/forms/Tabs.h"
#include "platform/forms/TreeViews.h"
#include "platform/gdi/Graphics.h"
#include "platform/gdi/ImageList.h"
#include "platform/win/Windows.h"
#include "tests/support/DemoDesktop.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Two 16 x 16 pictures side by side: a yellow folder and a blue page.
void FillImages(TImageList* Images) {
    TBitmap Picture;
    Picture.SetPixelFormat(pf24bit);
    Picture.SetSize(32, 16);
    TCanvas* C = Picture.Canvas();
    C->Brush()->SetColor(clFuchsia);
    C->FillRect(Rect(0, 0, 32, 16));
    C->Brush()->SetColor(TColor(RGB(230, 190, 40)));
    C->FillRect(Rect(1, 4, 15, 14));
    C->FillRect(Rect(1, 2, 7, 4));
    C->Brush()->SetColor(TColor(RGB(40, 90, 200)));
    C->FillRect(Rect(19, 1, 29, 15));
    Images->AddMasked(&Picture, clFuchsia);
}

class TStandardDemoForm : public TForm {
public:
    explicit TStandardDemoForm(TComponent* AOwner) : TForm(AOwner), Images(this) {
        SetName("StandardDemoForm");
        SetCaption("标准控件");
        SetBorderStyle(bsSingle);
        SetPosition(poDesktopCenter);
        Font()->SetName("MS Sans Serif");
        HandleNeeded();
        SetClientWidth(760);
        SetClientHeight(520);
        FillImages(&Images);

        Edit = Place(new TEdit(this), 16, 16, 220, 24);
        Edit->SetText("打开视频文件");
        Edit->SetHideSelection(false);

        Memo = Place(new TMemo(this), 16, 52, 220, 120);
        Memo->SetScrollBars(ssBoth);
        Memo->SetWordWrap(false);
        for (int I = 1; I <= 12; ++I)
            Memo->Lines()->Add("第" + std::to_string(I) + "行：转换完成，输出文件已保存到桌面");

        List = Place(new TListBox(this), 16, 184, 220, 110);
        for (const char* S : {"视频", "音频", "字幕", "图片", "文档"})
            List->Items()->Add(S);
        List->SetItemIndex(1);

        Combo = Place(new TComboBox(this), 16, 306, 220, 24);
        Combo->SetStyle(csDropDownList);
        for (const char* S : {"MP4 视频", "AVI 视频", "MP3 音频", "WAV 音频"})
            Combo->Items()->Add(S);
        Combo->SetItemIndex(0);

        View = Place(new TListView(this), 252, 16, 492, 150);
        View->SetViewStyle(vsReport);
        View->SetGridLines(true);
        View->SetRowSelect(true);
        View->SetHideSelection(false);
        for (auto [Caption, Width] :
             {std::pair{"文件名", 160}, {"格式", 80}, {"大小", 90}, {"状态", 120}}) {
            TListColumn* Column = View->Columns()->Add();
            Column->SetCaption(Caption);
            Column->SetWidth(Width);
        }
        const char* Rows[][4] = {{"旅行.mp4", "MP4", "12.5 MB", "完成"},
                                 {"会议.avi", "AVI", "230 MB", "转换中 45%"},
                                 {"音乐.mp3", "MP3", "4.1 MB", "等待"}};
        for (auto& Row : Rows) {
            TListItem* Item = View->Items()->Add();
            Item->SetCaption(Row[0]);
            for (int I = 1; I < 4; ++I)
                Item->SubItems()->Add(Row[I]);
        }
        View->Items()->Item(1)->SetSelected(true);

        Tree = Place(new TTreeView(this), 252, 178, 230, 190);
        Tree->SetImages(&Images);
        Tree->SetHideSelection(false);
        TTreeNode* Root = Tree->Items()->Add(nullptr, "我的电脑");
        TTreeNode* Videos = Tree->Items()->AddChild(Root, "视频");
        for (TTreeNode* Folder : {Root, Videos}) {
            Folder->SetImageIndex(0);
            Folder->SetSelectedIndex(0);
        }
        for (const char* S : {"旅行.mp4", "会议.avi"}) {
            TTreeNode* File = Tree->Items()->AddChild(Videos, S);
            File->SetImageIndex(1);
            File->SetSelectedIndex(1);
        }
        Tree->Items()->AddChild(Root, "音乐");
        Tree->Items()->Add(nullptr, "网络");
        Root->Expand(true);
        Tree->SetSelected(Videos);

        Pages = Place(new TPageControl(this), 498, 178, 246, 190);
        for (const char* S : {"常规", "视频", "音频", "字幕"}) {
            auto* Sheet = new TTabSheet(this);
            Sheet->SetCaption(S);
            Sheet->SetPageControl(Pages);
        }
        Pages->SetActivePageIndex(1);
    }

    template <class T> T* Place(T* Control, int X, int Y, int W, int H) {
        Control->SetParent(this);
        Control->SetBounds(X, Y, W, H);
        return Control;
    }

    TImageList Images;
    TEdit* Edit;
    TMemo* Memo;
    TListBox* List;
    TComboBox* Combo;
    TListView* View;
    TTreeView* Tree;
    TPageControl* Pages;
};

void WriteRect(std::ofstream& Out, const char* Name, TRect R) {
    Out << Name << ' ' << R.Left << ' ' << R.Top << ' ' << R.Width() << ' ' << R.Height() << '\n';
}

void WriteLayout(const std::string& Dir, TStandardDemoForm* Form, HWND DropDown) {
    std::ofstream Out(Dir + "/layout.txt");
    auto Of = [](TWinControl* C) {
        TRect R;
        GetWindowRect(C->Handle(), &R);
        return R;
    };
    WriteRect(Out, "edit", Of(Form->Edit));
    WriteRect(Out, "memo", Of(Form->Memo));
    WriteRect(Out, "list", Of(Form->List));
    WriteRect(Out, "combo", Of(Form->Combo));
    WriteRect(Out, "view", Of(Form->View));
    WriteRect(Out, "tree", Of(Form->Tree));
    WriteRect(Out, "pages", Of(Form->Pages));
    TRect R;
    GetWindowRect(DropDown, &R);
    WriteRect(Out, "dropdown", R);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: standard_controls_demo OUTDIR\n");
        return 2;
    }
    std::string Dir = argv[1];
    TDemoDesktop Desktop("standard_controls_demo");
    if (!Desktop.OpenDisplay(argv[0], true))
        return 1;
    Desktop.Start();
    auto* Form = Application->CreateForm<TStandardDemoForm>();
    Form->Show();
    // After the show: entering the edit selects all of it.
    Form->Edit->SetSelStart(6);
    Form->Edit->SetSelLength(6);
    Form->Combo->SetFocus();
    Form->Combo->SetDroppedDown(true);
    HWND DropDownList = ComboDropDownList(Form->Combo->Handle());
    HWND DropDown = DropDownList ? GetAncestor(DropDownList, GA_ROOT) : nullptr;
    if (!DropDown || !Desktop.WaitUntilShown({Form->Handle(), DropDown})) {
        std::fprintf(stderr, "standard_controls_demo: the windows never showed\n");
        return 1;
    }
    WriteLayout(Dir, Form, DropDown);
    Announce();
    Desktop.RunUntilFile(Dir + "/quit", 120000);
    return 0;
}
