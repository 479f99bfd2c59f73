// The chain of message handlers with a stand-in control: order, handled
// messages, registering and unregistering during a dispatch, nested
// dispatches, exceptions, and a control destroyed while it is hooked.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>

#include "storage/window_hook_chain.h"

namespace {

struct TFakeMessage {
    unsigned Msg = 0;
    long long WParam = 0;
    long long LParam = 0;
    long long Result = 0;
};

std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

// A component with an assignable window procedure, as a control has.
class TFakeControl : public TComponent {
public:
    explicit TFakeControl(TComponent* owner = nullptr) : TComponent(owner) {
        WindowProc = TEvent<TFakeMessage&>::Bind<&TFakeControl::WndProc>(this);
    }
    long long Perform(unsigned msg, long long wParam = 0) {
        TFakeMessage m;
        m.Msg = msg;
        m.WParam = wParam;
        WindowProc(m);
        return m.Result;
    }
    void WndProc(TFakeMessage& m) {
        Log().push_back("wndproc " + std::to_string(m.Msg));
        m.Result = 100 + m.Msg;
    }
    TEvent<TFakeMessage&> WindowProc;
};

using TFakeManager = TZvWndProcHookOf<TFakeControl, TFakeMessage>;
using TFakeInfos = TZvHookInfosOf<TFakeControl, TFakeMessage>;
using TFakeHook = TZvMessageHookOf<TFakeMessage>;

std::vector<TObject*>& Released() {
    static std::vector<TObject*> list;
    return list;
}
void CollectRelease(TObject* object) { Released().push_back(object); }

// A handler object: logs its name, then does what the test asks.
class TProbe : public TObject {
public:
    explicit TProbe(std::string name) : Name(std::move(name)) {}
    bool Handle(TFakeMessage& m) {
        Log().push_back(Name + " " + std::to_string(m.Msg));
        return Action ? Action(m) : false;
    }
    TFakeHook Hook() { return TFakeHook::Bind<&TProbe::Handle>(this); }
    std::string Name;
    std::function<bool(TFakeMessage&)> Action;
};

class HookChainTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log().clear();
        Released().clear();
        manager = std::make_unique<TFakeManager>(&CollectRelease);
        control = new TFakeControl();
    }
    void TearDown() override {
        delete control;
        manager.reset();
        for (TObject* o : Released()) delete o;
        Released().clear();
    }
    TProbe* Probe(const std::string& name) {
        probes.push_back(std::make_unique<TProbe>(name));
        return probes.back().get();
    }
    bool Register(TZvHookMode mode, TProbe* p) { return manager->RegisterHook(control, mode, p->Hook()); }
    bool Unregister(TZvHookMode mode, TProbe* p) { return manager->UnregisterHook(control, mode, p->Hook()); }

    std::unique_ptr<TFakeManager> manager;
    TFakeControl* control = nullptr;
    std::vector<std::unique_ptr<TProbe>> probes;
};

using Lines = std::vector<std::string>;

TEST_F(HookChainTest, BeforeHandlersThenTheWindowProcedureThenAfterHandlers) {
    TProbe* b1 = Probe("b1");
    TProbe* b2 = Probe("b2");
    TProbe* a1 = Probe("a1");
    ASSERT_TRUE(Register(hmAfter, a1));
    ASSERT_TRUE(Register(hmBefore, b1));
    ASSERT_TRUE(Register(hmBefore, b2));
    EXPECT_EQ(control->Perform(7), 107);
    EXPECT_EQ(Log(), (Lines{"b1 7", "b2 7", "wndproc 7", "a1 7"}));
    EXPECT_EQ(manager->InfosCount(), 1);
    EXPECT_TRUE(manager->Find(control)->Hooked());
}

TEST_F(HookChainTest, AHandledMessageSkipsTheRestAndKeepsTheHandlersResult) {
    struct Case {
        long long handlerResult;
        bool setResult;
        long long expected;
    } cases[] = {{0, false, 0}, {55, true, 55}};
    for (const Case& c : cases) {
        Log().clear();
        TProbe* b1 = Probe("b1");
        b1->Action = [c](TFakeMessage& m) {
            EXPECT_EQ(m.Result, 0);  // the dispatcher starts every message at 0
            if (c.setResult) m.Result = c.handlerResult;
            return true;
        };
        TProbe* b2 = Probe("b2");
        TProbe* a1 = Probe("a1");
        Register(hmBefore, b1);
        Register(hmBefore, b2);
        Register(hmAfter, a1);
        TFakeMessage m;
        m.Msg = 3;
        m.Result = 999;
        control->WindowProc(m);
        EXPECT_EQ(m.Result, c.expected);
        EXPECT_EQ(Log(), (Lines{"b1 3"}));
        Unregister(hmBefore, b1);
        Unregister(hmBefore, b2);
        Unregister(hmAfter, a1);
    }
}

TEST_F(HookChainTest, TheSameHandlerTwiceRunsTwiceAndUnregisteringRemovesOne) {
    TProbe* p = Probe("p");
    TProbe* q = Probe("q");
    Register(hmBefore, p);
    Register(hmBefore, q);
    Register(hmBefore, p);
    control->Perform(1);
    EXPECT_EQ(Log(), (Lines{"p 1", "q 1", "p 1", "wndproc 1"}));
    Log().clear();
    EXPECT_TRUE(Unregister(hmBefore, p));
    control->Perform(2);
    EXPECT_EQ(Log(), (Lines{"q 2", "p 2", "wndproc 2"}));
    EXPECT_EQ(manager->Find(control)->HookCount(hmBefore), 2);
}

TEST_F(HookChainTest, TheLastUnregisterGivesBackTheExactProcedure) {
    // Someone else already sits in front of the control.
    TProbe* other = Probe("other");
    struct TFront : TObject {
        TEvent<TFakeMessage&> Next;
        void Proc(TFakeMessage& m) {
            Log().push_back("front");
            Next(m);
        }
    } front;
    front.Next = control->WindowProc;
    control->WindowProc = TEvent<TFakeMessage&>::Bind<&TFront::Proc>(&front);
    const TEvent<TFakeMessage&> before = control->WindowProc;

    Register(hmBefore, other);
    Register(hmAfter, other);
    EXPECT_FALSE(control->WindowProc == before);
    Unregister(hmBefore, other);
    EXPECT_FALSE(control->WindowProc == before);  // an after handler is left
    Unregister(hmAfter, other);
    EXPECT_TRUE(control->WindowProc == before);
    EXPECT_FALSE(manager->Find(control)->Hooked());
    Log().clear();
    control->Perform(4);
    EXPECT_EQ(Log(), (Lines{"front", "wndproc 4"}));
    // Registering again hooks again.
    Register(hmAfter, other);
    EXPECT_TRUE(manager->Find(control)->Hooked());
    EXPECT_EQ(manager->InfosCount(), 1);
}

TEST_F(HookChainTest, RefusalsReturnFalseAndCreateNothing) {
    TProbe* p = Probe("p");
    EXPECT_FALSE(manager->RegisterHook(nullptr, hmBefore, p->Hook()));
    EXPECT_FALSE(manager->RegisterHook(control, hmBefore, TFakeHook()));
    EXPECT_FALSE(manager->UnregisterHook(control, hmBefore, p->Hook()));  // no record yet
    control->Destroying();
    EXPECT_FALSE(manager->RegisterHook(control, hmBefore, p->Hook()));
    EXPECT_EQ(manager->InfosCount(), 0);
    EXPECT_EQ(manager->Find(control), nullptr);
}

TEST_F(HookChainTest, UnregisteringAHandlerThatIsNotThereChangesNothing) {
    TProbe* p = Probe("p");
    TProbe* q = Probe("q");
    Register(hmBefore, p);
    EXPECT_TRUE(Unregister(hmBefore, q));
    EXPECT_TRUE(Unregister(hmAfter, p));
    EXPECT_FALSE(manager->UnregisterHook(control, hmBefore, TFakeHook()));
    EXPECT_EQ(manager->Find(control)->HookCount(hmBefore), 1);
    EXPECT_TRUE(manager->Find(control)->Hooked());
}

TEST_F(HookChainTest, AHandlerThatUnregistersTheNextOneSkipsIt) {
    TProbe* p = Probe("p");
    TProbe* q = Probe("q");
    TProbe* r = Probe("r");
    p->Action = [&](TFakeMessage&) { return Unregister(hmBefore, q), false; };
    Register(hmBefore, p);
    Register(hmBefore, q);
    Register(hmBefore, r);
    control->Perform(1);
    EXPECT_EQ(Log(), (Lines{"p 1", "r 1", "wndproc 1"}));
}

TEST_F(HookChainTest, AHandlerMayUnregisterItselfAndTheLastOneToo) {
    TProbe* p = Probe("p");
    TProbe* q = Probe("q");
    p->Action = [&](TFakeMessage&) { return Unregister(hmAfter, p), false; };
    q->Action = [&](TFakeMessage&) { return Unregister(hmAfter, q), false; };
    Register(hmAfter, p);
    Register(hmAfter, q);
    control->Perform(1);
    EXPECT_EQ(Log(), (Lines{"wndproc 1", "p 1", "q 1"}));
    EXPECT_FALSE(manager->Find(control)->Hooked());
    Log().clear();
    control->Perform(2);
    EXPECT_EQ(Log(), (Lines{"wndproc 2"}));
}

TEST_F(HookChainTest, AHandlerAddedByTheLastOneRunsInTheSameDispatch) {
    TProbe* p = Probe("p");
    TProbe* late = Probe("late");
    TProbe* afterLate = Probe("afterLate");
    p->Action = [&](TFakeMessage& m) {
        if (m.Msg == 1) {
            Register(hmBefore, late);
            Register(hmAfter, afterLate);
        }
        return false;
    };
    Register(hmBefore, p);
    control->Perform(1);
    // The before list had been run to its end; the after list not started.
    EXPECT_EQ(Log(), (Lines{"p 1", "late 1", "wndproc 1", "afterLate 1"}));
}

TEST_F(HookChainTest, AMessageSentFromAHandlerIsDispatchedAtANewLevel) {
    TProbe* p = Probe("p");
    TProbe* q = Probe("q");
    TProbe* a = Probe("a");
    std::vector<int> levels;
    p->Action = [&](TFakeMessage& m) {
        levels.push_back(manager->Find(control)->LevelCount());
        if (m.Msg < 4) {
            EXPECT_EQ(control->Perform(m.Msg + 1), 100 + m.Msg + 1);
        }
        return false;
    };
    Register(hmBefore, p);
    Register(hmBefore, q);
    Register(hmAfter, a);
    EXPECT_EQ(control->Perform(1), 101);
    EXPECT_EQ(Log(), (Lines{"p 1", "p 2", "p 3", "p 4", "q 4", "wndproc 4", "a 4", "q 3", "wndproc 3", "a 3", "q 2",
                            "wndproc 2", "a 2", "q 1", "wndproc 1", "a 1"}));
    EXPECT_EQ(levels, (std::vector<int>{1, 2, 3, 4}));
    TFakeInfos* infos = manager->Find(control);
    EXPECT_EQ(infos->LevelCount(), 0);
    EXPECT_EQ(infos->LevelCapacity(), 6);  // 2, then (2 + 1) * 2
}

TEST_F(HookChainTest, AnExceptionLeavesTheDispatchAfterPoppingItsLevel) {
    TProbe* p = Probe("p");
    TProbe* a = Probe("a");
    p->Action = [](TFakeMessage& m) -> bool {
        if (m.Msg == 9) throw std::runtime_error("boom");
        return false;
    };
    Register(hmBefore, p);
    Register(hmAfter, a);
    EXPECT_THROW(control->Perform(9), std::runtime_error);
    EXPECT_EQ(Log(), (Lines{"p 9"}));
    EXPECT_EQ(manager->Find(control)->LevelCount(), 0);
    Log().clear();
    EXPECT_EQ(control->Perform(1), 101);
    EXPECT_EQ(Log(), (Lines{"p 1", "wndproc 1", "a 1"}));
}

TEST_F(HookChainTest, ADestroyedControlsRecordIsReleasedNotFreed) {
    TProbe* p = Probe("p");
    Register(hmBefore, p);
    TFakeInfos* infos = manager->Find(control);
    FreeAndNil(control);
    EXPECT_EQ(manager->InfosCount(), 0);
    ASSERT_EQ(Released().size(), 1u);
    EXPECT_EQ(Released()[0], infos);
    EXPECT_TRUE(infos->ControlIsDestroyed());
    EXPECT_EQ(infos->Controller(), nullptr);
    // Still a valid record until the release procedure frees it.
    EXPECT_EQ(infos->HookCount(hmBefore), 1);
}

TEST_F(HookChainTest, DestroyingTheControlInsideADispatchEndsIt) {
    TProbe* killer = Probe("killer");
    TProbe* next = Probe("next");
    TProbe* a = Probe("a");
    killer->Action = [&](TFakeMessage&) {
        FreeAndNil(control);
        return false;
    };
    Register(hmBefore, killer);
    Register(hmBefore, next);
    Register(hmAfter, a);
    TFakeControl* victim = control;
    TFakeMessage m;
    m.Msg = 5;
    victim->WindowProc(m);  // the event was copied by the call: safe to destroy
    EXPECT_EQ(Log(), (Lines{"killer 5"}));
    EXPECT_EQ(control, nullptr);
    ASSERT_EQ(Released().size(), 1u);
    EXPECT_EQ(static_cast<TFakeInfos*>(Released()[0])->LevelCount(), 0);
}

TEST_F(HookChainTest, TheManagersEndGivesEveryControlItsProcedureBack) {
    auto* second = new TFakeControl();
    const TEvent<TFakeMessage&> first = control->WindowProc;
    const TEvent<TFakeMessage&> original = second->WindowProc;
    TProbe* p = Probe("p");
    Register(hmBefore, p);
    manager->RegisterHook(second, hmAfter, p->Hook());
    EXPECT_EQ(manager->InfosCount(), 2);
    manager.reset();
    EXPECT_TRUE(control->WindowProc == first);
    EXPECT_TRUE(second->WindowProc == original);
    delete second;  // tells nobody: the manager is gone
}

TEST_F(HookChainTest, HandlersCompareByCodeAndObject) {
    TProbe* p = Probe("p");
    TProbe* q = Probe("q");
    EXPECT_TRUE(p->Hook() == p->Hook());
    EXPECT_FALSE(p->Hook() == q->Hook());
    EXPECT_FALSE(bool(TFakeHook()));
    EXPECT_TRUE(bool(p->Hook()));
    TFakeMessage m;
    EXPECT_FALSE(TFakeHook()(m));  // an empty handler handles nothing
}

}  // namespace
