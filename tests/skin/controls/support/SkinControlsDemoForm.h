// The form of the skinned controls demonstration, shared by the demo and the
// benchmarks: two halves holding the same controls, the left one without
// skin data, the right one bound to the form's own skin data.
#pragma once

#include "tests/skin/controls/support/SkinControlsSupport.h"

#include <string>
#include <utility>
#include <vector>

namespace skinctl {

// The controls of one half, with the names layout.txt gives them.
struct THalf {
    std::vector<std::pair<std::string, TControl*>> Named;
    template <class T> T* Add(const std::string& Name, T* Control) {
        Named.emplace_back(Name, Control);
        return Control;
    }
};

class TDemoForm : public TSkinChangeForm {
public:
    explicit TDemoForm(TComponent* AOwner);

    THalf Left, Right;
    TbsSkinData Data;

    // Binds every skinned control of the right half to Data.
    void BindRight();

private:
    template <class T>
    T* Place(THalf& H, const std::string& Name, TWinControl* Parent, int X, int Y, int W, int Ht);
    void Build(THalf& H, int X0, const std::string& GroupCaption);
};

// Binds C to Data when it is a skinned control of any family.
void BindSkinData(TControl* C, TbsSkinData* Data);

// The skin data a demonstration shows, owned by Owner, from its command
// line's Choice: empty for the standard test skin (written under Dir/skin),
// "stored:N" for the program's stored skin N, else a skin file. Null, with
// the reason on stderr after Program, when the skin did not load.
TbsSkinData* LoadDemoSkin(TComponent* Owner, const std::string& Dir, const std::string& Choice,
                          const char* Program);

} // namespace skinctl
