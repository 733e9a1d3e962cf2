// The skin folder: an ini text and the BMP files it names, and the readers
// and writers of the ini sections that compressed skins share.
#include "platform/core/Paths.h"
#include "skin/model/bsSkinData.Component.h"
#include "skin/model/bsSkinData.Kinds.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {

const char* const VersionSection = "VERSION";
const char* const PicturesSection = "PICTURES";
const char* const FormInfoSection = "FORMINFO";
const char* const ObjectsSection = "SKINOBJECTS";
const char* const ControlsSection = "SKINCONTROLS";
const char* const ActivePicturesList = "activepictures";

bool EqualIgnoringAsciiCase(const std::string& A, const std::string& B) {
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
               auto Lower = [](char C) { return (C >= 'A' && C <= 'Z') ? char(C - 'A' + 'a') : C; };
               return Lower(X) == Lower(Y);
           });
}

// Loads Name from Folder into Picture, or empties Picture for no name.
void LoadPicture(TBitmap& Picture, const std::string& Folder, const std::string& Name) {
    if (Name.empty()) {
        Picture.Assign(nullptr);
        return;
    }
    Picture.LoadFromFile(SkinPictureFileName(Folder, Name));
}

// The entry numbers 0 to Count - 1 that the section holds, in order. A
// missing entry reads as empty and is skipped anyway, so walking only the
// keys present gives the same list, and a damaged count of two billion
// cannot keep the load busy for minutes.
std::vector<int> EntryNumbers(TCustomIniFile& IniFile, const char* Section, int Count) {
    TStringList Keys;
    IniFile.ReadSection(Section, Keys);
    std::vector<int> Numbers;
    for (int k = 0; k < Keys.Count(); ++k) {
        const std::string Key = Keys.Strings(k);
        if (Key.empty() || Key.size() > 10 ||
            !std::all_of(Key.begin(), Key.end(), [](unsigned char C) { return std::isdigit(C); }))
            continue;
        const long long N = std::stoll(Key);
        if (N < Count && std::to_string(N) == Key)
            Numbers.push_back(static_cast<int>(N));
    }
    std::sort(Numbers.begin(), Numbers.end());
    Numbers.erase(std::unique(Numbers.begin(), Numbers.end()), Numbers.end());
    return Numbers;
}

// The entries of a list section, as the element factory makes them.
template <class TElement, class TCreate>
void ReadElementList(TCustomIniFile& IniFile, const char* Section,
                     std::vector<std::unique_ptr<TElement>>& List, TCreate Create) {
    const int Count = IniFile.ReadInteger(Section, "count", 0);
    for (int i : EntryNumbers(IniFile, Section, Count)) {
        std::string IDName, Kind;
        SplitSkinEntry(IniFile.ReadString(Section, std::to_string(i), ""), IDName, Kind);
        std::unique_ptr<TElement> Element = Create(Kind, IDName);
        if (!Element)
            continue;
        List.push_back(std::move(Element));
        List.back()->LoadFromFile(IniFile);
    }
}

template <class TElement, class TKindOf>
void WriteElementList(TCustomIniFile& IniFile, const char* Section,
                      const std::vector<std::unique_ptr<TElement>>& List, TKindOf KindOf) {
    IniFile.EraseSection(Section);
    IniFile.WriteInteger(Section, "count", static_cast<int>(List.size()));
    for (std::size_t i = 0; i < List.size(); ++i) {
        IniFile.WriteString(Section, std::to_string(i), List[i]->IDName + ":" + KindOf(*List[i]));
        List[i]->SaveToFile(IniFile);
    }
}

// Steps of a folder load after the ini passed its completeness test, on a
// fresh skin data.
void ReadSkinFolder(TCustomIniFile& IniFile, const std::string& Folder, TbsSkinData& SkinData) {
    SkinData.ClearAll();
    ReadSkinVersion(IniFile, SkinData);
    ReadPictureNames(IniFile, SkinData);
    LoadPicture(*SkinData.FPicture, Folder, SkinData.FPictureName);
    LoadPicture(*SkinData.FInActivePicture, Folder, SkinData.FInActivePictureName);
    LoadPicture(*SkinData.FMask, Folder, SkinData.FMaskName);
    LoadActivePictures(IniFile, SkinData, Folder);
    ReadFormInfo(IniFile, SkinData);
    ReadSkinRecords(IniFile, SkinData);
    ReadSkinObjects(IniFile, SkinData);
    ReadSkinControls(IniFile, SkinData);
}

} // namespace

std::string SkinPictureFileName(const std::string& Folder, const std::string& Name) {
    const std::string Joined = Folder + Name;
    if (FileExists(Joined))
        return Joined;
    const std::string Dir = ExtractFilePath(Joined);
    const std::string Wanted = ExtractFileName(Joined);
    std::vector<std::string> Matches;
    std::error_code Error;
    for (const auto& Entry :
         std::filesystem::directory_iterator(Dir.empty() ? "." : Dir.c_str(), Error)) {
        const std::string Found = Entry.path().filename().string();
        if (EqualIgnoringAsciiCase(Found, Wanted) && Entry.is_regular_file(Error))
            Matches.push_back(Found);
    }
    if (Matches.empty())
        return Joined;
    return Dir + *std::min_element(Matches.begin(), Matches.end());
}

void ReadSkinVersion(TCustomIniFile& IniFile, TbsSkinData& SkinData) {
    SkinData.SkinName = IniFile.ReadString(VersionSection, "skinname", "");
    SkinData.SkinAuthor = IniFile.ReadString(VersionSection, "skinauthor", "");
    SkinData.AuthorEmail = IniFile.ReadString(VersionSection, "authoremail", "");
    SkinData.AuthorURL = IniFile.ReadString(VersionSection, "authorurl", "");
    SkinData.SkinComments = IniFile.ReadString(VersionSection, "skincomments", "");
}

void ReadPictureNames(TCustomIniFile& IniFile, TbsSkinData& SkinData) {
    SkinData.FPictureName = IniFile.ReadString(PicturesSection, "picture", "");
    SkinData.FInActivePictureName = IniFile.ReadString(PicturesSection, "inactivepicture", "");
    SkinData.FMaskName = IniFile.ReadString(PicturesSection, "mask", "");
}

void LoadActivePictures(TCustomIniFile& IniFile, TbsSkinData& SkinData, const std::string& Folder) {
    ReadStrings(IniFile, PicturesSection, ActivePicturesList, *SkinData.FActivePicturesNames);
    for (int i = 0; i < SkinData.FActivePicturesNames->Count(); ++i) {
        auto Picture = std::make_unique<TBitmap>();
        LoadPicture(*Picture, Folder, SkinData.FActivePicturesNames->Strings(i));
        SkinData.FActivePictures.push_back(std::move(Picture));
    }
}

namespace {

// Moves each side of R outward to Bounds' side where Bounds reaches further.
void WidenToContain(TRect& R, const TRect& Bounds) {
    R.Left = std::min(R.Left, Bounds.Left);
    R.Top = std::min(R.Top, Bounds.Top);
    R.Right = std::max(R.Right, Bounds.Right);
    R.Bottom = std::max(R.Bottom, Bounds.Bottom);
}

// A hit-test point left at zero on either axis follows its corner point.
void DefaultHitTestPoint(TPoint& HitTest, const TPoint& Corner) {
    if (HitTest.X == 0 || HitTest.Y == 0)
        HitTest = Corner;
}

void ClampCornersOntoClientRect(TbsSkinData& D) {
    if (D.RBPoint.X == D.LTPoint.X || D.RBPoint.Y == D.LTPoint.Y)
        return;
    const TRect& R = D.ClRect;
    D.LTPoint.X = std::max(D.LTPoint.X, R.Left);
    D.LTPoint.Y = std::max(D.LTPoint.Y, R.Top);
    D.RTPoint.X = std::min(D.RTPoint.X, R.Right);
    D.RTPoint.Y = std::max(D.RTPoint.Y, R.Top);
    D.LBPoint.X = std::max(D.LBPoint.X, R.Left);
    D.LBPoint.Y = std::min(D.LBPoint.Y, R.Bottom);
    D.RBPoint.X = std::min(D.RBPoint.X, R.Right);
    D.RBPoint.Y = std::min(D.RBPoint.Y, R.Bottom);
}

} // namespace

void ReadFormInfo(TCustomIniFile& IniFile, TbsSkinData& D) {
    const char* S = FormInfoSection;
    D.LTPoint = ReadPoint(IniFile, S, "lefttoppoint");
    D.RTPoint = ReadPoint(IniFile, S, "righttoppoint");
    D.LBPoint = ReadPoint(IniFile, S, "leftbottompoint");
    D.RBPoint = ReadPoint(IniFile, S, "rightbottompoint");
    D.ClRect = ReadRect(IniFile, S, "clientrect");
    D.BGPictureIndex = IniFile.ReadInteger(S, "bgpictureindex", -1);
    D.MDIBGPictureIndex = IniFile.ReadInteger(S, "mdibgpictureindex", -1);
    D.LeftStretch = ReadBoolean(IniFile, S, "leftstretch");
    D.RightStretch = ReadBoolean(IniFile, S, "rightstretch");
    D.TopStretch = ReadBoolean(IniFile, S, "topstretch");
    D.BottomStretch = ReadBoolean(IniFile, S, "bottomstretch");
    D.StretchEffect = ReadBoolean(IniFile, S, "stretcheffect");
    D.StretchType = ReadStretchType(IniFile, S, "stretchtype");
    D.MDIBGStretchEffect = ReadBoolean(IniFile, S, "mdibgstretcheffect");
    D.MDIBGStretchType = ReadStretchType(IniFile, S, "mdibgstretchtype");
    D.MaskRectArea = ReadRect(IniFile, S, "maskrectarea");
    D.HitTestLTPoint = ReadPoint(IniFile, S, "hittestlefttoppoint");
    D.HitTestRTPoint = ReadPoint(IniFile, S, "hittestrighttoppoint");
    D.HitTestLBPoint = ReadPoint(IniFile, S, "hittestleftbottompoint");
    D.HitTestRBPoint = ReadPoint(IniFile, S, "hittestrightbottompoint");
    if (!D.FMaskName.empty()) {
        if (D.MaskRectArea.Width() <= 0 || D.MaskRectArea.Height() <= 0)
            D.MaskRectArea = D.ClRect;
        else
            WidenToContain(D.MaskRectArea, D.ClRect);
        DefaultHitTestPoint(D.HitTestLTPoint, D.LTPoint);
        DefaultHitTestPoint(D.HitTestRTPoint, D.RTPoint);
        DefaultHitTestPoint(D.HitTestLBPoint, D.LBPoint);
        DefaultHitTestPoint(D.HitTestRBPoint, D.RBPoint);
    }
    D.ButtonsRect = ReadRect(IniFile, S, "buttonsrect");
    D.CaptionRect = ReadRect(IniFile, S, "captionrect");
    D.ButtonsOffset = IniFile.ReadInteger(S, "buttonsoffset", 0);
    D.CapButtonsInLeft = ReadBoolean(IniFile, S, "buttonsinleft");
    D.MainMenuPopupUp = ReadBoolean(IniFile, S, "mainmenupopupup");
    D.BorderW = IniFile.ReadInteger(S, "borderwidth", 0);
    D.FormMinWidth = IniFile.ReadInteger(S, "formminwidth", 0);
    D.MDITabsTransparent = ReadBoolean(IniFile, S, "mditabstransparent");
    D.MainMenuBarTransparent = ReadBoolean(IniFile, S, "mainmenubartransparent");
    D.AutoRenderingInActiveImage = ReadBoolean(IniFile, S, "autorenderinginactiveimage");
    D.InActiveEffect = ReadInActiveEffect(IniFile, S, "inactiveeffect");
    ClampCornersOntoClientRect(D);
}

void ReadSkinRecords(TCustomIniFile& IniFile, TbsSkinData& SkinData) {
    SkinData.PopupWindow->LoadFromFile(IniFile);
    SkinData.LayerFrame->LoadFromFile(IniFile);
    SkinData.HintWindow->LoadFromFile(IniFile);
    SkinData.SkinColors()->LoadFromFile(IniFile);
}

void ReadSkinObjects(TCustomIniFile& IniFile, TbsSkinData& SkinData) {
    ReadElementList(IniFile, ObjectsSection, SkinData.ObjectList, CreateSkinObject);
}

void ReadSkinControls(TCustomIniFile& IniFile, TbsSkinData& SkinData) {
    ReadElementList(IniFile, ControlsSection, SkinData.CtrlList, CreateSkinControl);
}

void WriteFormInfo(TCustomIniFile& IniFile, TbsSkinData& D) {
    const char* S = FormInfoSection;
    WritePoint(IniFile, S, "lefttoppoint", D.LTPoint);
    WritePoint(IniFile, S, "righttoppoint", D.RTPoint);
    WritePoint(IniFile, S, "leftbottompoint", D.LBPoint);
    WritePoint(IniFile, S, "rightbottompoint", D.RBPoint);
    WriteRect(IniFile, S, "clientrect", D.ClRect);
    IniFile.WriteInteger(S, "bgpictureindex", D.BGPictureIndex);
    IniFile.WriteInteger(S, "mdibgpictureindex", D.MDIBGPictureIndex);
    WriteBoolean(IniFile, S, "leftstretch", D.LeftStretch);
    WriteBoolean(IniFile, S, "rightstretch", D.RightStretch);
    WriteBoolean(IniFile, S, "topstretch", D.TopStretch);
    WriteBoolean(IniFile, S, "bottomstretch", D.BottomStretch);
    WriteBoolean(IniFile, S, "stretcheffect", D.StretchEffect);
    WriteStretchType(IniFile, S, "stretchtype", D.StretchType);
    WriteBoolean(IniFile, S, "mdibgstretcheffect", D.MDIBGStretchEffect);
    WriteStretchType(IniFile, S, "mdibgstretchtype", D.MDIBGStretchType);
    WriteRect(IniFile, S, "maskrectarea", D.MaskRectArea);
    WritePoint(IniFile, S, "hittestlefttoppoint", D.HitTestLTPoint);
    WritePoint(IniFile, S, "hittestrighttoppoint", D.HitTestRTPoint);
    WritePoint(IniFile, S, "hittestleftbottompoint", D.HitTestLBPoint);
    WritePoint(IniFile, S, "hittestrightbottompoint", D.HitTestRBPoint);
    WriteRect(IniFile, S, "buttonsrect", D.ButtonsRect);
    WriteRect(IniFile, S, "captionrect", D.CaptionRect);
    IniFile.WriteInteger(S, "buttonsoffset", D.ButtonsOffset);
    WriteBoolean(IniFile, S, "buttonsinleft", D.CapButtonsInLeft);
    WriteBoolean(IniFile, S, "mainmenupopupup", D.MainMenuPopupUp);
    IniFile.WriteInteger(S, "borderwidth", D.BorderW);
    WriteBoolean(IniFile, S, "autorenderinginactiveimage", D.AutoRenderingInActiveImage);
    WriteInActiveEffect(IniFile, S, "inactiveeffect", D.InActiveEffect);
    IniFile.WriteInteger(S, "formminwidth", D.FormMinWidth);
    WriteBoolean(IniFile, S, "mditabstransparent", D.MDITabsTransparent);
    WriteBoolean(IniFile, S, "mainmenubartransparent", D.MainMenuBarTransparent);
}

void WriteActivePictureNames(TCustomIniFile& IniFile, TbsSkinData& SkinData) {
    WriteStrings(IniFile, PicturesSection, ActivePicturesList, *SkinData.FActivePicturesNames);
}

void WriteSkinObjects(TCustomIniFile& IniFile, TbsSkinData& SkinData) {
    WriteElementList(IniFile, ObjectsSection, SkinData.ObjectList, SkinObjectKind);
}

void WriteSkinControls(TCustomIniFile& IniFile, TbsSkinData& SkinData) {
    WriteElementList(IniFile, ControlsSection, SkinData.CtrlList, SkinControlKind);
}

void WriteSkinIni(TCustomIniFile& IniFile, TbsSkinData& D) {
    IniFile.EraseSection(VersionSection);
    IniFile.WriteInteger(VersionSection, "ver", 1);
    IniFile.WriteString(VersionSection, "skinname", D.SkinName);
    IniFile.WriteString(VersionSection, "skinauthor", D.SkinAuthor);
    IniFile.WriteString(VersionSection, "authoremail", D.AuthorEmail);
    IniFile.WriteString(VersionSection, "authorurl", D.AuthorURL);
    IniFile.WriteString(VersionSection, "skincomments", D.SkinComments);
    IniFile.EraseSection(PicturesSection);
    IniFile.WriteString(PicturesSection, "picture", D.FPictureName);
    IniFile.WriteString(PicturesSection, "inactivepicture", D.FInActivePictureName);
    IniFile.WriteString(PicturesSection, "mask", D.FMaskName);
    WriteActivePictureNames(IniFile, D);
    IniFile.EraseSection(FormInfoSection);
    WriteFormInfo(IniFile, D);
    D.PopupWindow->SaveToFile(IniFile);
    D.LayerFrame->SaveToFile(IniFile);
    D.HintWindow->SaveToFile(IniFile);
    IniFile.EraseSection(TbsSkinColors::Section);
    D.SkinColors()->SaveToFile(IniFile);
    WriteSkinObjects(IniFile, D);
    WriteSkinControls(IniFile, D);
}

void TbsSkinData::LoadFromFile(const std::string& FileName) {
    TMemIniFile IniFile(FileName);
    if (!IsSkinIniComplete(IniFile))
        return;
    TbsSkinData Staged(nullptr);
    ReadSkinFolder(IniFile, ExtractFilePath(FileName), Staged);
    ApplyLoadedSkin(Staged);
}

void TbsSkinData::SaveToFile(const std::string& FileName) {
    TMemIniFile IniFile(FileName);
    WriteSkinIni(IniFile, *this);
    IniFile.UpdateFile();
}

void TbsSkinData::StoreToDisk(const std::string& FileName) {
    SaveToFile(FileName);
    const std::string Folder = ExtractFilePath(FileName);
    if (!FPicture->Empty())
        FPicture->SaveToFile(Folder + FPictureName);
    if (!FInActivePicture->Empty())
        FInActivePicture->SaveToFile(Folder + FInActivePictureName);
    if (!FMask->Empty())
        FMask->SaveToFile(Folder + FMaskName);
    const int Count =
        std::min(FActivePicturesNames->Count(), static_cast<int>(FActivePictures.size()));
    for (int i = 0; i < Count; ++i)
        FActivePictures[static_cast<std::size_t>(i)]->SaveToFile(Folder +
                                                                 FActivePicturesNames->Strings(i));
}
