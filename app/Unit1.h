// The program's main window: the job table, the output and preset panels,
// the preview panel, the tool bar and menus, and every command of the
// converter. Each command is a method under its handler's name; the
// window's controls are members under their own names.
//
// The window's units: Unit1.cpp (composition, creation and close steps,
// window position, glyph switching), Unit1.Layout.cpp (every bound in one
// table), Unit1.JobTable.cpp (the job table, its cell texts and the slots),
// Unit1.Options.cpp (output folder, skin, the options dialog's commands) and
// Unit1.Log.cpp (log memo, help, web site, about box).
#pragma once

#include "app/JobSlots.h"
#include "app/MainWindowLink.h"
#include "catalogue/CatalogueHandlers.h"
#include "media/FFmpegLogger.h"
#include "platform/core/StringLists.h"
#include "platform/core/Threads.h"
#include "platform/forms/Forms.h"
#include "player/FFPlay.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class IJobQueue;
class IPreviewPlayer;
class TExternalActions;
struct TTakenNames;
class TOfficeComboListAdapter;
class TTextComboListAdapter;
class TJobRowTableAdapter;
class TFFmpegQueue;
class TRIVavova;
class TbsSkinForm;
class TbsSkinData;
class TbsCompressedSkinList;
class TbsResourceStrData;
class TbsSkinPanel;
class TbsSkinToolBar;
class TbsSkinButton;
class TbsSkinSpeedButton;
class TbsSkinMenuSpeedButton;
class TbsSkinListView;
class TbsSkinScrollBar;
class TbsSkinOfficeComboBox;
class TbsSkinComboBox;
class TbsSkinStdLabel;
class TbsSkinEdit;
class TbsSkinLinkLabel;
class TbsSkinSlider;
class TbsSkinPopupMenu;
class TbsSkinMainMenu;
class TbsSkinMainMenuBar;
class TbsSkinHint;
class TbsSkinMessage;
class TbsSelectSkinDialog;
class TbsSkinSelectDirectoryDialog;
class TMenuItem;
class TPanel;
class TImage;
class TImageList;
class TProgressBar;
class TTrackBar;
class TListBox;
class TComboBox;
class TCheckBox;
class TLabel;
class TEdit;
class TMemo;
class TButton;
class TBitmap;
class TListItem;

// One bound of the window's layout: a control's name, its parent's name and
// its place in the parent's client area.
struct TLayoutBound {
    const char* Name;
    const char* Parent;
    int Left, Top, Width, Height;
};

// Every bound of the main window, the place where each control is put.
std::span<const TLayoutBound> MainWindowLayout();
// The row of Name, or null.
const TLayoutBound* FindLayoutBound(const std::string& Name);
// The component of that name among Owner's, or null.
TComponent* FindOwnedComponent(const TComponent& Owner, const std::string& Name);

class TbsSkinOpenDialog;
class TbsSkinSavePictureDialog;

class TForm1 : public TForm, public TMainWindowLink {
public:
    explicit TForm1(TComponent* AOwner);
    ~TForm1() override;

    // ---- Non-visual components
    TbsSkinForm* bsSkinForm1 = nullptr;
    TbsSkinData* bsSkinData1 = nullptr;
    TbsCompressedSkinList* bsCompressedSkinList1 = nullptr;
    TbsResourceStrData* bsResourceStrData1 = nullptr;
    TFFmpegQueue* FFQueue = nullptr;
    TFFLogger* FFLogger = nullptr;
    TRIVavova* RIVavova = nullptr;
    TImageList* ImageList1 = nullptr; // category icons
    TImageList* ImageList2 = nullptr; // profile icons
    TImageList* ImageList3 = nullptr; // tool-button images
    TbsSkinHint* bsSkinHint1 = nullptr;
    TbsSkinMessage* bsSkinMessage1 = nullptr;
    TbsSelectSkinDialog* bsSelectSkinDialog1 = nullptr;
    // The folder add's, and the output and snapshot folders' (shared).
    TbsSkinSelectDirectoryDialog* bsSkinSelectDirectoryDialog1 = nullptr;
    TbsSkinSelectDirectoryDialog* bsSkinSelectDirectoryDialog2 = nullptr;
    TbsSkinPopupMenu* bsSkinPopupMenu1 = nullptr; // the add drop-down
    TbsSkinPopupMenu* bsSkinPopupMenu2 = nullptr; // the snapshot menu
    TMenuItem* MenuItem1 = nullptr;
    TMenuItem* MenuItem2 = nullptr;
    TMenuItem* MenuItem3 = nullptr;
    TMenuItem* N27 = nullptr;
    TMenuItem* BMP1 = nullptr;
    TMenuItem* JPG1 = nullptr;
    TMenuItem* GIF1 = nullptr;
    TMenuItem* PNG1 = nullptr;
    TMenuItem* N2221 = nullptr; // add drop-down: one file
    TMenuItem* N2222 = nullptr; // several files
    TMenuItem* N3331 = nullptr; // a whole folder

    // ---- Main menu and its bar
    TbsSkinMainMenu* bsSkinMainMenu1 = nullptr;
    TMenuItem* N1 = nullptr;  // 文件
    TMenuItem* N2 = nullptr;  // 添加一个文件
    TMenuItem* N3 = nullptr;  // 添加多个文件
    TMenuItem* N21 = nullptr; // 添加整个目录
    TMenuItem* N4 = nullptr;  // 退出
    TMenuItem* N6 = nullptr;  // 编辑
    TMenuItem* N7 = nullptr;  // 上移文件
    TMenuItem* N8 = nullptr;  // 下移文件
    TMenuItem* N9 = nullptr;  // 删除选择
    TMenuItem* N10 = nullptr; // 清空文件
    TMenuItem* N26 = nullptr; // 重新命名
    TMenuItem* N11 = nullptr; // 动作
    TMenuItem* N12 = nullptr; // 开始转换
    TMenuItem* N13 = nullptr; // 停止转换
    TMenuItem* N16 = nullptr; // 暂停转换
    TMenuItem* N17 = nullptr; // 继续继续
    TMenuItem* N22 = nullptr; // 功能
    TMenuItem* N24 = nullptr; // 转换设置
    TMenuItem* N23 = nullptr; // 软件皮肤
    TMenuItem* N14 = nullptr; // 帮助
    TMenuItem* N15 = nullptr; // 帮助系统
    TMenuItem* N19 = nullptr; // 官方网站
    TMenuItem* N5 = nullptr;  // 关于软件
    TbsSkinMainMenuBar* bsSkinMainMenuBar1 = nullptr;

    // ---- Tool bar
    TbsSkinToolBar* bsSkinToolBar2 = nullptr;
    TbsSkinMenuSpeedButton* bsSkinMenuSpeedButton1 = nullptr; // 添加
    TbsSkinButton* bsSkinButton7 = nullptr;                   // 删除
    TbsSkinButton* bsSkinButton8 = nullptr;                   // 清空
    TbsSkinButton* bsSkinButton2 = nullptr;                   // 开始
    TbsSkinButton* bsSkinButton10 = nullptr;                  // 停止
    TbsSkinButton* bsSkinButton11 = nullptr;                  // 暂停
    TbsSkinButton* bsSkinButton12 = nullptr;                  // 继续
    TbsSkinButton* bsSkinButton19 = nullptr;                  // 选项
    TbsSkinButton* bsSkinButton9 = nullptr;                   // 皮肤

    // ---- Command panel, outside the client area
    TPanel* Panel1 = nullptr;
    TImage* Image2 = nullptr;
    TImage* Image3 = nullptr;
    TImage* Image4 = nullptr;
    TImage* Image5 = nullptr;
    TImage* Image6 = nullptr;
    TImage* Image7 = nullptr;
    TImage* Image8 = nullptr;
    TImage* Image9 = nullptr;
    TImage* Image10 = nullptr;
    TImage* Image11 = nullptr;
    TImage* Image12 = nullptr;
    TImage* Image13 = nullptr;
    TImage* Image14 = nullptr;
    TImage* Image15 = nullptr;
    TImage* Image16 = nullptr;
    TImage* Image17 = nullptr;
    TProgressBar* ProgressBar1 = nullptr;
    TListBox* ListBox1 = nullptr;
    TCheckBox* chkThreadMode = nullptr;
    TCheckBox* chkPreview = nullptr;

    // ---- Job table
    TbsSkinPanel* bsSkinPanel1 = nullptr;
    TbsSkinListView* lvFiles = nullptr;
    TbsSkinScrollBar* bsSkinScrollBar1 = nullptr; // horizontal
    TbsSkinScrollBar* bsSkinScrollBar2 = nullptr; // vertical, hidden
    TbsSkinButton* bsSkinButton4 = nullptr;       // 下移
    TbsSkinButton* bsSkinButton3 = nullptr;       // 上移
    TbsSkinButton* bsSkinButton21 = nullptr;      // 重命名
    TbsSkinPanel* bsSkinPanel5 = nullptr;
    TImage* Image1 = nullptr;

    // ---- Output panel
    TbsSkinPanel* bsSkinPanel2 = nullptr;
    TbsSkinStdLabel* bsSkinStdLabel1 = nullptr; // 输出格式：
    TbsSkinOfficeComboBox* bsSkinOfficeComboBox2 = nullptr;
    TbsSkinOfficeComboBox* bsSkinOfficeComboBox1 = nullptr;
    TbsSkinStdLabel* bsSkinStdLabel2 = nullptr; // 输出目录：
    TbsSkinEdit* Video_OutPut_Folder_Edit = nullptr;
    TbsSkinButton* bsSkinButton5 = nullptr;     // 浏览
    TbsSkinButton* bsSkinButton6 = nullptr;     // 打开
    TbsSkinStdLabel* bsSkinStdLabel3 = nullptr; // 软件网站：
    TbsSkinLinkLabel* bsSkinLinkLabel1 = nullptr;
    TbsSkinButton* bsSkinButton1 = nullptr; // 设置, hidden

    // ---- Preset lists
    TbsSkinPanel* bsSkinPanel4 = nullptr;
    TbsSkinStdLabel* bsSkinStdLabel4 = nullptr;
    TbsSkinStdLabel* bsSkinStdLabel5 = nullptr;
    TbsSkinStdLabel* bsSkinStdLabel6 = nullptr;
    TbsSkinStdLabel* bsSkinStdLabel7 = nullptr;
    TbsSkinStdLabel* bsSkinStdLabel8 = nullptr;
    TbsSkinStdLabel* bsSkinStdLabel9 = nullptr;
    TbsSkinComboBox* bsSkinComboBox1 = nullptr;  // resolution
    TbsSkinComboBox* bsSkinComboBox2 = nullptr;  // video bit rate
    TbsSkinComboBox* bsSkinComboBox9 = nullptr;  // frame rate
    TbsSkinComboBox* bsSkinComboBox3 = nullptr;  // audio bit rate
    TbsSkinComboBox* bsSkinComboBox10 = nullptr; // sample rate
    TbsSkinComboBox* bsSkinComboBox4 = nullptr;  // aspect mode

    // ---- Preview panel
    TbsSkinPanel* bsSkinPanel3 = nullptr;
    TbsSkinSlider* bsSkinSlider1 = nullptr;
    TbsSkinButton* bsSkinButton13 = nullptr; // 播放
    TbsSkinButton* bsSkinButton14 = nullptr; // 暂停
    TbsSkinButton* bsSkinButton15 = nullptr; // 停止
    TbsSkinButton* bsSkinButton16 = nullptr; // 静音
    TbsSkinButton* bsSkinButton20 = nullptr; // 静音 (unmute), hidden
    TbsSkinButton* bsSkinButton22 = nullptr; // 快照
    TbsSkinButton* bsSkinButton23 = nullptr; // 设置 (snapshot menu)
    TbsSkinButton* bsSkinButton17 = nullptr; // 全屏, hidden
    TPanel* Panel6 = nullptr;

    // ---- Hidden panels and controls
    TPanel* Panel3 = nullptr;
    TPanel* Panel4 = nullptr;
    TPanel* Panel5 = nullptr;
    TComboBox* cboVideoDriver = nullptr;
    TComboBox* cboAudioDriver = nullptr;
    TComboBox* cboScreens = nullptr;
    TCheckBox* chkOpenPaused = nullptr;
    TCheckBox* chkStayOnTop = nullptr;
    TTrackBar* TrackBar2 = nullptr;
    TComboBox* cboVideo = nullptr;
    TComboBox* cboAudio = nullptr;
    TComboBox* cboSubtitle = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TMemo* mmoLog = nullptr;
    TButton* btnCapture = nullptr;
    TButton* Button19 = nullptr;
    TButton* Button27 = nullptr;
    TEdit* edt = nullptr;

    // ---- Fields
    TJobSlots Slots;
    std::string FileOutPutPath;
    std::string T_Movie_PLayer_FileName;
    std::int64_t FDuration = 0;
    TWinControl* FScreenControl = nullptr;
    std::string bsSkinSlider1_down_UP;
    // Set while a waiting stop runs (the stop command and the close step).
    bool FStopping = false;
    // Set by the close step: termination reports then only look after the
    // jobs' output files.
    bool FClosing = false;

    // The catalogue's handlers over the window's lists and job table.
    TCatalogueHandlers& Catalogue() { return *FCatalogue; }
    TProfileWorkingSet& ProfileWorkingSet() { return FCatalogue->ProfileWorkingSet; }

    // The services in force: the tests' stand-ins or the window's own.
    IJobQueue& Queue() { return *FQueue; }
    IPreviewPlayer& Player() { return *FPlayer; }
    TExternalActions& Actions() { return *FActions; }
    TbsSkinData* MainSkinData() override { return bsSkinData1; }
    IJobQueue& MainJobQueue() override { return *FQueue; }

    // ---- Life cycle (Unit1.cpp)
    void FormCreate(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void N4Click(TObject* Sender);
    // Stops the task queue and waits (FStopping meanwhile); a close asked
    // for during the wait is carried out once the wait has returned.
    void WaitingStop();
    // Sets a tool button's glyph from its enabled or disabled picture,
    // repaints it when asked, and enables or disables it.
    void SetToolButtonEnabled(TControl* Button, bool Enabled, bool Refresh);
    // The picture a tool button shows in that state, or null for a control
    // that is no switching tool button.
    TImage* ToolGlyphImage(TControl* Button, bool Enabled) const;

    // ---- Job table (Unit1.JobTable.cpp)
    void Button15Click(TObject* Sender);

    // ---- Options, output folder and skin (Unit1.Options.cpp)
    void Button17Click(TObject* Sender);
    void Button16Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void bsSkinButton5Click(TObject* Sender);
    void bsSkinButton6Click(TObject* Sender);
    void Button20Click(TObject* Sender);
    void bsSkinButton9Click(TObject* Sender);
    void N23Click(TObject* Sender);
    void bsSkinButton19Click(TObject* Sender);
    void N24Click(TObject* Sender);
    void bsSkinButton1Click(TObject* Sender);
    void Button26Click(TObject* Sender);
    void bsSkinSpeedButton1Click(TObject* Sender);
    // The open dialogs' filter; the add commands build it.
    void Button21Click(TObject* Sender);

    // ---- Log, help, web site, about (Unit1.Log.cpp)
    void FFLoggerLog(TObject* Sender, TThreadID AThreadID, TLogLevel ALogLevel,
                     const std::string& ALogMsg);
    // The window's own diagnostics: an empty line, Text, an empty line.
    void LogDiagnostic(const std::string& Text);
    void Button1Click(TObject* Sender);
    void N15Click(TObject* Sender);
    void N19Click(TObject* Sender);
    void N5Click(TObject* Sender);
    void Button24Click(TObject*) {}
    void Button19Click(TObject*) {}
    void Button11Click(TObject*) {}

    // ---- Dialogs of the skin library. Each runs one dialog and is the only
    // place that knows it (Unit1.Dialogs.cpp).
    // The select-folder dialog "选择输出目录": true with the folder
    // confirmed, false when cancelled.
    bool ExecuteOutputFolderDialog(std::string& Folder);
    // The select-skin dialog with Current preselected: true with the chosen
    // index, false when cancelled.
    bool ExecuteSelectSkinDialog(int Current, int& Chosen);
    // The window's message box with an information notice and one OK button.
    void ShowNotice(const std::string& Text);
    // The snapshot save dialog's settings (creation step 7).
    void SetUpSnapshotDialog();
    // The menu bar that shows bsSkinMainMenu1.
    void CreateMainMenuBar();
    // The dialog components and the hint component.
    void CreateDialogs();

    // ---- Job flow
    // Adding files (Unit1.Add.cpp).
    void btnAddClick(TObject* Sender);
    void Button8Click(TObject* Sender);
    void Button12Click(TObject* Sender);
    void N21Click(TObject* Sender);
    void N2222Click(TObject* Sender);
    void N3331Click(TObject* Sender);
    // The files (not folders) of FilePath matching ExtMask, as full paths
    // sorted by name; null when FilePath is no existing folder.
    std::unique_ptr<TStringList> GetFilenames(const std::string& FilePath,
                                              const std::string& ExtMask);
    // Runs the open dialog, one file (OpenDialog1) or several (OpenDialog2),
    // with the add filter: true with the chosen files in the order the dialog
    // lists them. The only place that knows the dialogs; tests put a script
    // in OpenDialogRunner instead.
    bool ExecuteOpenDialog(bool Multiple, std::vector<std::string>& Files);
    std::function<bool(bool Multiple, const std::string& Filter, std::vector<std::string>& Files)>
        OpenDialogRunner;
    // Made on first use and kept, so each keeps the user's last filter.
    TbsSkinOpenDialog* OpenDialog1 = nullptr;
    TbsSkinOpenDialog* OpenDialog2 = nullptr;
    // Selects Row, puts its choices back into the lists and previews it.
    void SelectJobRow(int Row);
    // What an output name must leave alone: the final paths of every row but
    // Except, and every row's input with Adding, a file being added.
    TTakenNames OtherRowOutputs(int Except, const std::string& Adding = std::string()) const;
    // Given the add's working set once the profile and the six lists are
    // read into it, before it becomes the task's output options; tests put
    // values there that no stored profile holds.
    std::function<void(TProfileWorkingSet& Set)> AddWorkingSetHook;

    // Conversion control (Unit1.Convert.cpp).
    // Binds the commands, the queue's progress and the actions' failure.
    void BindJobFlowCommands();
    void btnStartClick(TObject* Sender);
    void bsSkinButton2Click(TObject* Sender);
    void button28Click(TObject* Sender);
    void RebuildTasks();
    // A row's task in the queue, counted from 1; 0 when the row has none.
    static int TaskNumber(TListItem& Item);
    static void SetTaskNumber(TListItem& Item, int Number);
    void btnPauseClick(TObject* Sender);
    void btnResumeClick(TObject* Sender);
    void bsSkinButton11Click(TObject* Sender);
    void bsSkinButton12Click(TObject* Sender);
    void btnStopClick(TObject* Sender);
    void bsSkinButton10Click(TObject* Sender);
    void Button22Click(TObject* Sender);
    void Button23Click(TObject* Sender);
    void chkPreviewClick(TObject* Sender);
    // Set by a stop, cleared by a start: the all-done report then runs no
    // after-done action.
    bool FBatchStopped = false;

    // Progress, termination and after-done actions (Unit1.Progress.cpp).
    void FFQueueProgress(TObject* Sender, PProgressInfo Info);
    void JobTerminated(const TTerminateInfo& Info);
    void Button25Click(TObject* Sender);
    void Button29Click(TObject* Sender);
    bool SetPrivilege(const std::string& PrivilegeName, bool Enable);
    // A started outside command that failed: logged and shown.
    void ExternalActionFailed(const std::string& Action, const std::string& Text);

    // List editing (Unit1.Edit.cpp).
    void BindEditCommands();
    void btnRemoveClick(TObject* Sender);
    void btnClearClick(TObject* Sender);
    void bsSkinButton7Click(TObject* Sender);
    void bsSkinButton8Click(TObject* Sender);
    void bsSkinButton21Click(TObject* Sender);
    void N26Click(TObject* Sender);
    void lvFilesDblClick(TObject* Sender);
    void edtExit(TObject* Sender);
    void bsSkinButton3Click(TObject* Sender);
    void bsSkinButton4Click(TObject* Sender);
    void lvFilesSelectItem(TObject* Sender, TListItem* Item, bool Selected);
    void lvFilesClick(TObject* Sender);
    void Video_OutPut_Folder_EditClick(TObject* Sender);
    // Enables or disables what needs a row: delete, rename, clear, start.
    void SetRowCommandsEnabled(bool Enabled);
    // The row a rename shown in edt is for, or -1.
    int FRenameRow = -1;

    // Preview panel (Unit1.Preview.cpp).
    void BindPreviewCommands();
    void Button31Click(TObject* Sender);
    void RIVavovaFileOpen(TObject* Sender, std::int64_t ADuration, int AFrameWidth,
                          int AFrameHeight, int& AScreenWidth, int& AScreenHeight);
    void RIVavovaPosition(TObject* Sender, std::int64_t APTS);
    void RIVavovaState(TObject* Sender, TPlayState AState);
    void RIVavovaHook(TObject* Sender, TBitmap* ABitmap, std::int64_t APTS);
    void bsSkinSlider1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                int Y);
    void bsSkinSlider1MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                              int Y);
    void bsSkinButton13Click(TObject* Sender);
    void bsSkinButton14Click(TObject* Sender);
    void bsSkinButton15Click(TObject* Sender);
    void bsSkinButton16Click(TObject* Sender);
    void bsSkinButton20Click(TObject* Sender);
    void TrackBar2Change(TObject* Sender);

    // Snapshots (Unit1.Snapshot.cpp).
    void BindSnapshotCommands();
    void bsSkinButton22Click(TObject* Sender);
    void bsSkinButton23Click(TObject* Sender);
    void bsSkinButton23MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                 int Y);
    void MenuItem1Click(TObject* Sender);
    void MenuItem2Click(TObject* Sender);
    void BMP1Click(TObject* Sender);
    void JPG1Click(TObject* Sender);
    void GIF1Click(TObject* Sender);
    void PNG1Click(TObject* Sender);
    void btnCaptureClick(TObject* Sender);
    // The snapshot folder and type as option.ini has them, repaired there;
    // the type's menu entry is ticked.
    std::string SnapshotFolder();
    std::string SnapshotType();
    // Runs the snapshot save dialog: true with the chosen file. The only
    // place that knows the dialog; tests put a script in
    // SnapshotDialogRunner instead.
    bool ExecuteSnapshotDialog(std::string& FileName);
    std::function<bool(std::string& FileName)> SnapshotDialogRunner;
    TbsSkinSavePictureDialog* SavePictureDialog1 = nullptr;

protected:
    void Dispatch(TMessage& Message) override;

private:
    void CreateNonVisual();
    void CreateMenus();
    void CreateToolBar();
    void CreateCommandPanel();
    void CreateJobTable();
    void CreateOutputPanel();
    void CreatePresetPanel();
    void CreatePreviewPanel();
    void CreateHiddenPanels();
    void CreateJobColumns();
    void BindServices();
    void ApplyLayout();
    void SetTabOrders();
    void ArrangeOverlaps();
    void BuildScreenList();
    // Runs one creation step; an exception is shown once and the following
    // steps still run.
    void RunCreationStep(void (TForm1::*Step)(TObject*));
    void FillScreenList(TObject* Sender);
    void InitSliderState(TObject* Sender);
    void FillProfileList(TObject* Sender);
    void SetUpSnapshotDialogStep(TObject* Sender);
    void DeliverQueuedReports();
    void FFQueueTerminate(TObject* Sender, const TTerminateInfo& Info);

    std::unique_ptr<IJobQueue> FOwnQueue;
    std::unique_ptr<IPreviewPlayer> FOwnPlayer;
    std::unique_ptr<TExternalActions> FOwnActions;
    IJobQueue* FQueue = nullptr;
    IPreviewPlayer* FPlayer = nullptr;
    TExternalActions* FActions = nullptr;

    std::unique_ptr<TOfficeComboListAdapter> FCategories;
    std::unique_ptr<TOfficeComboListAdapter> FProfiles;
    std::vector<std::unique_ptr<TTextComboListAdapter>> FLists;
    std::unique_ptr<TJobRowTableAdapter> FRows;
    std::unique_ptr<TCatalogueHandlers> FCatalogue;
    bool FCloseWanted = false;
};

extern TForm1* Form1;

// A duration in seconds as "HH:MM:SS", hours wrapping at 24; a negative
// duration shows as "00:00:00".
std::string SecToDate(int Sec);

// A size in megabytes to two decimals in the shortest form, with "MB":
// 1572864 bytes are "1.5MB".
std::string MegabyteText(std::int64_t Bytes);

// A logger line as the log memo shows it: "#", the thread id, ".", the
// level's ordinal, ": " and the message.
std::string LogMemoText(TThreadID ThreadId, TLogLevel Level, const std::string& Message);

// The memo lines a logged text makes: one per line break, each without a
// trailing carriage return.
std::vector<std::string> LogMemoLines(const std::string& Text);

// The log lines of a long command (adding files, the start's rebuild),
// FFmpeg's reports through the window's logger included, gathered and put
// into the log memo in one step at Flush and at the end: the memo lays out
// its whole text again for every line added, so writing line by line made
// such a command slower with every file. The memo ends with the same lines
// in the same order. Flush before anything is shown meanwhile.
class TLogBatch {
public:
    explicit TLogBatch(TForm1& Form);
    ~TLogBatch();
    TLogBatch(const TLogBatch&) = delete;
    TLogBatch& operator=(const TLogBatch&) = delete;

    void Line(const std::string& Text) { FLines.push_back(Text); }
    // Each line of Text, a trailing carriage return dropped, as the window's
    // logger writes them.
    void Lines(const std::string& Text);
    // A report's lines as a stream reads them (no empty line after a last
    // line break).
    void Report(const std::string& Text);
    // As LogDiagnostic writes it: an empty line, Text, an empty line.
    void Diagnostic(const std::string& Text);
    void Flush();

private:
    TForm1& FForm;
    TLogEvent FSaved;
    std::vector<std::string> FLines;
};

// The names of Parent's windowed children by tab order from 0, up to the
// first tab order no child has.
std::vector<std::string> WindowedChildrenInTabOrder(TWinControl& Parent);

// The job table's 25 columns: caption and width (0 for a hidden column).
struct TJobColumn {
    const char* Caption;
    int Width;
};
std::span<const TJobColumn> JobColumns();
