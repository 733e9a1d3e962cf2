// The log memo, help, the web site and the about box.
#include "app/ProgramServices.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "platform/forms/Edits.h"
#include "platform/forms/Forms.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.Labels.h"
#include "skin/controls/bsSkinEdits.h"
#include "tests/app/support/ProgramFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

using LogHelpAbout = TProgramFixture;

std::vector<std::string> MemoLines() {
    std::vector<std::string> Lines;
    for (int I = 0; I < Form1->mmoLog->Lines()->Count(); ++I)
        Lines.push_back(Form1->mmoLog->Lines()->Strings(I));
    return Lines;
}

TEST_F(LogHelpAbout, LoggerEventsBecomeMemoLinesOfThreadLevelAndMessage) {
    Start();
    const TLogEvent& Log = Form1->FFLogger->OnLog;
    ASSERT_TRUE(Log);
    Log(nullptr, 52, llError, "x");
    Log(nullptr, 0, llQuiet, "");
    Log(nullptr, 7, llInfo, "a\nb");
    Log(nullptr, 4000000000u, llDebug, "big");
    EXPECT_EQ(MemoLines(), (std::vector<std::string>{"#52.3: x", "#0.0: ", "#7.5: a", "b",
                                                     "#4000000000.7: big"}));
    // A diagnostic stands between empty lines.
    Form1->LogDiagnostic("*** 文件无法打开");
    Log(nullptr, 1, llInfo, "next");
    const std::vector<std::string> Lines = MemoLines();
    ASSERT_EQ(Lines.size(), 9u);
    EXPECT_EQ(std::vector<std::string>(Lines.begin() + 5, Lines.end()),
              (std::vector<std::string>{"", "*** 文件无法打开", "", "#1.5: next"}));
}

TEST_F(LogHelpAbout, HelpOpensTheHelpFileBesideTheProgram) {
    std::ofstream(ProgramFolder() + "help.chm") << "help";
    Start();
    Form1->N15Click(nullptr);
    Form1->Button1Click(nullptr);
    const std::string Expected = "Open " + ProgramFolder() + "help.chm";
    EXPECT_EQ(Actions.Calls, (std::vector<std::string>{Expected, Expected}));
}

TEST_F(LogHelpAbout, HelpWithoutAHelpFileSaysSoAndOpensNothing) {
    Start();
    std::string Caption;
    {
        TScriptNextModal Script([&](TCustomForm& Shown) {
            Caption = Shown.Caption();
            Shown.SetModalResult(mrOk);
        });
        Form1->N15Click(nullptr);
    }
    EXPECT_EQ(Caption, "提示");
    EXPECT_TRUE(Actions.Calls.empty());
}

TEST_F(LogHelpAbout, WebSiteOpensTheAddressTheLinkShows) {
    Start();
    Form1->N19Click(nullptr);
    EXPECT_EQ(Actions.Calls, std::vector<std::string>{std::string("Open ") + OstrelaWebSite});
    EXPECT_EQ(Form1->bsSkinLinkLabel1->Caption(), OstrelaWebSite);
}

TEST_F(LogHelpAbout, AboutBoxIsTheSameBoxEachTimeAndOkClosesIt) {
    Start();
    std::vector<std::string> Seen;
    for (int Time = 0; Time < 2; ++Time) {
        TScriptNextModal Script([&](TCustomForm& Shown) {
            ASSERT_EQ(&Shown, Form2);
            Seen.push_back(Form2->bsSkinStdLabel3->Caption() + "|" +
                           Form2->bsSkinStdLabel4->Caption() + "|" +
                           Form2->bsSkinLinkLabel1->URL() + "|" + Form2->bsSkinLinkLabel2->URL());
            Form2->bsSkinButton1->ButtonClick();
        });
        Form1->N5Click(nullptr);
        EXPECT_FALSE(Form2->Visible());
    }
    ASSERT_EQ(Seen.size(), 2u);
    EXPECT_EQ(Seen[0], Seen[1]);
    EXPECT_EQ(Seen[0], std::string("Ostrela|") + OstrelaVersion() + "|" + OstrelaWebSite +
                           "|mailto:" + OstrelaSupportMail);
    EXPECT_EQ(Form2->Caption(), "关于软件");
    EXPECT_EQ(Form2->bsSkinButton1->Caption(), "确定");
    EXPECT_EQ(Form2->bsSkinButton1->Width(), 69);
    EXPECT_EQ(Form2->bsSkinButton1->Height(), 25);
}

} // namespace
