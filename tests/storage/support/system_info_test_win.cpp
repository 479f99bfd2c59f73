// The Windows part of the support routines: start-up tables and system
// information, folders, mutexes and critical sections.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "classlib/core/sysutils.h"
#include "classlib/os/files.h"
#include "classlib/os/win.h"
#include "classlib/ui/forms.h"
#include "storage/support/char_tables.h"
#include "storage/support/errors.h"
#include "storage/support/folders.h"
#include "storage/support/guid_win.h"
#include "storage/support/sync_objects.h"
#include "storage/support/system_info.h"

namespace {

// The program entry runs the units' start-up; the tests do it once here.
class TSupportUnit : public ::testing::Environment {
public:
    void SetUp() override {
        ClasslibUiInitialize();
        ZevSupportInitialize();
    }
    void TearDown() override {
        ZevSupportFinalize();
        ClasslibUiFinalize();
    }
};
::testing::Environment* const SupportUnit = ::testing::AddGlobalTestEnvironment(new TSupportUnit);

String UniqueName(const char* what) {
    return String("QuillmereTest.") + what + "." + std::to_string(GetCurrentProcessId());
}

TEST(ZevStartup, CharacterTablesFollowTheLocale) {
    const TZevCharTables& t = ZevCharTables();
    EXPECT_EQ(t.UpperMap[Byte('q')], 'Q');
    EXPECT_EQ(t.LowerMap[Byte('Q')], 'q');
    EXPECT_EQ(t.SwapMap[Byte('q')], 'Q');
    EXPECT_EQ(t.SwapMap[Byte('1')], '1');
    EXPECT_TRUE(t.CharTypes[Byte('Q')] & ctUpper);
    EXPECT_TRUE(t.CharTypes[Byte('Q')] & ctAlpha);
    EXPECT_TRUE(t.CharTypes[Byte('7')] & ctDigit);
    EXPECT_TRUE(t.CharTypes[Byte(' ')] & ctBlank);
    if (GetACP() == 1252) {
        // e acute and E acute of the Western code page.
        EXPECT_EQ(Byte(t.UpperMap[0xE9]), 0xC9);
        EXPECT_EQ(Byte(t.LowerMap[0xC9]), 0xE9);
        EXPECT_EQ(Byte(t.SwapMap[0xC9]), 0xE9);
        EXPECT_TRUE(t.CharTypes[0xE9] & ctLower);
    }
}

TEST(ZevStartup, SystemInformation) {
    const TZevSystemInfo& info = ZevSystemInfo();
    EXPECT_TRUE(info.IsWinNT);
    EXPECT_GE(info.ProcessorCount, 1u);
    EXPECT_EQ(info.PageSize, 4096u);
    EXPECT_EQ(info.AllocationGranularity, 65536u);
    EXPECT_NE(info.AnsiReplacementChar, '\0');

    OSVERSIONINFOEXA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    ASSERT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version)));
    bool workstation = version.wProductType == VER_NT_WORKSTATION;
    if (version.dwMajorVersion == 6 && version.dwMinorVersion == 1) {
        EXPECT_EQ(info.WindowsVersion, workstation ? wvWin7 : wvWinServer2008R2);
    } else if (version.dwMajorVersion == 5 && version.dwMinorVersion == 1) {
        EXPECT_EQ(info.WindowsVersion, wvWinXP);
    } else if (version.dwMajorVersion >= 7 || (version.dwMajorVersion == 6 && version.dwMinorVersion >= 2)) {
        EXPECT_EQ(info.WindowsVersion, wvUnknown);
    }
}

TEST(ZevStartup, InitialisingTwiceChangesNothing) {
    TZevSystemInfo before = ZevSystemInfo();
    ZevSupportInitialize();
    EXPECT_EQ(ZevSystemInfo().WindowsVersion, before.WindowsVersion);
    EXPECT_EQ(ZevSystemInfo().ProcessorCount, before.ProcessorCount);
}

TEST(ZevCompare, FollowsTheLocale) {
    EXPECT_LT(ZevCompareWideText(L"apple", L"banana"), 0);
    EXPECT_GT(ZevCompareWideText(L"banana", L"apple"), 0);
    EXPECT_EQ(ZevCompareWideText(L"same", L"same"), 0);
    EXPECT_EQ(ZevCompareWideText(L"", L""), 0);
}

TEST(ZevGuid, SameGUID) {
    const GUID a = {0x12345678, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};
    GUID b = a;
    EXPECT_TRUE(SameGUID(a, b));
    b.Data4[7] = 9;
    EXPECT_FALSE(SameGUID(a, b));
}

TEST(ZevFolders, FileIsPresent) {
    EXPECT_TRUE(FileIsPresent(ApplicationExeName()));
    EXPECT_FALSE(FileIsPresent(ApplicationFolder()));
    EXPECT_FALSE(FileIsPresent(ExcludeTrailingPathDelimiter(ApplicationFolder())));
    EXPECT_FALSE(FileIsPresent(""));
    EXPECT_FALSE(FileIsPresent(ApplicationFolder() + "no such file.ini"));
}

TEST(ZevFolders, SystemFolders) {
    String windows = WindowsFolder();
    EXPECT_FALSE(windows.empty());
    EXPECT_TRUE(DirectoryExists(windows));
    String temp = TempFolder();
    EXPECT_FALSE(temp.empty());
    EXPECT_FALSE(temp.ends_with('\\'));
    EXPECT_TRUE(DirectoryExists(temp));
    String appData = UserAppDataFolder();
    EXPECT_FALSE(appData.empty());
    EXPECT_EQ(appData.find('\0'), String::npos);
    EXPECT_TRUE(DirectoryExists(appData));
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
