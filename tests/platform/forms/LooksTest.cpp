// The plain looks: the hint window and the simple standard controls, checked
// by their key pixels (frames, marks, fills, where the text lies).
#include "platform/forms/ComCtrls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "tests/platform/forms/FormsTestSupport.h"

namespace {

// Counts the pixels of a client rectangle of a control that have a colour.
int CountOf(const std::function<std::uint32_t(int, int)>& Pixel, TRect R, std::uint32_t Colour) {
    int N = 0;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X)
            N += Pixel(X, Y) == Colour;
    return N;
}

// Counts the dark pixels (text on the light faces, whatever its smoothing).
int InkOf(const std::function<std::uint32_t(int, int)>& Pixel, TRect R) {
    int N = 0;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X) {
            std::uint32_t P = Pixel(X, Y);
            N += ((P >> 16) & 0xFF) < 0x80 && ((P >> 8) & 0xFF) < 0x80 && (P & 0xFF) < 0x80;
        }
    return N;
}

class TOpenTrackBar : public TTrackBar {
public:
    using TTrackBar::ChannelRect;
    using TTrackBar::TTrackBar;
};

} // namespace

class LooksTest : public TFormsTest {
protected:
    void SetUp() override {
        TFormsTest::SetUp();
        Form = MakeForm();
        Form->SetColor(clWhite);
    }
    template <class T> T* Add(TRect Bounds, TWinControl* Parent = nullptr) {
        auto* C = new T(Form);
        C->SetBoundsRect(Bounds);
        C->SetParent(Parent ? Parent : Form);
        return C;
    }
    void ShowForm() {
        Form->Show();
        Pump();
        FlushPresents();
    }
    // The pixel at a client point of a control, read from the screen
    // without pumping in between.
    std::function<std::uint32_t(int, int)> PixelsOf(TControl* C) {
        Pump();
        FlushPresents();
        return [this, C](int X, int Y) {
            TPoint P = C->ClientToScreen({X, Y});
            return Headless.ScreenPixel(P.X, P.Y);
        };
    }
    TForm* Form = nullptr;
};

TEST_F(LooksTest, TheHintWindowPaintsItsTextOnTheHintColourInsideABorder) {
    ShowForm();
    THintWindow Hint(nullptr);
    const std::string Text = "Convert all|";
    TRect R = Hint.CalcHintRect(300, Text, nullptr);
    OffsetRect(&R, 600, 500);
    Hint.ActivateHint(R, Text);
    ASSERT_TRUE(IsWindowVisible(Hint.Handle()));
    auto Pixel = PixelsOf(&Hint);
    TRect Client = Hint.ClientRect();
    TRect Window;
    GetWindowRect(Hint.Handle(), &Window);

    // The same text drawn by the graphics layer on the hint colour, inside
    // the 2-pixel margin.
    TBitmap Expected;
    Expected.SetSize(Client.Width(), Client.Height());
    TCanvas* C = Expected.Canvas();
    C->Brush()->SetColor(clInfoBk);
    C->FillRect(Client);
    C->Font()->Assign(Screen->HintFont());
    C->Font()->SetColor(clInfoText);
    C->Brush()->SetStyle(bsClear);
    TRect TextRect = Client;
    InflateRect(&TextRect, -2, -2);
    DrawText(C->Handle(), Text, -1, &TextRect, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
    int Differ = 0, Ink = 0;
    for (int Y = 0; Y < Client.Height(); ++Y)
        for (int X = 0; X < Client.Width(); ++X) {
            std::uint32_t Want = Rgb(C->Pixels(X, Y));
            Differ += Pixel(X, Y) != Want;
            Ink += Want != Rgb(clInfoBk);
        }
    EXPECT_GT(Ink, 20);
    EXPECT_EQ(Differ, 0);
    // The text lies on the hint colour: no white box of the DC behind it.
    EXPECT_EQ(CountOf(Pixel, Client, Rgb(clWhite)), 0);
    // The margin holds no text; the border around the client is dark.
    EXPECT_EQ(CountOf(Pixel, Rect(0, 0, Client.Right, 2), Rgb(clInfoBk)), 2 * Client.Width());
    EXPECT_EQ(Pixel(0, Client.Bottom - 1), Rgb(clInfoBk));
    TPoint Origin = Hint.ClientToScreen({0, 0});
    ASSERT_LT(Window.Left, Origin.X);
    EXPECT_EQ(Headless.ScreenPixel(Window.Left, Origin.Y + 3), Rgb(clWindowFrame));
    EXPECT_EQ(Headless.ScreenPixel(Window.Right - 1, Origin.Y + 3), Rgb(clWindowFrame));
}

TEST_F(LooksTest, AButtonIsRaisedPressedSunkenAndFramedWhenItAnswersEnter) {
    // The check box takes the focus when the form shows, so neither button
    // has it.
    Add<TCheckBox>(Bounds(200, 10, 75, 17));
    auto* Plain = Add<TButton>(Bounds(10, 10, 75, 25));
    Plain->SetCaption("OK");
    auto* Default = Add<TButton>(Bounds(100, 10, 75, 25));
    Default->SetDefault(true);
    ShowForm();
    {
        // Raised: light outside top-left, dark outside bottom-right, the face
        // in between, the caption in the middle.
        auto P = PixelsOf(Plain);
        EXPECT_EQ(P(0, 0), Rgb(cl3DLight));
        EXPECT_EQ(P(74, 24), Rgb(cl3DDkShadow));
        EXPECT_EQ(P(1, 1), Rgb(clBtnHighlight));
        EXPECT_EQ(P(73, 23), Rgb(clBtnShadow));
        EXPECT_EQ(P(5, 12), Rgb(clBtnFace));
        EXPECT_GT(InkOf(P, Rect(25, 5, 50, 20)), 5);
        EXPECT_EQ(InkOf(P, Rect(3, 3, 20, 22)), 0);
    }
    {
        // The button that answers Enter wears a frame outside its edge.
        auto P = PixelsOf(Default);
        EXPECT_EQ(P(0, 0), Rgb(clWindowFrame));
        EXPECT_EQ(P(74, 24), Rgb(clWindowFrame));
        EXPECT_EQ(P(1, 1), Rgb(cl3DLight));
    }
    // Focused, the plain button takes the frame from the default one and
    // shows a dotted focus rectangle inside its edge.
    Plain->SetFocus();
    {
        auto P = PixelsOf(Plain);
        EXPECT_EQ(P(0, 0), Rgb(clWindowFrame));
        EXPECT_EQ(P(1, 1), Rgb(cl3DLight));
        EXPECT_LT(CountOf(P, Rect(10, 5, 60, 6), Rgb(clBtnFace)), 50);
        EXPECT_EQ(CountOf(P, Rect(10, 6, 20, 7), Rgb(clBtnFace)), 10);
        EXPECT_EQ(PixelsOf(Default)(0, 0), Rgb(cl3DLight));
    }
    // Held down: sunken.
    TPoint At = ScreenOf(Plain, 30, 12);
    Headless.MovePointer(At.X, At.Y);
    Headless.Press();
    {
        auto P = PixelsOf(Plain);
        EXPECT_EQ(P(1, 1), Rgb(clBtnShadow));
        EXPECT_EQ(P(73, 23), Rgb(clBtnHighlight));
    }
    Headless.Release();
    EXPECT_EQ(PixelsOf(Plain)(1, 1), Rgb(cl3DLight));
}

TEST_F(LooksTest, CheckBoxesAndRadioButtonsShowTheirMarks) {
    struct TRow {
        bool Radio;
        bool Checked;
        bool Enabled;
    };
    const TRow Rows[] = {{false, false, true}, {false, true, true}, {false, true, false},
                         {true, false, true},  {true, true, true},  {true, true, false}};
    std::vector<TButtonControl*> Controls;
    int Top = 10;
    for (const TRow& Row : Rows) {
        TButtonControl* C = nullptr;
        if (Row.Radio) {
            // Each radio button on its own panel, so the checks do not
            // exclude each other.
            auto* Holder = Add<TPanel>(Bounds(10, Top, 120, 17));
            Holder->SetBevelOuter(bvNone);
            auto* R = Add<TRadioButton>(Bounds(0, 0, 120, 17), Holder);
            R->SetChecked(Row.Checked);
            C = R;
        } else {
            auto* B = Add<TCheckBox>(Bounds(10, Top, 120, 17));
            B->SetChecked(Row.Checked);
            C = B;
        }
        C->SetCaption("Mark");
        C->SetEnabled(Row.Enabled);
        C->SetColor(clWhite);
        Controls.push_back(C);
        Top += 25;
    }
    ShowForm();
    for (std::size_t I = 0; I < std::size(Rows); ++I) {
        const TRow& Row = Rows[I];
        SCOPED_TRACE(testing::Message() << "row " << I);
        auto P = PixelsOf(Controls[I]);
        // The 13-pixel box sits at the left, centred in the height; the
        // caption right of it.
        const TRect Box = Bounds(0, 2, 13, 13);
        TRect Middle = Box;
        InflateRect(&Middle, -3, -3);
        const std::uint32_t Face = Row.Enabled ? Rgb(clWindow) : Rgb(clBtnFace);
        const std::uint32_t Mark = Row.Enabled ? Rgb(clWindowText) : Rgb(clGrayText);
        if (Row.Radio) {
            EXPECT_EQ(P(6, 2), Rgb(clBtnShadow));
            EXPECT_EQ(P(6, 4), Face);
            EXPECT_EQ(P(6, 8), Row.Checked ? Mark : Face);
        } else {
            EXPECT_EQ(P(0, 2), Rgb(clBtnShadow));
            EXPECT_EQ(P(1, 3), Rgb(cl3DDkShadow));
            EXPECT_EQ(P(12, 14), Rgb(clBtnHighlight));
            EXPECT_EQ(P(3, 4), Face);
            EXPECT_EQ(CountOf(P, Middle, Mark) > 5, Row.Checked);
        }
        EXPECT_EQ(InkOf(P, Rect(14, 0, 120, 17)) > 5, Row.Enabled);
        EXPECT_EQ(P(100, 8), Rgb(clWhite));
    }
}

TEST_F(LooksTest, PanelsAndBevelsDrawTheirEdgesByStyle) {
    auto* Raised = Add<TPanel>(Bounds(10, 10, 100, 40));
    Raised->SetCaption("Mid");
    auto* Lowered = Add<TPanel>(Bounds(10, 60, 100, 40));
    Lowered->SetBevelOuter(bvLowered);
    Lowered->SetColor(clYellow);
    auto* Box = Add<TBevel>(Bounds(150, 10, 60, 30));
    Box->SetShape(bsBox);
    Box->SetStyle(bsLowered);
    auto* Line = Add<TBevel>(Bounds(150, 60, 60, 30));
    Line->SetShape(bsTopLine);
    Line->SetStyle(bsRaised);
    ShowForm();

    auto R = PixelsOf(Raised);
    EXPECT_EQ(R(0, 0), Rgb(clBtnHighlight));
    EXPECT_EQ(R(99, 39), Rgb(clBtnShadow));
    EXPECT_EQ(R(5, 5), Rgb(clBtnFace));
    // The caption is centred: ink in the middle, none near the ends.
    EXPECT_GT(InkOf(R, Rect(35, 10, 65, 30)), 5);
    EXPECT_EQ(InkOf(R, Rect(2, 2, 25, 38)), 0);
    EXPECT_EQ(InkOf(R, Rect(75, 2, 98, 38)), 0);
    // The caption lies on the face: no white box of the DC behind it.
    EXPECT_EQ(CountOf(R, Rect(2, 2, 98, 38), Rgb(clWhite)), 0);

    auto L = PixelsOf(Lowered);
    EXPECT_EQ(L(0, 0), Rgb(clBtnShadow));
    EXPECT_EQ(L(99, 39), Rgb(clBtnHighlight));
    EXPECT_EQ(L(50, 20), Rgb(clYellow));

    auto B = PixelsOf(Box);
    EXPECT_EQ(B(0, 0), Rgb(clBtnShadow));
    EXPECT_EQ(B(59, 29), Rgb(clBtnHighlight));
    // A bevel is a frame: the form shows through.
    EXPECT_EQ(B(30, 15), Rgb(clWhite));

    auto T = PixelsOf(Line);
    EXPECT_EQ(T(30, 0), Rgb(clBtnHighlight));
    EXPECT_EQ(T(30, 1), Rgb(clBtnShadow));
    EXPECT_EQ(T(30, 15), Rgb(clWhite));
    EXPECT_EQ(T(30, 29), Rgb(clWhite));
    EXPECT_EQ(T(0, 15), Rgb(clWhite));
}

TEST_F(LooksTest, TrackBarProgressBarAndSplitterShowTheirState) {
    auto* Track = Add<TOpenTrackBar>(Bounds(10, 10, 200, 45));
    Track->SetMax(100);
    Track->SetFrequency(25);
    Track->SetTickMarks(tmBoth);
    Track->SetPosition(50);
    auto* Progress = Add<TProgressBar>(Bounds(10, 80, 204, 20));
    Progress->SetPosition(25);
    auto* Left = Add<TPanel>(Bounds(0, 0, 60, 10));
    Left->SetAlign(alLeft);
    auto* Split = Add<TSplitter>(Bounds(60, 0, 5, 10));
    Split->SetAlign(alLeft);
    Split->SetColor(clRed);
    ShowForm();

    auto T = PixelsOf(Track);
    TRect Channel = Track->ChannelRect();
    TRect Thumb = Track->ThumbRect();
    // The sunken channel, the raised thumb at the middle of it.
    EXPECT_EQ(T(Channel.Left + 5, Channel.Top), Rgb(clBtnShadow));
    EXPECT_EQ(T(Channel.Left + 5, Channel.Bottom - 1), Rgb(clBtnHighlight));
    EXPECT_EQ((Thumb.Left + Thumb.Right) / 2, Channel.Left + Channel.Width() / 2);
    EXPECT_EQ(T(Thumb.Left, Thumb.Top), Rgb(cl3DLight));
    EXPECT_EQ(T(Thumb.Right - 1, Thumb.Bottom - 1), Rgb(cl3DDkShadow));
    // Ticks every 25 on both sides, nothing between them.
    for (int V = 0; V <= 100; V += 25) {
        int X = Channel.Left + V * Channel.Width() / 100;
        EXPECT_EQ(T(X, Thumb.Bottom + 3), Rgb(clBtnText)) << V;
        EXPECT_EQ(T(X, Thumb.Top - 3), Rgb(clBtnText)) << V;
    }
    EXPECT_EQ(CountOf(T,
                      Rect(Channel.Left + 3, Thumb.Bottom + 2, Channel.Left + 40, Thumb.Bottom + 5),
                      Rgb(clBtnText)),
              0);

    // A quarter of the inner width filled with the highlight.
    auto P = PixelsOf(Progress);
    EXPECT_EQ(P(0, 0), Rgb(clBtnShadow));
    EXPECT_EQ(CountOf(P, Rect(2, 10, 202, 11), Rgb(clHighlight)), 50);
    EXPECT_EQ(P(2, 10), Rgb(clHighlight));
    EXPECT_EQ(P(60, 10), Rgb(clBtnFace));

    auto S = PixelsOf(Split);
    EXPECT_EQ(S(2, Split->Height() / 2), Rgb(clRed));
    Split->SetBeveled(true);
    auto SB = PixelsOf(Split);
    EXPECT_EQ(SB(0, 5), Rgb(clBtnHighlight));
    EXPECT_EQ(SB(4, 5), Rgb(clBtnShadow));
    EXPECT_EQ(SB(2, 5), Rgb(clRed));
}
