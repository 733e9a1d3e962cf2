// The simple standard controls and the image list.
#include "platform/forms/ComCtrls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/StdCtrls.h"
#include "tests/platform/forms/FormsTestSupport.h"

class StandardControlsTest : public TFormsTest {
protected:
    void SetUp() override {
        TFormsTest::SetUp();
        Form = MakeForm();
    }
    template <class T> T* Add(TRect Bounds, TWinControl* Parent = nullptr) {
        auto* C = new T(Form);
        C->SetBoundsRect(Bounds);
        C->SetParent(Parent ? Parent : Form);
        return C;
    }
    TForm* Form = nullptr;
};

TEST_F(StandardControlsTest, CheckBoxAndRadioButtonsReportStateChanges) {
    auto* Check = Add<TCheckBox>(Bounds(10, 10, 100, 17));
    int Clicks = 0;
    Check->OnClick = [&](TObject*) { ++Clicks; };
    Check->SetChecked(true);
    Check->SetChecked(true);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Check->State(), cbChecked);

    auto* A = Add<TRadioButton>(Bounds(10, 40, 100, 17));
    auto* B = Add<TRadioButton>(Bounds(10, 60, 100, 17));
    auto* Other = Add<TPanel>(Bounds(200, 10, 100, 100));
    auto* C = Add<TRadioButton>(Bounds(5, 5, 80, 17), Other);
    int BClicks = 0;
    B->OnClick = [&](TObject*) { ++BClicks; };
    A->SetChecked(true);
    C->SetChecked(true);
    B->SetChecked(true);
    EXPECT_FALSE(A->Checked());
    EXPECT_TRUE(B->Checked());
    EXPECT_TRUE(C->Checked());
    EXPECT_EQ(BClicks, 1);

    // The user's click cycles the states; grayed only when allowed.
    Form->Show();
    Pump();
    Check->SetAllowGrayed(true);
    Check->SetChecked(false);
    TPoint P = ScreenOf(Check, 5, 8);
    Headless.Click(P.X, P.Y);
    Pump();
    EXPECT_EQ(Check->State(), cbGrayed);
    Clock.Advance(1000);
    Headless.Click(P.X, P.Y);
    Pump();
    EXPECT_EQ(Check->State(), cbChecked);
}

TEST_F(StandardControlsTest, ALabelSizesItselfAndDrawsItsAccelerator) {
    auto* Label = Add<TLabel>(Bounds(10, 10, 10, 10));
    Label->SetCaption("&File");
    TRect Measure{0, 0, 1000, 0};
    HDC DC = CreateCompatibleDC(nullptr);
    SelectObject(DC, ToObj(Label->Font()->Handle()));
    DrawText(DC, "&File", -1, &Measure, DT_CALCRECT | DT_EXPANDTABS);
    DeleteDC(DC);
    EXPECT_EQ(Label->Width(), Measure.Width());
    EXPECT_EQ(Label->Height(), Measure.Height());
    int AccelWidth = Label->Width();
    Label->SetShowAccelChar(false);
    EXPECT_GT(Label->Width(), AccelWidth);

    // A right-aligned label keeps its right edge as it grows.
    auto* Right = Add<TLabel>(Bounds(100, 40, 10, 10));
    Right->SetAlignment(taRightJustify);
    Right->SetAutoSize(false);
    Right->SetWidth(50);
    Right->SetAutoSize(true);
    int Edge = Right->Left() + Right->Width();
    Right->SetCaption("a longer caption");
    EXPECT_EQ(Right->Left() + Right->Width(), Edge);

    // The accelerator is underlined: beside the same caption without a
    // prefix, only pixels under the "F" differ.
    auto* Plain = Add<TLabel>(Bounds(10, 80, 10, 10));
    Plain->SetCaption("File");
    for (TLabel* L : {Label, Plain}) {
        L->SetShowAccelChar(true);
        L->SetTransparent(false);
        L->SetColor(clWhite);
        L->Font()->SetColor(clBlack);
    }
    ASSERT_EQ(Plain->Width(), Label->Width());
    TRect F{0, 0, 1000, 0};
    DC = CreateCompatibleDC(nullptr);
    SelectObject(DC, ToObj(Label->Font()->Handle()));
    DrawText(DC, "F", -1, &F, DT_CALCRECT);
    DeleteDC(DC);
    Form->Show();
    Pump();
    int UnderF = 0, Elsewhere = 0;
    for (int Y = 0; Y < Label->Height(); ++Y)
        for (int X = 0; X < Label->Width(); ++X)
            if (PixelOf(Label, X, Y) != PixelOf(Plain, X, Y))
                ++(X <= F.Width() ? UnderF : Elsewhere);
    EXPECT_GT(UnderF, 0);
    EXPECT_EQ(Elsewhere, 0);
}

TEST_F(StandardControlsTest, ALabelDrawsInItsOwnFont) {
    // Each label's pixels equal its caption drawn with its font on a memory
    // bitmap of the same size; a big bold font and a small one both.
    struct TCase {
        int Size;
        TFontStyles Style;
    };
    const TCase Cases[] = {{28, TFontStyles{fsBold}}, {7, TFontStyles{}}};
    std::vector<TLabel*> Labels;
    int Y = 10;
    for (const TCase& Case : Cases) {
        auto* L = Add<TLabel>(Bounds(10, Y, 10, 10));
        L->Font()->SetSize(Case.Size);
        L->Font()->SetStyle(Case.Style);
        L->Font()->SetColor(clBlack);
        L->SetColor(clWhite);
        L->SetTransparent(false);
        L->SetCaption("Wg");
        Labels.push_back(L);
        Y += L->Height() + 10;
    }
    ASSERT_GT(Labels[0]->Height(), 2 * Labels[1]->Height());
    Form->Show();
    Pump();
    for (TLabel* L : Labels) {
        SCOPED_TRACE(L->Font()->Size());
        HDC DC = CreateCompatibleDC(nullptr);
        HBITMAP Bitmap = CreateCompatibleBitmap(DC, L->Width(), L->Height());
        HGDIOBJ OldBitmap = SelectObject(DC, ToObj(Bitmap));
        HGDIOBJ OldFont = SelectObject(DC, ToObj(L->Font()->Handle()));
        TRect R{0, 0, L->Width(), L->Height()};
        FillRect(DC, &R, HBRUSH(GetStockObject(WHITE_BRUSH)));
        SetBkMode(DC, TRANSPARENT);
        SetTextColor(DC, RGB(0, 0, 0));
        DrawText(DC, "Wg", -1, &R, DT_EXPANDTABS | DT_LEFT);
        int Differ = 0, Ink = 0;
        for (int PY = 0; PY < L->Height(); ++PY)
            for (int PX = 0; PX < L->Width(); ++PX) {
                COLORREF C = GetPixel(DC, PX, PY);
                std::uint32_t Want =
                    (std::uint32_t(GetRValue(C)) << 16) | (GetGValue(C) << 8) | GetBValue(C);
                Ink += Want != 0xFFFFFF;
                Differ += PixelOf(L, PX, PY) != Want;
            }
        SelectObject(DC, OldFont);
        SelectObject(DC, OldBitmap);
        DeleteObject(ToObj(Bitmap));
        DeleteDC(DC);
        EXPECT_GT(Ink, 0);
        EXPECT_EQ(Differ, 0);
    }
}

TEST_F(StandardControlsTest, ALabelGivesTheFocusToItsControlOnItsAccelerator) {
    auto* Label = Add<TLabel>(Bounds(10, 10, 10, 10));
    Label->SetCaption("&Name");
    auto* Target = Add<TCheckBox>(Bounds(10, 40, 100, 17));
    auto* First = Add<TCheckBox>(Bounds(10, 70, 100, 17));
    Label->SetFocusControl(Target);
    Form->Show();
    First->SetFocus();
    Pump();
    Headless.KeyDown(VK_MENU);
    Headless.KeyDown('N', "n");
    Headless.KeyUp('N');
    Headless.KeyUp(VK_MENU);
    Pump();
    EXPECT_TRUE(Target->Focused());
}

TEST_F(StandardControlsTest, ASplitterResizesItsNeighbourWithinItsLimits) {
    Form->SetClientWidth(400);
    Form->SetClientHeight(200);
    auto* Left = Add<TPanel>(Bounds(0, 0, 100, 200));
    Left->SetAlign(alLeft);
    auto* Splitter = Add<TSplitter>(Bounds(100, 0, 3, 200));
    Splitter->SetAlign(alLeft);
    Splitter->SetAutoSnap(false);
    auto* Rest = Add<TPanel>(Bounds(200, 0, 100, 200));
    Rest->SetAlign(alClient);
    Form->Show();
    Pump();
    ASSERT_EQ(Splitter->Left(), 100);
    auto Drag = [&](int ToX) {
        TPoint From = ScreenOf(Splitter, 1, 50);
        Headless.MovePointer(From.X, From.Y);
        Headless.Press();
        TPoint To = ScreenOf(Form, ToX, 50);
        Headless.MovePointer(To.X, To.Y);
        Headless.Release();
        Pump();
    };
    Drag(10);
    EXPECT_EQ(Left->Width(), 30);
    EXPECT_EQ(Splitter->Left(), 30);
    // Grabbed one pixel into the splitter: its left edge lands at 150.
    Drag(151);
    EXPECT_EQ(Left->Width(), 150);
    EXPECT_EQ(Rest->Left(), 153);
    Splitter->SetAutoSnap(true);
    Drag(10);
    EXPECT_EQ(Left->Width(), 0);
}

TEST_F(StandardControlsTest, TrackBarKeysMoveByTheirSizesAndReportOnce) {
    auto* Track = Add<TTrackBar>(Bounds(10, 10, 200, 45));
    Track->SetMax(128);
    Track->SetPageSize(10);
    Track->SetFrequency(20);
    Track->SetTickMarks(tmBoth);
    int Changes = 0;
    Track->OnChange = [&](TObject*) { ++Changes; };
    Form->Show();
    Track->SetFocus();
    Pump();
    Headless.KeyDown(VK_NEXT);
    Headless.KeyUp(VK_NEXT);
    Pump();
    EXPECT_EQ(Track->Position(), 10);
    EXPECT_EQ(Changes, 1);
    Headless.KeyDown(VK_END);
    Headless.KeyUp(VK_END);
    Pump();
    EXPECT_EQ(Track->Position(), 128);
    Track->SetPosition(500);
    EXPECT_EQ(Track->Position(), 128);
    EXPECT_EQ(Changes, 2);
    // Arrows belong to the track bar, not to the form's focus moves.
    Headless.KeyDown(VK_LEFT);
    Headless.KeyUp(VK_LEFT);
    Pump();
    EXPECT_EQ(Track->Position(), 127);
    EXPECT_TRUE(Track->Focused());
}

TEST_F(StandardControlsTest, ProgressBarStepsAndStaysInRange) {
    TProgressBar Bar(nullptr);
    Bar.SetMax(25);
    Bar.SetStep(10);
    Bar.StepIt();
    Bar.StepIt();
    EXPECT_EQ(Bar.Position(), 20);
    Bar.SetPosition(99);
    EXPECT_EQ(Bar.Position(), 25);
    Bar.SetPosition(-5);
    EXPECT_EQ(Bar.Position(), 0);
}

TEST_F(StandardControlsTest, ImageListDrawsDisabledItemsGreyed) {
    TImageList List(nullptr);
    int Changes = 0;
    TChangeLink Link;
    Link.OnChange = [&](TObject*) { ++Changes; };
    RegisterChanges(&List, &Link);
    TBitmap Strip;
    Strip.SetSize(32, 16);
    Strip.Canvas()->Brush()->SetColor(clRed);
    Strip.Canvas()->FillRect(Rect(0, 0, 16, 16));
    Strip.Canvas()->Brush()->SetColor(clFuchsia);
    Strip.Canvas()->FillRect(Rect(16, 0, 32, 16));
    Strip.Canvas()->Brush()->SetColor(clBlue);
    Strip.Canvas()->FillRect(Rect(20, 4, 28, 12));
    EXPECT_EQ(List.AddMasked(&Strip, clFuchsia), 0);
    EXPECT_EQ(List.Count(), 2);
    EXPECT_EQ(Changes, 1);

    TBitmap Target;
    Target.SetSize(64, 16);
    Target.Canvas()->Brush()->SetColor(clWhite);
    Target.Canvas()->FillRect(Rect(0, 0, 64, 16));
    List.Draw(Target.Canvas(), 0, 0, 0, true);
    List.Draw(Target.Canvas(), 16, 0, 0, false);
    List.Draw(Target.Canvas(), 32, 0, 1, true);
    EXPECT_EQ(Target.Canvas()->Pixels(8, 8), clRed);
    TColor Grey = Target.Canvas()->Pixels(24, 8);
    COLORREF G = COLORREF(Grey);
    EXPECT_NE(Grey, clRed);
    EXPECT_EQ(GetRValue(G), GetGValue(G));
    EXPECT_EQ(GetGValue(G), GetBValue(G));
    // The mask colour is transparent.
    EXPECT_EQ(Target.Canvas()->Pixels(33, 1), clWhite);
    EXPECT_EQ(Target.Canvas()->Pixels(40, 8), clBlue);

    List.Delete(0);
    EXPECT_EQ(Changes, 2);
    EXPECT_THROW(List.Delete(5), EInvalidOperation);
    UnRegisterChanges(&List, &Link);
    List.Clear();
    EXPECT_EQ(Changes, 2);
}

TEST_F(StandardControlsTest, ChangeLinksChainTheListsHandlerAndForgetAFreedList) {
    auto* List = new TImageList(nullptr);
    int Own = 0, Linked = 0;
    List->OnChange = [&](TObject*) { ++Own; };
    TChangeLink A, B;
    A.OnChange = [&](TObject*) { ++Linked; };
    B.OnChange = [&](TObject*) { ++Linked; };
    RegisterChanges(List, &A);
    RegisterChanges(List, &B);
    TBitmap Picture;
    Picture.SetSize(16, 16);
    List->Add(&Picture, nullptr);
    EXPECT_EQ(Own, 1);
    EXPECT_EQ(Linked, 2);
    {
        TChangeLink Gone;
        RegisterChanges(List, &Gone);
    }
    List->Add(&Picture, nullptr);
    EXPECT_EQ(Linked, 4);
    delete List;
    EXPECT_EQ(A.Sender(), nullptr);
    EXPECT_EQ(B.Sender(), nullptr);
}

TEST_F(StandardControlsTest, APanelsChildrenAlignInsideItsBevelsAndBorder) {
    auto* Panel = Add<TPanel>(Bounds(0, 0, 200, 100));
    Panel->SetBevelInner(bvLowered);
    Panel->SetBevelWidth(2);
    Panel->SetBorderWidth(3);
    auto* Inside = Add<TPanel>(Bounds(0, 0, 10, 10), Panel);
    Inside->SetAlign(alClient);
    // Outer bevel 2, border 3, inner bevel 2 on every side.
    EXPECT_EQ(Inside->BoundsRect(), Rect(7, 7, 193, 93));
    Panel->SetBevelOuter(bvNone);
    EXPECT_EQ(Inside->BoundsRect(), Rect(5, 5, 195, 95));
}

TEST_F(StandardControlsTest, AnImagePlacesItsPictureByStretchCentreAndProportion) {
    auto* Image = Add<TImage>(Bounds(0, 0, 100, 50));
    TBitmap Picture;
    Picture.SetSize(40, 40);
    Image->Picture()->SetGraphic(&Picture);
    struct TRow {
        bool Stretch, Center, Proportional;
        TRect Expected;
    };
    const TRow Rows[] = {
        {false, false, false, Rect(0, 0, 40, 40)}, {false, true, false, Rect(30, 5, 70, 45)},
        {true, false, false, Rect(0, 0, 100, 50)}, {true, false, true, Rect(0, 0, 50, 50)},
        {true, true, true, Rect(25, 0, 75, 50)},
    };
    for (const TRow& Row : Rows) {
        Image->SetStretch(Row.Stretch);
        Image->SetCenter(Row.Center);
        Image->SetProportional(Row.Proportional);
        EXPECT_EQ(Image->DestRect(), Row.Expected) << Row.Stretch << Row.Center << Row.Proportional;
    }
    // AutoSize takes the picture's size.
    Image->SetAutoSize(true);
    EXPECT_EQ(Image->Width(), 40);
    EXPECT_EQ(Image->Height(), 40);
}
