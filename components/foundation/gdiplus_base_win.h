// The root of the GDI+ wrappers, GDI+'s start-up and shut-down, and the
// colour conversion every drawing call needs.
//
// Wrapper objects come from GDI+'s own allocator (GdipAlloc / GdipFree).
// GdipAlloc gives nothing while GDI+ is not started: the allocation then
// starts GDI+ once more and tries again, and when that fails too it raises
// EOutOfMemory. Wrappers made on the stack need no allocation at all.
//
// Start-up: the foundation's unit (foundation_unit_win.h) starts the
// program's session, GdiplusSession(), before any component exists and
// shuts it down after all are gone.
#pragma once

#include <cstddef>
#include <string>

#include "classlib/core/object.h"
#include "components/foundation/gdiplus_flat_win.h"

// A class-library colour as opaque ARGB: system colours resolved first.
ARGB ColorToARGB(TColor color);

// 8-bit text of the system code page as the wide text GDI+ takes.
std::wstring GdipWideString(const String& text);

// One start of GDI+ with its two tokens: the start-up token, which only
// GdiplusShutdown gets, and the notification-hook token, which only the
// notification unhook gets. GDI+ runs without its background thread, so
// start-up hands out the notification hook, which is called right after.
class TGdiplusSession {
public:
    // api: the entry points it calls (a test's fakes, or the imports).
    explicit TGdiplusSession(TGdiplusApi& api = GdiplusApi()) : FApi(api) {}
    ~TGdiplusSession() = default;
    TGdiplusSession(const TGdiplusSession&) = delete;
    TGdiplusSession& operator=(const TGdiplusSession&) = delete;

    // One use more: the first starts GDI+ (version 1, no debug callback,
    // no background thread, external codecs allowed) and, when that
    // succeeded and handed out a notification hook, calls it.
    TStatus Startup();
    // One use less: the last unhooks with the hook token (when the hook
    // was called and succeeded) and shuts GDI+ down with the start-up
    // token (when start-up succeeded). Without a use it does nothing.
    void Shutdown();
    // Starts GDI+ once more with the same records and the same start-up
    // token variable (an allocation found GDI+ not started).
    TStatus Restart();

    bool Started() const { return FStarted; }
    bool Hooked() const { return FHooked; }
    int UseCount() const { return FUseCount; }
    ULONG_PTR StartupToken() const { return FStartupToken; }
    ULONG_PTR HookToken() const { return FHookToken; }
    TStatus StartupStatus() const { return FStartupStatus; }

private:
    TGdiplusApi& FApi;
    // What start-up asks for; a restart before the first start asks the same.
    TGdiplusStartupInput FInput{1, nullptr, TRUE, FALSE};
    TGdiplusStartupOutput FOutput;
    TGdiplusNotificationUnhook FUnhook = nullptr;
    ULONG_PTR FStartupToken = 0;
    ULONG_PTR FHookToken = 0;
    TStatus FStartupStatus = TStatus::GdiplusNotInitialized;
    bool FStarted = false;
    bool FHooked = false;
    int FUseCount = 0;
};

// The program's session.
TGdiplusSession& GdiplusSession();

// The root of every wrapper: allocated by GDI+, and the last status.
class TGdiplusBase : public TObject {
    QL_CLASS(TGdiplusBase, TObject)
public:
    static void* operator new(std::size_t size);
    static void operator delete(void* memory) noexcept;

    // The most recent failure of this object's GDI+ calls, or the status
    // of the call that made it (TGPLastStatus).
    TStatus GetLastStatus() const { return FLastStatus.Value(); }

protected:
    TGdiplusBase() = default;
    TStatus SetStatus(TStatus status) { return FLastStatus.Keep(status); }
    void SetCreateStatus(TStatus status) { FLastStatus.Set(status); }
    static TGdiplusApi& Api() { return GdiplusApi(); }

private:
    TGPLastStatus FLastStatus;
};
