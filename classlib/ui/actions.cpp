#include "classlib/ui/actions.h"

#include <algorithm>

#include "classlib/ui/imagelist.h"

// ============================================================================
// TBasicActionLink
// ============================================================================

TBasicActionLink::~TBasicActionLink() {
    if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* action) {
    if (action == FAction) return;
    if (FAction) FAction->UnRegisterChanges(this);
    if (action) action->RegisterChanges(this);
}

void TBasicActionLink::Change() { OnChange(FAction); }

bool TBasicActionLink::Execute() {
    // Nothing of this link is touched after the action ran: its handler may
    // have freed the action, and with it this link.
    return FAction && FAction->Execute();
}

// ============================================================================
// TBasicAction
// ============================================================================

TClass TBasicAction::StaticClass() {
    static const TClassInfo info = TClassBuilder<TBasicAction>("TBasicAction")
                                       .Prop("OnExecute", &TBasicAction::FOnExecute, &TBasicAction::SetOnExecute)
                                       .Build();
    return &info;
}

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction() {
    // The clients let go now, while this is still an action: the free
    // notification reaches them only once the action is all but gone.
    while (!FClients.empty()) {
        TBasicActionLink* link = FClients.back();
        UnRegisterChanges(link);
        link->ActionFreed();
    }
}

bool TBasicAction::Execute() {
    if (!FOnExecute) return false;
    FOnExecute(this);
    return true;
}

void TBasicAction::SetOnExecute(const TNotifyEvent& value) {
    if (value == FOnExecute) return;
    for (size_t i = 0; i < FClients.size(); ++i) FClients[i]->SetOnExecute(value);
    FOnExecute = value;
    Change();
}

TBasicActionLink* TBasicAction::Clients(int index) const {
    if (index < 0 || index >= ClientCount()) RaiseListIndexError(index);
    return FClients[size_t(index)];
}

void TBasicAction::RegisterChanges(TBasicActionLink* link) {
    if (link->FAction == this) return;
    if (link->FAction) link->FAction->UnRegisterChanges(link);
    link->FAction = this;
    FClients.push_back(link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* link) {
    auto it = std::find(FClients.begin(), FClients.end(), link);
    if (it == FClients.end()) return;
    FClients.erase(it);
    link->FAction = nullptr;
}

void TBasicAction::Change() {
    // A client may drop its action while it hears of the change.
    for (size_t i = FClients.size(); i-- > 0;)
        if (i < FClients.size()) FClients[i]->Change();
}

// ============================================================================
// TCustomAction
// ============================================================================

TClass TCustomAction::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCustomAction>("TCustomAction")
                                       .Prop("AutoCheck", &TCustomAction::FAutoCheck, &TCustomAction::SetAutoCheck)
                                       .Default(false)
                                       .Prop("Caption", &TCustomAction::FCaption, &TCustomAction::SetCaption)
                                       .Prop("Checked", &TCustomAction::FChecked, &TCustomAction::SetChecked)
                                       .Default(false)
                                       .Prop("Enabled", &TCustomAction::FEnabled, &TCustomAction::SetEnabled)
                                       .Default(true)
                                       .Prop("GroupIndex", &TCustomAction::FGroupIndex, &TCustomAction::SetGroupIndex)
                                       .Default(0)
                                       .Prop("Hint", &TCustomAction::FHint, &TCustomAction::SetHint)
                                       .Prop("ImageIndex", &TCustomAction::FImageIndex, &TCustomAction::SetImageIndex)
                                       .Default(-1)
                                       .Prop("Visible", &TCustomAction::FVisible, &TCustomAction::SetVisible)
                                       .Default(true)
                                       .Build();
    return &info;
}

TCustomAction::TCustomAction(TComponent* owner) : TBasicAction(owner) {}

TCustomAction::~TCustomAction() { SetActionList(nullptr); }

bool TCustomAction::Execute() {
    if (!FEnabled) return false;
    if (FAutoCheck && (!FChecked || FGroupIndex == 0)) SetChecked(!FChecked);
    return TBasicAction::Execute();
}

void TCustomAction::SetActionList(TActionList* list) {
    if (list == FActionList) return;
    if (FActionList) std::erase(FActionList->FActions, this);
    FActionList = list;
    if (list) list->FActions.push_back(this);
}

TCustomImageList* TCustomAction::Images() const { return FActionList ? FActionList->Images() : nullptr; }

TComponent* TCustomAction::GetParentComponent() const { return FActionList; }

void TCustomAction::SetParentComponent(TComponent* parent) {
    if (auto* list = dynamic_cast<TActionList*>(parent)) SetActionList(list);
}

// Each setter tells the links the new value while the action still has the
// old one (so a link can compare its client with it), then stores it.

void TCustomAction::SetCaption(const String& value) {
    if (value == FCaption) return;
    for (size_t i = 0; i < FClients.size(); ++i)
        if (auto* link = dynamic_cast<TActionLink*>(FClients[i])) link->SetCaption(value);
    FCaption = value;
    Change();
}

void TCustomAction::SetChecked(bool value) {
    if (value == FChecked) return;
    for (size_t i = 0; i < FClients.size(); ++i)
        if (auto* link = dynamic_cast<TActionLink*>(FClients[i])) link->SetChecked(value);
    FChecked = value;
    if (value) UncheckGroup();
    Change();
}

void TCustomAction::SetEnabled(bool value) {
    if (value == FEnabled) return;
    for (size_t i = 0; i < FClients.size(); ++i)
        if (auto* link = dynamic_cast<TActionLink*>(FClients[i])) link->SetEnabled(value);
    FEnabled = value;
    Change();
}

void TCustomAction::SetGroupIndex(int value) {
    if (value == FGroupIndex) return;
    for (size_t i = 0; i < FClients.size(); ++i)
        if (auto* link = dynamic_cast<TActionLink*>(FClients[i])) link->SetGroupIndex(value);
    FGroupIndex = value;
    if (FChecked) UncheckGroup();
    Change();
}

void TCustomAction::UncheckGroup() {
    if (FGroupIndex <= 0 || !FActionList) return;
    // Unchecking may run handlers that change the list: walk a copy.
    std::vector<TCustomAction*> actions = FActionList->FActions;
    for (TCustomAction* a : actions)
        if (a != this && a->FGroupIndex == FGroupIndex) a->SetChecked(false);
}

void TCustomAction::SetImageIndex(int value) {
    if (value == FImageIndex) return;
    for (size_t i = 0; i < FClients.size(); ++i)
        if (auto* link = dynamic_cast<TActionLink*>(FClients[i])) link->SetImageIndex(value);
    FImageIndex = value;
    Change();
}

void TCustomAction::SetHint(const String& value) {
    if (value == FHint) return;
    for (size_t i = 0; i < FClients.size(); ++i)
        if (auto* link = dynamic_cast<TActionLink*>(FClients[i])) link->SetHint(value);
    FHint = value;
    Change();
}

void TCustomAction::SetVisible(bool value) {
    if (value == FVisible) return;
    for (size_t i = 0; i < FClients.size(); ++i)
        if (auto* link = dynamic_cast<TActionLink*>(FClients[i])) link->SetVisible(value);
    FVisible = value;
    Change();
}

void TCustomAction::SetAutoCheck(bool value) {
    if (value == FAutoCheck) return;
    for (size_t i = 0; i < FClients.size(); ++i)
        if (auto* link = dynamic_cast<TActionLink*>(FClients[i])) link->SetAutoCheck(value);
    FAutoCheck = value;
    Change();
}

TClass TAction::StaticClass() {
    static const TClassInfo info = TClassBuilder<TAction>("TAction").Build();
    return &info;
}

// ============================================================================
// TActionList
// ============================================================================

TClass TActionList::StaticClass() {
    static const TClassInfo info = TClassBuilder<TActionList>("TActionList")
                                       .Prop("Images", &TActionList::FImages, &TActionList::SetImages)
                                       .Build();
    return &info;
}

TActionList::TActionList(TComponent* owner) : TComponent(owner) {}

TActionList::~TActionList() {
    Destroying();
    while (!FActions.empty()) FActions.back()->Free();
}

TCustomAction* TActionList::Actions(int index) const {
    if (index < 0 || index >= ActionCount()) RaiseListIndexError(index);
    return FActions[size_t(index)];
}

void TActionList::SetImages(TCustomImageList* images) {
    if (!ReplaceReference(FImages, images)) return;
    if (IsLoading() || IsDestroying()) return;
    std::vector<TCustomAction*> actions = FActions;
    for (TCustomAction* a : actions) a->Change();
}

void TActionList::GetChildren(const TGetChildProc& proc, TComponent* root) {
    for (TCustomAction* a : FActions)
        if (a->Owner() == root) proc(a);
}

void TActionList::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FImages) SetImages(nullptr);
    if (auto* action = dynamic_cast<TCustomAction*>(component); action && action->FActionList == this)
        action->SetActionList(nullptr);
}

// ============================================================================
// TActionLink, TControlActionLink
// ============================================================================

TCustomAction* TActionLink::CustomAction() const { return dynamic_cast<TCustomAction*>(FAction); }

bool TActionLink::IsCaptionLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsCheckedLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsEnabledLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsGroupIndexLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsHintLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsImageIndexLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsVisibleLinked() { return CustomAction() != nullptr; }

bool TControlActionLink::IsCaptionLinked() {
    return TActionLink::IsCaptionLinked() && FClient->Caption() == CustomAction()->Caption();
}

bool TControlActionLink::IsEnabledLinked() {
    return TActionLink::IsEnabledLinked() && FClient->Enabled() == CustomAction()->Enabled();
}

bool TControlActionLink::IsHintLinked() {
    return TActionLink::IsHintLinked() && FClient->Hint() == CustomAction()->Hint();
}

bool TControlActionLink::IsVisibleLinked() {
    return TActionLink::IsVisibleLinked() && FClient->Visible() == CustomAction()->Visible();
}

bool TControlActionLink::IsOnExecuteLinked() {
    return TActionLink::IsOnExecuteLinked() && FAction && FClient->OnClick == FAction->OnExecute();
}

void TControlActionLink::SetCaption(const String& value) {
    if (IsCaptionLinked()) FClient->SetCaption(value);
}

void TControlActionLink::SetEnabled(bool value) {
    if (IsEnabledLinked()) FClient->SetEnabled(value);
}

void TControlActionLink::SetHint(const String& value) {
    if (IsHintLinked()) FClient->SetHint(value);
}

void TControlActionLink::SetVisible(bool value) {
    if (IsVisibleLinked()) FClient->SetVisible(value);
}

void TControlActionLink::SetOnExecute(const TNotifyEvent& value) {
    if (IsOnExecuteLinked()) FClient->OnClick = value;
}

void TControlActionLink::ActionFreed() { FClient->SetAction(nullptr); }

// ============================================================================
// TControl: its action
// ============================================================================

TBasicAction* TControl::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

TControlActionLink* TControl::CreateActionLink() { return new TControlActionLink(this); }

void TControl::SetAction(TBasicAction* action) {
    TBasicAction* old = Action();
    if (action == old && (action || !FActionLink)) return;
    if (old) old->RemoveFreeNotification(this);
    if (!action) {
        TControlActionLink* link = FActionLink;
        FActionLink = nullptr;
        delete link;
        FControlStyle.Exclude(csActionClient);
        return;
    }
    FControlStyle.Include(csActionClient);
    if (!FActionLink) FActionLink = CreateActionLink();
    FActionLink->SetAction(action);
    FActionLink->OnChange = TNotifyEvent::Bind<&TControl::DoActionChange>(this);
    ActionChange(action, action->IsLoading());
    action->FreeNotification(this);
}

void TControl::DoActionChange(TObject* sender) {
    if (sender && sender == Action()) ActionChange(sender, false);
}

void TControl::ActionChange(TObject* sender, bool checkDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (!action) return;
    if (!checkDefaults || Caption().empty() || Caption() == Name()) SetCaption(action->Caption());
    if (!checkDefaults || Enabled()) SetEnabled(action->Enabled());
    if (!checkDefaults || Hint().empty()) SetHint(action->Hint());
    if (!checkDefaults || Visible()) SetVisible(action->Visible());
    if (!checkDefaults || !OnClick) OnClick = action->OnExecute();
}

void RegisterActionClasses() { RegisterClasses({TActionList::StaticClass(), TAction::StaticClass()}); }
