#include "tests/skin/dialogs/SkinDialogsTestSupport.h"

#include "platform/core/StringLists.h"

namespace skindlg {

void TSkinDialogsTest::SetUp() {
    skinctl::TSkinControlsTest::SetUp();
    Main = Application->CreateForm<TForm>();
    Main->SetName("Main");
    Main->SetBounds(50, 50, 500, 400);
    Main->Show();
    Pump();
}

void TSkinDialogsTest::TearDown() {
    Tables.clear();
    skinctl::TSkinControlsTest::TearDown();
}

void TSkinDialogsTest::Press(WORD Key, const char* Text) {
    Headless.KeyDown(Key, Text);
    Headless.KeyUp(Key);
}

void TSkinDialogsTest::ClickAt(TControl* Control, int X, int Y) {
    TPoint P = Control->ClientToScreen({X, Y});
    Headless.Click(P.X, P.Y);
}

TbsResourceStrData* TSkinDialogsTest::WordTable(const std::vector<std::string>& Lines) {
    auto Table = std::make_unique<TbsResourceStrData>(nullptr);
    TStringList List;
    for (const std::string& Line : Lines)
        List.Add(Line);
    Table->SetResStrings(&List);
    Tables.push_back(std::move(Table));
    return Tables.back().get();
}

} // namespace skindlg
