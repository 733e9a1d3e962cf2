// The tab control with its scroller, TPageControl with hidden sheets and a
// derived display rectangle, tab widths with an image list, and the up-down
// control.
#include "platform/forms/Tabs.h"

#include "platform/forms/Edits.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/ListBoxes.h"
#include "platform/forms/UpDowns.h"
#include "tests/platform/forms/standard/StandardTestSupport.h"

#include <map>
#include <memory>
#include <vector>

class TabsTest : public TStandardTest {
protected:
    TPageControl* MakePages(TRect Bounds, int Count, TPageControl* Control = nullptr) {
        TPageControl* P = Control ? Control : Add<TPageControl>(Bounds);
        for (int I = 0; I < Count; ++I) {
            auto* Sheet = new TTabSheet(Form);
            Sheet->SetCaption("页" + std::to_string(I));
            Sheet->SetPageControl(P);
        }
        return P;
    }
};

TEST_F(TabsTest, AHiddenSheetHasNoTabAndClicksChangePagesWithEvents) {
    TPageControl* P = MakePages(Bounds(10, 10, 300, 200), 4);
    P->Pages(1)->SetTabVisible(false);
    std::vector<std::string> Events;
    P->OnChanging = [&](TObject*, bool&) { Events.push_back("changing"); };
    P->OnChange = [&](TObject*) { Events.push_back("change"); };
    ShowForm();
    EXPECT_EQ(SendMessage(P->Handle(), TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(P->Pages(1)->TabIndex(), -1);
    EXPECT_EQ(P->Pages(3)->TabIndex(), 2);
    EXPECT_EQ(P->ActivePage(), P->Pages(0));

    TRect Tab = P->TabRect(2);
    Click(P, Tab.Left + 5, Tab.Top + 5);
    EXPECT_EQ(Events, (std::vector<std::string>{"changing", "change"}));
    EXPECT_EQ(P->ActivePage(), P->Pages(3));
    EXPECT_EQ(P->TabIndex(), 2);
    EXPECT_TRUE(P->Pages(3)->Visible());
    EXPECT_FALSE(P->Pages(0)->Visible());
    EXPECT_EQ(P->Pages(3)->BoundsRect(), P->DisplayRect());

    // A vetoed change keeps the page.
    P->OnChanging = [&](TObject*, bool& Allow) { Allow = false; };
    Tab = P->TabRect(0);
    Click(P, Tab.Left + 5, Tab.Top + 5);
    EXPECT_EQ(P->ActivePage(), P->Pages(3));

    // Chosen by message: no notification, the page shows.
    Events.clear();
    P->OnChanging = nullptr;
    SendMessage(P->Handle(), TCM_SETCURSEL, 0, 0);
    EXPECT_TRUE(Events.empty());
    EXPECT_EQ(P->ActivePage(), P->Pages(0));
    EXPECT_TRUE(P->Pages(0)->Visible());
    EXPECT_THROW(P->Pages(4), EListError);

    // Ctrl+Tab turns to the next visible page.
    P->SetFocus();
    Pump();
    KeyWith(VK_CONTROL, VK_TAB);
    EXPECT_EQ(P->ActivePage(), P->Pages(2));
}

TEST_F(TabsTest, TabsThatDoNotFitGetAScrollerTheControlCanDoWithout) {
    TPageControl* P = MakePages(Bounds(10, 10, 150, 100), 8);
    HWND W = P->Handle();
    auto Scroller = [&] {
        HWND Child = GetWindow(W, GW_CHILD);
        while (Child) {
            char Name[64] = {};
            GetClassName(Child, Name, 64);
            if (std::string(Name) == "msctls_updown32")
                return Child;
            Child = GetWindow(Child, GW_HWNDNEXT);
        }
        return HWND(nullptr);
    };
    HWND Up = Scroller();
    ASSERT_TRUE(Up);
    TRect Client, S;
    GetClientRect(W, &Client);
    GetWindowRect(Up, &S);
    TPoint Right{Client.Right, 0};
    ClientToScreen(W, &Right);
    EXPECT_EQ(S.Right, Right.X);

    auto CheckFirst = [&](int First) {
        for (int I = 0; I < First; ++I)
            EXPECT_LE(P->TabRect(I).Right, 0) << "tab " << I;
        EXPECT_GE(P->TabRect(First).Left, 0);
    };
    SendMessage(W, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3), LPARAM(Up));
    CheckFirst(3);
    // The skinned page control destroys the scroller and scrolls by itself.
    DestroyWindow(Up);
    SendMessage(W, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2), 0);
    CheckFirst(2);
    P->SetWidth(1000);
    EXPECT_FALSE(Scroller());
    EXPECT_EQ(P->TabRect(0).Left, 0);
}

namespace {

// Moves the display area 10 pixels down, as a skinned page control does.
class TShiftedPages : public TPageControl {
public:
    using TPageControl::TPageControl;
    void WndProc(TMessage& Message) override {
        TPageControl::WndProc(Message);
        if (Message.Msg == TCM_ADJUSTRECT && !Message.WParam && Message.LParam)
            reinterpret_cast<TRect*>(Message.LParam)->Top += 10;
    }
};

} // namespace

TEST_F(TabsTest, SheetsFollowADisplayRectangleChangedByADerivedProcedure) {
    auto* Plain = MakePages(Bounds(10, 10, 200, 150), 2);
    auto* Shifted = MakePages({}, 2, Add<TShiftedPages>(Bounds(220, 10, 200, 150)));
    ShowForm();
    EXPECT_EQ(Shifted->Pages(0)->Top(), Plain->Pages(0)->Top() + 10);
    EXPECT_EQ(Shifted->DisplayRect().Top, Plain->DisplayRect().Top + 10);
}

TEST_F(TabsTest, AnImageListWidensEveryTab) {
    TPageControl* P = MakePages(Bounds(10, 10, 400, 150), 3);
    HWND W = P->Handle();
    auto Widths = [&] {
        std::vector<int> Result;
        for (int I = 0; I < 3; ++I)
            Result.push_back(P->TabRect(I).Width());
        return Result;
    };
    std::vector<int> Bare = Widths();
    TImageList Images(nullptr);
    Images.SetWidth(1);
    Images.SetHeight(1);
    P->SetImages(&Images);
    std::vector<int> One = Widths();
    Images.SetWidth(31);
    std::vector<int> Wide = Widths();
    for (int I = 0; I < 3; ++I) {
        EXPECT_EQ(One[std::size_t(I)], Bare[std::size_t(I)] + 1);
        EXPECT_EQ(Wide[std::size_t(I)], One[std::size_t(I)] + 30);
    }
    EXPECT_EQ(HIMAGELIST(SendMessage(W, TCM_GETIMAGELIST, 0, 0)), Images.Handle());
    P->SetImages(nullptr);
    // A fixed height applies to every tab.
    P->SetTabHeight(30);
    EXPECT_EQ(P->TabRect(1).Height(), 30);
}

class UpDownTest : public TStandardTest {
protected:
    void SetUp() override {
        TStandardTest::SetUp();
        ShowForm();
        RegisterUpDownClass();
        Form->WindowProc = [this, Old = Form->WindowProc](TMessage& M) {
            if (M.Msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(M.LParam)->code == UDN_DELTAPOS) {
                auto* N = reinterpret_cast<NMUPDOWN*>(M.LParam);
                Log.push_back("delta " + std::to_string(N->iPos) + " " + std::to_string(N->iDelta));
            } else if (M.Msg == WM_VSCROLL && LOWORD(M.WParam) == SB_THUMBPOSITION) {
                Log.push_back("vscroll " + std::to_string(HIWORD(M.WParam)));
            }
            Old(M);
        };
    }
    HWND Make(DWORD Style, int X) {
        HWND Wnd = CreateWindowEx(0, "msctls_updown32", "", WS_CHILD | WS_VISIBLE | Style, X, 10,
                                  20, 40, Form->Handle(), nullptr, nullptr, nullptr);
        SendMessage(Wnd, UDM_SETRANGE32, 0, 10);
        SendMessage(Wnd, UDM_SETPOS32, 0, 10);
        return Wnd;
    }
    void PressUp(HWND Wnd) {
        TPoint P{10, 5};
        ClientToScreen(Wnd, &P);
        Clock.Advance(1000);
        Headless.Click(P.X, P.Y);
        Pump();
    }
    std::vector<std::string> Log;
};

TEST_F(UpDownTest, TheUpArrowStopsAtTheEndOrWraps) {
    HWND Plain = Make(0, 10);
    PressUp(Plain);
    EXPECT_EQ(SendMessage(Plain, UDM_GETPOS32, 0, 0), 10);
    EXPECT_EQ(Log, (std::vector<std::string>{"delta 10 1", "vscroll 10"}));
    Log.clear();
    HWND Wrap = Make(UDS_WRAP, 50);
    PressUp(Wrap);
    EXPECT_EQ(SendMessage(Wrap, UDM_GETPOS32, 0, 0), 0);
    EXPECT_EQ(Log, (std::vector<std::string>{"delta 10 1", "vscroll 0"}));

    // Held down, the arrow repeats.
    SendMessage(Wrap, UDM_SETPOS32, 0, 0);
    TPoint P{10, 5};
    ClientToScreen(Wrap, &P);
    Headless.MovePointer(P.X, P.Y);
    Headless.Press();
    Pump();
    Headless.RunUntil(Clock.Now() + UpDownRepeatDelay + 2 * UpDownRepeatInterval + 10);
    Headless.Release();
    Pump();
    EXPECT_EQ(SendMessage(Wrap, UDM_GETPOS32, 0, 0), 4);
    // The old 16-bit range: the maximum in the low word.
    SendMessage(Wrap, UDM_SETRANGE, 0, MAKELPARAM(50, 5));
    EXPECT_EQ(SendMessage(Wrap, UDM_GETRANGE, 0, 0), MAKELRESULT(50, 5));
    EXPECT_EQ(SendMessage(Wrap, UDM_GETPOS32, 0, 0), 5);
}

TEST_F(UpDownTest, ABuddyShowsThePositionAndItsArrowKeysStep) {
    RegisterEditClass();
    HWND Buddy = CreateWindowEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 100, 10, 50, 20,
                                Form->Handle(), nullptr, nullptr, nullptr);
    HWND Wnd = CreateWindowEx(0, "msctls_updown32", "",
                              WS_CHILD | WS_VISIBLE | UDS_AUTOBUDDY | UDS_SETBUDDYINT |
                                  UDS_ARROWKEYS | UDS_ALIGNRIGHT,
                              0, 0, 16, 16, Form->Handle(), nullptr, nullptr, nullptr);
    EXPECT_EQ(HWND(SendMessage(Wnd, UDM_GETBUDDY, 0, 0)), Buddy);
    SendMessage(Wnd, UDM_SETRANGE32, 0, 100);
    SendMessage(Wnd, UDM_SETPOS32, 0, 7);
    EXPECT_EQ(GetWindowText(Buddy), "7");
    SendMessage(Buddy, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(SendMessage(Wnd, UDM_GETPOS32, 0, 0), 8);
    EXPECT_EQ(GetWindowText(Buddy), "8");
    TRect B, U;
    GetWindowRect(Buddy, &B);
    GetWindowRect(Wnd, &U);
    EXPECT_EQ(U.Left, B.Right);
    EXPECT_EQ(U.Height(), B.Height());
    DestroyWindow(Wnd);
    SendMessage(Buddy, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(GetWindowText(Buddy), "8");
}

TEST_F(TabsTest, ASheetErasesItsBackgroundInTheButtonFaceColour) {
    TPageControl* P = MakePages(Bounds(10, 10, 300, 200), 2);
    ShowForm();
    HWND Sheet = P->Pages(0)->Handle();
    TTestBitmap Bitmap(20, 20, RGB(0, 0, 0));
    SendMessage(Sheet, WM_ERASEBKGND, WPARAM(Bitmap.DC()), 0);
    EXPECT_EQ(Bitmap.Pixel(10, 10), RgbOf(GetSysColor(COLOR_BTNFACE)));
}

TEST_F(TabsTest, MultiLineRowsFillTheWidthAndTheSelectedRowComesNextToThePage) {
    for (bool Ragged : {false, true}) {
        SCOPED_TRACE(Ragged ? "ragged" : "stretched");
        TPageControl* P = MakePages(Bounds(10, 10, 150, 200), 6);
        P->SetMultiLine(true);
        P->SetRaggedRight(Ragged);
        ShowForm();
        HWND W = P->Handle();
        int Rows = int(SendMessage(W, TCM_GETROWCOUNT, 0, 0));
        ASSERT_GE(Rows, 2);
        TRect Client;
        GetClientRect(W, &Client);
        // The right end of each row.
        std::map<int, int> RowEnds;
        for (int I = 0; I < 6; ++I) {
            TRect R = P->TabRect(I);
            RowEnds[R.Top] = std::max(RowEnds[R.Top], R.Right);
        }
        ASSERT_EQ(int(RowEnds.size()), Rows);
        for (auto [Top, End] : RowEnds)
            if (Ragged)
                EXPECT_LT(End, Client.Width()) << "row at " << Top;
            else
                EXPECT_EQ(End, Client.Width()) << "row at " << Top;

        // Tab 0 is in the first row: choosing it brings that row down to the
        // page, and the row next to the page holds the selected tab.
        for (int Choice : {0, 5}) {
            P->SetActivePageIndex(Choice);
            int Lowest = 0;
            for (int I = 0; I < 6; ++I)
                Lowest = std::max(Lowest, int(P->TabRect(I).Bottom));
            EXPECT_EQ(P->TabRect(Choice).Bottom, Lowest) << Choice;
        }
        delete P;
    }
}

TEST_F(TabsTest, HighlightedSheetsAndTheHotTabAreDrawnApart) {
    TPageControl* P = MakePages(Bounds(10, 10, 300, 200), 3);
    P->SetHotTrack(true);
    P->Pages(1)->SetHighlighted(true);
    ShowForm();
    HWND W = P->Handle();
    TRect Client;
    GetClientRect(W, &Client);
    auto Paint = [&] {
        auto Bitmap = std::make_unique<TTestBitmap>(Client.Width(), Client.Height(), 0);
        SendMessage(W, WM_PAINT, WPARAM(Bitmap->DC()), 0);
        return Bitmap;
    };
    auto Face = [&](const TTestBitmap& B, int Tab) {
        TRect R = P->TabRect(Tab);
        return B.Pixel(R.Left + 3, R.Bottom - 3);
    };
    auto Bluish = [&](const TTestBitmap& B, int Tab) {
        TRect R = P->TabRect(Tab);
        int N = 0;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X) {
                std::uint32_t C = B.Pixel(X, Y);
                N += int(C & 0xFF) > int(C >> 16) + 60;
            }
        return N;
    };
    const std::uint32_t Highlight = RgbOf(GetSysColor(COLOR_HIGHLIGHT));
    auto Shown = Paint();
    EXPECT_EQ(Face(*Shown, 1), Highlight);
    EXPECT_NE(Face(*Shown, 2), Highlight);

    // The highlight follows the sheet when the tabs are rebuilt.
    P->Pages(0)->SetTabVisible(false);
    Shown = Paint();
    EXPECT_EQ(Face(*Shown, 0), Highlight);
    P->Pages(1)->SetHighlighted(false);
    Shown = Paint();
    EXPECT_NE(Face(*Shown, 0), Highlight);

    TRect Last = P->TabRect(1);
    SendMessage(W, WM_MOUSEMOVE, 0, MAKELPARAM((Last.Left + Last.Right) / 2, Last.Top + 4));
    EXPECT_GT(Bluish(*Paint(), 1), 5) << "the hot tab's text";
    SendMessage(W, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Bluish(*Paint(), 1), 0);
}

TEST_F(TabsTest, AnOwnerDrawnTabControlLetsItsParentDrawEachTab) {
    TPageControl* P = MakePages(Bounds(10, 10, 300, 200), 3);
    ShowForm();
    HWND W = P->Handle();
    SetWindowLong(W, GWL_STYLE, LONG(GetWindowLong(W, GWL_STYLE) | TCS_OWNERDRAWFIXED));
    P->SetActivePageIndex(1);
    struct TDrawn {
        UINT Item, State;
        LPARAM Data;
        bool operator==(const TDrawn&) const = default;
    };
    std::vector<TDrawn> Drawn;
    Form->WindowProc = [&, Old = Form->WindowProc](TMessage& M) {
        if (M.Msg == WM_DRAWITEM) {
            auto* DIS = reinterpret_cast<DRAWITEMSTRUCT*>(M.LParam);
            if (DIS->CtlType == ODT_TAB && DIS->hwndItem == W) {
                Drawn.push_back({DIS->itemID, DIS->itemState, LPARAM(DIS->itemData)});
                TRect Tab = P->TabRect(int(DIS->itemID));
                EXPECT_TRUE(Tab.Left <= DIS->rcItem.Left && DIS->rcItem.Right <= Tab.Right + 2);
                M.Result = TRUE;
                return;
            }
        }
        Old(M);
    };
    TTestBitmap Bitmap(300, 200, 0);
    SendMessage(W, WM_PAINT, WPARAM(Bitmap.DC()), 0);
    UINT Focus = GetFocus() == W ? ODS_FOCUS : 0;
    EXPECT_EQ(Drawn, (std::vector<TDrawn>{{0, 0, LPARAM(P->Pages(0))},
                                          {1, ODS_SELECTED | Focus, LPARAM(P->Pages(1))},
                                          {2, 0, LPARAM(P->Pages(2))}}));
}

TEST_F(TabsTest, ScrollOppositeMovesTheRowsPastTheChosenOneToTheFarSideOfThePage) {
    for (TTabPosition Position : {tpTop, tpBottom}) {
        SCOPED_TRACE(Position == tpTop ? "top" : "bottom");
        bool Top = Position == tpTop;
        TPageControl* P = MakePages(Bounds(10, 10, 150, 300), 6);
        P->SetMultiLine(true);
        P->SetScrollOpposite(true);
        P->SetTabPosition(Position);
        ShowForm();
        ASSERT_GE(SendMessage(P->Handle(), TCM_GETROWCOUNT, 0, 0), 2);
        // Top tabs: the first tab's row has rows past it; bottom tabs: the
        // last tab's row has rows before it.
        for (int Choice : {0, 5}) {
            SCOPED_TRACE(Choice);
            P->SetActivePageIndex(Choice);
            Pump();
            TRect Page = P->DisplayRect();
            TRect Chosen = P->TabRect(Choice);
            auto Near = [&](const TRect& R) {
                return Top ? R.Bottom <= Page.Top : R.Top >= Page.Bottom;
            };
            auto Far = [&](const TRect& R) {
                return Top ? R.Top >= Page.Bottom : R.Bottom <= Page.Top;
            };
            EXPECT_TRUE(Near(Chosen));
            int NearCount = 0, FarCount = 0;
            for (int I = 0; I < 6; ++I) {
                TRect R = P->TabRect(I);
                NearCount += Near(R);
                FarCount += Far(R);
                // The chosen tab's row is the one next to the page.
                if (Near(R)) {
                    EXPECT_TRUE(Top ? R.Bottom <= Chosen.Bottom : R.Top >= Chosen.Top);
                }
            }
            EXPECT_EQ(NearCount + FarCount, 6);
            EXPECT_EQ(FarCount > 0, (Choice == 0) == Top);
            EXPECT_EQ(P->ActivePage()->BoundsRect(), Page) << "the sheet does not fill the page";
        }
        delete P;
    }
}
