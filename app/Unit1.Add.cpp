// Adding files: one file, several files or a whole folder, each probed,
// given a task whose output is set up under its partial name, a row of the
// job table and a job slot.
#include "app/Unit1.h"

#include "app/JobOutputs.h"
#include "app/JobQueue.h"
#include "app/PreviewPlayer.h"
#include "app/ProgramServices.h"
#include "app/Unit5.h"
#include "catalogue/ProfileCatalogue.h"
#include "media/FFmpegLogger.h"
#include "platform/core/Conversions.h"
#include "platform/core/Paths.h"
#include "platform/core/StringLists.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Edits.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/ListBoxes.h"
#include "platform/forms/ListViews.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.Panel.h"
#include "skin/controls/bsSkinCtrls.Views.h"
#include "skin/dialogs/bsSkinOpenDlg.h"
#include "skin/dialogs/bsSkinSelDirDlg.h"

#include <sys/stat.h>

#include <algorithm>
#include <sstream>

namespace {

enum class TAddResult { Added, Skipped, Ended };

// A file the add did not take, and why, as the user is told.
struct TRefusal {
    std::string FileName;
    std::string Reason;
};

// The open dialogs' filter: description and masks, each followed by "|".
constexpr const char* OpenFilterEntries[][2] = {
    {"所有文件格式 (*.*)", "*.*"},
    {"支持的视频/音频文件格式",
     "*.AVI;*.ASF;*.asx;*.WMV;*.AVS;*.FLV;*.MKV;*.MOV;*.3GP;*.MP4;*.MPG;*.MPEG;*.DAT;*.OGM;*.VOB;"
     "*.RM;*.RMVB;*.TS;*.TP;*.IFO;*.NSV;*.MP3;*.AAC;*.WAV;*.WMA;*.CDA;*.SWF;"
     "*.FLAC;*.M4A;*.MID;*.MKA;*.MP2;*.MPA;*.MPC;*.APE;*.OFR;*.OGG;*.RA;*.WV;*.TTA;*.AC3;*.DTS;"
     "*.DV;*.m4v;*.3g2;*.mkv;*.dv;*.yuv;*.h261;*.h264;*.mjpeg;*.dif;*.m4v;*.3gpp;*.3gp2;*.qt"},
    {"支持的视频文件格式",
     "*.AVI;*.ASF;*.asx;*.WMV;*.AVS;*.FLV;*.MKV;*.MOV;*.3GP;*.MP4;*.MPG;*.MPEG;*.DAT;*.OGM;*.VOB;"
     "*.RM;*.RMVB;*.TS;*.TP;*.IFO;*.NSV;*.SWF;*.WV;*.TTA;*.AC3;*.DTS;*.DV;*.m4v;*.3g2;*.mkv;*.dv;"
     "*.yuv;*.h261;*.h264;*.mjpeg;*.dif;*.m4v;*.3gpp;*.3gp2;*.qt"},
    {"支持的音频文件格式", "*.MP3;*.AAC;*.WAV;*.WMA;*.CDA;*.FLAC;*.M4A;*.MID;*.MKA;*.MP2;*.MPA;"
                           "*.MPC;*.APE;*.OFR;*.OGG;*.RA;*.WV;*.TTA;*.AC3"},
};

// Entries that carry their masks in parentheses at the end.
constexpr const char* OpenFilterFormats[] = {
    "AVI文件 (*.avi)",
    "Real视频文件格式 (*.rm;*.rmvb)",
    "MP4视频格式 (*.mp4;*.m4v)",
    "MPEG视频格式 (*.mpg;*.mpeg)",
    "DVD视频格式 (*.vob)",
    "VCD/SVCD视频格式 (*.dat;*.mpg)",
    "ASF微软视频格式 (*.asf)",
    "WMV微软视频格式 (*.wmv)",
    "手机3GPP文件格式 (*.3gp;*.3gpp)",
    "手机3GPP2文件格式 (*.3g2;*.3gp2)",
    "Flash动画格式 (*.swf)",
    "Flash视频格式 (*.flv)",
    "MKV视频媒体格式 (*.mkv)",
    "Quick Time视频文件格式 (*.mov;*.qt)",
    "DV数字视频文件格式 (*.dv;*.dif)",
    "Raw h261类型文件 (*.h261)",
    "Raw h264类型文件 (*.h264)",
    "YUV类型文件 (*.yuv)",
    "GIF图片动画格式 (*.gif)",
    "MJPEG视频格式(*.mjpg;*.mjpeg)",
    "TS视频格式 (*.ts)",
    "WMV高清HD视频格式 (*.xwmv)",
    "微软数字视频格式( *.dvr-ms)",
    "iTunes视频格式 (*.m4v)",
    "MP3音频格式 (*.mp3)",
    "CD音频格式 (*.cda)",
    "WMA微软音频格式 (*.wma)",
    "WAVE音频格式 (*.wav)",
    "REAL音频格式 (*.ra;*.ram)",
    "MP4音频格式 (*.m4a;*.mp4)",
    "AAC高级音频格式 (*.aac)",
    "AC3音频格式 (*.ac3)",
    "Monkey音频格式 (*.ape;*.cue)",
    "Flac无损压缩音频格式　(*.flac)",
    "MPEG音频编码格式(*.mpa)",
    "MPEG 2音频编码格式(*.mp2)",
    "OGG音频编码格式(*.ogg)",
    "AIFF音频编码格式(*.aif; *.aiff)",
};

std::string Trimmed(const std::string& Text) {
    const auto First = Text.find_first_not_of(' ');
    if (First == std::string::npos)
        return {};
    return Text.substr(First, Text.find_last_not_of(' ') - First + 1);
}

std::string WithoutTrailingDelimiter(std::string Folder) {
    while (Folder.size() > 1 && Folder.back() == '/')
        Folder.pop_back();
    return Folder;
}

// Only a regular file can be probed: opening a pipe waits for a writer and a
// device may never end, either of which would hold the window.
bool IsRegularFile(const std::string& Name) {
    struct stat Info {};
    return ::stat(Name.c_str(), &Info) == 0 && S_ISREG(Info.st_mode);
}

std::string FirstLine(const std::string& Text) {
    return Text.substr(0, Text.find_first_of("\r\n"));
}

} // namespace

std::string OpenDialogFilterText() {
    std::string Filter;
    for (const auto& Entry : OpenFilterEntries)
        Filter += std::string(Entry[0]) + "|" + Entry[1] + "|";
    for (const std::string Description : OpenFilterFormats) {
        const auto Open = Description.rfind('(');
        const std::string Masks = Description.substr(Open + 1, Description.size() - Open - 2);
        Filter += Description + "|" + Trimmed(Masks) + "|";
    }
    return Filter;
}

// ---------------------------------------------------------------- log batch

TLogBatch::TLogBatch(TForm1& Form) : FForm(Form) {
    if (!Form.FFLogger || !Form.FFLogger->OnLog)
        return;
    FSaved = Form.FFLogger->OnLog;
    Form.FFLogger->OnLog = [this](TObject*, TThreadID Id, TLogLevel Level,
                                  const std::string& Message) {
        Lines(LogMemoText(Id, Level, Message));
    };
}

TLogBatch::~TLogBatch() {
    if (FSaved)
        FForm.FFLogger->OnLog = FSaved;
    Flush();
}

void TLogBatch::Lines(const std::string& Text) {
    for (std::string& One : LogMemoLines(Text))
        FLines.push_back(std::move(One));
}

void TLogBatch::Report(const std::string& Text) {
    std::istringstream In(Text);
    std::string One;
    while (std::getline(In, One))
        FLines.push_back(One);
}

void TLogBatch::Diagnostic(const std::string& Text) {
    Line("");
    Lines(Text);
    Line("");
}

void TLogBatch::Flush() {
    if (FLines.empty())
        return;
    const std::string Before = FForm.mmoLog->Text();
    // The memo's own rule for an appended line: an empty memo takes the line
    // as its whole text (so it never starts with an empty line), any other
    // text gets a line break and the line.
    std::string Text = Before;
    for (const std::string& One : FLines) {
        if (!Text.empty())
            Text += "\r\n";
        Text += One;
    }
    FLines.clear();
    if (Text == Before)
        return;
    // One append whose line breaks make the lines; it also leaves the caret
    // at the end, as a single line's append does.
    FForm.mmoLog->Lines()->Add(Before.empty() ? Text : Text.substr(Before.size() + 2));
}

// ---------------------------------------------------------------- commands

void TForm1::N21Click(TObject* Sender) {
    Button12Click(Sender);
}

void TForm1::N3331Click(TObject* Sender) {
    Button12Click(Sender);
}

void TForm1::N2222Click(TObject* Sender) {
    Button8Click(Sender);
}

bool TForm1::ExecuteOpenDialog(bool Multiple, std::vector<std::string>& Files) {
    Files.clear();
    if (OpenDialogRunner)
        return OpenDialogRunner(Multiple, OpenDialogFilterText(), Files) && !Files.empty();
    TbsSkinOpenDialog*& Dialog = Multiple ? OpenDialog2 : OpenDialog1;
    if (!Dialog) {
        Dialog = new TbsSkinOpenDialog(this);
        Dialog->SetName(Multiple ? "OpenDialog2" : "OpenDialog1");
        Dialog->SetTitle("打开文件");
        Dialog->MultiSelection = Multiple;
        Dialog->CheckFileExists = true;
        Dialog->Filter = OpenDialogFilterText();
        Dialog->FilterIndex = 1;
    }
    Dialog->SetSkinData(bsSkinData1);
    if (!Dialog->Execute())
        return false;
    for (int I = 0; I < Dialog->Files()->Count(); ++I)
        Files.push_back(Dialog->Files()->Strings(I));
    if (Files.empty() && !Dialog->FileName().empty())
        Files.push_back(Dialog->FileName());
    return !Files.empty();
}

std::unique_ptr<TStringList> TForm1::GetFilenames(const std::string& FilePath,
                                                  const std::string& ExtMask) {
    if (!DirectoryExists(FilePath))
        return nullptr;
    const std::string Folder = IncludeTrailingPathDelimiter(FilePath);
    std::vector<std::string> Names;
    TSearchRec Entry;
    for (int Found = FindFirst(Folder + ExtMask, faAnyFile, Entry); Found == 0;
         Found = FindNext(Entry))
        if ((Entry.Attr & faDirectory) == 0 && IsRegularFile(Folder + Entry.Name))
            Names.push_back(Folder + Entry.Name);
    FindClose(Entry);
    // The order of the listing decides the order of the rows: by name, so
    // that adding a folder twice gives the same table.
    std::sort(Names.begin(), Names.end());
    auto List = std::make_unique<TStringList>();
    for (const std::string& Name : Names)
        List->Add(Name);
    return List;
}

TTakenNames TForm1::OtherRowOutputs(int Except, const std::string& Adding) const {
    TTakenNames Taken;
    TJobSlots& Jobs = const_cast<TJobSlots&>(Slots);
    for (int Row = 0; Row < Slots.RowCount(); ++Row) {
        // A row's own input is as untouchable as the others'.
        Taken.Inputs.push_back(Jobs.IO1(Slots.SlotOfRow(Row)).FileName);
        if (Row != Except)
            Taken.Outputs.push_back(Jobs.OO1(Slots.SlotOfRow(Row)).FileName);
    }
    if (!Adding.empty())
        Taken.Inputs.push_back(Adding);
    return Taken;
}

namespace {

// Resets the working set and loads the converter's libraries; false when
// they cannot be loaded, which is logged and shown.
bool BeginAdd(TForm1& Form) {
    Form.Catalogue().Button6Click(&Form);
    IJobQueue& Queue = Form.Queue();
    if (Queue.AVLibLoaded() || Queue.LoadAVLib(ProgramFolder() + "LibAV"))
        return true;
    const std::string Message = Queue.LastErrMsg();
    Form.mmoLog->Lines()->Add(Message);
    Application->MessageBox("无法载入 FFmpeg 库：\n" + Message, Application->Title(), 48);
    return false;
}

// A file gone before it could be added ends the add.
bool RefusedAsMissing(TLogBatch& Log, const std::string& FileName,
                      std::vector<TRefusal>& Refusals) {
    if (FileExists(FileName))
        return false;
    Log.Diagnostic("***File not found: " + FileName);
    Refusals.push_back({FileName, "文件不存在"});
    return true;
}

TAddResult AddFile(TForm1& Form, TLogBatch& Log, const std::string& FileName,
                   std::vector<TRefusal>& Refusals) {
    IJobQueue& Queue = Form.Queue();
    if (RefusedAsMissing(Log, FileName, Refusals))
        return TAddResult::Ended;
    if (!IsRegularFile(FileName)) {
        Log.Diagnostic("***Not a regular file: " + FileName);
        Refusals.push_back({FileName, "不是普通文件（管道、设备等无法转换）"});
        return TAddResult::Skipped;
    }
    const int Slot = Form.Slots.TakeFree();
    if (Slot < 0) {
        // Told at once: every file after this one meets the same limit.
        Log.Diagnostic("***Too many jobs, not added: " + FileName);
        Log.Flush();
        Form.ShowNotice("任务数已达上限，无法添加更多文件！");
        return TAddResult::Ended;
    }
    const TJobProbe Probe = Queue.ProbeFile(FileName);
    if (!Probe.Loaded) {
        Log.Diagnostic("***File load error: " + Probe.ErrorText);
        Refusals.push_back({FileName, "无法读取的视频或音频文件：" + FirstLine(Probe.ErrorText)});
        return TAddResult::Skipped;
    }
    Form.ProgressBar1->SetPosition(0);
    TProfileWorkingSet& Set = Form.ProfileWorkingSet();
    Set.Video_AddFileName = FileName;

    TInputOptions Input;
    InitInputOptions(Input);
    const int Task = Queue.AddTask(FileName, &Input);
    if (Task < 0) {
        const std::string Message = Queue.LastErrMsg();
        Log.Diagnostic("***File open error: " + Message);
        Refusals.push_back({FileName, "无法打开文件：" + FirstLine(Message)});
        return TAddResult::Ended;
    }
    Log.Line("");
    Log.Report(Queue.TaskInfoText(Task));
    Form.T_Movie_PLayer_FileName = FileName;

    TOutputOptions Output;
    InitOutputOptions(Output);
    Form.Catalogue().LoadProfile(&Form);
    Form.Catalogue().Button13Click(&Form);
    if (Form.AddWorkingSetHook)
        Form.AddWorkingSetHook(Set);
    // The output name must not be one another row writes, nor a file whose
    // loss the user did not agree to, nor a kept partial file's.
    const bool Overwrite = Form5 && Form5->OverwriteOutput();
    const std::string Final = ResolveOutputName(
        WithoutTrailingDelimiter(ExtractFilePath(Set.Video_OutPutFileName)),
        ExtractFileName(Set.Video_OutPutFileName), Overwrite, Form.OtherRowOutputs(-1, FileName));
    Set.Video_OutPutFileName = Final;
    ApplyWorkingSet(Set, Output, TVolumeRule::AlwaysSet);
    if (!Queue.SetOutputFile(Task, PartialOutputPath(Final), &Output)) {
        const std::string Message = Queue.LastErrMsg();
        Queue.RemoveTask(Task);
        Log.Diagnostic("***Cannot do convert, error: " + Message);
        Refusals.push_back({FileName, "无法建立输出文件：" + FirstLine(Message)});
        return TAddResult::Ended;
    }
    // The task writes the partial name; the row and the slot keep the final.
    Output.FileName = Final;

    Form.bsSkinPanel5->SetVisible(false);
    TListItem* Item = Form.lvFiles->Items()->Add();
    Item->SetCaption(Input.FileName);
    TStrings& Cells = *Item->SubItems();
    Cells.Add(Probe.Duration > 0 ? SecToDate(static_cast<int>(Probe.Duration / 1000000)) : "N/A");
    Cells.Add(MegabyteText(Probe.FileSize));
    Cells.Add(ExtractFileName(Final));
    for (int Empty = 0; Empty < 4; ++Empty)
        Cells.Add("");
    Cells.Add(IntToStr(Task + 1));
    Cells.Add(ProfileCode(Form.bsSkinOfficeComboBox2->ItemIndex(),
                          Form.bsSkinOfficeComboBox1->ItemIndex()));
    Cells.Add(Form.Catalogue().ParameterCodeFromLists());
    Cells.Add(Output.VideoCodec);
    Cells.Add(Output.AudioCodec);
    Cells.Add(IntToStr(Output.AudioChannels));
    Cells.Add(Output.VideoTag);
    Cells.Add(Output.FileExt);
    Cells.Add(Output.FrameSize);
    Cells.Add(IntToStr(Output.VideoBitrate));
    Cells.Add(Output.FrameRate);
    Cells.Add(IntToStr(Output.AudioBitrate));
    Cells.Add(IntToStr(Output.AudioSampleRate));
    Cells.Add(Output.FrameAspectRatio);
    for (int Empty = 0; Empty < 3; ++Empty)
        Cells.Add("");

    for (TControl* Button : std::initializer_list<TControl*>{
             Form.bsSkinButton7, Form.bsSkinButton21, Form.bsSkinButton8, Form.bsSkinButton2})
        Form.SetToolButtonEnabled(Button, true, Button == Form.bsSkinButton2);
    for (TMenuItem* Entry : {Form.N9, Form.N26, Form.N10, Form.N12})
        Entry->SetEnabled(true);

    Form.Slots.LinkRow(Form.lvFiles->Items()->Count() - 1, Slot);
    Form.Slots.Store(Slot, Input, Output);
    Log.Diagnostic("***Can do convert.");
    if (Form.bsSkinButton2->CanFocus())
        Form.bsSkinButton2->SetFocus();
    return TAddResult::Added;
}

void SelectLastRow(TForm1& Form) {
    const int Count = Form.lvFiles->Items()->Count();
    if (Count == 0)
        return;
    Form.SelectJobRow(Count - 1);
    if (Form.lvFiles->CanFocus())
        Form.lvFiles->SetFocus();
}

// Takes Files from the last to the first; false when a file ended the flow.
bool AddFilesBackwards(TForm1& Form, const std::vector<std::string>& Files,
                       std::vector<TRefusal>& Refusals) {
    TLogBatch Log(Form);
    for (auto Name = Files.rbegin(); Name != Files.rend(); ++Name)
        if (AddFile(Form, Log, *Name, Refusals) == TAddResult::Ended)
            return false;
    return true;
}

// One notice for the files an add did not take; their log lines came first.
void TellRefusals(TForm1& Form, const std::vector<TRefusal>& Refusals) {
    if (Refusals.empty())
        return;
    if (Refusals.size() == 1) {
        const TRefusal& Only = Refusals.front();
        Form.ShowNotice("无法添加文件 " + ExtractFileName(Only.FileName) + "：\n" + Only.Reason);
        return;
    }
    // A long list would outgrow the box; the log keeps every one.
    constexpr std::size_t Shown = 10;
    std::string Text = "以下文件未能添加：";
    for (std::size_t I = 0; I < Refusals.size() && I < Shown; ++I)
        Text += "\n" + ExtractFileName(Refusals[I].FileName) + "：" + Refusals[I].Reason;
    if (Refusals.size() > Shown)
        Text += "\n……另有 " + IntToStr(static_cast<int>(Refusals.size() - Shown)) + " 个文件";
    Form.ShowNotice(Text);
}

} // namespace

void TForm1::btnAddClick(TObject*) {
    if (!BeginAdd(*this))
        return;
    std::vector<std::string> Files;
    if (!ExecuteOpenDialog(false, Files))
        return;
    std::vector<TRefusal> Refusals;
    TAddResult Result;
    {
        TLogBatch Log(*this);
        Result = AddFile(*this, Log, Files.front(), Refusals);
    }
    if (Result == TAddResult::Added)
        SelectLastRow(*this);
    TellRefusals(*this, Refusals);
}

void TForm1::Button8Click(TObject*) {
    if (!BeginAdd(*this))
        return;
    std::vector<std::string> Files;
    if (!ExecuteOpenDialog(true, Files))
        return;
    std::vector<TRefusal> Refusals;
    bool FirstMissing = false;
    {
        TLogBatch Log(*this);
        FirstMissing = RefusedAsMissing(Log, Files.front(), Refusals);
    }
    if (!FirstMissing && AddFilesBackwards(*this, Files, Refusals))
        SelectLastRow(*this);
    TellRefusals(*this, Refusals);
}

void TForm1::Button12Click(TObject*) {
    const int RowsBefore = lvFiles->Items()->Count();
    if (!BeginAdd(*this))
        return;
    if (!bsSkinSelectDirectoryDialog1->Execute())
        return;
    const std::string Directory = bsSkinSelectDirectoryDialog1->Directory;
    if (Directory.empty() || !DirectoryExists(Directory))
        return;
    ListBox1->Items()->Clear();
    std::vector<std::string> Files;
    if (std::unique_ptr<TStringList> Names = GetFilenames(Directory, "*.*"))
        for (int I = 0; I < Names->Count(); ++I) {
            ListBox1->Items()->Add(Names->Strings(I));
            Files.push_back(Names->Strings(I));
        }
    std::vector<TRefusal> Refusals;
    if (AddFilesBackwards(*this, Files, Refusals)) {
        SelectLastRow(*this);
        if (lvFiles->Items()->Count() <= RowsBefore) {
            // This notice says it for every file of the folder at once.
            const std::string Notice = "在该目录没有发现可以用的视频或音频文件！";
            mmoLog->Lines()->Add(Notice + " " + Directory);
            ShowNotice(Notice);
            return;
        }
    }
    TellRefusals(*this, Refusals);
}
