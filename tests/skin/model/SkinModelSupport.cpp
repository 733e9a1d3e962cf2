#include "SkinModelSupport.h"

#include <fstream>
#include <stdexcept>

std::unique_ptr<TMemIniFile> MakeIni(const std::string& Text) {
    auto Ini = std::make_unique<TMemIniFile>("");
    TStringList Lines;
    Lines.SetText(Text);
    Ini->SetStrings(Lines);
    return Ini;
}

std::vector<std::string> SectionLines(TCustomIniFile& IniFile, const std::string& Section) {
    TStringList Lines;
    IniFile.ReadSectionValues(Section, Lines);
    std::vector<std::string> Result;
    for (int i = 0; i < Lines.Count(); ++i)
        Result.push_back(Lines.Strings(i));
    return Result;
}

namespace {

template <class T> TSkinItem Wrap(std::shared_ptr<T> Item, std::string Section) {
    TSkinItem Result;
    Result.Section = std::move(Section);
    Result.Load = [Item](TCustomIniFile& Ini) { Item->LoadFromFile(Ini); };
    Result.Save = [Item](TCustomIniFile& Ini) { Item->SaveToFile(Ini); };
    Result.Visit = [Item](TbsIniKeyVisitor& V) { Item->VisitKeys(V); };
    Result.Holder = Item;
    return Result;
}

} // namespace

TSkinItem MakeSkinItem(const std::string& Name) {
    if (Name.starts_with("control.")) {
        std::shared_ptr<TbsDataSkinControl> C = CreateSkinControl(Name.substr(8), Name);
        if (!C)
            throw std::invalid_argument(Name);
        return Wrap(C, Name);
    }
    if (Name.starts_with("object.")) {
        std::shared_ptr<TbsDataSkinObject> O = CreateSkinObject(Name.substr(7), Name);
        if (!O)
            throw std::invalid_argument(Name);
        return Wrap(O, Name);
    }
    if (Name == "POPUPWINDOW")
        return Wrap(std::make_shared<TbsDataSkinPopupWindow>(), Name);
    if (Name == "LAYERFRAME")
        return Wrap(std::make_shared<TbsDataSkinLayerFrame>(), Name);
    if (Name == "HINTWINDOW")
        return Wrap(std::make_shared<TbsDataSkinHintWindow>(), Name);
    if (Name == "SKINCOLORS")
        return Wrap(std::make_shared<TbsSkinColors>(), Name);
    throw std::invalid_argument(Name);
}

const std::vector<std::string>& AllSkinItemNames() {
    static const std::vector<std::string> Names = [] {
        std::vector<std::string> Result;
        for (const char* Kind :
             {"panel",    "expanel",     "menubutton", "button",   "checkradio", "gauge",
              "splitter", "trackbar",    "label",      "stdlabel", "updown",     "grid",
              "tab",      "mainmenubar", "controlbar", "memo",     "edit",       "checklistbox",
              "listbox",  "combobox",    "scrollbar",  "spinedit", "scrollbox",  "treeview",
              "bevel",    "slider",      "listview",   "richedit"})
            Result.push_back(std::string("control.") + Kind);
        for (const char* Kind : {"menuitem", "mainmenubaritem", "mainmenubarbutton", "stdbutton",
                                 "button", "caption", "userobject", "animate"})
            Result.push_back(std::string("object.") + Kind);
        for (const char* Record : {"POPUPWINDOW", "LAYERFRAME", "HINTWINDOW", "SKINCOLORS"})
            Result.push_back(Record);
        return Result;
    }();
    return Names;
}

// Read as plain text, not through the ini object, so that the fixture does
// not depend on the code it checks.
std::vector<std::string> FixtureSection(const std::string& Section) {
    std::ifstream File(SKIN_MODEL_FIXTURES "/element_defaults.ini");
    if (!File)
        throw std::runtime_error("fixture element_defaults.ini not found");
    std::vector<std::string> Result;
    bool Inside = false;
    std::string Line;
    while (std::getline(File, Line)) {
        if (Line.empty() || Line[0] == ';')
            continue;
        if (Line[0] == '[') {
            Inside = Line == "[" + Section + "]";
            continue;
        }
        if (Inside)
            Result.push_back(Line);
    }
    return Result;
}
