#include "skin/model/bsSkinData.Stored.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Format.h"
#include "platform/core/Paths.h"
#include "skin/model/bsSkinData.Kinds.h"
#include "skin/model/bszlibcompress.h"

#include <cstdint>

namespace {

constexpr std::int32_t FrameVersion = 3;
constexpr std::int32_t PayloadVersion = 3;
// File header and information header: no BMP image is shorter.
constexpr std::int64_t SmallestBmpImage = 54;

[[noreturn]] void RaiseReadError() {
    throw EReadError("Stream read error");
}

std::int32_t ReadInt32(TStream& Stream) {
    std::uint8_t B[4];
    Stream.ReadBuffer(B, 4);
    return static_cast<std::int32_t>(std::uint32_t(B[0]) | std::uint32_t(B[1]) << 8 |
                                     std::uint32_t(B[2]) << 16 | std::uint32_t(B[3]) << 24);
}

void WriteInt32(TStream& Stream, std::int32_t Value) {
    const auto U = static_cast<std::uint32_t>(Value);
    const std::uint8_t B[4] = {std::uint8_t(U), std::uint8_t(U >> 8), std::uint8_t(U >> 16),
                               std::uint8_t(U >> 24)};
    Stream.WriteBuffer(B, 4);
}

std::int64_t BytesLeft(TStream& Stream) {
    return Stream.Size() - Stream.Position();
}

// A picture slot: 1 for an empty picture, 0 followed by its BMP image.
void ReadPictureSlot(TStream& Payload, TBitmap& Picture) {
    std::uint8_t IsEmpty = 0;
    Payload.ReadBuffer(&IsEmpty, 1);
    if (IsEmpty > 1)
        RaiseReadError();
    if (IsEmpty == 0)
        Picture.LoadFromStream(&Payload);
}

void WritePictureSlot(TStream& Payload, TBitmap& Picture) {
    const std::uint8_t IsEmpty = Picture.Empty() ? 1 : 0;
    Payload.WriteBuffer(&IsEmpty, 1);
    if (!IsEmpty)
        Picture.SaveToStream(&Payload);
}

// Loads Name from Folder into a fresh bitmap; an empty name gives an empty one.
std::unique_ptr<TBitmap> LoadFolderPicture(const std::string& Folder, const std::string& Name) {
    auto Picture = std::make_unique<TBitmap>();
    if (!Name.empty())
        Picture->LoadFromFile(SkinPictureFileName(Folder, Name));
    return Picture;
}

} // namespace

// ---- TbsCompressedStoredSkin ----------------------------------------------

TbsCompressedStoredSkin::TbsCompressedStoredSkin(TComponent* AOwner)
    : TComponent(AOwner), FCompressedStream(std::make_unique<TMemoryStream>()) {}

TbsCompressedStoredSkin::~TbsCompressedStoredSkin() = default;

bool TbsCompressedStoredSkin::Empty() {
    return FCompressedStream->Size() == 0;
}

void TbsCompressedStoredSkin::CompressPayload(TMemoryStream& Payload) {
    auto Block = std::make_unique<TMemoryStream>();
    CompressStreamToMemory(Payload, *Block);
    Block->SetPosition(0);
    FCompressedStream = std::move(Block);
}

void TbsCompressedStoredSkin::LoadFromSkinData(TbsSkinData* ASkinData) {
    TMemoryStream Payload;
    WriteInt32(Payload, PayloadVersion);
    WritePictureSlot(Payload, *ASkinData->FPicture);
    WritePictureSlot(Payload, *ASkinData->FInActivePicture);
    WritePictureSlot(Payload, *ASkinData->FMask);
    WriteInt32(Payload, static_cast<std::int32_t>(ASkinData->FActivePictures.size()));
    for (auto& Picture : ASkinData->FActivePictures)
        Picture->SaveToStream(&Payload);
    TMemIniFile IniFile;
    WriteSkinIni(IniFile, *ASkinData);
    TStringList Lines;
    IniFile.GetStrings(Lines);
    Lines.SaveToStream(Payload);
    CompressPayload(Payload);
}

void TbsCompressedStoredSkin::LoadFromIniFile(const std::string& AFileName) {
    TStringList Lines;
    Lines.LoadFromFile(AFileName);
    TMemIniFile IniFile;
    IniFile.SetStrings(Lines);
    if (!IsSkinIniComplete(IniFile))
        return;
    const std::string Folder = ExtractFilePath(AFileName);
    TMemoryStream Payload;
    WriteInt32(Payload, PayloadVersion);
    for (const char* Key : {"picture", "inactivepicture", "mask"})
        WritePictureSlot(Payload,
                         *LoadFolderPicture(Folder, IniFile.ReadString("PICTURES", Key, "")));
    TStringList Names;
    ReadStrings(IniFile, "PICTURES", "activepictures", Names);
    WriteInt32(Payload, Names.Count());
    for (int i = 0; i < Names.Count(); ++i)
        LoadFolderPicture(Folder, Names.Strings(i))->SaveToStream(&Payload);
    // The file's own lines: comments and foreign sections travel along.
    Lines.SaveToStream(Payload);
    CompressPayload(Payload);
}

void TbsCompressedStoredSkin::ReadFrame(TStream& Stream) {
    if (ReadInt32(Stream) > FrameVersion)
        return;
    const std::int32_t N = ReadInt32(Stream);
    if (N < 0 || N > BytesLeft(Stream))
        RaiseReadError();
    if (N > 0)
        FCompressedStream->CopyFrom(Stream, N);
    FCompressedStream->SetPosition(0);
}

void TbsCompressedStoredSkin::LoadFromCompressStream(TStream& Stream) {
    FCompressedStream->Clear();
    Stream.SetPosition(0);
    ReadFrame(Stream);
}

void TbsCompressedStoredSkin::LoadFromCompressFile(const std::string& AFileName) {
    FCompressedStream->Clear();
    TFileStream File(AFileName, fmOpenRead | fmShareDenyWrite);
    ReadFrame(File);
}

void TbsCompressedStoredSkin::SaveToCompressStream(TStream& Stream) {
    WriteInt32(Stream, FrameVersion);
    WriteInt32(Stream, static_cast<std::int32_t>(FCompressedStream->Size()));
    FCompressedStream->SaveToStream(Stream);
}

void TbsCompressedStoredSkin::SaveToCompressFile(const std::string& AFileName) {
    if (Empty())
        return;
    TStringStream Frame;
    SaveToCompressStream(Frame);
    const int Error = ReplaceFileContent(AFileName, Frame.DataString());
    if (Error != 0)
        RaiseFileCreateError(AFileName, Error);
}

void TbsCompressedStoredSkin::DeCompressToStream(TMemoryStream& S) {
    DecompressStreamFromMemory(S, *FCompressedStream);
}

void TbsCompressedStoredSkin::ReadCompressedData(TStream& Stream) {
    auto Block = std::make_unique<TMemoryStream>();
    const std::int64_t Count = BytesLeft(Stream);
    if (Count > 0)
        Block->CopyFrom(Stream, Count);
    Block->SetPosition(0);
    FCompressedStream = std::move(Block);
}

void TbsCompressedStoredSkin::WriteCompressedData(TStream& Stream) {
    FCompressedStream->SaveToStream(Stream);
}

// ---- the stored skin list ---------------------------------------------------

TbsSkinListItem::TbsSkinListItem(TCollection* ACollection)
    : TCollectionItem(ACollection), FSkin(std::make_unique<TbsCompressedStoredSkin>(nullptr)),
      FName(Format("bsSkin%d", {Index()})) {}

TbsSkinListItem::~TbsSkinListItem() = default;

void TbsSkinListItem::Assign(TPersistent* Source) {
    auto* Item = dynamic_cast<TbsSkinListItem*>(Source);
    if (!Item) {
        TCollectionItem::Assign(Source);
        return;
    }
    FDescription = Item->FDescription;
    FFileName = Item->FFileName;
    FCompressedFileName = Item->FCompressedFileName;
    FName = Item->FName;
    TMemoryStream Block;
    Item->FSkin->WriteCompressedData(Block);
    Block.SetPosition(0);
    FSkin->ReadCompressedData(Block);
    FSkin->SetDescription(Item->FSkin->Description());
    FSkin->SetFileName(Item->FSkin->FileName());
    FSkin->SetCompressedFileName(Item->FSkin->CompressedFileName());
}

void TbsSkinListItem::ReadSkin(TStream& Stream) {
    FSkin->LoadFromCompressStream(Stream);
}

void TbsSkinListItem::WriteSkin(TStream& Stream) {
    FSkin->SaveToCompressStream(Stream);
}

TbsSkinListItems::TbsSkinListItems(TbsCompressedSkinList* AOwner)
    : TCollectionOf<TbsSkinListItem>(AOwner), FSkinList(AOwner) {}

TbsCompressedSkinList::TbsCompressedSkinList(TComponent* AOwner)
    : TComponent(AOwner), FSkins(std::make_unique<TbsSkinListItems>(this)) {}

TbsCompressedSkinList::~TbsCompressedSkinList() = default;

void TbsCompressedSkinList::SetSkins(TbsSkinListItems* Value) {
    FSkins->Assign(Value);
}

// ---- TbsSkinData: compressed skins and the stored list ----------------------

std::unique_ptr<TbsSkinData>
TbsSkinData::ReadCompressedStoredSkin(TbsCompressedStoredSkin& AStoredSkin) {
    if (AStoredSkin.Empty())
        return nullptr;
    TMemoryStream Payload;
    AStoredSkin.DeCompressToStream(Payload);
    Payload.SetPosition(0);
    const std::int32_t Version = ReadInt32(Payload);
    if (Version > PayloadVersion)
        return nullptr;
    auto Staged = std::make_unique<TbsSkinData>(nullptr);
    Staged->ClearAll();
    ReadPictureSlot(Payload, *Staged->FPicture);
    ReadPictureSlot(Payload, *Staged->FInActivePicture);
    ReadPictureSlot(Payload, *Staged->FMask);
    if (Version == 2) {
        TBitmap Dropped;
        ReadPictureSlot(Payload, Dropped);
        ReadPictureSlot(Payload, Dropped);
    }
    const std::int32_t Count = ReadInt32(Payload);
    // Each picture takes at least a BMP's two headers, so a larger count
    // cannot be genuine; refuse it before taking memory for pictures.
    if (Count < 0 || Count > BytesLeft(Payload) / SmallestBmpImage)
        RaiseReadError();
    Staged->FActivePictures.reserve(static_cast<std::size_t>(Count));
    for (std::int32_t i = 0; i < Count; ++i) {
        auto Picture = std::make_unique<TBitmap>();
        Picture->LoadFromStream(&Payload);
        Staged->FActivePictures.push_back(std::move(Picture));
    }
    TStringList Lines;
    Lines.LoadFromStream(Payload);
    TMemIniFile IniFile;
    IniFile.SetStrings(Lines);
    // A text cut short is refused as an incomplete folder would be.
    if (!IsSkinIniComplete(IniFile))
        return nullptr;
    ReadSkinVersion(IniFile, *Staged);
    ReadPictureNames(IniFile, *Staged);
    ReadStrings(IniFile, "PICTURES", "activepictures", *Staged->FActivePicturesNames);
    ReadFormInfo(IniFile, *Staged);
    ReadSkinRecords(IniFile, *Staged);
    ReadSkinObjects(IniFile, *Staged);
    ReadSkinControls(IniFile, *Staged);
    return Staged;
}

void TbsSkinData::LoadCompressedStoredSkin(TbsCompressedStoredSkin* AStoredSkin) {
    if (!AStoredSkin)
        return;
    if (std::unique_ptr<TbsSkinData> Staged = ReadCompressedStoredSkin(*AStoredSkin))
        ApplyLoadedSkin(*Staged);
}

void TbsSkinData::LoadFromCompressedFile(const std::string& FileName) {
    TbsCompressedStoredSkin StoredSkin(nullptr);
    StoredSkin.LoadFromCompressFile(FileName);
    if (!StoredSkin.Empty())
        LoadCompressedStoredSkin(&StoredSkin);
}

void TbsSkinData::SaveToCompressedFile(const std::string& FileName) {
    TbsCompressedStoredSkin StoredSkin(nullptr);
    StoredSkin.LoadFromSkinData(this);
    StoredSkin.SaveToCompressFile(FileName);
}

void TbsSkinData::SetCompressedStoredSkin(TbsCompressedStoredSkin* Value) {
    if (FCompressedStoredSkin != Value) {
        if (FCompressedStoredSkin)
            RemoveFreeNotification(FCompressedStoredSkin);
        FCompressedStoredSkin = Value;
        if (Value)
            FreeNotification(Value);
    }
    if (Value && !ComponentState().Contains(csDesigning))
        LoadCompressedStoredSkin(Value);
}

void TbsSkinData::LoadSkinListEntry(int Index) {
    TbsCompressedStoredSkin* StoredSkin = FCompressedSkinList->Skins()->Items(Index)->Skin();
    std::unique_ptr<TbsSkinData> Staged = ReadCompressedStoredSkin(*StoredSkin);
    // The index names the skin in use, so it changes only once the entry
    // has been read; the forms already see it during the change.
    FCompressedSkinIndex = Index;
    if (Staged)
        ApplyLoadedSkin(*Staged);
}

void TbsSkinData::SetSkinList(TbsCompressedSkinList* Value) {
    if (FCompressedSkinList != Value) {
        if (FCompressedSkinList)
            RemoveFreeNotification(FCompressedSkinList);
        FCompressedSkinList = Value;
        if (Value)
            FreeNotification(Value);
    }
    if (!Value || ComponentState().Contains(csDesigning))
        return;
    if (FCompressedSkinIndex >= 0 && FCompressedSkinIndex < Value->Skins()->Count())
        LoadSkinListEntry(FCompressedSkinIndex);
}

void TbsSkinData::SetSkinIndex(int Value) {
    if (FCompressedSkinIndex == Value)
        return;
    if (!FCompressedSkinList) {
        FCompressedSkinIndex = Value;
        return;
    }
    if (Value < 0 || Value >= FCompressedSkinList->Skins()->Count())
        return;
    if (ComponentState().Contains(csDesigning))
        FCompressedSkinIndex = Value;
    else
        LoadSkinListEntry(Value);
}

void TbsSkinData::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FCompressedStoredSkin)
        FCompressedStoredSkin = nullptr;
    if (AComponent == FResourceStrData)
        FResourceStrData = nullptr;
    if (AComponent == FCompressedSkinList)
        FCompressedSkinList = nullptr;
}
