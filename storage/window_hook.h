// The window-procedure hook manager for the controls of the class library,
// the releaser that frees the hook records of destroyed controls from a
// posted message, and TZvWindowHook, the component that watches the
// messages of one control through two events.
#pragma once

#include <vector>

#include "classlib/ui/controls.h"
#include "storage/storage_component.h"
#include "storage/window_hook_chain.h"

using TZvMessageHook = TZvMessageHookOf<TMessage>;
using TZvHookInfos = TZvHookInfosOf<TControl, TMessage>;

// The process-wide manager: one hook record per hooked control.
class TZvWndProcHook : public TZvWndProcHookOf<TControl, TMessage> {
public:
    TZvWndProcHook();
};

// The manager, made (without owner) on the first call.
TZvWndProcHook* WndProcHookManager();
bool RegisterHook(TControl* control, TZvHookMode mode, const TZvMessageHook& hook);
bool UnregisterHook(TControl* control, TZvHookMode mode, const TZvMessageHook& hook);

// Posted to the releaser's window: wParam is the object to free.
constexpr UINT CM_ZVRELEASE = 0xB021;

// Frees objects later, from a posted message, so that an object is never
// freed while one of its own methods runs further up the stack.
class TZvReleaser : public TObject {
public:
    TZvReleaser();
    ~TZvReleaser() override;

    // Adds object to the pending ones and posts its release; an object
    // already pending is not posted again.
    void ReleaseObject(TObject* object);
    bool IsPending(const TObject* object) const;
    int PendingCount() const { return int(FReleaseObjects.size()); }
    // The hidden window, made on first use.
    HWND Handle();

private:
    void WndProc(TMessage& message);
    void CMRelease(TMessage& message);

    HWND FHandle = nullptr;
    std::vector<TObject*> FReleaseObjects;
};

TZvReleaser* ReleaserInstance();
void ReleaseObject(TObject* object);

// Frees the releaser (with every pending object), then the manager (giving
// every hooked control its window procedure back). The end of the program
// calls it.
void ZvWndProcHookFinalize();

// Sender, the message, Handled.
using TZvHookMessageEvent = TEvent<TObject*, TMessage&, bool&>;

// Watches the messages of Control: BeforeMessage before the control's own
// window procedure, AfterMessage after it. Setting Handled ends the
// message's dispatch.
class TZvWindowHook : public TZvComponent {
    QL_CLASS(TZvWindowHook, TZvComponent)
public:
    explicit TZvWindowHook(TComponent* owner);
    ~TZvWindowHook() override;

    bool Active() const { return FActive; }
    void SetActive(bool value);
    TControl* Control() const { return FControl; }
    void SetControl(TControl* value);
    const TZvHookMessageEvent& AfterMessage() const { return FAfterMessage; }
    void SetAfterMessage(const TZvHookMessageEvent& value);
    const TZvHookMessageEvent& BeforeMessage() const { return FBeforeMessage; }
    void SetBeforeMessage(const TZvHookMessageEvent& value);

    // True when the hook watches its owner, and the owner is a form.
    bool IsForm() const;

    void DefineProperties(TFiler* filer) override;

protected:
    virtual bool DoAfterMessage(TMessage& msg);
    virtual bool DoBeforeMessage(TMessage& msg);
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool IsControlStored() const;
    TZvMessageHook AfterHook() { return TZvMessageHook::Bind<&TZvWindowHook::DoAfterMessage>(this); }
    TZvMessageHook BeforeHook() { return TZvMessageHook::Bind<&TZvWindowHook::DoBeforeMessage>(this); }

    bool FActive = false;
    TControl* FControl = nullptr;
    TZvHookMessageEvent FAfterMessage;
    TZvHookMessageEvent FBeforeMessage;
};
