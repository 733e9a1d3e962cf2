// Control elements: the look of every kind of skinned control as a plain
// record read from, and written to, the ini section named by its IDName.
//
// An element holds picture indices, rectangles, font names, heights, styles
// and colours, never a bitmap or a font, and is owned by the skin data's
// control list. Member initialisers give the values of construction; the
// defaults passed to the key visitor are what a missing key gives, and the
// two differ on purpose in places (FontHeight 12 against 14, for example).
#pragma once

#include "platform/core/IniFiles.h"
#include "platform/core/Objects.h"
#include "skin/model/bsSkinData.IniValues.h"

#include <string>

// The root of all control elements: its section, its picture and its face.
class TbsDataSkinControl : public TObject {
public:
    explicit TbsDataSkinControl(std::string AIDName) : IDName(std::move(AIDName)) {}

    // Reads every key of the class chain from the section IDName.
    virtual void LoadFromFile(TCustomIniFile& IniFile);
    // Erases the section IDName, then writes every key of the class chain,
    // so keys the element does not read are dropped.
    virtual void SaveToFile(TCustomIniFile& IniFile);
    // Lists the keys of the class chain, base class first; each class adds
    // its own after calling its base class.
    virtual void VisitKeys(TbsIniKeyVisitor& V);

    std::string IDName;
    int PictureIndex = -1;
    int MaskPictureIndex = -1;
    TRect SkinRect;
};

// The base of the kinds with a nine-part frame; the points and ClRect are
// measured from the top-left corner of SkinRect.
class TbsDataSkinCustomControl : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TPoint LTPoint;
    TPoint RTPoint;
    TPoint LBPoint;
    TPoint RBPoint;
    TRect ClRect;
    bool StretchEffect = false;
    TbsStretchType StretchType = bsstFull;
    bool LeftStretch = false;
    bool TopStretch = false;
    bool RightStretch = false;
    bool BottomStretch = false;
};

// "button": push buttons, tool buttons and speed buttons.
class TbsDataSkinButtonControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    std::string FontName = "Arial";
    TFontStyles FontStyle;
    int FontHeight = 12;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TColor DownFontColor = 0;
    TColor DisabledFontColor = 0;
    TRect ActiveSkinRect;
    TRect DownSkinRect;
    TRect DisabledSkinRect;
    TRect FocusedSkinRect;
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
    TRect AnimateSkinRect;
    int FrameCount = 0;
    int AnimateInterval = 0;
    bool ShowFocus = false;
    TRect MenuMarkerFlatRect;
    TRect MenuMarkerRect;
    TRect MenuMarkerActiveRect;
    TRect MenuMarkerDownRect;
    TColor MenuMarkerTransparentColor = 0;
    int GlowLayerPictureIndex = -1;
    int GlowLayerMaskPictureIndex = -1;
    int GlowLayerOffsetLeft = 0;
    int GlowLayerOffsetRight = 0;
    int GlowLayerOffsetTop = 0;
    int GlowLayerOffsetBottom = 0;
    int GlowLayerShowOffsetX = 0;
    int GlowLayerShowOffsetY = 0;
    int GlowLayerAlphaBlendValue = 255;
};

// "menubutton": a button with a drop-down part.
class TbsDataSkinMenuButtonControl : public TbsDataSkinButtonControl {
public:
    using TbsDataSkinButtonControl::TbsDataSkinButtonControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TRect TrackButtonRect;
};

// "checkradio": check boxes and radio buttons.
class TbsDataSkinCheckRadioControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    std::string FontName = "Arial";
    TFontStyles FontStyle;
    int FontHeight = 12;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TColor UnEnabledFontColor = 0;
    TRect ActiveSkinRect;
    TRect CheckImageArea;
    TRect TextArea;
    TRect CheckImageRect;
    TRect UnCheckImageRect;
    TRect ActiveCheckImageRect;
    TRect ActiveUnCheckImageRect;
    TRect UnEnabledCheckImageRect;
    TRect UnEnabledUnCheckImageRect;
    TRect GrayedCheckImageRect;
    TRect ActiveGrayedCheckImageRect;
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
    TColor FrameFontColor = 0;
};

// "panel": panels, group boxes, tool bars and status bars.
class TbsDataSkinPanelControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TRect CaptionRect;
    TAlignment Alignment = taCenter;
    std::string FontName = "Arial";
    TFontStyles FontStyle;
    int FontHeight = 12;
    TColor FontColor = 0;
    int BGPictureIndex = -1;
    TRect CheckImageRect;
    TRect UnCheckImageRect;
    TRect MarkFrameRect;
    TRect FrameRect;
    int FrameLeftOffset = 0;
    int FrameRightOffset = 0;
    TRect FrameTextRect;
    TRect GripperRect;
    bool GripperTransparent = false;
    TColor GripperTransparentColor = 0xFF00FF;
};

// "expanel": a panel that rolls up into a bar.
class TbsDataSkinExPanelControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TRect RollHSkinRect;
    TRect RollVSkinRect;
    int RollLeftOffset = 0;
    int RollRightOffset = 0;
    int RollTopOffset = 0;
    int RollBottomOffset = 0;
    TRect RollVCaptionRect;
    TRect RollHCaptionRect;
    TRect CloseButtonRect;
    TRect CloseButtonActiveRect;
    TRect CloseButtonDownRect;
    TRect HRollButtonRect;
    TRect HRollButtonActiveRect;
    TRect HRollButtonDownRect;
    TRect HRestoreButtonRect;
    TRect HRestoreButtonActiveRect;
    TRect HRestoreButtonDownRect;
    TRect VRollButtonRect;
    TRect VRollButtonActiveRect;
    TRect VRollButtonDownRect;
    TRect VRestoreButtonRect;
    TRect VRestoreButtonActiveRect;
    TRect VRestoreButtonDownRect;
    TRect CaptionRect;
    std::string FontName = "Arial";
    TFontStyles FontStyle;
    int FontHeight = 12;
    TColor FontColor = 0;
    bool ButtonsTransparent = false;
    TColor ButtonsTransparentColor = 0xFF00FF;
};

// "controlbar": a bar of movable bands.
class TbsDataSkinControlBar : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TRect ItemRect;
    int BGPictureIndex = -1;
    TRect HGripRect;
    TRect VGripRect;
    int GripOffset1 = 0;
    int GripOffset2 = 0;
    bool ItemStretchEffect = false;
    int ItemOffset1 = 0;
    int ItemOffset2 = 0;
    bool ItemTransparent = false;
    TColor ItemTransparentColor = 0;
    bool GripTransparent = false;
    TColor GripTransparentColor = 0;
};

// "scrollbox".
class TbsDataSkinScrollBoxControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    int BGPictureIndex = -1;
};

// "edit".
class TbsDataSkinEditControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TRect ActiveSkinRect;
    std::string FontName = "Arial";
    TFontStyles FontStyle;
    int FontHeight = 12;
    TColor FontColor = 0;
    TColor DisabledFontColor = 0;
    TColor ActiveFontColor = 0;
    TRect ButtonRect;
    TRect ActiveButtonRect;
    TRect DownButtonRect;
    TRect UnEnabledButtonRect;
};

// "memo".
class TbsDataSkinMemoControl : public TbsDataSkinEditControl {
public:
    using TbsDataSkinEditControl::TbsDataSkinEditControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TColor BGColor = 0;
    TColor ActiveBGColor = 0;
};

// "spinedit": an edit with up and down buttons. A leading "down" in a
// button key means pressed.
class TbsDataSkinSpinEditControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TRect ActiveSkinRect;
    std::string FontName = "Arial";
    TFontStyles FontStyle;
    int FontHeight = 12;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TColor DisabledFontColor = 0;
    TRect UpButtonRect;
    TRect ActiveUpButtonRect;
    TRect DownUpButtonRect;
    TRect DownButtonRect;
    TRect ActiveDownButtonRect;
    TRect DownDownButtonRect;
};

// "updown": a pair of buttons without a nine-part frame of its own.
class TbsDataSkinUpDownControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;
    void LoadFromFile(TCustomIniFile& IniFile) override;
    void SaveToFile(TCustomIniFile& IniFile) override;

    TRect UpButtonRect;
    TRect ActiveUpButtonRect;
    TRect DownUpButtonRect;
    TRect DownButtonRect;
    TRect ActiveDownButtonRect;
    TRect DownDownButtonRect;

private:
    void ClearFrame();
};

// "combobox".
class TbsDataSkinComboBox : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TRect SItemRect;
    TRect ActiveItemRect;
    TRect FocusItemRect;
    int ItemLeftOffset = 0;
    int ItemRightOffset = 0;
    TRect ItemTextRect;
    std::string FontName = "Arial";
    TFontStyles FontStyle;
    int FontHeight = 14;
    TColor FontColor = 0;
    TColor FocusFontColor = 0;
    TColor ActiveFontColor = 0;
    TRect ButtonRect;
    TRect ActiveButtonRect;
    TRect DownButtonRect;
    TRect UnEnabledButtonRect;
    bool ItemStretchEffect = false;
    bool FocusItemStretchEffect = false;
    TRect ActiveSkinRect;
    std::string ListBoxName;
    bool ShowFocus = false;
};

// "listbox".
class TbsDataSkinListBox : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TRect SItemRect;
    TRect ActiveItemRect;
    TRect FocusItemRect;
    int ItemLeftOffset = 0;
    int ItemRightOffset = 0;
    TRect ItemTextRect;
    std::string FontName = "Arial";
    TFontStyles FontStyle;
    int FontHeight = 14;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TColor FocusFontColor = 0;
    TRect CaptionRect;
    std::string CaptionFontName = "Arial";
    TFontStyles CaptionFontStyle;
    int CaptionFontHeight = 14;
    TColor CaptionFontColor = 0;
    TRect UpButtonRect;
    TRect ActiveUpButtonRect;
    TRect DownUpButtonRect;
    TRect DownButtonRect;
    TRect ActiveDownButtonRect;
    TRect DownDownButtonRect;
    TRect CheckButtonRect;
    TRect ActiveCheckButtonRect;
    TRect DownCheckButtonRect;
    std::string HScrollBarName;
    std::string VScrollBarName;
    std::string BothScrollBarName;
    bool ShowFocus = false;
    TRect DisabledButtonsRect;
    TRect ButtonsArea;
};

// "checklistbox".
class TbsDataSkinCheckListBox : public TbsDataSkinListBox {
public:
    using TbsDataSkinListBox::TbsDataSkinListBox;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TRect UnCheckImageRect;
    TRect CheckImageRect;
    TRect ItemCheckRect;
};

// "scrollbar".
class TbsDataSkinScrollBarControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TRect TrackArea;
    TRect UpButtonRect;
    TRect ActiveUpButtonRect;
    TRect DownUpButtonRect;
    TRect DownButtonRect;
    TRect ActiveDownButtonRect;
    TRect DownDownButtonRect;
    TRect ThumbRect;
    TRect ActiveThumbRect;
    TRect DownThumbRect;
    int ThumbOffset1 = 0;
    int ThumbOffset2 = 0;
    TRect GlyphRect;
    TRect ActiveGlyphRect;
    TRect DownGlyphRect;
    bool GlyphTransparent = false;
    TColor GlyphTransparentColor = 0xFF00FF;
    bool ThumbTransparent = false;
    TColor ThumbTransparentColor = 0xFF00FF;
    bool ThumbStretchEffect = false;
    int ThumbMinSize = 0;
    int ThumbMinPageSize = 0;
};

// "trackbar".
class TbsDataSkinTrackBarControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TRect ActiveSkinRect;
    TRect TrackArea;
    TRect ButtonRect;
    TRect ActiveButtonRect;
    bool Vertical = false;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0xFF00FF;
};

// "slider": no nine-part frame.
class TbsDataSkinSlider : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TRect HRulerRect;
    TRect HThumbRect;
    TRect VRulerRect;
    TRect VThumbRect;
    int EdgeSize = 0;
    TColor BGColor = 0;
    TColor PointsColor = 0;
};

// "gauge": a progress bar.
class TbsDataSkinGaugeControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TRect ProgressArea;
    TRect ProgressRect;
    bool Vertical = false;
    int BeginOffset = 0;
    int EndOffset = 0;
    std::string FontName = "Arial";
    TFontStyles FontStyle;
    int FontHeight = 14;
    TColor FontColor = 0;
    bool ProgressTransparent = false;
    TColor ProgressTransparentColor = 0xFF00FF;
    bool ProgressStretch = false;
    TRect AnimationSkinRect;
    int AnimationCountFrames = 0;
    int AnimationTimerInterval = 0;
    TRect ProgressAnimationSkinRect;
    int ProgressAnimationCountFrames = 0;
    int ProgressAnimationTimerInterval = 0;
    int AnimationBeginOffset = 0;
    int AnimationEndOffset = 0;
};

// "label": a label drawn on a skinned face.
class TbsDataSkinLabelControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    std::string FontName = "Arial";
    TFontStyles FontStyle;
    int FontHeight = 12;
    TColor FontColor = 0;
};

// "stdlabel": the font of plain labels.
class TbsDataSkinStdLabelControl : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    std::string FontName = "Arial";
    TFontStyles FontStyle;
    int FontHeight = 12;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0xFF0000;
};

// "bevel".
class TbsDataSkinBevel : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TColor LightColor = 0;
    TColor DarkColor = 0;
};

// "splitter".
class TbsDataSkinSplitterControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TRect GripperRect;
    bool GripperTransparent = false;
    TColor GripperTransparentColor = 0xFF00FF;
};

// The look tree views, list views and rich edits share under the same keys;
// each keeps its own class so its section still loads as its own kind.
class TbsDataSkinViewControl : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    std::string FontName = "Arial";
    TFontStyles FontStyle;
    int FontHeight = 14;
    TColor FontColor = 0;
    TColor BGColor = 0xFFFFFF;
};

// "treeview".
class TbsDataSkinTreeView : public TbsDataSkinViewControl {
public:
    using TbsDataSkinViewControl::TbsDataSkinViewControl;
};

// "listview": the same look as "treeview".
class TbsDataSkinListView : public TbsDataSkinViewControl {
public:
    using TbsDataSkinViewControl::TbsDataSkinViewControl;
};

// "richedit": the same look as "treeview".
class TbsDataSkinRichEdit : public TbsDataSkinViewControl {
public:
    using TbsDataSkinViewControl::TbsDataSkinViewControl;
};

// "tab": the page control. Its page frame is a nine-part frame of its own,
// under the same keys as TbsDataSkinCustomControl's, which it does not derive from.
class TbsDataSkinTabControl : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TRect TabRect;
    TRect ActiveTabRect;
    TRect FocusTabRect;
    TRect MouseInTabRect;
    TRect ClRect;
    TRect TabsBGRect;
    TPoint LTPoint;
    TPoint RTPoint;
    TPoint LBPoint;
    TPoint RBPoint;
    int TabLeftOffset = 0;
    int TabRightOffset = 0;
    std::string FontName = "Arial";
    TFontStyles FontStyle;
    int FontHeight = 14;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TColor FocusFontColor = 0;
    TColor MouseInFontColor = 0;
    std::string UpDown;
    int BGPictureIndex = -1;
    bool TabStretchEffect = false;
    bool ShowFocus = false;
    int FocusOffsetX = 0;
    int FocusOffsetY = 0;
    bool LeftStretch = false;
    bool TopStretch = false;
    bool RightStretch = false;
    bool BottomStretch = false;
    bool StretchEffect = false;
    TbsStretchType StretchType = bsstFull;
    TRect CloseButtonRect;
    TRect CloseButtonActiveRect;
    TRect CloseButtonDownRect;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0xFF00FF;
};

// "grid".
class TbsDataSkinGridControl : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TRect FixedCellRect;
    TRect SelectCellRect;
    TRect FocusCellRect;
    int FixedCellLeftOffset = 0;
    int FixedCellRightOffset = 0;
    TRect FixedCellTextRect;
    int CellLeftOffset = 0;
    int CellRightOffset = 0;
    TRect CellTextRect;
    TColor LinesColor = 0;
    TColor BGColor = 0;
    std::string FontName = "Arial";
    TFontStyles FontStyle;
    int FontHeight = 14;
    TColor FontColor = 0;
    TColor SelectFontColor = 0;
    TColor FocusFontColor = 0;
    std::string FixedFontName = "Arial";
    TFontStyles FixedFontStyle;
    int FixedFontHeight = 14;
    TColor FixedFontColor = 0;
    bool FixedCellStretchEffect = false;
    bool CellStretchEffect = false;
    bool ShowFocus = false;
    int BGPictureIndex = -1;
};

// "mainmenubar": the form's menu bar; the texts name frame objects.
class TbsDataSkinMainMenuBar : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TRect ItemsRect;
    std::string MenuBarItem;
    std::string CloseButton;
    std::string MaxButton;
    std::string MinButton;
    std::string SysMenuButton;
    int TrackMarkColor = 0;
    int TrackMarkActiveColor = 0;
    bool StretchEffect = false;
    bool ItemTransparent = false;
};
