// Fixture of the message box and skin chooser tests: the skinned controls'
// headless fixture (standard test skin in Data), a shown main form, and
// helpers that find a dialog's parts and act on them inside its modal run.
#pragma once

#include "platform/forms/Forms.h"
#include "skin/model/bsSkinData.ResStr.h"
#include "tests/skin/controls/support/SkinControlsSupport.h"
#include "tests/support/ModalScript.h"

#include <memory>
#include <string>
#include <vector>

namespace skindlg {

// The component of Owner named Name, of type T, or nullptr.
template <class T> T* Part(TComponent* Owner, const std::string& Name) {
    for (int I = 0; Owner && I < Owner->ComponentCount(); ++I)
        if (Owner->Components(I)->Name() == Name)
            return dynamic_cast<T*>(Owner->Components(I));
    return nullptr;
}

class TSkinDialogsTest : public skinctl::TSkinControlsTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A key pressed and released on the focused window.
    void Press(WORD Key, const char* Text = "");
    // A left click at a client point of Control.
    void ClickAt(TControl* Control, int X, int Y);
    // A word table holding Lines ("KEY=text"), owned by the fixture.
    TbsResourceStrData* WordTable(const std::vector<std::string>& Lines);

    TForm* Main = nullptr;
    std::vector<std::unique_ptr<TbsResourceStrData>> Tables;
};

} // namespace skindlg
