// Actions: a command with a caption, state and handler that any number of
// controls and menu items follow through action links.
//
// The action owns no client; each client owns its link. A change of an
// action's property reaches every link, and each link copies it into its
// client only while the client's value still equals the action's (the
// client was not changed on its own).
#pragma once

#include "platform/core/Events.h"
#include "platform/core/Objects.h"

#include <string>
#include <vector>

class TBasicActionLink;
class TCustomImageList;
class TActionList;

// A shortcut: virtual key | scShift | scCtrl | scAlt.
using TShortCut = unsigned short;

class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
    ~TBasicAction() override;

    // Fires OnExecute; answers whether it was assigned.
    virtual bool Execute();
    // Fires OnUpdate; answers whether it was assigned.
    virtual bool Update();
    // The client that executed the action last (set by the client's Click).
    TComponent* ActionComponent() const { return FActionComponent; }
    void SetActionComponent(TComponent* Value) { FActionComponent = Value; }

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TBasicActionLink;
    void RegisterChanges(TBasicActionLink* Link);
    void UnRegisterChanges(TBasicActionLink* Link);

protected:
    std::vector<TBasicActionLink*> FClients;
    TComponent* FActionComponent = nullptr;
};

class TContainedAction : public TBasicAction {
public:
    explicit TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}
    ~TContainedAction() override;

    TActionList* ActionList() const { return FActionList; }
    void SetActionList(TActionList* Value);
    const std::string& Category() const { return FCategory; }
    void SetCategory(const std::string& Value) { FCategory = Value; }
    // Position in the action list; -1 outside one.
    int Index() const;

private:
    TActionList* FActionList = nullptr;
    std::string FCategory;
};

class TCustomAction : public TContainedAction {
public:
    explicit TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    bool Checked() const { return FChecked; }
    // Checking an action of a group unchecks the others of its list.
    void SetChecked(bool Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool Value) { FAutoCheck = Value; }
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }

    // AutoCheck toggles Checked before the handler runs.
    bool Execute() override;

private:
    std::string FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    std::string FHint;
    int FImageIndex = -1;
    TShortCut FShortCut = 0;
    int FGroupIndex = 0;
    bool FAutoCheck = false;
    int FHelpContext = 0;
};

class TAction : public TCustomAction {
public:
    explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

class TActionList : public TComponent {
public:
    explicit TActionList(TComponent* AOwner) : TComponent(AOwner) {}
    ~TActionList() override;

    int ActionCount() const { return static_cast<int>(FActions.size()); }
    TContainedAction* Actions(int Index) const;
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TContainedAction;
    std::vector<TContainedAction*> FActions;
    TCustomImageList* FImages = nullptr;
};

// The client side of an action. Each client kind derives its own link and
// overrides the setters that copy a property into the client.
class TBasicActionLink : public TObject {
public:
    explicit TBasicActionLink(TObject* AClient) : FClient(AClient) {}
    ~TBasicActionLink() override;
    TBasicActionLink(const TBasicActionLink&) = delete;
    TBasicActionLink& operator=(const TBasicActionLink&) = delete;

    TBasicAction* Action() const { return FAction; }
    void SetAction(TBasicAction* Value);
    // Runs the action on behalf of Target; answers whether it ran.
    virtual bool Execute(TComponent* Target = nullptr);
    virtual bool Update();
    TNotifyEvent OnChange;

    // Called by the action for each property change.
    virtual void SetCaption(const std::string&) {}
    virtual void SetChecked(bool) {}
    virtual void SetEnabled(bool) {}
    virtual void SetHint(const std::string&) {}
    virtual void SetImageIndex(int) {}
    virtual void SetShortCut(TShortCut) {}
    virtual void SetVisible(bool) {}
    virtual void SetGroupIndex(int) {}
    virtual void SetAutoCheck(bool) {}
    virtual void SetOnExecute(const TNotifyEvent&) {}

    // Whether the client still follows the action's value of that property.
    virtual bool IsCaptionLinked() const { return FAction != nullptr; }

protected:
    virtual void Change();
    TObject* FClient;
    TBasicAction* FAction = nullptr;

private:
    friend class TBasicAction;
};

using TActionLink = TBasicActionLink;
