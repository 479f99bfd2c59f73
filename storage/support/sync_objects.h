// Synchronisation objects of the support library: waitable handles, named
// mutexes and critical sections (Windows only).
#pragma once

#include "classlib/core/object.h"

struct _RTL_CRITICAL_SECTION;

// How a wait on a handle ended, in this order: abandoned (WAIT_ABANDONED),
// error (any other result), I/O completion (WAIT_IO_COMPLETION), signalled
// (WAIT_OBJECT_0), timed out (WAIT_TIMEOUT).
enum TZevWaitResult { wrAbandoned, wrError, wrIoCompletion, wrSignaled, wrTimeout };

inline constexpr LongWord ZevInfiniteWait = 0xFFFFFFFF;

// A mutex whose owner ended without releasing it passes to the waiter with
// WAIT_ABANDONED: the waiter then owns it, as after a signalled wait.
inline bool WaitAcquiresMutex(TZevWaitResult result) { return result == wrSignaled || result == wrAbandoned; }

// A waitable Windows handle; destroying the object closes the handle.
class TZevDispatcherObject : public TObject {
public:
    explicit TZevDispatcherObject(void* handle = nullptr) : FHandle(handle) {}
    ~TZevDispatcherObject() override;

    void* Handle() const { return FHandle; }
    TZevWaitResult WaitSignal(LongWord timeoutMs);
    TZevWaitResult WaitSignalForever() { return WaitSignal(ZevInfiniteWait); }

protected:
    void* FHandle;
};

// A named (or unnamed) mutex, created or opened by name.
class TZevMutex : public TZevDispatcherObject {
public:
    // securityAttributes: a SECURITY_ATTRIBUTES or nullptr. A failure
    // raises EZevMutexError "... Failed to create mutex".
    TZevMutex(void* securityAttributes, bool initialOwner, const String& name);

    const String& Name() const { return FName; }
    // True when a mutex of this name existed before.
    bool Existed() const { return FExisted; }
    // Waits until this thread owns the mutex or the time-out passes; true
    // when it owns it (also when the previous owner ended without
    // releasing it).
    bool Lock(LongWord timeoutMs = ZevInfiniteWait) { return WaitAcquiresMutex(WaitSignal(timeoutMs)); }
    // Releases the mutex; true when that succeeded.
    bool Unlock();

private:
    String FName;
    bool FExisted = false;
};

class TZevCriticalSection : public TObject {
public:
    TZevCriticalSection();
    ~TZevCriticalSection() override;

    void Enter();
    void Leave();

private:
    _RTL_CRITICAL_SECTION* FSection;
};

// A critical section held for as long as an interface reference to the
// object is held: taking a reference enters it, dropping one leaves it. The
// count itself is not kept; the object is freed explicitly.
class TZevIntfCriticalSection : public TObject {
public:
    int _AddRef() {
        FSection.Enter();
        return -1;
    }
    int _Release() {
        FSection.Leave();
        return -1;
    }

private:
    TZevCriticalSection FSection;
};
