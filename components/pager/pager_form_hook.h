// The one hook of a form's window procedure that every pager on the form
// showing key tips shares. Portable: the form is a component with a
// procedure slot (TEvent<Message&>), and each client is a handler that the
// hook calls after the procedure it found.
#pragma once

#include <algorithm>
#include <map>
#include <vector>

#include "classlib/core/classes.h"
#include "classlib/core/events.h"

template <class Message>
class TSharedFormHooks {
public:
    using TProc = TEvent<Message&>;

    TSharedFormHooks() = default;
    TSharedFormHooks(const TSharedFormHooks&) = delete;
    TSharedFormHooks& operator=(const TSharedFormHooks&) = delete;
    // Every form still hooked gets back what its hook found, where the hook
    // is still its procedure.
    ~TSharedFormHooks() {
        for (auto& [form, hook] : FHooks) {
            if (*hook->Slot == hook->Method()) *hook->Slot = hook->Saved;
            hook->Retire();
        }
    }

    // Adds client to the hook of form, whose procedure slot is slot. The
    // first client puts the hook in the slot, saving what the slot held.
    void Join(TComponent* form, TProc& slot, TProc client) {
        THook*& hook = FHooks[form];
        if (!hook) {
            hook = new THook(slot);
            TComponent* watched = nullptr;
            FWatch.ReplaceReference(watched, form);
            slot = hook->Method();
        }
        hook->Clients.push_back(client);
    }

    // Removes client from the hook of form. The last one gives the slot
    // back what the hook found, unless something hooked the form after it:
    // that hook still calls this one, which then only passes messages on
    // and stays until the form goes (or a client joins it again and the
    // slot is its own by the time the last one leaves). The form is not
    // touched when it has no hook of these.
    void Leave(TComponent* form, TProc client) {
        auto it = FHooks.find(form);
        if (it == FHooks.end()) return;
        THook* hook = it->second;
        std::erase(hook->Clients, client);
        if (!hook->Clients.empty() || !(*hook->Slot == hook->Method())) return;
        *hook->Slot = hook->Saved;
        Drop(it);
    }

    // A hook of these is on form (joined, and the form not yet freed).
    bool Hooked(TComponent* form) const { return FHooks.count(form) != 0; }

private:
    // Calls the procedure it found, then each client still joined. A hook
    // that is let go while it dispatches (a client leaves, or the form is
    // freed, inside a message) is freed once the outermost dispatch returns.
    class THook : public TObject {
    public:
        explicit THook(TProc& slot) : Slot(&slot), Saved(slot) {}
        TProc Method() { return TProc::template Bind<&THook::Dispatch>(this); }
        void Retire() {
            Clients.clear();
            if (FDepth == 0)
                delete this;
            else
                FRetired = true;
        }

        TProc* Slot;
        TProc Saved;
        std::vector<TProc> Clients;

    private:
        void Dispatch(Message& m) {
            struct TDepth {
                THook* Hook;
                explicit TDepth(THook* hook) : Hook(hook) { ++Hook->FDepth; }
                ~TDepth() {
                    if (--Hook->FDepth == 0 && Hook->FRetired) delete Hook;
                }
            } depth(this);
            Saved(m);
            const std::vector<TProc> clients = Clients;
            for (const TProc& client : clients)
                if (std::find(Clients.begin(), Clients.end(), client) != Clients.end()) client(m);
        }

        int FDepth = 0;
        bool FRetired = false;
    };

    void Drop(typename std::map<TComponent*, THook*>::iterator it) {
        TComponent* watched = it->first;
        THook* hook = it->second;
        FHooks.erase(it);
        FWatch.ReplaceReference(watched, static_cast<TComponent*>(nullptr));
        hook->Retire();
    }

    // A freed form takes its hook with it: another form made later at the
    // same address gets a hook of its own.
    void FormFreed(TComponent* form) {
        auto it = FHooks.find(form);
        if (it == FHooks.end()) return;
        THook* hook = it->second;
        FHooks.erase(it);
        hook->Retire();
    }

    std::map<TComponent*, THook*> FHooks;
    TFreeNotifier FWatch{[this](TComponent* form) { FormFreed(form); }};
};
