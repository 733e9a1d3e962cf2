// The main window with a scripted task queue for the job flow's tests: the
// queue's answers per file and per task, the output folder, input files,
// the open dialog's script and readers for the log memo and the table.
#pragma once

#include "app/JobOutputs.h"
#include "app/ProgramServices.h"
#include "app/Unit1.h"
#include "platform/forms/Edits.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ListViews.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinCtrls.Labels.h"
#include "skin/controls/bsSkinCtrls.Views.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/controls/bsSkinLists.h"
#include "skin/dialogs/bsSkinMessage.h"
#include "tests/app/support/ProgramFixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

// The fake queue with answers per file and per task, keeping the options
// each task was given.
class TScriptedJobQueue : public TFakeJobQueue {
public:
    std::map<std::string, TJobProbe> Probes; // by file; others get NextProbe
    std::set<std::string> FailingInputs;     // AddTask answers -1
    std::set<int> FailingOutputs;            // SetOutputFile answers false
    std::map<int, TOutputOptions> Outputs;   // by task
    std::map<int, std::string> OutputNames;  // by task
    // Run as a task opens its input, as FFmpeg reports the input then.
    std::function<void(const std::string& FileName)> WhileOpening;

    TJobProbe ProbeFile(const std::string& FileName) override {
        TFakeJobQueue::ProbeFile(FileName);
        const auto Found = Probes.find(FileName);
        return Found == Probes.end() ? NextProbe : Found->second;
    }
    int AddTask(const std::string& FileName, PInputOptions Options) override {
        if (FailingInputs.count(FileName)) {
            Calls.push_back("AddTask(" + FileName + ")");
            ErrorText = "cannot open " + FileName;
            return -1;
        }
        if (WhileOpening)
            WhileOpening(FileName);
        return TFakeJobQueue::AddTask(FileName, Options);
    }
    bool SetOutputFile(int Task, const std::string& FileName, POutputOptions Options) override {
        Outputs[Task] = *Options;
        OutputNames[Task] = FileName;
        TFakeJobQueue::SetOutputFile(Task, FileName, Options);
        if (FailingOutputs.count(Task)) {
            ErrorText = "no muxer";
            return false;
        }
        return true;
    }
};

class JobFlow : public TProgramFixture {
protected:
    void SetUp() override {
        TProgramFixture::SetUp();
        TProgramServices Services = ProgramServices();
        Services.Queue = &Jobs;
        SetProgramServices(Services);
        Jobs.NextProbe.Loaded = true;
        Jobs.NextProbe.Duration = 2'000'000;
        Jobs.NextProbe.FileSize = 1000;
        Jobs.InfoText = "Input #0\nStream #0:0";
        std::filesystem::create_directories(Output());
        std::filesystem::create_directories(Inputs());
    }

    void StartWindow() {
        Start();
        Form1->FileOutPutPath = Output();
        Form1->Video_OutPut_Folder_Edit->SetText(Output());
        Form1->OpenDialogRunner = [this](bool Multiple, const std::string& Filter,
                                         std::vector<std::string>& Files) {
            DialogMultiple = Multiple;
            DialogFilter = Filter;
            Files = Chosen;
            return !Chosen.empty();
        };
    }

    std::string Output() const { return Folder.Path() + "/out"; }
    std::string Inputs() const { return Folder.Path() + "/in"; }
    std::string MakeInput(const std::string& Name, const std::string& Text = "x") const {
        const std::string Path = Inputs() + "/" + Name;
        std::ofstream(Path) << Text;
        return Path;
    }
    static void WriteFile(const std::string& Path, const std::string& Text) {
        std::ofstream(Path) << Text;
    }
    static std::string ReadFile(const std::string& Path) {
        std::ifstream In(Path);
        return std::string(std::istreambuf_iterator<char>(In), {});
    }

    std::vector<std::string> MemoLines() const {
        std::vector<std::string> Lines;
        for (int I = 0; I < Form1->mmoLog->Lines()->Count(); ++I)
            Lines.push_back(Form1->mmoLog->Lines()->Strings(I));
        return Lines;
    }
    bool MemoHas(const std::string& Line) const {
        const auto Lines = MemoLines();
        return std::find(Lines.begin(), Lines.end(), Line) != Lines.end();
    }
    bool MemoHasPrefix(const std::string& Start) const {
        for (const std::string& Line : MemoLines())
            if (Line.rfind(Start, 0) == 0)
                return true;
        return false;
    }
    static std::string Cell(int Row, int Index) {
        return Form1->lvFiles->Items()->Item(Row)->SubItems()->Strings(Index);
    }
    static int Rows() { return Form1->lvFiles->Items()->Count(); }
    int Count(const std::string& Call) const {
        return static_cast<int>(std::count(Jobs.Calls.begin(), Jobs.Calls.end(), Call));
    }

    // Adds through the one-file or the several-file command; a notice the
    // add shows (a file it did not take) is answered and kept in Notices.
    void AddFiles(std::vector<std::string> Files) {
        Chosen = std::move(Files);
        Notices.clear();
        const auto Saved = Application->OnIdle;
        Application->OnIdle = [this](TObject*, bool&) {
            TCustomForm* Form = Screen->ActiveForm();
            if (!Form || Form == Application->MainForm() || !Form->Visible() ||
                Form->ModalResult() != mrNone)
                return;
            std::string Seen = Form->Caption();
            if (auto* Skinned = dynamic_cast<TbsMessageForm*>(Form))
                Seen += "|" + Skinned->Message->Caption();
            Notices.push_back(Seen);
            Form->SetModalResult(mrOk);
        };
        if (Chosen.size() == 1)
            Form1->btnAddClick(nullptr);
        else
            Form1->Button8Click(nullptr);
        Application->OnIdle = Saved;
    }

    // The category and profile of that title chosen in the two drop-downs.
    static void ChooseProfile(const std::string& Title) {
        auto* Categories = Form1->bsSkinOfficeComboBox2;
        auto* Profiles = Form1->bsSkinOfficeComboBox1;
        for (int C = 0; C < Categories->Items()->Count(); ++C) {
            Categories->SetItemIndex(C);
            for (int P = 0; P < Profiles->Items()->Count(); ++P)
                if (Profiles->Items()->Items(P)->Title() == Title) {
                    Profiles->SetItemIndex(P);
                    return;
                }
        }
        ADD_FAILURE() << "no profile " << Title;
    }
    // Runs Command expecting one modal box; answers its caption and, for a
    // skinned box, its text.
    static std::string BoxOf(const std::function<void()>& Command) {
        std::string Seen;
        {
            TScriptNextModal Script([&](TCustomForm& Shown) {
                Seen = Shown.Caption();
                if (auto* Skinned = dynamic_cast<TbsMessageForm*>(&Shown))
                    Seen += "|" + Skinned->Message->Caption();
                Shown.SetModalResult(mrOk);
            });
            Command();
        }
        return Seen;
    }

    TScriptedJobQueue Jobs;
    std::vector<std::string> Chosen;
    std::vector<std::string> Notices; // "caption|text" of the last AddFiles' boxes
    bool DialogMultiple = false;
    std::string DialogFilter;
};
