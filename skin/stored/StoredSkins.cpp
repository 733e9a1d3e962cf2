#include "skin/stored/StoredSkins.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Streams.h"
#include "skin/stored/StoredSkinsData.h"

#include <memory>

int StoredSkinCount() {
    return StoredSkinTableCount;
}

std::string StoredSkinDisplayName(int Index) {
    if (Index < 0 || Index >= StoredSkinTableCount)
        throw EListError("stored skin index " + std::to_string(Index) + " out of bounds");
    return StoredSkinTable[Index].DisplayName;
}

TbsCompressedSkinList* CreateStoredSkinList(TComponent* AOwner) {
    auto List = std::make_unique<TbsCompressedSkinList>(AOwner);
    for (int i = 0; i < StoredSkinTableCount; ++i) {
        const TStoredSkinBytes& S = StoredSkinTable[i];
        TStringStream Frame(
            std::string(reinterpret_cast<const char*>(S.Begin), std::size_t(S.End - S.Begin)));
        TbsSkinListItem* Item = List->Skins()->Add();
        Item->Skin()->LoadFromCompressStream(Frame);
        Item->SetDescription(S.DisplayName);
    }
    return List.release();
}
