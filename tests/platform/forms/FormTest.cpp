// Forms: modal runs, closing, the main loop, positions, frames, stay on top,
// alpha blending, composition in code, the screen's list of forms.
#include "platform/core/Threads.h"
#include "platform/forms/StdCtrls.h"
#include "tests/platform/forms/FormsTestSupport.h"
#include "tests/support/ModalScript.h"

#include <deque>
#include <functional>

class FormTest : public TFormsTest {
protected:
    TForm* MainForm() {
        TForm* Main = Application->CreateForm<TForm>();
        Main->SetName("Main");
        Main->SetBounds(50, 50, 500, 400);
        Main->Show();
        Pump();
        return Main;
    }
    void ClickOn(TControl* C) {
        TPoint P = ScreenOf(C, 5, 5);
        Headless.Click(P.X, P.Y);
    }
};

TEST_F(FormTest, ShowModalEndsWithTheButtonsResultAndRestoresTheOthers) {
    TForm* Main = MainForm();
    TForm* Dialog = MakeForm("Dialog");
    auto* Ok = new TButton(Dialog);
    Ok->SetBounds(10, 10, 75, 25);
    Ok->SetParent(Dialog);
    Ok->SetModalResult(mrOk);
    bool MainDisabled = false;
    TModalScript Script({[&] {
        MainDisabled = !IsWindowEnabled(Main->Handle());
        ClickOn(Ok);
    }});
    EXPECT_EQ(Dialog->ShowModal(), mrOk);
    EXPECT_TRUE(MainDisabled);
    EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
    EXPECT_FALSE(Dialog->Visible());
    Pump();
    EXPECT_TRUE(Main->Active());
    EXPECT_THROW(
        {
            Dialog->Show();
            Dialog->ShowModal();
        },
        EInvalidOperation);
}

TEST_F(FormTest, ARefusedCloseKeepsTheModalFormRunning) {
    MainForm();
    TForm* Dialog = MakeForm("Dialog");
    int Queries = 0;
    Dialog->OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = ++Queries > 1; };
    bool StillVisible = false;
    TModalScript Script({[&] { Dialog->Close(); }, [&] { StillVisible = Dialog->Visible(); },
                         [&] { Dialog->Close(); }});
    EXPECT_EQ(Dialog->ShowModal(), mrCancel);
    EXPECT_TRUE(StillVisible);
    EXPECT_EQ(Queries, 2);
}

TEST_F(FormTest, NestedModalRunsReturnInnerFirst) {
    MainForm();
    TForm* Outer = MakeForm("Outer");
    TForm* Inner = MakeForm("Inner");
    std::vector<std::string> Order;
    TModalScript Script({[&] {
                             int R = Inner->ShowModal();
                             Order.push_back("inner " + std::to_string(R));
                             Outer->SetModalResult(mrYes);
                         },
                         [&] { Inner->SetModalResult(mrNo); }});
    int R = Outer->ShowModal();
    Order.push_back("outer " + std::to_string(R));
    EXPECT_EQ(Order, (std::vector<std::string>{"inner 7", "outer 6"}));
}

TEST_F(FormTest, ClosingTheMainFormEndsRunUnlessTheActionIsNone) {
    TForm* Main = MainForm();
    int Closes = 0;
    Main->OnClose = [&](TObject*, TCloseAction& Action) {
        if (++Closes == 1)
            Action = caNone;
    };
    bool RunningAfterFirst = false;
    TModalScript Script({[&] { Main->Close(); },
                         [&] { RunningAfterFirst = !Application->Terminated(); },
                         [&] { Main->Close(); }},
                        TModalScript::AnyIdle);
    Application->Run();
    EXPECT_TRUE(RunningAfterFirst);
    EXPECT_EQ(Closes, 2);
    EXPECT_TRUE(Application->Terminated());
}

namespace {

class TSyncWorker : public TThread {
public:
    explicit TSyncWorker(std::function<void()> Call) : TThread(false), FCall(std::move(Call)) {
        AfterConstruction();
    }
    ~TSyncWorker() override { TerminateAndWait(); }

protected:
    void Execute() override {
        Synchronize([this] { FCall(); });
    }

private:
    std::function<void()> FCall;
};

} // namespace

TEST_F(FormTest, AWorkersSynchronizeIsServedDuringAModalRun) {
    MainForm();
    TForm* Dialog = MakeForm("Dialog");
    bool Served = false;
    std::unique_ptr<TSyncWorker> Worker;
    Dialog->OnShow = [&](TObject*) {
        Worker = std::make_unique<TSyncWorker>([&] {
            Served = true;
            Dialog->SetModalResult(mrOk);
        });
    };
    EXPECT_EQ(Dialog->ShowModal(), mrOk);
    EXPECT_TRUE(Served);
    Worker.reset();
}

TEST_F(FormTest, AWorkersSynchronizeIsServedDuringACaptionDrag) {
    TForm* Main = MainForm();
    Main->SetBorderStyle(bsSingle);
    Pump();
    TRect R;
    GetWindowRect(Main->Handle(), &R);
    TPoint Caption{R.Left + 60, R.Top + 8};
    ASSERT_EQ(SendMessage(Main->Handle(), WM_NCHITTEST, 0, PointToLParam(Caption)), HTCAPTION);
    bool Served = false;
    Headless.MovePointer(Caption.X, Caption.Y);
    Pump();
    TSyncWorker* Worker = nullptr;
    Main->OnResize = nullptr;
    TWndMethod Old = Main->WindowProc;
    Main->WindowProc = [&](TMessage& M) {
        // The worker starts once the move loop runs; its call ends the drag.
        if (M.Msg == WM_ENTERSIZEMOVE && !Worker)
            Worker = new TSyncWorker([&] {
                Served = true;
                Headless.Release();
            });
        Old(M);
    };
    Headless.Press();
    Pump();
    Main->WindowProc = Old;
    EXPECT_TRUE(Served);
    delete Worker;
}

TEST_F(FormTest, PositionsAreAppliedAtTheFirstShow) {
    TForm* Main = MainForm();
    TForm* Centred = MakeForm("Centred");
    Centred->SetBounds(0, 0, 400, 300);
    Centred->SetPosition(poScreenCenter);
    Centred->Show();
    EXPECT_EQ(Centred->Left(), 760);
    EXPECT_EQ(Centred->Top(), 370);
    TForm* OnMain = MakeForm("OnMain");
    OnMain->SetBounds(0, 0, 100, 100);
    OnMain->SetPosition(poMainFormCenter);
    OnMain->Show();
    EXPECT_EQ(OnMain->Left(), Main->Left() + (Main->Width() - 100) / 2);
    EXPECT_EQ(OnMain->Top(), Main->Top() + (Main->Height() - 100) / 2);
}

TEST_F(FormTest, ClientSizeIsExactWhateverTheFrame) {
    TForm* Form = MakeForm();
    Form->SetBorderStyle(bsSingle);
    // Set before the window exists, as a preview sizes itself to its picture.
    Form->SetClientWidth(804);
    Form->SetClientHeight(541);
    Form->Show();
    TRect Client;
    GetClientRect(Form->Handle(), &Client);
    EXPECT_EQ(Client.Width(), 804);
    EXPECT_EQ(Client.Height(), 541);
    TRect Frame = Rect(0, 0, 804, 541);
    AdjustWindowRectEx(&Frame, DWORD(GetWindowLong(Form->Handle(), GWL_STYLE)), FALSE,
                       DWORD(GetWindowLong(Form->Handle(), GWL_EXSTYLE)));
    EXPECT_EQ(Form->Width(), Frame.Width());
    EXPECT_EQ(Form->Height(), Frame.Height());
    Form->SetClientWidth(300);
    GetClientRect(Form->Handle(), &Client);
    EXPECT_EQ(Client.Width(), 300);
    EXPECT_EQ(Client.Height(), 541);
}

TEST_F(FormTest, StayOnTopAndAlphaBlendReachTheWindow) {
    TForm* Form = MakeForm();
    Form->Show();
    Pump();
    auto Surface = [&]() -> const THeadlessSurface* {
        for (TSurfaceId Id : Headless.Surfaces())
            if (Headless.Surface(Id)->Visible)
                return Headless.Surface(Id);
        return nullptr;
    };
    Form->SetFormStyle(fsStayOnTop);
    Pump();
    EXPECT_TRUE(GetWindowLong(Form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    ASSERT_NE(Surface(), nullptr);
    EXPECT_TRUE(Surface()->Topmost);
    Form->SetFormStyle(fsNormal);
    Pump();
    EXPECT_FALSE(GetWindowLong(Form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(Surface()->Topmost);

    Form->SetAlphaBlendValue(200);
    Form->SetAlphaBlend(true);
    Pump();
    BYTE Alpha = 0;
    DWORD Flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(Form->Handle(), nullptr, &Alpha, &Flags));
    EXPECT_EQ(Alpha, 200);
    EXPECT_TRUE(Flags & LWA_ALPHA);
    EXPECT_TRUE(GetWindowLong(Form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

namespace {

std::vector<std::string>* GEvents = nullptr;

// A component whose setter is silent while loading, as the Parts' are.
class TQuiet : public TComponent {
public:
    using TComponent::TComponent;
    void SetValue(int V) {
        FValue = V;
        if (!ComponentState().Contains(csLoading))
            GEvents->push_back("changed " + Name());
    }

protected:
    void Loaded() override {
        TComponent::Loaded();
        GEvents->push_back("loaded " + Name());
    }

private:
    int FValue = 0;
};

class TComposed : public TForm {
public:
    explicit TComposed(TComponent* AOwner) : TForm(AOwner) {
        SetName("Composed");
        OnCreate = [](TObject*) { GEvents->push_back("create"); };
        for (const char* Name : {"One", "Two"}) {
            auto* Q = new TQuiet(this);
            Q->SetName(Name);
            Q->SetValue(1);
        }
    }
};

} // namespace

TEST_F(FormTest, AFormComposedInCodeLoadsOnceThenCreates) {
    std::vector<std::string> Events;
    GEvents = &Events;
    auto* Form = CreateFormInCode<TComposed>(nullptr);
    EXPECT_EQ(Events, (std::vector<std::string>{"loaded One", "loaded Two", "create"}));
    EXPECT_FALSE(Form->ComponentState().Contains(csLoading));
    delete Form;
    GEvents = nullptr;
}

TEST_F(FormTest, TheScreenListsFormsInCreationOrder) {
    TForm* A = MakeForm("A");
    TForm* B = MakeForm("B");
    TForm* C = MakeForm("C");
    delete B;
    ASSERT_EQ(Screen->FormCount(), 2);
    EXPECT_EQ(Screen->Forms(0), A);
    EXPECT_EQ(Screen->Forms(1), C);
    EXPECT_THROW(Screen->Forms(2), EListError);
}

TEST_F(FormTest, ReleaseFreesTheFormWhenItsMessageArrives) {
    TForm* Form = MakeForm();
    Form->Show();
    bool Destroyed = false;
    Form->OnDestroy = [&](TObject*) { Destroyed = true; };
    Form->Release();
    EXPECT_FALSE(Destroyed);
    Pump();
    EXPECT_TRUE(Destroyed);
    EXPECT_EQ(Screen->FormCount(), 0);
}

TEST_F(FormTest, MdiChildrenLiveInTheClientAndActivateOnAPress) {
    TForm* Main = Application->CreateForm<TForm>();
    Main->SetBounds(50, 50, 600, 400);
    Main->SetFormStyle(fsMDIForm);
    auto* Bar = new TButton(Main);
    Bar->SetAlign(alTop);
    Bar->SetParent(Main);
    Main->Show();
    Pump();
    ASSERT_NE(Main->ClientHandle(), nullptr);
    char Class[32];
    GetClassName(Main->ClientHandle(), Class, sizeof(Class));
    EXPECT_STREQ(Class, "MDICLIENT");
    TRect ClientArea;
    GetWindowRect(Main->ClientHandle(), &ClientArea);
    TPoint BarBottom = Bar->ClientToScreen({0, Bar->Height()});
    EXPECT_EQ(ClientArea.Top, BarBottom.Y);

    TForm* One = MakeForm("One");
    One->SetFormStyle(fsMDIChild);
    One->SetBounds(0, 0, 200, 150);
    One->Show();
    TForm* Two = MakeForm("Two");
    Two->SetFormStyle(fsMDIChild);
    Two->SetBounds(250, 0, 200, 150);
    Two->Show();
    Pump();
    EXPECT_EQ(GetParent(One->Handle()), Main->ClientHandle());
    ASSERT_EQ(Main->MDIChildCount(), 2);
    EXPECT_EQ(Main->ActiveMDIChild(), Two);
    EXPECT_EQ(Main->MDIChildren(1), One);

    std::vector<std::string> Log;
    for (TForm* F : {One, Two}) {
        TWndMethod Old = F->WindowProc;
        F->WindowProc = [F, Old, &Log](TMessage& M) {
            if (M.Msg == WM_MDIACTIVATE)
                Log.push_back(F->Name() + (HWND(M.LParam) == F->Handle() ? " gains" : " loses"));
            Old(M);
        };
    }
    TPoint P = One->ClientToScreen({20, 20});
    Headless.Click(P.X, P.Y);
    Pump();
    EXPECT_EQ(Main->ActiveMDIChild(), One);
    EXPECT_EQ(Log, (std::vector<std::string>{"Two loses", "One gains"}));
    Main->Next();
    EXPECT_EQ(Main->ActiveMDIChild(), Two);
    for (TForm* F : {One, Two})
        F->WindowProc = TWndMethod(F, &TControl::WndProc);
}

TEST_F(FormTest, NextAndShowOfAVisibleChildMoveTheMdiActivation) {
    TForm* Main = Application->CreateForm<TForm>();
    Main->SetBounds(50, 50, 600, 400);
    Main->SetFormStyle(fsMDIForm);
    Main->Show();
    std::vector<TForm*> Children;
    for (const char* Name : {"One", "Two", "Three"}) {
        TForm* Child = MakeForm(Name);
        Child->SetFormStyle(fsMDIChild);
        Child->SetBounds(0, 0, 200, 150);
        Child->Show();
        Children.push_back(Child);
    }
    Pump();
    TForm *One = Children[0], *Two = Children[1], *Three = Children[2];
    ASSERT_EQ(Main->ActiveMDIChild(), Three);

    std::vector<std::string> Log;
    for (TForm* F : Children) {
        TWndMethod Old = F->WindowProc;
        F->WindowProc = [F, Old, &Log](TMessage& M) {
            if (M.Msg == WM_NCACTIVATE)
                Log.push_back(F->Name() + (M.WParam ? " on" : " off"));
            Old(M);
        };
    }
    auto ActiveOnes = [&] {
        std::string S;
        for (TForm* F : Children)
            if (F->Active())
                S += F->Name();
        return S;
    };
    // The child sent to the back is deactivated, not left believing it is
    // still the active one.
    Main->Next();
    EXPECT_EQ(Main->ActiveMDIChild(), Two);
    EXPECT_EQ(Main->MDIChildren(2), Three);
    EXPECT_EQ(ActiveOnes(), "Two");
    EXPECT_EQ(Log, (std::vector<std::string>{"Three off", "Two on"}));

    // Show() of a child that is already visible activates it.
    Log.clear();
    One->Show();
    EXPECT_EQ(Main->ActiveMDIChild(), One);
    EXPECT_EQ(ActiveOnes(), "One");
    EXPECT_EQ(Log, (std::vector<std::string>{"Two off", "One on"}));
    Log.clear();
    One->Show();
    EXPECT_TRUE(Log.empty());
    for (TForm* F : Children)
        F->WindowProc = TWndMethod(F, &TControl::WndProc);
}

TEST_F(FormTest, AFormFreedWithItsOwnerFiresOnDestroy) {
    TComponent Owner(nullptr);
    auto* Form = new TForm(&Owner);
    int Destroyed = 0;
    Form->OnDestroy = [&](TObject*) { ++Destroyed; };
    Form->Show();
    Owner.DestroyComponents();
    EXPECT_EQ(Destroyed, 1);
    EXPECT_EQ(Screen->FormCount(), 0);
}

TEST_F(FormTest, DesktopCentreAndDefaultPositions) {
    Headless.SetScreens({{Rect(0, 0, 1000, 800), Rect(0, 0, 1000, 760), true},
                         {Rect(1000, 0, 2000, 800), Rect(1000, 40, 2000, 780), false}});
    TForm* Centred = MakeForm("Centred");
    Centred->SetBounds(0, 0, 400, 300);
    Centred->SetPosition(poDesktopCenter);
    Centred->Show();
    // Centred in the work areas' bounding box (0, 0, 2000, 780).
    EXPECT_EQ(Centred->Left(), 800);
    EXPECT_EQ(Centred->Top(), 240);
    TForm* First = MakeForm("First");
    First->SetPosition(poDefaultPosOnly);
    First->Show();
    TForm* Second = MakeForm("Second");
    Second->SetPosition(poDefaultPosOnly);
    Second->Show();
    EXPECT_EQ(Second->Left() - First->Left(), 20);
    EXPECT_EQ(Second->Top() - First->Top(), 20);
    // A position applies at the first show only.
    Centred->Hide();
    Centred->SetLeft(5);
    Centred->Show();
    EXPECT_EQ(Centred->Left(), 5);
}

TEST_F(FormTest, WindowStateFollowsTheWindowAndComesBackToTheNormalBounds) {
    MainForm();
    TForm* Form = MakeForm("Other");
    // Set while hidden: applied at the show.
    Form->SetWindowState(wsMaximized);
    Form->Show();
    Pump();
    ASSERT_TRUE(IsZoomed(Form->Handle()));
    // The frame lies beyond the work area; the client fills its width.
    TRect Work = Screen->WorkAreaRect();
    EXPECT_EQ(Form->ClientOrigin().X, Work.Left);
    EXPECT_EQ(Form->ClientWidth(), Work.Width());

    struct TStep {
        TWindowState State;
        bool Iconic, Zoomed;
    };
    for (TStep Step : {TStep{wsNormal, false, false}, TStep{wsMinimized, true, false},
                       TStep{wsNormal, false, false}, TStep{wsMaximized, false, true},
                       TStep{wsMinimized, true, false}, TStep{wsNormal, false, false}}) {
        Form->SetWindowState(Step.State);
        Pump();
        EXPECT_EQ(Form->WindowState(), Step.State);
        EXPECT_EQ(bool(IsIconic(Form->Handle())), Step.Iconic) << Step.State;
        EXPECT_EQ(bool(IsZoomed(Form->Handle())), Step.Zoomed) << Step.State;
    }
    TRect R;
    GetWindowRect(Form->Handle(), &R);
    EXPECT_EQ(R, Bounds(100, 100, 400, 300));

    // Changed by the window system (the system menu, the desktop): the form
    // learns the new state.
    SendMessage(Form->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_EQ(Form->WindowState(), wsMaximized);
    SendMessage(Form->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(Form->WindowState(), wsNormal);

    // Minimizing the application leaves the main form's state alone.
    Application->Minimize();
    EXPECT_TRUE(IsIconic(Application->MainForm()->Handle()));
    EXPECT_EQ(Application->MainForm()->WindowState(), wsNormal);
    Application->Restore();
    EXPECT_EQ(Application->MainForm()->WindowState(), wsNormal);
}

TEST_F(FormTest, MdiChildrenMaximizeMinimizeCascadeAndTileInTheClient) {
    TForm* Main = Application->CreateForm<TForm>();
    Main->SetBounds(50, 50, 600, 400);
    Main->SetFormStyle(fsMDIForm);
    auto* Bar = new TButton(Main);
    Bar->SetAlign(alTop);
    Bar->SetParent(Main);
    Main->Show();
    Pump();
    TRect Area;
    GetClientRect(Main->ClientHandle(), &Area);
    ASSERT_GT(Area.Height(), 100);
    std::vector<TForm*> Children;
    for (const char* Name : {"One", "Two", "Three"}) {
        TForm* Child = MakeForm(Name);
        Child->SetFormStyle(fsMDIChild);
        Child->SetBounds(10, 10, 200, 150);
        Child->Show();
        Children.push_back(Child);
    }
    Pump();
    TForm* One = Children[0];

    One->SetWindowState(wsMaximized);
    EXPECT_EQ(One->BoundsRect(), Area);
    // The client grows: a maximized child grows with it.
    Main->SetHeight(Main->Height() + 50);
    Pump();
    GetClientRect(Main->ClientHandle(), &Area);
    EXPECT_EQ(One->BoundsRect(), Area);
    // Minimized: a caption strip at the client's bottom-left.
    One->SetWindowState(wsMinimized);
    EXPECT_EQ(One->Left(), 0);
    EXPECT_EQ(One->Top() + One->Height(), Area.Bottom);
    EXPECT_LT(One->Height(), 50);
    EXPECT_GT(One->Height(), 0);
    // And back to where it was.
    One->SetWindowState(wsNormal);
    EXPECT_EQ(One->BoundsRect(), Bounds(10, 10, 200, 150));

    // Cascade: each child one caption lower and further right than the one
    // below it, the active one in front; all inside the client.
    Main->Cascade();
    std::vector<TRect> Cascaded;
    for (int I = Main->MDIChildCount() - 1; I >= 0; --I)
        Cascaded.push_back(Main->MDIChildren(I)->BoundsRect());
    ASSERT_EQ(Cascaded.size(), 3u);
    EXPECT_EQ(Cascaded[0].TopLeft(), TPoint(0, 0));
    for (std::size_t I = 1; I < Cascaded.size(); ++I) {
        EXPECT_GT(Cascaded[I].Left, Cascaded[I - 1].Left);
        EXPECT_EQ(Cascaded[I].Top - Cascaded[I - 1].Top, Cascaded[I].Left - Cascaded[I - 1].Left);
        EXPECT_EQ(Cascaded[I].Width(), Cascaded[0].Width());
        EXPECT_LE(Cascaded[I].Bottom, Area.Bottom);
    }
    EXPECT_EQ(Main->ActiveMDIChild()->BoundsRect(), Cascaded.back());

    // Tile: a minimized child keeps its strip, the others share the client
    // one below the other, without gaps.
    Children[2]->SetWindowState(wsMaximized);
    One->SetWindowState(wsMinimized);
    TRect Strip = One->BoundsRect();
    Main->Tile();
    EXPECT_EQ(One->BoundsRect(), Strip);
    EXPECT_EQ(Children[2]->WindowState(), wsNormal);
    std::vector<TRect> Tiled;
    for (int I = 0; I < Main->MDIChildCount(); ++I)
        if (Main->MDIChildren(I) != One)
            Tiled.push_back(Main->MDIChildren(I)->BoundsRect());
    ASSERT_EQ(Tiled.size(), 2u);
    EXPECT_EQ(Tiled[0], Rect(0, 0, Area.Width(), Area.Height() / 2));
    EXPECT_EQ(Tiled[1], Rect(0, Area.Height() / 2, Area.Width(), Area.Height()));
}

TEST_F(FormTest, AFormForgetsItsWindowMenuWhenTheItemIsFreed) {
    TForm* Form = MakeForm();
    auto* Menu = new TMainMenu(nullptr);
    auto* Window = NewItem(nullptr, "&Window", 0, false, true, nullptr, "Window1");
    Menu->Items()->Add(Window);
    Form->SetMenu(Menu);
    Form->SetWindowMenu(Window);
    EXPECT_EQ(Form->WindowMenu(), Window);
    // Owned by nobody the form knows: only the free notification tells it.
    delete Menu;
    EXPECT_EQ(Form->WindowMenu(), nullptr);
    EXPECT_EQ(Form->Menu(), nullptr);
}
