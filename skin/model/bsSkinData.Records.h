// The skin's four single records: the popup-window frame, the layered
// border, the hint window and the eight colours that stand in for system
// colours. Each reads and writes one fixed section.
#pragma once

#include "platform/core/IniFiles.h"
#include "platform/core/Objects.h"
#include "skin/model/bsSkinData.IniValues.h"

#include <string>

// The frame of skinned popup windows; WindowPictureIndex -1 leaves them plain.
class TbsDataSkinPopupWindow : public TObject {
public:
    static constexpr const char* Section = "POPUPWINDOW";

    void LoadFromFile(TCustomIniFile& IniFile);
    // Erases the section first.
    void SaveToFile(TCustomIniFile& IniFile);
    void VisitKeys(TbsIniKeyVisitor& V);

    int WindowPictureIndex = -1;
    int MaskPictureIndex = -1;
    TPoint LTPoint;
    TPoint RTPoint;
    TPoint LBPoint;
    TPoint RBPoint;
    TRect ItemsRect;
    int ScrollMarkerColor = 0;
    int ScrollMarkerActiveColor = 0;
    bool TopStretch = false;
    bool LeftStretch = false;
    bool RightStretch = false;
    bool BottomStretch = false;
    bool StretchEffect = false;
    TbsStretchType StretchType = bsstFull;
};

// The layered border around skinned forms; PictureIndex -1 means none.
class TbsDataSkinLayerFrame : public TObject {
public:
    static constexpr const char* Section = "LAYERFRAME";

    void LoadFromFile(TCustomIniFile& IniFile);
    // Erases the section first.
    void SaveToFile(TCustomIniFile& IniFile);
    void VisitKeys(TbsIniKeyVisitor& V);

    int PictureIndex = -1;
    int MaskPictureIndex = -1;
    int InActivePictureIndex = -1;
    int InActiveMaskPictureIndex = -1;
    TPoint LTPoint;
    TPoint RTPoint;
    TPoint LBPoint;
    TPoint RBPoint;
    TRect ClRect;
    int AlphaBlendValue = 255;
    int InActiveAlphaBlendValue = 255;
    TRect BorderRect;
    bool HitTestEnable = false;
};

// The frame and font of skinned hints; WindowPictureIndex -1 leaves them plain.
class TbsDataSkinHintWindow : public TObject {
public:
    static constexpr const char* Section = "HINTWINDOW";

    void LoadFromFile(TCustomIniFile& IniFile);
    // Erases the section first.
    void SaveToFile(TCustomIniFile& IniFile);
    void VisitKeys(TbsIniKeyVisitor& V);

    int WindowPictureIndex = -1;
    int MaskPictureIndex = -1;
    TPoint LTPoint;
    TPoint RTPoint;
    TPoint LBPoint;
    TPoint RBPoint;
    TRect ClRect;
    std::string FontName = "Arial";
    TFontStyles FontStyle;
    int FontHeight = 12;
    TColor FontColor = 0;
    bool TopStretch = false;
    bool LeftStretch = false;
    bool RightStretch = false;
    bool BottomStretch = false;
    bool StretchEffect = false;
    TbsStretchType StretchType = bsstFull;
};

// The skin's substitutes for eight system colours. Construction leaves them
// 0; the skin data sets the system colours whenever it clears its objects.
class TbsSkinColors : public TObject {
public:
    static constexpr const char* Section = "SKINCOLORS";

    void SetColorsToDefault();
    void LoadFromFile(TCustomIniFile& IniFile);
    // Does not erase the section: the skin writer has done that already.
    void SaveToFile(TCustomIniFile& IniFile);
    void VisitKeys(TbsIniKeyVisitor& V);

    TColor cBtnFace() const { return FcBtnFace; }
    void SetcBtnFace(TColor Value) { FcBtnFace = Value; }
    TColor cBtnText() const { return FcBtnText; }
    void SetcBtnText(TColor Value) { FcBtnText = Value; }
    TColor cWindow() const { return FcWindow; }
    void SetcWindow(TColor Value) { FcWindow = Value; }
    TColor cWindowText() const { return FcWindowText; }
    void SetcWindowText(TColor Value) { FcWindowText = Value; }
    TColor cHighLight() const { return FcHighLight; }
    void SetcHighLight(TColor Value) { FcHighLight = Value; }
    TColor cHighLightText() const { return FcHighLightText; }
    void SetcHighLightText(TColor Value) { FcHighLightText = Value; }
    TColor cBtnHighLight() const { return FcBtnHighLight; }
    void SetcBtnHighLight(TColor Value) { FcBtnHighLight = Value; }
    TColor cBtnShadow() const { return FcBtnShadow; }
    void SetcBtnShadow(TColor Value) { FcBtnShadow = Value; }

private:
    TColor FcBtnFace = 0;
    TColor FcBtnText = 0;
    TColor FcWindow = 0;
    TColor FcWindowText = 0;
    TColor FcHighLight = 0;
    TColor FcHighLightText = 0;
    TColor FcBtnHighLight = 0;
    TColor FcBtnShadow = 0;
};
