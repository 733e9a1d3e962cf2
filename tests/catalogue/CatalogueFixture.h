// The handlers wired to fakes, as the main window wires them to its
// controls, with an output folder in a fresh temporary folder.
#pragma once

#include "catalogue/CatalogueHandlers.h"
#include "tests/catalogue/CatalogueFakes.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

class CatalogueFixture : public ::testing::Test {
protected:
    CatalogueFixture() {
        Handlers.ConnectHandlers();
        // The form starts on category 0 without firing; the main window's
        // creation step then fills the profile list once.
        Categories.LoadItemIndex(0);
        Handlers.Button2Click(nullptr);
    }

    ITextComboList& List(TParameterKind Kind) {
        switch (Kind) {
        case TParameterKind::FrameSize:
            return Combo1;
        case TParameterKind::VideoBitrate:
            return Combo2;
        case TParameterKind::AudioBitrate:
            return Combo3;
        case TParameterKind::AspectMode:
            return Combo4;
        case TParameterKind::FrameRate:
            return Combo9;
        case TParameterKind::SampleRate:
            return Combo10;
        }
        return Combo1;
    }

    // The six displayed texts in fill order.
    std::vector<std::string> Shown() {
        std::vector<std::string> Texts;
        for (TParameterKind Kind : ParameterKinds)
            Texts.push_back(List(Kind).Text());
        return Texts;
    }

    void Choose(int Category, int Profile) {
        Categories.SetItemIndex(Category);
        if (Profile != 0)
            Profiles.SetItemIndex(Profile);
    }

    // Picks the item with this text, as a user would.
    void Pick(TParameterKind Kind, const std::string& Text) {
        ITextComboList& Combo = List(Kind);
        for (int I = 0; I < Combo.ItemCount(); ++I)
            if (Combo.Item(I) == Text) {
                Combo.SetItemIndex(I);
                return;
            }
        ADD_FAILURE() << "no item " << Text;
    }

    // A selected job row as the add commands leave it.
    void SelectRow(const std::string& OutputName, const std::string& ProfileCodeText,
                   const std::string& ParameterCode) {
        Jobs.Put(siOutputFileName, OutputName);
        Jobs.Put(siProfileCode, ProfileCodeText);
        Jobs.Put(siParameterCode, ParameterCode);
        Jobs.Select(true);
    }

    std::string OutputFolder() const { return Temp.File("out"); }

    void Touch(const std::string& Name) { std::ofstream(Temp.File("out/" + Name)) << "x"; }

    TTempDir Temp;
    TFakeOfficeCombo Categories;
    TFakeOfficeCombo Profiles;
    TFakeTextCombo Combo1, Combo2, Combo3, Combo4, Combo9, Combo10;
    TFakeJobTable Jobs;
    std::string FolderText = OutputFolder();
    bool Overwrite = false;
    TCatalogueHandlers Handlers{Categories,
                                Profiles,
                                Combo1,
                                Combo2,
                                Combo3,
                                Combo4,
                                Combo9,
                                Combo10,
                                Jobs,
                                [this] { return FolderText; },
                                [this] { return Overwrite; }};
};
