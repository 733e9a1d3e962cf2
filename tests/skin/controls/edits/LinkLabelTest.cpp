// The link label: hover colours, the click that opens the address, measuring.
#include "platform/win/Windows.h"
#include "tests/skin/controls/edits/EditsTestSupport.h"

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

} // namespace
} // namespace skinctl
