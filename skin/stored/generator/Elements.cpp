#include "skin/stored/generator/Elements.h"

#include "skin/stored/generator/Atlas.h"
#include "skin/stored/generator/Painter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace skingen {

namespace {

constexpr int FontHeight = 14;
// Where the caption button row begins: right of the frame picture's middle.
constexpr int ButtonsLeft = 82;
const char* const FontName = "Arial";

TFill FlatFill(TRgb C) {
    TFill F;
    F.Base = RgbToLch(C);
    return F;
}

TRect Sized(int W, int H) {
    return {0, 0, W, H};
}

TRect Inset(const TRect& R, int D) {
    return {R.Left + D, R.Top + D, R.Right - D, R.Bottom - D};
}

// The looks of one face: fill and border of a state.
struct TLook {
    TFill Fill;
    TRgb Border = 0;
    int BorderWidth = 1;
};

class TSkinBuilder {
public:
    TSkinBuilder(const TTheme& Theme, const TPalette& Palette)
        : T(Theme), P(Palette), D(std::make_unique<TbsSkinData>(nullptr)) {}

    std::unique_ptr<TbsSkinData> Build();

private:
    const TTheme& T;
    const TPalette& P;
    std::unique_ptr<TbsSkinData> D;
    std::array<TAtlas, pfCaptionButtons + 1> FAtlas{};
    std::array<TImage, pfFamilyCount> FWhole{};
    std::array<std::vector<bool>, 2> FMaskBits{}; // popup window, hint window
    std::vector<BYTE> FLayerGrey;

    // Bars and the tool bar: the surface colour in the theme's face style.
    TFill StyledSurface() const {
        TFill F = P.Face;
        F.Base = RgbToLch(P.Surface);
        return F;
    }
    TFill StyledBar() const { return StyledSurface(); }
    // The slider's ruler: light enough under a light theme's thumb.
    TRgb RulerColour() const {
        return P.Mode == TThemeMode::Light ? LchToRgb({0.88, 0.015, T.AccentHue}) : P.Border;
    }
    // Links on the surface: the accent, moved to keep 4.5:1.
    TRgb LinkColour() const { return P.Mode == TThemeMode::Light ? P.AccentDown : P.AccentHot; }

    int Radius() const { return T.Radius; }
    // Corner columns wide enough for the rounding and the border.
    int Margin() const { return std::max(Radius(), 2) + 1; }
    TRect Place(TPictureFamily F, const TImage& Image) { return FAtlas[F].Place(Image); }

    TImage FaceImage(int W, int H, TRgb Under, const TLook& L, int R) const {
        TImage I(W, H, Under);
        PaintFace(I, Sized(W, H), R, L.Border, L.BorderWidth, L.Fill);
        return I;
    }

    template <class E> E& AddControl(const std::string& Name) {
        auto Element = std::make_unique<E>(Name);
        E& Ref = *Element;
        D->CtrlList.push_back(std::move(Element));
        return Ref;
    }
    template <class E> E& AddObject(const std::string& Name) {
        auto Element = std::make_unique<E>(Name);
        E& Ref = *Element;
        D->ObjectList.push_back(std::move(Element));
        return Ref;
    }

    // Corner points and client rectangle of a W x H face with corner columns
    // MX wide and corner rows MY high; every side stretches, so rounded and
    // graded faces keep their look at any size.
    static void SetNinePart(TbsDataSkinCustomControl& E, int Picture, const TRect& R, int MX,
                            int MY) {
        const int W = R.Width(), H = R.Height();
        E.PictureIndex = Picture;
        E.SkinRect = R;
        E.LTPoint = {MX, MY};
        E.RTPoint = {W - MX, MY};
        E.LBPoint = {MX, H - MY};
        E.RBPoint = {W - MX, H - MY};
        E.ClRect = {MX, MY, W - MX, H - MY};
        E.LeftStretch = E.TopStretch = E.RightStretch = E.BottomStretch = true;
        E.StretchEffect = true;
        E.StretchType = bsstFull;
    }
    // Corner rows of a face of height H: enough for the rounding, but text
    // of the control's font keeps room in the client rectangle.
    int RowMargin(int H) const { return std::clamp((H - FontHeight) / 2, 1, Margin()); }

    template <class E> static void SetFont(E& Element, bool Bold = false) {
        Element.FontName = FontName;
        Element.FontHeight = FontHeight;
        Element.FontStyle = Bold ? TFontStyles{fsBold} : TFontStyles{};
    }
    static TColor C(TRgb Colour) { return TColor(ToColor(Colour)); }

    void Frame();
    void CaptionButtons();
    void Caption();
    void PopupMenu();
    void MainMenuBar();
    void HintWindow();
    void LayerFrame();
    void SkinColors();
    void PushButtons();
    void ToolButtons();
    void Containers();
    void CheckRadio();
    void ScrollBars();
    void Slider();
    void Labels();
    void Fields();
    void ComboBox();
    void ListBox();
    void Bars();

    void PushButton(const std::string& Name, int W, int H);
    void ToolButton(const std::string& Name, int W, int H, bool Menu);
    TbsDataSkinPanelControl& Panel(const std::string& Name, int W, int H, bool Framed);
    void CheckBox(const std::string& Name, bool Radio);
    void ScrollBar(const std::string& Name, bool Vertical);
    void UpDown(const std::string& Name, bool Vertical);
    void Splitter(const std::string& Name, bool Vertical);
    void Edit(TbsDataSkinEditControl& E, int W, int H, bool Button);
    TImage FrameImage(const TFill& Caption, bool Active) const;
    std::vector<bool> RoundMask(int W, int H, int R, bool TopOnly = false) const;
    void ComposePictures();
};

// ------------------------------------------------------------ frame

std::vector<bool> TSkinBuilder::RoundMask(int W, int H, int R, bool TopOnly) const {
    std::vector<bool> Inside(std::size_t(W) * H, true);
    if (R <= 0)
        return Inside;
    const TShape Shape = RoundRectShape(Sized(W, TopOnly ? H + R : H), R);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            Inside[std::size_t(Y) * W + X] = Shape(X + 0.5, Y + 0.5);
    return Inside;
}

// The frame picture at design size: caption bar, borders, a client part in
// the surface colour, and an outline that follows the mask's corners.
TImage TSkinBuilder::FrameImage(const TFill& Caption, bool Active) const {
    TImage I(FrameWidth, FrameHeight, P.Surface);
    I.FillRows({0, 0, FrameWidth, CaptionHeight}, Caption);
    const TRgb Side = Caption.Row(CaptionHeight - 1, CaptionHeight);
    I.Fill({0, CaptionHeight, FrameBorder, FrameHeight}, Side);
    I.Fill({FrameWidth - FrameBorder, CaptionHeight, FrameWidth, FrameHeight}, Side);
    I.Fill({0, FrameHeight - FrameBorder, FrameWidth, FrameHeight}, Side);
    const bool OnAccent =
        T.Caption == TCaptionStyle::Accent || T.Caption == TCaptionStyle::Gradient;
    const TRgb Outline = Active && OnAccent ? P.AccentDown : P.Border;
    // The client edge keeps forms apart from a caption of the surface colour.
    I.Fill({FrameBorder - 1, CaptionHeight, FrameBorder, FrameHeight - FrameBorder + 1}, P.Border);
    I.Fill({FrameWidth - FrameBorder, CaptionHeight, FrameWidth - FrameBorder + 1,
            FrameHeight - FrameBorder + 1},
           P.Border);
    I.Fill({FrameBorder - 1, FrameHeight - FrameBorder, FrameWidth - FrameBorder + 1,
            FrameHeight - FrameBorder + 1},
           P.Border);
    if (T.Caption == TCaptionStyle::Plain)
        I.Fill({FrameBorder - 1, CaptionHeight - 1, FrameWidth - FrameBorder + 1, CaptionHeight},
               P.Border);
    const std::vector<bool> In = RoundMask(FrameWidth, FrameHeight, Radius());
    auto Inside = [&](int X, int Y) {
        return X >= 0 && Y >= 0 && X < FrameWidth && Y < FrameHeight &&
               In[std::size_t(Y) * FrameWidth + X];
    };
    for (int Y = 0; Y < FrameHeight; ++Y)
        for (int X = 0; X < FrameWidth; ++X) {
            if (!Inside(X, Y))
                I.SetPixel(X, Y, P.Border);
            else if (!Inside(X - 1, Y) || !Inside(X + 1, Y) || !Inside(X, Y - 1) ||
                     !Inside(X, Y + 1))
                I.SetPixel(X, Y, Outline);
        }
    return I;
}

// The skinned form's frame: geometry as the frame painter and the window
// region maker stretch it (corner areas copied, sides stretched), the caption
// button row right of the picture's middle so it follows the right edge.
void TSkinBuilder::Frame() {
    D->SkinName = T.SkinName;
    D->SkinAuthor = "Ostrela";
    D->SkinComments = T.Comments;
    const TImage Active = FrameImage(P.Caption, true);
    D->FPicture = T.FrameBits == 8 ? ToBitmap8(Active) : ToBitmap24(Active);
    D->FPictureName = "frame.bmp";
    if (T.InActivePicture) {
        const TImage InActive = FrameImage(P.InActiveCaption, false);
        D->FInActivePicture = ToBitmap24(InActive);
        D->FInActivePictureName = "inactiveframe.bmp";
    }
    D->AutoRenderingInActiveImage = !T.InActivePicture;
    D->InActiveEffect = T.InActiveEffect;
    D->FMask = ToMask1(RoundMask(FrameWidth, FrameHeight, Radius()), FrameWidth, FrameHeight);
    D->FMaskName = "mask.bmp";
    // Corner rows reach past the rounding of the bottom corners, so the
    // stretched sides never repeat a piece of a curve.
    const int Bottom = FrameHeight - FrameBorder;
    const int CornerY = Bottom - std::max(0, Radius() + 2 - FrameBorder);
    D->ClRect = {FrameBorder, CaptionHeight, FrameWidth - FrameBorder, Bottom};
    D->LTPoint = {40, CaptionHeight};
    D->RTPoint = {ButtonsLeft, CaptionHeight};
    D->LBPoint = {40, CornerY};
    D->RBPoint = {ButtonsLeft, CornerY};
    D->HitTestLTPoint = D->LTPoint;
    D->HitTestRTPoint = D->RTPoint;
    D->HitTestLBPoint = D->LBPoint;
    D->HitTestRBPoint = D->RBPoint;
    D->MaskRectArea = D->ClRect;
    D->LeftStretch = D->TopStretch = D->RightStretch = D->BottomStretch = true;
    D->StretchEffect = false;
    D->BGPictureIndex = -1;
    D->MDIBGPictureIndex = -1;
    D->ButtonsRect = {ButtonsLeft, 5, FrameWidth - 6, 25};
    D->CaptionRect = {};
    D->ButtonsOffset = 2;
    D->BorderW = FrameBorder;
    D->FormMinWidth = 0;
}

// Caption buttons of the frame: read as standard buttons laid out in a row
// in ButtonsRect (SkinRectInAPicture), normal, hot, pressed and inactive
// looks cut from one active picture; maximize and roll-up add the looks of
// their restored state.
void TSkinBuilder::CaptionButtons() {
    constexpr int W = 24, H = 20;
    const int Top = D->ButtonsRect.Top;
    const bool Effect = !T.InActivePicture;
    auto Normal = [&](TGlyph G) {
        TImage I(W, H);
        for (int Y = 0; Y < H; ++Y)
            I.Fill({0, Y, W, Y + 1}, P.Caption.Row(Top + Y, CaptionHeight));
        PaintGlyph(I, Sized(W, H), G, P.CaptionText);
        return I;
    };
    auto Pressed = [&](TGlyph G, double Toward, bool Close) {
        TImage I(W, H);
        for (int Y = 0; Y < H; ++Y)
            I.Fill({0, Y, W, Y + 1}, P.Caption.Row(Top + Y, CaptionHeight));
        TRgb Face =
            Close ? P.CloseHot : LchToRgb(MixLch(P.Caption.Base, RgbToLch(P.CaptionText), Toward));
        if (Close && Toward > 0.15)
            Face = LchToRgb(MixLch(RgbToLch(P.CloseHot), {0, 0, 0}, 0.15));
        TFill F = FlatFill(Face);
        PaintFace(I, Sized(W, H), std::min(Radius(), 4), Face, 0, F);
        PaintGlyph(I, Sized(W, H), G, Close ? P.CloseGlyph : P.CaptionText);
        return I;
    };
    auto InActive = [&](TGlyph G) {
        if (Effect) {
            TImage I = Normal(G);
            ApplyInActiveEffect(I, T.InActiveEffect);
            return I;
        }
        TImage I(W, H);
        for (int Y = 0; Y < H; ++Y)
            I.Fill({0, Y, W, Y + 1}, P.InActiveCaption.Row(Top + Y, CaptionHeight));
        PaintGlyph(I, Sized(W, H), G, P.InActiveCaptionText);
        return I;
    };
    struct TButton {
        const char* Name;
        TbsStdCommand Command;
        TGlyph Glyph;
        TGlyph Restore;
        bool HasRestore;
    };
    const TButton Buttons[] = {
        {"closebutton", cmClose, TGlyph::Cross, TGlyph::Cross, false},
        {"maxbutton", cmMaximize, TGlyph::Maximize, TGlyph::Restore, true},
        {"minbutton", cmMinimize, TGlyph::Minimize, TGlyph::Minimize, false},
        {"rollupbutton", cmRollUp, TGlyph::RollUp, TGlyph::RollDown, true},
        {"sysmenubutton", cmSysMenu, TGlyph::SysMenu, TGlyph::SysMenu, false},
        {"traybutton", cmMinimizeToTray, TGlyph::Tray, TGlyph::Tray, false},
    };
    for (const TButton& B : Buttons) {
        auto& O = AddObject<TbsDataSkinStdButton>(B.Name);
        const bool Close = B.Command == cmClose;
        O.Command = B.Command;
        O.SkinRectInAPicture = true;
        O.ActivePictureIndex = pfCaptionButtons;
        O.SkinRect = Place(pfCaptionButtons, Normal(B.Glyph));
        O.ActiveSkinRect = Place(pfCaptionButtons, Pressed(B.Glyph, 0.12, Close));
        O.DownRect = Place(pfCaptionButtons, Pressed(B.Glyph, 0.22, Close));
        O.InActiveSkinRect = Place(pfCaptionButtons, InActive(B.Glyph));
        O.Morphing = true;
        O.MorphKind = mkDefault;
        if (B.HasRestore) {
            O.RestoreRect = Place(pfCaptionButtons, Normal(B.Restore));
            O.RestoreActiveRect = Place(pfCaptionButtons, Pressed(B.Restore, 0.12, false));
            O.RestoreDownRect = Place(pfCaptionButtons, Pressed(B.Restore, 0.22, false));
            O.RestoreInActiveRect = Place(pfCaptionButtons, InActive(B.Restore));
        }
    }
}

// The caption text object: its rectangle starts in the frame's top-left
// corner area and ends in the top-right one, so it widens with the form;
// the text is drawn straight onto the frame's caption bar.
void TSkinBuilder::Caption() {
    auto& O = AddObject<TbsDataSkinCaption>("caption");
    O.SkinRect = {6, 1, ButtonsLeft, CaptionHeight - 1};
    O.TextRct = {4, 2, O.SkinRect.Width() - 2, O.SkinRect.Height() - 2};
    O.Alignment = taLeftJustify;
    O.FontName = FontName;
    O.FontHeight = FontHeight;
    O.FontStyle = {fsBold};
    O.ActiveFontColor = C(P.CaptionText);
    O.FontColor = C(T.InActivePicture ? P.InActiveCaptionText : P.CaptionText);
}

// Popup menus: the window picture with its mask, and the item object whose
// looks the menu window cuts from the menus picture (three-part items,
// images keyed on their own bottom-left pixel).
void TSkinBuilder::PopupMenu() {
    constexpr int W = 48, H = 48;
    TImage Window(W, H, P.MenuBg);
    const std::vector<bool> In = RoundMask(W, H, Radius());
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            auto Inside = [&](int PX, int PY) {
                return PX >= 0 && PY >= 0 && PX < W && PY < H && In[std::size_t(PY) * W + PX];
            };
            if (!Inside(X, Y) || !Inside(X - 1, Y) || !Inside(X + 1, Y) || !Inside(X, Y - 1) ||
                !Inside(X, Y + 1))
                Window.SetPixel(X, Y, P.Border);
        }
    FWhole[pfPopupWindow] = Window;
    D->PopupWindow->WindowPictureIndex = pfPopupWindow;
    D->PopupWindow->MaskPictureIndex = pfPopupMask;
    const int M = Margin();
    D->PopupWindow->LTPoint = {M, M};
    D->PopupWindow->RTPoint = {W - M, M};
    D->PopupWindow->LBPoint = {M, H - M};
    D->PopupWindow->RBPoint = {W - M, H - M};
    D->PopupWindow->ItemsRect = {3, 3, W - 3, H - 3};
    D->PopupWindow->TopStretch = D->PopupWindow->LeftStretch = true;
    D->PopupWindow->RightStretch = D->PopupWindow->BottomStretch = true;
    D->PopupWindow->StretchEffect = true;
    D->PopupWindow->ScrollMarkerColor = int(ToColor(P.Text));
    D->PopupWindow->ScrollMarkerActiveColor = int(ToColor(P.Accent));
    FMaskBits[0] = In;

    constexpr int IW = 60, IH = 22;
    auto& O = AddObject<TbsDataSkinMenuItem>("menuitem");
    O.ActivePictureIndex = pfMenus;
    O.SkinRect = Place(pfMenus, TImage(IW, IH, P.MenuBg));
    TImage Hot(IW, IH, P.MenuBg);
    PaintFace(Hot, {1, 1, IW - 1, IH - 1}, std::min(Radius(), 4), P.MenuHot, 0,
              FlatFill(P.MenuHot));
    O.ActiveSkinRect = Place(pfMenus, Hot);
    TImage Divider(IW, 7, P.MenuBg);
    Divider.Fill({4, 3, IW - 4, 4}, P.Border);
    O.DividerRect = Place(pfMenus, Divider);
    O.DividerLO = O.DividerRO = 6;
    O.ItemLO = O.ItemRO = 6;
    O.StretchEffect = O.DividerStretchEffect = O.InActiveStretchEffect = true;
    O.TextRct = {28, 0, IW - 8, IH};
    O.ImageRct = {4, 0, 24, IH};
    O.FontName = FontName;
    O.FontHeight = FontHeight;
    O.FontColor = C(P.Text);
    O.ActiveFontColor = C(P.Text);
    O.UnEnabledFontColor = C(P.DisabledText);
    O.Morphing = false;
    auto Image = [&](TGlyph G, TRgb Under) {
        TImage I(16, 16, Under);
        PaintGlyph(I, Sized(16, 16), G, P.Text);
        return Place(pfMenus, I);
    };
    O.CheckImageRect = Image(TGlyph::Check, P.MenuBg);
    O.ActiveCheckImageRect = Image(TGlyph::Check, P.MenuHot);
    O.RadioImageRect = Image(TGlyph::Dot, P.MenuBg);
    O.ActiveRadioImageRect = Image(TGlyph::Dot, P.MenuHot);
    O.ArrowImageRect = Image(TGlyph::ArrowRight, P.MenuBg);
    O.ActiveArrowImageRect = Image(TGlyph::ArrowRight, P.MenuHot);
}

// The form's menu bar: the bar control forces its height to the bar
// picture's and stretches it between the items rectangle's margins; it lays
// out "mainmenubaritem" objects as three-part strips (ItemLO, ItemRO) with
// the text in TextRct, and shows the four MDI buttons it names.
void TSkinBuilder::MainMenuBar() {
    const TFill Bar = StyledBar();
    constexpr int H = 22;
    auto BarImage = [&](int W) {
        TImage I(W, H);
        I.FillRows(Sized(W, H), Bar);
        return I;
    };
    auto& B = AddControl<TbsDataSkinMainMenuBar>("mainmenubar");
    B.PictureIndex = pfBars;
    B.SkinRect = Place(pfBars, BarImage(60));
    B.ItemsRect = {2, 0, 58, H};
    B.MenuBarItem = "mainmenubaritem";
    B.CloseButton = "mainmenubarclose";
    B.MaxButton = "mainmenubarmax";
    B.MinButton = "mainmenubarmin";
    B.SysMenuButton = "mainmenubarsysmenu";
    B.TrackMarkColor = int(ToColor(P.Text));
    B.TrackMarkActiveColor = int(ToColor(P.Accent));
    B.StretchEffect = true;

    constexpr int IW = 40;
    auto& I = AddObject<TbsDataSkinMainMenuBarItem>("mainmenubaritem");
    I.ActivePictureIndex = pfBars;
    I.SkinRect = Place(pfBars, BarImage(IW));
    TImage Hot = BarImage(IW);
    PaintFace(Hot, {1, 1, IW - 1, H - 1}, std::min(Radius(), 4), P.Border, 1, P.FaceHot);
    I.ActiveSkinRect = Place(pfBars, Hot);
    TImage Down = BarImage(IW);
    PaintFace(Down, {1, 1, IW - 1, H - 1}, std::min(Radius(), 4), P.StrongBorder, 1, P.FaceDown);
    I.DownRect = Place(pfBars, Down);
    I.TextRct = {6, 3, IW - 6, H - 3};
    I.ItemLO = I.ItemRO = 6;
    I.StretchEffect = true;
    I.FontName = FontName;
    I.FontHeight = FontHeight;
    I.FontColor = I.ActiveFontColor = I.DownFontColor = C(P.Text);
    I.UnEnabledFontColor = C(P.DisabledText);

    struct TBarButton {
        const char* Name;
        TbsStdCommand Command;
        TGlyph Glyph;
    };
    const TBarButton Buttons[] = {{"mainmenubarclose", cmClose, TGlyph::Cross},
                                  {"mainmenubarmax", cmMaximize, TGlyph::Restore},
                                  {"mainmenubarmin", cmMinimize, TGlyph::Minimize},
                                  {"mainmenubarsysmenu", cmSysMenu, TGlyph::SysMenu}};
    for (const TBarButton& Btn : Buttons) {
        auto& O = AddObject<TbsDataSkinMainMenuBarButton>(Btn.Name);
        O.Command = Btn.Command;
        O.SkinRectInAPicture = true;
        O.ActivePictureIndex = pfBars;
        auto Look = [&](const TFill* Face, TRgb Border) {
            TImage L(18, 18);
            L.FillRows(Sized(18, 18), Bar);
            if (Face)
                PaintFace(L, Sized(18, 18), std::min(Radius(), 3), Border, 1, *Face);
            PaintGlyph(L, Sized(18, 18), Btn.Glyph, P.Text);
            return Place(pfBars, L);
        };
        O.SkinRect = Look(nullptr, 0);
        O.ActiveSkinRect = Look(&P.FaceHot, P.Border);
        O.DownRect = Look(&P.FaceDown, P.StrongBorder);
    }
}

// Skinned hints: the hint window stretches its picture to the hint's size,
// shapes itself with the mask laid out the same way and writes the text in
// the client rectangle.
void TSkinBuilder::HintWindow() {
    constexpr int W = 40, H = 28;
    TImage Window(W, H, P.HintBg);
    const std::vector<bool> In = RoundMask(W, H, std::min(Radius(), 6));
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            auto Inside = [&](int PX, int PY) {
                return PX >= 0 && PY >= 0 && PX < W && PY < H && In[std::size_t(PY) * W + PX];
            };
            if (!Inside(X, Y) || !Inside(X - 1, Y) || !Inside(X + 1, Y) || !Inside(X, Y - 1) ||
                !Inside(X, Y + 1))
                Window.SetPixel(X, Y, P.Border);
        }
    FWhole[pfHintWindow] = Window;
    FMaskBits[1] = In;
    auto& R = *D->HintWindow;
    R.WindowPictureIndex = pfHintWindow;
    R.MaskPictureIndex = pfHintMask;
    const int M = std::min(Margin(), 7);
    R.LTPoint = {M, M};
    R.RTPoint = {W - M, M};
    R.LBPoint = {M, H - M};
    R.RBPoint = {W - M, H - M};
    R.ClRect = {M, M, W - M, H - M};
    R.TopStretch = R.LeftStretch = R.RightStretch = R.BottomStretch = true;
    R.StretchEffect = true;
    R.FontName = FontName;
    R.FontHeight = FontHeight;
    R.FontColor = C(P.HintText);
}

// The layered border: a soft shadow whose grey mask gives its alpha,
// around the place where the form sits.
void TSkinBuilder::LayerFrame() {
    if (!T.ShadowBorder)
        return;
    constexpr int S = LayerShadow, W = 48, H = 48;
    FWhole[pfLayerFrame] = TImage(W, H, 0x000000);
    FLayerGrey.assign(std::size_t(W) * H, 0);
    const TRect Form{S, S, W - S, H - S};
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const double DX = std::max({Form.Left - (X + 0.5), (X + 0.5) - Form.Right, 0.0});
            const double DY = std::max({Form.Top - (Y + 0.5), (Y + 0.5) - Form.Bottom, 0.0});
            const double Dist = std::sqrt(DX * DX + DY * DY);
            if (Dist <= 0 || Dist >= S)
                continue;
            const double K = 1 - Dist / S;
            FLayerGrey[std::size_t(Y) * W + X] = BYTE(std::lround(96 * K * K));
        }
    auto& L = *D->LayerFrame;
    L.PictureIndex = pfLayerFrame;
    L.MaskPictureIndex = pfLayerMask;
    L.InActivePictureIndex = -1;
    L.InActiveMaskPictureIndex = -1;
    L.LTPoint = {2 * S, 2 * S};
    L.RTPoint = {W - 2 * S, 2 * S};
    L.LBPoint = {2 * S, H - 2 * S};
    L.RBPoint = {W - 2 * S, H - 2 * S};
    L.ClRect = Form;
    L.AlphaBlendValue = 255;
    L.InActiveAlphaBlendValue = 255;
    L.BorderRect = {};
    L.HitTestEnable = false;
}

// The colours that stand in for system colours wherever a skinned control
// draws without a picture (views, selections, 3-D lines).
void TSkinBuilder::SkinColors() {
    TbsSkinColors& S = *D->SkinColors();
    S.SetcBtnFace(C(P.Surface));
    S.SetcBtnText(C(P.Text));
    S.SetcWindow(C(P.Field));
    S.SetcWindowText(C(P.Text));
    S.SetcHighLight(C(P.Accent));
    S.SetcHighLightText(C(P.TextOnAccent));
    S.SetcBtnHighLight(C(P.BtnHighLight));
    S.SetcBtnShadow(C(P.BtnShadow));
}

// ------------------------------------------------------------ controls

// Push buttons: the skinned button paints the face of its state at its own
// size with the nine-part painter (corners kept, sides stretched) and
// centres its text in the client rectangle; the message box takes its row
// height from the face's height.
void TSkinBuilder::PushButton(const std::string& Name, int W, int H) {
    auto& B = AddControl<TbsDataSkinButtonControl>(Name);
    const TLook Normal{P.Face, P.Border};
    const TLook Hot{P.FaceHot, P.StrongBorder};
    const TLook Down{P.FaceDown, P.StrongBorder};
    const TLook Disabled{FlatFill(P.Surface), P.Border};
    const TLook Focused{P.Face, P.StrongBorder, 2};
    // Small faces keep a middle column, and a face a speed button splits
    // into its main part and a 15-pixel menu strip keeps both corners
    // within the strip: the rounding shrinks to fit.
    const int M = std::min({Margin(), (W - 1) / 2, Name == "resizebutton" ? 7 : W});
    const int R = std::min(Radius(), M - 1);
    SetNinePart(B, pfButtons, Place(pfButtons, FaceImage(W, H, P.Surface, Normal, R)), M,
                RowMargin(H));
    B.ActiveSkinRect = Place(pfButtons, FaceImage(W, H, P.Surface, Hot, R));
    B.DownSkinRect = Place(pfButtons, FaceImage(W, H, P.Surface, Down, R));
    B.DisabledSkinRect = Place(pfButtons, FaceImage(W, H, P.Surface, Disabled, R));
    B.FocusedSkinRect = Place(pfButtons, FaceImage(W, H, P.Surface, Focused, R));
    SetFont(B);
    B.FontColor = B.ActiveFontColor = B.DownFontColor = C(P.Text);
    B.DisabledFontColor = C(P.DisabledText);
    B.ShowFocus = true;
    B.Morphing = true;
    B.MorphKind = mkDefault;
}

// Tool buttons lie on the tool bar: the normal face is the bar itself, the
// hot and pressed faces are framed. Menu markers are hard-edged arrows on
// the key colour.
void TSkinBuilder::ToolButton(const std::string& Name, int W, int H, bool Menu) {
    TbsDataSkinButtonControl* BP;
    if (Menu)
        BP = &AddControl<TbsDataSkinMenuButtonControl>(Name);
    else
        BP = &AddControl<TbsDataSkinButtonControl>(Name);
    auto& B = *BP;
    const int R = std::min(Radius(), 4);
    const TLook Normal{FlatFill(P.Surface), P.Surface, 0};
    const TLook Hot{P.FaceHot, P.Border};
    const TLook Down{P.FaceDown, P.StrongBorder};
    SetNinePart(B, pfButtons, Place(pfButtons, FaceImage(W, H, P.Surface, Normal, R)),
                std::max(R, 2) + 1, std::min(RowMargin(H), 3));
    B.ActiveSkinRect = Place(pfButtons, FaceImage(W, H, P.Surface, Hot, R));
    B.DownSkinRect = Place(pfButtons, FaceImage(W, H, P.Surface, Down, R));
    B.FocusedSkinRect = B.ActiveSkinRect;
    SetFont(B);
    B.FontColor = B.ActiveFontColor = B.DownFontColor = C(P.Text);
    B.DisabledFontColor = C(P.DisabledText);
    B.Morphing = true;
    B.MorphKind = mkDefault;
    auto Marker = [&]() {
        TImage I(9, 6, KeyColour);
        PaintGlyph(I, Sized(9, 6), TGlyph::ArrowDown, P.Text, true);
        return Place(pfButtons, I);
    };
    B.MenuMarkerRect = Marker();
    B.MenuMarkerActiveRect = Marker();
    B.MenuMarkerDownRect = Marker();
    B.MenuMarkerFlatRect = Marker();
    B.MenuMarkerTransparentColor = C(KeyColour);
    if (Menu)
        static_cast<TbsDataSkinMenuButtonControl&>(B).TrackButtonRect = {W - 12, 0, W, H};
}

void TSkinBuilder::PushButtons() {
    PushButton("button", 75, 25);
    PushButton("resizebutton", 40, 24);
    PushButton("editbutton", 17, 19);
    PushButton("combobutton", 17, 19);
}

void TSkinBuilder::ToolButtons() {
    ToolButton("resizetoolbutton", 40, 40, false);
    ToolButton("toolbutton", 27, 25, false);
    ToolButton("toolmenubutton", 37, 25, true);
    ToolButton("officequickbutton", 22, 22, false);
    ToolButton("menuitembutton", 20, 20, false);
    ToolButton("bigtoolbutton", 48, 48, false);
    ToolButton("htracktoolbutton", 24, 16, false);
    ToolButton("vtracktoolbutton", 16, 24, false);
    ToolButton("toolmenutrackbutton", 37, 25, true);
    ToolButton("bigtoolmenubutton", 56, 48, true);
    ToolButton("bigtoolmenutrackbutton", 56, 48, true);
}

// Panels: the panel paints its face at any size with the nine-part painter
// and its children stand on the client part, so the client is flat.
TbsDataSkinPanelControl& TSkinBuilder::Panel(const std::string& Name, int W, int H, bool Framed) {
    auto& E = AddControl<TbsDataSkinPanelControl>(Name);
    const TLook Look{FlatFill(P.Surface), P.Border, Framed ? 1 : 0};
    SetNinePart(E, pfContainers,
                Place(pfContainers, FaceImage(W, H, P.Surface, Look, Framed ? Radius() : 0)),
                Framed ? Margin() : 2, Framed ? Margin() : 2);
    SetFont(E);
    E.FontColor = C(P.Text);
    E.Alignment = taCenter;
    return E;
}

void TSkinBuilder::Containers() {
    Panel("panel", 40, 40, true);
    // Group boxes: a caption band in the face colour over the frame's top.
    {
        auto& E = AddControl<TbsDataSkinPanelControl>("groupbox");
        constexpr int W = 80, H = 60, Band = 20;
        TImage I(W, H, P.Surface);
        PaintFace(I, Sized(W, H), Radius(), P.Border, 1, FlatFill(P.Surface));
        TImage Top(W, H, P.Surface);
        PaintFace(Top, Sized(W, H), Radius(), P.Border, 1, P.Face);
        for (int Y = 0; Y < Band; ++Y)
            for (int X = 0; X < W; ++X)
                I.SetPixel(X, Y, Top.Pixel(X, Y));
        I.Fill({1, Band, W - 1, Band + 1}, P.Border);
        const TRect R = Place(pfContainers, I);
        SetNinePart(E, pfContainers, R, Margin(), Band + 1);
        E.LTPoint.Y = E.RTPoint.Y = Band + 1;
        E.LBPoint.Y = E.RBPoint.Y = H - Margin();
        E.ClRect = {Margin(), Band + 1, W - Margin(), H - Margin()};
        // The caption runs from corner to corner, so it widens with the box
        // (a rectangle that starts past the left corner keeps its skin width).
        E.CaptionRect = {Margin(), 1, W - Margin(), Band};
        E.Alignment = taLeftJustify;
        SetFont(E, true);
        E.FontColor = C(P.Text);
    }
    // Bars: square, a line where they meet the client.
    auto BarPanel = [&](const std::string& Name, int W, int H, bool LineAtTop) {
        auto& E = AddControl<TbsDataSkinPanelControl>(Name);
        TImage I(W, H);
        // Flat, since tool buttons compose their edges over it.
        I.Fill(Sized(W, H), P.Surface);
        I.Fill(LineAtTop ? TRect{0, 0, W, 1} : TRect{0, H - 1, W, H}, P.Border);
        SetNinePart(E, pfContainers, Place(pfContainers, I), 2, 2);
        SetFont(E);
        E.FontColor = C(P.Text);
        E.Alignment = taLeftJustify;
    };
    BarPanel("toolpanel", 40, 25, false);
    BarPanel("resizetoolpanel", 40, 40, false);
    BarPanel("bigtoolpanel", 40, 56, false);
    BarPanel("statusbar", 40, 22, true);
    {
        auto& E = AddControl<TbsDataSkinScrollBoxControl>("scrollbox");
        const TLook Look{FlatFill(P.Surface), P.Border};
        SetNinePart(E, pfContainers, Place(pfContainers, FaceImage(40, 40, P.Surface, Look, 0)), 2,
                    2);
    }
    // Labels on a face: the menu header and the framed label.
    for (const char* Name : {"label", "menuheader"}) {
        auto& E = AddControl<TbsDataSkinLabelControl>(Name);
        TImage I(40, 20);
        I.FillRows(Sized(40, 20), P.Face);
        I.Fill({0, 19, 40, 20}, P.Border);
        SetNinePart(E, pfContainers, Place(pfContainers, I), 3, 2);
        SetFont(E, std::string(Name) == "menuheader");
        E.FontColor = C(P.Text);
    }
    // The page control: tabs over a framed page.
    {
        auto& E = AddControl<TbsDataSkinTabControl>("tab");
        constexpr int W = 60, H = 40, TW = 40, TH = 22;
        const int R = std::min(Radius(), 4);
        E.PictureIndex = pfContainers;
        const TLook Page{FlatFill(P.Surface), P.Border};
        E.SkinRect = Place(pfContainers, FaceImage(W, H, P.Surface, Page, R));
        const int M = std::max(R, 2) + 1;
        E.LTPoint = {M, M};
        E.RTPoint = {W - M, M};
        E.LBPoint = {M, H - M};
        E.RBPoint = {W - M, H - M};
        E.ClRect = {M, M, W - M, H - M};
        E.LeftStretch = E.TopStretch = E.RightStretch = E.BottomStretch = true;
        E.StretchEffect = true;
        auto Tab = [&](const TLook& L) {
            return Place(pfContainers, FaceImage(TW, TH, P.Surface, L, R));
        };
        E.TabRect = Tab({P.Face, P.Border});
        E.ActiveTabRect = Tab({FlatFill(P.Surface), P.StrongBorder});
        E.FocusTabRect = E.ActiveTabRect;
        E.MouseInTabRect = Tab({P.FaceHot, P.Border});
        E.TabLeftOffset = E.TabRightOffset = M;
        E.TabStretchEffect = true;
        SetFont(E);
        E.FontColor = E.ActiveFontColor = E.FocusFontColor = E.MouseInFontColor = C(P.Text);
        E.UpDown = "hupdown";
    }
    {
        auto& B = AddControl<TbsDataSkinBevel>("bevel");
        B.LightColor = C(P.BtnHighLight);
        B.DarkColor = C(P.Border);
    }
}

// Check boxes and radio boxes: the control centres the image of its state
// in the check image area and writes its text in the text area.
void TSkinBuilder::CheckBox(const std::string& Name, bool Radio) {
    auto& E = AddControl<TbsDataSkinCheckRadioControl>(Name);
    constexpr int W = 100, H = 20, S = 14;
    SetNinePart(E, pfButtons, Place(pfButtons, TImage(W, H, P.Surface)), 2, 2);
    E.CheckImageArea = {0, 0, 18, H};
    E.TextArea = {20, 0, W, H};
    const int R = Radio ? S / 2 : std::min(Radius(), 3);
    auto Image = [&](TRgb Fill, TRgb Border, TGlyph Glyph, TRgb GlyphColour, bool WithGlyph) {
        TImage I(S, S, P.Surface);
        PaintFace(I, Sized(S, S), R, Border, 1, FlatFill(Fill));
        if (WithGlyph)
            PaintGlyph(I, Sized(S, S), Glyph, GlyphColour);
        return Place(pfButtons, I);
    };
    const TGlyph Mark = Radio ? TGlyph::Dot : TGlyph::Check;
    E.CheckImageRect = Image(P.Accent, P.Accent, Mark, P.TextOnAccent, true);
    E.ActiveCheckImageRect = Image(P.AccentHot, P.AccentHot, Mark, P.TextOnAccent, true);
    E.UnCheckImageRect = Image(P.Field, P.Border, Mark, 0, false);
    E.ActiveUnCheckImageRect = Image(P.Field, P.StrongBorder, Mark, 0, false);
    E.UnEnabledCheckImageRect = Image(P.Surface, P.Border, Mark, P.DisabledText, true);
    E.UnEnabledUnCheckImageRect = Image(P.Surface, P.Border, Mark, 0, false);
    E.GrayedCheckImageRect = Image(P.Field, P.Border, TGlyph::Dash, P.Accent, true);
    E.ActiveGrayedCheckImageRect = Image(P.Field, P.StrongBorder, TGlyph::Dash, P.Accent, true);
    SetFont(E);
    E.FontColor = E.ActiveFontColor = E.FrameFontColor = C(P.Text);
    E.UnEnabledFontColor = C(P.DisabledText);
    E.Morphing = false;
}

void TSkinBuilder::CheckRadio() {
    CheckBox("checkbox", false);
    CheckBox("radiobox", true);
}

// Scroll bars: the bar stretches its face, draws the hot and pressed button
// pictures over the button places, and makes the thumb of its length from
// the thumb picture (fixed ends of ThumbOffset1 and ThumbOffset2, middle
// stretched). Arrows are drawn into the buttons; the thumb is composed over
// the track colour.
void TSkinBuilder::ScrollBar(const std::string& Name, bool Vertical) {
    auto& E = AddControl<TbsDataSkinScrollBarControl>(Name);
    constexpr int T0 = 19, L = 100, ThumbL = 30;
    const int W = Vertical ? T0 : L, H = Vertical ? L : T0;
    const TRgb Track = LchToRgb(MixLch(RgbToLch(P.Surface), RgbToLch(P.Border), 0.35));
    const TGlyph First = Vertical ? TGlyph::ArrowUp : TGlyph::ArrowLeft;
    const TGlyph Last = Vertical ? TGlyph::ArrowDown : TGlyph::ArrowRight;
    auto Button = [&](const TFill& Face, TRgb Border, TGlyph G) {
        TImage I(T0, T0, Track);
        PaintFace(I, Inset(Sized(T0, T0), 1), std::min(Radius(), 3), Border,
                  Border == Track ? 0 : 1, Face);
        PaintGlyph(I, Sized(T0, T0), G, P.Text);
        return I;
    };
    TImage Face(W, H, Track);
    Face.Draw(Button(FlatFill(Track), Track, First), 0, 0);
    Face.Draw(Button(FlatFill(Track), Track, Last), W - T0, H - T0);
    const TRect R = Place(pfBars, Face);
    if (Vertical)
        SetNinePart(E, pfBars, R, 1, T0);
    else
        SetNinePart(E, pfBars, R, T0, 1);
    E.TrackArea = Vertical ? TRect{0, T0, W, H - T0} : TRect{T0, 0, W - T0, H};
    E.UpButtonRect = {0, 0, T0, T0};
    E.DownButtonRect = {W - T0, H - T0, W, H};
    E.ActiveUpButtonRect = Place(pfBars, Button(P.FaceHot, P.Border, First));
    E.DownUpButtonRect = Place(pfBars, Button(P.FaceDown, P.StrongBorder, First));
    E.ActiveDownButtonRect = Place(pfBars, Button(P.FaceHot, P.Border, Last));
    E.DownDownButtonRect = Place(pfBars, Button(P.FaceDown, P.StrongBorder, Last));
    auto Thumb = [&](TRgb C0) {
        const int TW = Vertical ? T0 : ThumbL, TH = Vertical ? ThumbL : T0;
        TImage I(TW, TH, Track);
        PaintFace(I, Vertical ? TRect{4, 1, TW - 4, TH - 1} : TRect{1, 4, TW - 1, TH - 4}, 5, C0, 0,
                  FlatFill(C0));
        return Place(pfBars, I);
    };
    E.ThumbRect = Thumb(P.ThumbNormal);
    E.ActiveThumbRect = Thumb(P.AccentHot);
    E.DownThumbRect = Thumb(P.AccentDown);
    E.ThumbOffset1 = E.ThumbOffset2 = 8;
    E.ThumbStretchEffect = true;
    E.ThumbMinSize = 18;
    E.ThumbMinPageSize = 0;
    E.GlyphTransparent = false;
    E.ThumbTransparent = false;
}

void TSkinBuilder::ScrollBars() {
    ScrollBar("hscrollbar", false);
    ScrollBar("vscrollbar", true);
    ScrollBar("bothhscrollbar", false);
}

// The slider: the seek slider draws the ruler as three parts (EdgeSize
// ends) and one of the thumb's two cells (normal, pressed) over BGColor.
void TSkinBuilder::Slider() {
    auto& E = AddControl<TbsDataSkinSlider>("slider");
    E.PictureIndex = pfBars;
    const TRgb Ruler = RulerColour();
    auto RulerImage = [&](int W, int H) {
        TImage I(W, H, P.Surface);
        PaintFace(I, Sized(W, H), 3, Ruler, 0, FlatFill(Ruler));
        return Place(pfBars, I);
    };
    auto ThumbCells = [&](int W, int H) {
        TImage I(2 * W, H, P.Surface);
        PaintFace(I, Sized(W, H), std::min(W, H) / 2, P.Accent, 0, FlatFill(P.Accent));
        PaintFace(I, {W, 0, 2 * W, H}, std::min(W, H) / 2, P.AccentDown, 0, FlatFill(P.AccentDown));
        return Place(pfBars, I);
    };
    E.HRulerRect = RulerImage(60, 6);
    E.HThumbRect = ThumbCells(12, 20);
    E.VRulerRect = RulerImage(6, 60);
    E.VThumbRect = ThumbCells(20, 12);
    E.EdgeSize = 3;
    E.BGColor = C(P.Surface);
    E.PointsColor = C(P.Border);
}

void TSkinBuilder::Labels() {
    auto& E = AddControl<TbsDataSkinStdLabelControl>("stdlabel");
    SetFont(E);
    E.FontColor = C(P.Text);
    E.ActiveFontColor = C(LinkColour());
}

// Edits: the edit keeps its picture's height, paints the face (the hot face
// under the pointer) and edits text in the client rectangle; the button of
// a button edit sits at ButtonRect with its hot and pressed pictures.
void TSkinBuilder::Edit(TbsDataSkinEditControl& E, int W, int H, bool Button) {
    const TLook Normal{FlatFill(P.Field), P.Border};
    const TLook Hot{FlatFill(P.Field), P.StrongBorder};
    constexpr int BW = 17;
    TImage Face = FaceImage(W, H, P.Surface, Normal, Radius());
    TImage HotFace = FaceImage(W, H, P.Surface, Hot, Radius());
    // The button's idle look is part of the face (only its other states
    // have pictures of their own), in the fixed right part so that it
    // follows the edit's right edge.
    if (Button)
        for (TImage* I : {&Face, &HotFace})
            PaintGlyph(*I, {W - BW - 2, 2, W - 2, H - 2}, TGlyph::ArrowDown, P.Text);
    SetNinePart(E, pfFields, Place(pfFields, Face), Margin(), std::min(RowMargin(H), 3));
    E.ActiveSkinRect = Place(pfFields, HotFace);
    SetFont(E);
    E.FontColor = E.ActiveFontColor = C(P.Text);
    E.DisabledFontColor = C(P.DisabledText);
    if (Button) {
        E.RTPoint.X = E.RBPoint.X = W - BW - 3;
        E.ClRect.Right = W - BW - 3;
        E.ButtonRect = {W - BW - 2, 2, W - 2, H - 2};
        auto Look = [&](const TFill& F, TRgb Border, TRgb Glyph) {
            TImage I(BW, H - 4, P.Field);
            PaintFace(I, Sized(BW, H - 4), std::min(Radius(), 3), Border, 1, F);
            PaintGlyph(I, Sized(BW, H - 4), TGlyph::ArrowDown, Glyph);
            return Place(pfFields, I);
        };
        E.ActiveButtonRect = Look(P.FaceHot, P.Border, P.Text);
        E.DownButtonRect = Look(P.FaceDown, P.StrongBorder, P.Text);
        E.UnEnabledButtonRect = Look(FlatFill(P.Surface), P.Border, P.DisabledText);
    }
}

void TSkinBuilder::Fields() {
    Edit(AddControl<TbsDataSkinEditControl>("edit"), 60, 21, false);
    Edit(AddControl<TbsDataSkinEditControl>("buttonedit"), 60, 21, true);
    auto& Memo = AddControl<TbsDataSkinMemoControl>("memo");
    Edit(Memo, 60, 40, false);
    Memo.BGColor = Memo.ActiveBGColor = C(P.Field);
    for (const char* Name : {"listview", "treeview"}) {
        TbsDataSkinViewControl& E =
            std::string(Name) == "listview"
                ? static_cast<TbsDataSkinViewControl&>(AddControl<TbsDataSkinListView>(Name))
                : AddControl<TbsDataSkinTreeView>(Name);
        SetFont(E);
        E.FontColor = C(P.Text);
        E.BGColor = C(P.Field);
    }
}

// The combo box keeps the height of its picture (UseSkinSize); it draws the
// item picture of its state as three parts with the text in ItemTextRect,
// the button at ButtonRect, and drops down the "listbox" element.
void TSkinBuilder::ComboBox() {
    auto& E = AddControl<TbsDataSkinComboBox>("combobox");
    constexpr int W = 80, H = 21, BW = 17, IW = 40, IH = 15;
    const TLook Normal{FlatFill(P.Field), P.Border};
    const TLook Hot{FlatFill(P.Field), P.StrongBorder};
    auto Face = [&](const TLook& L) {
        TImage I = FaceImage(W, H, P.Surface, L, Radius());
        PaintGlyph(I, {W - BW - 2, 2, W - 2, H - 2}, TGlyph::ArrowDown, P.Text);
        return I;
    };
    SetNinePart(E, pfFields, Place(pfFields, Face(Normal)), Margin(), 3);
    E.RTPoint.X = E.RBPoint.X = W - BW - 3;
    E.ClRect.Right = W - BW - 3;
    E.ActiveSkinRect = Place(pfFields, Face(Hot));
    E.ButtonRect = {W - BW - 2, 2, W - 2, H - 2};
    auto Button = [&](const TFill& F, TRgb Border, TRgb Glyph) {
        TImage I(BW, H - 4, P.Field);
        PaintFace(I, Sized(BW, H - 4), std::min(Radius(), 3), Border, 1, F);
        PaintGlyph(I, Sized(BW, H - 4), TGlyph::ArrowDown, Glyph);
        return Place(pfFields, I);
    };
    E.ActiveButtonRect = Button(P.FaceHot, P.Border, P.Text);
    E.DownButtonRect = Button(P.FaceDown, P.StrongBorder, P.Text);
    E.UnEnabledButtonRect = Button(FlatFill(P.Surface), P.Border, P.DisabledText);
    E.SItemRect = Place(pfFields, TImage(IW, IH, P.Field));
    E.ActiveItemRect = Place(pfFields, TImage(IW, IH, P.MenuHot));
    E.FocusItemRect = Place(pfFields, TImage(IW, IH, P.Accent));
    E.ItemLeftOffset = E.ItemRightOffset = 2;
    E.ItemTextRect = {2, 0, IW - 2, IH};
    E.ItemStretchEffect = E.FocusItemStretchEffect = true;
    SetFont(E);
    E.FontColor = E.ActiveFontColor = C(P.Text);
    E.FocusFontColor = C(P.TextOnAccent);
    E.ListBoxName = "listbox";
    E.ShowFocus = false;
}

// List boxes: the list paints the frame at any size and each row from the
// item picture of its state (normal, selected, focused), text in
// ItemTextRect; the scroll bars keep their default element names.
void TSkinBuilder::ListBox() {
    auto& E = AddControl<TbsDataSkinListBox>("listbox");
    constexpr int W = 60, H = 60, IW = 40, IH = 18;
    const TLook Look{FlatFill(P.Field), P.Border};
    SetNinePart(E, pfFields,
                Place(pfFields, FaceImage(W, H, P.Surface, Look, std::min(Radius(), 4))),
                std::max(std::min(Radius(), 4), 2) + 1, std::max(std::min(Radius(), 4), 2) + 1);
    E.SItemRect = Place(pfFields, TImage(IW, IH, P.Field));
    E.ActiveItemRect = Place(pfFields, TImage(IW, IH, P.Accent));
    E.FocusItemRect = Place(pfFields, TImage(IW, IH, P.AccentDown));
    E.ItemLeftOffset = E.ItemRightOffset = 2;
    E.ItemTextRect = {3, 0, IW - 3, IH};
    SetFont(E);
    E.FontColor = C(P.Text);
    E.ActiveFontColor = E.FocusFontColor = C(P.TextOnAccent);
    E.CaptionFontName = FontName;
    E.CaptionFontHeight = FontHeight;
    E.CaptionFontColor = C(P.Text);
    E.ShowFocus = false;
}

// Up-down buttons: two button places in the face, with their hot and
// pressed pictures; the element has no nine-part frame.
void TSkinBuilder::UpDown(const std::string& Name, bool Vertical) {
    auto& E = AddControl<TbsDataSkinUpDownControl>(Name);
    constexpr int S = 16;
    const int W = Vertical ? S : 2 * S, H = Vertical ? 2 * S : S;
    const TGlyph First = Vertical ? TGlyph::ArrowUp : TGlyph::ArrowLeft;
    const TGlyph Last = Vertical ? TGlyph::ArrowDown : TGlyph::ArrowRight;
    auto Button = [&](const TFill& F, TRgb Border, TGlyph G) {
        TImage I(S, S, P.Surface);
        PaintFace(I, Sized(S, S), std::min(Radius(), 3), Border, 1, F);
        PaintGlyph(I, Sized(S, S), G, P.Text);
        return I;
    };
    TImage Face(W, H, P.Surface);
    Face.Draw(Button(P.Face, P.Border, First), 0, 0);
    Face.Draw(Button(P.Face, P.Border, Last), W - S, H - S);
    E.PictureIndex = pfBars;
    E.SkinRect = Place(pfBars, Face);
    E.UpButtonRect = {0, 0, S, S};
    E.DownButtonRect = {W - S, H - S, W, H};
    E.ActiveUpButtonRect = Place(pfBars, Button(P.FaceHot, P.Border, First));
    E.DownUpButtonRect = Place(pfBars, Button(P.FaceDown, P.StrongBorder, First));
    E.ActiveDownButtonRect = Place(pfBars, Button(P.FaceHot, P.Border, Last));
    E.DownDownButtonRect = Place(pfBars, Button(P.FaceDown, P.StrongBorder, Last));
}

void TSkinBuilder::Splitter(const std::string& Name, bool Vertical) {
    auto& E = AddControl<TbsDataSkinSplitterControl>(Name);
    const int W = Vertical ? 6 : 30, H = Vertical ? 30 : 6;
    TImage I(W, H, P.Surface);
    SetNinePart(E, pfBars, Place(pfBars, I), Vertical ? 1 : 2, Vertical ? 2 : 1);
}

void TSkinBuilder::Bars() {
    UpDown("hupdown", false);
    UpDown("vupdown", true);
    Splitter("hsplitter", false);
    Splitter("vsplitter", true);
}

// ------------------------------------------------------------ pictures

void TSkinBuilder::ComposePictures() {
    static const char* const Names[pfFamilyCount] = {
        "buttons.bmp",    "containers.bmp",     "bars.bmp",        "fields.bmp",
        "menus.bmp",      "captionbuttons.bmp", "popupwindow.bmp", "popupmask.bmp",
        "hintwindow.bmp", "hintmask.bmp",       "layerframe.bmp",  "layermask.bmp"};
    const int Count = T.ShadowBorder ? pfFamilyCount : pfLayerFrame;
    for (int F = 0; F < Count; ++F) {
        std::unique_ptr<TBitmap> B;
        if (F <= pfCaptionButtons)
            B = ToBitmap24(FAtlas[std::size_t(F)].Compose(P.Surface));
        else if (F == pfPopupMask)
            B = ToMask1(FMaskBits[0], FWhole[pfPopupWindow].Width(),
                        FWhole[pfPopupWindow].Height());
        else if (F == pfHintMask)
            B = ToMask1(FMaskBits[1], FWhole[pfHintWindow].Width(), FWhole[pfHintWindow].Height());
        else if (F == pfLayerMask)
            B = ToGrey8(FLayerGrey, FWhole[pfLayerFrame].Width(), FWhole[pfLayerFrame].Height());
        else
            B = ToBitmap24(FWhole[std::size_t(F)]);
        D->FActivePictures.push_back(std::move(B));
        D->FActivePicturesNames->Add(Names[F]);
    }
}

std::unique_ptr<TbsSkinData> TSkinBuilder::Build() {
    Frame();
    CaptionButtons();
    Caption();
    PopupMenu();
    MainMenuBar();
    HintWindow();
    LayerFrame();
    SkinColors();
    PushButtons();
    ToolButtons();
    Containers();
    CheckRadio();
    ScrollBars();
    Slider();
    Labels();
    Fields();
    ComboBox();
    ListBox();
    Bars();
    ComposePictures();
    D->Empty = false;
    return std::move(D);
}

} // namespace

std::unique_ptr<TbsSkinData> BuildSkin(const TTheme& Theme, const TPalette& Palette) {
    return TSkinBuilder(Theme, Palette).Build();
}

} // namespace skingen
