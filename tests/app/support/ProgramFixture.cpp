#include "tests/app/support/ProgramFixture.h"

#include "app/Program.h"
#include "app/ProgramServices.h"
#include "app/Unit1.h"
#include "platform/core/IniFiles.h"
#include "platform/forms/Forms.h"
#include "platform/win/Windows.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

void TProgramEnvironment::OpenEnvironment() {
    std::filesystem::create_directories(ProgramFolder());
    std::filesystem::create_directories(HomeFolder());
    if (const char* Home = std::getenv("HOME"))
        FSavedHome = Home;
    setenv("HOME", HomeFolder().c_str(), 1);
    SetBackend(&Headless);
    Headless.UseManualClock(&Clock);
    InitApplication();
    TProgramServices Services;
    Services.Queue = &Queue;
    Services.Player = &Player;
    Services.Actions = &Actions;
    Services.ProgramFolder = ProgramFolder();
    SetProgramServices(Services);
}

void TProgramEnvironment::CloseEnvironment() {
    while (Screen && Screen->FormCount() > 0)
        delete Screen->Forms(Screen->FormCount() - 1);
    SetProgramServices({});
    DoneApplication();
    ResetWindowSystem();
    Headless.ResetClock();
    SetBackend(nullptr);
    if (FSavedHome)
        setenv("HOME", FSavedHome->c_str(), 1);
    else
        unsetenv("HOME");
    FSavedHome.reset();
}

void TProgramEnvironment::WriteOptionFile(const std::string& Text) const {
    std::ofstream(OptionPath(), std::ios::binary) << Text;
}

void TProgramFixture::SetUp() {
    OpenEnvironment();
}

void TProgramFixture::TearDown() {
    if (Started)
        DestroyProgramForms();
    CloseEnvironment();
}

void TProgramFixture::Start() {
    CreateProgramForms();
    Started = true;
    Form1->Show();
    Pump();
}

void TProgramFixture::Stop() {
    Form1->Close();
    Pump();
}

void TProgramFixture::DestroyProgramFormsForRestart() {
    DestroyProgramForms();
    Started = false;
    DoneApplication();
    ResetWindowSystem();
    InitApplication();
}

void TProgramFixture::Pump() {
    Application->ProcessMessages();
}

std::string TProgramFixture::OptionText() const {
    std::ifstream In(OptionPath(), std::ios::binary);
    std::ostringstream Text;
    Text << In.rdbuf();
    return Text.str();
}

std::optional<std::string> TProgramFixture::Stored(const std::string& Section,
                                                   const std::string& Key) const {
    TIniFile Ini(OptionPath());
    std::string Value = Ini.ReadString(Section, Key, "\x01");
    if (Value == "\x01")
        return std::nullopt;
    return Value;
}

std::uint32_t TProgramFixture::PixelOf(TControl* Control, int X, int Y) {
    Pump();
    FlushPresents();
    TPoint P = Control->ClientToScreen({X, Y});
    return Headless.ScreenPixel(P.X, P.Y);
}

TScriptNextModal::TScriptNextModal(std::function<void(TCustomForm&)> Action)
    : FAction(std::move(Action)) {
    Application->OnIdle = [this](TObject*, bool&) {
        TCustomForm* Form = Screen->ActiveForm();
        if (FRan || !Form || Form == Application->MainForm() || !Form->Visible())
            return;
        FRan = true;
        FAction(*Form);
    };
}

TScriptNextModal::~TScriptNextModal() {
    Application->OnIdle = {};
    EXPECT_TRUE(FRan) << "no modal form showed";
}
