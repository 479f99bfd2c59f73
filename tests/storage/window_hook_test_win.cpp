// The window hook on real windows under Wine: messages seen before and
// after a form's own procedure, switching on and off, moving to another
// control, the "IsForm" stored property, and the releaser that frees the
// record of a destroyed control from its posted message.
#include <gtest/gtest.h>

#include "classlib/core/filer.h"
#include "classlib/ui/forms.h"
#include "storage/window_hook.h"

namespace {

// Runs every message already posted to this thread.
void Pump() {
    MSG msg;
    for (int round = 0; round < 3; ++round)
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
}

bool IsReleaseQueued() {
    MSG msg;
    return PeekMessageA(&msg, ReleaserInstance()->Handle(), CM_ZVRELEASE, CM_ZVRELEASE, PM_NOREMOVE) != 0;
}

// Receives the hook's events.
class TWatcher : public TObject {
public:
    std::vector<UINT> Before, After;
    UINT Swallow = 0;  // a message the before handler marks handled
    void OnBefore(TObject* sender, TMessage& msg, bool& handled) {
        EXPECT_TRUE(dynamic_cast<TZvWindowHook*>(sender));
        Before.push_back(msg.Msg);
        if (msg.Msg == Swallow) {
            msg.Result = 77;
            handled = true;
        }
    }
    void OnAfter(TObject*, TMessage& msg, bool&) { After.push_back(msg.Msg); }
    TZvHookMessageEvent BeforeEvent() { return TZvHookMessageEvent::Bind<&TWatcher::OnBefore>(this); }
    TZvHookMessageEvent AfterEvent() { return TZvHookMessageEvent::Bind<&TWatcher::OnAfter>(this); }
    bool SawAfter(UINT m) const { return std::find(After.begin(), After.end(), m) != After.end(); }
};

class WindowHookTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterClass(TZvWindowHook::StaticClass());
        form = new TForm(Application);
        form->SetCaption("hooked");
        form->HandleNeeded();
        original = form->WindowProc;
    }
    void TearDown() override {
        delete hook;
        delete form;
        Pump();
    }
    TForm* form = nullptr;
    TZvWindowHook* hook = nullptr;
    TWatcher watcher;
    TWndMethod original;
};

constexpr UINT WM_PROBE = WM_USER + 12;

TEST_F(WindowHookTest, SeesMessagesBeforeAndAfterTheFormsOwnProcedure) {
    hook = new TZvWindowHook(nullptr);
    EXPECT_TRUE(hook->Active());
    hook->SetBeforeMessage(watcher.BeforeEvent());
    hook->SetAfterMessage(watcher.AfterEvent());
    hook->SetControl(form);
    SendMessageA(form->Handle(), WM_PROBE, 0, 0);
    EXPECT_EQ(watcher.Before, (std::vector<UINT>{WM_PROBE}));
    EXPECT_EQ(watcher.After, (std::vector<UINT>{WM_PROBE}));
    // Handled before the form: the form never sees the new text.
    watcher.Swallow = WM_SETTEXT;
    EXPECT_EQ(SendMessageA(form->Handle(), WM_SETTEXT, 0, LPARAM("changed")), 77);
    char text[32] = {};
    GetWindowTextA(form->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "hooked");
    EXPECT_FALSE(watcher.SawAfter(WM_SETTEXT));
}

TEST_F(WindowHookTest, SwitchingOffAndClearingEventsGiveTheProcedureBack) {
    hook = new TZvWindowHook(nullptr);
    hook->SetControl(form);
    EXPECT_TRUE(form->WindowProc == original);  // no event: nothing registered
    hook->SetAfterMessage(watcher.AfterEvent());
    EXPECT_FALSE(form->WindowProc == original);
    TZvHookInfos* infos = WndProcHookManager()->Find(form);
    ASSERT_NE(infos, nullptr);
    EXPECT_EQ(infos->HookCount(hmAfter), 1);
    hook->SetAfterMessage(watcher.AfterEvent());  // the same again: still one
    EXPECT_EQ(infos->HookCount(hmAfter), 1);
    hook->SetActive(false);
    EXPECT_TRUE(form->WindowProc == original);
    hook->SetActive(true);
    EXPECT_EQ(infos->HookCount(hmAfter), 1);
    hook->SetAfterMessage(nullptr);
    EXPECT_EQ(infos->HookCount(hmAfter), 0);
    EXPECT_TRUE(form->WindowProc == original);
    SendMessageA(form->Handle(), WM_PROBE, 0, 0);
    EXPECT_TRUE(watcher.After.empty());
}

TEST_F(WindowHookTest, AnotherControlTakesTheRegistrationAlong) {
    auto* second = new TForm(Application);
    second->HandleNeeded();
    hook = new TZvWindowHook(nullptr);
    hook->SetAfterMessage(watcher.AfterEvent());
    hook->SetControl(form);
    hook->SetControl(second);
    EXPECT_TRUE(form->WindowProc == original);
    SendMessageA(form->Handle(), WM_PROBE, 1, 0);
    EXPECT_TRUE(watcher.After.empty());
    SendMessageA(second->Handle(), WM_PROBE, 2, 0);
    EXPECT_TRUE(watcher.SawAfter(WM_PROBE));
    delete second;
    EXPECT_EQ(hook->Control(), nullptr);
    EXPECT_TRUE(hook->Active());
    // A control that is being destroyed is refused.
    form->Destroying();
    hook->SetControl(form);
    EXPECT_EQ(hook->Control(), nullptr);
    EXPECT_TRUE(form->WindowProc == original);
}

TEST_F(WindowHookTest, ADestroyedFormsRecordIsFreedByThePostedRelease) {
    hook = new TZvWindowHook(nullptr);
    hook->SetAfterMessage(watcher.AfterEvent());
    hook->SetControl(form);
    TZvHookInfos* infos = WndProcHookManager()->Find(form);
    ASSERT_NE(infos, nullptr);
    const int before = WndProcHookManager()->InfosCount();
    Pump();
    FreeAndNil(form);
    // The form's last messages still went through the hook.
    EXPECT_TRUE(watcher.SawAfter(WM_DESTROY));
    EXPECT_EQ(hook->Control(), nullptr);
    EXPECT_EQ(WndProcHookManager()->InfosCount(), before - 1);
    EXPECT_TRUE(ReleaserInstance()->IsPending(infos));
    EXPECT_TRUE(infos->ControlIsDestroyed());
    EXPECT_TRUE(IsReleaseQueued());
    Pump();
    EXPECT_FALSE(ReleaserInstance()->IsPending(infos));
    EXPECT_FALSE(IsReleaseQueued());
}

// Counts its frees; may refuse to go quietly.
class TCounted : public TObject {
public:
    explicit TCounted(int* frees, bool raise = false) : FFrees(frees), FRaise(raise) {}
    void BeforeDestruction() override {
        ++*FFrees;
        if (FRaise) throw Exception("release failed");
    }

private:
    int* FFrees;
    bool FRaise;
};

TEST(Releaser, PostsOncePerObjectAndFreesFromTheMessage) {
    int frees = 0;
    auto* object = new TCounted(&frees);
    ReleaseObject(object);
    ReleaseObject(object);
    EXPECT_EQ(ReleaserInstance()->PendingCount(), 1);
    EXPECT_EQ(frees, 0);
    MSG msg;
    int posted = 0;
    while (PeekMessageA(&msg, ReleaserInstance()->Handle(), CM_ZVRELEASE, CM_ZVRELEASE, PM_REMOVE)) {
        ++posted;
        EXPECT_EQ(msg.wParam, WPARAM(object));
        EXPECT_EQ(msg.lParam, 0);
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(posted, 1);
    EXPECT_EQ(frees, 1);
    EXPECT_EQ(ReleaserInstance()->PendingCount(), 0);
    // A stray release message for an object that is not pending frees nothing.
    SendMessageA(ReleaserInstance()->Handle(), CM_ZVRELEASE, WPARAM(object), 0);
    EXPECT_EQ(frees, 1);
    // Other messages get the default procedure's answer.
    EXPECT_EQ(SendMessageA(ReleaserInstance()->Handle(), WM_GETTEXTLENGTH, 0, 0), 0);
}

class TExceptionCatcher : public TObject {
public:
    String Message;
    void OnException(TObject*, const Exception& e) { Message = e.Message(); }
};

TEST(Releaser, AnExceptionWhileReleasingGoesToTheApplication) {
    TExceptionCatcher catcher;
    const TExceptionEvent saved = Application->OnException;
    Application->OnException = TExceptionEvent::Bind<&TExceptionCatcher::OnException>(&catcher);
    int frees = 0;
    ReleaseObject(new TCounted(&frees, true));
    Pump();
    Application->OnException = saved;
    EXPECT_EQ(frees, 1);
    EXPECT_EQ(catcher.Message, "release failed");
    EXPECT_EQ(ReleaserInstance()->PendingCount(), 0);
}

// A plain windowed control for stored layouts.
class TBox : public TCustomControl {
    QL_CLASS(TBox, TCustomControl)
public:
    explicit TBox(TComponent* owner) : TCustomControl(owner) {}
};

TClass TBox::StaticClass() {
    static const TClassInfo info = TClassBuilder<TBox>("TBox").Build();
    return &info;
}

// The hook's stored form: a hook on its own form says so with "IsForm",
// one on another control names it.
const char* const HookLayout = R"(object HookForm: TForm
  Caption = 'hooks'
  object FormHook: TZvWindowHook
    IsForm = True
  end
  object Inner: TBox
  end
end
)";

TEST_F(WindowHookTest, IsFormIsStoredAndReadBack) {
    RegisterClasses({TForm::StaticClass(), TBox::StaticClass()});
    auto* root = new TForm(Application);
    root->ReadLayout(HookLayout, "hooks");
    auto* formHook = dynamic_cast<TZvWindowHook*>(root->FindComponent("FormHook"));
    ASSERT_NE(formHook, nullptr);
    EXPECT_EQ(formHook->Control(), root);
    EXPECT_TRUE(formHook->IsForm());
    String text = TWriter().WriteRootComponent(root);
    EXPECT_NE(text.find("IsForm = True"), String::npos) << text;
    EXPECT_EQ(text.find("Control ="), String::npos) << text;

    // A hook on something else than its owner form: Control, no IsForm.
    formHook->SetControl(dynamic_cast<TControl*>(root->FindComponent("Inner")));
    EXPECT_FALSE(formHook->IsForm());
    text = TWriter().WriteRootComponent(root);
    EXPECT_EQ(text.find("IsForm"), String::npos) << text;
    EXPECT_NE(text.find("Control = Inner"), String::npos) << text;
    delete root;
}

TEST(WndProcHookFinalize, FreesPendingRecordsAndUnhooksTheRest) {
    auto* form = new TForm(Application);
    form->HandleNeeded();
    const TWndMethod original = form->WindowProc;
    TWatcher watcher;
    auto* hook = new TZvWindowHook(nullptr);
    hook->SetAfterMessage(watcher.AfterEvent());
    hook->SetControl(form);
    int frees = 0;
    ReleaseObject(new TCounted(&frees));
    ZvWndProcHookFinalize();
    EXPECT_EQ(frees, 1);
    EXPECT_TRUE(form->WindowProc == original);
    // The hook itself may still go afterwards; the manager comes back anew.
    delete hook;
    EXPECT_EQ(WndProcHookManager()->InfosCount(), 0);
    delete form;
    Pump();
}

}  // namespace
