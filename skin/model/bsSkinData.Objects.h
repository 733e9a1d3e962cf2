// Frame objects: the active areas of a skinned form's frame (caption
// buttons, the caption, animations, user areas) and the items of its menus,
// as plain records read from, and written to, the ini section named by
// their IDName. They are owned by the skin data's object list.
//
// Member initialisers give the values of construction; the defaults passed
// to the key visitor are what a missing key gives.
#pragma once

#include "platform/core/IniFiles.h"
#include "platform/core/Objects.h"
#include "skin/model/bsSkinData.IniValues.h"

#include <string>

// The root of all frame objects.
class TbsDataSkinObject : public TObject {
public:
    explicit TbsDataSkinObject(std::string AIDName) : IDName(std::move(AIDName)) {}

    // Reads every key of the class chain from the section IDName.
    virtual void LoadFromFile(TCustomIniFile& IniFile);
    // Erases the section IDName, then writes every key of the class chain.
    virtual void SaveToFile(TCustomIniFile& IniFile);
    // Lists the keys of the class chain, base class first.
    virtual void VisitKeys(TbsIniKeyVisitor& V);

    std::string IDName;
    std::string Hint;
    bool SkinRectInAPicture = false;
    TRect SkinRect;
    TRect ActiveSkinRect;
    int ActivePictureIndex = -1;
    int ActiveMaskPictureIndex = -1;
    TRect InActiveSkinRect;
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
    int GlowLayerPictureIndex = -1;
    int GlowLayerMaskPictureIndex = -1;
    int GlowLayerOffsetX = 0;
    int GlowLayerOffsetY = 0;
    int GlowLayerAlphaBlendValue = 255;
};

// "userobject": a plain area of the frame. Only its rectangle is read and
// written; every other field keeps its value of construction.
class TbsDataUserObject : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void VisitKeys(TbsIniKeyVisitor& V) override;
};

// "button": a frame button without a standard command. Its disabled look is
// keyed "disableskinrsect", as the stored skins spell it.
class TbsDataSkinButton : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TRect DownRect;
    TRect DisableSkinRect;
};

// "stdbutton": a caption button with a standard command.
class TbsDataSkinStdButton : public TbsDataSkinButton {
public:
    using TbsDataSkinButton::TbsDataSkinButton;
    void VisitKeys(TbsIniKeyVisitor& V) override;
    void LoadFromFile(TCustomIniFile& IniFile) override;

    TbsStdCommand Command = cmClose;
    std::string RestoreHint;
    TRect RestoreRect;
    TRect RestoreActiveRect;
    TRect RestoreDownRect;
    TRect RestoreInActiveRect;
};

// "mainmenubarbutton": a button of the main menu bar, read and written as a
// "stdbutton".
class TbsDataSkinMainMenuBarButton : public TbsDataSkinStdButton {
public:
    using TbsDataSkinStdButton::TbsDataSkinStdButton;
};

// "animate": an animated area that may act as a caption button.
class TbsDataSkinAnimate : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void VisitKeys(TbsIniKeyVisitor& V) override;
    void LoadFromFile(TCustomIniFile& IniFile) override;

    int CountFrames = 0;
    bool Cycle = false;
    bool ButtonStyle = false;
    int TimerInterval = 0;
    TbsStdCommand Command = cmClose;
    TRect DownSkinRect;
    std::string RestoreHint;
    TRect RestoreRect;
    TRect RestoreActiveRect;
    TRect RestoreDownRect;
    TRect RestoreInActiveRect;
};

// "menuitem": an item of a skinned popup menu.
class TbsDataSkinMenuItem : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void VisitKeys(TbsIniKeyVisitor& V) override;
    void LoadFromFile(TCustomIniFile& IniFile) override;

    TRect DividerRect;
    int DividerLO = 0;
    int DividerRO = 0;
    int ItemLO = 0;
    int ItemRO = 0;
    std::string FontName;
    int FontHeight = 0;
    TFontStyles FontStyle;
    TColor UnEnabledFontColor = 0;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TRect TextRct;
    TRect ImageRct;
    bool UseImageColor = false;
    TColor ImageColor = 0;
    TColor ActiveImageColor = 0;
    bool StretchEffect = false;
    bool DividerStretchEffect = false;
    bool InActiveStretchEffect = false;
    TRect AnimateSkinRect;
    int FrameCount = 0;
    int AnimateInterval = 0;
    bool InActiveAnimation = false;
    bool InActiveTransparent = false;
    TRect CheckImageRect;
    TRect ActiveCheckImageRect;
    TRect RadioImageRect;
    TRect ActiveRadioImageRect;
    TRect ArrowImageRect;
    TRect ActiveArrowImageRect;
};

// An item of the form's main menu bar; no kind word creates it. Its disabled
// colour is keyed "unenabledfontColor", capital C and all, as the stored
// skins spell it.
class TbsDataSkinMainMenuItem : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    TRect DownRect;
    std::string FontName;
    int FontHeight = 0;
    TFontStyles FontStyle;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TColor DownFontColor = 0;
    TColor UnEnabledFontColor = 0;
    TRect TextRct;
    int ItemLO = 0;
    int ItemRO = 0;
    bool StretchEffect = false;
    TRect AnimateSkinRect;
    int FrameCount = 0;
    int AnimateInterval = 0;
    bool InActiveAnimation = false;
};

// "mainmenubaritem".
class TbsDataSkinMainMenuBarItem : public TbsDataSkinMainMenuItem {
public:
    using TbsDataSkinMainMenuItem::TbsDataSkinMainMenuItem;
};

// "caption": the caption text of the form. The two reflection colours are
// keyed "reflaction...", as the stored skins spell them.
class TbsDataSkinCaption : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void VisitKeys(TbsIniKeyVisitor& V) override;

    std::string FontName;
    int FontHeight = 0;
    TFontStyles FontStyle;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TColor ShadowColor = 0;
    TColor ActiveShadowColor = 0;
    bool Shadow = false;
    TAlignment Alignment = taLeftJustify;
    TRect TextRct;
    TRect FrameRect;
    TRect ActiveFrameRect;
    int FrameLeftOffset = 0;
    int FrameRightOffset = 0;
    TRect FrameTextRect;
    bool Light = false;
    TColor LightColor = 0;
    TColor ActiveLightColor = 0;
    bool StretchEffect = false;
    TRect AnimateSkinRect;
    int FrameCount = 0;
    int AnimateInterval = 0;
    bool InActiveAnimation = false;
    bool FullFrame = false;
    bool GlowEffect = false;
    bool VistaGlowEffect = false;
    bool VistaGlowInActiveEffect = false;
    bool GlowInActiveEffect = false;
    int GlowSize = 0;
    TColor GlowColor = 0;
    TColor GlowActiveColor = 0;
    int GlowOffset = 0;
    bool ReflectionEffect = false;
    TColor ReflectionColor = 0;
    TColor ReflectionActiveColor = 0;
    int ReflectionOffset = 0;
};
