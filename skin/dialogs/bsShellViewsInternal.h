// Scope guards the shell views' implementation files share.
#pragma once

#include "platform/forms/Forms.h"

// The hourglass for the time of an enumeration, given back in every case.
class TbsHourGlass {
public:
    TbsHourGlass() : FSaved(Screen ? Screen->Cursor() : crDefault) {
        if (Screen)
            Screen->SetCursor(crHourGlass);
    }
    ~TbsHourGlass() {
        if (Screen)
            Screen->SetCursor(FSaved);
    }
    TbsHourGlass(const TbsHourGlass&) = delete;
    TbsHourGlass& operator=(const TbsHourGlass&) = delete;

private:
    TCursor FSaved;
};

// BeginUpdate on a list of items, nodes or collection items; EndUpdate
// however the scope is left.
template <class TItems> class TbsUpdateBatch {
public:
    explicit TbsUpdateBatch(TItems* Items) : FItems(Items) { FItems->BeginUpdate(); }
    ~TbsUpdateBatch() { FItems->EndUpdate(); }
    TbsUpdateBatch(const TbsUpdateBatch&) = delete;
    TbsUpdateBatch& operator=(const TbsUpdateBatch&) = delete;

private:
    TItems* FItems;
};

// Sets a flag for the scope and gives it back its old value.
class TbsFlagScope {
public:
    explicit TbsFlagScope(bool& Flag) : FFlag(Flag), FOld(Flag) { FFlag = true; }
    ~TbsFlagScope() { FFlag = FOld; }
    TbsFlagScope(const TbsFlagScope&) = delete;
    TbsFlagScope& operator=(const TbsFlagScope&) = delete;

private:
    bool& FFlag;
    bool FOld;
};
