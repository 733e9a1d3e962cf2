// The class library's object model: TObject, TPersistent and TComponent.
//
// An owner component frees what it owns (last created first), and
// Notification(opRemove) clears references to a component being freed:
// the owner forwards the call to every component it owns.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The errors this unit raises: EListError "List index out of bounds (%d)"
// and EConvertError "Cannot assign a %s to a %s" (the source's class name,
// "nil" for none, then the destination's). The exception classes derive
// from TObject, so this unit cannot include them; the two are defined in
// Lists.cpp, next to the lists that raise the index error too.
[[noreturn]] void RaiseListIndexError(int Index);
class TPersistent;
[[noreturn]] void RaiseAssignError(const TPersistent* Source, const TPersistent* Dest);

// The root of every class-library object. ClassName() is the class's own
// name without namespace, taken from the dynamic type.
class TObject {
public:
    virtual ~TObject() = default;
    virtual std::string ClassName() const;
};

// An object whose content can be copied into another with Assign.
class TPersistent : public TObject {
public:
    // Copies Source into this object: Source->AssignTo(this). A class that
    // knows how to take another's content overrides Assign; one that knows
    // how to give its own content overrides AssignTo.
    virtual void Assign(TPersistent* Source);
    // The default raises EConvertError "Cannot assign a <this> to a <Dest>".
    virtual void AssignTo(TPersistent* Dest);
    virtual TPersistent* GetOwner() { return nullptr; }

protected:
    // EConvertError "Cannot assign a %s to a %s" with Source's class name
    // ("nil" for none) and this object's.
    [[noreturn]] void AssignError(const TPersistent* Source) const;
};

enum TOperation { opInsert, opRemove };

enum TComponentStateItem { csLoading, csReading, csDesigning, csDestroying };

// A set of TComponentStateItem. There is no designer, so csDesigning is
// never included; it exists so that branches on it read as written.
class TComponentState {
public:
    bool Contains(TComponentStateItem Item) const { return (FBits & Bit(Item)) != 0; }
    void Include(TComponentStateItem Item) { FBits |= Bit(Item); }
    void Exclude(TComponentStateItem Item) { FBits &= ~Bit(Item); }
    bool Empty() const { return FBits == 0; }
    friend bool operator==(TComponentState, TComponentState) = default;

private:
    static unsigned Bit(TComponentStateItem Item) { return 1u << static_cast<unsigned>(Item); }
    unsigned FBits = 0;
};

// A component is owned by its owner, which deletes it; components with an
// owner are made with new and freed by the owner or by delete.
//
// Destruction runs in this order: csDestroying is set on the component and
// everything it owns (Destroying); free-notification partners are notified;
// owned components are deleted last to first (DestroyComponents); the
// component leaves its owner, whose Notification(opRemove) reaches every
// sibling. A derived destructor that needs its own fields while its
// components go calls Destroying() and DestroyComponents() itself first.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    TPersistent* GetOwner() override { return FOwner; }
    // The owned components in creation order; an index outside
    // 0..ComponentCount()-1 raises EListError.
    TComponent* Components(int Index) const;
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }

    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value) { FName = Value; }
    std::intptr_t Tag() const { return FTag; }
    void SetTag(std::intptr_t Value) { FTag = Value; }
    TComponentState ComponentState() const { return FComponentState; }

    // The base forwards the call to every owned component, last to first,
    // and on opRemove drops AComponent's free-notification link. Overrides
    // call the base first, then clear their own references.
    virtual void Notification(TComponent* AComponent, TOperation Operation);

    // Links this component and AComponent (of another owner) both ways:
    // whichever is destroyed first calls the other's Notification(opRemove).
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Sets csDestroying on this component and on everything it owns.
    void Destroying();
    // Deletes the owned components, last created first.
    void DestroyComponents();

    // Emulates loading a form: sets csLoading and csReading on this
    // component and everything it owns, also on components created until
    // EndLoading. EndLoading clears csReading and calls Loaded() on the owned
    // components in creation order, then on this one.
    void BeginLoading();
    void EndLoading();

protected:
    // The base clears csLoading.
    virtual void Loaded();

private:
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    void CollectOwned(std::vector<TComponent*>& Into) const;
    void LinkFreeNotification(TComponent* AComponent);
    void UnlinkFreeNotification(TComponent* AComponent);
    void NotifyFreeNotificationPartners();

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    std::string FName;
    std::intptr_t FTag = 0;
    TComponentState FComponentState;
};
