#include "skin/stored/generator/Checks.h"

#include "skin/model/bsSkinData.Kinds.h"
#include "skin/stored/generator/Elements.h"
#include "skin/stored/generator/Painter.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <set>

namespace skingen {

std::string TCheckFailure::Text() const {
    return "skin \"" + Skin + "\": element \"" + Element + "\", state " + State + ": " + What;
}

namespace {

// The (name, kind) pairs the program's forms and the skin library's
// controls look up, and the frame objects they find by name.
const std::vector<std::pair<const char*, const char*>> RequiredControls = {
    {"button", "button"},
    {"resizebutton", "button"},
    {"resizetoolbutton", "button"},
    {"toolbutton", "button"},
    {"toolmenubutton", "menubutton"},
    {"panel", "panel"},
    {"groupbox", "panel"},
    {"toolpanel", "panel"},
    {"resizetoolpanel", "panel"},
    {"checkbox", "checkradio"},
    {"radiobox", "checkradio"},
    {"hscrollbar", "scrollbar"},
    {"vscrollbar", "scrollbar"},
    {"bothhscrollbar", "scrollbar"},
    {"slider", "slider"},
    {"stdlabel", "stdlabel"},
    {"edit", "edit"},
    {"combobox", "combobox"},
    {"listbox", "listbox"},
    {"listview", "listview"},
    {"treeview", "treeview"},
    {"bevel", "bevel"},
    {"mainmenubar", "mainmenubar"},
    {"editbutton", "button"},
    {"combobutton", "button"},
    {"officequickbutton", "button"},
    {"menuitembutton", "button"},
    {"bigtoolbutton", "button"},
    {"htracktoolbutton", "button"},
    {"vtracktoolbutton", "button"},
    {"toolmenutrackbutton", "menubutton"},
    {"bigtoolmenubutton", "menubutton"},
    {"bigtoolmenutrackbutton", "menubutton"},
    {"bigtoolpanel", "panel"},
    {"statusbar", "panel"},
    {"buttonedit", "edit"},
    {"memo", "memo"},
    {"hupdown", "updown"},
    {"vupdown", "updown"},
    {"tab", "tab"},
    {"scrollbox", "scrollbox"},
    {"hsplitter", "splitter"},
    {"vsplitter", "splitter"},
    {"label", "label"},
    {"menuheader", "label"},
};

const std::vector<std::pair<const char*, const char*>> RequiredObjects = {
    {"closebutton", "stdbutton"},
    {"maxbutton", "stdbutton"},
    {"minbutton", "stdbutton"},
    {"rollupbutton", "stdbutton"},
    {"sysmenubutton", "stdbutton"},
    {"traybutton", "stdbutton"},
    {"caption", "caption"},
    {"menuitem", "menuitem"},
    {"mainmenubaritem", "mainmenubaritem"},
};

// Rectangles measured from the element's own top-left corner rather than
// in its picture; "itemtextrect" lies in the item picture.
const std::set<std::string> ElementRelative = {
    "clientrect",   "textarea",       "checkimagearea", "captionrect",     "trackarea",
    "upbuttonrect", "downbuttonrect", "buttonrect",     "trackbuttonrect", "buttonsarea",
    "textrect",     "imagerect",      "itemsrect",      "framerect",       "frametextrect",
    "gripperrect",  "itemtextrect",   "borderrect"};

class TRectCollector : public TbsIniKeyVisitor {
public:
    std::vector<std::pair<std::string, TRect>> Rects;
    void Integer(const char*, int&, int) override {}
    void Color(const char*, TColor&, TColor) override {}
    void Text(const char*, std::string&, const char*) override {}
    void Rect(const char* Key, TRect& Field) override { Rects.emplace_back(Key, Field); }
    void Point(const char*, TPoint&) override {}
    void Boolean(const char*, bool&) override {}
    void FontStyles(const char*, TFontStyles&) override {}
    void Alignment(const char*, TAlignment&) override {}
    void StretchType(const char*, TbsStretchType&) override {}
    void MorphKind(const char*, TbsMorphKind&) override {}
    void Command(const char*, TbsStdCommand&) override {}
};

bool IsEmpty(const TRect& R) {
    return R.Width() <= 0 || R.Height() <= 0;
}

bool Inside(const TRect& R, int W, int H) {
    return R.Left >= 0 && R.Top >= 0 && R.Right <= W && R.Bottom <= H;
}

std::string RectText(const TRect& R) {
    char B[96];
    std::snprintf(B, sizeof B, "(%d,%d,%d,%d)", R.Left, R.Top, R.Right, R.Bottom);
    return B;
}

TRect Offset(const TRect& R, const TRect& By) {
    return {R.Left + By.Left, R.Top + By.Top, R.Right + By.Left, R.Bottom + By.Top};
}

class TChecker {
public:
    TChecker(TbsSkinData& Skin, const TTheme& Theme) : D(Skin), T(Theme) {
        for (auto& B : D.FActivePictures)
            Pictures.push_back(FromBitmap(*B));
        Frame = FromBitmap(*D.FPicture);
        if (!D.FInActivePicture->Empty())
            InActiveFrame = FromBitmap(*D.FInActivePicture);
    }

    std::vector<TCheckFailure> Run() {
        Lookups();
        Rectangles();
        NineParts();
        Contrast();
        return Failures;
    }

private:
    TbsSkinData& D;
    const TTheme& T;
    std::vector<TImage> Pictures;
    TImage Frame;
    std::optional<TImage> InActiveFrame;
    std::vector<TCheckFailure> Failures;

    void Fail(const std::string& Element, const std::string& State, const std::string& What) {
        Failures.push_back({T.SkinName, Element, State, What});
    }

    const TImage* Picture(int Index) const {
        return Index >= 0 && std::size_t(Index) < Pictures.size() ? &Pictures[std::size_t(Index)]
                                                                  : nullptr;
    }

    template <class E> E* Control(const std::string& Name) {
        const int I = D.GetControlIndex(Name);
        return I < 0 ? nullptr : dynamic_cast<E*>(D.CtrlList[std::size_t(I)].get());
    }
    template <class E> E* Object(const std::string& Name) {
        const int I = D.GetIndex(Name);
        return I < 0 ? nullptr : dynamic_cast<E*>(D.ObjectList[std::size_t(I)].get());
    }

    // ---------------------------------------------------- lookups

    void Lookups() {
        for (auto [Name, Kind] : RequiredControls) {
            const int I = D.GetControlIndex(Name);
            if (I < 0)
                Fail(Name, "lookup", "missing");
            else if (SkinControlKind(*D.CtrlList[std::size_t(I)]) != Kind)
                Fail(Name, "lookup",
                     "kind " + SkinControlKind(*D.CtrlList[std::size_t(I)]) + ", expected " + Kind);
        }
        for (auto [Name, Kind] : RequiredObjects) {
            const int I = D.GetIndex(Name);
            if (I < 0)
                Fail(Name, "lookup", "missing");
            else if (SkinObjectKind(*D.ObjectList[std::size_t(I)]) != Kind)
                Fail(Name, "lookup",
                     "kind " + SkinObjectKind(*D.ObjectList[std::size_t(I)]) + ", expected " +
                         Kind);
        }
        if (auto* Bar = Control<TbsDataSkinMainMenuBar>("mainmenubar"))
            for (const std::string& N : {Bar->MenuBarItem, Bar->CloseButton, Bar->MaxButton,
                                         Bar->MinButton, Bar->SysMenuButton})
                if (D.GetIndex(N) < 0)
                    Fail("mainmenubar", "lookup", "names the missing object \"" + N + "\"");
        if (auto* Combo = Control<TbsDataSkinComboBox>("combobox"))
            if (!Control<TbsDataSkinListBox>(Combo->ListBoxName))
                Fail("combobox", "lookup", "list box \"" + Combo->ListBoxName + "\" missing");
    }

    // ---------------------------------------------------- rectangles

    void PictureIndex(const std::string& Element, const char* Key, int Index, bool MayBeNone) {
        if (Index == -1 && MayBeNone)
            return;
        if (!Picture(Index))
            Fail(Element, Key, "picture index " + std::to_string(Index) + " names no picture");
    }

    // PressedPictures: the element's "downbuttonrect" is its pressed button
    // picture (edits, combo boxes), not the place of a second button.
    void RectsOf(const std::string& Element, const std::function<void(TbsIniKeyVisitor&)>& Visit,
                 const TImage* InPicture, const TImage* SkinPicture, TRect Own, TRect Item,
                 bool PressedPictures = false) {
        TRectCollector Collector;
        Visit(Collector);
        for (auto& [Key, R] : Collector.Rects) {
            if (IsEmpty(R))
                continue;
            bool Ok;
            if (Key == "itemtextrect")
                Ok = Inside(R, Item.Width(), Item.Height());
            else if (ElementRelative.count(Key) && !(PressedPictures && Key == "downbuttonrect"))
                Ok = Inside(R, Own.Width(), Own.Height());
            else {
                const TImage* Pic = Key == "skinrect" ? SkinPicture : InPicture;
                Ok = Pic && Inside(R, Pic->Width(), Pic->Height());
            }
            if (!Ok)
                Fail(Element, Key, RectText(R) + " lies outside its picture or element");
        }
    }

    void Rectangles() {
        for (auto& E : D.CtrlList) {
            PictureIndex(E->IDName, "pictureindex", E->PictureIndex, true);
            PictureIndex(E->IDName, "maskpictureindex", E->MaskPictureIndex, true);
            TRect Item{};
            if (auto* C = dynamic_cast<TbsDataSkinComboBox*>(E.get()))
                Item = C->SItemRect;
            if (auto* L = dynamic_cast<TbsDataSkinListBox*>(E.get()))
                Item = L->SItemRect;
            if (auto* B = dynamic_cast<TbsDataSkinButtonControl*>(E.get()))
                if (B->GlowLayerPictureIndex != -1)
                    Fail(E->IDName, "glow", "uses a glow layer");
            const TImage* Pic = Picture(E->PictureIndex);
            if (E->PictureIndex >= 0 || !IsEmpty(E->SkinRect))
                RectsOf(
                    E->IDName, [&](TbsIniKeyVisitor& V) { E->VisitKeys(V); }, Pic, Pic, E->SkinRect,
                    Item,
                    dynamic_cast<TbsDataSkinEditControl*>(E.get()) ||
                        dynamic_cast<TbsDataSkinComboBox*>(E.get()));
        }
        for (auto& O : D.ObjectList) {
            PictureIndex(O->IDName, "activepictureindex", O->ActivePictureIndex, true);
            const TImage* Active = Picture(O->ActivePictureIndex);
            const TImage* Skin = O->SkinRectInAPicture ? Active : &Frame;
            RectsOf(
                O->IDName, [&](TbsIniKeyVisitor& V) { O->VisitKeys(V); }, Active, Skin, O->SkinRect,
                O->SkinRect);
        }
        RecordPicture("POPUPWINDOW", D.PopupWindow->WindowPictureIndex,
                      D.PopupWindow->MaskPictureIndex);
        RecordPicture("HINTWINDOW", D.HintWindow->WindowPictureIndex,
                      D.HintWindow->MaskPictureIndex);
        if (T.ShadowBorder)
            RecordPicture("LAYERFRAME", D.LayerFrame->PictureIndex, D.LayerFrame->MaskPictureIndex);
        else if (D.LayerFrame->PictureIndex != -1)
            Fail("LAYERFRAME", "pictureindex", "set on a theme without a shadow border");
        if (D.FMask->Width() != D.FPicture->Width() || D.FMask->Height() != D.FPicture->Height())
            Fail("FORMINFO", "mask", "mask size differs from the frame picture's");
        if (!InsideFrame(D.ClRect) || !InsideFrame(D.MaskRectArea) || !InsideFrame(D.ButtonsRect))
            Fail("FORMINFO", "rectangles", "a rectangle lies outside the frame picture");
        if (D.ButtonsRect.Left <= D.FPicture->Width() / 2)
            Fail("FORMINFO", "buttonsrect", "begins left of the picture's middle");
        if (D.FPicture->Width() > 200)
            Fail("FORMINFO", "frame", "picture wider than 200");
        if (D.FPicture->Height() - D.ClRect.Height() > 40)
            Fail("FORMINFO", "frame", "height without the client part above 40");
    }

    bool InsideFrame(const TRect& R) const { return Inside(R, Frame.Width(), Frame.Height()); }

    void RecordPicture(const std::string& Name, int Index, int Mask) {
        const TImage* Pic = Picture(Index);
        const TImage* M = Picture(Mask);
        if (!Pic || !M)
            Fail(Name, "pictures", "window or mask picture index invalid");
        else if (Pic->Width() != M->Width() || Pic->Height() != M->Height())
            Fail(Name, "mask", "mask size differs from its picture's");
    }

    // ---------------------------------------------------- nine parts

    void NinePart(const std::string& Name, TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect Cl,
                  int W, int H) {
        const bool Ok = 0 <= LT.X && LT.X <= RT.X && RT.X <= W && 0 <= LB.X && LB.X <= RB.X &&
                        RB.X <= W && Cl.Left <= LT.X && Cl.Left <= LB.X && RT.X <= Cl.Right &&
                        RB.X <= Cl.Right && LT.Y >= Cl.Top && RT.Y >= Cl.Top && LB.Y <= Cl.Bottom &&
                        RB.Y <= Cl.Bottom && LT.Y <= LB.Y && RT.Y <= RB.Y && 0 <= LT.Y &&
                        RB.Y <= H && LB.Y <= H && RB.X != 0 && RB.Y != 0;
        if (!Ok)
            Fail(Name, "nine-part", "corner points or client rectangle out of order");
        // Each edge and the client have a length of at least one pixel.
        if (RT.X - LT.X < 1 || RB.X - LB.X < 1 || LB.Y - LT.Y < 1 || RB.Y - RT.Y < 1 ||
            Cl.Width() < 1 || Cl.Height() < 1 || LT.Y < 1 || H - LB.Y < 1 || LT.X < 1 ||
            W - RT.X < 1)
            Fail(Name, "nine-part", "a part has length 0");
    }

    void NineParts() {
        for (auto& E : D.CtrlList)
            if (auto* C = dynamic_cast<TbsDataSkinCustomControl*>(E.get())) {
                if (dynamic_cast<TbsDataSkinUpDownControl*>(C))
                    continue;
                NinePart(C->IDName, C->LTPoint, C->RTPoint, C->LBPoint, C->RBPoint, C->ClRect,
                         C->SkinRect.Width(), C->SkinRect.Height());
            }
        const auto& Pw = *D.PopupWindow;
        const TImage* PwPic = Picture(Pw.WindowPictureIndex);
        if (PwPic)
            NinePart("POPUPWINDOW", Pw.LTPoint, Pw.RTPoint, Pw.LBPoint, Pw.RBPoint,
                     {Pw.LTPoint.X, Pw.LTPoint.Y, Pw.RBPoint.X, Pw.RBPoint.Y}, PwPic->Width(),
                     PwPic->Height());
        const auto& Hw = *D.HintWindow;
        if (const TImage* HwPic = Picture(Hw.WindowPictureIndex))
            NinePart("HINTWINDOW", Hw.LTPoint, Hw.RTPoint, Hw.LBPoint, Hw.RBPoint, Hw.ClRect,
                     HwPic->Width(), HwPic->Height());
        NinePart("FORMINFO", D.LTPoint, D.RTPoint, D.LBPoint, D.RBPoint, D.ClRect, Frame.Width(),
                 Frame.Height());
    }

    // ---------------------------------------------------- contrast

    // The smallest ratio of Colour against every pixel of R in Image.
    static double Smallest(const TImage& Image, const TRect& R, TRgb Colour) {
        double Min = 21;
        for (int Y = std::max(R.Top, 0); Y < std::min(R.Bottom, Image.Height()); ++Y)
            for (int X = std::max(R.Left, 0); X < std::min(R.Right, Image.Width()); ++X)
                Min = std::min(Min, ContrastRatio(Colour, Image.Pixel(X, Y)));
        return Min;
    }

    void Text(const std::string& Element, const std::string& State, const TImage* Image,
              const TRect& R, TColor Colour, bool Disabled = false, TColor Enabled = 0) {
        if (!Image || IsEmpty(R))
            return;
        Ratio(Element, State, Smallest(*Image, R, FromColor(std::uint32_t(Colour))), Disabled);
        if (Disabled && Colour == Enabled)
            Fail(Element, State, "disabled text colour equals the enabled one");
    }

    void Ratio(const std::string& Element, const std::string& State, double Value, bool Disabled) {
        const double Need = Disabled ? DisabledTextContrast : TextContrast;
        if (Value < Need) {
            char B[96];
            std::snprintf(B, sizeof B, "text contrast %.2f:1 below %.1f:1", Value, Need);
            Fail(Element, State, B);
        }
    }

    void Flat(const std::string& Element, const std::string& State, TColor Text, TColor Back) {
        Ratio(Element, State,
              ContrastRatio(FromColor(std::uint32_t(Text)), FromColor(std::uint32_t(Back))), false);
    }

    // The glyph's strongest pixel in R against the face pixel at (BX, BY).
    void Glyph(const std::string& Element, const std::string& State, const TImage* Image,
               const TRect& R, int BX, int BY) {
        if (!Image || IsEmpty(R))
            return;
        const TRgb Back = Image->Pixel(R.Left + BX, R.Top + BY);
        double Best = 1;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                Best = std::max(Best, ContrastRatio(Back, Image->Pixel(X, Y)));
        if (Best < GlyphContrast) {
            char B[96];
            std::snprintf(B, sizeof B, "glyph contrast %.2f:1 below %.1f:1", Best, GlyphContrast);
            Fail(Element, State, B);
        }
    }

    // Surfaces that labels, check boxes and radio boxes stand on.
    std::vector<std::pair<std::string, std::pair<const TImage*, TRect>>> Surfaces() {
        std::vector<std::pair<std::string, std::pair<const TImage*, TRect>>> S;
        S.push_back({"form client", {&Frame, D.ClRect}});
        for (const char* Name : {"panel", "groupbox", "toolpanel", "resizetoolpanel"})
            if (auto* E = Control<TbsDataSkinCustomControl>(Name))
                S.push_back({Name, {Picture(E->PictureIndex), Offset(E->ClRect, E->SkinRect)}});
        return S;
    }

    void Contrast() {
        for (auto& E : D.CtrlList) {
            const std::string& N = E->IDName;
            const TImage* Pic = Picture(E->PictureIndex);
            if (auto* B = dynamic_cast<TbsDataSkinButtonControl*>(E.get())) {
                // A state without a face of its own shows the normal face.
                auto Face = [&](const TRect& R) {
                    return Offset(B->ClRect, IsEmpty(R) ? B->SkinRect : R);
                };
                Text(N, "normal", Pic, Face(B->SkinRect), B->FontColor);
                Text(N, "hot", Pic, Face(B->ActiveSkinRect), B->ActiveFontColor);
                Text(N, "pressed", Pic, Face(B->DownSkinRect), B->DownFontColor);
                Text(N, "focused", Pic, Face(B->FocusedSkinRect), B->FontColor);
                Text(N, "disabled", Pic, Face(B->DisabledSkinRect), B->DisabledFontColor, true,
                     B->FontColor);
            } else if (auto* Ed = dynamic_cast<TbsDataSkinEditControl*>(E.get())) {
                Text(N, "normal", Pic, Offset(Ed->ClRect, Ed->SkinRect), Ed->FontColor);
                Text(N, "hot", Pic, Offset(Ed->ClRect, Ed->ActiveSkinRect), Ed->ActiveFontColor);
                for (auto [State, R] : {std::pair{"button hot", Ed->ActiveButtonRect},
                                        std::pair{"button pressed", Ed->DownButtonRect}})
                    Glyph(N, State, Pic, R, 3, R.Height() / 2);
            } else if (auto* Cb = dynamic_cast<TbsDataSkinComboBox*>(E.get())) {
                Text(N, "normal", Pic, Offset(Cb->ClRect, Cb->SkinRect), Cb->FontColor);
                Text(N, "item", Pic, Offset(Cb->ItemTextRect, Cb->SItemRect), Cb->FontColor);
                Text(N, "hot item", Pic, Offset(Cb->ItemTextRect, Cb->ActiveItemRect),
                     Cb->ActiveFontColor);
                Text(N, "focused item", Pic, Offset(Cb->ItemTextRect, Cb->FocusItemRect),
                     Cb->FocusFontColor);
                Glyph(N, "button", Pic, Offset(Cb->ButtonRect, Cb->SkinRect), 3,
                      Cb->ButtonRect.Height() / 2);
                for (auto [State, R] : {std::pair{"button hot", Cb->ActiveButtonRect},
                                        std::pair{"button pressed", Cb->DownButtonRect}})
                    Glyph(N, State, Pic, R, 3, R.Height() / 2);
            } else if (auto* Lb = dynamic_cast<TbsDataSkinListBox*>(E.get())) {
                Text(N, "item", Pic, Offset(Lb->ItemTextRect, Lb->SItemRect), Lb->FontColor);
                Text(N, "selected item", Pic, Offset(Lb->ItemTextRect, Lb->ActiveItemRect),
                     Lb->ActiveFontColor);
                Text(N, "focused item", Pic, Offset(Lb->ItemTextRect, Lb->FocusItemRect),
                     Lb->FocusFontColor);
            } else if (auto* Pn = dynamic_cast<TbsDataSkinPanelControl*>(E.get())) {
                const TRect Area = IsEmpty(Pn->CaptionRect) ? Pn->ClRect : Pn->CaptionRect;
                Text(N, "caption", Pic, Offset(Area, Pn->SkinRect), Pn->FontColor);
            } else if (auto* La = dynamic_cast<TbsDataSkinLabelControl*>(E.get())) {
                Text(N, "normal", Pic, Offset(La->ClRect, La->SkinRect), La->FontColor);
            } else if (auto* Tb = dynamic_cast<TbsDataSkinTabControl*>(E.get())) {
                const int M = Tb->TabLeftOffset;
                auto Inner = [&](const TRect& R) {
                    return TRect{R.Left + M, R.Top + 3, R.Right - M, R.Bottom - 3};
                };
                Text(N, "tab", Pic, Inner(Tb->TabRect), Tb->FontColor);
                Text(N, "active tab", Pic, Inner(Tb->ActiveTabRect), Tb->ActiveFontColor);
                Text(N, "hot tab", Pic, Inner(Tb->MouseInTabRect), Tb->MouseInFontColor);
            } else if (auto* Sb = dynamic_cast<TbsDataSkinScrollBarControl*>(E.get())) {
                Glyph(N, "first button", Pic, Offset(Sb->UpButtonRect, Sb->SkinRect), 3, 3);
                Glyph(N, "last button", Pic, Offset(Sb->DownButtonRect, Sb->SkinRect), 3, 3);
                for (auto [State, R] : {std::pair{"first button hot", Sb->ActiveUpButtonRect},
                                        std::pair{"first button pressed", Sb->DownUpButtonRect},
                                        std::pair{"last button hot", Sb->ActiveDownButtonRect},
                                        std::pair{"last button pressed", Sb->DownDownButtonRect}})
                    Glyph(N, State, Pic, R, 3, 3);
            } else if (auto* Ud = dynamic_cast<TbsDataSkinUpDownControl*>(E.get())) {
                Glyph(N, "first button", Pic, Offset(Ud->UpButtonRect, Ud->SkinRect), 3, 3);
                Glyph(N, "last button", Pic, Offset(Ud->DownButtonRect, Ud->SkinRect), 3, 3);
            } else if (auto* Sl = dynamic_cast<TbsDataSkinSlider*>(E.get())) {
                if (Pic)
                    for (auto [Ruler, Thumb] : {std::pair{Sl->HRulerRect, Sl->HThumbRect},
                                                std::pair{Sl->VRulerRect, Sl->VThumbRect}}) {
                        const TRgb R = Pic->Pixel((Ruler.Left + Ruler.Right) / 2,
                                                  (Ruler.Top + Ruler.Bottom) / 2);
                        const int CW = Thumb.Width() / 2;
                        for (int Cell = 0; Cell < 2; ++Cell) {
                            const TRgb Th = Pic->Pixel(Thumb.Left + Cell * CW + CW / 2,
                                                       (Thumb.Top + Thumb.Bottom) / 2);
                            if (ContrastRatio(R, Th) < GlyphContrast)
                                Fail(N, Cell ? "thumb pressed" : "thumb",
                                     "thumb against its ruler below 3:1");
                        }
                    }
            } else if (auto* V = dynamic_cast<TbsDataSkinViewControl*>(E.get())) {
                Flat(N, "normal", V->FontColor, V->BGColor);
            } else if (auto* Cr = dynamic_cast<TbsDataSkinCheckRadioControl*>(E.get())) {
                for (auto& [Surface, Where] : Surfaces()) {
                    Text(N, "on " + Surface, Where.first, Where.second, Cr->FontColor);
                    Text(N, "hot on " + Surface, Where.first, Where.second, Cr->ActiveFontColor);
                    Text(N, "disabled on " + Surface, Where.first, Where.second,
                         Cr->UnEnabledFontColor, true, Cr->FontColor);
                }
                const int S = Cr->CheckImageRect.Height();
                for (auto [State, R] : {std::pair{"checked", Cr->CheckImageRect},
                                        std::pair{"checked hot", Cr->ActiveCheckImageRect},
                                        std::pair{"grayed", Cr->GrayedCheckImageRect},
                                        std::pair{"grayed hot", Cr->ActiveGrayedCheckImageRect}})
                    Glyph(N, State, Pic, R, S / 2, 2);
            } else if (auto* Sl2 = dynamic_cast<TbsDataSkinStdLabelControl*>(E.get())) {
                for (auto& [Surface, Where] : Surfaces()) {
                    Text(N, "on " + Surface, Where.first, Where.second, Sl2->FontColor);
                    Text(N, "link hot on " + Surface, Where.first, Where.second,
                         Sl2->ActiveFontColor);
                }
            }
        }
        Objects();
        TbsSkinColors& C = *D.SkinColors();
        Flat("SKINCOLORS", "button text", C.cBtnText(), C.cBtnFace());
        Flat("SKINCOLORS", "window text", C.cWindowText(), C.cWindow());
        Flat("SKINCOLORS", "selected text", C.cHighLightText(), C.cHighLight());
        const auto& Hw = *D.HintWindow;
        Text("HINTWINDOW", "normal", Picture(Hw.WindowPictureIndex), Hw.ClRect, Hw.FontColor);
    }

    void Objects() {
        for (auto& O : D.ObjectList) {
            const std::string& N = O->IDName;
            const TImage* Pic = Picture(O->ActivePictureIndex);
            if (auto* M = dynamic_cast<TbsDataSkinMenuItem*>(O.get())) {
                Text(N, "normal", Pic, Offset(M->TextRct, M->SkinRect), M->FontColor);
                Text(N, "hot", Pic, Offset(M->TextRct, M->ActiveSkinRect), M->ActiveFontColor);
                Text(N, "disabled", Pic, Offset(M->TextRct, M->SkinRect), M->UnEnabledFontColor,
                     true, M->FontColor);
                Text(N, "disabled hot", Pic, Offset(M->TextRct, M->ActiveSkinRect),
                     M->UnEnabledFontColor, true, M->FontColor);
                for (auto [State, R] : {std::pair{"check", M->CheckImageRect},
                                        std::pair{"check hot", M->ActiveCheckImageRect},
                                        std::pair{"radio", M->RadioImageRect},
                                        std::pair{"radio hot", M->ActiveRadioImageRect},
                                        std::pair{"arrow", M->ArrowImageRect},
                                        std::pair{"arrow hot", M->ActiveArrowImageRect}})
                    Glyph(N, State, Pic, R, 0, R.Height() - 1);
            } else if (auto* Mb = dynamic_cast<TbsDataSkinMainMenuItem*>(O.get())) {
                Text(N, "normal", Pic, Offset(Mb->TextRct, Mb->SkinRect), Mb->FontColor);
                Text(N, "hot", Pic, Offset(Mb->TextRct, Mb->ActiveSkinRect), Mb->ActiveFontColor);
                Text(N, "pressed", Pic, Offset(Mb->TextRct, Mb->DownRect), Mb->DownFontColor);
            } else if (auto* Cap = dynamic_cast<TbsDataSkinCaption*>(O.get())) {
                const TRect R = Offset(Cap->TextRct, Cap->SkinRect);
                Text(N, "active", &Frame, R, Cap->ActiveFontColor);
                if (InActiveFrame) {
                    Text(N, "inactive", &*InActiveFrame, R, Cap->FontColor);
                } else {
                    // What an inactive form shows: the strip with its text,
                    // after the skin's inactive effect.
                    TImage Strip = Frame.Crop(R);
                    TImage Ink(1, 1, FromColor(std::uint32_t(Cap->FontColor)));
                    ApplyInActiveEffect(Strip, D.InActiveEffect);
                    ApplyInActiveEffect(Ink, D.InActiveEffect);
                    Text(N, "inactive", &Strip, Sized(Strip), TColor(ToColor(Ink.Pixel(0, 0))));
                }
            } else if (auto* Sb = dynamic_cast<TbsDataSkinStdButton*>(O.get())) {
                for (auto [State, R] :
                     {std::pair{"normal", Sb->SkinRect}, std::pair{"hot", Sb->ActiveSkinRect},
                      std::pair{"pressed", Sb->DownRect},
                      std::pair{"inactive", Sb->InActiveSkinRect},
                      std::pair{"restore", Sb->RestoreRect},
                      std::pair{"restore hot", Sb->RestoreActiveRect}})
                    Glyph(N, State, Pic, R, 2, R.Height() / 2);
            }
        }
    }

    static TRect Sized(const TImage& I) { return {0, 0, I.Width(), I.Height()}; }
};

} // namespace

std::vector<TCheckFailure> CheckSkin(TbsSkinData& Skin, const TTheme& Theme) {
    return TChecker(Skin, Theme).Run();
}

} // namespace skingen
