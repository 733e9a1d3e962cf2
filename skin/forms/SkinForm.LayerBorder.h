// The layered border of a skinned form: four borderless per-pixel-alpha
// windows around the form that show the skin's layer picture (a soft shadow
// or glow) and resize the form when dragged.
#pragma once

#include "platform/forms/Forms.h"
#include "skin/model/bsEffects.Bitmap.h"
#include "skin/model/bsSkinData.h"

#include <memory>

class TbsSkinForm;
class TbsFormLayerBorder;

enum TbsFormLayerBorderType { bsflLeft, bsflTop, bsflRight, bsflBottom };
enum TbsFormLayerBorderHit {
    bsflhNone,
    bsflhLeft,
    bsflhTop,
    bsflhRight,
    bsflhBottom,
    bsflhTopLeft,
    bsflhTopRight,
    bsflhBottomLeft,
    bsflhBottomRight
};

// One side of the border. Never activated by a click; a press on its
// resize band starts a drag that resizes the framed form.
class TbsFormLayerWindow : public TForm {
public:
    TbsFormLayerWindow(TbsFormLayerBorder* AOwner, TForm* AForm);

    TbsFormLayerBorderHit HitTest();
    bool CanResizeForm();
    // Hidden at once and freed later; pointer input is ignored from now on.
    void ReleaseWindow();
    bool Released() const { return FReleased; }

    bool FDown = false;
    TForm* FForm;
    TbsFormLayerBorder* FLayerBorder;
    TPoint MousePos1;
    TPoint MousePos2;
    TbsFormLayerBorderHit FHitMode = bsflhNone;
    bool FInProcessMessages = false;
    TbsFormLayerBorderType BorderType = bsflLeft;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    bool HitTestEnabled() const;
    bool FReleased = false;
    // A free asked for while this window's own handler runs waits until
    // that handler has returned.
    int FBusy = 0;
    bool FReleasePending = false;
};

class TbsFormLayerBorder : public TComponent {
public:
    explicit TbsFormLayerBorder(TbsSkinForm* AOwner);
    ~TbsFormLayerBorder() override;

    void InitFrame(TbsSkinData* ASkinData, TForm* AForm);
    void Show(int X, int Y, int AWidth, int AHeight);
    void Hide();
    void SetBounds(int X, int Y, int AWidth, int AHeight);
    void ShowWithForm();
    void ShowWithFormAnimation();
    void SetBoundsWithForm();
    void SetBoundsWithForm2(int AW, int AH);
    void SetBoundsWithForm3(int ALeft, int ATop, int AW, int AH);
    void MoveWithForm();
    void MoveWithForm2(int ALeft, int ATop);
    void SetAlphaBlend();
    void SetAlphaBlend2();
    void CheckFormAlpha(int AFormAlpha, bool AUpdate);
    void SetActive(bool AValue, bool AUpdate);
    void Draw(TCanvas* Canvas, int X, int Y, int AWidth, int AHeight);

    bool Visible() const { return FVisible; }
    TbsDataSkinLayerFrame* Data() const { return FData; }
    TbsFormLayerWindow* Window(TbsFormLayerBorderType Side) const;

    TbsSkinForm* BSF;
    TForm* FForm = nullptr;
    bool FVisible = false;
    TbsSkinData* FSD = nullptr;
    TbsDataSkinLayerFrame* FData = nullptr;
    std::unique_ptr<TbsBitmap> FSourceBitmap;
    std::unique_ptr<TbsBitmap> FSourceInActiveBitMap;
    std::unique_ptr<TbsBitmap> LeftImage, TopImage, RightImage, BottomImage;
    TbsFormLayerWindow* LeftBorder = nullptr;
    TbsFormLayerWindow* TopBorder = nullptr;
    TbsFormLayerWindow* RightBorder = nullptr;
    TbsFormLayerWindow* BottomBorder = nullptr;
    int FWidth = 0;
    int FHeight = 0;
    int LeftSize = 0;
    int TopSize = 0;
    int RightSize = 0;
    int BottomSize = 0;
    bool FActive = true;
    int FCurrentAlphaBlendValue = -1;
    int FCurrentInActiveAlphaBlendValue = 0;

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void BuildImages(int AWidth, int AHeight);
    void FreeWindows();
    void PlaceWindows(int X, int Y, int AWidth, int AHeight, bool Show);
    BYTE CurrentAlpha() const;
    int TopHeight() const;
    int BottomHeight() const;
    // The frame around a form at L, T of size W x H.
    TRect FrameOf(int L, int T, int W, int H) const;
};
