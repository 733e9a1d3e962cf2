// The caption's composed looks: activation frames, the cross-fade with the
// inactive effect, and the quick buttons drawn and operated on it.
#include "platform/win/Windows.h"
#include "tests/skin/forms/SkinFormFixture.h"

namespace skinform {
namespace {

using testskin::TTestSkin;

// A caption over (40, 5, 200, 25) of the frame; in cap.bmp its active look
// (0, 0, 160, 20), four frames stacked below it and four side by side to
// its right.
class SkinFormCaptionEffects : public SkinFormFixture {
protected:
    TTestSkin CaptionSkin(const testskin::TKeys& Extra, const testskin::TKeys& Info = {}) {
        TTestSkin Skin = FrameSkin(TFrameSkinOptions{}.WithoutObjects().WithFormInfo(Info));
        testskin::TTestPicture& P = Skin.AddPicture("cap.bmp", 800, 100, 24);
        P.AddRegion("active", {0, 0, 160, 20});
        for (int N = 1; N <= 4; ++N) {
            P.AddRegion("v" + std::to_string(N), {0, 20 * N, 160, 20 * N + 20});
            P.AddRegion("h" + std::to_string(N), {160 * N, 0, 160 * N + 160, 20});
        }
        testskin::TKeys Keys{"skinrect=40,5,200,25",
                             "activeskinrect=0,0,160,20",
                             "activepictureindex=" + std::to_string(Skin.PictureIndex("cap.bmp")),
                             "textrect=4,2,150,18",
                             "fontname=Arial",
                             "fontheight=14"};
        Keys.insert(Keys.end(), Extra.begin(), Extra.end());
        Skin.AddObject("caption", "caption", Keys);
        return Skin;
    }

    void Make(const TTestSkin& Skin) {
        Caps = Skin;
        F = MakeForm(300, 200, bsSizeable, LoadSkin(Skin), "");
        C = Component(F);
        Cap = dynamic_cast<TbsSkinCaptionObject*>(C->Object(C->GetIndex("caption")));
        ASSERT_NE(Cap, nullptr);
    }

    void Deactivate() {
        Headless.TakeFocusAway();
        Application->ProcessMessages();
        ASSERT_FALSE(F->Active());
    }
    void Activate() {
        F->SetFocus();
        Application->ProcessMessages();
        ASSERT_TRUE(F->Active());
    }

    // The region of cap.bmp (or of the frame) shown at the caption's right.
    std::string Shown() {
        auto B = PaintFrame(F);
        const std::uint32_t Pixel = PixelOf(B.get(), 190, 7);
        const auto& P = Caps.Picture("cap.bmp");
        for (const char* Name : {"active", "v1", "v2", "v3", "v4", "h1", "h2", "h3", "h4"})
            if (P.ColourOf(Name) == Pixel)
                return Name;
        if (Region("caption") == Pixel)
            return "frame";
        return "?";
    }

    TTestSkin Caps;
    TForm* F = nullptr;
    TbsSkinForm* C = nullptr;
    TbsSkinCaptionObject* Cap = nullptr;
};

TEST_F(SkinFormCaptionEffects, ActivationPlaysTheFramesThenTheActiveLook) {
    struct Case {
        const char* Rect;
        const char* Prefix;
    };
    for (const Case& K :
         {Case{"animateskinrect=0,20,160,100", "v"}, Case{"animateskinrect=160,0,800,20", "h"}}) {
        SCOPED_TRACE(K.Prefix);
        Make(CaptionSkin({K.Rect, "framecount=4", "animateinterval=50", "inactiveanimation=1"}));
        Deactivate();
        for (int I = 0; I < 20 && C->AnimateTimer->Enabled(); ++I)
            C->AnimateTimerStep(nullptr);
        ASSERT_FALSE(Cap->Active);
        ASSERT_EQ(Cap->CurrentFrame, 0);

        Activate();
        ASSERT_TRUE(Cap->Active);
        std::vector<std::string> Seen{Shown()};
        for (int I = 0; I < 10; ++I) {
            // The timer runs for as long as frames are due.
            EXPECT_EQ(C->AnimateTimer->Enabled(), I < 9) << I;
            C->AnimateTimerStep(nullptr);
            Seen.push_back(Shown());
        }
        const std::string P = K.Prefix;
        EXPECT_EQ(Seen,
                  (std::vector<std::string>{P + "1", P + "1", P + "2", P + "2", P + "3", P + "3",
                                            P + "4", P + "4", "active", "active", "active"}));

        Deactivate();
        EXPECT_EQ(Cap->CurrentFrame, 4);
        std::vector<int> Back;
        for (int I = 0; I < 8; ++I) {
            C->AnimateTimerStep(nullptr);
            Back.push_back(Cap->CurrentFrame);
        }
        EXPECT_EQ(Back, (std::vector<int>{4, 3, 3, 2, 2, 1, 1, 0}));
        delete F;
    }
}

TEST_F(SkinFormCaptionEffects, NoFrameCountNoFrames) {
    Make(CaptionSkin({"animateskinrect=0,20,160,100", "framecount=0"}));
    Cap->Active = true;
    Cap->CurrentFrame = 1;
    EXPECT_EQ(Shown(), "active");
}

TEST_F(SkinFormCaptionEffects, TheCrossFadeIsGreyWhileInactive) {
    Make(CaptionSkin({"morphing=1", "morphkind=mkdefault"},
                     {"autorenderinginactiveimage=1", "inactiveeffect=iegrayscale"}));
    Deactivate();
    Cap->SetMorphKf(0.4);
    auto B = PaintFrame(F);
    const std::uint32_t Pixel = PixelOf(B.get(), 190, 7);
    const int R = Pixel >> 16, G = (Pixel >> 8) & 255, Bl = Pixel & 255;
    EXPECT_NEAR(R, G, 1);
    EXPECT_NEAR(G, Bl, 1);
    // Between the two looks: neither the frame's caption nor the active one.
    EXPECT_NE(Pixel, Region("caption"));
    EXPECT_NE(Pixel, Caps.Picture("cap.bmp").ColourOf("active"));
}

class TClicks : public TObject {
public:
    void Click(TObject* Sender) { Senders.push_back(Sender); }
    std::vector<TObject*> Senders;
};

TEST_F(SkinFormCaptionEffects, QuickButtonsSitOnTheCaptionAndClickOnRelease) {
    TTestSkin Skin = CaptionSkin({});
    testskin::TTestPicture& P = Skin.AddPicture("tool.bmp", 40, 20, 24);
    P.AddRegion("hot", {0, 0, 20, 20});
    P.AddRegion("down", {20, 0, 40, 20});
    Skin.AddControl("button", "resizetoolbutton",
                    {"pictureindex=" + std::to_string(Skin.PictureIndex("tool.bmp")),
                     "skinrect=0,0,20,20", "activeskinrect=0,0,20,20", "downskinrect=20,0,40,20",
                     "clientrect=2,2,18,18", "lefttoppoint=2,2", "righttoppoint=18,2",
                     "leftbottompoint=2,18", "rightbottompoint=18,18"});
    Make(Skin);
    TImageList Images(nullptr);
    Images.SetWidth(16);
    Images.SetHeight(16);
    TBitmap Glyph;
    Glyph.SetSize(16, 16);
    Glyph.Canvas()->Brush()->SetColor(RGB(10, 200, 30));
    Glyph.Canvas()->FillRect(TRect{0, 0, 16, 16});
    Images.Add(&Glyph, nullptr);
    TClicks Clicks;
    const TRect TextBefore = Cap->TextArea();
    C->SetQuickImageList(&Images);
    for (int I = 0; I < 2; ++I) {
        TbsQuickButtonItem* Item = C->QuickButtons()->Add();
        Item->SetImageIndex(0);
        Item->OnClick = TNotifyEvent(&Clicks, &TClicks::Click);
    }
    EXPECT_EQ(Cap->TextArea().Left, TextBefore.Left + 48);

    Activate();
    auto B = PaintFrame(F);
    TbsQuickButtonItem* First = C->QuickButtons()->Items(0);
    TbsQuickButtonItem* Second = C->QuickButtons()->Items(1);
    const int Y = 5 + 20 / 2 - 16 / 2 - 2;
    EXPECT_EQ(First->ItemRect, (TRect{40, Y, 60, Y + 20}));
    EXPECT_EQ(Second->ItemRect, (TRect{64, Y, 84, Y + 20}));
    // Over the composed active caption as well.
    EXPECT_EQ(PixelOf(B.get(), 50, Y + 10), 0x0AC81Eu);
    EXPECT_EQ(PixelOf(B.get(), 74, Y + 10), 0x0AC81Eu);

    Cap->MouseMove(66, Y + 1);
    EXPECT_EQ(Cap->ActiveQuickButton, 1);
    EXPECT_TRUE(Second->Active);
    B = PaintFrame(F);
    EXPECT_EQ(PixelOf(B.get(), 65, Y + 1), P.ColourOf("hot"));
    EXPECT_EQ(PixelOf(B.get(), 41, Y + 1), Skin.Picture("cap.bmp").ColourOf("active"));

    Cap->MouseDown(42, Y + 1, mbLeft);
    EXPECT_TRUE(First->Down);
    B = PaintFrame(F);
    EXPECT_EQ(PixelOf(B.get(), 41, Y + 1), P.ColourOf("down"));
    Cap->MouseUp(66, Y + 1, mbLeft);
    EXPECT_FALSE(First->Down);
    ASSERT_EQ(Clicks.Senders.size(), 1u);
    EXPECT_EQ(Clicks.Senders[0], static_cast<TObject*>(Cap)) << "the second, sent by the caption";

    Cap->MouseLeave();
    EXPECT_EQ(Cap->ActiveQuickButton, -1);
    EXPECT_FALSE(Second->Active);
}

// A skin with its own quick-button element draws the hovered button from it,
// not from the tool button.
TEST_F(SkinFormCaptionEffects, TheQuickButtonElementComesBeforeTheToolButton) {
    TTestSkin Skin = CaptionSkin({});
    testskin::TTestPicture& P = Skin.AddPicture("quick.bmp", 40, 20, 24);
    P.AddRegion("tool", {0, 0, 20, 20});
    P.AddRegion("office", {20, 0, 40, 20});
    const std::string Index = "pictureindex=" + std::to_string(Skin.PictureIndex("quick.bmp"));
    const testskin::TKeys Corners{"clientrect=2,2,18,18", "lefttoppoint=2,2", "righttoppoint=18,2",
                                  "leftbottompoint=2,18", "rightbottompoint=18,18"};
    Skin.AddControl(
        "button", "resizetoolbutton",
        testskin::operator+
        (testskin::TKeys{Index, "skinrect=0,0,20,20", "activeskinrect=0,0,20,20"}, Corners));
    Skin.AddControl(
        "button", "officequickbutton",
        testskin::operator+
        (testskin::TKeys{Index, "skinrect=20,0,40,20", "activeskinrect=20,0,40,20"}, Corners));
    Make(Skin);
    TImageList Images(nullptr);
    Images.SetWidth(16);
    Images.SetHeight(16);
    C->SetQuickImageList(&Images);
    C->QuickButtons()->Add();
    Activate();
    PaintFrame(F);
    const TRect R = C->QuickButtons()->Items(0)->ItemRect;
    Cap->MouseMove(R.Left + 2, R.Top + 2);
    auto B = PaintFrame(F);
    EXPECT_EQ(PixelOf(B.get(), R.Left + 1, R.Top + 1), P.ColourOf("office"));
}

} // namespace
} // namespace skinform
