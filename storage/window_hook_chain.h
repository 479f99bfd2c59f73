// The chain of message handlers behind a control's window procedure.
//
// Any number of handlers may watch the messages of a control, before and
// after the control's own window procedure, without the control's
// cooperation: one hook record per hooked control puts its dispatcher in
// the control's WindowProc while at least one handler is registered and
// gives the saved procedure back when the last one goes.
//
// The chain is written once for any control class with an assignable
// WindowProc (a TEvent<Msg&>) and any message record with a Result field,
// so that it also runs without windows: the Windows build instantiates it
// for TControl and TMessage (window_hook.h).
//
// Everything runs on the thread that owns the windows; nothing is locked.
// The cursors of a dispatch live in the record, one pair per nesting level,
// so handlers may register and unregister handlers, and send messages to
// the same control, at any time.
#pragma once

#include <algorithm>
#include <vector>

#include "classlib/core/classes.h"

enum TZvHookMode { hmBefore, hmAfter };

// A message handler: a method that takes the message by reference and
// returns true when it handled the message, which ends the dispatch.
// Present when its code is set; two handlers are equal when both their
// code and their object are.
template <class Msg>
class TZvMessageHookOf {
public:
    using Thunk = bool (*)(TObject*, Msg&);

    TZvMessageHookOf() = default;
    TZvMessageHookOf(std::nullptr_t) {}
    explicit TZvMessageHookOf(const TMethod& method) : FMethod(method) {}

    template <auto Member, class C>
    static TZvMessageHookOf Bind(C* object) {
        TMethod m;
        m.Code = reinterpret_cast<TMethodCode>(&Call<Member, C>);
        m.Data = object;
        return TZvMessageHookOf(m);
    }
    template <auto Member, class C>
    static bool Call(TObject* self, Msg& message) {
        return (static_cast<C*>(self)->*Member)(message);
    }

    bool operator()(Msg& message) const {
        return FMethod.Code && reinterpret_cast<Thunk>(FMethod.Code)(FMethod.Data, message);
    }
    explicit operator bool() const { return FMethod.Code != nullptr; }
    bool operator==(const TZvMessageHookOf& other) const { return FMethod == other.FMethod; }
    const TMethod& Method() const { return FMethod; }

private:
    TMethod FMethod;
};

template <class Control, class Msg>
class TZvWndProcHookOf;

// The hook record of one control.
template <class Control, class Msg>
class TZvHookInfosOf : public TObject {
public:
    using THook = TZvMessageHookOf<Msg>;
    using TWndProc = TEvent<Msg&>;
    using TController = TZvWndProcHookOf<Control, Msg>;

    explicit TZvHookInfosOf(Control* control) : FControl(control) {}

    ~TZvHookInfosOf() override {
        SetController(nullptr);
        UnhookControl();
        for (int mode = hmBefore; mode <= hmAfter; ++mode) {
            THookEntry* entry = FFirst[mode];
            while (entry) {
                THookEntry* next = entry->Next;
                delete entry;
                entry = next;
            }
            FFirst[mode] = FLast[mode] = nullptr;
        }
    }

    // Appends a handler to the list of mode and installs the dispatcher.
    void Add(TZvHookMode mode, const THook& hook) {
        auto* entry = new THookEntry{hook, nullptr};
        if (FLast[mode])
            FLast[mode]->Next = entry;
        else
            FFirst[mode] = entry;
        FLast[mode] = entry;
        // A dispatch that has already run the last handler of this mode
        // runs the new one next.
        for (int level = 0; level < FStackCount; ++level) {
            THookEntry*& cursor = Cursor(level, mode);
            if (!cursor) cursor = entry;
        }
        HookControl();
    }

    // Removes the first handler of mode equal to hook; the dispatcher goes
    // when no handler is left.
    void Delete(TZvHookMode mode, const THook& hook) {
        THookEntry* previous = nullptr;
        THookEntry* entry = FFirst[mode];
        while (entry && !(entry->Hook == hook)) {
            previous = entry;
            entry = entry->Next;
        }
        if (!entry) return;
        if (previous) previous->Next = entry->Next;
        if (FLast[mode] == entry) FLast[mode] = previous;
        if (FFirst[mode] == entry) FFirst[mode] = entry->Next;
        // A dispatch about to run this handler runs its successor instead.
        for (int level = 0; level < FStackCount; ++level) {
            THookEntry*& cursor = Cursor(level, mode);
            if (cursor == entry) cursor = entry->Next;
        }
        delete entry;
        if (!FFirst[hmBefore] && !FFirst[hmAfter]) UnhookControl();
    }

    // The control is going: a dispatch still running on this record stops
    // at its next check, and the record is freed later by the controller's
    // release procedure, never here.
    void ControlDestroyed() {
        if (FControlDestroyed) return;
        FControlDestroyed = true;
        FOldWndProc = TWndProc();
        TController* controller = FController;
        SetController(nullptr);
        if (controller) controller->Release(this);
    }

    // The dispatcher that stands in the control's WindowProc.
    void HookedWindowProc(Msg& message) {
        message.Result = 0;
        const int level = PushLevel();
        struct TPop {
            TZvHookInfosOf* Self;
            ~TPop() { Self->PopLevel(); }
        } pop{this};
        if (RunHandlers(level, hmBefore, message)) return;
        if (FOldWndProc) FOldWndProc(message);
        if (FControlDestroyed) return;
        RunHandlers(level, hmAfter, message);
    }

    void SetController(TController* controller) {
        if (FController == controller) return;
        if (FController) FController->RemoveInfos(this);
        FController = controller;
        if (FController) FController->AddInfos(this);
    }

    Control* GetControl() const { return FControl; }
    TController* Controller() const { return FController; }
    bool ControlIsDestroyed() const { return FControlDestroyed; }
    bool Hooked() const { return FHooked; }
    // The nesting depth of dispatches running now, and the room the level
    // stack has for them.
    int LevelCount() const { return FStackCount; }
    int LevelCapacity() const { return FStackCapacity; }
    int HookCount(TZvHookMode mode) const {
        int n = 0;
        for (THookEntry* e = FFirst[mode]; e; e = e->Next) ++n;
        return n;
    }

private:
    struct THookEntry {
        THook Hook;
        THookEntry* Next;
    };
    struct TLevel {
        THookEntry* Before = nullptr;
        THookEntry* After = nullptr;
    };

    THookEntry*& Cursor(int level, int mode) {
        TLevel& l = FStack[size_t(level)];
        return mode == hmBefore ? l.Before : l.After;
    }

    int PushLevel() {
        if (FStackCount >= FStackCapacity) {
            FStackCapacity = (FStackCapacity + 1) * 2;
            FStack.resize(size_t(FStackCapacity));
        }
        FStack[size_t(FStackCount)] = TLevel();
        return FStackCount++;
    }
    void PopLevel() {
        if (FStackCount > 0) --FStackCount;
    }

    // Runs the handlers of mode at level; true when one of them handled
    // the message or the control went meanwhile.
    bool RunHandlers(int level, TZvHookMode mode, Msg& message) {
        Cursor(level, mode) = FFirst[mode];
        while (THookEntry* entry = Cursor(level, mode)) {
            Cursor(level, mode) = entry->Next;
            // The entry may be deleted by its own handler: copy it first.
            THook hook = entry->Hook;
            if (hook(message) || FControlDestroyed) return true;
        }
        return false;
    }

    void HookControl() {
        if (FHooked || FControlDestroyed || !FControl) return;
        FOldWndProc = FControl->WindowProc;
        FControl->WindowProc = TWndProc::template Bind<&TZvHookInfosOf::HookedWindowProc>(this);
        FHooked = true;
    }
    void UnhookControl() {
        if (!FHooked || FControlDestroyed) return;
        FControl->WindowProc = FOldWndProc;
        FHooked = false;
    }

    THookEntry* FFirst[2] = {nullptr, nullptr};
    THookEntry* FLast[2] = {nullptr, nullptr};
    std::vector<TLevel> FStack;
    int FStackCapacity = 0;
    int FStackCount = 0;
    Control* FControl;
    bool FControlDestroyed = false;
    TWndProc FOldWndProc;
    bool FHooked = false;
    TController* FController = nullptr;
};

// The manager: one hook record per hooked control, found by the control's
// identity. A record whose control is destroyed leaves the manager and is
// handed to the release procedure, which frees it once no dispatch can be
// running on it any more.
template <class Control, class Msg>
class TZvWndProcHookOf : public TComponent {
public:
    using TInfos = TZvHookInfosOf<Control, Msg>;
    using THook = TZvMessageHookOf<Msg>;
    using TReleaseProc = void (*)(TObject*);

    explicit TZvWndProcHookOf(TReleaseProc release) : TComponent(nullptr), FRelease(release) {}

    ~TZvWndProcHookOf() override {
        // Each record leaves the list while it is freed.
        while (!FHookInfos.empty()) delete FHookInfos.back();
        for (TInfos* infos : FReleased) delete infos;
    }

    bool RegisterHook(Control* control, TZvHookMode mode, const THook& hook) {
        if (!control || control->IsDestroying() || !hook) return false;
        TInfos* infos = Find(control);
        if (!infos) {
            infos = new TInfos(control);
            infos->SetController(this);
            control->FreeNotification(this);
        }
        infos->Add(mode, hook);
        return true;
    }

    bool UnregisterHook(Control* control, TZvHookMode mode, const THook& hook) {
        if (!control || !hook) return false;
        TInfos* infos = Find(control);
        if (!infos) return false;
        infos->Delete(mode, hook);
        return true;
    }

    TInfos* Find(const TComponent* control) const {
        for (TInfos* infos : FHookInfos)
            if (static_cast<const TComponent*>(infos->GetControl()) == control) return infos;
        return nullptr;
    }
    int InfosCount() const { return int(FHookInfos.size()); }

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        // The control is being freed: only its identity may be used here.
        if (operation == opRemove)
            if (TInfos* infos = Find(component)) infos->ControlDestroyed();
    }

private:
    friend TInfos;
    void AddInfos(TInfos* infos) {
        if (std::find(FHookInfos.begin(), FHookInfos.end(), infos) == FHookInfos.end()) FHookInfos.push_back(infos);
    }
    void RemoveInfos(TInfos* infos) {
        FHookInfos.erase(std::remove(FHookInfos.begin(), FHookInfos.end(), infos), FHookInfos.end());
    }
    // Without a release procedure the records of destroyed controls wait
    // for the manager's end.
    void Release(TInfos* infos) {
        if (FRelease)
            FRelease(infos);
        else
            FReleased.push_back(infos);
    }

    std::vector<TInfos*> FHookInfos;
    std::vector<TInfos*> FReleased;
    TReleaseProc FRelease;
};
