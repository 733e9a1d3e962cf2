// The main window's catalogue handlers: category and profile choice, the
// parameter lists' refill and read-back, the working set and the selected
// job row. The main window owns one instance and binds the controls' events
// to it with ConnectHandlers(); everything runs on the user-interface thread.
//
// Three steps go beyond a plain replay of the handlers, so that a job row
// never disagrees with what the lists show:
// - a refill with a row selected runs every list's change handler once, also
//   when the new default shows the same text as before (no OnChange then);
// - a profile choice for a row writes the list values, not the profile's own
//   ones, into the row's value sub-items;
// - a profile choice that changes a row's extension does not take the name
//   of an existing file unless the user chose to overwrite; restoring a
//   row's choices leaves its output name alone.
#pragma once

#include "catalogue/CatalogueControls.h"
#include "catalogue/ParameterLists.h"
#include "catalogue/ProfileWorkingSet.h"
#include "media/FFmpegQueue.h"
#include "platform/core/Objects.h"

#include <array>
#include <functional>
#include <string>

class TCatalogueHandlers : public TObject {
public:
    // OutputFolderText gives the output folder box's text; OverwriteOutput
    // answers whether existing output files are overwritten.
    TCatalogueHandlers(IOfficeComboList& bsSkinOfficeComboBox2,
                       IOfficeComboList& bsSkinOfficeComboBox1, ITextComboList& bsSkinComboBox1,
                       ITextComboList& bsSkinComboBox2, ITextComboList& bsSkinComboBox3,
                       ITextComboList& bsSkinComboBox4, ITextComboList& bsSkinComboBox9,
                       ITextComboList& bsSkinComboBox10, IJobRowTable& lvFiles,
                       std::function<std::string()> OutputFolderText,
                       std::function<bool()> OverwriteOutput);

    // Binds the eight lists' OnChange to the handlers of the same name.
    void ConnectHandlers();

    TProfileWorkingSet ProfileWorkingSet;
    TOutputOptions AOO;

    // Fills the profile list for the current category and chooses profile 0.
    void Button2Click(TObject* Sender);
    // Fills the working set from the current profile and writes it into the
    // selected row.
    void Button5Click(TObject* Sender);
    // Button5Click without the row: for a job being made, whose settings are
    // no business of the row that happens to be selected.
    void LoadProfile(TObject* Sender);
    // Resets the working set (the input file name stays).
    void Button6Click(TObject* Sender);
    // Copies the working set into AOO.
    void Button7Click(TObject* Sender);
    // Reads the six lists into the working set.
    void Button13Click(TObject* Sender);
    // Refills the six lists for the current profile with its defaults.
    void Button18Click(TObject* Sender);

    void bsSkinOfficeComboBox2Change(TObject* Sender);
    void bsSkinOfficeComboBox1Change(TObject* Sender);
    void bsSkinComboBox1Change(TObject* Sender);
    void bsSkinComboBox2Change(TObject* Sender);
    void bsSkinComboBox3Change(TObject* Sender);
    void bsSkinComboBox4Change(TObject* Sender);
    void bsSkinComboBox9Change(TObject* Sender);
    void bsSkinComboBox10Change(TObject* Sender);

    // Puts the selected row's category, profile and list choices back into
    // the lists, keeping its output name. False, with nothing changed, when no
    // row is selected, its codes cannot be read or its ProfileCode names no
    // profile.
    bool RestoreRowChoices();
    // The selected row's ParameterCode as the lists stand.
    std::string ParameterCodeFromLists() const;
    // Writes the working set's six parameter values into the selected row.
    void WriteParameterValuesToRow();

private:
    ITextComboList& List(TParameterKind Kind) const;
    void ListChanged(TParameterKind Kind);
    void WriteWorkingSetToRow();
    void RenameRowOutput(const std::string& Ext);
    std::string ValueText(TParameterKind Kind) const;

    IOfficeComboList& FCategories;
    IOfficeComboList& FProfiles;
    std::array<ITextComboList*, ParameterKindCount> FLists;
    IJobRowTable& FJobs;
    std::function<std::string()> FOutputFolderText;
    std::function<bool()> FOverwriteOutput;
    // How often each list's change handler has run, so the refill can tell
    // whether selecting a default ran it.
    std::array<unsigned, ParameterKindCount> FHandlerRuns{};
};
