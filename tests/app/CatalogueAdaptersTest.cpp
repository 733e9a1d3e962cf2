// The catalogue's handlers rely on exact moments of OnChange: the adapters
// over the real skinned controls keep them as the fakes do, and the job
// row adapter writes the selected row of the real table.
#include "app/CatalogueControlAdapters.h"
#include "app/Unit1.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ListViews.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinCtrls.Views.h"
#include "tests/app/support/ProgramFixture.h"
#include "tests/catalogue/CatalogueControlsContract.h"

#include <memory>

namespace {

// A form on the headless backend holding one control of type T.
template <class T> class TControlHarness {
public:
    TControlHarness() {
        SetBackend(&FHeadless);
        InitApplication();
        FForm = new TForm(Application);
        FControl = new T(FForm);
        FControl->SetParent(FForm);
        FControl->SetBounds(10, 10, 200, 24);
    }
    ~TControlHarness() {
        delete FForm;
        DoneApplication();
        ResetWindowSystem();
        SetBackend(nullptr);
    }

protected:
    THeadlessBackend FHeadless;
    TForm* FForm = nullptr;
    T* FControl = nullptr;
};

struct TOfficeHarness : TControlHarness<TbsSkinOfficeComboBox> {
    IOfficeComboList& Combo() { return Adapter; }
    TOfficeComboListAdapter Adapter{*FControl};
};

struct TTextHarness : TControlHarness<TbsSkinComboBox> {
    TTextHarness() { FControl->SetStyle(bscbFixedStyle); }
    ITextComboList& Combo() { return Adapter; }
    TTextComboListAdapter Adapter{*FControl};
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(SkinnedControls, CatalogueOfficeComboContract, TOfficeHarness);
INSTANTIATE_TYPED_TEST_SUITE_P(SkinnedControls, CatalogueTextComboContract, TTextHarness);

namespace {

using CatalogueInWindow = TProgramFixture;

TListItem* AddRow(TCustomListView& Table, const std::string& Caption) {
    TListItem* Row = Table.Items()->Add();
    Row->SetCaption(Caption);
    for (int I = 0; I < 24; ++I)
        Row->SubItems()->Add("");
    return Row;
}

TEST_F(CatalogueInWindow, RowAdapterReadsAndWritesOnlyTheSelectedRow) {
    Start();
    TbsSkinListView& Table = *Form1->lvFiles;
    TJobRowTableAdapter Rows(Table);
    EXPECT_FALSE(Rows.HasSelectedRow());
    EXPECT_EQ(Rows.SubItem(2), "");
    Rows.SetSubItem(2, "ignored");
    TListItem* First = AddRow(Table, "/in/a.avi");
    TListItem* Second = AddRow(Table, "/in/b.avi");
    Table.SetSelected(Second);
    ASSERT_TRUE(Rows.HasSelectedRow());
    Rows.SetSubItem(siOutputFileName, "b.mp4");
    EXPECT_EQ(Rows.SubItem(siOutputFileName), "b.mp4");
    EXPECT_EQ(Second->SubItems()->Strings(siOutputFileName), "b.mp4");
    EXPECT_EQ(First->SubItems()->Strings(siOutputFileName), "");
}

TEST_F(CatalogueInWindow, ChoosingAProfileWritesItsCodeIntoTheSelectedRow) {
    Start();
    TbsSkinListView& Table = *Form1->lvFiles;
    TListItem* Row = AddRow(Table, "/in/a.avi");
    Table.SetSelected(Row);
    Form1->bsSkinOfficeComboBox2->SetItemIndex(2);
    Form1->bsSkinOfficeComboBox1->SetItemIndex(4);
    EXPECT_EQ(Row->SubItems()->Strings(siProfileCode), "304");
    EXPECT_EQ(Row->SubItems()->Strings(siParameterCode),
              Form1->Catalogue().ParameterCodeFromLists());
    EXPECT_EQ(Row->SubItems()->Strings(siParameterCode).size(), 12u);
}

} // namespace
