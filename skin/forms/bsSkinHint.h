// Skinned hints for the whole application.
//
// TbsSkinHintWindow is the application's hint window class while a
// TbsSkinHint exists: it sizes itself from the skin's hint frame, cuts its
// shape from the skin's mask and draws an optional bold title and image above
// or beside the text. The active TbsSkinHint of the main form supplies skin,
// fonts and alpha; its show-hint hook carries a skinned control's hint title
// and image into the application's hints, and it shows hints of its own for
// the skinned parts that have no control (caption buttons, images menu).
//
// The hook is added and removed by identity; when the last component goes and
// the application still uses the skinned class, the class it had before comes
// back, so the application never stays without hints.
#pragma once

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/ImageList.h"
#include "skin/model/bsSkinData.h"

#include <memory>
#include <string>

class TbsSkinHint;

class TbsSkinHintWindow : public THintWindow {
public:
    explicit TbsSkinHintWindow(TComponent* AOwner);

    void ActivateHint(TRect Rect, const std::string& AHint) override;
    void ActivateHintEx(TRect Rect, const std::string& AHintTitle, const std::string& AHint,
                        int AImageIndex, TCustomImageList* AImageList);
    void ActivateHintFromRect(TRect ARect, const std::string& AHint, bool ATop);
    // The whole hint drawn at the window's size onto Canvas.
    void PaintTo(TCanvas* Canvas);

    TRect NewClRect;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TbsSkinHint* FspHint = nullptr;
    TbsSkinData* FSD = nullptr;
    HRGN FRgn = nullptr;
    bool FOldAlphaBlend = false;
    BYTE FOldAlphaBlendValue = 0;
    bool AExtendedStyle = false;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;

private:
    enum class TAnchor { TopLeft, Above, Below };
    void Activate(TRect Anchor, TAnchor Kind, const std::string& AHint, bool Extended,
                  const std::string& Title, TCustomImageList* Images, int ImageIndex);
    void ReplaceLineSeparators(std::string& S) const;
    void SetHintFont(TCanvas* C) const;
    void CalcHintSize(TCanvas* C, const std::string& Text, int& W, int& H);
    void CalcHintSizeEx(TCanvas* C, const std::string& Text, const std::string& Title,
                        TCustomImageList* Images, int ImageIndex, int& W, int& H);
    void AddFrame(int& W, int& H);
    void SetHintRegion();
    void FadeIn();
    void PaintPlain(TCanvas* C);
    void PaintExtended(TCanvas* C);
    TbsDataSkinHintWindow* Element() const;
    TBitmap* HintPicture() const;
    static TbsSkinHint* FindActiveSkinHint();
};

class TbsSkinHint : public TComponent {
public:
    explicit TbsSkinHint(TComponent* AOwner);
    ~TbsSkinHint() override;

    void ActivateHint(TPoint P, const std::string& AHint);
    void ActivateHintEx(TPoint P, const std::string& AHintTitle, const std::string& AHint,
                        int AImageIndex, TCustomImageList* AImageList);
    void ActivateHint2(const std::string& AHint);
    void ActivateHint3(TRect AFromRect, const std::string& AHint, bool ATop);
    void ActivateHintEx2(const std::string& AHintTitle, const std::string& AHint, int AImageIndex,
                         TCustomImageList* AImageList);
    void HideHint();
    bool IsVisible() const;
    int GetCursorHeightMargin();

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(BYTE Value) { FAlphaBlendValue = Value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    const std::string& LineSeparator() const { return FLineSeparator; }
    void SetLineSeparator(const std::string& Value) { FLineSeparator = Value; }
    // A skin with a hint picture is set: the hint draws from it.
    bool SkinUsable() const;
    // Whether Hint is a component alive now.
    static bool Alive(const TbsSkinHint* Hint);

    TShowHintEvent OnShowHint;

    TbsSkinHintWindow* HW = nullptr;
    TTimer* HintTimer = nullptr;
    std::string HintText;
    TRect FromRect;
    bool Top = false;
    std::string FHintTitle;
    int FHintImageIndex = 0;
    TCustomImageList* FHintImageList = nullptr;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void AppShowHint(std::string& HintStr, bool& CanShow, THintInfo& HintInfo);
    void HookShowHint();
    void ClearTitleAndImage();
    void FreeHintTimer();
    void StartHintTimer(void (TbsSkinHint::*Tick)(TObject*));
    void RearmForHide();
    void ShowHintTimer(TObject* Sender);
    void ShowHintTimerEx(TObject* Sender);
    void ShowHintTimerFromRect(TObject* Sender);
    void HideHintTimer(TObject* Sender);

    bool FActive = true;
    TbsSkinData* FSD = nullptr;
    bool FAlphaBlend = false;
    BYTE FAlphaBlendValue = 0;
    bool FAlphaBlendAnimation = false;
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
    std::string FLineSeparator = "@";
    bool FHooked = false;
    TShowHintEvent FHook;
};

// The hint window class the components install: one object, so the class
// library sees one type.
const THintWindowClass& SkinHintWindowClass();
