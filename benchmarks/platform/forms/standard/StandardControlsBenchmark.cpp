// Speed of the standard controls where the program leans on them: the job
// table's report view, a large owner-data view, a sorted list box filled in
// one update, typing into a large memo and expanding a large tree node.
#include "platform/core/Clock.h"
#include "platform/forms/Edits.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ListBoxes.h"
#include "platform/forms/ListViews.h"
#include "platform/forms/TreeViews.h"
#include "platform/win/headless/HeadlessBackend.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// The headless window system on a manual clock, the application and a form.
struct TSession {
    THeadlessBackend Headless;
    TManualClock Clock{1000};
    TForm* Form = nullptr;
    TSession() {
        SetBackend(&Headless);
        Headless.UseManualClock(&Clock);
        InitApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 900, 700);
        Form->Show();
    }
    ~TSession() {
        while (Screen->FormCount() > 0)
            delete Screen->Forms(Screen->FormCount() - 1);
        DoneApplication();
        ResetWindowSystem();
        Headless.ResetClock();
        SetBackend(nullptr);
    }
};

// A memory DC to paint a control into.
struct TCanvasBitmap {
    HDC DC = CreateCompatibleDC(nullptr);
    HBITMAP Bitmap;
    TCanvasBitmap(int Width, int Height) : Bitmap(CreateCompatibleBitmap(DC, Width, Height)) {
        SelectObject(DC, ToObj(Bitmap));
    }
    ~TCanvasBitmap() {
        DeleteDC(DC);
        DeleteObject(ToObj(Bitmap));
    }
};

TListView* JobTable(TSession& S) {
    auto* View = new TListView(S.Form);
    View->SetBounds(0, 0, 800, 600);
    View->SetViewStyle(vsReport);
    View->SetParent(S.Form);
    for (int I = 0; I < 25; ++I)
        View->Columns()->Add()->SetWidth(I < 8 ? 95 : 0);
    View->Items()->BeginUpdate();
    for (int R = 0; R < 10000; ++R) {
        TListItem* Item = View->Items()->Add();
        Item->SetCaption("视频文件 " + std::to_string(R) + ".avi");
        for (int C = 1; C < 25; ++C)
            Item->SubItems()->Add("cell " + std::to_string(C));
    }
    View->Items()->EndUpdate();
    return View;
}

void BM_ReportViewRepaint(benchmark::State& State) {
    TSession S;
    TListView* View = JobTable(S);
    TCanvasBitmap Bitmap(800, 600);
    for (auto _ : State)
        SendMessage(View->Handle(), WM_PAINT, WPARAM(Bitmap.DC), 0);
}
BENCHMARK(BM_ReportViewRepaint)->Unit(benchmark::kMillisecond);

void BM_ReportViewPageDown(benchmark::State& State) {
    TSession S;
    TListView* View = JobTable(S);
    TCanvasBitmap Bitmap(800, 600);
    for (auto _ : State) {
        SendMessage(View->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
        SendMessage(View->Handle(), WM_PAINT, WPARAM(Bitmap.DC), 0);
        if (View->TopItem()->Index() > 9000)
            SendMessage(View->Handle(), WM_VSCROLL, SB_TOP, 0);
    }
}
BENCHMARK(BM_ReportViewPageDown)->Unit(benchmark::kMillisecond);

TListView* OwnerData(TSession& S) {
    auto* View = new TListView(S.Form);
    View->SetBounds(0, 0, 800, 600);
    View->SetViewStyle(vsReport);
    View->SetParent(S.Form);
    View->Columns()->Add()->SetWidth(300);
    View->Columns()->Add()->SetWidth(200);
    View->SetOwnerData(true);
    View->OnData = [](TObject*, TListItem* Item) {
        Item->SetCaption("item " + std::to_string(Item->Index()));
        Item->SubItems()->Add("sub");
    };
    View->OnDataFind = [](TObject*, TItemFind, const std::string& Text, const TPoint&, void*,
                          int Start, TSearchDirection, bool, int& Index) {
        // The parent's search: every caption from the start, wrapping.
        for (int K = 0; K < 1000000; ++K) {
            int I = (Start + K) % 1000000;
            std::string Caption = "item " + std::to_string(I);
            if (Caption.compare(0, Text.size(), Text) == 0) {
                Index = I;
                return;
            }
        }
    };
    View->Items()->SetCount(1000000);
    return View;
}

void BM_OwnerDataPaintPage(benchmark::State& State) {
    TSession S;
    TListView* View = OwnerData(S);
    TCanvasBitmap Bitmap(800, 600);
    for (auto _ : State)
        SendMessage(View->Handle(), WM_PAINT, WPARAM(Bitmap.DC), 0);
}
BENCHMARK(BM_OwnerDataPaintPage)->Unit(benchmark::kMillisecond);

void BM_OwnerDataTypeAheadAcrossAll(benchmark::State& State) {
    TSession S;
    TListView* View = OwnerData(S);
    View->SetFocus();
    for (auto _ : State) {
        View->Items()->Item(0)->SetFocused(true);
        // A prefix that only the last item has: the search walks everything.
        S.Clock.Advance(2000);
        SendMessage(View->Handle(), WM_CHAR, 'x', 0);
    }
}
BENCHMARK(BM_OwnerDataTypeAheadAcrossAll)->Unit(benchmark::kMillisecond);

void BM_SortedListBoxAdd10000(benchmark::State& State) {
    TSession S;
    auto* List = new TListBox(S.Form);
    List->SetParent(S.Form);
    List->SetSorted(true);
    for (auto _ : State) {
        List->Items()->BeginUpdate();
        for (int I = 0; I < 10000; ++I)
            List->Items()->Add("文件 " + std::to_string((I * 7919) % 10000));
        List->Items()->EndUpdate();
        State.PauseTiming();
        List->Items()->Clear();
        State.ResumeTiming();
    }
}
BENCHMARK(BM_SortedListBoxAdd10000)->Unit(benchmark::kMillisecond);

void BM_TypeAtEndOfOneMegabyteMemo(benchmark::State& State) {
    TSession S;
    auto* Memo = new TMemo(S.Form);
    Memo->SetBounds(0, 0, 600, 400);
    Memo->SetParent(S.Form);
    Memo->SetScrollBars(ssBoth);
    std::string Text;
    while (Text.size() < 1000000)
        Text += "一行日志 frame= 1234 fps= 25 q=28.0 size= 1024kB time=00:00:10.00\r\n";
    Memo->SetText(Text);
    HWND Wnd = Memo->Handle();
    SendMessage(Wnd, EM_SETSEL, WPARAM(-2), LPARAM(-2));
    SendMessage(Wnd, EM_SETSEL, WPARAM(Text.size()), LPARAM(Text.size()));
    for (auto _ : State)
        SendMessage(Wnd, WM_CHAR, 'a', 0);
}
BENCHMARK(BM_TypeAtEndOfOneMegabyteMemo)->Unit(benchmark::kMillisecond);

void BM_ExpandNodeWith10000Children(benchmark::State& State) {
    TSession S;
    auto* Tree = new TTreeView(S.Form);
    Tree->SetBounds(0, 0, 300, 600);
    Tree->SetParent(S.Form);
    TTreeNode* Root = Tree->Items()->Add(nullptr, "根");
    Tree->Items()->BeginUpdate();
    for (int I = 0; I < 10000; ++I)
        Tree->Items()->AddChild(Root, "文件夹 " + std::to_string(I));
    Tree->Items()->EndUpdate();
    for (auto _ : State) {
        Root->Expand(false);
        State.PauseTiming();
        Root->Collapse(false);
        State.ResumeTiming();
    }
}
BENCHMARK(BM_ExpandNodeWith10000Children)->Unit(benchmark::kMillisecond);

} // namespace
