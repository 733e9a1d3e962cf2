#include "skin/model/bsSkinData.Kinds.h"

#include <array>
#include <functional>

namespace {

template <class TBase> struct TKind {
    const char* Word;
    std::function<std::unique_ptr<TBase>(const std::string&)> Create;
    std::function<bool(const TBase&)> IsInstance;
};

template <class TClass, class TBase> TKind<TBase> Kind(const char* Word) {
    return {Word, [](const std::string& IDName) { return std::make_unique<TClass>(IDName); },
            [](const TBase& Element) { return dynamic_cast<const TClass*>(&Element) != nullptr; }};
}

// In the writer's order: every derived kind comes before its base.
const std::array<TKind<TbsDataSkinControl>, 28>& ControlKinds() {
    using C = TbsDataSkinControl;
    static const std::array<TKind<C>, 28> Kinds = {
        Kind<TbsDataSkinPanelControl, C>("panel"),
        Kind<TbsDataSkinExPanelControl, C>("expanel"),
        Kind<TbsDataSkinMenuButtonControl, C>("menubutton"),
        Kind<TbsDataSkinButtonControl, C>("button"),
        Kind<TbsDataSkinCheckRadioControl, C>("checkradio"),
        Kind<TbsDataSkinGaugeControl, C>("gauge"),
        Kind<TbsDataSkinSplitterControl, C>("splitter"),
        Kind<TbsDataSkinTrackBarControl, C>("trackbar"),
        Kind<TbsDataSkinLabelControl, C>("label"),
        Kind<TbsDataSkinStdLabelControl, C>("stdlabel"),
        Kind<TbsDataSkinUpDownControl, C>("updown"),
        Kind<TbsDataSkinGridControl, C>("grid"),
        Kind<TbsDataSkinTabControl, C>("tab"),
        Kind<TbsDataSkinMainMenuBar, C>("mainmenubar"),
        Kind<TbsDataSkinControlBar, C>("controlbar"),
        Kind<TbsDataSkinMemoControl, C>("memo"),
        Kind<TbsDataSkinEditControl, C>("edit"),
        Kind<TbsDataSkinCheckListBox, C>("checklistbox"),
        Kind<TbsDataSkinListBox, C>("listbox"),
        Kind<TbsDataSkinComboBox, C>("combobox"),
        Kind<TbsDataSkinScrollBarControl, C>("scrollbar"),
        Kind<TbsDataSkinSpinEditControl, C>("spinedit"),
        Kind<TbsDataSkinScrollBoxControl, C>("scrollbox"),
        Kind<TbsDataSkinTreeView, C>("treeview"),
        Kind<TbsDataSkinBevel, C>("bevel"),
        Kind<TbsDataSkinSlider, C>("slider"),
        Kind<TbsDataSkinListView, C>("listview"),
        Kind<TbsDataSkinRichEdit, C>("richedit"),
    };
    return Kinds;
}

const std::array<TKind<TbsDataSkinObject>, 8>& ObjectKinds() {
    using O = TbsDataSkinObject;
    static const std::array<TKind<O>, 8> Kinds = {
        Kind<TbsDataSkinMenuItem, O>("menuitem"),
        Kind<TbsDataSkinMainMenuBarItem, O>("mainmenubaritem"),
        Kind<TbsDataSkinMainMenuBarButton, O>("mainmenubarbutton"),
        Kind<TbsDataSkinStdButton, O>("stdbutton"),
        Kind<TbsDataSkinButton, O>("button"),
        Kind<TbsDataSkinCaption, O>("caption"),
        Kind<TbsDataUserObject, O>("userobject"),
        Kind<TbsDataSkinAnimate, O>("animate"),
    };
    return Kinds;
}

template <class TBase, std::size_t N>
std::unique_ptr<TBase> CreateOfKind(const std::array<TKind<TBase>, N>& Kinds,
                                    const std::string& Word, const std::string& IDName) {
    for (const TKind<TBase>& K : Kinds)
        if (Word == K.Word)
            return K.Create(IDName);
    return nullptr;
}

template <class TBase, std::size_t N>
std::string KindOf(const std::array<TKind<TBase>, N>& Kinds, const TBase& Element) {
    for (const TKind<TBase>& K : Kinds)
        if (K.IsInstance(Element))
            return K.Word;
    return "";
}

} // namespace

std::unique_ptr<TbsDataSkinControl> CreateSkinControl(const std::string& Kind,
                                                      const std::string& IDName) {
    return CreateOfKind(ControlKinds(), Kind, IDName);
}

std::unique_ptr<TbsDataSkinObject> CreateSkinObject(const std::string& Kind,
                                                    const std::string& IDName) {
    return CreateOfKind(ObjectKinds(), Kind, IDName);
}

std::string SkinControlKind(const TbsDataSkinControl& Control) {
    return KindOf(ControlKinds(), Control);
}

std::string SkinObjectKind(const TbsDataSkinObject& Object) {
    return KindOf(ObjectKinds(), Object);
}

void SplitSkinEntry(const std::string& Entry, std::string& IDName, std::string& Kind) {
    IDName.clear();
    Kind.clear();
    std::size_t Colon = Entry.find(':');
    if (Colon == std::string::npos)
        return;
    IDName = Entry.substr(0, Colon);
    Kind = Entry.substr(Colon + 1);
}

bool IsSkinIniComplete(TCustomIniFile& IniFile) {
    for (const char* Section : {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS", "SKINCONTROLS"})
        if (!IniFile.SectionExists(Section))
            return false;
    return true;
}
