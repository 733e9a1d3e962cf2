#include "platform/forms/ImgList.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

// Keeps the links of each list and learns when a list is freed.
class TImageListWatcher : public TComponent {
public:
    TImageListWatcher() : TComponent(nullptr) {}

    struct TEntry {
        TNotifyEvent Chained;   // the list's handler before the first link
        TNotifyEvent Installed; // the handler this unit put in its place
        std::vector<TChangeLink*> Links;
    };
    // Keyed by the list as a component: a list being freed is no longer an
    // image list when its removal arrives.
    std::map<TComponent*, TEntry> Entries;

    void Dispatch(TCustomImageList* List) {
        auto It = Entries.find(List);
        if (It == Entries.end())
            return;
        TNotifyEvent Chained = It->second.Chained;
        auto Links = It->second.Links;
        for (TChangeLink* Link : Links) {
            // A link's handler may unregister others.
            auto Found = Entries.find(List);
            if (Found == Entries.end())
                break;
            auto& Now = Found->second.Links;
            if (std::find(Now.begin(), Now.end(), Link) != Now.end())
                Link->Change();
        }
        if (Chained)
            Chained(List);
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation != opRemove)
            return;
        auto It = Entries.find(AComponent);
        if (It == Entries.end())
            return;
        for (TChangeLink* Link : It->second.Links)
            Link->FSender = nullptr;
        Entries.erase(It);
    }
};

namespace {

TImageListWatcher& Watcher() {
    static TImageListWatcher Instance;
    return Instance;
}

} // namespace

TChangeLink::~TChangeLink() {
    if (FSender)
        UnRegisterChanges(FSender, this);
}

void TChangeLink::Change() {
    if (OnChange)
        OnChange(FSender);
}

void RegisterChanges(TCustomImageList* List, TChangeLink* Link) {
    if (!List || !Link)
        return;
    if (Link->FSender)
        UnRegisterChanges(Link->FSender, Link);
    TImageListWatcher& W = Watcher();
    auto It = W.Entries.find(List);
    if (It == W.Entries.end()) {
        TImageListWatcher::TEntry Entry;
        Entry.Chained = List->OnChange;
        Entry.Installed = [List](TObject*) { Watcher().Dispatch(List); };
        List->OnChange = Entry.Installed;
        It = W.Entries.emplace(List, std::move(Entry)).first;
        W.FreeNotification(List);
    }
    It->second.Links.push_back(Link);
    Link->FSender = List;
}

void UnRegisterChanges(TCustomImageList* List, TChangeLink* Link) {
    if (!List || !Link)
        return;
    TImageListWatcher& W = Watcher();
    auto It = W.Entries.find(List);
    if (Link->FSender == List)
        Link->FSender = nullptr;
    if (It == W.Entries.end())
        return;
    auto& Links = It->second.Links;
    Links.erase(std::remove(Links.begin(), Links.end(), Link), Links.end());
    if (!Links.empty())
        return;
    // The last link gone: the list's own handler comes back, unless the
    // program replaced the links' handler meanwhile.
    if (List->OnChange == It->second.Installed)
        List->OnChange = It->second.Chained;
    W.RemoveFreeNotification(List);
    W.Entries.erase(It);
}
