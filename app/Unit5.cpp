#include "app/Unit5.h"

#include "app/JobQueue.h"
#include "app/MainWindowLink.h"
#include "app/OptionFile.h"
#include "app/ProgramServices.h"
#include "app/StartupErrors.h"
#include "platform/core/Conversions.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.CheckRadio.h"
#include "skin/controls/bsSkinCtrls.Labels.h"
#include "skin/controls/bsSkinCtrls.Panel.h"
#include "skin/forms/SkinForm.h"

#include <array>

TForm5* Form5 = nullptr;

namespace {

constexpr int DialogWidth = 561;
constexpr int DialogHeight = 537;
constexpr int Margin = 10;
constexpr int GroupWidth = DialogWidth - 2 * Margin;

// The radio boxes of one choice, in the order of the stored numbers.
template <std::size_t N>
int CheckedIndex(const std::array<TbsSkinCheckRadioBox*, N>& Boxes, int Fallback) {
    for (std::size_t I = 0; I < N; ++I)
        if (Boxes[I]->Checked())
            return static_cast<int>(I);
    return Fallback;
}

} // namespace

TForm5::TForm5(TComponent* AOwner) : TForm(AOwner) {
    Form5 = this;
    SetName("Form5");
    SetCaption("选项");
    SetBorderStyle(bsDialog);
    SetBorderIcons({});
    SetPosition(poMainFormCenter);
    Font()->SetName("MS Sans Serif");
    FSkin = MainWindowLink() ? MainWindowLink()->MainSkinData() : nullptr;
    bsSkinForm1 = new TbsSkinForm(this);
    bsSkinForm1->SetName("bsSkinForm1");
    bsSkinForm1->SetBorderIcons({});
    bsSkinForm1->SetSkinData(FSkin);
    bsSkinForm1->SetMenusSkinData(FSkin);
    HandleNeeded();
    SetClientWidth(DialogWidth);
    SetClientHeight(DialogHeight);

    bsSkinPanel1 = NewGroup("bsSkinPanel1", "转换工作完成后", Margin, Margin, GroupWidth, 130);
    bsSkinCheckRadioBox1 =
        NewBox(bsSkinPanel1, "bsSkinCheckRadioBox1", "自动打开输出文件夹", true, 20, 26, 300);
    bsSkinCheckRadioBox2 =
        NewBox(bsSkinPanel1, "bsSkinCheckRadioBox2", "自动关闭计算机", true, 20, 50, 300);
    bsSkinCheckRadioBox4 =
        NewBox(bsSkinPanel1, "bsSkinCheckRadioBox4", " 播放提示音乐", true, 20, 74, 300);
    bsSkinCheckRadioBox5 =
        NewBox(bsSkinPanel1, "bsSkinCheckRadioBox5", "不进行任何操作", true, 20, 98, 300);
    bsSkinCheckRadioBox1->SetChecked(true);

    bsSkinPanel2 = NewGroup("bsSkinPanel2", "如果输出文件存在时", Margin, 150, GroupWidth, 84);
    bsSkinCheckRadioBox3 =
        NewBox(bsSkinPanel2, "bsSkinCheckRadioBox3", "直接覆盖输出文件", true, 20, 26, 300);
    bsSkinCheckRadioBox6 =
        NewBox(bsSkinPanel2, "bsSkinCheckRadioBox6", "自动重命名输出文件", true, 20, 52, 300);
    bsSkinCheckRadioBox6->SetChecked(true);

    bsSkinPanel3 = NewGroup("bsSkinPanel3", "转换参数", Margin, 244, GroupWidth, 124);
    bsSkinStdLabel1 = new TbsSkinStdLabel(this);
    bsSkinStdLabel1->SetName("bsSkinStdLabel1");
    bsSkinStdLabel1->SetParent(bsSkinPanel3);
    bsSkinStdLabel1->SetSkinData(FSkin);
    bsSkinStdLabel1->SetCaption("程序最大运行线程数--（同时进行转换的文件个数）");
    bsSkinStdLabel1->SetBounds(20, 28, 480, 16);
    bsSkinComboBox2 = new TbsSkinComboBox(this);
    bsSkinComboBox2->SetName("bsSkinComboBox2");
    bsSkinComboBox2->SetParent(bsSkinPanel3);
    bsSkinComboBox2->SetSkinData(FSkin);
    bsSkinComboBox2->SetStyle(bscbFixedStyle);
    bsSkinComboBox2->SetDropDownCount(8);
    bsSkinComboBox2->SetBounds(20, 50, 120, 20);
    for (int Count = 1; Count <= 19; ++Count)
        bsSkinComboBox2->Items()->Add(IntToStr(Count));
    bsSkinComboBox2->SetItemIndex(0);
    bsSkinCheckRadioBox7 =
        NewBox(bsSkinPanel3, "bsSkinCheckRadioBox7", "启用多线程模式   （同时进行转换的视频个数）",
               false, 160, 50, 340);
    bsSkinCheckRadioBox7->SetChecked(true);
    bsSkinCheckRadioBox7->SetVisible(false);
    bsSkinCheckRadioBox7->OnClick = TNotifyEvent(this, &TForm5::bsSkinCheckRadioBox7Click);
    bsSkinCheckRadioBox8 =
        NewBox(bsSkinPanel3, "bsSkinCheckRadioBox8", "转换时进行实时视频预览", false, 20, 84, 300);
    bsSkinCheckRadioBox8->OnClick = TNotifyEvent(this, &TForm5::bsSkinCheckRadioBox8Click);

    bsSkinPanel4 = NewGroup("bsSkinPanel4", "转换时CPU利用方式", Margin, 378, GroupWidth, 104);
    bsSkinCheckRadioBox9 =
        NewBox(bsSkinPanel4, "bsSkinCheckRadioBox9", "系统空闲时进行", true, 20, 28, 240);
    bsSkinCheckRadioBox10 =
        NewBox(bsSkinPanel4, "bsSkinCheckRadioBox10", "最低优先级进行", true, 270, 28, 240);
    bsSkinCheckRadioBox11 =
        NewBox(bsSkinPanel4, "bsSkinCheckRadioBox11", "较低优先级进行", true, 20, 62, 240);
    bsSkinCheckRadioBox12 =
        NewBox(bsSkinPanel4, "bsSkinCheckRadioBox12", "正常优先级进行", true, 270, 62, 240);
    bsSkinCheckRadioBox12->SetChecked(true);

    auto Button = [&](const char* Name, const char* Caption, int Left) {
        auto* B = new TbsSkinButton(this);
        B->SetName(Name);
        B->SetParent(this);
        B->SetSkinDataName("button");
        B->SetSkinData(FSkin);
        B->SetCaption(Caption);
        B->SetBounds(Left, DialogHeight - Margin - 25 - 8, 75, 25);
        return B;
    };
    bsSkinButton6 = Button("bsSkinButton6", "确定", DialogWidth - 2 * (75 + Margin));
    bsSkinButton6->SetDefault(true);
    bsSkinButton6->OnClick = TNotifyEvent(this, &TForm5::bsSkinButton6Click);
    bsSkinButton1 = Button("bsSkinButton1", "取消", DialogWidth - 75 - Margin);
    bsSkinButton1->SetCancel(true);
    bsSkinButton1->OnClick = TNotifyEvent(this, &TForm5::bsSkinButton1Click);

    OnCreate = TNotifyEvent(this, &TForm5::FormCreate);
}

TForm5::~TForm5() {
    if (Form5 == this)
        Form5 = nullptr;
}

TbsSkinPanel* TForm5::NewGroup(const char* Name, const char* Caption, int Left, int Top, int Width,
                               int Height) {
    auto* Panel = new TbsSkinPanel(this);
    Panel->SetName(Name);
    Panel->SetParent(this);
    Panel->SetSkinDataName("groupbox");
    Panel->SetSkinData(FSkin);
    Panel->SetCaption(Caption);
    Panel->SetBounds(Left, Top, Width, Height);
    return Panel;
}

TbsSkinCheckRadioBox* TForm5::NewBox(TbsSkinPanel* Panel, const char* Name, const char* Caption,
                                     bool Radio, int Left, int Top, int Width) {
    auto* Box = new TbsSkinCheckRadioBox(this);
    Box->SetName(Name);
    Box->SetParent(Panel);
    Box->SetSkinDataName(Radio ? "radiobox" : "checkbox");
    Box->SetSkinData(FSkin);
    Box->SetRadio(Radio);
    // Each panel holds one choice.
    Box->SetGroupIndex(Radio ? 1 : 0);
    Box->SetCaption(Caption);
    Box->SetBounds(Left, Top, Width, 20);
    return Box;
}

void TForm5::FormCreate(TObject* Sender) {
    try {
        Button1Click(Sender);
    } catch (const std::exception& E) {
        // The controls keep their defaults; the file's trouble is told once.
        ShowStartupError(E);
    }
}

void TForm5::Button1Click(TObject*) {
    const TOptionsSection Options = ReadOptionsSection(TOptionFile(ProgramFolder()));
    bsSkinComboBox2->SetItemIndex(Options.ThreadCount - 1);
    const std::array AfterDone{bsSkinCheckRadioBox1, bsSkinCheckRadioBox2, bsSkinCheckRadioBox4,
                               bsSkinCheckRadioBox5};
    AfterDone[Options.AfterDone]->SetChecked(true);
    const std::array Priority{bsSkinCheckRadioBox9, bsSkinCheckRadioBox10, bsSkinCheckRadioBox11,
                              bsSkinCheckRadioBox12};
    Priority[Options.Priority]->SetChecked(true);
    (Options.OverwriteFile ? bsSkinCheckRadioBox3 : bsSkinCheckRadioBox6)->SetChecked(true);
    bsSkinCheckRadioBox8->SetChecked(Options.ShowPreview);
}

void TForm5::Button2Click(TObject*) {
    const TOptionFile File(ProgramFolder());
    TOptionsSection Options;
    Options.ThreadCount = StrToIntDef(ThreadCountText(), 1);
    Options.AfterDone = AfterDoneChoice();
    Options.ShowPreview = LivePreview();
    Options.Priority = PriorityChoice();
    Options.OverwriteFile = OverwriteOutput();
    if (!MultiThread()) {
        // Without multi-threading the stored count stays as it was.
        const std::optional<std::string> Stored = File.Read("Options", "Thread_Count");
        Options.ThreadCount = Stored ? StrToIntDef(*Stored, 0) : 0;
    }
    WriteOptionsSection(File, Options);
}

void TForm5::bsSkinButton6Click(TObject* Sender) {
    Button2Click(Sender);
    Close();
}

void TForm5::bsSkinButton1Click(TObject*) {
    Close();
}

void TForm5::bsSkinCheckRadioBox7Click(TObject*) {
    bsSkinComboBox2->SetEnabled(bsSkinCheckRadioBox7->Checked());
}

void TForm5::bsSkinCheckRadioBox8Click(TObject*) {
    if (TMainWindowLink* Main = MainWindowLink())
        Main->MainJobQueue().SetPreview(bsSkinCheckRadioBox8->Checked());
}

int TForm5::AfterDoneChoice() const {
    return CheckedIndex(std::array{bsSkinCheckRadioBox1, bsSkinCheckRadioBox2, bsSkinCheckRadioBox4,
                                   bsSkinCheckRadioBox5},
                        0);
}

bool TForm5::OverwriteOutput() const {
    return bsSkinCheckRadioBox3->Checked();
}

std::string TForm5::ThreadCountText() const {
    return bsSkinComboBox2->Text();
}

bool TForm5::MultiThread() const {
    return bsSkinCheckRadioBox7->Checked();
}

int TForm5::PriorityChoice() const {
    return CheckedIndex(std::array{bsSkinCheckRadioBox9, bsSkinCheckRadioBox10,
                                   bsSkinCheckRadioBox11, bsSkinCheckRadioBox12},
                        3);
}

bool TForm5::LivePreview() const {
    return bsSkinCheckRadioBox8->Checked();
}
