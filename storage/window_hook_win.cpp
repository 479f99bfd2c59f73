// The hook manager for the class library's controls, the releaser and the
// window hook component.
#include "storage/window_hook.h"

#include <algorithm>

#include "classlib/core/filer.h"
#include "classlib/ui/forms.h"

namespace {

TZvWndProcHook* GManager = nullptr;
TZvReleaser* GReleaser = nullptr;

void ReleaseHookInfos(TObject* object) { ReleaseObject(object); }

}  // namespace

// ============================================================================
// The manager
// ============================================================================

TZvWndProcHook::TZvWndProcHook() : TZvWndProcHookOf<TControl, TMessage>(&ReleaseHookInfos) {}

TZvWndProcHook* WndProcHookManager() {
    if (!GManager) GManager = new TZvWndProcHook();
    return GManager;
}

bool RegisterHook(TControl* control, TZvHookMode mode, const TZvMessageHook& hook) {
    return WndProcHookManager()->RegisterHook(control, mode, hook);
}

bool UnregisterHook(TControl* control, TZvHookMode mode, const TZvMessageHook& hook) {
    return WndProcHookManager()->UnregisterHook(control, mode, hook);
}

// ============================================================================
// The releaser
// ============================================================================

TZvReleaser::TZvReleaser() = default;

TZvReleaser::~TZvReleaser() {
    while (!FReleaseObjects.empty()) {
        TObject* object = FReleaseObjects.back();
        FReleaseObjects.pop_back();
        object->Free();
    }
    if (FHandle) DeallocateHWnd(FHandle);
    FHandle = nullptr;
}

HWND TZvReleaser::Handle() {
    if (!FHandle) FHandle = AllocateHWnd(TWndMethod::Bind<&TZvReleaser::WndProc>(this));
    return FHandle;
}

bool TZvReleaser::IsPending(const TObject* object) const {
    return std::find(FReleaseObjects.begin(), FReleaseObjects.end(), object) != FReleaseObjects.end();
}

void TZvReleaser::ReleaseObject(TObject* object) {
    if (!object || IsPending(object)) return;
    FReleaseObjects.push_back(object);
    PostMessageA(Handle(), CM_ZVRELEASE, WPARAM(object), 0);
}

void TZvReleaser::CMRelease(TMessage& message) {
    auto* object = reinterpret_cast<TObject*>(message.WParam);
    auto it = std::find(FReleaseObjects.begin(), FReleaseObjects.end(), object);
    // An object freed meanwhile (with the releaser's end) is not freed twice.
    if (it == FReleaseObjects.end()) return;
    FReleaseObjects.erase(it);
    object->Free();
}

void TZvReleaser::WndProc(TMessage& message) {
    try {
        if (message.Msg == CM_ZVRELEASE) {
            CMRelease(message);
            return;
        }
        message.Result = DefWindowProcA(FHandle, message.Msg, message.WParam, message.LParam);
    } catch (...) {
        if (Application) Application->HandleException(this);
    }
}

TZvReleaser* ReleaserInstance() {
    if (!GReleaser) GReleaser = new TZvReleaser();
    return GReleaser;
}

void ReleaseObject(TObject* object) { ReleaserInstance()->ReleaseObject(object); }

void ZvWndProcHookFinalize() {
    TZvReleaser* releaser = GReleaser;
    GReleaser = nullptr;
    delete releaser;
    TZvWndProcHook* manager = GManager;
    GManager = nullptr;
    delete manager;
}

// ============================================================================
// TZvWindowHook
// ============================================================================

TClass TZvWindowHook::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvWindowHook>("TZvWindowHook")
            .Prop("Active", &TZvWindowHook::Active, &TZvWindowHook::SetActive)
            .Default(true)
            .Prop("Control", &TZvWindowHook::Control, &TZvWindowHook::SetControl)
            .Stored(&TZvWindowHook::IsControlStored)
            .Prop("BeforeMessage", &TZvWindowHook::BeforeMessage, &TZvWindowHook::SetBeforeMessage)
            .Prop("AfterMessage", &TZvWindowHook::AfterMessage, &TZvWindowHook::SetAfterMessage)
            .Build();
    return &info;
}

TZvWindowHook::TZvWindowHook(TComponent* owner) : TZvComponent(owner) { SetActive(true); }

TZvWindowHook::~TZvWindowHook() {
    SetActive(false);
    SetControl(nullptr);
}

bool TZvWindowHook::IsControlStored() const { return FControl && !dynamic_cast<TCustomForm*>(FControl); }

void TZvWindowHook::SetActive(bool value) {
    if (FActive == value) return;
    if (!IsDesigning()) {
        if (value) {
            if (FAfterMessage) RegisterHook(FControl, hmAfter, AfterHook());
            if (FBeforeMessage) RegisterHook(FControl, hmBefore, BeforeHook());
        } else {
            if (FAfterMessage) UnregisterHook(FControl, hmAfter, AfterHook());
            if (FBeforeMessage) UnregisterHook(FControl, hmBefore, BeforeHook());
        }
    }
    FActive = value;
}

void TZvWindowHook::SetAfterMessage(const TZvHookMessageEvent& value) {
    if (FActive && !IsDesigning()) {
        if (value && !FAfterMessage)
            RegisterHook(FControl, hmAfter, AfterHook());
        else if (!value && FAfterMessage)
            UnregisterHook(FControl, hmAfter, AfterHook());
    }
    FAfterMessage = value;
}

void TZvWindowHook::SetBeforeMessage(const TZvHookMessageEvent& value) {
    if (FActive && !IsDesigning()) {
        if (value && !FBeforeMessage)
            RegisterHook(FControl, hmBefore, BeforeHook());
        else if (!value && FBeforeMessage)
            UnregisterHook(FControl, hmBefore, BeforeHook());
    }
    FBeforeMessage = value;
}

void TZvWindowHook::SetControl(TControl* value) {
    if (FControl == value) return;
    const bool wasActive = FActive;
    SetActive(false);
    if (FControl) FControl->RemoveFreeNotification(this);
    if (value && value->IsDestroying()) {
        FControl = nullptr;
        return;
    }
    FControl = value;
    if (FControl) FControl->FreeNotification(this);
    SetActive(wasActive);
}

void TZvWindowHook::Notification(TComponent* component, TOperation operation) {
    TZvComponent::Notification(component, operation);
    if (operation != opRemove || !FControl) return;
    if (static_cast<TComponent*>(FControl) == component) {
        // The control is being freed and only its identity may be used:
        // its hook record goes with it through the manager.
        FControl = nullptr;
    } else if (component == Owner() || !Owner()) {
        SetControl(nullptr);
    }
}

bool TZvWindowHook::DoAfterMessage(TMessage& msg) {
    bool handled = false;
    if (FAfterMessage) FAfterMessage(this, msg, handled);
    return handled;
}

bool TZvWindowHook::DoBeforeMessage(TMessage& msg) {
    bool handled = false;
    if (FBeforeMessage) FBeforeMessage(this, msg, handled);
    return handled;
}

bool TZvWindowHook::IsForm() const {
    return FControl && static_cast<TComponent*>(FControl) == Owner() && dynamic_cast<TCustomForm*>(Owner());
}

void TZvWindowHook::DefineProperties(TFiler* filer) {
    TZvComponent::DefineProperties(filer);
    auto* ancestor = dynamic_cast<TZvWindowHook*>(filer->Ancestor());
    const bool hasData = ancestor ? IsForm() != ancestor->IsForm() : IsForm();
    filer->DefineProperty(
        "IsForm",
        [this](TReader* reader) {
            if (reader->ReadBoolean())
                if (auto* form = dynamic_cast<TCustomForm*>(Owner())) SetControl(form);
        },
        [this](TWriter* writer) { writer->WriteBoolean(IsForm()); }, hasData);
}
