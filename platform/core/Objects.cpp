#include "platform/core/Objects.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <typeinfo>

std::string TObject::ClassName() const {
    const char* mangled = typeid(*this).name();
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    std::string name = (status == 0 && demangled) ? demangled.get() : mangled;
    // Drop namespaces and template arguments' scopes: "a::b::TFoo" gives "TFoo".
    auto angle = name.find('<');
    auto colon = name.rfind("::", angle);
    if (colon != std::string::npos)
        name.erase(0, colon + 2);
    return name;
}

// ---------------------------------------------------------------------------
// TPersistent

void TPersistent::Assign(TPersistent* Source) {
    if (Source)
        Source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) {
    RaiseAssignError(this, Dest);
}

void TPersistent::AssignError(const TPersistent* Source) const {
    RaiseAssignError(Source, this);
}

// ---------------------------------------------------------------------------
// TComponent

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    NotifyFreeNotificationPartners();
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const {
    if (Index < 0 || Index >= ComponentCount())
        RaiseListIndexError(Index);
    return FComponents[static_cast<std::size_t>(Index)];
}

void TComponent::InsertComponent(TComponent* AComponent) {
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
    // A component made while its owner loads is loaded with it.
    if (FComponentState.Contains(csLoading)) {
        AComponent->FComponentState.Include(csLoading);
        if (FComponentState.Contains(csReading))
            AComponent->FComponentState.Include(csReading);
    }
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    // Leave the list first, so that nobody reached by the notification finds
    // a half-destroyed component among the owner's components.
    auto It = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (It != FComponents.end())
        FComponents.erase(It);
    AComponent->FOwner = nullptr;
    Notification(AComponent, opRemove);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent)
        RemoveFreeNotification(AComponent);
    // A handler may delete components, so the index is re-clamped each step.
    int I = ComponentCount() - 1;
    while (I >= 0) {
        FComponents[static_cast<std::size_t>(I)]->Notification(AComponent, Operation);
        --I;
        if (I >= ComponentCount())
            I = ComponentCount() - 1;
    }
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent || AComponent == this)
        return;
    // Components of one owner are told through the owner's forwarding.
    if (FOwner && AComponent->FOwner == FOwner)
        return;
    LinkFreeNotification(AComponent);
    AComponent->LinkFreeNotification(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    if (!AComponent)
        return;
    UnlinkFreeNotification(AComponent);
    AComponent->UnlinkFreeNotification(this);
}

void TComponent::LinkFreeNotification(TComponent* AComponent) {
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
}

void TComponent::UnlinkFreeNotification(TComponent* AComponent) {
    auto It = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
    if (It != FFreeNotifies.end())
        FFreeNotifies.erase(It);
}

void TComponent::NotifyFreeNotificationPartners() {
    while (!FFreeNotifies.empty()) {
        TComponent* Partner = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        Partner->UnlinkFreeNotification(this);
        Partner->Notification(this, opRemove);
    }
}

void TComponent::Destroying() {
    if (FComponentState.Contains(csDestroying))
        return;
    FComponentState.Include(csDestroying);
    for (TComponent* Component : FComponents)
        Component->Destroying();
}

void TComponent::DestroyComponents() {
    // Each component leaves this list in its own destructor.
    while (!FComponents.empty())
        delete FComponents.back();
}

void TComponent::CollectOwned(std::vector<TComponent*>& Into) const {
    for (TComponent* Component : FComponents) {
        Into.push_back(Component);
        Component->CollectOwned(Into);
    }
}

void TComponent::BeginLoading() {
    std::vector<TComponent*> All{this};
    CollectOwned(All);
    for (TComponent* Component : All) {
        Component->FComponentState.Include(csLoading);
        Component->FComponentState.Include(csReading);
    }
}

void TComponent::EndLoading() {
    std::vector<TComponent*> All;
    CollectOwned(All);
    FComponentState.Exclude(csReading);
    for (TComponent* Component : All)
        Component->FComponentState.Exclude(csReading);
    for (TComponent* Component : All)
        Component->Loaded();
    Loaded();
}

void TComponent::Loaded() {
    FComponentState.Exclude(csLoading);
}
