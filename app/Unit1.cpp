#include "app/Unit1.h"

#include "app/CatalogueControlAdapters.h"
#include "app/ExternalActions.h"
#include "app/JobQueue.h"
#include "app/MainWindowLink.h"
#include "app/Pictures.h"
#include "app/PreviewPlayer.h"
#include "app/ProgramServices.h"
#include "app/StartupErrors.h"
#include "app/Unit2.h"
#include "app/Unit5.h"
#include "catalogue/ProfileCatalogue.h"
#include "media/FFmpegQueue.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Threads.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Edits.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/ListBoxes.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"
#include "platform/gdi/ImageList.h"
#include "player/FFPlay.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinCtrls.Bars.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.Labels.h"
#include "skin/controls/bsSkinCtrls.Panel.h"
#include "skin/controls/bsSkinCtrls.ScrollBar.h"
#include "skin/controls/bsSkinCtrls.Slider.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "skin/controls/bsSkinCtrls.Views.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/bsSkinMainMenuBar.h"
#include "skin/forms/bsSkinMenus.h"
#include "skin/forms/bsTrayIcon.h"
#include "skin/model/bsSkinData.Component.h"
#include "skin/model/bsSkinData.ResStr.h"
#include "skin/stored/StoredSkins.h"

TForm1* Form1 = nullptr;

namespace {

template <class T> T* Place(TComponent* Owner, TWinControl* Parent, const char* Name) {
    auto* Control = new T(Owner);
    Control->SetName(Name);
    Control->SetParent(Parent);
    return Control;
}

TbsSkinButton* NewSkinButton(TComponent* Owner, TWinControl* Parent, TbsSkinData* Skin,
                             const char* Name, const char* Caption, const char* Hint = "") {
    auto* Button = Place<TbsSkinButton>(Owner, Parent, Name);
    Button->SetSkinDataName("button");
    Button->SetSkinData(Skin);
    Button->SetCaption(Caption);
    if (*Hint) {
        Button->SetHint(Hint);
        Button->SetShowHint(true);
    }
    return Button;
}

TbsSkinButton* NewToolButton(TComponent* Owner, TWinControl* Parent, TbsSkinData* Skin,
                             const char* Name, const char* Caption) {
    TbsSkinButton* Button = NewSkinButton(Owner, Parent, Skin, Name, Caption);
    Button->SetSkinDataName("toolbutton");
    Button->SetLayout(blGlyphTop);
    return Button;
}

TbsSkinStdLabel* NewSkinLabel(TComponent* Owner, TWinControl* Parent, TbsSkinData* Skin,
                              const char* Name, const char* Caption) {
    auto* Label = Place<TbsSkinStdLabel>(Owner, Parent, Name);
    Label->SetSkinData(Skin);
    Label->SetAutoSize(false);
    Label->SetCaption(Caption);
    return Label;
}

TbsSkinPanel* NewSkinPanel(TComponent* Owner, TWinControl* Parent, TbsSkinData* Skin,
                           const char* Name, const char* Element, const char* Caption) {
    auto* Panel = Place<TbsSkinPanel>(Owner, Parent, Name);
    Panel->SetSkinDataName(Element);
    Panel->SetSkinData(Skin);
    Panel->SetCaption(Caption);
    return Panel;
}

TPanel* NewPlainPanel(TComponent* Owner, TWinControl* Parent, const char* Name) {
    auto* Panel = Place<TPanel>(Owner, Parent, Name);
    Panel->SetCaption("");
    return Panel;
}

TImageList* NewImageList(TComponent* Owner, const char* Name) {
    auto* List = new TImageList(Owner);
    List->SetName(Name);
    List->SetWidth(GlyphSize);
    List->SetHeight(GlyphSize);
    return List;
}

TMenuItem* NewEntry(TComponent* Owner, TMenuItem* Parent, const char* Name, const char* Caption,
                    bool Enabled = true, TNotifyEvent OnClick = {}) {
    TMenuItem* Item = NewItem(Owner, Caption, 0, false, Enabled, OnClick, Name);
    Parent->Add(Item);
    return Item;
}

void AddLine(TComponent* Owner, TMenuItem* Parent) {
    Parent->Add(NewLine(Owner));
}

} // namespace

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
    Form1 = this;
    SetMainWindowLink(this);
    SetName("Form1");
    SetCaption("Ostrela");
    SetBorderStyle(bsSingle);
    // The skin frame draws the caption and its buttons.
    SetBorderIcons({});
    SetPosition(poDesktopCenter);
    Font()->SetName("MS Sans Serif");

    CreateNonVisual();
    // The client size follows from the frame, which is known once the window
    // and its skinned frame exist.
    HandleNeeded();
    SetClientWidth(804);
    SetClientHeight(541);

    CreateMenus();
    CreateToolBar();
    CreateCommandPanel();
    CreateJobTable();
    CreateOutputPanel();
    CreatePresetPanel();
    CreatePreviewPanel();
    CreateHiddenPanels();
    ApplyLayout();
    SetTabOrders();
    BindServices();

    OnCreate = TNotifyEvent(this, &TForm1::FormCreate);
    OnCloseQuery = TCloseQueryEvent(this, &TForm1::FormCloseQuery);
}

TForm1::~TForm1() {
    // The handlers and adapters refer to controls the form frees next.
    FCatalogue.reset();
    if (FActions)
        FActions->SetOnFailure({});
    // The queue, the player and the logger are freed after the controls and
    // still report then (a released task logs the removal of its empty
    // output); nothing of the window may be reached any more.
    FFLogger->OnLog = {};
    if (FQueue) {
        FQueue->SetOnProgress({});
        FQueue->SetOnTerminate({});
    }
    if (FPlayer) {
        FPlayer->SetOnFileOpen({});
        FPlayer->SetOnPosition({});
        FPlayer->SetOnState({});
        FPlayer->SetOnHook({});
    }
    if (Form1 == this)
        Form1 = nullptr;
    if (MainWindowLink() == this)
        SetMainWindowLink(nullptr);
}

// ---------------------------------------------------------------- composition

void TForm1::CreateNonVisual() {
    bsResourceStrData1 = new TbsResourceStrData(this);
    bsResourceStrData1->SetName("bsResourceStrData1");
    bsCompressedSkinList1 = CreateStoredSkinList(this);
    bsCompressedSkinList1->SetName("bsCompressedSkinList1");
    bsSkinData1 = new TbsSkinData(this);
    bsSkinData1->SetName("bsSkinData1");
    bsSkinData1->SetSkinnableForm(true);
    bsSkinData1->SetShowLayeredBorders(true);
    bsSkinData1->SetResourceStrData(bsResourceStrData1);
    // The form's own skin until the creation step applies the stored choice.
    bsSkinData1->SetSkinIndex(1);
    bsSkinData1->SetSkinList(bsCompressedSkinList1);

    bsSkinForm1 = new TbsSkinForm(this);
    bsSkinForm1->SetName("bsSkinForm1");
    bsSkinForm1->SetBorderIcons({TbsBorderIcon::biMinimize});
    bsSkinForm1->SetSkinData(bsSkinData1);
    bsSkinForm1->SetMenusSkinData(bsSkinData1);
    auto* Tray = new TbsTrayIcon(this);
    Tray->SetName("bsTrayIcon1");
    Tray->SetEnabled(false);
    Tray->SetIconVisible(false);
    bsSkinForm1->SetTrayIcon(Tray);
    CreateDialogs();

    // Only one logger may exist; the task queue logs through it.
    FFLogger = new TFFLogger(this);
    FFLogger->SetName("FFLogger");
    FFLogger->SetLogLevel(llInfo);
    FFLogger->SetTriggerEventInMainThread(true);
    FFQueue = new TFFmpegQueue(this);
    FFQueue->SetName("FFQueue");
    RIVavova = new TRIVavova(this);
    RIVavova->SetName("RIVavova");

    ImageList1 = NewImageList(this, "ImageList1");
    FillCategoryImageList(*ImageList1);
    ImageList2 = NewImageList(this, "ImageList2");
    FillProfileImageList(*ImageList2);
    ImageList3 = NewImageList(this, "ImageList3");
    for (int Glyph = 0; Glyph < ToolButtonGlyphCount; ++Glyph) {
        std::unique_ptr<TBitmap> Picture = MakeToolGlyph(TToolGlyph(Glyph), true);
        ImageList3->AddMasked(Picture.get(), PictureTransparentColor);
    }
}

void TForm1::CreateMenus() {
    bsSkinMainMenu1 = new TbsSkinMainMenu(this);
    bsSkinMainMenu1->SetName("bsSkinMainMenu1");
    bsSkinMainMenu1->SetSkinData(bsSkinData1);
    TMenuItem* Root = bsSkinMainMenu1->Items();

    N1 = NewEntry(this, Root, "N1", "文件");
    N2 = NewEntry(this, N1, "N2", "添加一个文件");
    N3 = NewEntry(this, N1, "N3", "添加多个文件");
    N21 = NewEntry(this, N1, "N21", "添加整个目录");
    AddLine(this, N1);
    N4 = NewEntry(this, N1, "N4", "退出", true, TNotifyEvent(this, &TForm1::N4Click));

    N6 = NewEntry(this, Root, "N6", "编辑");
    N7 = NewEntry(this, N6, "N7", "上移文件");
    N8 = NewEntry(this, N6, "N8", "下移文件");
    AddLine(this, N6);
    N9 = NewEntry(this, N6, "N9", "删除选择", false);
    N10 = NewEntry(this, N6, "N10", "清空文件", false);
    AddLine(this, N6);
    N26 = NewEntry(this, N6, "N26", "重新命名", false);

    N11 = NewEntry(this, Root, "N11", "动作");
    N12 = NewEntry(this, N11, "N12", "开始转换", false);
    N13 = NewEntry(this, N11, "N13", "停止转换", false);
    AddLine(this, N11);
    N16 = NewEntry(this, N11, "N16", "暂停转换", false);
    N17 = NewEntry(this, N11, "N17", "继续继续", false);

    N22 = NewEntry(this, Root, "N22", "功能");
    N24 = NewEntry(this, N22, "N24", "转换设置", true, TNotifyEvent(this, &TForm1::N24Click));
    N23 = NewEntry(this, N22, "N23", "软件皮肤", true, TNotifyEvent(this, &TForm1::N23Click));

    N14 = NewEntry(this, Root, "N14", "帮助");
    N15 = NewEntry(this, N14, "N15", "帮助系统", true, TNotifyEvent(this, &TForm1::N15Click));
    N15->SetShortCut(ShortCut(VK_F1, {}));
    AddLine(this, N14);
    N19 = NewEntry(this, N14, "N19", "官方网站", true, TNotifyEvent(this, &TForm1::N19Click));
    N5 = NewEntry(this, N14, "N5", "关于软件", true, TNotifyEvent(this, &TForm1::N5Click));

    bsSkinPopupMenu1 = new TbsSkinPopupMenu(this);
    bsSkinPopupMenu1->SetName("bsSkinPopupMenu1");
    bsSkinPopupMenu1->SetSkinData(bsSkinData1);
    N2221 = NewEntry(this, bsSkinPopupMenu1->Items(), "N2221", "添加一个文件");
    N2222 = NewEntry(this, bsSkinPopupMenu1->Items(), "N2222", "添加多个文件");
    N3331 = NewEntry(this, bsSkinPopupMenu1->Items(), "N3331", "添加整个目录");

    bsSkinPopupMenu2 = new TbsSkinPopupMenu(this);
    bsSkinPopupMenu2->SetName("bsSkinPopupMenu2");
    bsSkinPopupMenu2->SetSkinData(bsSkinData1);
    TMenuItem* Snap = bsSkinPopupMenu2->Items();
    MenuItem1 = NewEntry(this, Snap, "MenuItem1", "打开快照目录");
    MenuItem2 = NewEntry(this, Snap, "MenuItem2", "设置快照目录");
    MenuItem3 = NewLine(this);
    MenuItem3->SetName("MenuItem3");
    Snap->Add(MenuItem3);
    N27 = NewEntry(this, Snap, "N27", "快照保存类型");
    BMP1 = NewEntry(this, N27, "BMP1", "BMP文件");
    JPG1 = NewEntry(this, N27, "JPG1", "JPG文件");
    GIF1 = NewEntry(this, N27, "GIF1", "GIF文件");
    PNG1 = NewEntry(this, N27, "PNG1", "PNG文件");
    for (TMenuItem* Type : {BMP1, JPG1, GIF1, PNG1}) {
        Type->SetRadioItem(true);
        Type->SetGroupIndex(1);
    }
    BMP1->SetChecked(true);

    CreateMainMenuBar();
}

void TForm1::CreateToolBar() {
    bsSkinToolBar2 = Place<TbsSkinToolBar>(this, this, "bsSkinToolBar2");
    bsSkinToolBar2->SetSkinDataName("toolpanel");
    bsSkinToolBar2->SetSkinData(bsSkinData1);
    TbsSkinData* Skin = bsSkinData1;

    bsSkinMenuSpeedButton1 =
        Place<TbsSkinMenuSpeedButton>(this, bsSkinToolBar2, "bsSkinMenuSpeedButton1");
    bsSkinMenuSpeedButton1->SetSkinData(Skin);
    bsSkinMenuSpeedButton1->SetCaption("添加");
    bsSkinMenuSpeedButton1->SetLayout(blGlyphTop);
    bsSkinMenuSpeedButton1->SetSkinPopupMenu(bsSkinPopupMenu1);

    bsSkinButton7 = NewToolButton(this, bsSkinToolBar2, Skin, "bsSkinButton7", "删除");
    bsSkinButton8 = NewToolButton(this, bsSkinToolBar2, Skin, "bsSkinButton8", "清空");
    bsSkinButton2 = NewToolButton(this, bsSkinToolBar2, Skin, "bsSkinButton2", "开始");
    bsSkinButton10 = NewToolButton(this, bsSkinToolBar2, Skin, "bsSkinButton10", "停止");
    // Resume lies under pause in the same place.
    bsSkinButton12 = NewToolButton(this, bsSkinToolBar2, Skin, "bsSkinButton12", "继续");
    bsSkinButton11 = NewToolButton(this, bsSkinToolBar2, Skin, "bsSkinButton11", "暂停");
    bsSkinButton19 = NewToolButton(this, bsSkinToolBar2, Skin, "bsSkinButton19", "选项");
    bsSkinButton19->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton19Click);
    bsSkinButton9 = NewToolButton(this, bsSkinToolBar2, Skin, "bsSkinButton9", "皮肤");
    bsSkinButton9->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton9Click);
    bsSkinButton19->SetGlyph(MakeToolGlyph(TToolGlyph::Options, true).get());
    bsSkinButton9->SetGlyph(MakeToolGlyph(TToolGlyph::Skin, true).get());
}

void TForm1::CreateCommandPanel() {
    Panel1 = NewPlainPanel(this, this, "Panel1");
    // The glyph pairs of the switching tool buttons, disabled first.
    TImage** const Images[] = {&Image2,  &Image3,  &Image4,  &Image5,  &Image6,  &Image7,
                               &Image8,  &Image9,  &Image10, &Image11, &Image12, &Image13,
                               &Image14, &Image15, &Image16, &Image17};
    for (int I = 0; I < 16; ++I) {
        const std::string Name = "Image" + std::to_string(I + 2);
        *Images[I] = Place<TImage>(this, Panel1, Name.c_str());
    }
    struct TPair {
        TImage* Enabled;
        TImage* Disabled;
        TToolGlyph Glyph;
    };
    const TPair Pairs[] = {
        {Image3, Image2, TToolGlyph::Add},      {Image5, Image4, TToolGlyph::Start},
        {Image7, Image6, TToolGlyph::Pause},    {Image9, Image8, TToolGlyph::Resume},
        {Image11, Image10, TToolGlyph::Stop},   {Image13, Image12, TToolGlyph::Clear},
        {Image15, Image14, TToolGlyph::Delete}, {Image16, Image17, TToolGlyph::Rename},
    };
    for (const TPair& Pair : Pairs) {
        Pair.Enabled->Picture()->SetGraphic(MakeToolGlyph(Pair.Glyph, true).get());
        Pair.Disabled->Picture()->SetGraphic(MakeToolGlyph(Pair.Glyph, false).get());
    }

    ProgressBar1 = Place<TProgressBar>(this, Panel1, "ProgressBar1");
    ListBox1 = Place<TListBox>(this, Panel1, "ListBox1");
    chkThreadMode = Place<TCheckBox>(this, Panel1, "chkThreadMode");
    chkThreadMode->SetCaption("Thread Mode");
    chkThreadMode->SetChecked(true);
    chkPreview = Place<TCheckBox>(this, Panel1, "chkPreview");
    chkPreview->SetCaption("Preview");
}

void TForm1::CreateJobTable() {
    TbsSkinData* Skin = bsSkinData1;
    bsSkinPanel1 = NewSkinPanel(this, this, Skin, "bsSkinPanel1", "panel", "");
    bsSkinScrollBar1 = Place<TbsSkinScrollBar>(this, bsSkinPanel1, "bsSkinScrollBar1");
    bsSkinScrollBar1->SetSkinData(Skin);
    bsSkinScrollBar1->SetKind(sbHorizontal);
    bsSkinScrollBar2 = Place<TbsSkinScrollBar>(this, bsSkinPanel1, "bsSkinScrollBar2");
    // A vertical bar draws from the skin's vertical element and keeps a
    // width, not a height, of its own.
    bsSkinScrollBar2->SetKind(sbVertical);
    bsSkinScrollBar2->SetDefaultHeight(0);
    bsSkinScrollBar2->SetDefaultWidth(19);
    bsSkinScrollBar2->SetSkinDataName("vscrollbar");
    bsSkinScrollBar2->SetSkinData(Skin);
    bsSkinScrollBar2->SetVisible(false);

    lvFiles = Place<TbsSkinListView>(this, bsSkinPanel1, "lvFiles");
    lvFiles->SetSkinData(Skin);
    lvFiles->SetViewStyle(vsReport);
    lvFiles->SetRowSelect(true);
    lvFiles->SetGridLines(true);
    lvFiles->SetReadOnly(true);
    lvFiles->SetMultiSelect(false);
    lvFiles->SetHScrollBar(bsSkinScrollBar1);
    lvFiles->SetVScrollBar(bsSkinScrollBar2);
    CreateJobColumns();

    bsSkinButton4 = NewSkinButton(this, bsSkinPanel1, Skin, "bsSkinButton4", "下移", "下移");
    bsSkinButton3 = NewSkinButton(this, bsSkinPanel1, Skin, "bsSkinButton3", "上移", "上移");
    bsSkinButton21 = NewSkinButton(this, bsSkinPanel1, Skin, "bsSkinButton21", "重命名", "重命名");

    // The cover lies over the empty table.
    bsSkinPanel5 = NewSkinPanel(this, this, Skin, "bsSkinPanel5", "panel", "");
    bsSkinPanel5->SetBorderStyle(TbsSkinBorderStyle::bvNone);
    Image1 = Place<TImage>(this, bsSkinPanel5, "Image1");
    Image1->Picture()->SetGraphic(MakeCoverPicture().get());
}

void TForm1::CreateOutputPanel() {
    TbsSkinData* Skin = bsSkinData1;
    bsSkinPanel2 = NewSkinPanel(this, this, Skin, "bsSkinPanel2", "panel", "");
    bsSkinStdLabel1 = NewSkinLabel(this, bsSkinPanel2, Skin, "bsSkinStdLabel1", "输出格式：");

    bsSkinOfficeComboBox2 =
        Place<TbsSkinOfficeComboBox>(this, bsSkinPanel2, "bsSkinOfficeComboBox2");
    bsSkinOfficeComboBox2->SetSkinData(Skin);
    bsSkinOfficeComboBox2->SetImages(ImageList1);
    bsSkinOfficeComboBox2->SetListBoxShowItemTitles(false);
    bsSkinOfficeComboBox2->SetListBoxItemHeight(40);
    bsSkinOfficeComboBox2->SetDropDownCount(8);
    for (const TCategoryInfo& Category : Categories()) {
        TbsSkinOfficeItem* Item = bsSkinOfficeComboBox2->Items()->Add();
        Item->SetCaption(std::string(Category.Caption));
        Item->SetImageIndex(Category.ImageIndex);
    }
    bsSkinOfficeComboBox2->SetItemIndex(0);

    bsSkinOfficeComboBox1 =
        Place<TbsSkinOfficeComboBox>(this, bsSkinPanel2, "bsSkinOfficeComboBox1");
    bsSkinOfficeComboBox1->SetSkinData(Skin);
    bsSkinOfficeComboBox1->SetImages(ImageList2);
    bsSkinOfficeComboBox1->SetListBoxShowItemTitles(true);
    bsSkinOfficeComboBox1->SetListBoxShowLines(true);
    bsSkinOfficeComboBox1->SetListBoxItemHeight(48);
    bsSkinOfficeComboBox1->SetListBoxHeaderHeight(20);
    bsSkinOfficeComboBox1->SetDropDownCount(6);

    bsSkinStdLabel2 = NewSkinLabel(this, bsSkinPanel2, Skin, "bsSkinStdLabel2", "输出目录：");
    Video_OutPut_Folder_Edit = Place<TbsSkinEdit>(this, bsSkinPanel2, "Video_OutPut_Folder_Edit");
    Video_OutPut_Folder_Edit->SetSkinData(Skin);
    Video_OutPut_Folder_Edit->SetReadOnly(true);
    bsSkinButton5 = NewSkinButton(this, bsSkinPanel2, Skin, "bsSkinButton5", "浏览");
    bsSkinButton5->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton5Click);
    bsSkinButton6 = NewSkinButton(this, bsSkinPanel2, Skin, "bsSkinButton6", "打开");
    bsSkinButton6->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton6Click);

    bsSkinStdLabel3 = NewSkinLabel(this, bsSkinPanel2, Skin, "bsSkinStdLabel3", "软件网站：");
    bsSkinLinkLabel1 = Place<TbsSkinLinkLabel>(this, bsSkinPanel2, "bsSkinLinkLabel1");
    bsSkinLinkLabel1->SetSkinData(Skin);
    bsSkinLinkLabel1->SetAutoSize(false);
    bsSkinLinkLabel1->SetCaption(OstrelaWebSite);
    bsSkinLinkLabel1->SetURL(OstrelaWebSite);
    bsSkinButton1 = NewSkinButton(this, bsSkinPanel2, Skin, "bsSkinButton1", "设置");
    bsSkinButton1->SetVisible(false);
    bsSkinButton1->OnClick = TNotifyEvent(this, &TForm1::bsSkinButton1Click);
}

void TForm1::CreatePresetPanel() {
    TbsSkinData* Skin = bsSkinData1;
    bsSkinPanel4 = NewSkinPanel(this, this, Skin, "bsSkinPanel4", "groupbox", "预置选项");
    auto List = [&](TbsSkinStdLabel*& Label, const char* LabelName, const char* Caption,
                    const char* Name) {
        Label = NewSkinLabel(this, bsSkinPanel4, Skin, LabelName, Caption);
        auto* Combo = Place<TbsSkinComboBox>(this, bsSkinPanel4, Name);
        Combo->SetSkinData(Skin);
        Combo->SetStyle(bscbFixedStyle);
        Combo->SetDropDownCount(8);
        return Combo;
    };
    bsSkinComboBox1 = List(bsSkinStdLabel4, "bsSkinStdLabel4", "视频分辨率：", "bsSkinComboBox1");
    bsSkinComboBox2 = List(bsSkinStdLabel5, "bsSkinStdLabel5", "视频比特率：", "bsSkinComboBox2");
    bsSkinComboBox9 = List(bsSkinStdLabel6, "bsSkinStdLabel6", "视频帧率：", "bsSkinComboBox9");
    bsSkinComboBox3 = List(bsSkinStdLabel7, "bsSkinStdLabel7", "音频比特率：", "bsSkinComboBox3");
    bsSkinComboBox10 = List(bsSkinStdLabel8, "bsSkinStdLabel8", "音频采样率：", "bsSkinComboBox10");
    bsSkinComboBox4 = List(bsSkinStdLabel9, "bsSkinStdLabel9", "视频缩放：", "bsSkinComboBox4");

    FCategories = std::make_unique<TOfficeComboListAdapter>(*bsSkinOfficeComboBox2);
    FProfiles = std::make_unique<TOfficeComboListAdapter>(*bsSkinOfficeComboBox1);
    for (TbsSkinComboBox* Combo : {bsSkinComboBox1, bsSkinComboBox2, bsSkinComboBox3,
                                   bsSkinComboBox4, bsSkinComboBox9, bsSkinComboBox10})
        FLists.push_back(std::make_unique<TTextComboListAdapter>(*Combo));
    FRows = std::make_unique<TJobRowTableAdapter>(*lvFiles);
    FCatalogue = std::make_unique<TCatalogueHandlers>(
        *FCategories, *FProfiles, *FLists[0], *FLists[1], *FLists[2], *FLists[3], *FLists[4],
        *FLists[5], *FRows, [this] { return Video_OutPut_Folder_Edit->Text(); },
        [] { return Form5 && Form5->OverwriteOutput(); });
    FCatalogue->ConnectHandlers();
}

void TForm1::CreatePreviewPanel() {
    TbsSkinData* Skin = bsSkinData1;
    bsSkinPanel3 = NewSkinPanel(this, this, Skin, "bsSkinPanel3", "groupbox", "视频预览");
    bsSkinSlider1 = Place<TbsSkinSlider>(this, bsSkinPanel3, "bsSkinSlider1");
    bsSkinSlider1->SetSkinDataName("slider");
    bsSkinSlider1->SetSkinData(Skin);
    // A seek bar: a press on the track seeks there, not one step toward it.
    bsSkinSlider1->SetJumpToPress(true);
    bsSkinButton13 = NewSkinButton(this, bsSkinPanel3, Skin, "bsSkinButton13", "播放", "播放");
    bsSkinButton14 = NewSkinButton(this, bsSkinPanel3, Skin, "bsSkinButton14", "暂停", "暂停");
    bsSkinButton15 = NewSkinButton(this, bsSkinPanel3, Skin, "bsSkinButton15", "停止", "停止");
    bsSkinButton16 = NewSkinButton(this, bsSkinPanel3, Skin, "bsSkinButton16", "静音", "静音");
    bsSkinButton20 = NewSkinButton(this, bsSkinPanel3, Skin, "bsSkinButton20", "静音", "静音");
    bsSkinButton20->SetVisible(false);
    bsSkinButton22 = NewSkinButton(this, bsSkinPanel3, Skin, "bsSkinButton22", "快照", "快照");
    bsSkinButton23 = NewSkinButton(this, bsSkinPanel3, Skin, "bsSkinButton23", "设置", "设置");
    bsSkinButton17 = NewSkinButton(this, bsSkinPanel3, Skin, "bsSkinButton17", "全屏", "全屏");
    bsSkinButton17->SetVisible(false);

    // The video surface is a child of the window, over the group box.
    Panel6 = NewPlainPanel(this, this, "Panel6");
    Panel6->SetBevelOuter(bvNone);
    Panel6->SetColor(clBtnText);
}

void TForm1::CreateHiddenPanels() {
    Panel3 = NewPlainPanel(this, this, "Panel3");
    Button19 = Place<TButton>(this, this, "Button19");
    Button19->SetCaption("Button19");
    Button19->SetVisible(false);
    Button19->OnClick = TNotifyEvent(this, &TForm1::Button19Click);
    Button27 = Place<TButton>(this, this, "Button27");
    Button27->SetCaption("Button27");
    edt = Place<TEdit>(this, this, "edt");
    edt->SetBorderStyle(bsNone);
    edt->SetAutoSize(false);
    edt->SetVisible(false);
    Panel4 = NewPlainPanel(this, this, "Panel4");
    Panel5 = NewPlainPanel(this, this, "Panel5");

    auto Combo = [&](const char* Name, std::initializer_list<const char*> Items) {
        auto* Box = Place<TComboBox>(this, Panel5, Name);
        Box->SetStyle(csDropDownList);
        for (const char* Item : Items)
            Box->Items()->Add(Item);
        if (Items.size() > 0)
            Box->SetItemIndex(0);
        return Box;
    };
    cboVideoDriver = Combo("cboVideoDriver", {"Default", "DDraw", "GDI"});
    cboAudioDriver = Combo("cboAudioDriver", {"Default", "DSound", "waveOut"});
    cboScreens = Combo("cboScreens", {});
    chkOpenPaused = Place<TCheckBox>(this, Panel5, "chkOpenPaused");
    chkOpenPaused->SetCaption("Open Paused");
    chkOpenPaused->SetChecked(true);
    chkStayOnTop = Place<TCheckBox>(this, Panel5, "chkStayOnTop");
    chkStayOnTop->SetCaption("Stay On Top");
    TrackBar2 = Place<TTrackBar>(this, Panel5, "TrackBar2");
    TrackBar2->SetRange(0, 128);
    TrackBar2->SetPosition(128);
    TrackBar2->SetPageSize(10);
    TrackBar2->SetFrequency(20);
    TrackBar2->SetTickMarks(tmBoth);
    cboVideo = Combo("cboVideo", {});
    cboAudio = Combo("cboAudio", {});
    cboSubtitle = Combo("cboSubtitle", {});
    for (TComboBox* Box : {cboVideo, cboAudio, cboSubtitle})
        Box->SetEnabled(false);
    Label2 = Place<TLabel>(this, Panel5, "Label2");
    Label2->SetAutoSize(false);
    Label2->SetCaption("N/A");
    Label3 = Place<TLabel>(this, Panel5, "Label3");
    Label3->SetAutoSize(false);
    Label3->SetCaption("N/A");
    mmoLog = Place<TMemo>(this, Panel5, "mmoLog");
    mmoLog->SetScrollBars(ssBoth);
    btnCapture = Place<TButton>(this, Panel5, "btnCapture");
    btnCapture->SetCaption("Capture");

    // Delete, clear, rename, start, stop, pause and resume start disabled.
    for (TControl* Button : std::initializer_list<TControl*>{
             bsSkinButton7, bsSkinButton8, bsSkinButton21, bsSkinButton2, bsSkinButton10,
             bsSkinButton11, bsSkinButton12})
        SetToolButtonEnabled(Button, false, false);
    SetToolButtonEnabled(bsSkinMenuSpeedButton1, true, false);
}

void TForm1::SetTabOrders() {
    // The screen list of the preview panel walks these tab orders.
    TWinControl* const Order[] = {bsSkinMainMenuBar1,
                                  bsSkinToolBar2,
                                  Panel1,
                                  bsSkinPanel1,
                                  bsSkinPanel2,
                                  bsSkinPanel3,
                                  Panel3,
                                  bsSkinPanel5,
                                  bsSkinPanel4,
                                  Button19,
                                  Button27,
                                  edt,
                                  Panel4,
                                  Panel5,
                                  Panel6};
    for (int Index = 0; Index < static_cast<int>(std::size(Order)); ++Index)
        Order[Index]->SetTabOrder(Index);
}

void TForm1::ArrangeOverlaps() {
    // What lies over another in the same place: the cover over the table,
    // the video surface over its group box, pause over resume. Done once
    // the windows exist, whose order is what the screen shows.
    HandleNeeded();
    for (TWinControl* Control :
         std::initializer_list<TWinControl*>{bsSkinPanel5, Panel6, bsSkinButton11}) {
        Control->HandleNeeded();
        Control->BringToFront();
    }
}

void TForm1::BindServices() {
    const TProgramServices& Services = ProgramServices();
    if (Services.Queue) {
        FQueue = Services.Queue;
    } else {
        FOwnQueue = std::make_unique<TFFmpegJobQueue>(*FFQueue);
        FQueue = FOwnQueue.get();
    }
    if (Services.Player) {
        FPlayer = Services.Player;
    } else {
        FOwnPlayer = std::make_unique<TRIVavovaPlayer>(*RIVavova);
        FPlayer = FOwnPlayer.get();
    }
    if (Services.Actions) {
        FActions = Services.Actions;
    } else {
        FOwnActions = std::make_unique<TExternalActions>();
        FOwnActions->SetOwner(Handle());
        FActions = FOwnActions.get();
    }
    FQueue->SetOnTerminate(TTerminateEvent(this, &TForm1::FFQueueTerminate));
    FFLogger->OnLog = TLogEvent(this, &TForm1::FFLoggerLog);
    BindJobFlowCommands();
}

// ---------------------------------------------------------------- glyphs

TImage* TForm1::ToolGlyphImage(TControl* Button, bool Enabled) const {
    struct TRow {
        TControl* Button;
        TImage* Enabled;
        TImage* Disabled;
    };
    const TRow Rows[] = {
        {bsSkinMenuSpeedButton1, Image3, Image2}, {bsSkinButton2, Image5, Image4},
        {bsSkinButton11, Image7, Image6},         {bsSkinButton12, Image9, Image8},
        {bsSkinButton10, Image11, Image10},       {bsSkinButton8, Image13, Image12},
        {bsSkinButton7, Image15, Image14},        {bsSkinButton21, Image16, Image17},
    };
    for (const TRow& Row : Rows)
        if (Row.Button == Button)
            return Enabled ? Row.Enabled : Row.Disabled;
    return nullptr;
}

void TForm1::SetToolButtonEnabled(TControl* Button, bool Enabled, bool Refresh) {
    if (TImage* Picture = ToolGlyphImage(Button, Enabled)) {
        TBitmap* Glyph = Picture->Picture()->Bitmap();
        if (auto* Push = dynamic_cast<TbsSkinButton*>(Button)) {
            Push->SetGlyph(Glyph);
            if (Refresh)
                Push->RefreshButton();
        } else if (auto* Speed = dynamic_cast<TbsSkinSpeedButton*>(Button)) {
            Speed->SetGlyph(Glyph);
            if (Refresh)
                Speed->RefreshButton();
        }
    }
    Button->SetEnabled(Enabled);
}

// ---------------------------------------------------------------- creation step

void TForm1::RunCreationStep(void (TForm1::*Step)(TObject*)) {
    // A failing step must not leave the window half made: its error is shown
    // and the next steps still run.
    try {
        (this->*Step)(this);
    } catch (const std::exception& E) {
        ShowStartupError(E);
    }
}

void TForm1::FormCreate(TObject*) {
    RunCreationStep(&TForm1::Button15Click);
    RunCreationStep(&TForm1::Button17Click);
    RunCreationStep(&TForm1::Button21Click);
    RunCreationStep(&TForm1::Button3Click);
    RunCreationStep(&TForm1::FillProfileList);
    RunCreationStep(&TForm1::FillScreenList);
    RunCreationStep(&TForm1::SetUpSnapshotDialogStep);
    RunCreationStep(&TForm1::InitSliderState);
    ArrangeOverlaps();
}

void TForm1::FillProfileList(TObject* Sender) {
    FCatalogue->Button2Click(Sender);
}

std::vector<std::string> WindowedChildrenInTabOrder(TWinControl& Parent) {
    std::vector<std::string> Names;
    for (int Order = 0;; ++Order) {
        TWinControl* Found = nullptr;
        for (int I = 0; I < Parent.ControlCount() && !Found; ++I) {
            auto* Child = dynamic_cast<TWinControl*>(Parent.Controls(I));
            if (Child && Child->TabOrder() == Order)
                Found = Child;
        }
        // A gap in the tab orders ends the walk.
        if (!Found)
            return Names;
        Names.push_back(Found->Name());
    }
}

void TForm1::FillScreenList(TObject*) {
    TStrings* Items = cboScreens->Items();
    Items->Clear();
    Items->Add("Panel6");
    for (const std::string& Name : WindowedChildrenInTabOrder(*this))
        Items->Add(Name);
    cboScreens->SetItemIndex(0);
}

void TForm1::SetUpSnapshotDialogStep(TObject*) {
    SetUpSnapshotDialog();
}

void TForm1::InitSliderState(TObject*) {
    bsSkinSlider1_down_UP = "UP";
}

// ---------------------------------------------------------------- close step

void TForm1::DeliverQueuedReports() {
    // Reports the workers queued before they ended reach their handler now.
    while (CheckSynchronize()) {
    }
}

void TForm1::FormCloseQuery(TObject*, bool& CanClose) {
    if (FStopping) {
        // Stopping again from inside a waiting stop would free the window
        // under it; the close follows once that stop has returned. A close
        // asked for during the close's own stop is that same close.
        CanClose = false;
        if (!FClosing)
            FCloseWanted = true;
        return;
    }
    Player().SetOnPosition({});
    Player().SetOnState({});
    Player().SetOnHook({});
    Queue().SetOnCustomHook({});
    Queue().SetOnProgress({});
    FClosing = true;
    WaitingStop();
    DeliverQueuedReports();
    Queue().SetOnTerminate({});
    FFLogger->OnLog = {};
    CanClose = true;
}

void TForm1::WaitingStop() {
    FStopping = true;
    struct TStopEnd {
        TForm1& Form;
        ~TStopEnd() {
            Form.FStopping = false;
            if (Form.FCloseWanted && !Form.FClosing) {
                Form.FCloseWanted = false;
                PostMessage(Form.Handle(), WM_CLOSE, 0, 0);
            }
        }
    } End{*this};
    Queue().Stop(true);
}

void TForm1::FFQueueTerminate(TObject*, const TTerminateInfo& Info) {
    // The job flow looks after the rows, the outputs and the after-done
    // action; while the window closes only the outputs are looked after.
    JobTerminated(Info);
}

void TForm1::N4Click(TObject*) {
    Close();
}

// ---------------------------------------------------------------- window position

void TForm1::Dispatch(TMessage& Message) {
    TForm::Dispatch(Message);
    if ((Message.Msg == WM_WINDOWPOSCHANGING || Message.Msg == WM_WINDOWPOSCHANGED) && FPlayer)
        FPlayer->UpdateScreenPosition();
}
