#include "catalogue/CatalogueHandlers.h"

#include <optional>

namespace {

int ValueSubItem(TParameterKind Kind) {
    switch (Kind) {
    case TParameterKind::FrameSize:
        return siFrameSize;
    case TParameterKind::VideoBitrate:
        return siVideoBitrate;
    case TParameterKind::FrameRate:
        return siFrameRate;
    case TParameterKind::AudioBitrate:
        return siAudioBitrate;
    case TParameterKind::SampleRate:
        return siAudioSampleRate;
    case TParameterKind::AspectMode:
        return siFrameAspectRatio;
    }
    return siFrameSize;
}

// The lists in the order of the ParameterCode, which is also the order in
// which the refill clears and enables them and a row's choices are put back.
constexpr std::array<TParameterKind, ParameterKindCount> CodeOrder = {
    TParameterKind::FrameSize,  TParameterKind::VideoBitrate, TParameterKind::AudioBitrate,
    TParameterKind::AspectMode, TParameterKind::FrameRate,    TParameterKind::SampleRate};

// The lists a profile without video disables, in this order.
constexpr std::array<TParameterKind, 4> VideoKinds = {
    TParameterKind::FrameSize, TParameterKind::VideoBitrate, TParameterKind::AspectMode,
    TParameterKind::FrameRate};

// The order in which Button13Click reads the lists; each field depends on
// its own list only.
constexpr std::array<TParameterKind, ParameterKindCount> ReadBackOrder = {
    TParameterKind::FrameSize,  TParameterKind::FrameRate,    TParameterKind::VideoBitrate,
    TParameterKind::SampleRate, TParameterKind::AudioBitrate, TParameterKind::AspectMode};

void StoreValue(TProfileWorkingSet& Set, TParameterKind Kind, std::string_view Text) {
    switch (Kind) {
    case TParameterKind::FrameSize:
        Set.Video_FrameSize = FrameSizeValue(Text);
        break;
    case TParameterKind::VideoBitrate:
        Set.Video_VideoBitrate = VideoBitrateValue(Text);
        break;
    case TParameterKind::FrameRate:
        Set.Video_FrameRate = FrameRateValue(Text);
        break;
    case TParameterKind::AudioBitrate:
        Set.Video_AudioBitrate = AudioBitrateValue(Text);
        break;
    case TParameterKind::SampleRate:
        Set.Video_AudioSampleRate = SampleRateValue(Text);
        break;
    case TParameterKind::AspectMode:
        Set.Video_FrameAspectRatio = AspectModeValue(Text);
        break;
    }
}

} // namespace

TCatalogueHandlers::TCatalogueHandlers(
    IOfficeComboList& bsSkinOfficeComboBox2, IOfficeComboList& bsSkinOfficeComboBox1,
    ITextComboList& bsSkinComboBox1, ITextComboList& bsSkinComboBox2,
    ITextComboList& bsSkinComboBox3, ITextComboList& bsSkinComboBox4,
    ITextComboList& bsSkinComboBox9, ITextComboList& bsSkinComboBox10, IJobRowTable& lvFiles,
    std::function<std::string()> OutputFolderText, std::function<bool()> OverwriteOutput)
    : FCategories(bsSkinOfficeComboBox2), FProfiles(bsSkinOfficeComboBox1), FLists{},
      FJobs(lvFiles), FOutputFolderText(std::move(OutputFolderText)),
      FOverwriteOutput(std::move(OverwriteOutput)) {
    FLists[KindIndex(TParameterKind::FrameSize)] = &bsSkinComboBox1;
    FLists[KindIndex(TParameterKind::VideoBitrate)] = &bsSkinComboBox2;
    FLists[KindIndex(TParameterKind::AudioBitrate)] = &bsSkinComboBox3;
    FLists[KindIndex(TParameterKind::AspectMode)] = &bsSkinComboBox4;
    FLists[KindIndex(TParameterKind::FrameRate)] = &bsSkinComboBox9;
    FLists[KindIndex(TParameterKind::SampleRate)] = &bsSkinComboBox10;
}

void TCatalogueHandlers::ConnectHandlers() {
    using T = TCatalogueHandlers;
    FCategories.SetOnChange(TNotifyEvent(this, &T::bsSkinOfficeComboBox2Change));
    FProfiles.SetOnChange(TNotifyEvent(this, &T::bsSkinOfficeComboBox1Change));
    List(TParameterKind::FrameSize).SetOnChange(TNotifyEvent(this, &T::bsSkinComboBox1Change));
    List(TParameterKind::VideoBitrate).SetOnChange(TNotifyEvent(this, &T::bsSkinComboBox2Change));
    List(TParameterKind::AudioBitrate).SetOnChange(TNotifyEvent(this, &T::bsSkinComboBox3Change));
    List(TParameterKind::AspectMode).SetOnChange(TNotifyEvent(this, &T::bsSkinComboBox4Change));
    List(TParameterKind::FrameRate).SetOnChange(TNotifyEvent(this, &T::bsSkinComboBox9Change));
    List(TParameterKind::SampleRate).SetOnChange(TNotifyEvent(this, &T::bsSkinComboBox10Change));
}

ITextComboList& TCatalogueHandlers::List(TParameterKind Kind) const {
    return *FLists[KindIndex(Kind)];
}

void TCatalogueHandlers::Button2Click(TObject*) {
    FProfiles.ClearItems();
    for (const TProfileInfo& Profile : GroupProfiles(CategoryGroupMap(FCategories.ItemIndex())))
        FProfiles.AddItem(Profile.Title, Profile.Caption, Profile.Index % 2);
    // Fires the profile list's change: the first profile is applied.
    FProfiles.SetItemIndex(0);
}

void TCatalogueHandlers::bsSkinOfficeComboBox2Change(TObject* Sender) {
    Button2Click(Sender);
}

void TCatalogueHandlers::bsSkinOfficeComboBox1Change(TObject* Sender) {
    Button18Click(Sender);
    int Index = FProfiles.ItemIndex();
    if (Index < 0 || Index >= FProfiles.ItemCount())
        return;
    std::string Ext = ProfileExtension(FProfiles.ItemTitle(Index));
    if (!FJobs.HasSelectedRow())
        return;
    Button5Click(Sender);
    Button13Click(Sender);
    WriteParameterValuesToRow();
    RenameRowOutput(Ext);
    FJobs.SetSubItem(siProfileCode, ProfileCode(FCategories.ItemIndex(), Index));
    FJobs.FocusTable();
}

void TCatalogueHandlers::RenameRowOutput(const std::string& Ext) {
    std::string Name = FileNamePart(FJobs.SubItem(siOutputFileName));
    std::string NewName = ReplaceFileNameExtension(Name, Ext);
    // A new extension may name a file that is already there; outputs are
    // opened for overwriting, so take a free name unless the user chose to
    // overwrite. The same extension keeps the row's name as it is.
    if (FileNameExtension(Name) != Ext)
        NewName = FileNamePart(UniqueOutputPath(FOutputFolderText(), NewName, FOverwriteOutput));
    FJobs.SetSubItem(siOutputFileName, NewName);
}

void TCatalogueHandlers::Button6Click(TObject*) {
    ResetWorkingSet(ProfileWorkingSet);
}

void TCatalogueHandlers::Button5Click(TObject* Sender) {
    LoadProfile(Sender);
    if (FJobs.HasSelectedRow())
        WriteWorkingSetToRow();
}

void TCatalogueHandlers::LoadProfile(TObject* Sender) {
    Button6Click(Sender);
    std::optional<int> Key = ProfileKeyOf(FCategories.ItemIndex(), FProfiles.ItemIndex());
    const TProfileSettings* Settings = Key ? FindProfileSettings(*Key) : nullptr;
    std::string Name;
    if (Settings) {
        Name = ReplaceFileNameExtension(FileNamePart(ProfileWorkingSet.Video_AddFileName),
                                        Settings->OutputExt);
        AssignProfileSettings(ProfileWorkingSet, *Settings);
    }
    ProfileWorkingSet.Video_OutPutFileName =
        UniqueOutputPath(FOutputFolderText(), Name, FOverwriteOutput);
}

void TCatalogueHandlers::WriteWorkingSetToRow() {
    const TProfileWorkingSet& Set = ProfileWorkingSet;
    FJobs.SetSubItem(siVideoCodec, Set.Video_VideoCodec);
    FJobs.SetSubItem(siAudioCodec, Set.Video_AudioCodec);
    FJobs.SetSubItem(siAudioChannels, Set.Video_AudioChannels);
    FJobs.SetSubItem(siVideoTag, Set.Video_VideoTag);
    FJobs.SetSubItem(siFileExt, Set.Video_FileExt);
    FJobs.SetSubItem(siFrameSize, Set.Video_FrameSize);
    FJobs.SetSubItem(siVideoBitrate, std::to_string(Set.Video_VideoBitrate));
    FJobs.SetSubItem(siFrameRate, Set.Video_FrameRate);
    FJobs.SetSubItem(siAudioBitrate, std::to_string(Set.Video_AudioBitrate));
    FJobs.SetSubItem(siAudioSampleRate, Set.Video_AudioSampleRate);
    FJobs.SetSubItem(siFrameAspectRatio, Set.Video_FrameAspectRatio);
    FJobs.SetSubItem(siDisableVideo, Set.Video_DisableVideo ? "True" : "False");
    FJobs.SetSubItem(siTargetType, Set.Video_TargetType);
    FJobs.SetSubItem(siNormType, Set.Video_NormType);
}

void TCatalogueHandlers::Button7Click(TObject*) {
    ApplyWorkingSet(ProfileWorkingSet, AOO, TVolumeRule::SkipUnchanged);
}

void TCatalogueHandlers::Button13Click(TObject*) {
    for (TParameterKind Kind : ReadBackOrder)
        StoreValue(ProfileWorkingSet, Kind, List(Kind).Text());
}

void TCatalogueHandlers::Button18Click(TObject*) {
    for (TParameterKind Kind : CodeOrder)
        List(Kind).ClearItems();
    for (TParameterKind Kind : CodeOrder)
        List(Kind).SetEnabled(true);
    std::optional<int> Key = ProfileKeyOf(FCategories.ItemIndex(), FProfiles.ItemIndex());
    const TParameterRow* Row = Key ? FindParameterRow(*Key) : nullptr;
    if (!Row)
        return;
    for (TParameterKind Kind : ParameterKinds) {
        ITextComboList& Combo = List(Kind);
        const TListChoice& Choice = Row->Choice(Kind);
        for (std::string_view Item : ParameterList(Kind, Choice.List))
            Combo.AddItem(Item);
        unsigned RunsBefore = FHandlerRuns[KindIndex(Kind)];
        Combo.SetItemIndex(Choice.Default);
        // A default that shows the text the list showed before fires no
        // change, yet its position may differ from the one the selected row
        // records: run the handler here so the row follows the list.
        if (FJobs.HasSelectedRow() && FHandlerRuns[KindIndex(Kind)] == RunsBefore)
            ListChanged(Kind);
    }
    if (IsNoVideoRow(*Row))
        for (TParameterKind Kind : VideoKinds)
            List(Kind).SetEnabled(false);
}

void TCatalogueHandlers::ListChanged(TParameterKind Kind) {
    ++FHandlerRuns[KindIndex(Kind)];
    if (!FJobs.HasSelectedRow())
        return;
    ITextComboList& Combo = List(Kind);
    int Position = Combo.ItemIndex();
    if (Position < 0)
        return;
    FJobs.SetSubItem(siParameterCode,
                     PatchParameterCode(FJobs.SubItem(siParameterCode), Kind, Position));
    StoreValue(ProfileWorkingSet, Kind, Combo.Text());
    FJobs.SetSubItem(ValueSubItem(Kind), ValueText(Kind));
    FJobs.FocusTable();
}

std::string TCatalogueHandlers::ValueText(TParameterKind Kind) const {
    const TProfileWorkingSet& Set = ProfileWorkingSet;
    switch (Kind) {
    case TParameterKind::FrameSize:
        return Set.Video_FrameSize;
    case TParameterKind::VideoBitrate:
        return std::to_string(Set.Video_VideoBitrate);
    case TParameterKind::FrameRate:
        return Set.Video_FrameRate;
    case TParameterKind::AudioBitrate:
        return std::to_string(Set.Video_AudioBitrate);
    case TParameterKind::SampleRate:
        return Set.Video_AudioSampleRate;
    case TParameterKind::AspectMode:
        return Set.Video_FrameAspectRatio;
    }
    return {};
}

void TCatalogueHandlers::bsSkinComboBox1Change(TObject*) {
    ListChanged(TParameterKind::FrameSize);
}

void TCatalogueHandlers::bsSkinComboBox2Change(TObject*) {
    ListChanged(TParameterKind::VideoBitrate);
}

void TCatalogueHandlers::bsSkinComboBox3Change(TObject*) {
    ListChanged(TParameterKind::AudioBitrate);
}

void TCatalogueHandlers::bsSkinComboBox4Change(TObject*) {
    ListChanged(TParameterKind::AspectMode);
}

void TCatalogueHandlers::bsSkinComboBox9Change(TObject*) {
    ListChanged(TParameterKind::FrameRate);
}

void TCatalogueHandlers::bsSkinComboBox10Change(TObject*) {
    ListChanged(TParameterKind::SampleRate);
}

void TCatalogueHandlers::WriteParameterValuesToRow() {
    if (!FJobs.HasSelectedRow())
        return;
    for (TParameterKind Kind : ParameterKinds)
        FJobs.SetSubItem(ValueSubItem(Kind), ValueText(Kind));
}

std::string TCatalogueHandlers::ParameterCodeFromLists() const {
    std::array<int, ParameterKindCount> Positions{};
    for (TParameterKind Kind : ParameterKinds)
        Positions[KindIndex(Kind)] = List(Kind).ItemIndex();
    return MakeParameterCode(Positions);
}

bool TCatalogueHandlers::RestoreRowChoices() {
    if (!FJobs.HasSelectedRow())
        return false;
    int Category = 0;
    int Profile = 0;
    std::array<int, ParameterKindCount> Positions{};
    if (!DecodeProfileCode(FJobs.SubItem(siProfileCode), Category, Profile) ||
        !DecodeParameterCode(FJobs.SubItem(siParameterCode), Positions))
        return false;
    // A number that names no profile would replay another profile over the
    // row, replacing its settings and codes; such a row is left as it is.
    if (!ProfileKeyOf(Category, Profile))
        return false;
    // Replaying the profile choice is not a user's choice: the row's output
    // name must survive it, or a finished job's output would be renamed.
    std::string OutputName = FJobs.SubItem(siOutputFileName);
    FCategories.SetItemIndex(Category);
    FProfiles.SetItemIndex(Profile);
    for (TParameterKind Kind : CodeOrder)
        List(Kind).SetItemIndex(Positions[KindIndex(Kind)]);
    FJobs.SetSubItem(siOutputFileName, OutputName);
    return true;
}
