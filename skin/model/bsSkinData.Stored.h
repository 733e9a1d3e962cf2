// Compressed skins: a whole skin (pictures and ini text) as one zlib block,
// alone or as the entries of a stored skin list.
//
// The frame of a compressed skin (a file, a list entry's "Skin" bytes, a
// stream) is: 32-bit frame version (3), 32-bit block length N, N bytes of
// block; integers little-endian. The block inflates to the payload: 32-bit
// payload version (3; 2 carries two more picture slots), three picture slots
// (a byte, 1 for an empty picture, 0 followed by a BMP file image), the
// 32-bit count of active pictures and their BMP images, then the ini text.
#pragma once

#include "platform/core/Lists.h"
#include "platform/core/Objects.h"
#include "platform/core/Streams.h"
#include "skin/model/bsSkinData.Component.h"

#include <memory>
#include <string>

class TbsCompressedStoredSkin : public TComponent {
public:
    explicit TbsCompressedStoredSkin(TComponent* AOwner);
    ~TbsCompressedStoredSkin() override;

    // There is no designer: the names are only stored.
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& Value) { FFileName = Value; }
    const std::string& CompressedFileName() const { return FCompressedFileName; }
    void SetCompressedFileName(const std::string& Value) { FCompressedFileName = Value; }
    const std::string& Description() const { return FDescription; }
    void SetDescription(const std::string& Value) { FDescription = Value; }

    // True when the block holds no byte.
    bool Empty();
    // The compressed block.
    TMemoryStream& CompressedStream() { return *FCompressedStream; }

    // The skin data's present content as a payload of version 3.
    void LoadFromSkinData(TbsSkinData* ASkinData);
    // The skin folder of the ini file AFileName, with the file's own text.
    // An ini without a required section leaves the block as it was; a
    // missing picture file raises and leaves it as it was too.
    void LoadFromIniFile(const std::string& AFileName);
    // The frame from a file or from Stream (read from its position 0). The
    // block is emptied first; a frame version above 3 leaves it empty. A
    // length N below 0 or beyond the data raises EReadError before anything
    // is taken for the block.
    void LoadFromCompressFile(const std::string& AFileName);
    void LoadFromCompressStream(TStream& Stream);
    // Writes nothing, and creates no file, for an empty stored skin.
    void SaveToCompressFile(const std::string& AFileName);
    void SaveToCompressStream(TStream& Stream);
    // Appends the inflated payload to S.
    void DeCompressToStream(TMemoryStream& S);

    // "CompressedData": the block alone. The reader takes every byte from
    // the stream's position to its end.
    void ReadCompressedData(TStream& Stream);
    void WriteCompressedData(TStream& Stream);

private:
    // Replaces the block by the payload in Payload, compressed.
    void CompressPayload(TMemoryStream& Payload);
    void ReadFrame(TStream& Stream);

    std::string FFileName;
    std::string FCompressedFileName;
    std::unique_ptr<TMemoryStream> FCompressedStream;
    std::string FDescription;
};

class TbsCompressedSkinList;

// One entry of a stored skin list: a display name and a compressed skin.
class TbsSkinListItem : public TCollectionItem {
public:
    // Named "bsSkin<index>" at creation.
    explicit TbsSkinListItem(TCollection* ACollection);
    ~TbsSkinListItem() override;

    TbsCompressedStoredSkin* Skin() const { return FSkin.get(); }
    const std::string& Description() const { return FDescription; }
    void SetDescription(const std::string& Value) { FDescription = Value; }
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& Value) { FFileName = Value; }
    const std::string& CompressedFileName() const { return FCompressedFileName; }
    void SetCompressedFileName(const std::string& Value) { FCompressedFileName = Value; }
    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value) { FName = Value; }

    std::string GetDisplayName() const override { return FName; }
    // Copies the texts and the block of another entry.
    void Assign(TPersistent* Source) override;

    // "Skin": the compressed frame of the entry's stored skin.
    void ReadSkin(TStream& Stream);
    void WriteSkin(TStream& Stream);

private:
    std::unique_ptr<TbsCompressedStoredSkin> FSkin;
    std::string FDescription;
    std::string FFileName;
    std::string FCompressedFileName;
    std::string FName;
};

// The entries of a stored skin list; its owner is the list.
class TbsSkinListItems : public TCollectionOf<TbsSkinListItem> {
public:
    explicit TbsSkinListItems(TbsCompressedSkinList* AOwner);
    TbsCompressedSkinList* SkinList() const { return FSkinList; }

private:
    TbsCompressedSkinList* FSkinList;
};

class TbsCompressedSkinList : public TComponent {
public:
    explicit TbsCompressedSkinList(TComponent* AOwner);
    ~TbsCompressedSkinList() override;

    TbsSkinListItems* Skins() const { return FSkins.get(); }
    // Replaces the entries by copies of Value's.
    void SetSkins(TbsSkinListItems* Value);

private:
    std::unique_ptr<TbsSkinListItems> FSkins;
};
