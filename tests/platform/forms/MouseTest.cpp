// Mouse messages as control events: capture and clicks, double clicks,
// graphic children, the control under the pointer, cancel mode, context menus.
#include "platform/forms/StdCtrls.h"
#include "tests/platform/forms/FormsTestSupport.h"

#include <string>
#include <vector>

namespace {

// Records its mouse events as text.
template <class Base> class TProbe : public Base {
public:
    explicit TProbe(TComponent* AOwner) : Base(AOwner) {
        this->FControlStyle.Include(csAcceptsControls);
    }
    std::vector<std::string> Log;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
        Base::MouseDown(Button, Shift, X, Y);
        Log.push_back(Format("down %d %d,%d%s",
                             {int(Button), X, Y, Shift.Contains(ssDouble) ? " double" : ""}));
    }
    void MouseMove(TShiftState Shift, int X, int Y) override {
        Base::MouseMove(Shift, X, Y);
        Log.push_back(Format("move %d,%d", {X, Y}));
    }
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override {
        Base::MouseUp(Button, Shift, X, Y);
        Log.push_back(Format("up %d %d,%d", {int(Button), X, Y}));
    }
    void Click() override {
        Base::Click();
        Log.push_back("click");
    }
    void DblClick() override {
        Base::DblClick();
        Log.push_back("dblclick");
    }
};

using TWinProbe = TProbe<TCustomControl>;
using TGraphicProbe = TProbe<TGraphicControl>;

bool Has(const std::vector<std::string>& Log, const std::string& Entry) {
    return std::find(Log.begin(), Log.end(), Entry) != Log.end();
}

} // namespace

class MouseTest : public TFormsTest {
protected:
    TForm* ShownForm() {
        TForm* Form = MakeForm();
        Form->Show();
        Pump();
        return Form;
    }
    void At(TControl* C, int X, int Y) {
        TPoint P = ScreenOf(C, X, Y);
        Headless.MovePointer(P.X, P.Y);
        Pump();
    }
    void Down() {
        Headless.Press();
        Pump();
    }
    void Up() {
        Headless.Release();
        Pump();
    }
};

TEST_F(MouseTest, ACapturingControlSeesTheDragAndClicksOnlyWhenReleasedInside) {
    TForm* Form = ShownForm();
    auto* P = new TWinProbe(Form);
    P->SetBounds(10, 10, 50, 50);
    P->SetParent(Form);
    Pump();
    At(P, 5, 5);
    Down();
    At(P, 80, 90);
    Up();
    EXPECT_TRUE(Has(P->Log, "move 80,90")) << Join(P->Log);
    EXPECT_TRUE(Has(P->Log, "up 0 80,90"));
    EXPECT_FALSE(Has(P->Log, "click"));
    EXPECT_EQ(GetCapture(), nullptr);

    P->Log.clear();
    At(P, 5, 5);
    Down();
    At(P, 20, 20);
    Up();
    EXPECT_TRUE(Has(P->Log, "click"));
}

TEST_F(MouseTest, DoubleClicksFollowTheControlStyle) {
    TForm* Form = ShownForm();
    auto* P = new TWinProbe(Form);
    P->SetBounds(10, 10, 50, 50);
    P->SetParent(Form);
    Pump();
    TPoint S = ScreenOf(P, 5, 5);
    Headless.DoubleClick(S.X, S.Y);
    Pump();
    EXPECT_TRUE(Has(P->Log, "dblclick"));
    EXPECT_TRUE(Has(P->Log, "down 0 5,5 double"));

    P->Log.clear();
    P->SetControlStyle(P->ControlStyle() - TControlStyle{csDoubleClicks});
    Clock.Advance(2000);
    Headless.DoubleClick(S.X, S.Y);
    Pump();
    EXPECT_FALSE(Has(P->Log, "dblclick"));
    EXPECT_EQ(std::count(P->Log.begin(), P->Log.end(), std::string("down 0 5,5")), 2);
}

TEST_F(MouseTest, TheEventFiresBeforeTheDerivedReaction) {
    TForm* Form = ShownForm();
    auto* P = new TWinProbe(Form);
    P->SetBounds(10, 10, 50, 50);
    P->SetParent(Form);
    P->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        P->Log.push_back("OnMouseDown");
    };
    Pump();
    At(P, 5, 5);
    P->Log.clear();
    Down();
    Up();
    ASSERT_GE(P->Log.size(), 2u);
    EXPECT_EQ(P->Log[0], "OnMouseDown");
    EXPECT_EQ(P->Log[1], "down 0 5,5");
}

TEST_F(MouseTest, AGraphicControlCapturesThroughItsParent) {
    TForm* Form = ShownForm();
    auto* G = new TGraphicProbe(Form);
    G->SetBounds(20, 20, 30, 30);
    G->SetParent(Form);
    Pump();
    At(G, 10, 10);
    Down();
    EXPECT_EQ(GetCapture(), Form->Handle());
    EXPECT_EQ(GetCaptureControl(), G);
    At(G, 100, -15);
    Up();
    EXPECT_TRUE(Has(G->Log, "down 0 10,10")) << Join(G->Log);
    EXPECT_TRUE(Has(G->Log, "move 100,-15"));
    EXPECT_TRUE(Has(G->Log, "up 0 100,-15"));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MouseTest, EnterAndLeaveTravelUpToTheForm) {
    TForm* Form = ShownForm();
    Form->SetName("F");
    auto* P = new TWinProbe(Form);
    P->SetName("P");
    P->SetBounds(10, 10, 200, 100);
    P->SetParent(Form);
    auto* G = new TGraphicProbe(Form);
    G->SetName("G");
    G->SetBounds(10, 10, 30, 30);
    G->SetParent(P);
    auto* E = new TWinProbe(Form);
    E->SetName("E");
    E->SetBounds(100, 10, 60, 30);
    E->SetParent(P);
    Pump();
    std::vector<std::string> Log;
    for (TControl* C : std::vector<TControl*>{Form, P, G, E}) {
        TWndMethod Old = C->WindowProc;
        C->WindowProc = [C, Old, &Log](TMessage& M) {
            if (M.Msg == CM_MOUSEENTER || M.Msg == CM_MOUSELEAVE) {
                auto* From = reinterpret_cast<TControl*>(M.LParam);
                Log.push_back(C->Name() + (M.Msg == CM_MOUSEENTER ? " enter " : " leave ") +
                              (From ? From->Name() : "0"));
            }
            Old(M);
        };
    }
    Headless.MovePointer(10, 10);
    Pump();
    Log.clear();
    At(P, 60, 80);
    At(G, 5, 5);
    At(E, 5, 5);
    Headless.MovePointer(5000, 5000);
    Pump();
    std::vector<std::string> Expected = {
        "P enter 0", "F enter P",                                        //
        "P leave 0", "F leave P", "G enter 0", "P enter G", "F enter P", //
        "G leave 0", "P leave G", "F leave P", "E enter 0", "P enter E", //
        "F enter P", "E leave 0", "P leave E", "F leave P"};
    EXPECT_EQ(Log, Expected) << Join(Log);
    for (TControl* C : std::vector<TControl*>{Form, P, G, E})
        C->WindowProc = TWndMethod(C, &TControl::WndProc);
}

TEST_F(MouseTest, APressSendsCancelModeToTheActiveControlFirst) {
    TForm* Form = ShownForm();
    auto* Edit = new TWinProbe(Form);
    Edit->SetBounds(10, 10, 50, 20);
    Edit->SetTabStop(true);
    Edit->SetParent(Form);
    auto* Button = new TWinProbe(Form);
    Button->SetBounds(10, 50, 50, 20);
    Button->SetParent(Form);
    Pump();
    Edit->SetFocus();
    Pump();
    std::vector<std::string> Order;
    TWndMethod Old = Edit->WindowProc;
    Edit->WindowProc = [&](TMessage& M) {
        if (M.Msg == CM_CANCELMODE)
            Order.push_back(M.LParam == LPARAM(Button) ? "cancel(button)" : "cancel(other)");
        Old(M);
    };
    Button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        Order.push_back("button down");
    };
    At(Button, 5, 5);
    Down();
    Up();
    Edit->WindowProc = Old;
    EXPECT_EQ(Order, (std::vector<std::string>{"cancel(button)", "button down"}));
}

namespace {

class TRecordingPopup : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup(int X, int Y) override {
        Calls.push_back({X, Y});
        Component = PopupComponent();
    }
    std::vector<TPoint> Calls;
    TComponent* Component = nullptr;
};

} // namespace

TEST_F(MouseTest, ARightClickOrShiftF10PopsUpTheControlsMenu) {
    TForm* Form = ShownForm();
    auto* Menu = new TRecordingPopup(Form);
    auto* P = new TWinProbe(Form);
    P->SetBounds(10, 10, 60, 40);
    P->SetTabStop(true);
    P->SetParent(Form);
    P->SetPopupMenu(Menu);
    std::vector<std::string> Order;
    P->OnContextPopup = [&](TObject*, TPoint Pos, bool&) {
        Order.push_back(Format("context %d,%d", {Pos.X, Pos.Y}));
    };
    Pump();
    TPoint S = ScreenOf(P, 7, 8);
    Headless.Click(S.X, S.Y, 1);
    Pump();
    ASSERT_EQ(Menu->Calls.size(), 1u);
    EXPECT_EQ(Menu->Calls[0], S);
    EXPECT_EQ(Menu->Component, P);
    EXPECT_EQ(Order, std::vector<std::string>{"context 7,8"});

    P->SetFocus();
    Pump();
    Headless.KeyDown(VK_SHIFT);
    Headless.KeyDown(VK_F10);
    Headless.KeyUp(VK_F10);
    Headless.KeyUp(VK_SHIFT);
    Pump();
    ASSERT_EQ(Menu->Calls.size(), 2u);
    EXPECT_EQ(Menu->Calls[1], ScreenOf(P, 30, 20));
}

TEST_F(MouseTest, AnUnhandledWheelGoesToTheParent) {
    TForm* Form = ShownForm();
    auto* Outer = new TWinProbe(Form);
    Outer->SetBounds(10, 10, 200, 200);
    Outer->SetParent(Form);
    auto* Inner = new TWinProbe(Form);
    Inner->SetBounds(10, 10, 50, 50);
    Inner->SetTabStop(true);
    Inner->SetParent(Outer);
    Pump();
    Inner->SetFocus();
    Pump();
    std::vector<std::string> Log;
    Inner->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool&) {
        Log.push_back("inner down");
    };
    TWndMethod Old = Outer->WindowProc;
    Outer->WindowProc = [&](TMessage& M) {
        if (M.Msg == CM_MOUSEWHEEL)
            Log.push_back(Format("outer cm %d", {int(GET_WHEEL_DELTA_WPARAM(M.WParam))}));
        Old(M);
    };
    At(Inner, 5, 5);
    Headless.Wheel(-120);
    Pump();
    Inner->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool& Handled) {
        Log.push_back("inner wheel");
        Handled = true;
    };
    Headless.Wheel(120);
    Pump();
    Outer->WindowProc = Old;
    EXPECT_EQ(Log, (std::vector<std::string>{"inner down", "outer cm -120", "inner wheel"}));
}
