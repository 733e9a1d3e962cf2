#include "skin/dialogs/bsSkinOpenDlg.h"

#include "platform/core/Environment.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Paths.h"
#include "platform/forms/Menus.h"
#include "skin/controls/bsSkinCtrls.Bars.h"
#include "skin/controls/bsSkinCtrls.Bevel.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.Labels.h"
#include "skin/controls/bsSkinCtrls.Panel.h"
#include "skin/controls/bsSkinCtrls.ScrollBar.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/dialogs/bsShellGlyphs.h"
#include "skin/dialogs/bsShellViews.h"
#include "skin/dialogs/bsSkinFileControls.h"
#include "skin/dialogs/bsSkinFilePaths.h"
#include "skin/dialogs/bsSkinMessage.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/bsSkinMenus.h"
#include "skin/model/bsSkinData.Component.h"
#include "skin/model/bsSkinData.ResStr.h"

#include <algorithm>
#include <cerrno>
#include <utility>

namespace {

const std::pair<const char*, const char*> BuiltInTexts[] = {
    {"FLV_LOOKIN", "Look in: "},
    {"MSG_BTN_BACK_HINT", "Go To Last Folder Visited"},
    {"MSG_BTN_UP_HINT", "Up One Level"},
    {"MSG_BTN_NEWFOLDER_HINT", "Create New Folder"},
    {"MSG_BTN_VIEWMENU_HINT", "View Menu"},
    {"MSG_LV_ICON", "Large icons"},
    {"MSG_LV_SMALLICON", "Small icons"},
    {"MSG_LV_LIST", "List"},
    {"MSG_LV_DETAILS", "Details"},
    {"MSG_BTN_OPEN", "&Open"},
    {"MSG_BTN_SAVE", "&Save"},
    {"MSG_BTN_CANCEL", "Cancel"},
    {"MSG_FILENAME", "File name:"},
    {"MSG_FILETYPE", "File type:"},
    {"MSG_NEWFOLDER", "New Folder"},
    {"MSG_OVERWRITE", "Do you want to overwrite old file?"},
};

std::string DialogText(TbsSkinData* CtrlSD, const std::string& Key) {
    if (CtrlSD && CtrlSD->ResourceStrData())
        return CtrlSD->ResourceStrData()->GetResStr(Key);
    for (const auto& [Name, Value] : BuiltInTexts)
        if (Key == Name)
            return Value;
    return {};
}

bool RegularFileExists(const std::string& Path) {
    return FileExists(Path) && !DirectoryExists(Path);
}

// The extension of a bare name, from its last dot (dot included).
std::string NameExtension(const std::string& Name) {
    return ExtractFileExt(Name);
}

TbsSkinSpeedButton* ToolButton(TbsOpenDlgForm* Form, TWinControl* Parent, int Left,
                               const char* Glyph, const std::string& Hint, bool Flat) {
    auto* B = new TbsSkinSpeedButton(Form);
    B->SetParent(Parent);
    B->SetLeft(Left);
    B->SetAlign(alRight);
    B->SetSkinDataName("toolbutton");
    B->SetDefaultWidth(27);
    B->SetDefaultHeight(25);
    B->SetWidth(27);
    std::unique_ptr<TBitmap> Picture = LoadShellGlyph(Glyph);
    B->SetGlyph(Picture.get());
    B->SetHint(Hint);
    B->SetShowHint(true);
    B->SetFlat(Flat);
    return B;
}

TbsSkinBevel* Spacer(TbsOpenDlgForm* Form, TWinControl* Parent, TAlign Align, int Left) {
    auto* S = new TbsSkinBevel(Form);
    S->SetParent(Parent);
    S->SetLeft(Left);
    S->SetAlign(Align);
    S->SetShape(bsSpacer);
    S->SetWidth(10);
    return S;
}

} // namespace

// ---------------------------------------------------------------- the form

TbsOpenDlgForm::TbsOpenDlgForm(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData,
                               TFrameOnly)
    : TForm(AOwner), SaveMode(ASaveMode), CtrlSD(ACtrlSkinData) {
    SetPosition(poScreenCenter);
    SetKeyPreview(true);
    SetClientWidth(450);
    SetClientHeight(290);
    BSF = new TbsSkinForm(this);
}

TbsOpenDlgForm::TbsOpenDlgForm(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData,
                               bool AToolButtonsTransparent)
    : TbsOpenDlgForm(AOwner, ASaveMode, ACtrlSkinData, TFrameOnly{}) {
    BuildToolBar(AToolButtonsTransparent);
    BuildBottomPanel(false);
    BuildFileList();
    FinishBuilding();
}

std::string TbsOpenDlgForm::Text(const std::string& Key) const {
    return DialogText(CtrlSD, Key);
}

TbsSkinSpeedButton* TbsOpenDlgForm::AddToolButton(const char* Glyph, const std::string& Hint,
                                                  bool Flat) {
    return ToolButton(this, ToolPanel, 1000, Glyph, Hint, Flat);
}

void TbsOpenDlgForm::BuildToolBar(bool Flat) {
    ToolPanel = new TbsSkinToolBar(this);
    ToolPanel->SetParent(this);
    ToolPanel->SetAlign(alTop);
    ToolPanel->SetBorderStyle(TbsSkinBorderStyle::bvNone);
    ToolPanel->SetDefaultHeight(25);
    ToolPanel->SetHeight(25);
    ToolPanel->SetSkinDataName("toolpanel");

    Drivelabel = new TbsSkinStdLabel(this);
    Drivelabel->SetParent(ToolPanel);
    Drivelabel->SetAlign(alLeft);
    Drivelabel->SetAutoSize(true);
    Drivelabel->SetLayout(tlCenter);
    Drivelabel->SetCaption(DialogText(CtrlSD, "FLV_LOOKIN"));
    Spacer(this, ToolPanel, alLeft, 100);

    // The right-hand row, created left to right (the aligning keeps the
    // order of creation): back, up, new folder, a spacer, the view button.
    BackToolButton =
        ToolButton(this, ToolPanel, 1000, "BS_BACK", DialogText(CtrlSD, "MSG_BTN_BACK_HINT"), Flat);
    UpToolButton =
        ToolButton(this, ToolPanel, 1000, "BS_UP", DialogText(CtrlSD, "MSG_BTN_UP_HINT"), Flat);
    NewFolderToolButton = ToolButton(this, ToolPanel, 1000, "BS_NEWFOLDER",
                                     DialogText(CtrlSD, "MSG_BTN_NEWFOLDER_HINT"), Flat);
    Spacer(this, ToolPanel, alRight, 1000);
    StyleToolButton = new TbsSkinMenuSpeedButton(this);
    StyleToolButton->SetParent(ToolPanel);
    StyleToolButton->SetLeft(1000);
    StyleToolButton->SetAlign(alRight);
    StyleToolButton->SetSkinDataName("toolmenubutton");
    StyleToolButton->SetDefaultWidth(37);
    StyleToolButton->SetWidth(37);
    {
        std::unique_ptr<TBitmap> Picture = LoadShellGlyph("BS_LVSTYLE");
        StyleToolButton->SetGlyph(Picture.get());
    }
    StyleToolButton->SetHint(DialogText(CtrlSD, "MSG_BTN_VIEWMENU_HINT"));
    StyleToolButton->SetShowHint(true);
    StyleToolButton->SetFlat(Flat);
    BackToolButton->OnClick = [this](TObject* S) { BackToolButtonClick(S); };
    UpToolButton->OnClick = [this](TObject* S) { UpToolButtonClick(S); };
    NewFolderToolButton->OnClick = [this](TObject* S) { NewFolderToolButtonClick(S); };

    ShellBox = new TbsSkinShellComboBox(this);
    ShellBox->SetParent(ToolPanel);
    ShellBox->SetAlign(alClient);
    ShellBox->SetDropDownCount(10);

    StylePopupMenu = new TbsSkinPopupMenu(this);
    const std::pair<TMenuItem**, const char*> Items[] = {{&IconMenuItem, "MSG_LV_ICON"},
                                                         {&SmallIconMenuItem, "MSG_LV_SMALLICON"},
                                                         {&ListMenuItem, "MSG_LV_LIST"},
                                                         {&ReportMenuItem, "MSG_LV_DETAILS"}};
    const TViewStyle Styles[] = {vsIcon, vsSmallIcon, vsList, vsReport};
    for (int I = 0; I < 4; ++I) {
        auto* Item = new TMenuItem(this);
        Item->SetCaption(DialogText(CtrlSD, Items[I].second));
        Item->SetRadioItem(true);
        const TViewStyle Style = Styles[I];
        Item->OnClick = [this, Style](TObject*) { SetViewStyle(Style); };
        StylePopupMenu->Items()->Add(Item);
        *Items[I].first = Item;
    }
    StyleToolButton->SetSkinPopupMenu(StylePopupMenu);
}

void TbsOpenDlgForm::BuildBottomPanel(bool FixedPositions) {
    BottomPanel = new TbsSkinPanel(this);
    BottomPanel->SetParent(this);
    BottomPanel->SetAlign(alBottom);
    BottomPanel->SetBorderStyle(TbsSkinBorderStyle::bvNone);
    BottomPanel->SetHeight(80);
    const int W = BottomPanel->Width();
    OpenFileLabel = new TbsSkinStdLabel(this);
    OpenFileLabel->SetParent(BottomPanel);
    OpenFileLabel->SetAutoSize(true);
    OpenFileLabel->SetLeft(10);
    OpenFileLabel->SetTop(10);
    OpenFileLabel->SetCaption(DialogText(CtrlSD, "MSG_FILENAME"));
    FileTypeLabel = new TbsSkinStdLabel(this);
    FileTypeLabel->SetParent(BottomPanel);
    FileTypeLabel->SetAutoSize(true);
    FileTypeLabel->SetLeft(10);
    FileTypeLabel->SetTop(45);
    FileTypeLabel->SetCaption(DialogText(CtrlSD, "MSG_FILETYPE"));
    // The picture form keeps the bottom row where it is; the open form
    // widens the edit and the filter and keeps the buttons at the right.
    const TAnchors Widening =
        FixedPositions ? TAnchors{akLeft, akTop} : TAnchors{akLeft, akTop, akRight};
    const int FieldWidth = FixedPositions ? 280 : W - 70 - 90;
    const int ButtonLeft = FixedPositions ? 370 : W - 80;
    FileNameEdit = new TbsSkinEdit(this);
    FileNameEdit->SetParent(BottomPanel);
    FileNameEdit->SetDefaultHeight(21);
    FileNameEdit->SetBounds(70, 10, FieldWidth, 21);
    FileNameEdit->SetAnchors(Widening);
    FileNameEdit->OnKeyPress = [this](TObject* S, unsigned& Key) { EditKeyPress(S, Key); };
    FilterComboBox = new TbsSkinFilterComboBox(this);
    FilterComboBox->SetParent(BottomPanel);
    FilterComboBox->SetDefaultHeight(21);
    FilterComboBox->SetBounds(70, 45, FieldWidth, 21);
    FilterComboBox->SetAnchors(Widening);
    FilterComboBox->OnChange = [this](TObject* S) { FCBChange(S); };
    const TAnchors RightSide = FixedPositions ? TAnchors{akLeft, akTop} : TAnchors{akTop, akRight};
    OpenButton = new TbsSkinButton(this);
    OpenButton->SetParent(BottomPanel);
    OpenButton->SetDefaultHeight(25);
    OpenButton->SetBounds(ButtonLeft, 10, 70, 25);
    OpenButton->SetAnchors(RightSide);
    OpenButton->SetCanFocused(true);
    OpenButton->SetCaption(DialogText(CtrlSD, SaveMode ? "MSG_BTN_SAVE" : "MSG_BTN_OPEN"));
    OpenButton->OnClick = [this](TObject* S) { OpenButtonClick(S); };
    CancelButton = new TbsSkinButton(this);
    CancelButton->SetParent(BottomPanel);
    CancelButton->SetDefaultHeight(25);
    CancelButton->SetBounds(ButtonLeft, 45, 70, 25);
    CancelButton->SetAnchors(RightSide);
    CancelButton->SetCanFocused(true);
    CancelButton->SetCaption(DialogText(CtrlSD, "MSG_BTN_CANCEL"));
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetCancel(true);
}

void TbsOpenDlgForm::BuildFileList() {
    FileListViewPanel = new TbsSkinPanel(this);
    FileListViewPanel->SetParent(this);
    FileListViewPanel->SetAlign(alClient);
    FileListViewPanel->SetBorderStyle(TbsSkinBorderStyle::bvFrame);
    FLVHScrollBar = new TbsSkinScrollBar(this);
    FLVHScrollBar->SetParent(FileListViewPanel);
    FLVHScrollBar->SetAlign(alBottom);
    FLVHScrollBar->SetDefaultHeight(19);
    FLVHScrollBar->SetBothMarkerWidth(19);
    FLVHScrollBar->SetSkinDataName("hscrollbar");
    FLVVScrollBar = new TbsSkinScrollBar(this);
    FLVVScrollBar->SetKind(sbVertical);
    FLVVScrollBar->SetParent(FileListViewPanel);
    FLVVScrollBar->SetAlign(alRight);
    FLVVScrollBar->SetDefaultWidth(19);
    FLVVScrollBar->SetSkinDataName("vscrollbar");
    FileListView = new TbsSkinFileListView(this);
    FileListView->SetParent(FileListViewPanel);
    FileListView->SetAlign(alClient);
    FileListView->SetViewStyle(vsList);
    FileListView->SetHScrollBar(FLVHScrollBar);
    FileListView->SetVScrollBar(FLVVScrollBar);
    FileListView->SetShellComboBox(ShellBox);
    FileListView->OnChange = [this](TObject* S, TListItem* Item, TItemChange Change) {
        FLVChange(S, Item, Change);
    };
    FileListView->OnPathChanged = [this](TObject* S) { FLVPathChange(S); };
    FileListView->OnDblClick = [this](TObject* S) { FLVDBLClick(S); };
    FileListView->OnKeyPress = [this](TObject* S, unsigned& Key) { FLVKeyPress(S, Key); };
}

void TbsOpenDlgForm::FinishBuilding() {
    SetActiveControl(FileNameEdit);
    CheckFileExists = true;
    OnFolderChange = nullptr;
}

TbsOpenDlgForm::~TbsOpenDlgForm() {
    for (PItemIDList ID : FolderHistory)
        FreeItemIdList(ID);
    FolderHistory.clear();
}

std::string TbsOpenDlgForm::Folder() {
    return IncludeTrailingPathDelimiter(FileListView->Path());
}

std::string TbsOpenDlgForm::MaskExtension() {
    const std::string Mask = FilterComboBox->Mask();
    if (Mask.find(".*") != std::string::npos)
        return {};
    const std::string First = Mask.substr(0, Mask.find(';'));
    return NameExtension(First);
}

std::string TbsOpenDlgForm::DefaultExtension() {
    return DefaultExt.empty() ? MaskExtension() : "." + DefaultExt;
}

void TbsOpenDlgForm::InitHistory() {
    if (TbsShellFolder* Root = FileListView->RootFolder())
        FolderHistory.push_back(CopyItemIdList(Root->AbsoluteID()));
}

void TbsOpenDlgForm::SetViewStyle(TViewStyle Style) {
    FileListView->SetViewStyle(Style);
    IconMenuItem->SetChecked(Style == vsIcon);
    SmallIconMenuItem->SetChecked(Style == vsSmallIcon);
    ListMenuItem->SetChecked(Style == vsList);
    ReportMenuItem->SetChecked(Style == vsReport);
}

bool TbsOpenDlgForm::AskOverwrite(const std::string&) {
    TbsSkinMessage Message(nullptr);
    Message.SetSkinData(FrameSD);
    Message.SetCtrlSkinData(CtrlSD);
    return Message.MessageDlg(DialogText(CtrlSD, "MSG_OVERWRITE"), mtWarning,
                              TMsgDlgButtons{mbOK, mbCancel}, 0) == mrOk;
}

std::string TbsOpenDlgForm::TypedPath(const std::string& Typed) {
    return !Typed.empty() && Typed.front() == '/' ? Typed : Folder() + Typed;
}

void TbsOpenDlgForm::ReportMissingFolder(const std::string& Path) {
    TbsSkinMessage Message(nullptr);
    Message.SetSkinData(FrameSD);
    Message.SetCtrlSkinData(CtrlSD);
    Message.MessageDlg("The folder \"" + Path + "\" does not exist.", mtWarning,
                       TMsgDlgButtons{mbOK}, 0);
}

bool TbsOpenDlgForm::GoToTypedFolder(const std::string& Typed) {
    const std::string Path = TypedPath(Typed);
    if (IsFolderPath(Path)) {
        // "." and ".." are resolved here, so the list and the history hold
        // the folder's own name.
        std::string Target = ExpandFileName(Path);
        if (Target.size() > 1)
            Target = ExcludeTrailingPathDelimiter(Target);
        FileListView->SetPath(Target);
        FileNameEdit->SetText("");
        return true;
    }
    // Only a text with a folder part can name a missing folder; a bare name
    // lives in the shown folder.
    if (Typed.find('/') == std::string::npos)
        return false;
    const std::string Parent = ExtractFilePath(Path);
    if (IsFolderPath(Parent))
        return false;
    ReportMissingFolder(Parent.size() > 1 ? ExcludeTrailingPathDelimiter(Parent) : Parent);
    return true;
}

void TbsOpenDlgForm::OpenButtonClick(TObject*) {
    const std::string Typed = FileNameEdit->Text();
    const std::string Selection = FileListView->GetSelectedFile();
    // A selected file wins over the text in open mode; save mode goes by the
    // text alone.
    if ((SaveMode || Selection.empty()) && !Typed.empty() && GoToTypedFolder(Typed))
        return;
    auto Completed = [&] {
        std::string Name = TypedPath(Typed);
        if (NameExtension(ExtractFileName(Typed)).empty())
            Name += DefaultExtension();
        return Name;
    };
    if (!SaveMode && CheckFileExists && Selection.empty() && !Typed.empty() &&
        !RegularFileExists(Completed()))
        return;
    if (Typed.empty())
        return;
    if (SaveMode) {
        if (Typed.find('*') != std::string::npos)
            return;
        // The question names the file the dialog will return: the name is
        // completed exactly as Execute completes it (the filter's extension
        // first, then DefaultExt).
        std::string Returned = TypedPath(Typed);
        if (NameExtension(ExtractFileName(Typed)).empty()) {
            if (!MaskExtension().empty())
                Returned += MaskExtension();
            else if (!DefaultExt.empty())
                Returned += "." + DefaultExt;
        }
        if (OverwritePromt && RegularFileExists(Returned) && !AskOverwrite(Returned))
            return;
        FileName = TypedPath(Typed);
        SetModalResult(mrOk);
        return;
    }
    if (CheckFileExists) {
        FileName = !Selection.empty() ? Selection : Completed();
        if (RegularFileExists(FileName))
            SetModalResult(mrOk);
        else
            FileName.clear();
        return;
    }
    FileName = !Selection.empty() ? Selection : Completed();
    SetModalResult(mrOk);
}

void TbsOpenDlgForm::FLVDBLClick(TObject*) {
    const std::string Selection = FileListView->GetSelectedFile();
    if (Selection.empty())
        return;
    if (SaveMode && OverwritePromt && !AskOverwrite(Selection))
        return;
    FileName = Selection;
    SetModalResult(mrOk);
}

void TbsOpenDlgForm::FLVKeyPress(TObject* Sender, unsigned& Key) {
    if (Key == VK_RETURN && !FileListView->GetSelectedFile().empty())
        OpenButtonClick(Sender);
}

void TbsOpenDlgForm::EditKeyPress(TObject* Sender, unsigned& Key) {
    if (Key != VK_RETURN)
        return;
    const std::string Text = FileNameEdit->Text();
    if (Text.find('*') != std::string::npos) {
        FileListView->SetMask(Text);
        return;
    }
    // A path goes to its folder whatever the list has selected; any other
    // text, a path to a file included, is what the accept button takes.
    if (Text.find('/') != std::string::npos && GoToTypedFolder(Text))
        return;
    OpenButtonClick(Sender);
}

void TbsOpenDlgForm::FLVChange(TObject*, TListItem*, TItemChange) {
    const std::string Selection = FileListView->GetSelectedFile();
    if (!Selection.empty())
        FileNameEdit->SetText(ExtractFileName(Selection));
    if (OnFolderChange)
        OnFolderChange(this);
}

void TbsOpenDlgForm::FCBChange(TObject*) {
    FileListView->SetMask(FilterComboBox->Mask());
    if (!SaveMode)
        return;
    const std::string Ext = MaskExtension();
    const std::string Name = FileNameEdit->Text();
    if (Ext.empty() || Name.empty())
        return;
    const std::string Old = NameExtension(Name);
    FileNameEdit->SetText(Name.substr(0, Name.size() - Old.size()) + Ext);
}

void TbsOpenDlgForm::FLVPathChange(TObject*) {
    if (!StopAddToHistory)
        if (TbsShellFolder* Root = FileListView->RootFolder())
            FolderHistory.push_back(CopyItemIdList(Root->AbsoluteID()));
    if (FileListView->Items()->Count() > 0)
        FileListView->SetItemFocused(FileListView->Items()->Item(0));
    if (OnFolderChange)
        OnFolderChange(this);
}

void TbsOpenDlgForm::BackToolButtonClick(TObject*) {
    if (FolderHistory.size() < 2)
        return;
    const bool Old = StopAddToHistory;
    StopAddToHistory = true;
    struct TRestore {
        bool& Flag;
        bool Old;
        ~TRestore() { Flag = Old; }
    } Restore{StopAddToHistory, Old};
    const std::size_t Index = FolderHistory.size() - 2;
    FileListView->SyncToFolder(FolderHistory[Index]);
    FreeItemIdList(FolderHistory[Index]);
    FolderHistory.erase(FolderHistory.begin() + std::ptrdiff_t(Index));
}

void TbsOpenDlgForm::UpToolButtonClick(TObject*) {
    FileListView->Back();
}

void TbsOpenDlgForm::NewFolderToolButtonClick(TObject*) {
    const std::string Current = FileListView->Path();
    if (Current.find('/') == std::string::npos)
        return;
    ++NewFolderCount;
    std::string Name = DialogText(CtrlSD, "MSG_NEWFOLDER");
    if (NewFolderCount > 1)
        Name += "(" + std::to_string(NewFolderCount) + ")";
    const std::string Path = IncludeTrailingPathDelimiter(Current) + Name;
    if (IsFolderPath(Path))
        return;
    if (!CreateDir(Path))
        throw EInOutError(errno);
    FileListView->Refresh();
    Application->ProcessMessages();
    for (int I = 0; I < FileListView->FolderCount(); ++I)
        if (FileListView->Folders(I)->DisplayName() == Name) {
            FileListView->SetItemIndex(I);
            if (FileListView->HandleAllocated())
                SendMessage(FileListView->Handle(), LVM_EDITLABEL, WPARAM(I), 0);
            break;
        }
}

// ---------------------------------------------------------------- the component

TbsCustomOpenDialog::TbsCustomOpenDialog(TComponent* AOwner, std::string ATitle)
    : TComponent(AOwner), FTitle(std::move(ATitle)) {
    FDefaultFont.SetName("Arial");
    FDefaultFont.SetHeight(14);
    FDefaultFont.SetStyle(TFontStyles{});
}

TbsCustomOpenDialog::~TbsCustomOpenDialog() = default;

void TbsCustomOpenDialog::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSD)
        FSD = nullptr;
    if (AComponent == FCtrlFSD)
        FCtrlFSD = nullptr;
}

void TbsCustomOpenDialog::SetSkinData(TbsSkinData* Value) {
    FSD = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TbsCustomOpenDialog::SetCtrlSkinData(TbsSkinData* Value) {
    FCtrlFSD = Value;
    if (Value)
        Value->FreeNotification(this);
}

TbsOpenDlgForm* TbsCustomOpenDialog::CreateForm() {
    return new TbsOpenDlgForm(Application, SaveMode, FCtrlFSD, ToolButtonsTransparent);
}

void TbsCustomOpenDialog::KeepState(TbsOpenDlgForm* F) {
    FilterIndex = F->FilterComboBox->ItemIndex() + 1;
    DialogWidth = F->ClientWidth();
    DialogHeight = F->ClientHeight();
    LVViewStyle = F->FileListView->ViewStyle();
}

void TbsCustomOpenDialog::TakeResult(TbsOpenDlgForm* F) {
    FFileName = F->FileName;
    if (SaveMode && NameExtension(ExtractFileName(FFileName)).empty())
        FFileName += F->MaskExtension();
    F->FileListView->GetSelectedFiles(&FFiles);
}

bool TbsCustomOpenDialog::Execute() {
    if (OnShow)
        OnShow(this);
    bool Result = false;
    FForm = CreateForm();
    try {
        TbsOpenDlgForm* F = FForm;
        F->OverwritePromt = OverwritePromt;
        F->CheckFileExists = CheckFileExists;
        F->FrameSD = FSD;
        CopyIntoForm(F);

        F->SetCaption(FTitle);
        F->BSF->SetBorderIcons(TbsBorderIcons{});
        F->BSF->SetSkinData(FSD);
        F->BSF->SetMenusSkinData(FCtrlFSD);
        F->BSF->SetMinWidth(DialogMinWidth);
        F->BSF->SetMinHeight(DialogMinHeight);
        F->BSF->SetAlphaBlend(AlphaBlend);
        F->BSF->SetAlphaBlendValue(AlphaBlendValue);
        F->BSF->SetAlphaBlendAnimation(AlphaBlendAnimation);
        F->BSF->FMenusAlphaBlend = CtrlAlphaBlend;
        F->BSF->FMenusAlphaBlendValue = CtrlAlphaBlendValue;
        F->BSF->FMenusAlphaBlendAnimation = CtrlAlphaBlendAnimation;
        for (TbsSkinCustomComboBox* Box :
             {static_cast<TbsSkinCustomComboBox*>(F->ShellBox),
              static_cast<TbsSkinCustomComboBox*>(F->FilterComboBox)}) {
            Box->SetAlphaBlend(CtrlAlphaBlend);
            Box->SetAlphaBlendValue(CtrlAlphaBlendValue);
            Box->SetAlphaBlendAnimation(CtrlAlphaBlendAnimation);
        }

        F->OpenButton->SetDefaultFont(&FDefaultFont);
        F->CancelButton->SetDefaultFont(&FDefaultFont);
        F->ShellBox->SetDefaultFont(&FDefaultFont);
        F->FileListView->SetDefaultFont(&FDefaultFont);

        // The views build their contents in their windows.
        F->HandleNeeded();
        F->SetViewStyle(LVViewStyle);

        std::string Start;
        if (!ExtractFilePath(FFileName).empty())
            Start = ExtractFilePath(FFileName);
        else if (!InitialDir.empty() && IsFolderPath(InitialDir))
            Start = InitialDir;
        else
            Start = GetAppPath();
        F->FileListView->SetPath(Start);

        F->FileListView->SetHeaderSkinDataName(LVHeaderSkinDataName);
        F->FileListView->SetSkinData(FCtrlFSD);
        F->FileListView->SetMultiSelect(MultiSelection);
        if (ShowHiddenFiles) {
            TShellObjectTypes Types = F->FileListView->ObjectTypes();
            Types.Include(otHidden);
            F->FileListView->SetObjectTypes(Types);
        }

        // The combo builds its list in its window, which must exist before
        // the entry is chosen.
        F->FilterComboBox->HandleNeeded();
        F->FilterComboBox->SetFilter(Filter);
        F->FilterComboBox->SetItemIndex(FilterIndex - 1);
        F->FileListView->SetMask(F->FilterComboBox->Mask());
        FilterChosen(F);

        for (TbsSkinPanel* P :
             {static_cast<TbsSkinPanel*>(F->ToolPanel), F->FileListViewPanel, F->BottomPanel})
            P->SetSkinData(FCtrlFSD);
        F->Drivelabel->SetSkinData(FCtrlFSD);
        F->OpenFileLabel->SetSkinData(FCtrlFSD);
        F->FileTypeLabel->SetSkinData(FCtrlFSD);
        F->OpenButton->SetSkinData(FCtrlFSD);
        F->CancelButton->SetSkinData(FCtrlFSD);
        F->BackToolButton->SetSkinData(FCtrlFSD);
        F->UpToolButton->SetSkinData(FCtrlFSD);
        F->NewFolderToolButton->SetSkinData(FCtrlFSD);
        F->StyleToolButton->SetSkinData(FCtrlFSD);
        F->StylePopupMenu->SetSkinData(FCtrlFSD);
        F->FLVHScrollBar->SetSkinData(FCtrlFSD);
        F->FLVVScrollBar->SetSkinData(FCtrlFSD);
        F->FileNameEdit->SetSkinData(FCtrlFSD);
        F->FilterComboBox->SetSkinData(FCtrlFSD);
        F->ShellBox->SetSkinDataName("combobox");
        F->ShellBox->SetSkinData(FCtrlFSD);

        int W = DialogWidth > 0 ? DialogWidth : DefaultClientWidth();
        int H = DialogHeight > 0 ? DialogHeight : 290;
        if (FSD && !FSD->Empty) {
            W = std::max(W, F->BSF->GetMinWidth());
            H = std::max(H, F->BSF->GetMinHeight());
        }
        F->SetClientWidth(W);
        F->SetClientHeight(H);
        Sized(F);

        if (F->FileListView->Items()->Count() > 0)
            F->FileListView->SetItemFocused(F->FileListView->Items()->Item(0));
        FirstItemFocused(F);
        F->FileNameEdit->SetText(ExtractFileName(FFileName));
        F->InitHistory();

        Result = F->ShowModal() == mrOk;
        KeepState(F);
        if (Result) {
            TakeResult(F);
            if (OnChange)
                OnChange(this);
        }
    } catch (...) {
        if (OnClose)
            OnClose(this);
        delete FForm;
        FForm = nullptr;
        throw;
    }
    if (OnClose)
        OnClose(this);
    delete FForm;
    FForm = nullptr;
    return Result;
}

TbsSkinOpenDialog::TbsSkinOpenDialog(TComponent* AOwner)
    : TbsCustomOpenDialog(AOwner, "Open file") {}

TbsSkinOpenDialog::~TbsSkinOpenDialog() = default;

void TbsSkinOpenDialog::SetFileName(const std::string& Value) {
    FFileName = Value;
    if (Form())
        Form()->FileNameEdit->SetText(Value);
}

std::string TbsSkinOpenDialog::GetSelectedFile() {
    return Form() ? Form()->FileListView->GetSelectedFile() : std::string();
}

void TbsSkinOpenDialog::CopyIntoForm(TbsOpenDlgForm* F) {
    F->OnFolderChange = OnFolderChange;
    F->DefaultExt = DefaultExt;
}

void TbsSkinOpenDialog::TakeResult(TbsOpenDlgForm* F) {
    TbsCustomOpenDialog::TakeResult(F);
    if (SaveMode && NameExtension(ExtractFileName(FFileName)).empty() && !DefaultExt.empty())
        FFileName += "." + DefaultExt;
}
