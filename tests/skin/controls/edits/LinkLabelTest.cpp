// The link label: hover colours, the click that opens the address, measuring.
#include "platform/win/Windows.h"
#include "tests/skin/controls/edits/EditsTestSupport.h"

#include <algorithm>
#include <array>

namespace skinctl {
namespace {

bool Near(std::uint32_t A, std::uint32_t B) {
    for (int Shift : {0, 8, 16})
        if (std::abs(int((A >> Shift) & 0xFF) - int((B >> Shift) & 0xFF)) > 40)
            return false;
    return true;
}

class LinkLabelTest : public TEditsTest {
protected:
    TbsSkinLinkLabel* Label() {
        ShownForm();
        auto* L = new TbsSkinLinkLabel(Form);
        L->SetParent(Form);
        L->SetBounds(10, 10, 150, 30);
        L->SetCaption("link");
        L->Font()->SetColor(clBlack);
        return L;
    }
    // Whether any pixel of the label's first 60 x 30 is near Colour.
    bool Shows(TControl* L, std::uint32_t Colour) {
        for (int X = 0; X < 60; ++X)
            for (int Y = 0; Y < 30; ++Y)
                if (Near(PixelOf(L, X, Y), Colour))
                    return true;
        return false;
    }
};

TEST_F(LinkLabelTest, PlainTextTurnsBlueUnderThePointer) {
    TbsSkinLinkLabel* L = Label();
    L->SetUseSkinFont(false);
    Pump();
    EXPECT_TRUE(Shows(L, 0x000000));
    EXPECT_FALSE(Shows(L, 0x0000E0));
    EXPECT_FALSE(Shows(L, 0x0000E0));
    L->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(L->MouseIn());
    EXPECT_TRUE(Shows(L, 0x0000E0));
    L->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(Shows(L, 0x0000E0));
}

TEST_F(LinkLabelTest, AClickRunsOnClickThenOpensTheAddress) {
    for (const char* URL : {"https://example.org/", ""}) {
        TbsSkinLinkLabel* L = Label();
        L->SetURL(URL);
        std::vector<std::string> Log;
        const std::size_t OpenedBefore = Headless.Opened().size();
        L->OnClick = [&](TObject*) {
            Log.push_back("click, opened " +
                          std::to_string(Headless.Opened().size() - OpenedBefore));
        };
        Pump();
        TPoint P = L->ClientToScreen({5, 5});
        Headless.Click(P.X, P.Y);
        Pump();
        EXPECT_EQ(Log, std::vector<std::string>{"click, opened 0"}) << URL;
        if (*URL) {
            ASSERT_EQ(Headless.Opened().size(), OpenedBefore + 1);
            EXPECT_EQ(Headless.Opened().back(), URL);
        } else {
            EXPECT_EQ(Headless.Opened().size(), OpenedBefore);
        }
        delete Form;
    }
}

TEST_F(LinkLabelTest, AutoSizeWithAnEmptyCaptionIsOneLineHighPlusTheGlow) {
    TbsSkinLinkLabel* L = Label();
    L->SetCaption("");
    L->SetAutoSize(true);
    const int Line = L->Height();
    EXPECT_GT(Line, 5);
    L->SetGlowEffect(true);
    L->SetGlowSize(6);
    L->SetCaption("x");
    L->SetCaption("");
    EXPECT_EQ(L->Height(), Line + 6);
}

// The ink of a label: pixels near a colour within its first 100 x 40.
struct TInk {
    int Count = 0;
    TRect Box{1000, 1000, -1, -1};
};
class LinkLabelSkinTest : public LinkLabelTest {
protected:
    static constexpr TColor Normal = 0x0000C0, Active = 0xC00000;
    void SetUp() override {
        LinkLabelTest::SetUp();
        testskin::TTestSkin S = EditSkin();
        S.AddControl("stdlabel", "testlabel",
                     {"fontname=Arial", "fontheight=16", "fontcolor=" + std::to_string(Normal),
                      "activefontcolor=" + std::to_string(Active)});
        UseSkin(S);
    }
    TbsSkinLinkLabel* SkinnedLabel(bool Glow) {
        TbsSkinLinkLabel* L = Label();
        L->SetAutoSize(false);
        L->SetBounds(10, 10, 100, 40);
        L->SetGlowEffect(Glow);
        L->SetGlowSize(6);
        L->SetSkinDataName("testlabel");
        L->SetSkinData(Data.get());
        Pump();
        return L;
    }
    // Whether a pixel lies at least Share of the way from the ground (the
    // label's corner) to Colour and near that line: smoothed text of that
    // colour.
    bool IsInk(TControl* L, int X, int Y, std::uint32_t Colour, double Share) {
        auto Channels = [](std::uint32_t V) {
            return std::array<double, 3>{double((V >> 16) & 0xFF), double((V >> 8) & 0xFF),
                                         double(V & 0xFF)};
        };
        const auto G = Channels(PixelOf(L, 99, 39)), C = Channels(Colour);
        const auto P = Channels(PixelOf(L, X, Y));
        double Span = 0, Along = 0;
        for (int K = 0; K < 3; ++K) {
            Span += (C[K] - G[K]) * (C[K] - G[K]);
            Along += (P[K] - G[K]) * (C[K] - G[K]);
        }
        const double T = Span > 0 ? Along / Span : 0;
        double Off = 0;
        for (int K = 0; K < 3; ++K) {
            const double D = P[K] - (G[K] + T * (C[K] - G[K]));
            Off += D * D;
        }
        return T >= Share && Off <= 40 * 40;
    }
    TInk Ink(TControl* L, std::uint32_t Colour, double Share = 0.6) {
        TInk I;
        for (int X = 0; X < 100; ++X)
            for (int Y = 0; Y < 40; ++Y) {
                if (!IsInk(L, X, Y, Colour, Share))
                    continue;
                ++I.Count;
                I.Box = {std::min(I.Box.Left, X), std::min(I.Box.Top, Y), std::max(I.Box.Right, X),
                         std::max(I.Box.Bottom, Y)};
            }
        return I;
    }
    // The number of ink pixels in each of the 40 rows.
    std::vector<int> InkRows(TControl* L, std::uint32_t Colour) {
        std::vector<int> Rows(40);
        for (int Y = 0; Y < 40; ++Y)
            for (int X = 0; X < 100; ++X)
                Rows[std::size_t(Y)] += IsInk(L, X, Y, Colour, 0.6) ? 1 : 0;
        return Rows;
    }
};

TEST_F(LinkLabelSkinTest, SkinColoursUnderThePointerAndTheGlowBelowTheShiftedText) {
    TbsSkinLinkLabel* Flat = SkinnedLabel(false);
    EXPECT_GT(Ink(Flat, Rgb(Normal)).Count, 10);
    EXPECT_EQ(Ink(Flat, Rgb(Active)).Count, 0);
    const int FlatTop = Ink(Flat, Rgb(Normal)).Box.Top;
    Flat->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_GT(Ink(Flat, Rgb(Active)).Count, 10);
    EXPECT_EQ(Ink(Flat, Rgb(Normal)).Count, 0);
    delete Flat;

    // With the glow the text keeps its colour and sits GlowSize lower; the
    // glow in the active colour surrounds it only under the pointer.
    TbsSkinLinkLabel* Glowing = SkinnedLabel(true);
    EXPECT_EQ(Ink(Glowing, Rgb(Normal)).Box.Top, FlatTop + 6);
    EXPECT_EQ(Ink(Glowing, Rgb(Active), 0.3).Count, 0);
    Glowing->Perform(CM_MOUSEENTER, 0, 0);
    const TInk Text = Ink(Glowing, Rgb(Normal));
    EXPECT_GT(Text.Count, 10);
    // (the halo tints the text's smoothed top row)
    EXPECT_NEAR(Text.Box.Top, FlatTop + 6, 1);
    const TInk Halo = Ink(Glowing, Rgb(Active), 0.3);
    EXPECT_GT(Halo.Count, 10);
    EXPECT_LT(Halo.Box.Top, Text.Box.Top);
}

TEST_F(LinkLabelSkinTest, DisabledTextIsEngravedInTheSkinsOrTheSystemsColours) {
    for (bool Skinned : {false, true}) {
        SCOPED_TRACE(Skinned);
        TbsSkinLinkLabel* L = Skinned ? SkinnedLabel(false) : Label();
        L->SetEnabled(false);
        Pump();
        TColor Highlight = clBtnHighlight, Shadow = clBtnShadow;
        if (Skinned) {
            Highlight = Data->SkinColors()->cBtnHighLight();
            Shadow = Data->SkinColors()->cBtnShadow();
        }
        const TInk Light = Ink(L, Rgb(Highlight)), Dark = Ink(L, Rgb(Shadow));
        ASSERT_GT(Light.Count, 5);
        ASSERT_GT(Dark.Count, 5);
        // The highlight copy lies one pixel right and down of the shadow text.
        // (its bottom row shows below the shadow text; at the right the
        // shadow's smoothed end may cover it)
        EXPECT_GE(Light.Box.Right, Dark.Box.Right);
        EXPECT_EQ(Light.Box.Bottom, Dark.Box.Bottom + 1);
        delete Form;
    }
}

TEST_F(LinkLabelSkinTest, PlainLinksAreUnderlinedUnlessUnderLineIsOffWhileEnabled) {
    // An underline is a row of ink nearly as wide as the text.
    struct {
        bool UnderLine, Enabled, Underlined;
    } Rows[] = {{true, true, true}, {false, true, false}, {false, false, true}};
    for (const auto& R : Rows) {
        SCOPED_TRACE(std::to_string(R.UnderLine) + " " + std::to_string(R.Enabled));
        TbsSkinLinkLabel* L = Label();
        L->SetAutoSize(false);
        L->SetBounds(10, 10, 100, 40);
        L->SetUseUnderLine(R.UnderLine);
        L->SetEnabled(R.Enabled);
        Pump();
        const std::uint32_t Colour = R.Enabled ? Rgb(clBlack) : Rgb(clBtnShadow);
        const std::vector<int> InRows = InkRows(L, Colour);
        const TInk All = Ink(L, Colour);
        const int Width = All.Box.Right - All.Box.Left + 1;
        const int Widest = *std::max_element(InRows.begin(), InRows.end());
        EXPECT_EQ(Widest >= Width * 8 / 10, R.Underlined) << Widest << " of " << Width;
        delete Form;
    }
}

} // namespace
} // namespace skinctl
