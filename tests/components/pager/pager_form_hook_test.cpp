#include "components/pager/pager_form_hook.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <vector>

namespace {

struct TMsg {
    int Msg = 0;
};
using TProc = TEvent<TMsg&>;
using THooks = TSharedFormHooks<TMsg>;

// A form as the hooks see it: a component with a procedure slot that
// starts out as its own procedure.
class TFakeForm : public TComponent {
public:
    TFakeForm() : TComponent(nullptr) { WindowProc = Own(); }
    TProc Own() { return TProc::Bind<&TFakeForm::WndProc>(this); }
    TProc WindowProc;
    void Perform(int msg) {
        TMsg m;
        m.Msg = msg;
        WindowProc(m);
    }
    int Messages = 0;
    std::function<void(TMsg&)> OnMessage;

private:
    void WndProc(TMsg& m) {
        ++Messages;
        if (OnMessage) OnMessage(m);
    }
};

struct TClient : TObject {
    int Messages = 0;
    std::function<void(TMsg&)> OnMessage;
    void Handle(TMsg& m) {
        ++Messages;
        if (OnMessage) OnMessage(m);
    }
    TProc Method() { return TProc::Bind<&TClient::Handle>(this); }
};

// A hook set on the form after the shared one, passing messages on.
struct TLaterHook : TObject {
    TProc Found;
    int Messages = 0;
    void Dispatch(TMsg& m) {
        ++Messages;
        Found(m);
    }
    TProc Method() { return TProc::Bind<&TLaterHook::Dispatch>(this); }
};

// A form freed while its hook is still known (a later hook kept it in the
// form after the last client left, or a client is still joined): the hook
// goes with the form, and a new form made at the very same address gets a
// hook of its own that reaches its clients and gives its procedure back.
TEST(SharedFormHooks, AFreedFormTakesItsHookAndANewFormAtItsAddressIsHooked) {
    struct TRow {
        bool LaterHook;
        bool ClientLeavesFirst;
    };
    for (const TRow row : {TRow{true, true}, TRow{true, false}, TRow{false, false}, TRow{false, true}}) {
        SCOPED_TRACE(testing::Message() << "later " << row.LaterHook << " leaves " << row.ClientLeavesFirst);
        THooks hooks;
        alignas(TFakeForm) unsigned char storage[sizeof(TFakeForm)];
        TClient client;
        TLaterHook later;
        auto* form = new (storage) TFakeForm;
        hooks.Join(form, form->WindowProc, client.Method());
        if (row.LaterHook) {
            later.Found = form->WindowProc;
            form->WindowProc = later.Method();
        }
        if (row.ClientLeavesFirst) hooks.Leave(form, client.Method());
        EXPECT_EQ(hooks.Hooked(form), row.LaterHook || !row.ClientLeavesFirst);
        form->~TFakeForm();
        EXPECT_FALSE(hooks.Hooked(form));
        // The client is not called for the next form until it joins it.
        client.Messages = 0;
        auto* next = new (storage) TFakeForm;
        ASSERT_EQ(static_cast<void*>(next), static_cast<void*>(storage));
        next->Perform(1);
        EXPECT_EQ(client.Messages, 0);
        const TProc own = next->Own();
        hooks.Join(next, next->WindowProc, client.Method());
        EXPECT_FALSE(next->WindowProc == own);
        next->Perform(2);
        EXPECT_EQ(client.Messages, 1);
        EXPECT_EQ(next->Messages, 2);
        hooks.Leave(next, client.Method());
        EXPECT_TRUE(next->WindowProc == own);
        EXPECT_FALSE(hooks.Hooked(next));
        next->~TFakeForm();
    }
}

// The hook is let go while it dispatches a message: the form's own
// procedure or the first client makes every client leave, or the form
// frees itself. Clients that left before their turn are not called, the
// form (when it stays) has its own procedure back, and nothing reads the
// hook after it is freed (the sanitizers watch that).
TEST(SharedFormHooks, AHookLetGoInsideItsOwnDispatchFinishesTheMessage) {
    enum TWho { FormLeavesAll, FirstClientLeavesAll, FormFreesItself };
    for (const TWho who : {FormLeavesAll, FirstClientLeavesAll, FormFreesItself}) {
        for (const int count : {1, 2, 3}) {
            SCOPED_TRACE(testing::Message() << "who " << who << " clients " << count);
            THooks hooks;
            auto* form = new TFakeForm;
            const TProc own = form->Own();
            std::vector<TClient> clients(static_cast<size_t>(count));
            for (TClient& c : clients) hooks.Join(form, form->WindowProc, c.Method());
            const auto leaveAll = [&](TMsg& m) {
                if (m.Msg != 7) return;
                for (TClient& c : clients) hooks.Leave(form, c.Method());
            };
            bool freed = false;
            if (who == FormLeavesAll) form->OnMessage = leaveAll;
            if (who == FirstClientLeavesAll) clients[0].OnMessage = leaveAll;
            if (who == FormFreesItself)
                form->OnMessage = [&](TMsg& m) {
                    if (m.Msg != 7) return;
                    freed = true;
                    delete form;
                };
            // A message that lets nothing go reaches every client.
            form->Perform(1);
            for (const TClient& c : clients) EXPECT_EQ(c.Messages, 1);
            form->Perform(7);
            EXPECT_EQ(clients[0].Messages, who == FirstClientLeavesAll ? 2 : 1);
            for (size_t i = 1; i < clients.size(); ++i) EXPECT_EQ(clients[i].Messages, 1) << i;
            EXPECT_FALSE(hooks.Hooked(form));
            if (freed) continue;
            EXPECT_TRUE(form->WindowProc == own);
            // Clients that left hear nothing more.
            std::vector<int> heard;
            for (const TClient& c : clients) heard.push_back(c.Messages);
            form->Perform(1);
            for (size_t i = 0; i < clients.size(); ++i) EXPECT_EQ(clients[i].Messages, heard[i]) << i;
            // A client that joins again hooks the form anew.
            hooks.Join(form, form->WindowProc, clients[0].Method());
            EXPECT_FALSE(form->WindowProc == own);
            delete form;
            EXPECT_FALSE(hooks.Hooked(form));
        }
    }
}

// Hooks left joined when the registry goes give their forms back what they
// found.
TEST(SharedFormHooks, TheRegistryGivesEveryFormItsProcedureBackWhenItGoes) {
    TFakeForm form;
    TClient client;
    const TProc own = form.Own();
    {
        THooks hooks;
        hooks.Join(&form, form.WindowProc, client.Method());
        EXPECT_FALSE(form.WindowProc == own);
    }
    EXPECT_TRUE(form.WindowProc == own);
    form.Perform(1);
    EXPECT_EQ(client.Messages, 0);
}

}  // namespace
