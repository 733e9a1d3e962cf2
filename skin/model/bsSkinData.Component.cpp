#include "skin/model/bsSkinData.Component.h"

#include "platform/core/Paths.h"
#include "platform/forms/Forms.h"
#include "platform/win/Windows.h"
#include "skin/model/bsMessages.h"

#include <algorithm>

TbsSkinData::TbsSkinData(TComponent* AOwner)
    : TComponent(AOwner), FSkinColors(std::make_unique<TbsSkinColors>()),
      PopupWindow(std::make_unique<TbsDataSkinPopupWindow>()),
      LayerFrame(std::make_unique<TbsDataSkinLayerFrame>()),
      HintWindow(std::make_unique<TbsDataSkinHintWindow>()), FPicture(std::make_unique<TBitmap>()),
      FInActivePicture(std::make_unique<TBitmap>()), FMask(std::make_unique<TBitmap>()),
      FActivePicturesNames(std::make_unique<TStringList>()) {}

TbsSkinData::~TbsSkinData() {
    Empty = true;
    ClearObjects();
}

void TbsSkinData::SetSkinnableForm(bool Value) {
    if (FSkinnableForm == Value)
        return;
    FSkinnableForm = Value;
    if (!ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading))
        SendSkinDataMessage(WM_CHANGEFORMSKINNABLE);
}

void TbsSkinData::SetShowLayeredBorders(bool Value) {
    if (FShowLayeredBorders == Value)
        return;
    FShowLayeredBorders = Value;
    if (!ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading))
        SendSkinDataMessage(WM_SHOWLAYEREDBORDERS);
}

void TbsSkinData::SetResourceStrData(TbsResourceStrData* Value) {
    if (FResourceStrData != Value) {
        if (FResourceStrData)
            RemoveFreeNotification(FResourceStrData);
        FResourceStrData = Value;
        if (Value)
            FreeNotification(Value);
    }
    if (!ComponentState().Contains(csDesigning))
        SendSkinDataMessage(WM_CHANGERESSTRDATA);
}

void TbsSkinData::ClearObjects() {
    ObjectList.clear();
    CtrlList.clear();
    FActivePictures.clear();
    LayerFrame->PictureIndex = -1;
    PopupWindow->WindowPictureIndex = -1;
    HintWindow->WindowPictureIndex = -1;
    FActivePicturesNames->Clear();
    FSkinColors->SetColorsToDefault();
}

void TbsSkinData::ClearAll() {
    ClearObjects();
    FPicture = std::make_unique<TBitmap>();
    FMask = std::make_unique<TBitmap>();
    FInActivePicture = std::make_unique<TBitmap>();
    FPictureName.clear();
    FInActivePictureName.clear();
    FMaskName.clear();
    Empty = true;
}

void TbsSkinData::ClearSkin() {
    ClearAll();
    SendSkinDataMessage(WM_BEFORECHANGESKINDATA);
    SendSkinDataMessage(WM_CHANGESKINDATA);
    SendSkinDataMessage(WM_AFTERCHANGESKINDATA);
}

int TbsSkinData::GetIndex(const std::string& AIDName) const {
    for (std::size_t i = 0; i < ObjectList.size(); ++i)
        if (ObjectList[i]->IDName == AIDName)
            return static_cast<int>(i);
    return -1;
}

int TbsSkinData::GetControlIndex(const std::string& AIDName) const {
    for (std::size_t i = 0; i < CtrlList.size(); ++i)
        if (CtrlList[i]->IDName == AIDName)
            return static_cast<int>(i);
    return -1;
}

TBitmap* TbsSkinData::ActivePicture(int Index) const {
    if (Index < 0 || Index >= static_cast<int>(FActivePictures.size()))
        return nullptr;
    return FActivePictures[static_cast<std::size_t>(Index)].get();
}

void TbsSkinData::AddBitMap(const std::string& FileName) {
    auto Picture = std::make_unique<TBitmap>();
    Picture->LoadFromFile(FileName);
    FActivePictures.reserve(FActivePictures.size() + 1);
    FActivePicturesNames->Add(ExtractFileName(FileName));
    FActivePictures.push_back(std::move(Picture));
}

void TbsSkinData::DeleteBitMap(int Index) {
    if (Index < 0 || Index >= static_cast<int>(FActivePictures.size()))
        RaiseListIndexError(Index);
    if (Index < FActivePicturesNames->Count())
        FActivePicturesNames->Delete(Index);
    FActivePictures.erase(FActivePictures.begin() + Index);
}

void TbsSkinData::SendSkinDataMessage(UINT M) {
    const auto WParam = reinterpret_cast<WPARAM>(this);
    constexpr LPARAM LParam = 1000;
    TCustomForm* OwnerForm = nullptr;
    if (auto* Form = dynamic_cast<TCustomForm*>(Owner()); Form && !FShowLayeredBorders) {
        OwnerForm = Form;
        SendMessage(Form->Handle(), M, WParam, LParam);
    }
    if (!Screen)
        return;
    std::vector<HWND> Handles;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* Form = Screen->Forms(i);
        // The windows that draw a form's layered border follow their form.
        if (Form == OwnerForm || Form->ClassName() == "TbsFormLayerWindow")
            continue;
        Handles.push_back(Form->Handle());
    }
    if (FShowLayeredBorders && LayerFrame->PictureIndex != -1)
        std::reverse(Handles.begin(), Handles.end());
    for (HWND Handle : Handles)
        SendMessage(Handle, M, WParam, LParam);
}

void TbsSkinData::CopyFormInfo(const TbsSkinData& Source) {
    ButtonsRect = Source.ButtonsRect;
    CaptionRect = Source.CaptionRect;
    ButtonsOffset = Source.ButtonsOffset;
    CapButtonsInLeft = Source.CapButtonsInLeft;
    AutoRenderingInActiveImage = Source.AutoRenderingInActiveImage;
    InActiveEffect = Source.InActiveEffect;
    LTPoint = Source.LTPoint;
    RTPoint = Source.RTPoint;
    LBPoint = Source.LBPoint;
    RBPoint = Source.RBPoint;
    BGPictureIndex = Source.BGPictureIndex;
    MDIBGPictureIndex = Source.MDIBGPictureIndex;
    MainMenuPopupUp = Source.MainMenuPopupUp;
    MaskRectArea = Source.MaskRectArea;
    HitTestLTPoint = Source.HitTestLTPoint;
    HitTestRTPoint = Source.HitTestRTPoint;
    HitTestLBPoint = Source.HitTestLBPoint;
    HitTestRBPoint = Source.HitTestRBPoint;
    ClRect = Source.ClRect;
    BorderW = Source.BorderW;
    FormMinWidth = Source.FormMinWidth;
    MDITabsTransparent = Source.MDITabsTransparent;
    MainMenuBarTransparent = Source.MainMenuBarTransparent;
    TopStretch = Source.TopStretch;
    LeftStretch = Source.LeftStretch;
    RightStretch = Source.RightStretch;
    BottomStretch = Source.BottomStretch;
    StretchEffect = Source.StretchEffect;
    StretchType = Source.StretchType;
    MDIBGStretchEffect = Source.MDIBGStretchEffect;
    MDIBGStretchType = Source.MDIBGStretchType;
    SkinName = Source.SkinName;
    SkinAuthor = Source.SkinAuthor;
    AuthorURL = Source.AuthorURL;
    AuthorEmail = Source.AuthorEmail;
    SkinComments = Source.SkinComments;
}

void TbsSkinData::ApplyLoadedSkin(TbsSkinData& Staged) {
    // Receivers see the order and the flags of a load that reads while the
    // forms wait; only the reading itself has happened already.
    Empty = true;
    ChangeSkinDataProcess = true;
    int Sent = 0;
    try {
        SendSkinDataMessage(WM_BEFORECHANGESKINDATA);
        ClearAll();
        std::swap(FPicture, Staged.FPicture);
        std::swap(FInActivePicture, Staged.FInActivePicture);
        std::swap(FMask, Staged.FMask);
        std::swap(FPictureName, Staged.FPictureName);
        std::swap(FInActivePictureName, Staged.FInActivePictureName);
        std::swap(FMaskName, Staged.FMaskName);
        std::swap(FActivePictures, Staged.FActivePictures);
        std::swap(FActivePicturesNames, Staged.FActivePicturesNames);
        std::swap(ObjectList, Staged.ObjectList);
        std::swap(CtrlList, Staged.CtrlList);
        // The records stay the same objects, so a pointer to the skin
        // colours taken before the change still reads the new ones.
        std::swap(*PopupWindow, *Staged.PopupWindow);
        std::swap(*LayerFrame, *Staged.LayerFrame);
        std::swap(*HintWindow, *Staged.HintWindow);
        std::swap(*FSkinColors, *Staged.FSkinColors);
        CopyFormInfo(Staged);
        Empty = false;
        Sent = 1;
        SendSkinDataMessage(WM_CHANGESKINDATA);
        Sent = 2;
        ChangeSkinDataProcess = false;
        SendSkinDataMessage(WM_AFTERCHANGESKINDATA);
    } catch (...) {
        CloseFailedCycle(Sent);
        throw;
    }
}

void TbsSkinData::CloseFailedCycle(int MessagesSent) {
    if (MessagesSent < 1) {
        try {
            SendSkinDataMessage(WM_CHANGESKINDATA);
        } catch (...) {
        }
    }
    ChangeSkinDataProcess = false;
    if (MessagesSent < 2) {
        try {
            SendSkinDataMessage(WM_AFTERCHANGESKINDATA);
        } catch (...) {
        }
    }
}
