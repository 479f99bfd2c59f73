// Actions: a command with its caption, state and handler kept in one
// component, shown by any number of controls.
//
// An action (TAction, usually in a TActionList that supplies its images)
// has clients: one link per control that shows it. When a property of the
// action changes, each link first hears of the new value (SetCaption,
// SetChecked...), and may pass it on when the control still shows the
// action's old value (IsCaptionLinked...); then the action reports the
// change and every control copies what it shows of the action again
// (TControl::ActionChange).
//
// A control's Click executes its action, unless OnClick is bound to
// something other than the action's OnExecute: then OnClick runs.
#pragma once

#include <vector>

#include "classlib/ui/controls.h"

class TBasicAction;
class TCustomImageList;
class TActionList;

// The link between an action and one client.
class TBasicActionLink : public TObject {
public:
    TBasicActionLink() = default;
    ~TBasicActionLink() override;

    TBasicAction* Action() const { return FAction; }
    // Moves the link to action (registering with it); nullptr: none.
    virtual void SetAction(TBasicAction* action);
    // Executes the action; false without one or when it did nothing. The
    // action's handler may free the action, the client and this link.
    virtual bool Execute();
    // True when the client's click handler is the action's OnExecute.
    virtual bool IsOnExecuteLinked() { return true; }
    virtual void SetOnExecute(const TNotifyEvent& value) {}
    // Runs with the action as sender after every change of the action.
    TNotifyEvent OnChange;

protected:
    friend class TBasicAction;
    virtual void Change();
    // The action is being freed; the link has already let go of it.
    virtual void ActionFreed() {}
    TBasicAction* FAction = nullptr;
};

// A component with a handler that its clients run.
class TBasicAction : public TComponent {
    QL_CLASS(TBasicAction, TComponent)
public:
    explicit TBasicAction(TComponent* owner);
    ~TBasicAction() override;

    // Runs OnExecute; false when there is none.
    virtual bool Execute();
    const TNotifyEvent& OnExecute() const { return FOnExecute; }
    void SetOnExecute(const TNotifyEvent& value);

    int ClientCount() const { return int(FClients.size()); }
    TBasicActionLink* Clients(int index) const;
    void RegisterChanges(TBasicActionLink* link);
    void UnRegisterChanges(TBasicActionLink* link);

protected:
    // Tells every client that the action changed.
    virtual void Change();
    std::vector<TBasicActionLink*> FClients;
    TNotifyEvent FOnExecute;
};

// An action with a caption, a state and an image, kept in an action list.
class TCustomAction : public TBasicAction {
    QL_CLASS(TCustomAction, TBasicAction)
public:
    explicit TCustomAction(TComponent* owner);
    ~TCustomAction() override;

    // Does nothing while disabled. With AutoCheck it toggles Checked first
    // (a checked action of a group stays checked).
    bool Execute() override;

    TActionList* ActionList() const { return FActionList; }
    void SetActionList(TActionList* list);
    // The action list's images, which ImageIndex refers to.
    TCustomImageList* Images() const;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& value);
    bool Checked() const { return FChecked; }
    // Checking an action of a group (GroupIndex > 0) unchecks the other
    // actions of that group in its list.
    void SetChecked(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value);

    // In a stored layout an action is written inside its list.
    bool HasParent() const override { return FActionList != nullptr; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;

private:
    friend class TActionList;
    void UncheckGroup();

    TActionList* FActionList = nullptr;
    String FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    int FGroupIndex = 0;
    int FImageIndex = -1;
    String FHint;
    bool FVisible = true;
    bool FAutoCheck = false;
};

// The action with its properties published.
class TAction : public TCustomAction {
    QL_CLASS(TAction, TCustomAction)
public:
    explicit TAction(TComponent* owner) : TCustomAction(owner) {}
};

// A list of actions with the images they refer to. Freeing the list frees
// its actions.
class TActionList : public TComponent {
    QL_CLASS(TActionList, TComponent)
public:
    explicit TActionList(TComponent* owner);
    ~TActionList() override;

    int ActionCount() const { return int(FActions.size()); }
    TCustomAction* Actions(int index) const;
    TCustomImageList* Images() const { return FImages; }
    // Every action of the list reports a change, so its controls show the
    // new images.
    void SetImages(TCustomImageList* images);

    void GetChildren(const TGetChildProc& proc, TComponent* root) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TCustomAction;
    std::vector<TCustomAction*> FActions;
    TCustomImageList* FImages = nullptr;
};

// An action link with the properties of a TCustomAction: each IsXLinked
// tells whether the client still shows the action's value of X (true here
// whenever the action is a TCustomAction), and each SetX passes a new
// value on to a linked client (nothing here).
class TActionLink : public TBasicActionLink {
public:
    virtual bool IsCaptionLinked();
    virtual bool IsCheckedLinked();
    virtual bool IsEnabledLinked();
    virtual bool IsGroupIndexLinked();
    virtual bool IsHintLinked();
    virtual bool IsImageIndexLinked();
    virtual bool IsVisibleLinked();
    virtual void SetAutoCheck(bool value) {}
    virtual void SetCaption(const String& value) {}
    virtual void SetChecked(bool value) {}
    virtual void SetEnabled(bool value) {}
    virtual void SetGroupIndex(int value) {}
    virtual void SetHint(const String& value) {}
    virtual void SetImageIndex(int value) {}
    virtual void SetVisible(bool value) {}

protected:
    // The action as a TCustomAction, or nullptr.
    TCustomAction* CustomAction() const;
};

// The link of a control: caption, enabled state, hint, visibility and the
// click handler follow the action while the control shows the action's
// values. Controls that show more (checked, group, image) derive from it.
class TControlActionLink : public TActionLink {
public:
    explicit TControlActionLink(TControl* client) : FClient(client) {}
    TControl* Client() const { return FClient; }

    bool IsCaptionLinked() override;
    bool IsEnabledLinked() override;
    bool IsHintLinked() override;
    bool IsVisibleLinked() override;
    bool IsOnExecuteLinked() override;
    void SetCaption(const String& value) override;
    void SetEnabled(bool value) override;
    void SetHint(const String& value) override;
    void SetVisible(bool value) override;
    void SetOnExecute(const TNotifyEvent& value) override;

protected:
    // Clears the client's action, which frees this link.
    void ActionFreed() override;
    TControl* FClient;
};

// Registers the action classes for stored layouts.
void RegisterActionClasses();
