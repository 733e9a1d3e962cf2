// The control tree without windows: alignment, anchors, constraints, parent
// inheritance of font and colour, z-order and tab order.
#include "tests/platform/forms/FormsTestSupport.h"

#include <memory>

namespace {

class TBox : public TCustomControl {
public:
    explicit TBox(TComponent* AOwner) : TCustomControl(AOwner) {
        FControlStyle.Include(csAcceptsControls);
    }
    void AlignControls(TControl* AControl, TRect& Rect) override {
        ++AlignCount;
        TCustomControl::AlignControls(AControl, Rect);
    }
    void AdjustClientRect(TRect& Rect) override { InflateRect(&Rect, -Inset, -Inset); }
    int AlignCount = 0;
    int Inset = 0;
};

class TLeaf : public TGraphicControl {
public:
    explicit TLeaf(TComponent* AOwner) : TGraphicControl(AOwner) {}
};

TControl* Child(TWinControl* Parent, TAlign Align, TRect Bounds, bool Window = false) {
    TControl* C = Window ? static_cast<TControl*>(new TBox(Parent))
                         : static_cast<TControl*>(new TLeaf(Parent));
    C->SetBoundsRect(Bounds);
    C->SetParent(Parent);
    C->SetAlign(Align);
    return C;
}

} // namespace

class ControlTreeTest : public TFormsTest {};

TEST_F(ControlTreeTest, AlignsEachKindInItsOrderAndFollowsAResize) {
    TBox Panel(nullptr);
    Panel.SetBounds(0, 0, 200, 100);
    TControl* Client = Child(&Panel, alClient, Bounds(0, 0, 10, 10));
    TControl* Right = Child(&Panel, alRight, Bounds(0, 0, 40, 10));
    TControl* Left = Child(&Panel, alLeft, Bounds(0, 0, 30, 10));
    TControl* Bottom = Child(&Panel, alBottom, Bounds(0, 0, 10, 10));
    TControl* Top = Child(&Panel, alTop, Bounds(0, 0, 10, 20));
    EXPECT_EQ(Top->BoundsRect(), Rect(0, 0, 200, 20));
    EXPECT_EQ(Bottom->BoundsRect(), Rect(0, 90, 200, 100));
    EXPECT_EQ(Left->BoundsRect(), Rect(0, 20, 30, 90));
    EXPECT_EQ(Right->BoundsRect(), Rect(160, 20, 200, 90));
    EXPECT_EQ(Client->BoundsRect(), Rect(30, 20, 160, 90));

    Panel.SetWidth(300);
    EXPECT_EQ(Right->Left(), 260);
    EXPECT_EQ(Client->BoundsRect(), Rect(30, 20, 260, 90));
}

TEST_F(ControlTreeTest, ControlsOfOneAlignmentKeepTheOrderOfTheirPositions) {
    TBox Panel(nullptr);
    Panel.SetBounds(0, 0, 200, 100);
    TControl* B = Child(&Panel, alTop, Bounds(0, 10, 10, 20));
    TControl* A = Child(&Panel, alTop, Bounds(0, -5, 10, 30));
    EXPECT_EQ(A->Top(), 0);
    EXPECT_EQ(B->Top(), 30);
}

TEST_F(ControlTreeTest, AHiddenControlLeavesItsPlaceAndGetsItBack) {
    TBox Panel(nullptr);
    Panel.SetBounds(0, 0, 200, 100);
    TControl* First = Child(&Panel, alTop, Bounds(0, 0, 10, 10));
    TControl* Second = Child(&Panel, alTop, Bounds(0, 50, 10, 20));
    TControl* Third = Child(&Panel, alTop, Bounds(0, 90, 10, 30));
    ASSERT_EQ(Second->Top(), 10);
    Second->Hide();
    EXPECT_EQ(First->Top(), 0);
    EXPECT_EQ(Third->Top(), 10);
    Second->Show();
    EXPECT_EQ(Second->Top(), 10);
    EXPECT_EQ(Third->Top(), 30);
}

TEST_F(ControlTreeTest, AlignedControlsLieInsideTheAdjustedClientArea) {
    TBox Panel(nullptr);
    Panel.Inset = 5;
    Panel.SetBounds(0, 0, 200, 100);
    TControl* Top = Child(&Panel, alTop, Bounds(0, 0, 10, 20));
    TControl* Client = Child(&Panel, alClient, Bounds(0, 0, 10, 10));
    EXPECT_EQ(Top->BoundsRect(), Rect(5, 5, 195, 25));
    EXPECT_EQ(Client->BoundsRect(), Rect(5, 25, 195, 95));
}

TEST_F(ControlTreeTest, ChangesInsideDisableAlignRealignOnce) {
    TBox Panel(nullptr);
    Panel.SetBounds(0, 0, 200, 1000);
    std::vector<TControl*> Children;
    for (int I = 0; I < 50; ++I)
        Children.push_back(Child(&Panel, alTop, Bounds(0, I * 10, 10, 10)));
    Panel.AlignCount = 0;
    Panel.DisableAlign();
    Panel.DisableAlign();
    for (TControl* C : Children)
        C->SetHeight(12);
    Panel.EnableAlign();
    EXPECT_EQ(Panel.AlignCount, 0);
    Panel.EnableAlign();
    EXPECT_EQ(Panel.AlignCount, 1);
    EXPECT_EQ(Children.back()->Top(), 49 * 12);
}

TEST_F(ControlTreeTest, AnchorsKeepDistancesToTheirEdges) {
    TBox Panel(nullptr);
    Panel.SetBounds(0, 0, 200, 100);
    TControl* Both = Child(&Panel, alNone, Bounds(10, 10, 50, 20));
    Both->SetAnchors({akLeft, akTop, akRight});
    TControl* RightOnly = Child(&Panel, alNone, Bounds(100, 10, 50, 20));
    RightOnly->SetAnchors({akRight, akTop});
    TControl* Plain = Child(&Panel, alNone, Bounds(100, 50, 50, 20));
    TControl* Centred = Child(&Panel, alNone, Bounds(75, 40, 50, 20));
    Centred->SetAnchors({});

    Panel.SetBounds(0, 0, 240, 140);
    EXPECT_EQ(Both->BoundsRect(), Rect(10, 10, 100, 30));
    EXPECT_EQ(RightOnly->BoundsRect(), Rect(140, 10, 190, 30));
    EXPECT_EQ(Plain->BoundsRect(), Rect(100, 50, 150, 70));
    // The centre (100, 50) keeps its proportional place: (120, 70).
    EXPECT_EQ(Centred->BoundsRect(), Rect(95, 60, 145, 80));
}

TEST_F(ControlTreeTest, ConstraintsLimitSetBoundsAndAlignment) {
    TBox Panel(nullptr);
    Panel.SetBounds(0, 0, 200, 100);
    TLeaf Leaf(nullptr);
    Leaf.Constraints()->SetMinWidth(100);
    Leaf.Constraints()->SetMaxHeight(30);
    Leaf.SetBounds(0, 0, 50, 80);
    EXPECT_EQ(Leaf.Width(), 100);
    EXPECT_EQ(Leaf.Height(), 30);

    TControl* Left = Child(&Panel, alLeft, Bounds(0, 0, 20, 10));
    Left->Constraints()->SetMaxHeight(60);
    TControl* Client = Child(&Panel, alClient, Bounds(0, 0, 10, 10));
    EXPECT_EQ(Left->Height(), 60);
    EXPECT_EQ(Client->Left(), 20);

    // Setting a constraint applies it at once.
    Client->Constraints()->SetMaxWidth(50);
    EXPECT_EQ(Client->Width(), 50);
}

TEST_F(ControlTreeTest, FontAndColourFollowTheParentUntilSetOnTheChild) {
    TBox Parent(nullptr);
    Parent.SetColor(clRed);
    Parent.Font()->SetName("Arial");
    TLeaf* Follower = new TLeaf(&Parent);
    Follower->SetParent(&Parent);
    TLeaf* Own = new TLeaf(&Parent);
    Own->SetParent(&Parent);
    EXPECT_EQ(Follower->Color(), clRed);
    EXPECT_EQ(Follower->Font()->Name(), "Arial");

    Own->SetColor(clLime);
    Own->Font()->SetHeight(-20);
    Parent.SetColor(clBlue);
    Parent.Font()->SetName("Tahoma");
    EXPECT_EQ(Follower->Color(), clBlue);
    EXPECT_TRUE(Follower->ParentColor());
    EXPECT_EQ(Follower->Font()->Name(), "Tahoma");
    EXPECT_TRUE(Follower->ParentFont());
    EXPECT_EQ(Own->Color(), clLime);
    EXPECT_FALSE(Own->ParentFont());
    EXPECT_EQ(Own->Font()->Name(), "Arial");

    Own->SetParentColor(true);
    EXPECT_EQ(Own->Color(), clBlue);
}

TEST_F(ControlTreeTest, ShowHintFollowsTheParentUntilSetOnTheChild) {
    TBox Parent(nullptr);
    TLeaf* Follower = new TLeaf(&Parent);
    Follower->SetParent(&Parent);
    TLeaf* Own = new TLeaf(&Parent);
    Own->SetParent(&Parent);
    Own->SetShowHint(false);
    Parent.SetShowHint(true);
    EXPECT_TRUE(Follower->ShowHint());
    EXPECT_FALSE(Own->ShowHint());
}

TEST_F(ControlTreeTest, ReparentingMovesTheControlAndRejectsCycles) {
    TBox A(nullptr), B(nullptr);
    TBox* Inner = new TBox(nullptr);
    Inner->SetParent(&A);
    TLeaf* Leaf = new TLeaf(nullptr);
    Leaf->SetParent(&A);
    ASSERT_EQ(A.ControlCount(), 2);
    Leaf->SetParent(&B);
    EXPECT_EQ(A.ControlCount(), 1);
    EXPECT_EQ(B.Controls(0), Leaf);
    EXPECT_TRUE(B.ContainsControl(Leaf));
    EXPECT_FALSE(A.ContainsControl(Leaf));
    EXPECT_THROW(A.SetParent(Inner), EInvalidOperation);
    EXPECT_EQ(A.Parent(), nullptr);
    // Children go with their parent, whoever owns them.
    Leaf->SetName("L");
    EXPECT_EQ(B.FindChildControl("L"), Leaf);
}

TEST_F(ControlTreeTest, ZOrderAndHitTestingOfGraphicChildren) {
    TBox Panel(nullptr);
    Panel.SetBounds(0, 0, 100, 100);
    TControl* Under = Child(&Panel, alNone, Bounds(0, 0, 50, 50));
    TControl* Over = Child(&Panel, alNone, Bounds(25, 25, 50, 50));
    EXPECT_EQ(Panel.ControlAtPos({30, 30}, false), Over);
    Under->BringToFront();
    EXPECT_EQ(Panel.Controls(1), Under);
    EXPECT_EQ(Panel.ControlAtPos({30, 30}, false), Under);
    Under->SetEnabled(false);
    EXPECT_EQ(Panel.ControlAtPos({30, 30}, false), Over);
    EXPECT_EQ(Panel.ControlAtPos({30, 30}, true), Under);
    Over->SendToBack();
    EXPECT_EQ(Panel.Controls(0), Over);
}

TEST_F(ControlTreeTest, TabOrderIsDenseAndRenumbers) {
    TBox Panel(nullptr);
    auto* A = new TBox(&Panel);
    A->SetParent(&Panel);
    auto* B = new TBox(&Panel);
    B->SetParent(&Panel);
    auto* C = new TBox(&Panel);
    C->SetParent(&Panel);
    C->SetTabOrder(0);
    EXPECT_EQ(C->TabOrder(), 0);
    EXPECT_EQ(A->TabOrder(), 1);
    EXPECT_EQ(B->TabOrder(), 2);
    A->SetTabOrder(99);
    EXPECT_EQ(A->TabOrder(), 2);
    EXPECT_EQ(B->TabOrder(), 1);
    // Hidden controls keep their numbers; a removed one gives its up.
    B->Hide();
    EXPECT_EQ(B->TabOrder(), 1);
    C->SetParent(nullptr);
    EXPECT_EQ(B->TabOrder(), 0);
    EXPECT_EQ(A->TabOrder(), 1);
    delete C;
}

// The main window's screen list walks the form's direct windowed children
// by TabOrder 0, 1, 2 ... and stops at a gap.
TEST_F(ControlTreeTest, TheScreenListWalksWindowedChildrenByTabOrder) {
    TForm* Form = MakeForm();
    const char* Names[] = {"bsSkinMainMenuBar1",
                           "bsSkinToolBar2",
                           "Panel1",
                           "Panel2",
                           "Panel3",
                           "Panel4",
                           "Panel5",
                           "Panel6"};
    std::vector<TBox*> Made;
    for (const char* Name : Names) {
        auto* Box = new TBox(Form);
        Box->SetName(Name);
        Box->SetParent(Form);
        Made.push_back(Box);
    }
    // A graphic child in between takes no number; hidden panels keep theirs.
    auto* Label = new TLeaf(Form);
    Label->SetParent(Form);
    Made[3]->Hide();
    Made[5]->Hide();
    Made[1]->SetTabOrder(0);
    Made[0]->SetTabOrder(0);
    std::vector<std::string> Walk;
    for (int Order = 0;; ++Order) {
        TWinControl* Found = nullptr;
        for (int I = 0; I < Form->ControlCount(); ++I)
            if (auto* W = dynamic_cast<TWinControl*>(Form->Controls(I));
                W && W->TabOrder() == Order)
                Found = W;
        if (!Found)
            break;
        Walk.push_back(Found->Name());
    }
    EXPECT_EQ(Walk, std::vector<std::string>(std::begin(Names), std::end(Names)));
}

TEST_F(ControlTreeTest, AnAutoSizedContainerFitsItsChildren) {
    TBox Panel(nullptr);
    Panel.SetBounds(0, 0, 300, 300);
    Child(&Panel, alNone, Bounds(10, 10, 50, 20));
    TControl* Far = Child(&Panel, alNone, Bounds(40, 60, 30, 30));
    Panel.SetAutoSize(true);
    EXPECT_EQ(Panel.Width(), 70);
    EXPECT_EQ(Panel.Height(), 90);
    Far->SetLeft(100);
    EXPECT_EQ(Panel.Width(), 130);
    Far->Hide();
    EXPECT_EQ(Panel.BoundsRect(), Rect(0, 0, 60, 30));
}

TEST_F(ControlTreeTest, ScrollByMovesWindowAndGraphicChildren) {
    TForm* Form = MakeForm();
    auto* Box = new TBox(Form);
    Box->SetBounds(0, 0, 200, 200);
    Box->SetParent(Form);
    TControl* Leaf = Child(Box, alNone, Bounds(10, 50, 20, 20));
    TControl* Win = Child(Box, alNone, Bounds(40, 50, 20, 20), true);
    Form->Show();
    Application->ProcessMessages();
    Box->ScrollBy(0, -30);
    EXPECT_EQ(Leaf->BoundsRect(), Bounds(10, 20, 20, 20));
    EXPECT_EQ(Win->BoundsRect(), Bounds(40, 20, 20, 20));
    TPoint P{0, 0};
    MapWindowPoints(static_cast<TWinControl*>(Win)->Handle(), Box->Handle(), &P, 1);
    EXPECT_EQ(P, (TPoint{40, 20}));
}
