// TbsSkinData: one loaded skin, and the messages that tell every form when
// it changes.
//
// A skin is the frame pictures, the list of active pictures that every
// element cuts from, the frame geometry (FORMINFO), the VERSION texts, the
// four single records and the two element lists. Skinned forms and controls
// read the fields directly and find their element by name with GetIndex or
// GetControlIndex.
//
// Every load reads the whole new skin into a private, unattached skin data
// first and replaces the present one only when that succeeded, so a damaged
// skin raises its error and leaves the skin in use loaded and drawable. The
// replacement is announced by WM_BEFORECHANGESKINDATA, WM_CHANGESKINDATA and
// WM_AFTERCHANGESKINDATA to every form (SendSkinDataMessage). Pictures and
// elements are new objects after each change: nothing may keep one across it.
#pragma once

#include "platform/core/IniFiles.h"
#include "platform/core/Objects.h"
#include "platform/core/StringLists.h"
#include "platform/gdi/Graphics.h"
#include "skin/model/bsSkinData.Controls.h"
#include "skin/model/bsSkinData.IniValues.h"
#include "skin/model/bsSkinData.Objects.h"
#include "skin/model/bsSkinData.Records.h"
#include "skin/model/bsSkinData.ResStr.h"

#include <memory>
#include <string>
#include <vector>

class TbsCompressedSkinList;
class TbsCompressedStoredSkin;

class TbsSkinData : public TComponent {
public:
    explicit TbsSkinData(TComponent* AOwner);
    // Sends no message.
    ~TbsSkinData() override;

    bool SkinnableForm() const { return FSkinnableForm; }
    // A new value is sent to every form as WM_CHANGEFORMSKINNABLE, except
    // while loading.
    void SetSkinnableForm(bool Value);
    bool AnimationForAllWindows() const { return FAnimationForAllWindows; }
    void SetAnimationForAllWindows(bool Value) { FAnimationForAllWindows = Value; }
    bool EnableSkinEffects() const { return FEnableSkinEffects; }
    void SetEnableSkinEffects(bool Value) { FEnableSkinEffects = Value; }
    bool ShowButtonGlowFrames() const { return FShowButtonGlowFrames; }
    void SetShowButtonGlowFrames(bool Value) { FShowButtonGlowFrames = Value; }
    bool ShowCaptionButtonGlowFrames() const { return FShowCaptionButtonGlowFrames; }
    void SetShowCaptionButtonGlowFrames(bool Value) { FShowCaptionButtonGlowFrames = Value; }
    bool ShowLayeredBorders() const { return FShowLayeredBorders; }
    // A new value is sent to every form as WM_SHOWLAYEREDBORDERS, except
    // while loading.
    void SetShowLayeredBorders(bool Value);
    TbsCompressedStoredSkin* CompressedStoredSkin() const { return FCompressedStoredSkin; }
    // Keeps the reference (also when its load fails) and loads a stored skin
    // that is not none.
    void SetCompressedStoredSkin(TbsCompressedStoredSkin* Value);
    TbsResourceStrData* ResourceStrData() const { return FResourceStrData; }
    // Sends WM_CHANGERESSTRDATA every time, also for none and while loading.
    void SetResourceStrData(TbsResourceStrData* Value);
    TbsCompressedSkinList* SkinList() const { return FCompressedSkinList; }
    // Keeps the reference (also the same one again, and also when the load
    // fails) and loads entry SkinIndex when the list has it.
    void SetSkinList(TbsCompressedSkinList* Value);
    int SkinIndex() const { return FCompressedSkinIndex; }
    // Without a list the value is only stored. With a list, a value outside
    // it is ignored; a value inside is loaded and then names the skin in
    // use: when the load fails, SkinIndex keeps its old value.
    void SetSkinIndex(int Value);
    TbsSkinColors* SkinColors() const { return FSkinColors.get(); }

    // The skin folder: FileName is the ini file. An ini without one of the
    // required sections (or no file at all) is refused silently.
    void LoadFromFile(const std::string& FileName);
    // Writes the skin's sections into the ini file, keeping its others.
    void SaveToFile(const std::string& FileName);
    // SaveToFile, then every picture into the ini file's folder under the
    // name the skin holds for it.
    void StoreToDisk(const std::string& FileName);

    // An empty stored skin, and a payload of a version above 3, change
    // nothing and send nothing.
    void LoadCompressedStoredSkin(TbsCompressedStoredSkin* AStoredSkin);
    void LoadFromCompressedFile(const std::string& FileName);
    // Writes no file for an empty stored skin.
    void SaveToCompressedFile(const std::string& FileName);

    // Drops the skin and tells every form; Empty stays true.
    void ClearSkin();
    // ClearObjects, the three frame pictures and their names; Empty true.
    // FORMINFO and VERSION keep their values.
    void ClearAll();
    // Both element lists, the active pictures and their names; the records'
    // picture indices -1 and the skin colours the system colours.
    void ClearObjects();

    // The first element whose IDName equals AIDName exactly, or -1.
    int GetIndex(const std::string& AIDName) const;
    int GetControlIndex(const std::string& AIDName) const;
    // The active picture Index, or none for -1 and any index outside the
    // list: the one guard every reader by index goes through.
    TBitmap* ActivePicture(int Index) const;

    // Skin editing: neither sends a message, and neither renumbers the
    // picture indices that elements hold. AddBitMap reads the file first,
    // so on an error neither list changes.
    void AddBitMap(const std::string& FileName);
    // Raises EListError for an index outside the list.
    void DeleteBitMap(int Index);

    // Sends M to the owner form first when ShowLayeredBorders is false,
    // then to every other form of the screen in creation order (reversed
    // when ShowLayeredBorders is true and the layer frame has a picture),
    // never to a layer window; wParam is this skin data, lParam 1000.
    void SendSkinDataMessage(UINT M);

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TbsCompressedSkinList* FCompressedSkinList = nullptr;
    int FCompressedSkinIndex = 0;
    bool FSkinnableForm = true;
    bool FEnableSkinEffects = true;
    TbsCompressedStoredSkin* FCompressedStoredSkin = nullptr;
    TbsResourceStrData* FResourceStrData = nullptr;
    std::unique_ptr<TbsSkinColors> FSkinColors;
    bool FShowButtonGlowFrames = true;
    bool FShowCaptionButtonGlowFrames = true;
    bool FShowLayeredBorders = true;
    bool FAnimationForAllWindows = false;

public:
    TRect ButtonsRect;
    TRect CaptionRect;
    int ButtonsOffset = 0;
    bool CapButtonsInLeft = false;
    bool AutoRenderingInActiveImage = false;
    TbsInActiveEffect InActiveEffect = ieBrightness;
    std::unique_ptr<TbsDataSkinPopupWindow> PopupWindow;
    std::unique_ptr<TbsDataSkinLayerFrame> LayerFrame;
    std::unique_ptr<TbsDataSkinHintWindow> HintWindow;
    bool Empty = true;
    std::unique_ptr<TBitmap> FPicture;
    std::unique_ptr<TBitmap> FInActivePicture;
    std::unique_ptr<TBitmap> FMask;
    std::vector<std::unique_ptr<TBitmap>> FActivePictures;
    std::string FPictureName;
    std::string FInActivePictureName;
    std::string FMaskName;
    std::unique_ptr<TStringList> FActivePicturesNames;
    std::vector<std::unique_ptr<TbsDataSkinObject>> ObjectList;
    std::vector<std::unique_ptr<TbsDataSkinControl>> CtrlList;
    TPoint LTPoint;
    TPoint RTPoint;
    TPoint LBPoint;
    TPoint RBPoint;
    int BGPictureIndex = -1;
    int MDIBGPictureIndex = -1;
    bool MainMenuPopupUp = false;
    TRect MaskRectArea;
    TPoint HitTestLTPoint;
    TPoint HitTestRTPoint;
    TPoint HitTestLBPoint;
    TPoint HitTestRBPoint;
    TRect ClRect;
    int BorderW = 0;
    int FormMinWidth = 0;
    bool MDITabsTransparent = false;
    bool MainMenuBarTransparent = false;
    bool TopStretch = false;
    bool LeftStretch = false;
    bool RightStretch = false;
    bool BottomStretch = false;
    bool StretchEffect = false;
    TbsStretchType StretchType = bsstFull;
    bool MDIBGStretchEffect = false;
    TbsStretchType MDIBGStretchType = bsstFull;
    std::string SkinName;
    std::string SkinAuthor;
    std::string AuthorURL;
    std::string AuthorEmail;
    std::string SkinComments;
    bool ChangeSkinDataProcess = false;

private:
    // Replaces this skin by the content of Staged, a skin read completely
    // beforehand, inside the change cycle. Should a receiver raise, the
    // cycle is still closed before the error leaves.
    void ApplyLoadedSkin(TbsSkinData& Staged);
    // Reads a stored skin into a new unattached skin data; none when the
    // stored skin is empty or its payload is refused.
    std::unique_ptr<TbsSkinData> ReadCompressedStoredSkin(TbsCompressedStoredSkin& AStoredSkin);
    // Loads entry Index of the list, storing Index as SkinIndex only once
    // the entry has been read.
    void LoadSkinListEntry(int Index);
    // The FORMINFO and VERSION values of Source.
    void CopyFormInfo(const TbsSkinData& Source);
    // Sends what a failed cycle still owes the forms, ignoring their errors.
    void CloseFailedCycle(int MessagesSent);
};

// The sections of a skin ini text, shared by the folder and the compressed
// loaders and writers. Folder is the ini file's folder with its separator.

// Reads the "activepictures" names of PICTURES and loads each file.
void LoadActivePictures(TCustomIniFile& IniFile, TbsSkinData& SkinData, const std::string& Folder);
// FORMINFO, with the mask-dependent fix-ups (FMaskName must be read) and
// the clamp of the corner points onto the client rectangle.
void ReadFormInfo(TCustomIniFile& IniFile, TbsSkinData& SkinData);
void ReadSkinObjects(TCustomIniFile& IniFile, TbsSkinData& SkinData);
void ReadSkinControls(TCustomIniFile& IniFile, TbsSkinData& SkinData);
// The five VERSION texts; the three PICTURES names.
void ReadSkinVersion(TCustomIniFile& IniFile, TbsSkinData& SkinData);
void ReadPictureNames(TCustomIniFile& IniFile, TbsSkinData& SkinData);
// POPUPWINDOW, LAYERFRAME, HINTWINDOW and SKINCOLORS.
void ReadSkinRecords(TCustomIniFile& IniFile, TbsSkinData& SkinData);

void WriteSkinIni(TCustomIniFile& IniFile, TbsSkinData& SkinData);
void WriteFormInfo(TCustomIniFile& IniFile, TbsSkinData& SkinData);
void WriteActivePictureNames(TCustomIniFile& IniFile, TbsSkinData& SkinData);
void WriteSkinObjects(TCustomIniFile& IniFile, TbsSkinData& SkinData);
void WriteSkinControls(TCustomIniFile& IniFile, TbsSkinData& SkinData);

// Folder + Name; when that file does not exist, the file of the same folder
// whose name equals it ignoring ASCII case (the first in sorted order), for
// skins made where names ignore case. Unchanged when none matches.
std::string SkinPictureFileName(const std::string& Folder, const std::string& Name);
