// Prints every legacy profile key as the real form shows and writes it, on
// the headless backend: for each key chosen through the two combos, the
// profile item's title, description and image index, each list's items,
// selected index, shown text and enabled state, every working-set field
// after the settings step on a set of sentinel values, and then after the
// read-back of the six lists. Used to audit the tables against their source
// by a separate script.
#include "catalogue/ProfileWorkingSet.h"
#include "legacy/LegacyHost.h"
#include "legacy/LegacyTables.h"
#include "legacy/Unit6.h"
#include "platform/core/Clock.h"
#include "platform/core/Threads.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/controls/bsSkinCombos.h"
#include "tests/support/TempDir.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Field(const char* Name, const std::string& Value) {
    std::printf("  %s=%s\n", Name, Value.c_str());
}

TProfileWorkingSet Sentinels() {
    TProfileWorkingSet Set;
    Set.Video_AddFileName = "/in/clip.mkv";
    for (std::string* Text :
         {&Set.Video_FileExt, &Set.Video_VideoCodec, &Set.Video_VideoTag, &Set.Video_AudioCodec,
          &Set.Video_FrameSize, &Set.Video_FrameRate, &Set.Video_FrameAspectRatio,
          &Set.Video_AudioSampleRate, &Set.Video_AudioChannels, &Set.Video_AudioVolume,
          &Set.Video_TargetType, &Set.Video_NormType, &Set.Video_FileFormat,
          &Set.Video_VideoFilters, &Set.Video_CopyTimestamp})
        *Text = "<kept>";
    Set.Video_VideoBitrate = -7;
    Set.Video_AudioBitrate = -7;
    return Set;
}

class TDumpHost : public TLegacyFormHost {
public:
    TProfileWorkingSet& WorkingSet() override { return Set; }
    std::string OutputFolderText() override { return Folder; }
    bool OverwriteChosen() override { return true; }
    TbsSkinData* SkinData() override { return nullptr; }

    TProfileWorkingSet Set = Sentinels();
    std::string Folder;
};

void Fields(const TProfileWorkingSet& Set, const std::string& Folder, const char* Prefix) {
    auto F = [&](const char* Name, const std::string& Value) {
        Field((std::string(Prefix) + Name).c_str(), Value);
    };
    std::string Output = Set.Video_OutPutFileName;
    // The folder is a fresh temporary one: print it as "/out".
    if (Output.rfind(Folder, 0) == 0)
        Output = "/out" + Output.substr(Folder.size());
    F("Video_OutPutFileName", Output);
    F("Video_FileExt", Set.Video_FileExt);
    F("Video_VideoCodec", Set.Video_VideoCodec);
    F("Video_VideoTag", Set.Video_VideoTag);
    F("Video_AudioCodec", Set.Video_AudioCodec);
    F("Video_FrameSize", Set.Video_FrameSize);
    F("Video_FrameRate", Set.Video_FrameRate);
    F("Video_FrameAspectRatio", Set.Video_FrameAspectRatio);
    F("Video_VideoBitrate", std::to_string(Set.Video_VideoBitrate));
    F("Video_AudioBitrate", std::to_string(Set.Video_AudioBitrate));
    F("Video_AudioSampleRate", Set.Video_AudioSampleRate);
    F("Video_AudioChannels", Set.Video_AudioChannels);
    F("Video_AudioVolume", Set.Video_AudioVolume);
    F("Video_VideoFilters", Set.Video_VideoFilters);
    F("Video_NormType", Set.Video_NormType);
    F("Video_CopyTimestamp", Set.Video_CopyTimestamp);
    F("Video_FileFormat", Set.Video_FileFormat);
    F("Video_TargetType", Set.Video_TargetType);
    F("Video_DisableVideo", Set.Video_DisableVideo ? "1" : "0");
}

void Dump(TForm6* Form, TDumpHost& Host) {
    static const char* KindNames[] = {"FrameSize",    "VideoBitrate", "FrameRate",
                                      "AudioBitrate", "SampleRate",   "AspectMode"};
    // The lists in kind order.
    TbsSkinComboBox* const Lists[] = {Form->bsSkinComboBox1,  Form->bsSkinComboBox2,
                                      Form->bsSkinComboBox9,  Form->bsSkinComboBox3,
                                      Form->bsSkinComboBox10, Form->bsSkinComboBox4};
    TbsSkinOfficeComboBox* Categories = Form->bsSkinOfficeComboBox2;
    TbsSkinOfficeComboBox* Profiles = Form->bsSkinOfficeComboBox1;
    for (int Category = 0; Category < Categories->Items()->Count(); ++Category) {
        Categories->SetItemIndex(Category);
        TbsSkinOfficeItem* C = Categories->Items()->Items(Category);
        std::printf("category %d %s %d\n", Category, C->Caption().c_str(), C->ImageIndex());
        for (int Profile = 0; Profile < Profiles->Items()->Count(); ++Profile) {
            Profiles->SetItemIndex(Profile);
            Form->Button18Click(Form);
            const int Key = Form->ProfileKey();
            TbsSkinOfficeItem* P = Profiles->Items()->Items(Profile);
            std::printf("key %d\n", Key);
            Field("Title", P->Title());
            Field("Caption", P->Caption());
            Field("ImageIndex", std::to_string(P->ImageIndex()));
            bool AudioOnly = true;
            for (int Kind = 0; Kind < 6; ++Kind) {
                TbsSkinComboBox* List = Lists[Kind];
                std::string Items;
                for (int I = 0; I < List->Items()->Count(); ++I)
                    Items += std::string(I == 0 ? "" : "|") + List->Items()->Strings(I);
                Field(KindNames[Kind], Items);
                Field((std::string(KindNames[Kind]) + "Default").c_str(),
                      std::to_string(List->ItemIndex()));
                Field((std::string(KindNames[Kind]) + "Shown").c_str(), List->Text());
                Field((std::string(KindNames[Kind]) + "Enabled").c_str(),
                      List->Enabled() ? "1" : "0");
                const bool Video = Kind != 3 && Kind != 4;
                if (Video && List->Enabled())
                    AudioOnly = false;
            }
            Field("AudioOnly", AudioOnly ? "1" : "0");
            Host.Set = Sentinels();
            Form->Button5Click(Form);
            Fields(Host.Set, Host.Folder, "");
            Form->Button13Click(Form);
            Fields(Host.Set, Host.Folder, "ReadBack.");
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication App(argc, argv);
    THeadlessBackend Headless;
    TManualClock Clock{1000};
    SetBackend(&Headless);
    Headless.UseManualClock(&Clock);
    InitApplication();
    {
        TTempDir Out;
        TDumpHost Host;
        Host.Folder = Out.Path();
        Dump(CreateFormInCode<TForm6>(Application, Host), Host);
        while (Screen->FormCount() > 0)
            delete Screen->Forms(Screen->FormCount() - 1);
    }
    DoneApplication();
    ResetWindowSystem();
    Headless.ResetClock();
    SetBackend(nullptr);
    return 0;
}
