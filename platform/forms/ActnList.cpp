#include "platform/forms/ActnList.h"

#include "platform/core/Exceptions.h"
#include "platform/forms/ImgList.h"

#include <algorithm>

// ---------------------------------------------------------------- TBasicAction

TBasicAction::~TBasicAction() {
    // Links outlive the action in their clients; they must not point at it.
    auto Clients = FClients;
    for (TBasicActionLink* Link : Clients)
        Link->FAction = nullptr;
    FClients.clear();
}

bool TBasicAction::Execute() {
    if (!OnExecute)
        return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update() {
    if (!OnUpdate)
        return false;
    OnUpdate(this);
    return true;
}

void TBasicAction::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FActionComponent)
        FActionComponent = nullptr;
}

void TBasicAction::RegisterChanges(TBasicActionLink* Link) {
    FClients.push_back(Link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Link) {
    FClients.erase(std::remove(FClients.begin(), FClients.end(), Link), FClients.end());
}

// ---------------------------------------------------------------- TContainedAction

TContainedAction::~TContainedAction() {
    SetActionList(nullptr);
}

void TContainedAction::SetActionList(TActionList* Value) {
    if (Value == FActionList)
        return;
    if (FActionList) {
        auto& List = FActionList->FActions;
        List.erase(std::remove(List.begin(), List.end(), this), List.end());
    }
    FActionList = Value;
    if (FActionList)
        FActionList->FActions.push_back(this);
}

int TContainedAction::Index() const {
    if (!FActionList)
        return -1;
    const auto& List = FActionList->FActions;
    auto It = std::find(List.begin(), List.end(), this);
    return It == List.end() ? -1 : static_cast<int>(It - List.begin());
}

// ---------------------------------------------------------------- TCustomAction

// Each setter tells the links first, while the action still holds the old
// value, so that a link can see whether its client still follows it.
template <class T, class F>
static void TellClients(const std::vector<TBasicActionLink*>& Clients, F Setter, const T& Value) {
    auto Copy = Clients;
    for (TBasicActionLink* Link : Copy)
        (Link->*Setter)(Value);
}

void TCustomAction::SetCaption(const std::string& Value) {
    if (Value == FCaption)
        return;
    TellClients(FClients, &TBasicActionLink::SetCaption, Value);
    FCaption = Value;
}

void TCustomAction::SetChecked(bool Value) {
    if (Value == FChecked)
        return;
    TellClients(FClients, &TBasicActionLink::SetChecked, Value);
    FChecked = Value;
    if (Value && FGroupIndex > 0 && ActionList()) {
        for (int I = 0; I < ActionList()->ActionCount(); ++I) {
            auto* Other = dynamic_cast<TCustomAction*>(ActionList()->Actions(I));
            if (Other && Other != this && Other->FGroupIndex == FGroupIndex)
                Other->SetChecked(false);
        }
    }
}

void TCustomAction::SetEnabled(bool Value) {
    if (Value == FEnabled)
        return;
    TellClients(FClients, &TBasicActionLink::SetEnabled, Value);
    FEnabled = Value;
}

void TCustomAction::SetVisible(bool Value) {
    if (Value == FVisible)
        return;
    TellClients(FClients, &TBasicActionLink::SetVisible, Value);
    FVisible = Value;
}

void TCustomAction::SetHint(const std::string& Value) {
    if (Value == FHint)
        return;
    TellClients(FClients, &TBasicActionLink::SetHint, Value);
    FHint = Value;
}

void TCustomAction::SetImageIndex(int Value) {
    if (Value == FImageIndex)
        return;
    TellClients(FClients, &TBasicActionLink::SetImageIndex, Value);
    FImageIndex = Value;
}

void TCustomAction::SetShortCut(TShortCut Value) {
    if (Value == FShortCut)
        return;
    TellClients(FClients, &TBasicActionLink::SetShortCut, Value);
    FShortCut = Value;
}

void TCustomAction::SetGroupIndex(int Value) {
    if (Value == FGroupIndex)
        return;
    TellClients(FClients, &TBasicActionLink::SetGroupIndex, Value);
    FGroupIndex = Value;
}

bool TCustomAction::Execute() {
    if (!FEnabled)
        return false;
    if (FAutoCheck)
        SetChecked(!FChecked);
    return TContainedAction::Execute();
}

// ---------------------------------------------------------------- TActionList

TActionList::~TActionList() {
    auto Actions = FActions;
    for (TContainedAction* Action : Actions)
        Action->SetActionList(nullptr);
}

TContainedAction* TActionList::Actions(int Index) const {
    if (Index < 0 || Index >= ActionCount())
        RaiseListIndexError(Index);
    return FActions[Index];
}

void TActionList::SetImages(TCustomImageList* Value) {
    FImages = Value;
    if (Value)
        FreeNotification(Value);
}

void TActionList::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (FImages == AComponent)
        FImages = nullptr;
    auto* Action = dynamic_cast<TContainedAction*>(AComponent);
    if (Action && Action->ActionList() == this)
        Action->SetActionList(nullptr);
}

// ---------------------------------------------------------------- TBasicActionLink

TBasicActionLink::~TBasicActionLink() {
    if (FAction)
        FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
    if (Value == FAction)
        return;
    if (FAction)
        FAction->UnRegisterChanges(this);
    FAction = Value;
    if (FAction)
        FAction->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* Target) {
    if (!FAction)
        return false;
    FAction->SetActionComponent(Target);
    bool Ran = FAction->Execute();
    // The action may be gone when its handler freed it.
    if (FAction)
        FAction->SetActionComponent(nullptr);
    return Ran;
}

bool TBasicActionLink::Update() {
    return FAction && FAction->Update();
}

void TBasicActionLink::Change() {
    if (OnChange)
        OnChange(FClient);
}
