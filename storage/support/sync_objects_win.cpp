#include "storage/support/sync_objects.h"

#include "classlib/os/files.h"
#include "classlib/os/win.h"
#include "storage/support/errors.h"

TZevDispatcherObject::~TZevDispatcherObject() {
    if (FHandle) CloseHandle(FHandle);
}

TZevWaitResult TZevDispatcherObject::WaitSignal(LongWord timeoutMs) {
    switch (WaitForSingleObject(FHandle, timeoutMs)) {
    case WAIT_ABANDONED: return wrAbandoned;
    case WAIT_IO_COMPLETION: return wrIoCompletion;
    case WAIT_OBJECT_0: return wrSignaled;
    case WAIT_TIMEOUT: return wrTimeout;
    default: return wrError;
    }
}

TZevMutex::TZevMutex(void* securityAttributes, bool initialOwner, const String& name) : FName(name) {
    FHandle = CreateMutexA(static_cast<SECURITY_ATTRIBUTES*>(securityAttributes), initialOwner,
                           name.empty() ? nullptr : name.c_str());
    DWORD error = GetLastError();
    if (!FHandle) throw EZevMutexError(error, SysErrorMessage(error), ZevText::CreateMutexFailed);
    FExisted = error == ERROR_ALREADY_EXISTS;
}

bool TZevMutex::Unlock() { return ReleaseMutex(FHandle) != 0; }

TZevCriticalSection::TZevCriticalSection() : FSection(new CRITICAL_SECTION) { InitializeCriticalSection(FSection); }

TZevCriticalSection::~TZevCriticalSection() {
    DeleteCriticalSection(FSection);
    delete FSection;
}

void TZevCriticalSection::Enter() { EnterCriticalSection(FSection); }

void TZevCriticalSection::Leave() { LeaveCriticalSection(FSection); }
