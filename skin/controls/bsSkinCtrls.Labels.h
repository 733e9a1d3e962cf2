// The two skinned labels: windowless, text only, font and colour from the
// skin's "stdlabel" element. TbsSkinStdLabel is the class library's label
// with a skinned font and an ellipsis option; TbsSkinTextLabel shows a list
// of lines, sizing itself to them. A disabled label draws its text embossed.
#pragma once

#include "platform/core/StringLists.h"
#include "platform/forms/StdCtrls.h"
#include "skin/controls/bsSkinCtrls.Base.h"

enum TbsEllipsType { bsetNone, bsetEndEllips, bsetPathEllips };

// What both labels keep of the skin: the link, the element's font values
// and the choice of font and colour made from them.
class TbsSkinLabelLink {
public:
    TbsSkinData* SkinData() const { return FSD; }
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    // Nothing is repainted.
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    bool UseSkinColor() const { return FUseSkinColor; }
    void SetUseSkinColor(bool Value) { FUseSkinColor = Value; }

    // FIndex from the skin; the font values of a "stdlabel" element.
    void GetSkinData();

    int FIndex = -1;
    std::string FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0;

protected:
    TbsSkinLabelLink();
    ~TbsSkinLabelLink();
    // Font and colour of the text into Target; ControlFont is the label's Font.
    void SelectFont(TFont* Target, TFont* ControlFont) const;
    // Text drawn (or measured with DT_CALCRECT) with Target's font; a
    // disabled label draws it twice, embossed.
    void DrawLabelText(TCanvas* Target, std::string Text, TRect& R, UINT Flags, bool Ex,
                       bool Enabled) const;

    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName = "stdlabel";
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
    bool FUseSkinColor = true;
};

class TbsSkinStdLabel : public TCustomLabel, public TbsSkinLabelLink {
public:
    explicit TbsSkinStdLabel(TComponent* AOwner);
    ~TbsSkinStdLabel() override;

    // Applies the skin at once, also an empty one.
    void SetSkinData(TbsSkinData* Value);
    void ChangeSkinData();
    TbsEllipsType EllipsType() const { return FEllipsType; }
    void SetEllipsType(TbsEllipsType Value);
    // Paints AText with the label's layout onto C, the label placed at X, Y.
    void PaintSkinTo(TCanvas* C, int X, int Y, const std::string& AText);

    // The label's own drawing and measuring step.
    void DoDrawText(TRect& Rect, UINT Flags) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    TbsEllipsType FEllipsType = bsetNone;

private:
    void DrawTextOn(TCanvas* C, std::string Text, TRect& Rect, UINT Flags);
};

class TbsSkinTextLabel : public TGraphicControl, public TbsSkinLabelLink {
public:
    explicit TbsSkinTextLabel(TComponent* AOwner);
    ~TbsSkinTextLabel() override;

    void SetSkinData(TbsSkinData* Value);
    void ChangeSkinData();
    TStrings* Lines() const { return FLines.get(); }
    void SetLines(TStrings* Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);

    virtual std::string GetLabelText();
    void SetAutoSize(bool Value) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;

protected:
    void Loaded() override;
    void Paint() override;
    virtual void AdjustBounds();

    std::unique_ptr<TStringList> FLines;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;

private:
    void LinesChanged(TObject* Sender);
};
