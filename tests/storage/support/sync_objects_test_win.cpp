// Waitable handles, named mutexes and critical sections.
#include "storage/support/sync_objects.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "classlib/core/sysutils.h"
#include "classlib/os/files.h"
#include "classlib/os/win.h"
#include "storage/support/errors.h"

namespace {

String UniqueName(const char* what) {
    return String("QuillmereTest.") + what + "." + std::to_string(GetCurrentProcessId());
}

TEST(ZevMutex, CreatesOrOpensByName) {
    String name = UniqueName("Mutex");
    TZevMutex first(nullptr, false, name);
    EXPECT_EQ(first.Name(), name);
    EXPECT_FALSE(first.Existed());
    TZevMutex second(nullptr, false, name);
    EXPECT_TRUE(second.Existed());
    EXPECT_EQ(first.WaitSignal(0), wrSignaled);
    EXPECT_TRUE(first.Unlock());
    EXPECT_FALSE(first.Unlock());  // no longer owned
}

TEST(ZevMutex, InitiallyOwnedMutexIsHeldByItsCreator) {
    String name = UniqueName("Owned");
    TZevMutex mutex(nullptr, true, name);
    TZevWaitResult elsewhere = wrError;
    std::thread([&] {
        TZevMutex other(nullptr, false, name);
        elsewhere = other.WaitSignal(0);
    }).join();
    EXPECT_EQ(elsewhere, wrTimeout);
    EXPECT_TRUE(mutex.Unlock());
}

TEST(ZevMutex, AWaitThatEndsAbandonedCountsAsAcquired) {
    String name = UniqueName("Abandoned");
    TZevMutex mutex(nullptr, false, name);
    // A thread that takes the mutex and ends without releasing it.
    std::thread([&] {
        TZevMutex other(nullptr, false, name);
        EXPECT_EQ(other.WaitSignalForever(), wrSignaled);
    }).join();

    EXPECT_TRUE(mutex.Lock());  // WAIT_ABANDONED: the mutex is ours now
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_EQ(mutex.WaitSignal(0), wrSignaled);  // abandoned only once
    EXPECT_TRUE(mutex.Unlock());
}

TEST(ZevMutex, WaitSignalReportsAnAbandonedWait) {
    String name = UniqueName("Abandoned2");
    TZevMutex mutex(nullptr, false, name);
    std::thread([&] {
        TZevMutex other(nullptr, false, name);
        other.Lock();
    }).join();
    EXPECT_EQ(mutex.WaitSignal(ZevInfiniteWait), wrAbandoned);
    EXPECT_TRUE(WaitAcquiresMutex(wrAbandoned));
    EXPECT_FALSE(WaitAcquiresMutex(wrTimeout));
    EXPECT_FALSE(WaitAcquiresMutex(wrError));
    EXPECT_TRUE(mutex.Unlock());
}

TEST(ZevMutex, FailureRaisesTheMutexError) {
    // The name belongs to an event: no mutex of that name can be made.
    String name = UniqueName("Event");
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
    ASSERT_NE(event, nullptr);
    try {
        TZevMutex mutex(nullptr, false, name);
        ADD_FAILURE() << "no error";
    } catch (const EZevMutexError& e) {
        EXPECT_EQ(e.LastError(), DWORD(ERROR_INVALID_HANDLE));
        EXPECT_EQ(e.Message(),
                  "Win32 error: " + SysErrorMessage(ERROR_INVALID_HANDLE) + " (6)\r\nFailed to create mutex");
    }
    CloseHandle(event);
}

TEST(ZevCriticalSection, SerialisesThreads) {
    TZevCriticalSection section;
    long counter = 0;
    auto work = [&] {
        for (int i = 0; i < 20000; ++i) {
            section.Enter();
            long seen = counter;
            counter = seen + 1;
            section.Leave();
        }
    };
    std::thread a(work), b(work);
    a.join();
    b.join();
    EXPECT_EQ(counter, 40000);
}

TEST(ZevCriticalSection, InterfaceReferenceHoldsTheLock) {
    TZevIntfCriticalSection lock;
    std::atomic<int> step{0};
    int seenByOther = -1;
    EXPECT_EQ(lock._AddRef(), -1);
    std::thread other([&] {
        step = 1;
        lock._AddRef();  // waits until the main thread drops its reference
        seenByOther = step;
        lock._Release();
    });
    while (step == 0) std::this_thread::yield();
    step = 2;
    EXPECT_EQ(lock._Release(), -1);
    other.join();
    EXPECT_EQ(seenByOther, 2);
}

}  // namespace
