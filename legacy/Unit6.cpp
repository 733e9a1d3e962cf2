#include "legacy/Unit6.h"

#include "app/Pictures.h"
#include "legacy/LegacyHost.h"
#include "legacy/LegacySteps.h"
#include "legacy/LegacyTables.h"
#include "media/FFmpegQueue.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/gdi/ImageList.h"
#include "platform/gdi/PngImage.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.Labels.h"
#include "skin/controls/bsSkinCtrls.Panel.h"
#include "skin/controls/bsSkinTabs.h"
#include "skin/forms/SkinForm.h"

#include <memory>

TForm6* Form6 = nullptr;

namespace {

constexpr int IconSize = 32;
constexpr int PictureSize = 128;
constexpr int ListWidth = 300;

std::unique_ptr<TBitmap> NewBitmap(int Width, int Height, TColor Background) {
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->SetPixelFormat(pf24bit);
    Bitmap->SetSize(Width, Height);
    Bitmap->Canvas()->Brush()->SetColor(Background);
    Bitmap->Canvas()->FillRect({0, 0, Width, Height});
    return Bitmap;
}

// The category icons share their numbering with the main window's.
void FillCategoryIcons(TImageList& List) {
    for (int Index = 0; Index < LegacyCategoryCount; ++Index) {
        auto Icon = NewBitmap(IconSize, IconSize, PictureTransparentColor);
        DrawCategoryIcon(*Icon->Canvas(), {0, 0, IconSize, IconSize}, Index);
        List.AddMasked(Icon.get(), PictureTransparentColor);
    }
}

// The step panel's picture: the first category's film on a light face.
void DrawStepPicture(TPicture& Picture) {
    auto Face = NewBitmap(PictureSize, PictureSize, TColor(0xF2ECE6));
    DrawCategoryIcon(*Face->Canvas(), {16, 16, PictureSize - 16, PictureSize - 16}, 0);
    TPngImage Png;
    Png.Assign(Face.get());
    Picture.SetGraphic(&Png);
}

TbsSkinTextLabel* NewLabel(TComponent* Owner, TWinControl* Parent, TbsSkinData* Skin,
                           const char* Name, const char* Caption, int X, int Y) {
    auto* Label = new TbsSkinTextLabel(Owner);
    Label->SetName(Name);
    Label->SetParent(Parent);
    Label->SetSkinData(Skin);
    Label->Lines()->Add(Caption);
    Label->SetBounds(X, Y, 80, 16);
    return Label;
}

TbsSkinButton* NewSkinButton(TComponent* Owner, TWinControl* Parent, TbsSkinData* Skin,
                             const char* Name, const char* Caption, int X, int Y) {
    auto* Button = new TbsSkinButton(Owner);
    Button->SetName(Name);
    Button->SetParent(Parent);
    Button->SetSkinDataName("button");
    Button->SetSkinData(Skin);
    Button->SetCaption(Caption);
    Button->SetBounds(X, Y, 69, 25);
    return Button;
}

TbsSkinTabSheet* NewSheet(TComponent* Owner, TbsSkinPageControl* Pages, const char* Name,
                          const char* Caption) {
    auto* Sheet = new TbsSkinTabSheet(Owner);
    Sheet->SetName(Name);
    Sheet->SetPageControl(Pages);
    Sheet->SetCaption(Caption);
    return Sheet;
}

} // namespace

TForm6::TForm6(TComponent* AOwner, TLegacyFormHost& AHost) : TForm(AOwner), Host(AHost) {
    Form6 = this;
    SetName("Form6");
    SetCaption("设置选项");
    SetBorderStyle(bsSingle);
    SetBorderIcons({});
    SetPosition(poMainFormCenter);
    Font()->SetName("Tahoma");
    Font()->SetHeight(-11);
    TbsSkinData* Skin = Host.SkinData();
    bsSkinForm1 = new TbsSkinForm(this);
    bsSkinForm1->SetName("bsSkinForm1");
    bsSkinForm1->SetBorderIcons({TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize,
                                 TbsBorderIcon::biMaximize, TbsBorderIcon::biRollUp});
    bsSkinForm1->SetSkinData(Skin);
    // The client size follows from the frame, which is known once the window
    // and its skinned frame exist.
    HandleNeeded();
    SetClientWidth(958);
    SetClientHeight(474);

    ImageList1 = new TImageList(this);
    ImageList1->SetName("ImageList1");
    ImageList1->SetWidth(IconSize);
    ImageList1->SetHeight(IconSize);
    FillCategoryIcons(*ImageList1);
    ImageList2 = new TImageList(this);
    ImageList2->SetName("ImageList2");
    ImageList2->SetWidth(IconSize);
    ImageList2->SetHeight(IconSize);

    // Created with the form and never called: creating it loads nothing.
    FFQueue = new TFFmpegQueue(this);
    FFQueue->SetName("FFQueue");

    BuildTopPanel(Skin);
    BuildPages(Skin);
    BuildStepPanel();

    OnCreate = TNotifyEvent(this, &TForm6::FormCreate);
}

void TForm6::BuildTopPanel(TbsSkinData* Skin) {
    bsSkinPanel2 = new TbsSkinPanel(this);
    bsSkinPanel2->SetName("bsSkinPanel2");
    bsSkinPanel2->SetParent(this);
    bsSkinPanel2->SetSkinDataName("panel");
    bsSkinPanel2->SetSkinData(Skin);
    bsSkinPanel2->SetBorderStyle(TbsSkinBorderStyle::bvFrame);
    bsSkinPanel2->SetCaption("");
    bsSkinPanel2->SetAlign(alTop);
    bsSkinPanel2->SetHeight(70);

    constexpr int ComboHeight = 28;
    constexpr int ComboTop = (70 - ComboHeight) / 2;
    bsSkinTextLabel5 =
        NewLabel(this, bsSkinPanel2, Skin, "bsSkinTextLabel5", "输出格式：", 12, ComboTop + 6);

    bsSkinOfficeComboBox2 = new TbsSkinOfficeComboBox(this);
    bsSkinOfficeComboBox2->SetName("bsSkinOfficeComboBox2");
    bsSkinOfficeComboBox2->SetParent(bsSkinPanel2);
    bsSkinOfficeComboBox2->SetSkinData(Skin);
    bsSkinOfficeComboBox2->SetBounds(96, ComboTop, 126, ComboHeight);
    bsSkinOfficeComboBox2->SetImages(ImageList1);
    bsSkinOfficeComboBox2->SetListBoxWidth(119);
    bsSkinOfficeComboBox2->SetListBoxItemHeight(50);
    bsSkinOfficeComboBox2->SetDropDownCount(4);
    bsSkinOfficeComboBox2->SetListBoxShowItemTitles(false);
    bsSkinOfficeComboBox2->SetListBoxSkinDataName("resizetoolpanel");
    for (const TLegacyCategory& Category : LegacyCategories()) {
        TbsSkinOfficeItem* Item = bsSkinOfficeComboBox2->Items()->Add();
        Item->SetCaption(std::string(Category.Caption));
        Item->SetImageIndex(Category.ImageIndex);
    }
    bsSkinOfficeComboBox2->SetItemIndex(0);
    bsSkinOfficeComboBox2->OnChange = TNotifyEvent(this, &TForm6::bsSkinOfficeComboBox2Change);

    bsSkinOfficeComboBox1 = new TbsSkinOfficeComboBox(this);
    bsSkinOfficeComboBox1->SetName("bsSkinOfficeComboBox1");
    bsSkinOfficeComboBox1->SetParent(bsSkinPanel2);
    bsSkinOfficeComboBox1->SetSkinData(Skin);
    bsSkinOfficeComboBox1->SetBounds(232, ComboTop, 400, ComboHeight);
    bsSkinOfficeComboBox1->SetListBoxShowItemTitles(true);
    bsSkinOfficeComboBox1->SetListBoxShowLines(true);
    bsSkinOfficeComboBox1->SetListBoxItemHeight(60);
    bsSkinOfficeComboBox1->SetListBoxHeaderHeight(20);
    bsSkinOfficeComboBox1->SetDropDownCount(4);
    bsSkinOfficeComboBox1->OnClick = TNotifyEvent(this, &TForm6::bsSkinOfficeComboBox1Click);

    bsSkinButton1 =
        NewSkinButton(this, bsSkinPanel2, Skin, "bsSkinButton1", "设置", 642, ComboTop + 1);
    bsSkinButton1->SetVisible(false);
}

TbsSkinComboBox* TForm6::AddParameterList(TbsSkinData* Skin, TbsSkinTextLabel*& Label,
                                          const char* LabelName, const char* Caption,
                                          const char* ListName, int X, int Y) {
    Label = NewLabel(this, bsSkinTabSheet1, Skin, LabelName, Caption, X, Y + 4);
    auto* List = new TbsSkinComboBox(this);
    List->SetName(ListName);
    List->SetParent(bsSkinTabSheet1);
    List->SetSkinData(Skin);
    List->SetStyle(bscbFixedStyle);
    List->SetSorted(false);
    List->SetDropDownCount(8);
    List->SetBounds(X + 90, Y, ListWidth, 20);
    return List;
}

void TForm6::BuildPages(TbsSkinData* Skin) {
    bsSkinPageControl1 = new TbsSkinPageControl(this);
    bsSkinPageControl1->SetName("bsSkinPageControl1");
    bsSkinPageControl1->SetParent(this);
    bsSkinPageControl1->SetSkinDataName("tab");
    bsSkinPageControl1->SetSkinData(Skin);
    constexpr int Gap = 8;
    const int Top = 70 + Gap;
    bsSkinPageControl1->SetBounds(Gap, Top, 958 - 2 * Gap, 474 - 45 - Top);

    bsSkinTabSheet1 = NewSheet(this, bsSkinPageControl1, "bsSkinTabSheet1", "标准参数设置");
    bsSkinTabSheet2 = NewSheet(this, bsSkinPageControl1, "bsSkinTabSheet2", "剪辑设置");
    bsSkinTabSheetFilter = NewSheet(this, bsSkinPageControl1, "bsSkinTabSheetFilter", "滤镜设置");
    bsSkinTabSheet3 = NewSheet(this, bsSkinPageControl1, "bsSkinTabSheet3", "文字水印");
    bsSkinPageControl1->SetActivePage(bsSkinTabSheet1);

    constexpr int Left = 20, Right = 470, Row = 50, First = 30;
    bsSkinComboBox1 = AddParameterList(Skin, bsSkinTextLabel3, "bsSkinTextLabel3", "视频分辨率：",
                                       "bsSkinComboBox1", Left, First);
    bsSkinComboBox2 = AddParameterList(Skin, bsSkinTextLabel2, "bsSkinTextLabel2", "视频比特率：",
                                       "bsSkinComboBox2", Left, First + Row);
    bsSkinComboBox9 = AddParameterList(Skin, bsSkinTextLabel6, "bsSkinTextLabel6", "视频帧率：",
                                       "bsSkinComboBox9", Left, First + 2 * Row);
    bsSkinComboBox3 = AddParameterList(Skin, bsSkinTextLabel4, "bsSkinTextLabel4", "音频比特率：",
                                       "bsSkinComboBox3", Right, First);
    bsSkinComboBox10 = AddParameterList(Skin, bsSkinTextLabel7, "bsSkinTextLabel7", "音频采样率：",
                                        "bsSkinComboBox10", Right, First + Row);
    bsSkinComboBox4 = AddParameterList(Skin, bsSkinTextLabel9, "bsSkinTextLabel9", "视频缩放：",
                                       "bsSkinComboBox4", Right, First + 2 * Row);

    constexpr int Margin = 10;
    const int ButtonTop = 474 - Margin - 25;
    bsSkinButton3 =
        NewSkinButton(this, this, Skin, "bsSkinButton3", "取消", 958 - Margin - 69, ButtonTop);
    bsSkinButton3->OnClick = TNotifyEvent(this, &TForm6::bsSkinButton3Click);
    bsSkinButton2 = NewSkinButton(this, this, Skin, "bsSkinButton2", "确定",
                                  958 - 2 * Margin - 2 * 69, ButtonTop);
    bsSkinButton2->OnClick = TNotifyEvent(this, &TForm6::bsSkinButton2Click);
}

void TForm6::BuildStepPanel() {
    Panel1 = new TPanel(this);
    Panel1->SetName("Panel1");
    Panel1->SetParent(this);
    Panel1->SetCaption("");
    Panel1->SetBounds(940, 0, 200, 474);

    Image1 = new TImage(this);
    Image1->SetName("Image1");
    Image1->SetParent(Panel1);
    Image1->SetBounds(36, 8, PictureSize, PictureSize);
    DrawStepPicture(*Image1->Picture());

    int Top = 8 + PictureSize + 8;
    auto Step = [&](const char* Name, const char* Caption, void (TForm6::*Handler)(TObject*)) {
        auto* Button = new TButton(this);
        Button->SetName(Name);
        Button->SetParent(Panel1);
        Button->SetCaption(Caption);
        Button->SetBounds(8, Top, 184, 25);
        if (Handler)
            Button->OnClick = TNotifyEvent(this, Handler);
        Top += 30;
        return Button;
    };
    Button6 = Step("Button6", "初始化数据", &TForm6::Button6Click);
    Button5 = Step("Button5", "根据combox添加数据", &TForm6::Button5Click);
    Button7 = Step("Button7", "确认oo数据", nullptr);
    Button2 = Step("Button2", "添加combox", &TForm6::Button2Click);
    Button13 = Step("Button13", "确认预置选项数据", &TForm6::Button13Click);
    Button11 = Step("Button11", "onchange用", nullptr);
    Button18 = Step("Button18", "根据combox添加预设选项", &TForm6::Button18Click);
}

int TForm6::ProfileKey() const {
    return LegacyProfileKey(bsSkinOfficeComboBox2->ItemIndex(), bsSkinOfficeComboBox1->ItemIndex());
}

void TForm6::FormCreate(TObject*) {
    Button2->Click();
}

void TForm6::bsSkinOfficeComboBox2Change(TObject*) {
    Button2->Click();
}

void TForm6::bsSkinOfficeComboBox1Click(TObject*) {
    Button18->Click();
}

void TForm6::bsSkinButton2Click(TObject*) {
    // The lists' choices overwrite what the profile's settings wrote.
    Button5->Click();
    Button13->Click();
    Close();
}

void TForm6::bsSkinButton3Click(TObject*) {
    Close();
}

void TForm6::Button6Click(TObject*) {
    ResetWorkingSet(Host.WorkingSet());
}

void TForm6::Button2Click(TObject*) {
    TbsSkinOfficeItems* Items = bsSkinOfficeComboBox1->Items();
    Items->Clear();
    bsSkinOfficeComboBox1->Invalidate();
    const int Category = bsSkinOfficeComboBox2->ItemIndex();
    if (Category >= 0 && Category < LegacyCategoryCount) {
        for (const TLegacyProfile& Profile : LegacyCategories()[Category].Profiles) {
            Items->Add();
            TbsSkinOfficeItem* Item = Items->Items(Items->Count() - 1);
            Item->SetTitle(std::string(Profile.Title));
            Item->SetCaption(std::string(Profile.Caption));
            Item->SetImageIndex(Profile.ImageIndex);
        }
        bsSkinOfficeComboBox1->Invalidate();
    }
    // Selecting the first profile refills the parameter lists through the
    // combo's OnClick, also when the list stayed empty.
    bsSkinOfficeComboBox1->SetItemIndex(0);
}

void TForm6::Button5Click(TObject*) {
    WriteLegacySettings(Host.WorkingSet(), ProfileKey(), Host.OutputFolderText(),
                        [this] { return Host.OverwriteChosen(); });
}

void TForm6::Button18Click(TObject*) {
    TbsSkinComboBox* const ClearOrder[] = {bsSkinComboBox1, bsSkinComboBox2, bsSkinComboBox3,
                                           bsSkinComboBox4, bsSkinComboBox9, bsSkinComboBox10};
    for (TbsSkinComboBox* List : ClearOrder)
        List->Items()->Clear();
    for (TbsSkinComboBox* List : ClearOrder)
        List->SetEnabled(true);

    const int Key = ProfileKey();
    Host.WorkingSet().Video_DisableVideo = false;
    const TLegacyParameterRow* Row = FindLegacyParameterRow(Key);
    if (!Row)
        return;

    // Kind order: frame size, video bit rate, frame rate, audio bit rate,
    // sample rate, aspect.
    TbsSkinComboBox* const Lists[] = {bsSkinComboBox1, bsSkinComboBox2,  bsSkinComboBox9,
                                      bsSkinComboBox3, bsSkinComboBox10, bsSkinComboBox4};
    for (TParameterKind Kind : ParameterKinds) {
        TbsSkinComboBox* List = Lists[KindIndex(Kind)];
        const TListChoice& Choice = Row->Choice(Kind);
        for (std::string_view Item : LegacyParameterList(Kind, Choice.List))
            List->Items()->Add(std::string(Item));
        List->SetItemIndex(Choice.Default);
    }
    if (IsLegacyAudioOnlyKey(Key))
        for (TbsSkinComboBox* List :
             {bsSkinComboBox1, bsSkinComboBox2, bsSkinComboBox4, bsSkinComboBox9})
            List->SetEnabled(false);
}

void TForm6::Button13Click(TObject*) {
    TLegacyParameterTexts Texts;
    Texts[KindIndex(TParameterKind::FrameSize)] = bsSkinComboBox1->Text();
    Texts[KindIndex(TParameterKind::VideoBitrate)] = bsSkinComboBox2->Text();
    Texts[KindIndex(TParameterKind::FrameRate)] = bsSkinComboBox9->Text();
    Texts[KindIndex(TParameterKind::AudioBitrate)] = bsSkinComboBox3->Text();
    Texts[KindIndex(TParameterKind::SampleRate)] = bsSkinComboBox10->Text();
    Texts[KindIndex(TParameterKind::AspectMode)] = bsSkinComboBox4->Text();
    ReadLegacyParameterTexts(Host.WorkingSet(), Texts);
}
