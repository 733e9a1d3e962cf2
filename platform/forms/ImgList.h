// Image lists for controls. The list itself is the graphics layer's
// component (TCustomImageList, TImageList, the handle and its drawing);
// this unit adds the change links through which controls that show a
// list's pictures learn that it changed.
#pragma once

#include "platform/core/Events.h"
#include "platform/core/Objects.h"
#include "platform/gdi/ImageList.h"

// A control that shows pictures of a list holds a change link to it.
// Freeing the link unregisters it; a freed list leaves its links with no
// sender.
class TChangeLink : public TObject {
public:
    TChangeLink() = default;
    ~TChangeLink() override;
    TChangeLink(const TChangeLink&) = delete;
    TChangeLink& operator=(const TChangeLink&) = delete;

    TCustomImageList* Sender() const { return FSender; }
    // Fires OnChange with the list.
    virtual void Change();
    TNotifyEvent OnChange;

private:
    friend void RegisterChanges(TCustomImageList* List, TChangeLink* Link);
    friend void UnRegisterChanges(TCustomImageList* List, TChangeLink* Link);
    friend class TImageListWatcher;
    TCustomImageList* FSender = nullptr;
};

// Links are told of every change of the list before the list's own
// OnChange handler, which keeps working; a handler assigned to OnChange
// after the first link replaces the links' notification.
void RegisterChanges(TCustomImageList* List, TChangeLink* Link);
void UnRegisterChanges(TCustomImageList* List, TChangeLink* Link);
