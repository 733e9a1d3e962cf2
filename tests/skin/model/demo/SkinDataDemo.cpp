// What one skin data holds, on a real X display, for photographs.
// Usage: skin_data_demo FOLDER, where FOLDER was written by make-test-skin.
//
// Loads in turn the skin folder, the compressed file, entries 1 and 2 of the
// stored list and a copy of the compressed file cut in half. After each step
// the form shows the frame pictures, the active pictures, the VERSION texts,
// the element counts and every skin message the form received, and the demo
// prints "step N". It moves on once FOLDER/go-N exists (N the next step)
// and ends once FOLDER/quit exists.
#include "platform/core/Clock.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Streams.h"
#include "platform/core/Threads.h"
#include "platform/forms/Forms.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"
#include "skin/model/bsMessages.h"
#include "skin/model/bsSkinData.h"

#include <QGuiApplication>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

TQtBackend* Desktop = nullptr;

std::string MessageName(UINT Msg) {
    switch (Msg) {
    case WM_BEFORECHANGESKINDATA:
        return "BEFORE";
    case WM_CHANGESKINDATA:
        return "CHANGE";
    case WM_AFTERCHANGESKINDATA:
        return "AFTER";
    case WM_CHANGERESSTRDATA:
        return "CHANGERESSTRDATA";
    case WM_CHANGEFORMSKINNABLE:
        return "CHANGEFORMSKINNABLE";
    case WM_SHOWLAYEREDBORDERS:
        return "SHOWLAYEREDBORDERS";
    default:
        return std::to_string(Msg);
    }
}

class TSkinDataDemoForm : public TForm {
public:
    explicit TSkinDataDemoForm(TComponent* AOwner) : TForm(AOwner) {
        SetName("SkinDataDemoForm");
        SetCaption("Skin data");
        SetBorderStyle(bsSingle);
        SetPosition(poDesktopCenter);
        HandleNeeded();
        SetClientWidth(1100);
        SetClientHeight(800);
        Data = new TbsSkinData(this);
        List = new TbsCompressedSkinList(this);
    }

    TbsSkinData* Data;
    TbsCompressedSkinList* List;
    std::string Step;
    std::string Error;
    std::vector<std::string> Messages;

    void WndProc(TMessage& Message) override {
        if (Message.Msg == WM_BEFORECHANGESKINDATA || Message.Msg == WM_CHANGESKINDATA ||
            Message.Msg == WM_AFTERCHANGESKINDATA || Message.Msg == WM_CHANGERESSTRDATA ||
            Message.Msg == WM_CHANGEFORMSKINNABLE || Message.Msg == WM_SHOWLAYEREDBORDERS) {
            const auto* Sender = reinterpret_cast<const TbsSkinData*>(Message.WParam);
            std::ostringstream Line;
            Line << "[" << Step << "] " << Message.Msg << " " << MessageName(Message.Msg)
                 << "  wParam=" << (Sender == Data ? "the skin data" : "?")
                 << "  lParam=" << Message.LParam << "  Empty=" << Sender->Empty
                 << "  ChangeSkinDataProcess=" << Sender->ChangeSkinDataProcess;
            Messages.push_back(Line.str());
        }
        TForm::WndProc(Message);
    }

protected:
    void Paint() override {
        TCanvas* C = Canvas();
        C->Brush()->SetColor(clWhite);
        C->FillRect(Rect(0, 0, ClientWidth(), ClientHeight()));
        C->Font()->SetName("Arial");
        C->Font()->SetHeight(-13);
        C->Font()->SetColor(clBlack);
        int Y = 8;
        C->TextOut(8, Y, "Step: " + Step);
        Y += 18;
        C->TextOut(8, Y,
                   "VERSION: " + Data->SkinName + "  |  " + Data->SkinAuthor + "  |  " +
                       Data->AuthorEmail + "  |  " + Data->AuthorURL + "  |  " +
                       Data->SkinComments);
        Y += 18;
        C->TextOut(8, Y,
                   "controls: " + std::to_string(Data->CtrlList.size()) +
                       "    objects: " + std::to_string(Data->ObjectList.size()) +
                       "    Empty=" + std::to_string(Data->Empty));
        Y += 18;
        if (!Error.empty()) {
            C->Font()->SetColor(clRed);
            C->TextOut(8, Y, "Error: " + Error);
            C->Font()->SetColor(clBlack);
        }
        Y += 24;
        int X = 8;
        auto Picture = [&](TBitmap* P, const std::string& Label, int Scale) {
            C->TextOut(X, Y, Label);
            if (!P->Empty()) {
                const TRect R = Bounds(X, Y + 18, P->Width() * Scale, P->Height() * Scale);
                C->StretchDraw(R, P);
                X += std::max(P->Width() * Scale, 150) + 12;
            } else {
                X += 150;
            }
        };
        Picture(Data->FPicture.get(), "frame: " + Data->FPictureName, 2);
        Picture(Data->FInActivePicture.get(), "inactive: " + Data->FInActivePictureName, 2);
        Picture(Data->FMask.get(), "mask: " + Data->FMaskName, 2);
        Y += 170;
        X = 8;
        for (std::size_t i = 0; i < Data->FActivePictures.size(); ++i) {
            const std::string Name = int(i) < Data->FActivePicturesNames->Count()
                                         ? Data->FActivePicturesNames->Strings(int(i))
                                         : "";
            Picture(Data->FActivePictures[i].get(), std::to_string(i) + ": " + Name, 2);
        }
        Y += 320;
        C->TextOut(8, Y, "Skin messages received (number, wParam, lParam, flags):");
        Y += 18;
        const std::size_t First = Messages.size() > 12 ? Messages.size() - 12 : 0;
        for (std::size_t i = First; i < Messages.size(); ++i, Y += 16)
            C->TextOut(16, Y, Messages[i]);
    }
};

void Pump(std::uint32_t Until) {
    Application->ProcessMessages();
    FlushPresents();
    Desktop->Wait(Until, "SkinDataDemo");
}

void Settle() {
    for (int I = 0; I < 10; ++I)
        Pump(GetTickCount() + 50);
}

// Waits for Dir/Name; false after two minutes.
bool WaitForFile(const std::string& Path) {
    const std::uint32_t GiveUp = GetTickCount() + 120000;
    while (!std::filesystem::exists(Path)) {
        if (std::int32_t(GetTickCount() - GiveUp) > 0)
            return false;
        Pump(GetTickCount() + 100);
    }
    return true;
}

void ReadList(TbsCompressedSkinList* List, const std::string& Dir) {
    for (int i = 0; std::filesystem::exists(Dir + "/list/bsSkin" + std::to_string(i) + ".skn");
         ++i) {
        TFileStream File(Dir + "/list/bsSkin" + std::to_string(i) + ".skn", fmOpenRead);
        List->Skins()->Add()->ReadSkin(File);
    }
}

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin_data_demo FOLDER\n");
        return 2;
    }
    const std::string Dir = argv[1];
    std::string Error;
    if (!PrepareQtPlatform(Error)) {
        std::fprintf(stderr, "%s\n", Error.c_str());
        return 1;
    }
    int QtArgc = 1;
    char* QtArgv[] = {argv[0], nullptr};
    QGuiApplication App(QtArgc, QtArgv);
    int Status = 0;
    {
        TQtBackend Backend;
        Desktop = &Backend;
        SetBackend(&Backend);
        InitApplication();
        auto* Form = Application->CreateForm<TSkinDataDemoForm>();
        ReadList(Form->List, Dir);
        // A copy of the compressed file cut in half.
        std::string Bytes;
        {
            std::ifstream In(Dir + "/standard.skn", std::ios::binary);
            Bytes.assign(std::istreambuf_iterator<char>(In), {});
        }
        std::ofstream(Dir + "/cut.skn", std::ios::binary) << Bytes.substr(0, Bytes.size() / 2);

        struct TStep {
            const char* Name;
            std::function<void()> Load;
        };
        TbsSkinData* Data = Form->Data;
        TbsCompressedSkinList* List = Form->List;
        const TStep Steps[] = {
            {"folder", [&] { Data->LoadFromFile(Dir + "/folder/skin.ini"); }},
            {"compressed file", [&] { Data->LoadFromCompressedFile(Dir + "/standard.skn"); }},
            {"list entry 1",
             [&] {
                 Data->SetSkinIndex(1);
                 Data->SetSkinList(List);
             }},
            {"list entry 2", [&] { Data->SetSkinIndex(2); }},
            {"compressed file cut in half",
             [&] { Data->LoadFromCompressedFile(Dir + "/cut.skn"); }},
        };
        Form->Show();
        Settle();
        for (int N = 0; N < int(std::size(Steps)) && Status == 0; ++N) {
            if (N > 0 && !WaitForFile(Dir + "/go-" + std::to_string(N))) {
                Status = 1;
                break;
            }
            Form->Step = Steps[N].Name;
            Form->Error.clear();
            try {
                Steps[N].Load();
            } catch (const std::exception& E) {
                Form->Error = E.what();
            }
            Form->Invalidate();
            Settle();
            std::printf("step %d %s\n", N, Steps[N].Name);
            std::fflush(stdout);
        }
        if (Status == 0)
            WaitForFile(Dir + "/quit");
        DoneApplication();
        ResetWindowSystem();
        SetBackend(nullptr);
    }
    return Status;
}
