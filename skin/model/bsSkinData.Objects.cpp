#include "skin/model/bsSkinData.Objects.h"

namespace {

// A maximise, minimise or roll-up button stands for restoring once the form
// is in that state; a skin that names no hint for that gets "Restore".
void CompleteRestoreHint(const std::string& Hint, TbsStdCommand Command, std::string& RestoreHint) {
    if (!RestoreHint.empty())
        return;
    if ((Hint == "Maximize" && Command == cmMaximize) ||
        (Hint == "Minimize" && Command == cmMinimize) ||
        ((Hint == "RollUp" || Hint == "Roll Up") && Command == cmRollUp))
        RestoreHint = "Restore";
}

// An active image left empty shows the plain one.
void CompleteActiveImage(TRect& Active, const TRect& Plain) {
    if (Active.Width() <= 0 || Active.Height() <= 0)
        Active = Plain;
}

// Caption buttons and animations that act as buttons describe their
// restoring look under the same keys.
template <class TButton> void VisitRestoreKeys(TButton& Button, TbsIniKeyVisitor& V) {
    V.Text("restorehint", Button.RestoreHint, "");
    V.Rect("restorerect", Button.RestoreRect);
    V.Rect("restoreactiverect", Button.RestoreActiveRect);
    V.Rect("restoredownrect", Button.RestoreDownRect);
    V.Rect("restoreinactiverect", Button.RestoreInActiveRect);
}

} // namespace

void TbsDataSkinObject::LoadFromFile(TCustomIniFile& IniFile) {
    ReadVisitedKeys(*this, IniFile, IDName);
}

void TbsDataSkinObject::SaveToFile(TCustomIniFile& IniFile) {
    IniFile.EraseSection(IDName);
    WriteVisitedKeys(*this, IniFile, IDName);
}

void TbsDataSkinObject::VisitKeys(TbsIniKeyVisitor& V) {
    V.Text("hint", Hint, "");
    V.Boolean("skinrectinapicture", SkinRectInAPicture);
    V.Rect("skinrect", SkinRect);
    V.Rect("activeskinrect", ActiveSkinRect);
    V.Integer("activepictureindex", ActivePictureIndex, -1);
    V.Integer("activemaskpictureindex", ActiveMaskPictureIndex, -1);
    V.Rect("inactiveskinrect", InActiveSkinRect);
    V.Boolean("morphing", Morphing);
    V.MorphKind("morphkind", MorphKind);
    V.Integer("glowlayerpictureindex", GlowLayerPictureIndex, -1);
    V.Integer("glowlayermaskpictureindex", GlowLayerMaskPictureIndex, -1);
    V.Integer("glowlayeroffsetx", GlowLayerOffsetX, 0);
    V.Integer("glowlayeroffsety", GlowLayerOffsetY, 0);
    V.Integer("glowlayeralphablendvalue", GlowLayerAlphaBlendValue, 255);
}

// A user area is only a place on the frame: the keys of the base class are
// neither read nor written.
void TbsDataUserObject::VisitKeys(TbsIniKeyVisitor& V) {
    V.Rect("skinrect", SkinRect);
}

void TbsDataSkinButton::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinObject::VisitKeys(V);
    V.Rect("downrect", DownRect);
    V.Rect("disableskinrsect", DisableSkinRect);
}

void TbsDataSkinStdButton::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinButton::VisitKeys(V);
    V.Command("command", Command);
    VisitRestoreKeys(*this, V);
}

void TbsDataSkinAnimate::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinObject::VisitKeys(V);
    V.Integer("countframes", CountFrames, 1);
    V.Boolean("cycle", Cycle);
    V.Boolean("buttonstyle", ButtonStyle);
    V.Integer("timerinterval", TimerInterval, 50);
    V.Command("command", Command);
    V.Rect("downskinrect", DownSkinRect);
    VisitRestoreKeys(*this, V);
}

void TbsDataSkinMenuItem::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinObject::VisitKeys(V);
    V.Rect("dividerrect", DividerRect);
    V.Integer("dividerleftoffset", DividerLO, 0);
    V.Integer("dividerrightoffset", DividerRO, 0);
    V.Integer("itemleftoffset", ItemLO, 0);
    V.Integer("itemrightoffset", ItemRO, 0);
    V.Text("fontname", FontName, "Arial");
    V.FontHeight("fontheight", FontHeight, 14);
    V.FontStyles("fontstyle", FontStyle);
    V.Color("unenabledfontcolor", UnEnabledFontColor, 0);
    V.Color("fontcolor", FontColor, 0);
    V.Color("activefontcolor", ActiveFontColor, 0);
    V.Rect("textrect", TextRct);
    V.Rect("imagerect", ImageRct);
    V.Boolean("useimagecolor", UseImageColor);
    V.Color("imagecolor", ImageColor, 0);
    V.Color("activeimagecolor", ActiveImageColor, 0);
    V.Boolean("stretcheffect", StretchEffect);
    V.Boolean("dividerstretcheffect", DividerStretchEffect);
    V.Boolean("inactivestretcheffect", InActiveStretchEffect);
    V.Rect("animateskinrect", AnimateSkinRect);
    V.Integer("framecount", FrameCount, 0);
    V.Integer("animateinterval", AnimateInterval, 25);
    V.Boolean("inactiveanimation", InActiveAnimation);
    V.Boolean("inactivetransparent", InActiveTransparent);
    V.Rect("checkimagerect", CheckImageRect);
    V.Rect("activecheckimagerect", ActiveCheckImageRect);
    V.Rect("radioimagerect", RadioImageRect);
    V.Rect("activeradioimagerect", ActiveRadioImageRect);
    V.Rect("arrowimagerect", ArrowImageRect);
    V.Rect("activearrowimagerect", ActiveArrowImageRect);
}

void TbsDataSkinMainMenuItem::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinObject::VisitKeys(V);
    V.Rect("downrect", DownRect);
    V.Text("fontname", FontName, "Arial");
    V.FontHeight("fontheight", FontHeight, 14);
    V.FontStyles("fontstyle", FontStyle);
    V.Color("fontcolor", FontColor, 0);
    V.Color("activefontcolor", ActiveFontColor, 0);
    V.Color("downfontcolor", DownFontColor, 0);
    V.Color("unenabledfontColor", UnEnabledFontColor, 0);
    V.Rect("textrect", TextRct);
    V.Integer("itemleftoffset", ItemLO, 0);
    V.Integer("itemrightoffset", ItemRO, 0);
    V.Boolean("stretcheffect", StretchEffect);
    V.Rect("animateskinrect", AnimateSkinRect);
    V.Integer("framecount", FrameCount, 0);
    V.Integer("animateinterval", AnimateInterval, 25);
    V.Boolean("inactiveanimation", InActiveAnimation);
}

void TbsDataSkinCaption::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinObject::VisitKeys(V);
    V.Text("fontname", FontName, "Arial");
    V.FontHeight("fontheight", FontHeight, 14);
    V.FontStyles("fontstyle", FontStyle);
    V.Color("fontcolor", FontColor, 0);
    V.Color("activefontcolor", ActiveFontColor, 0);
    V.Color("shadowcolor", ShadowColor, 0);
    V.Color("activeshadowcolor", ActiveShadowColor, 0);
    V.Boolean("shadow", Shadow);
    V.Alignment("alignment", Alignment);
    V.Rect("textrect", TextRct);
    V.Rect("framerect", FrameRect);
    V.Rect("activeframerect", ActiveFrameRect);
    V.Integer("frameleftoffset", FrameLeftOffset, 0);
    V.Integer("framerightoffset", FrameRightOffset, 0);
    V.Rect("frametextrect", FrameTextRect);
    V.Boolean("light", Light);
    V.Color("lightcolor", LightColor, 0);
    V.Color("activelightcolor", ActiveLightColor, 0);
    V.Boolean("stretcheffect", StretchEffect);
    V.Rect("animateskinrect", AnimateSkinRect);
    V.Integer("framecount", FrameCount, 0);
    V.Integer("animateinterval", AnimateInterval, 25);
    V.Boolean("inactiveanimation", InActiveAnimation);
    V.Boolean("fullframe", FullFrame);
    V.Boolean("gloweffect", GlowEffect);
    V.Boolean("vistagloweffect", VistaGlowEffect);
    V.Boolean("vistaglowinactiveeffect", VistaGlowInActiveEffect);
    V.Boolean("glowinactiveeffect", GlowInActiveEffect);
    V.Integer("glowsize", GlowSize, 3);
    V.Color("glowcolor", GlowColor, 0);
    V.Color("glowactivecolor", GlowActiveColor, 0);
    V.Integer("glowoffset", GlowOffset, 0);
    V.Boolean("reflectioneffect", ReflectionEffect);
    V.Color("reflactioncolor", ReflectionColor, 0);
    V.Color("reflactionactivecolor", ReflectionActiveColor, 0);
    V.Integer("reflectionoffset", ReflectionOffset, 0);
}

void TbsDataSkinStdButton::LoadFromFile(TCustomIniFile& IniFile) {
    TbsDataSkinButton::LoadFromFile(IniFile);
    CompleteRestoreHint(Hint, Command, RestoreHint);
}

void TbsDataSkinAnimate::LoadFromFile(TCustomIniFile& IniFile) {
    TbsDataSkinObject::LoadFromFile(IniFile);
    // An animation never morphs between looks, whatever the skin says.
    Morphing = false;
    CompleteRestoreHint(Hint, Command, RestoreHint);
}

void TbsDataSkinMenuItem::LoadFromFile(TCustomIniFile& IniFile) {
    TbsDataSkinObject::LoadFromFile(IniFile);
    CompleteActiveImage(ActiveCheckImageRect, CheckImageRect);
    CompleteActiveImage(ActiveRadioImageRect, RadioImageRect);
    CompleteActiveImage(ActiveArrowImageRect, ArrowImageRect);
}
