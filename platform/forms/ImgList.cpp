#include "platform/forms/ImgList.h"

void RegisterChanges(TCustomImageList* List, TChangeLink* Link) {
    if (List)
        List->RegisterChanges(Link);
}

void UnRegisterChanges(TCustomImageList* List, TChangeLink* Link) {
    if (List)
        List->UnRegisterChanges(Link);
}
