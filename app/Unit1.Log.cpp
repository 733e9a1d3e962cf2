// The log memo, help, the web site and the about box.
#include "app/Unit1.h"

#include "app/ExternalActions.h"
#include "app/ProgramServices.h"
#include "app/Unit2.h"
#include "platform/core/Conversions.h"
#include "platform/core/Paths.h"
#include "platform/core/StringLists.h"
#include "platform/forms/Edits.h"

std::string LogMemoText(TThreadID ThreadId, TLogLevel Level, const std::string& Message) {
    return "#" + IntToStr(static_cast<std::int64_t>(ThreadId)) + "." +
           IntToStr(static_cast<int>(Level)) + ": " + Message;
}

std::vector<std::string> LogMemoLines(const std::string& Text) {
    std::vector<std::string> Lines;
    std::size_t Start = 0;
    for (;;) {
        const std::size_t End = Text.find('\n', Start);
        std::string Line = Text.substr(Start, End == std::string::npos ? End : End - Start);
        if (!Line.empty() && Line.back() == '\r')
            Line.pop_back();
        Lines.push_back(std::move(Line));
        if (End == std::string::npos)
            return Lines;
        Start = End + 1;
    }
}

namespace {

void AppendLines(TMemo& Memo, const std::string& Text) {
    for (const std::string& Line : LogMemoLines(Text))
        Memo.Lines()->Add(Line);
}

} // namespace

void TForm1::FFLoggerLog(TObject*, TThreadID AThreadID, TLogLevel ALogLevel,
                         const std::string& ALogMsg) {
    AppendLines(*mmoLog, LogMemoText(AThreadID, ALogLevel, ALogMsg));
}

void TForm1::LogDiagnostic(const std::string& Text) {
    mmoLog->Lines()->Add("");
    AppendLines(*mmoLog, Text);
    mmoLog->Lines()->Add("");
}

void TForm1::Button1Click(TObject*) {
    // No help file is shipped: the user is told where it was looked for
    // rather than nothing happening.
    const std::string HelpFile = ProgramFolder() + Application->HelpFile();
    if (!FileExists(HelpFile)) {
        ShowNotice("找不到帮助文件：" + HelpFile);
        return;
    }
    std::string Error;
    Actions().Open(HelpFile, Error);
}

void TForm1::N15Click(TObject* Sender) {
    Button1Click(Sender);
}

void TForm1::N19Click(TObject*) {
    std::string Error;
    Actions().Open(OstrelaWebSite, Error);
}

void TForm1::N5Click(TObject*) {
    if (Form2)
        Form2->ShowModal();
}
