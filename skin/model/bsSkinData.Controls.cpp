#include "skin/model/bsSkinData.Controls.h"

void TbsDataSkinControl::LoadFromFile(TCustomIniFile& IniFile) {
    ReadVisitedKeys(*this, IniFile, IDName);
}

void TbsDataSkinControl::SaveToFile(TCustomIniFile& IniFile) {
    IniFile.EraseSection(IDName);
    WriteVisitedKeys(*this, IniFile, IDName);
}

void TbsDataSkinControl::VisitKeys(TbsIniKeyVisitor& V) {
    V.Integer("pictureindex", PictureIndex, -1);
    V.Integer("maskpictureindex", MaskPictureIndex, -1);
    V.Rect("skinrect", SkinRect);
}

void TbsDataSkinCustomControl::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinControl::VisitKeys(V);
    V.Point("lefttoppoint", LTPoint);
    V.Point("righttoppoint", RTPoint);
    V.Point("leftbottompoint", LBPoint);
    V.Point("rightbottompoint", RBPoint);
    V.Rect("clientrect", ClRect);
    V.Boolean("stretcheffect", StretchEffect);
    V.StretchType("stretchtype", StretchType);
    V.Boolean("leftstretch", LeftStretch);
    V.Boolean("topstretch", TopStretch);
    V.Boolean("rightstretch", RightStretch);
    V.Boolean("bottomstretch", BottomStretch);
}

void TbsDataSkinButtonControl::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinCustomControl::VisitKeys(V);
    V.Text("fontname", FontName, "Arial");
    V.FontStyles("fontstyle", FontStyle);
    V.FontHeight("fontheight", FontHeight, 14);
    V.Color("fontcolor", FontColor, 0);
    V.Color("activefontcolor", ActiveFontColor, 0);
    V.Color("downfontcolor", DownFontColor, 0);
    V.Color("disabledfontcolor", DisabledFontColor, 0);
    V.Rect("activeskinrect", ActiveSkinRect);
    V.Rect("downskinrect", DownSkinRect);
    V.Rect("disabledskinrect", DisabledSkinRect);
    V.Rect("focusedskinrect", FocusedSkinRect);
    V.Boolean("morphing", Morphing);
    V.MorphKind("morphkind", MorphKind);
    V.Rect("animateskinrect", AnimateSkinRect);
    V.Integer("framecount", FrameCount, 0);
    V.Integer("animateinterval", AnimateInterval, 25);
    V.Boolean("showfocus", ShowFocus);
    V.Rect("menumarkerflatrect", MenuMarkerFlatRect);
    V.Rect("menumarkerrect", MenuMarkerRect);
    V.Rect("menumarkeractiverect", MenuMarkerActiveRect);
    V.Rect("menumarkerdownrect", MenuMarkerDownRect);
    V.Color("menumarkertransparentcolor", MenuMarkerTransparentColor, 0);
    V.Integer("glowlayerpictureindex", GlowLayerPictureIndex, -1);
    V.Integer("glowlayermaskpictureindex", GlowLayerMaskPictureIndex, -1);
    V.Integer("glowlayeroffsetleft", GlowLayerOffsetLeft, 0);
    V.Integer("glowlayeroffsetright", GlowLayerOffsetRight, 0);
    V.Integer("glowlayeroffsettop", GlowLayerOffsetTop, 0);
    V.Integer("glowlayeroffsetbottom", GlowLayerOffsetBottom, 0);
    V.Integer("glowlayershowoffsetx", GlowLayerShowOffsetX, 0);
    V.Integer("glowlayershowoffsety", GlowLayerShowOffsetY, 0);
    V.Integer("glowlayeralphablendvalue", GlowLayerAlphaBlendValue, 255);
}

void TbsDataSkinMenuButtonControl::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinButtonControl::VisitKeys(V);
    V.Rect("trackbuttonrect", TrackButtonRect);
}

void TbsDataSkinCheckRadioControl::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinCustomControl::VisitKeys(V);
    V.Text("fontname", FontName, "Arial");
    V.FontStyles("fontstyle", FontStyle);
    V.FontHeight("fontheight", FontHeight, 14);
    V.Color("fontcolor", FontColor, 0);
    V.Color("activefontcolor", ActiveFontColor, 0);
    V.Color("unenabledfontcolor", UnEnabledFontColor, 0);
    V.Rect("activeskinrect", ActiveSkinRect);
    V.Rect("checkimagearea", CheckImageArea);
    V.Rect("textarea", TextArea);
    V.Rect("checkimagerect", CheckImageRect);
    V.Rect("uncheckimagerect", UnCheckImageRect);
    V.Rect("activecheckimagerect", ActiveCheckImageRect);
    V.Rect("activeuncheckimagerect", ActiveUnCheckImageRect);
    V.Rect("unenabledcheckimagerect", UnEnabledCheckImageRect);
    V.Rect("unenableduncheckimagerect", UnEnabledUnCheckImageRect);
    V.Rect("grayedcheckimagerect", GrayedCheckImageRect);
    V.Rect("activegrayedcheckimagerect", ActiveGrayedCheckImageRect);
    V.Boolean("morphing", Morphing);
    V.MorphKind("morphkind", MorphKind);
    V.Color("framefontcolor", FrameFontColor, 0);
}

void TbsDataSkinPanelControl::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinCustomControl::VisitKeys(V);
    V.Rect("captionrect", CaptionRect);
    V.Alignment("alignment", Alignment);
    V.Text("fontname", FontName, "Arial");
    V.FontStyles("fontstyle", FontStyle);
    V.FontHeight("fontheight", FontHeight, 14);
    V.Color("fontcolor", FontColor, 0);
    V.Integer("bgpictureindex", BGPictureIndex, -1);
    V.Rect("checkimagerect", CheckImageRect);
    V.Rect("uncheckimagerect", UnCheckImageRect);
    V.Rect("markframerect", MarkFrameRect);
    V.Rect("framerect", FrameRect);
    V.Integer("frameleftoffset", FrameLeftOffset, 0);
    V.Integer("framerightoffset", FrameRightOffset, 0);
    V.Rect("frametextrect", FrameTextRect);
    V.Rect("gripperrect", GripperRect);
    V.Boolean("grippertransparent", GripperTransparent);
    V.Color("grippertransparentcolor", GripperTransparentColor, 0);
}

void TbsDataSkinExPanelControl::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinCustomControl::VisitKeys(V);
    V.Rect("rollhskinrect", RollHSkinRect);
    V.Rect("rollvskinrect", RollVSkinRect);
    V.Integer("rollleftoffset", RollLeftOffset, 0);
    V.Integer("rollrightoffset", RollRightOffset, 0);
    V.Integer("rolltopoffset", RollTopOffset, 0);
    V.Integer("rollbottomoffset", RollBottomOffset, 0);
    V.Rect("rollvcaptionrect", RollVCaptionRect);
    V.Rect("rollhcaptionrect", RollHCaptionRect);
    V.Rect("closebuttonrect", CloseButtonRect);
    V.Rect("closebuttonactiverect", CloseButtonActiveRect);
    V.Rect("closebuttondownrect", CloseButtonDownRect);
    V.Rect("hrollbuttonrect", HRollButtonRect);
    V.Rect("hrollbuttonactiverect", HRollButtonActiveRect);
    V.Rect("hrollbuttondownrect", HRollButtonDownRect);
    V.Rect("hrestorebuttonrect", HRestoreButtonRect);
    V.Rect("hrestorebuttonactiverect", HRestoreButtonActiveRect);
    V.Rect("hrestorebuttondownrect", HRestoreButtonDownRect);
    V.Rect("vrollbuttonrect", VRollButtonRect);
    V.Rect("vrollbuttonactiverect", VRollButtonActiveRect);
    V.Rect("vrollbuttondownrect", VRollButtonDownRect);
    V.Rect("vrestorebuttonrect", VRestoreButtonRect);
    V.Rect("vrestorebuttonactiverect", VRestoreButtonActiveRect);
    V.Rect("vrestorebuttondownrect", VRestoreButtonDownRect);
    V.Rect("captionrect", CaptionRect);
    V.Text("fontname", FontName, "Arial");
    V.FontStyles("fontstyle", FontStyle);
    V.FontHeight("fontheight", FontHeight, 14);
    V.Color("fontcolor", FontColor, 0);
    V.Boolean("buttonstransparent", ButtonsTransparent);
    V.Color("buttonstransparentcolor", ButtonsTransparentColor, 0);
}

void TbsDataSkinControlBar::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinCustomControl::VisitKeys(V);
    V.Rect("itemrect", ItemRect);
    V.Integer("bgpictureindex", BGPictureIndex, -1);
    V.Rect("hgriprect", HGripRect);
    V.Rect("vgriprect", VGripRect);
    V.Integer("gripoffset1", GripOffset1, 0);
    V.Integer("gripoffset2", GripOffset2, 0);
    V.Boolean("itemstretcheffect", ItemStretchEffect);
    V.Integer("itemoffset1", ItemOffset1, 3);
    V.Integer("itemoffset2", ItemOffset2, 3);
    V.Boolean("itemtransparent", ItemTransparent);
    V.Color("itemtransparentcolor", ItemTransparentColor, 0);
    V.Boolean("griptransparent", GripTransparent);
    V.Color("griptransparentcolor", GripTransparentColor, 0);
}

void TbsDataSkinScrollBoxControl::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinCustomControl::VisitKeys(V);
    V.Integer("bgpictureindex", BGPictureIndex, -1);
}

void TbsDataSkinEditControl::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinCustomControl::VisitKeys(V);
    V.Rect("activeskinrect", ActiveSkinRect);
    V.Text("fontname", FontName, "Arial");
    V.FontStyles("fontstyle", FontStyle);
    V.FontHeight("fontheight", FontHeight, 14);
    V.Color("fontcolor", FontColor, 0);
    V.Color("disabledfontcolor", DisabledFontColor, 0);
    V.Color("activefontcolor", ActiveFontColor, 0);
    V.Rect("buttonrect", ButtonRect);
    V.Rect("activebuttonrect", ActiveButtonRect);
    V.Rect("downbuttonrect", DownButtonRect);
    V.Rect("unenabledbuttonrect", UnEnabledButtonRect);
}

void TbsDataSkinMemoControl::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinEditControl::VisitKeys(V);
    V.Color("bgcolor", BGColor, 0);
    V.Color("activebgcolor", ActiveBGColor, 0);
}

void TbsDataSkinSpinEditControl::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinCustomControl::VisitKeys(V);
    V.Rect("activeskinrect", ActiveSkinRect);
    V.Text("fontname", FontName, "Arial");
    V.FontStyles("fontstyle", FontStyle);
    V.FontHeight("fontheight", FontHeight, 14);
    V.Color("fontcolor", FontColor, 0);
    V.Color("activefontcolor", ActiveFontColor, 0);
    V.Color("disabledfontcolor", DisabledFontColor, 0);
    V.Rect("upbuttonrect", UpButtonRect);
    V.Rect("activeupbuttonrect", ActiveUpButtonRect);
    V.Rect("downupbuttonrect", DownUpButtonRect);
    V.Rect("downbuttonrect", DownButtonRect);
    V.Rect("activedownbuttonrect", ActiveDownButtonRect);
    V.Rect("downdownbuttonrect", DownDownButtonRect);
}

void TbsDataSkinUpDownControl::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinCustomControl::VisitKeys(V);
    V.Rect("upbuttonrect", UpButtonRect);
    V.Rect("activeupbuttonrect", ActiveUpButtonRect);
    V.Rect("downupbuttonrect", DownUpButtonRect);
    V.Rect("downbuttonrect", DownButtonRect);
    V.Rect("activedownbuttonrect", ActiveDownButtonRect);
    V.Rect("downdownbuttonrect", DownDownButtonRect);
}

// An up-down pair has no nine-part frame: whatever its section holds, the
// frame fields read as zero and are written as zero.
void TbsDataSkinUpDownControl::ClearFrame() {
    LTPoint = {};
    RTPoint = {};
    LBPoint = {};
    RBPoint = {};
    ClRect = {};
}

void TbsDataSkinUpDownControl::LoadFromFile(TCustomIniFile& IniFile) {
    TbsDataSkinCustomControl::LoadFromFile(IniFile);
    ClearFrame();
}

void TbsDataSkinUpDownControl::SaveToFile(TCustomIniFile& IniFile) {
    ClearFrame();
    TbsDataSkinCustomControl::SaveToFile(IniFile);
}

namespace {

// Combo boxes and list boxes draw their items alike, so both open their keys
// with the same item list.
template <class TBox> void VisitItemKeys(TBox& Box, TbsIniKeyVisitor& V) {
    V.Rect("itemrect", Box.SItemRect);
    V.Rect("activeitemrect", Box.ActiveItemRect);
    V.Rect("focusitemrect", Box.FocusItemRect);
    V.Integer("itemleftoffset", Box.ItemLeftOffset, 0);
    V.Integer("itemrightoffset", Box.ItemRightOffset, 0);
    V.Rect("itemtextrect", Box.ItemTextRect);
    V.Text("fontname", Box.FontName, "Arial");
    V.FontStyles("fontstyle", Box.FontStyle);
    V.FontHeight("fontheight", Box.FontHeight, 14);
    V.Color("fontcolor", Box.FontColor, 0);
}

} // namespace

void TbsDataSkinComboBox::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinCustomControl::VisitKeys(V);
    VisitItemKeys(*this, V);
    V.Color("focusfontcolor", FocusFontColor, 0);
    V.Color("activefontcolor", ActiveFontColor, 0);
    V.Rect("buttonrect", ButtonRect);
    V.Rect("activebuttonrect", ActiveButtonRect);
    V.Rect("downbuttonrect", DownButtonRect);
    V.Rect("unenabledbuttonrect", UnEnabledButtonRect);
    V.Boolean("itemstretcheffect", ItemStretchEffect);
    V.Boolean("focusitemstretcheffect", FocusItemStretchEffect);
    V.Rect("activeskinrect", ActiveSkinRect);
    V.Text("listboxname", ListBoxName, "");
    V.Boolean("showfocus", ShowFocus);
}

void TbsDataSkinListBox::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinCustomControl::VisitKeys(V);
    VisitItemKeys(*this, V);
    V.Color("activefontcolor", ActiveFontColor, 0);
    V.Color("focusfontcolor", FocusFontColor, 0);
    V.Rect("captionrect", CaptionRect);
    V.Text("captionfontname", CaptionFontName, "Arial");
    V.FontStyles("captionfontstyle", CaptionFontStyle);
    V.FontHeight("captionfontheight", CaptionFontHeight, 14);
    V.Color("captionfontcolor", CaptionFontColor, 0);
    V.Rect("upbuttonrect", UpButtonRect);
    V.Rect("activeupbuttonrect", ActiveUpButtonRect);
    V.Rect("downupbuttonrect", DownUpButtonRect);
    V.Rect("downbuttonrect", DownButtonRect);
    V.Rect("activedownbuttonrect", ActiveDownButtonRect);
    V.Rect("downdownbuttonrect", DownDownButtonRect);
    V.Rect("checkbuttonrect", CheckButtonRect);
    V.Rect("activecheckbuttonrect", ActiveCheckButtonRect);
    V.Rect("downcheckbuttonrect", DownCheckButtonRect);
    V.Text("hscrollbarname", HScrollBarName, "hscrollbar");
    V.Text("vscrollbarname", VScrollBarName, "vscrollbar");
    V.Text("bothhscrollbarname", BothScrollBarName, "bothhscrollbar");
    V.Boolean("showfocus", ShowFocus);
    V.Rect("disabledbuttonsrect", DisabledButtonsRect);
    V.Rect("buttonsarea", ButtonsArea);
}

void TbsDataSkinCheckListBox::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinListBox::VisitKeys(V);
    V.Rect("uncheckimagerect", UnCheckImageRect);
    V.Rect("checkimagerect", CheckImageRect);
    V.Rect("itemcheckrect", ItemCheckRect);
}

void TbsDataSkinScrollBarControl::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinCustomControl::VisitKeys(V);
    V.Rect("trackarea", TrackArea);
    V.Rect("upbuttonrect", UpButtonRect);
    V.Rect("activeupbuttonrect", ActiveUpButtonRect);
    V.Rect("downupbuttonrect", DownUpButtonRect);
    V.Rect("downbuttonrect", DownButtonRect);
    V.Rect("activedownbuttonrect", ActiveDownButtonRect);
    V.Rect("downdownbuttonrect", DownDownButtonRect);
    V.Rect("thumbrect", ThumbRect);
    V.Rect("activethumbrect", ActiveThumbRect);
    V.Rect("downthumbrect", DownThumbRect);
    V.Integer("thumboffset1", ThumbOffset1, 0);
    V.Integer("thumboffset2", ThumbOffset2, 0);
    V.Rect("glyphrect", GlyphRect);
    V.Rect("activeglyphrect", ActiveGlyphRect);
    V.Rect("downglyphrect", DownGlyphRect);
    V.Boolean("glyphtransparent", GlyphTransparent);
    V.Color("glyphtransparentcolor", GlyphTransparentColor, 0);
    V.Boolean("thumbtransparent", ThumbTransparent);
    V.Color("thumbtransparentcolor", ThumbTransparentColor, 0);
    V.Boolean("thumbstretcheffect", ThumbStretchEffect);
    V.ThumbLength("thumbminsize", ThumbMinSize);
    V.ThumbLength("thumbminpagesize", ThumbMinPageSize);
}

void TbsDataSkinTrackBarControl::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinCustomControl::VisitKeys(V);
    V.Rect("activeskinrect", ActiveSkinRect);
    V.Rect("trackarea", TrackArea);
    V.Rect("buttonrect", ButtonRect);
    V.Rect("activebuttonrect", ActiveButtonRect);
    V.Boolean("vertical", Vertical);
    V.Boolean("buttontransparent", ButtonTransparent);
    V.Color("buttontransparentcolor", ButtonTransparentColor, 0);
}

void TbsDataSkinSlider::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinControl::VisitKeys(V);
    V.Rect("hrulerrect", HRulerRect);
    V.Rect("hthumbrect", HThumbRect);
    V.Rect("vrulerrect", VRulerRect);
    V.Rect("vthumbrect", VThumbRect);
    V.Integer("edgesize", EdgeSize, 0);
    V.Color("bgcolor", BGColor, 0);
    V.Color("pointscolor", PointsColor, 0);
}

void TbsDataSkinGaugeControl::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinCustomControl::VisitKeys(V);
    V.Rect("progressarea", ProgressArea);
    V.Rect("progressrect", ProgressRect);
    V.Boolean("vertical", Vertical);
    V.Integer("beginoffset", BeginOffset, 0);
    V.Integer("endoffset", EndOffset, 0);
    V.Text("fontname", FontName, "Arial");
    V.FontStyles("fontstyle", FontStyle);
    V.FontHeight("fontheight", FontHeight, 14);
    V.Color("fontcolor", FontColor, 0);
    V.Boolean("progresstransparent", ProgressTransparent);
    V.Color("progresstransparentcolor", ProgressTransparentColor, 0);
    V.Boolean("progressstretch", ProgressStretch);
    V.Rect("animationskinrect", AnimationSkinRect);
    V.Integer("animationcountframes", AnimationCountFrames, 0);
    V.Integer("animationtimerinterval", AnimationTimerInterval, 0);
    V.Rect("progressanimationskinrect", ProgressAnimationSkinRect);
    V.Integer("progressanimationcountframes", ProgressAnimationCountFrames, 0);
    V.Integer("progressanimationtimerinterval", ProgressAnimationTimerInterval, 0);
    V.Integer("animationbeginoffset", AnimationBeginOffset, 0);
    V.Integer("animationendoffset", AnimationEndOffset, 0);
}

void TbsDataSkinLabelControl::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinCustomControl::VisitKeys(V);
    V.Text("fontname", FontName, "Arial");
    V.FontStyles("fontstyle", FontStyle);
    V.FontHeight("fontheight", FontHeight, 14);
    V.Color("fontcolor", FontColor, 0);
}

void TbsDataSkinStdLabelControl::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinControl::VisitKeys(V);
    V.Text("fontname", FontName, "Arial");
    V.FontStyles("fontstyle", FontStyle);
    V.FontHeight("fontheight", FontHeight, 14);
    V.Color("fontcolor", FontColor, 0);
    V.Color("activefontcolor", ActiveFontColor, 0xFF0000);
}

void TbsDataSkinBevel::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinControl::VisitKeys(V);
    V.Color("lightcolor", LightColor, 0);
    V.Color("darkcolor", DarkColor, 0);
}

void TbsDataSkinSplitterControl::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinCustomControl::VisitKeys(V);
    V.Rect("gripperrect", GripperRect);
    V.Boolean("grippertransparent", GripperTransparent);
    V.Color("grippertransparentcolor", GripperTransparentColor, 0);
}

void TbsDataSkinViewControl::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinControl::VisitKeys(V);
    V.Text("fontname", FontName, "Arial");
    V.FontStyles("fontstyle", FontStyle);
    V.FontHeight("fontheight", FontHeight, 14);
    V.Color("fontcolor", FontColor, 0);
    V.Color("bgcolor", BGColor, 0);
}

void TbsDataSkinTabControl::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinControl::VisitKeys(V);
    V.Rect("tabrect", TabRect);
    V.Rect("activetabrect", ActiveTabRect);
    V.Rect("focustabrect", FocusTabRect);
    V.Rect("mouseintabrect", MouseInTabRect);
    V.Rect("clientrect", ClRect);
    V.Rect("tabsbgrect", TabsBGRect);
    V.Point("lefttoppoint", LTPoint);
    V.Point("righttoppoint", RTPoint);
    V.Point("leftbottompoint", LBPoint);
    V.Point("rightbottompoint", RBPoint);
    V.Integer("tableftoffset", TabLeftOffset, 0);
    V.Integer("tabrightoffset", TabRightOffset, 0);
    V.Text("fontname", FontName, "Arial");
    V.FontStyles("fontstyle", FontStyle);
    V.FontHeight("fontheight", FontHeight, 14);
    V.Color("fontcolor", FontColor, 0);
    V.Color("activefontcolor", ActiveFontColor, 0);
    V.Color("focusfontcolor", FocusFontColor, 0);
    V.Color("mouseinfontcolor", MouseInFontColor, 0);
    V.Text("updown", UpDown, "");
    V.Integer("bgpictureindex", BGPictureIndex, -1);
    V.Boolean("tabstretcheffect", TabStretchEffect);
    V.Boolean("showfocus", ShowFocus);
    V.Integer("focusoffsetx", FocusOffsetX, 0);
    V.Integer("focusoffsety", FocusOffsetY, 0);
    V.Boolean("leftstretch", LeftStretch);
    V.Boolean("topstretch", TopStretch);
    V.Boolean("rightstretch", RightStretch);
    V.Boolean("bottomstretch", BottomStretch);
    V.Boolean("stretcheffect", StretchEffect);
    V.StretchType("stretchtype", StretchType);
    V.Rect("closebuttonrect", CloseButtonRect);
    V.Rect("closebuttonactiverect", CloseButtonActiveRect);
    V.Rect("closebuttondownrect", CloseButtonDownRect);
    V.Boolean("buttontransparent", ButtonTransparent);
    V.Color("buttontransparentcolor", ButtonTransparentColor, 0);
}

void TbsDataSkinGridControl::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinControl::VisitKeys(V);
    V.Rect("fixedcellrect", FixedCellRect);
    V.Rect("selectcellrect", SelectCellRect);
    V.Rect("focuscellrect", FocusCellRect);
    V.Integer("fixedcellleftoffset", FixedCellLeftOffset, 0);
    V.Integer("fixedcellrightoffset", FixedCellRightOffset, 0);
    V.Rect("fixedcelltextrect", FixedCellTextRect);
    V.Integer("cellleftoffset", CellLeftOffset, 0);
    V.Integer("cellrightoffset", CellRightOffset, 0);
    V.Rect("celltextrect", CellTextRect);
    V.Color("linescolor", LinesColor, 0);
    V.Color("bgcolor", BGColor, 0);
    V.Text("fontname", FontName, "Arial");
    V.FontStyles("fontstyle", FontStyle);
    V.FontHeight("fontheight", FontHeight, 14);
    V.Color("fontcolor", FontColor, 0);
    V.Color("selectfontcolor", SelectFontColor, 0);
    V.Color("focusfontcolor", FocusFontColor, 0);
    V.Text("fixedfontname", FixedFontName, "Arial");
    V.FontStyles("fixedfontstyle", FixedFontStyle);
    V.FontHeight("fixedfontheight", FixedFontHeight, 14);
    V.Color("fixedfontcolor", FixedFontColor, 0);
    V.Boolean("fixedcellstretcheffect", FixedCellStretchEffect);
    V.Boolean("cellstretcheffect", CellStretchEffect);
    V.Boolean("showfocus", ShowFocus);
    V.Integer("bgpictureindex", BGPictureIndex, -1);
}

void TbsDataSkinMainMenuBar::VisitKeys(TbsIniKeyVisitor& V) {
    TbsDataSkinControl::VisitKeys(V);
    V.Rect("itemsrect", ItemsRect);
    V.Text("menubaritem", MenuBarItem, "");
    V.Text("closebutton", CloseButton, "");
    V.Text("maxbutton", MaxButton, "");
    V.Text("minbutton", MinButton, "");
    V.Text("sysmenubutton", SysMenuButton, "");
    V.Integer("trackmarkcolor", TrackMarkColor, 0);
    V.Integer("trackmarkactivecolor", TrackMarkActiveColor, 0);
    V.Boolean("stretcheffect", StretchEffect);
    V.Boolean("itemtransparent", ItemTransparent);
}
