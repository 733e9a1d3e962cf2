// The panel over the client area of an inactive form: its picture, taken
// from the form's back buffer, blurred or veiled.
#include "platform/win/Windows.h"
#include "skin/model/bsEffects.Bitmap.h"
#include "skin/model/bsEffects.Glow.h"
#include "tests/skin/forms/SkinFormFixture.h"

namespace skinform {
namespace {

using SkinFormInactivePanel = SkinFormFixture;

// A coloured block on the client so that a blur changes pixels.
class TBlock : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    void Paint() override {
        Canvas()->Brush()->SetColor(RGB(200, 20, 20));
        Canvas()->FillRect(ClientRect());
    }
};

// The client's pixels as a window DC reads them now.
std::unique_ptr<TbsBitmap> ClientPicture(TForm* F) {
    auto B = std::make_unique<TbsBitmap>();
    B->SetSize(F->ClientWidth(), F->ClientHeight());
    const HDC DC = GetDC(F->Handle());
    BitBlt(B->DC(), 0, 0, B->Width(), B->Height(), DC, 0, 0, SRCCOPY);
    ReleaseDC(F->Handle(), DC);
    return B;
}

// Colours without alpha: the panel's picture is drawn opaque.
bool SameColours(const TbsBitmap& A, const TbsBitmap& B, std::string& Where) {
    if (A.Width() != B.Width() || A.Height() != B.Height()) {
        Where = "sizes differ";
        return false;
    }
    for (int Y = 0; Y < A.Height(); ++Y)
        for (int X = 0; X < A.Width(); ++X)
            if ((*A.PixelPtr(X, Y) & 0xFFFFFF) != (*B.PixelPtr(X, Y) & 0xFFFFFF)) {
                Where = std::to_string(X) + "," + std::to_string(Y);
                return false;
            }
    return true;
}

TForm* FormWithBlock(SkinFormFixture& T, TbsClientInActiveEffect Effect, TbsSkinData* Skin) {
    TForm* F = nullptr;
    (void)T;
    F = new TForm(nullptr);
    F->SetBounds(100, 100, 300, 200);
    auto* C = new TbsSkinForm(F);
    if (Skin)
        C->SetSkinData(Skin);
    C->SetClientInActiveEffect(true);
    C->SetClientInActiveEffectType(Effect);
    auto* Block = new TBlock(F);
    Block->SetBounds(10, 10, 60, 40);
    Block->SetParent(F);
    F->Show();
    Application->ProcessMessages();
    return F;
}

TEST_F(SkinFormInactivePanel, TheBlurredPanelHoldsTheClientBlurredWithRadiusThree) {
    for (bool Compositor : {true, false}) {
        SCOPED_TRACE(Compositor ? "compositor" : "no compositor");
        Headless.SetHasCompositor(Compositor);
        TForm* F = FormWithBlock(*this, bsieBlur, LoadSkin(FrameSkin()));
        TbsSkinForm* C = Component(F);
        auto Expected = ClientPicture(F);
        BlurBitmap(Expected.get(), 3);

        F->Perform(WM_NCACTIVATE, 0, 0);
        ASSERT_NE(C->FInActivePanel, nullptr);
        TbsClientInActivePanel* Panel = C->FInActivePanel;
        EXPECT_TRUE(Panel->Visible());
        EXPECT_EQ(Panel->Parent(), F);
        EXPECT_EQ(Panel->BoundsRect(), (TRect{0, 0, F->ClientWidth(), F->ClientHeight()}));
        ASSERT_TRUE(Panel->Buffer);
        std::string Where;
        EXPECT_TRUE(SameColours(*Panel->Buffer, *Expected, Where)) << Where;
        // And that is what the form shows now.
        Application->ProcessMessages();
        EXPECT_TRUE(SameColours(*ClientPicture(F), *Expected, Where)) << "shown: " << Where;

        // Deactivated again: the old panel goes first.
        F->Perform(WM_NCACTIVATE, 0, 0);
        int Panels = 0;
        for (int I = 0; I < F->ControlCount(); ++I)
            Panels += dynamic_cast<TbsClientInActivePanel*>(F->Controls(I)) != nullptr;
        EXPECT_EQ(Panels, 1);

        F->Perform(WM_NCACTIVATE, 1, 0);
        EXPECT_EQ(C->FInActivePanel, nullptr);
        for (int I = 0; I < F->ControlCount(); ++I)
            EXPECT_EQ(dynamic_cast<TbsClientInActivePanel*>(F->Controls(I)), nullptr);
        delete F;
    }
}

TEST_F(SkinFormInactivePanel, TheVeilIsTheFormsBackgroundAtAlpha170OverTheClient) {
    TForm* F = FormWithBlock(*this, bsieSemiTransparent, LoadSkin(FrameSkin()));
    TbsSkinForm* C = Component(F);
    auto Under = ClientPicture(F);
    TbsBitmap Background;
    Background.SetSize(Under->Width(), Under->Height());
    F->Perform(WM_ERASEBKGND, WPARAM(Background.DC()), 0);

    F->Perform(WM_NCACTIVATE, 0, 0);
    ASSERT_NE(C->FInActivePanel, nullptr);
    ASSERT_TRUE(C->FInActivePanel->Buffer);
    TbsBitmap* Shown = C->FInActivePanel->Buffer.get();
    // Inside the block the client differs from the background: the blend
    // shows there, within one step of rounding.
    for (TPoint P : {TPoint{30, 25}, TPoint{150, 100}}) {
        const TbsColor U = *Under->PixelPtr(P.X, P.Y), B = *Background.PixelPtr(P.X, P.Y),
                       S = *Shown->PixelPtr(P.X, P.Y);
        for (int Shift : {0, 8, 16}) {
            const int Want = (((B >> Shift) & 255) * 170 + ((U >> Shift) & 255) * 85) / 255;
            EXPECT_NEAR(int((S >> Shift) & 255), Want, 2) << P.X << "," << P.Y << " >> " << Shift;
        }
    }
    delete F;
}

TEST_F(SkinFormInactivePanel, NoPanelWithoutAClientAreaOrOnAHiddenForm) {
    TForm* F = FormWithBlock(*this, bsieBlur, nullptr);
    TbsSkinForm* C = Component(F);
    F->SetClientHeight(0);
    Application->ProcessMessages();
    ASSERT_EQ(F->ClientHeight(), 0);
    F->Perform(WM_NCACTIVATE, 0, 0);
    ASSERT_NE(C->FInActivePanel, nullptr) << "the panel object is made";
    EXPECT_FALSE(C->FInActivePanel->Visible());
    EXPECT_FALSE(C->FInActivePanel->Buffer);

    TbsClientInActivePanel Panel(nullptr);
    F->SetClientHeight(100);
    F->Hide();
    Panel.ShowPanel(F, bsieBlur);
    EXPECT_FALSE(Panel.Visible());
    EXPECT_EQ(Panel.Parent(), nullptr);
    delete F;
}

TEST_F(SkinFormInactivePanel, TakingThePictureLeavesPendingRepaintsPending) {
    TForm* F = FormWithBlock(*this, bsieBlur, LoadSkin(FrameSkin()));
    const TRect Part{100, 50, 150, 90};
    InvalidateRect(F->Handle(), &Part, TRUE);
    F->Perform(WM_NCACTIVATE, 0, 0);
    ASSERT_NE(Component(F)->FInActivePanel, nullptr);
    TRect Pending;
    EXPECT_TRUE(GetUpdateRect(F->Handle(), &Pending, FALSE));
    EXPECT_TRUE(PtInRect(&Pending, TPoint{120, 70}));
    F->Perform(WM_NCACTIVATE, 1, 0);
    Application->ProcessMessages();
    EXPECT_FALSE(GetUpdateRect(F->Handle(), &Pending, FALSE)) << "painted afresh";
    delete F;
}

} // namespace
} // namespace skinform
