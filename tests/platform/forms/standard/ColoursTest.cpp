// The list and tree views take their colours from the parent as a list box
// does; the list view's own colours, once set, win over the parent's.
#include "platform/forms/ListViews.h"
#include "platform/forms/TreeViews.h"
#include "tests/platform/forms/standard/StandardTestSupport.h"

#include <vector>

namespace {

struct TPixels {
    int Red = 0, Blue = 0, Green = 0, Yellow = 0;
};

TPixels Count(const TTestBitmap& Bitmap, int Width, int Height) {
    TPixels P;
    for (int X = 0; X < Width; ++X)
        for (int Y = 0; Y < Height; ++Y) {
            std::uint32_t C = Bitmap.Pixel(X, Y);
            P.Red += C == 0xFF0000;
            P.Green += C == 0x00FF00;
            P.Yellow += C == 0xFFFF00;
            P.Blue += (C & 0xFF) > 0x80 && (C >> 16) < 0x80;
        }
    return P;
}

class ViewColoursTest : public TStandardTest {
protected:
    // The parent answers WM_CTLCOLORLISTBOX with "do not fill" and blue text.
    void TransparentBlueParent() {
        Form->WindowProc = [this, Old = Form->WindowProc](TMessage& M) {
            if (M.Msg == WM_CTLCOLORLISTBOX) {
                Asked.push_back(HWND(M.LParam));
                auto DC = reinterpret_cast<HDC>(M.WParam);
                SetBkMode(DC, TRANSPARENT);
                SetTextColor(DC, RGB(0, 0, 255));
                M.Result = LRESULT(GetStockObject(NULL_BRUSH));
                return;
            }
            Old(M);
        };
    }
    std::vector<HWND> Asked;
};

TEST_F(ViewColoursTest, ListAndTreeViewsPaintWithTheColoursTheParentAnswers) {
    auto* List = Add<TListView>(Bounds(10, 10, 120, 60));
    List->SetViewStyle(vsList);
    List->Items()->Add()->SetCaption("视频文件");
    auto* Tree = Add<TTreeView>(Bounds(10, 100, 120, 60));
    Tree->Items()->Add(nullptr, "视频文件");
    ShowForm();
    TransparentBlueParent();
    for (HWND W : {List->Handle(), Tree->Handle()}) {
        SCOPED_TRACE(W == List->Handle() ? "list view" : "tree view");
        Asked.clear();
        TTestBitmap Bitmap(120, 60, RGB(255, 0, 0));
        SendMessage(W, WM_PAINT, WPARAM(Bitmap.DC()), 0);
        EXPECT_EQ(Asked, std::vector<HWND>{W});
        TPixels P = Count(Bitmap, 120, 60);
        EXPECT_GT(P.Red, 120 * 60 * 3 / 4) << "the background was filled";
        EXPECT_GT(P.Blue, 10) << "the text is not in the parent's colour";
    }
}

TEST_F(ViewColoursTest, TheListViewsOwnColoursWinAndTheTextBackgroundIsDrawn) {
    auto* V = Add<TListView>(Bounds(10, 10, 120, 60));
    V->SetViewStyle(vsList);
    V->Items()->Add()->SetCaption("视频文件");
    ShowForm();
    HWND W = V->Handle();
    TransparentBlueParent();
    SendMessage(W, LVM_SETBKCOLOR, 0, LPARAM(RGB(0, 255, 0)));
    SendMessage(W, LVM_SETTEXTBKCOLOR, 0, LPARAM(RGB(255, 255, 0)));
    SendMessage(W, LVM_SETTEXTCOLOR, 0, LPARAM(RGB(0, 0, 0)));
    TTestBitmap Bitmap(120, 60, RGB(255, 0, 0));
    SendMessage(W, WM_PAINT, WPARAM(Bitmap.DC()), 0);
    // Only the client area is painted.
    TRect Client;
    GetClientRect(W, &Client);
    TPixels P = Count(Bitmap, Client.Width(), Client.Height());
    EXPECT_EQ(P.Red, 0);
    EXPECT_GT(P.Green, Client.Width() * Client.Height() / 3);
    EXPECT_GT(P.Yellow, 50) << "no text background behind the label";
    EXPECT_EQ(P.Blue, 0) << "the parent's text colour won over the view's";
}

} // namespace
