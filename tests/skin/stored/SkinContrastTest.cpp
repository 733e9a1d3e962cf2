// Text and meaningful glyphs of every stored skin are readable, measured
// here against every pixel they can stand on: enabled text 4.5:1, disabled
// text 2.5:1 and unlike the enabled colour, glyphs 3:1.
#include "skin/model/bsEffects.EffectBmp.h"
#include "tests/skin/stored/StoredSkinFixture.h"

#include <algorithm>

using namespace storedtest;

namespace {

class StoredSkinContrast : public TStoredSkinTest {
protected:
    // The smallest ratio of Colour against the pixels of R in Picture.
    static double Smallest(TBitmap& Picture, const TRect& R, TColor Colour) {
        double Min = 21;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                Min = std::min(Min, Contrast(Rgb(Colour), Pixel(Picture, X, Y)));
        return Min;
    }
    static TRect In(const TRect& Part, const TRect& Face) {
        return {Face.Left + Part.Left, Face.Top + Part.Top, Face.Left + Part.Right,
                Face.Top + Part.Bottom};
    }
    void Enabled(const std::string& Where, TBitmap* P, const TRect& R, TColor C) {
        ASSERT_NE(P, nullptr) << Where;
        EXPECT_GE(Smallest(*P, R, C), 4.5) << Where;
    }
    void Disabled(const std::string& Where, TBitmap* P, const TRect& R, TColor C, TColor Normal) {
        ASSERT_NE(P, nullptr) << Where;
        EXPECT_GE(Smallest(*P, R, C), 2.5) << Where;
        EXPECT_NE(C, Normal) << Where;
    }
    // The glyph's strongest pixel against the face at its bottom-left, or
    // at the middle of its left side for faces with corners of their own.
    void Glyph(const std::string& Where, TBitmap* P, const TRect& R, bool MidLeft = false) {
        ASSERT_NE(P, nullptr) << Where;
        const std::uint32_t Face = MidLeft ? Pixel(*P, R.Left + 2, (R.Top + R.Bottom) / 2)
                                           : Pixel(*P, R.Left, R.Bottom - 1);
        double Best = 1;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                Best = std::max(Best, Contrast(Face, Pixel(*P, X, Y)));
        EXPECT_GE(Best, 3.0) << Where;
    }
    TBitmap* Pic(int Index) { return Skin->ActivePicture(Index); }
};

} // namespace

TEST_P(StoredSkinContrast, ButtonsInEveryState) {
    for (const char* Name :
         {"button", "resizebutton", "resizetoolbutton", "toolbutton", "toolmenubutton"}) {
        auto* B = Control<TbsDataSkinButtonControl>(Name);
        ASSERT_NE(B, nullptr);
        TBitmap* P = Pic(B->PictureIndex);
        auto Face = [&](const TRect& S) { return In(B->ClRect, S.Width() > 0 ? S : B->SkinRect); };
        const std::string N = Name;
        Enabled(N + " normal", P, Face(B->SkinRect), B->FontColor);
        Enabled(N + " hot", P, Face(B->ActiveSkinRect), B->ActiveFontColor);
        Enabled(N + " pressed", P, Face(B->DownSkinRect), B->DownFontColor);
        Enabled(N + " focused", P, Face(B->FocusedSkinRect), B->FontColor);
        Disabled(N + " disabled", P, Face(B->DisabledSkinRect), B->DisabledFontColor, B->FontColor);
    }
}

TEST_P(StoredSkinContrast, FieldsListsAndMenus) {
    auto* E = Control<TbsDataSkinEditControl>("edit");
    Enabled("edit", Pic(E->PictureIndex), In(E->ClRect, E->SkinRect), E->FontColor);
    Enabled("edit hot", Pic(E->PictureIndex), In(E->ClRect, E->ActiveSkinRect), E->ActiveFontColor);
    auto* C = Control<TbsDataSkinComboBox>("combobox");
    TBitmap* CP = Pic(C->PictureIndex);
    Enabled("combo item", CP, In(C->ItemTextRect, C->SItemRect), C->FontColor);
    Enabled("combo hot item", CP, In(C->ItemTextRect, C->ActiveItemRect), C->ActiveFontColor);
    Enabled("combo focused item", CP, In(C->ItemTextRect, C->FocusItemRect), C->FocusFontColor);
    Glyph("combo button hot", CP, C->ActiveButtonRect);
    Glyph("combo button pressed", CP, C->DownButtonRect);
    auto* L = Control<TbsDataSkinListBox>("listbox");
    TBitmap* LP = Pic(L->PictureIndex);
    Enabled("list item", LP, In(L->ItemTextRect, L->SItemRect), L->FontColor);
    Enabled("list selected item", LP, In(L->ItemTextRect, L->ActiveItemRect), L->ActiveFontColor);
    for (const char* Name : {"listview", "treeview"}) {
        auto* V = Control<TbsDataSkinViewControl>(Name);
        EXPECT_GE(Contrast(Rgb(V->FontColor), Rgb(V->BGColor)), 4.5) << Name;
    }
    TbsSkinColors& S = *Skin->SkinColors();
    EXPECT_GE(Contrast(Rgb(S.cHighLightText()), Rgb(S.cHighLight())), 4.5);
    EXPECT_GE(Contrast(Rgb(S.cWindowText()), Rgb(S.cWindow())), 4.5);
    EXPECT_GE(Contrast(Rgb(S.cBtnText()), Rgb(S.cBtnFace())), 4.5);

    auto* M = Object<TbsDataSkinMenuItem>("menuitem");
    TBitmap* MP = Pic(M->ActivePictureIndex);
    Enabled("menu item", MP, In(M->TextRct, M->SkinRect), M->FontColor);
    Enabled("menu hot item", MP, In(M->TextRct, M->ActiveSkinRect), M->ActiveFontColor);
    Disabled("menu disabled item", MP, In(M->TextRct, M->ActiveSkinRect), M->UnEnabledFontColor,
             M->FontColor);
    for (const TRect& R : {M->CheckImageRect, M->ActiveCheckImageRect, M->RadioImageRect,
                           M->ActiveRadioImageRect, M->ArrowImageRect, M->ActiveArrowImageRect})
        Glyph("menu image", MP, R);
    auto* I = Object<TbsDataSkinMainMenuBarItem>("mainmenubaritem");
    TBitmap* IP = Pic(I->ActivePictureIndex);
    Enabled("menu bar item", IP, In(I->TextRct, I->SkinRect), I->FontColor);
    Enabled("menu bar item hot", IP, In(I->TextRct, I->ActiveSkinRect), I->ActiveFontColor);
    Enabled("menu bar item pressed", IP, In(I->TextRct, I->DownRect), I->DownFontColor);
    auto& H = *Skin->HintWindow;
    Enabled("hint", Pic(H.WindowPictureIndex), H.ClRect, H.FontColor);
}

// Labels, check boxes and radio boxes stand on the form, panels, group
// boxes and tool bars.
TEST_P(StoredSkinContrast, LabelsOnEverySurface) {
    std::vector<std::pair<TBitmap*, TRect>> Surfaces = {{Skin->FPicture.get(), Skin->ClRect}};
    for (const char* Name : {"panel", "groupbox", "toolpanel", "resizetoolpanel"}) {
        auto* P = Control<TbsDataSkinCustomControl>(Name);
        Surfaces.push_back({Pic(P->PictureIndex), In(P->ClRect, P->SkinRect)});
    }
    auto* Label = Control<TbsDataSkinStdLabelControl>("stdlabel");
    for (auto& [P, R] : Surfaces) {
        Enabled("label", P, R, Label->FontColor);
        Enabled("link hover", P, R, Label->ActiveFontColor);
        for (const char* Name : {"checkbox", "radiobox"}) {
            auto* C = Control<TbsDataSkinCheckRadioControl>(Name);
            Enabled(Name, P, R, C->FontColor);
            Disabled(Name, P, R, C->UnEnabledFontColor, C->FontColor);
        }
    }
    for (const char* Name : {"checkbox", "radiobox"}) {
        auto* C = Control<TbsDataSkinCheckRadioControl>(Name);
        for (const TRect& R : {C->CheckImageRect, C->ActiveCheckImageRect, C->GrayedCheckImageRect})
            Glyph(Name, Pic(C->PictureIndex), {R.Left + 3, R.Top + 2, R.Right - 3, R.Bottom - 2});
    }
    auto* G = Control<TbsDataSkinPanelControl>("groupbox");
    Enabled("group box caption", Pic(G->PictureIndex), In(G->CaptionRect, G->SkinRect),
            G->FontColor);
    auto* Sl = Control<TbsDataSkinSlider>("slider");
    TBitmap* SP = Pic(Sl->PictureIndex);
    const std::uint32_t Ruler = Pixel(*SP, (Sl->HRulerRect.Left + Sl->HRulerRect.Right) / 2,
                                      (Sl->HRulerRect.Top + Sl->HRulerRect.Bottom) / 2);
    const std::uint32_t Thumb = Pixel(*SP, Sl->HThumbRect.Left + Sl->HThumbRect.Width() / 4,
                                      (Sl->HThumbRect.Top + Sl->HThumbRect.Bottom) / 2);
    EXPECT_GE(Contrast(Ruler, Thumb), 3.0);
}

// The caption on the active bar, and on what an inactive form shows: the
// inactive picture, or the strip with its text after the inactive effect.
TEST_P(StoredSkinContrast, CaptionActiveAndInactive) {
    auto* Cap = Object<TbsDataSkinCaption>("caption");
    ASSERT_NE(Cap, nullptr);
    const TRect R = In(Cap->TextRct, Cap->SkinRect);
    Enabled("active caption", Skin->FPicture.get(), R, Cap->ActiveFontColor);
    if (!Skin->FInActivePicture->Empty()) {
        Enabled("inactive caption", Skin->FInActivePicture.get(), R, Cap->FontColor);
    } else {
        TbsEffectBmp Strip(R.Width() + 1, R.Height());
        const int Stride = Strip.Width * 3 + Strip.Width % 4;
        auto Put = [&](int X, int Y, std::uint32_t C) {
            BYTE* B = Strip.Bits + Y * Stride + X * 3;
            B[0] = BYTE(C), B[1] = BYTE(C >> 8), B[2] = BYTE(C >> 16);
        };
        for (int Y = 0; Y < R.Height(); ++Y) {
            for (int X = 0; X < R.Width(); ++X)
                Put(X, Y, Pixel(*Skin->FPicture, R.Left + X, R.Top + Y));
            Put(R.Width(), Y, Rgb(Cap->FontColor));
        }
        ASSERT_TRUE(Skin->InActiveEffect == ieGrayScale || Skin->InActiveEffect == ieDarkness);
        if (Skin->InActiveEffect == ieGrayScale)
            Strip.GrayScale();
        else
            Strip.ChangeDarkness(0.3);
        auto Get = [&](int X, int Y) {
            const BYTE* B = Strip.Bits + Y * Stride + X * 3;
            return std::uint32_t(B[2]) << 16 | std::uint32_t(B[1]) << 8 | B[0];
        };
        double Min = 21;
        for (int Y = 0; Y < R.Height(); ++Y)
            for (int X = 0; X < R.Width(); ++X)
                Min = std::min(Min, Contrast(Get(R.Width(), 0), Get(X, Y)));
        EXPECT_GE(Min, 4.5);
    }
    for (const char* Name :
         {"closebutton", "maxbutton", "minbutton", "rollupbutton", "sysmenubutton", "traybutton"}) {
        auto* B = Object<TbsDataSkinStdButton>(Name);
        TBitmap* P = Pic(B->ActivePictureIndex);
        for (const TRect& Look : {B->SkinRect, B->ActiveSkinRect, B->DownRect, B->InActiveSkinRect})
            Glyph(Name, P, Look, true);
    }
}

INSTANTIATE_TEST_SUITE_P(Stored, StoredSkinContrast, testing::Range(0, 11), SkinLabel);
