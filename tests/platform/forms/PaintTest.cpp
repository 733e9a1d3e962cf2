// Windows of controls: creation and re-creation, painting order and clips.
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "tests/platform/forms/FormsTestSupport.h"

#include <algorithm>

namespace {

// A graphic control that fills itself and records where it painted.
class TSwatch : public TGraphicControl {
public:
    TSwatch(TComponent* AOwner, TColor Fill) : TGraphicControl(AOwner), FillColor(Fill) {}
    void Paint() override {
        ++Paints;
        if (OnPaintStart)
            OnPaintStart();
        Canvas()->Brush()->SetColor(FillColor);
        Canvas()->FillRect(ClientRect());
    }
    TColor FillColor;
    int Paints = 0;
    std::function<void()> OnPaintStart;
};

// A window control that fills itself.
class TWinSwatch : public TCustomControl {
public:
    TWinSwatch(TComponent* AOwner, TColor Fill) : TCustomControl(AOwner), FillColor(Fill) {
        FControlStyle.Include(csAcceptsControls);
    }
    void Paint() override {
        Canvas()->Brush()->SetColor(FillColor);
        Canvas()->FillRect(ClientRect());
    }
    TColor FillColor;
};

} // namespace

class PaintTest : public TFormsTest {};

TEST_F(PaintTest, WindowControlsLieAboveGraphicOnes) {
    TForm* Form = MakeForm();
    auto* W = new TWinSwatch(Form, clBlue);
    W->SetBounds(10, 10, 50, 50);
    W->SetParent(Form);
    auto* G = new TSwatch(Form, clRed);
    G->SetBounds(40, 40, 50, 50);
    G->SetParent(Form);
    Form->Show();
    EXPECT_EQ(PixelOf(Form, 45, 45), Rgb(clBlue));
    EXPECT_EQ(PixelOf(Form, 80, 80), Rgb(clRed));
    G->BringToFront();
    G->Repaint();
    EXPECT_EQ(PixelOf(Form, 45, 45), Rgb(clBlue));
}

TEST_F(PaintTest, AnOpaqueGraphicControlIsNeverPaintedUnder) {
    TForm* Form = MakeForm();
    auto* Parent = new TWinSwatch(Form, clLime);
    Parent->SetBounds(0, 0, 200, 200);
    Parent->SetParent(Form);
    auto* G = new TSwatch(Form, clRed);
    G->SetControlStyle(G->ControlStyle() + TControlStyle{csOpaque});
    G->SetBounds(20, 20, 30, 30);
    G->SetParent(Parent);
    // What lies under G when its turn to paint comes.
    TColor Under = clNone;
    G->OnPaintStart = [&] { Under = G->Canvas()->Pixels(5, 5); };
    Form->Show();
    EXPECT_EQ(PixelOf(G, 5, 5), Rgb(clRed));
    EXPECT_NE(Under, clLime);

    // Not opaque: the parent paints first, G over it.
    G->SetControlStyle(G->ControlStyle() - TControlStyle{csOpaque});
    Parent->Invalidate();
    EXPECT_EQ(PixelOf(G, 5, 5), Rgb(clRed));
    EXPECT_EQ(Under, clLime);
    EXPECT_EQ(PixelOf(Parent, 5, 5), Rgb(clLime));
}

TEST_F(PaintTest, PaintingIntoAForeignDcHonoursItsOriginAndClip) {
    TForm* Form = MakeForm();
    auto* Box = new TWinSwatch(Form, clBlue);
    Box->SetBounds(0, 0, 60, 60);
    Box->SetParent(Form);
    auto* G = new TSwatch(Form, clRed);
    G->SetBounds(20, 20, 20, 20);
    G->SetParent(Box);
    Form->Show();
    Pump();

    TBitmap Bitmap;
    Bitmap.SetSize(100, 100);
    Bitmap.Canvas()->Brush()->SetColor(clWhite);
    Bitmap.Canvas()->FillRect(Rect(0, 0, 100, 100));
    HDC DC = Bitmap.Canvas()->Handle();
    int Saved = SaveDC(DC);
    SetViewportOrgEx(DC, 10, 10, nullptr);
    IntersectClipRect(DC, 0, 0, 40, 40);
    Box->Perform(WM_PAINT, WPARAM(DC), 0);
    RestoreDC(DC, Saved);
    auto At = [&](int X, int Y) { return Bitmap.Canvas()->Pixels(X, Y); };
    EXPECT_EQ(At(15, 15), clBlue);
    EXPECT_EQ(At(35, 35), clRed);
    EXPECT_EQ(At(49, 49), clRed);
    // Outside the clip nothing was drawn.
    EXPECT_EQ(At(55, 55), clWhite);
    EXPECT_EQ(At(5, 5), clWhite);
}

TEST_F(PaintTest, RecreateWndKeepsWhatTheControlKnows) {
    TForm* Form = MakeForm();
    auto* Panel = new TPanel(Form);
    Panel->SetBounds(10, 10, 200, 100);
    Panel->SetParent(Form);
    auto* A = new TPanel(Form);
    A->SetName("A");
    A->SetBounds(5, 5, 50, 20);
    A->SetParent(Panel);
    auto* B = new TPanel(Form);
    B->SetName("B");
    B->SetBounds(5, 40, 50, 20);
    B->SetParent(Panel);
    Form->Show();
    Pump();
    B->SetFocus();
    Pump();
    ASSERT_TRUE(B->Focused());
    Panel->SetCaption("Panel text");
    A->Hide();
    HWND Old = Panel->Handle();

    TMessageRecorder Recorder;
    Panel->RecreateWnd();
    HWND New = Panel->Handle();
    EXPECT_NE(New, Old);
    EXPECT_FALSE(IsWindow(Old));
    EXPECT_EQ(Panel->Caption(), "Panel text");
    EXPECT_EQ(GetWindowText(New), "Panel text");
    EXPECT_EQ(Panel->BoundsRect(), Rect(10, 10, 210, 110));
    TRect R;
    GetWindowRect(New, &R);
    EXPECT_EQ(R.Width(), 200);
    EXPECT_FALSE(IsWindowVisible(A->Handle()));
    EXPECT_TRUE(IsWindowVisible(B->Handle()));
    EXPECT_EQ(GetParent(B->Handle()), New);
    EXPECT_EQ(GetWindow(New, GW_CHILD) != nullptr, true);
    EXPECT_TRUE(B->Focused());
    // The library's procedure saw the creation from its first message on.
    std::string Table = Recorder.Compare(
        {Expect(New, WM_NCCREATE), Expect(New, WM_NCCALCSIZE), Expect(New, WM_CREATE)});
    EXPECT_TRUE(Table.empty()) << Table;
    char ClassName[64];
    GetClassName(New, ClassName, sizeof(ClassName));
    EXPECT_STREQ(ClassName, "TPanel");
}

TEST_F(PaintTest, AControlWithoutAParentWindowCannotMakeOne) {
    TPanel Panel(nullptr);
    Panel.SetName("Orphan");
    try {
        Panel.HandleNeeded();
        FAIL() << "no error";
    } catch (const EInvalidOperation& E) {
        EXPECT_STREQ(E.what(), "Control 'Orphan' has no parent window");
    }
}

namespace {

class TReflected : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<UINT> Seen;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg >= CN_BASE && Message.Msg < CN_BASE + 0x400) {
            Seen.push_back(Message.Msg);
            if (Message.Msg == CN_COMMAND) {
                Message.Result = 77;
                return;
            }
        }
        TCustomControl::Dispatch(Message);
    }
};

} // namespace

TEST_F(PaintTest, NotificationsOfAChildComeBackToItReflected) {
    TForm* Form = MakeForm();
    auto* Child = new TReflected(Form);
    Child->SetParent(Form);
    Child->SetColor(clYellow);
    Child->Font()->SetColor(clNavy);
    Form->Show();
    Pump();
    EXPECT_EQ(SendMessage(Form->Handle(), WM_COMMAND, 5, LPARAM(Child->Handle())), 77);
    // The default colour answer: the font's colour on the control's colour.
    HDC DC = GetDC(Child->Handle());
    LRESULT Brush =
        SendMessage(Form->Handle(), WM_CTLCOLORSTATIC, WPARAM(DC), LPARAM(Child->Handle()));
    EXPECT_EQ(Brush, LRESULT(Child->Brush()->Handle()));
    EXPECT_EQ(GetTextColor(DC), COLORREF(clNavy));
    EXPECT_EQ(GetBkColor(DC), COLORREF(clYellow));
    ReleaseDC(Child->Handle(), DC);
    // Messages of no child and the copy-data number are not reflected.
    SendMessage(Form->Handle(), WM_COMMAND, 5, 0);
    SendMessage(Form->Handle(), 0x4A, WPARAM(Child->Handle()), LPARAM(Child->Handle()));
    EXPECT_EQ(Child->Seen, (std::vector<UINT>{CN_COMMAND, CN_CTLCOLORSTATIC}));
}

TEST_F(PaintTest, APostedInvalidateAndADeferredFreeArriveLater) {
    TForm* Form = MakeForm();
    auto* Panel = new TPanel(Form);
    Panel->SetParent(Form);
    Form->Show();
    Pump();
    PostMessage(Panel->Handle(), CM_INVALIDATE, 0, 0);
    Pump();
    TRect Update;
    EXPECT_FALSE(GetUpdateRect(Panel->Handle(), &Update, FALSE));
    PostMessage(Panel->Handle(), CM_INVALIDATE, 0, 0);
    Application->ProcessMessages();
    // A control freed from its own handler goes once the handler is done.
    int Clicks = 0;
    Panel->OnClick = [&](TObject* Sender) {
        ++Clicks;
        static_cast<TControl*>(Sender)->Release();
        EXPECT_EQ(Form->ControlCount(), 1);
    };
    Panel->Click();
    EXPECT_EQ(Form->ControlCount(), 1);
    Pump();
    EXPECT_EQ(Form->ControlCount(), 0);
    EXPECT_EQ(Clicks, 1);
    // A control released and then freed by its owner is not freed twice.
    auto* Other = new TPanel(Form);
    Other->SetParent(Form);
    Other->Release();
    delete Other;
    Pump();
    EXPECT_EQ(Form->ControlCount(), 0);
}

namespace {

// A drop-down: a popup window that stays in its parent's list of controls.
class TDropDown : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void CreateParams(TCreateParams& Params) override {
        TCustomControl::CreateParams(Params);
        Params.Style = WS_POPUP | WS_BORDER;
        Params.ExStyle |= WS_EX_TOOLWINDOW;
    }
};

} // namespace

TEST_F(PaintTest, APopupChildIsATopLevelWindowOwnedByItsForm) {
    TForm* Form = MakeForm();
    auto* Panel = new TPanel(Form);
    Panel->SetBounds(10, 10, 100, 100);
    Panel->SetParent(Form);
    auto* Drop = new TDropDown(Form);
    Drop->SetBounds(700, 500, 120, 80);
    Drop->SetParent(Panel);
    Form->Show();
    Pump();
    ASSERT_TRUE(Drop->HandleAllocated());
    EXPECT_EQ(GetAncestor(Drop->Handle(), GA_ROOT), Drop->Handle());
    EXPECT_EQ(GetWindow(Drop->Handle(), GW_OWNER), Form->Handle());
    TRect R;
    GetWindowRect(Drop->Handle(), &R);
    EXPECT_EQ(R, Rect(700, 500, 820, 580));
    EXPECT_EQ(Panel->Controls(0), Drop);
    EXPECT_EQ(GetParentForm(Drop), Form);
    // Alignment of the parent leaves it where it is.
    Panel->SetWidth(150);
    GetWindowRect(Drop->Handle(), &R);
    EXPECT_EQ(R.Left, 700);
}

TEST_F(PaintTest, AControlFreedInsideItsOwnClickDoesNotBreakTheLoop) {
    TForm* Form = MakeForm();
    auto* Button = new TButton(Form);
    Button->SetBounds(10, 10, 75, 25);
    Button->SetParent(Form);
    Button->OnClick = [](TObject* Sender) { delete static_cast<TButton*>(Sender); };
    Form->Show();
    Pump();
    TPoint P = Button->ClientToScreen({5, 5});
    Headless.Click(P.X, P.Y);
    Pump();
    EXPECT_EQ(Form->ControlCount(), 0);
    Headless.Click(P.X, P.Y);
    Pump();
}

TEST_F(PaintTest, AControlCanvasTakesForeignDcsAndLetsGoOfItsOwn) {
    TForm* Form = MakeForm();
    auto* Box = new TWinSwatch(Form, clBlue);
    Box->SetBounds(0, 0, 50, 50);
    Box->SetParent(Form);
    Form->Show();
    Pump();
    TBitmap Bitmap;
    Bitmap.SetSize(10, 10);
    HDC Foreign = Bitmap.Canvas()->Handle();
    TCanvas* C = Box->Canvas();
    C->SetHandle(Foreign);
    C->Brush()->SetColor(clLime);
    C->FillRect(Rect(0, 0, 10, 10));
    C->SetHandle(nullptr);
    EXPECT_EQ(Bitmap.Canvas()->Pixels(5, 5), clLime);
    // Its own DC on first use, let go when the window goes.
    EXPECT_NE(C->Handle(), nullptr);
    EXPECT_EQ(WindowFromDC(C->Handle()), Box->Handle());
    Box->RecreateWnd();
    EXPECT_FALSE(C->HandleAllocated());
    EXPECT_EQ(WindowFromDC(C->Handle()), Box->Handle());
}

namespace {

// A native class of the window system: answers a private message itself
// and asks for double clicks, which the wrapper does not want.
constexpr UINT WM_NATIVE_ASK = WM_USER + 7;

LRESULT NativeProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg == WM_NATIVE_ASK)
        return 42;
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}

// A control wrapping that class, which records what its own procedure saw.
class TNativeWrapper : public TWinControl {
public:
    using TWinControl::TWinControl;
    std::vector<UINT> Seen;

protected:
    void CreateParams(TCreateParams& Params) override {
        TWinControl::CreateParams(Params);
        Params.WindowClass.style &= ~CS_DBLCLKS;
        CreateSubClass(Params, "TestNative");
    }
    void WndProc(TMessage& Message) override {
        Seen.push_back(Message.Msg);
        TWinControl::WndProc(Message);
    }
};

} // namespace

TEST_F(PaintTest, AWrappedNativeClassIsCopiedUnderTheControlsName) {
    WNDCLASS Native{};
    Native.style = CS_DBLCLKS | CS_HREDRAW;
    Native.lpfnWndProc = NativeProc;
    Native.hCursor = LoadCursor(nullptr, IDC_IBEAM);
    Native.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    Native.lpszClassName = "TestNative";
    ASSERT_TRUE(RegisterClass(&Native));

    TForm* Form = MakeForm();
    auto* Plain = new TNativeWrapper(Form);
    Plain->SetParent(Form);
    Form->Show();
    Pump();

    // Registered under the control's own name, the native class untouched.
    char Name[64];
    GetClassName(Plain->Handle(), Name, sizeof(Name));
    EXPECT_STREQ(Name, "TNativeWrapper");
    WNDCLASS Copy, Still;
    ASSERT_TRUE(GetClassInfo(nullptr, "TNativeWrapper", &Copy));
    ASSERT_TRUE(GetClassInfo(nullptr, "TestNative", &Still));
    EXPECT_EQ(Still.lpfnWndProc, NativeProc);
    EXPECT_NE(Copy.lpfnWndProc, NativeProc);
    EXPECT_EQ(Copy.hCursor, Native.hCursor);
    EXPECT_EQ(Copy.hbrBackground, Native.hbrBackground);
    EXPECT_TRUE(Copy.style & CS_HREDRAW);
    // Double clicks only when the control itself asked for them.
    EXPECT_FALSE(GetClassLong(Plain->Handle(), GCL_STYLE) & CS_DBLCLKS);

    // The control's procedure saw the window from its first message on, and
    // what it leaves goes to the native procedure.
    // (The library's own notifications, performed before the window
    // exists, are left out.)
    auto First = std::find_if(Plain->Seen.begin(), Plain->Seen.end(),
                              [](UINT Msg) { return Msg < WM_USER; });
    ASSERT_NE(First, Plain->Seen.end());
    EXPECT_EQ(*First, WM_NCCREATE);
    EXPECT_EQ(SendMessage(Plain->Handle(), WM_NATIVE_ASK, 0, 0), 42);
    EXPECT_EQ(Plain->Perform(WM_NATIVE_ASK, 0, 0), 42);
    EXPECT_EQ(Plain->Seen.back(), WM_NATIVE_ASK);

    // Re-created, it is still wired the same way.
    Plain->RecreateWnd();
    EXPECT_EQ(SendMessage(Plain->Handle(), WM_NATIVE_ASK, 0, 0), 42);

    // Without the native class the control is a plain window of its own.
    UnregisterClass("TestNative", nullptr);
    auto* Orphan = new TNativeWrapper(Form);
    Orphan->SetName("Orphan");
    Orphan->SetParent(Form);
    Orphan->HandleNeeded();
    EXPECT_EQ(SendMessage(Orphan->Handle(), WM_NATIVE_ASK, 0, 0), 0);
}
