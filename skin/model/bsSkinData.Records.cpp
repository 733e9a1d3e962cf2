#include "skin/model/bsSkinData.Records.h"

void TbsDataSkinPopupWindow::LoadFromFile(TCustomIniFile& IniFile) {
    ReadVisitedKeys(*this, IniFile, Section);
}

void TbsDataSkinPopupWindow::SaveToFile(TCustomIniFile& IniFile) {
    IniFile.EraseSection(Section);
    WriteVisitedKeys(*this, IniFile, Section);
}

void TbsDataSkinPopupWindow::VisitKeys(TbsIniKeyVisitor& V) {
    V.Integer("windowpictureindex", WindowPictureIndex, -1);
    V.Integer("maskpictureindex", MaskPictureIndex, -1);
    V.Point("lefttoppoint", LTPoint);
    V.Point("righttoppoint", RTPoint);
    V.Point("leftbottompoint", LBPoint);
    V.Point("rightbottompoint", RBPoint);
    V.Rect("itemsrect", ItemsRect);
    V.Integer("scrollmarkercolor", ScrollMarkerColor, 0);
    V.Integer("scrollmarkeractivecolor", ScrollMarkerActiveColor, 0);
    V.Boolean("topstretch", TopStretch);
    V.Boolean("leftstretch", LeftStretch);
    V.Boolean("rightstretch", RightStretch);
    V.Boolean("bottomstretch", BottomStretch);
    V.Boolean("stretcheffect", StretchEffect);
    V.StretchType("stretchtype", StretchType);
}

void TbsDataSkinLayerFrame::LoadFromFile(TCustomIniFile& IniFile) {
    ReadVisitedKeys(*this, IniFile, Section);
}

void TbsDataSkinLayerFrame::SaveToFile(TCustomIniFile& IniFile) {
    IniFile.EraseSection(Section);
    WriteVisitedKeys(*this, IniFile, Section);
}

void TbsDataSkinLayerFrame::VisitKeys(TbsIniKeyVisitor& V) {
    V.Integer("pictureindex", PictureIndex, -1);
    V.Integer("maskpictureindex", MaskPictureIndex, -1);
    V.Integer("inactivepictureindex", InActivePictureIndex, -1);
    V.Integer("inactivemaskpictureindex", InActiveMaskPictureIndex, -1);
    V.Point("lefttoppoint", LTPoint);
    V.Point("righttoppoint", RTPoint);
    V.Point("leftbottompoint", LBPoint);
    V.Point("rightbottompoint", RBPoint);
    V.Rect("clientrect", ClRect);
    V.Integer("alphablendvalue", AlphaBlendValue, 255);
    V.Integer("inactivealphablendvalue", InActiveAlphaBlendValue, 255);
    V.Rect("borderrect", BorderRect);
    V.Boolean("hittestenable", HitTestEnable);
}

void TbsDataSkinHintWindow::LoadFromFile(TCustomIniFile& IniFile) {
    ReadVisitedKeys(*this, IniFile, Section);
}

void TbsDataSkinHintWindow::SaveToFile(TCustomIniFile& IniFile) {
    IniFile.EraseSection(Section);
    WriteVisitedKeys(*this, IniFile, Section);
}

void TbsDataSkinHintWindow::VisitKeys(TbsIniKeyVisitor& V) {
    V.Integer("windowpictureindex", WindowPictureIndex, -1);
    V.Integer("maskpictureindex", MaskPictureIndex, -1);
    V.Point("lefttoppoint", LTPoint);
    V.Point("righttoppoint", RTPoint);
    V.Point("leftbottompoint", LBPoint);
    V.Point("rightbottompoint", RBPoint);
    V.Rect("clientrect", ClRect);
    V.Text("fontname", FontName, "Arial");
    V.FontStyles("fontstyle", FontStyle);
    V.FontHeight("fontheight", FontHeight, 14);
    V.Color("fontcolor", FontColor, 0);
    V.Boolean("topstretch", TopStretch);
    V.Boolean("leftstretch", LeftStretch);
    V.Boolean("rightstretch", RightStretch);
    V.Boolean("bottomstretch", BottomStretch);
    V.Boolean("stretcheffect", StretchEffect);
    V.StretchType("stretchtype", StretchType);
}

void TbsSkinColors::SetColorsToDefault() {
    FcBtnFace = clBtnFace;
    FcBtnText = clBtnText;
    FcWindow = clWindow;
    FcWindowText = clWindowText;
    FcHighLight = clHighlight;
    FcHighLightText = clHighlightText;
    FcBtnHighLight = clBtnHighlight;
    FcBtnShadow = clBtnShadow;
}

void TbsSkinColors::LoadFromFile(TCustomIniFile& IniFile) {
    ReadVisitedKeys(*this, IniFile, Section);
}

void TbsSkinColors::SaveToFile(TCustomIniFile& IniFile) {
    WriteVisitedKeys(*this, IniFile, Section);
}

void TbsSkinColors::VisitKeys(TbsIniKeyVisitor& V) {
    V.Color("cbtnface", FcBtnFace, clBtnFace);
    V.Color("cbtntext", FcBtnText, clBtnText);
    V.Color("cwindow", FcWindow, clWindow);
    V.Color("cwindowtext", FcWindowText, clWindowText);
    V.Color("chighlight", FcHighLight, clHighlight);
    V.Color("chighlighttext", FcHighLightText, clHighlightText);
    V.Color("cbtnhighlight", FcBtnHighLight, clBtnHighlight);
    V.Color("cbtnshadow", FcBtnShadow, clBtnShadow);
}
