// The process's unit-version registry: found through a named shared block
// that holds its address, guarded by a named mutex; and the shared blocks
// this module has open.
#include "storage/support/unit_versions.h"

#include <atomic>
#include <cstring>

#include "classlib/core/scopes.h"
#include "classlib/core/sysutils.h"
#include "classlib/os/files.h"
#include "classlib/os/win.h"
#include "storage/support/errors.h"
#include "storage/support/sync_objects.h"
#include "storage/support/system_info.h"

// ---- Shared blocks ---------------------------------------------------------------------------

namespace {

struct TSharedBlock {
    String Name;
    HANDLE Mapping;
    void* View;
    int Count;
    TSharedBlock* Next;
};

TSharedBlock* OpenBlocks = nullptr;
std::atomic<TZevIntfCriticalSection*> BlockListLock{nullptr};
std::atomic<bool> BlockListFinalised{false};

// The list lock, made on first use; a thread that loses the race to make
// it frees its own. None once the list is finalised.
TZevIntfCriticalSection* BlockLock() {
    TZevIntfCriticalSection* lock = BlockListLock.load();
    if (lock || BlockListFinalised.load()) return lock;
    auto* fresh = new TZevIntfCriticalSection;
    TZevIntfCriticalSection* expected = nullptr;
    if (BlockListLock.compare_exchange_strong(expected, fresh)) return fresh;
    delete fresh;
    return expected;
}

class TBlockListGuard {
public:
    TBlockListGuard() : FLock(BlockLock()) {
        if (FLock) FLock->_AddRef();
    }
    ~TBlockListGuard() {
        if (FLock) FLock->_Release();
    }
    TBlockListGuard(const TBlockListGuard&) = delete;
    TBlockListGuard& operator=(const TBlockListGuard&) = delete;

private:
    TZevIntfCriticalSection* FLock;
};

// Frees the list lock after everything else of the program has stopped.
struct TBlockListFinaliser {
    ~TBlockListFinaliser() {
        BlockListFinalised = true;
        delete BlockListLock.exchange(nullptr);
    }
} BlockListFinaliser;

}  // namespace

LongWord OpenSharedBlock(void*& view, const String& name, LongWord size, LongWord desiredAccess) {
    if (ZevSystemInfo().WindowsVersion < wvWin2000 && (name.empty() || name.find('\\') != String::npos))
        throw ESharedMemError(Format("Invalid MMF name \"%s\"", {name}));

    TBlockListGuard guard;
    for (TSharedBlock* block = OpenBlocks; block; block = block->Next)
        if (SameText(block->Name, name)) {
            ++block->Count;
            view = block->View;
            return ZevErrorAlreadyExists;
        }

    LongWord result = ZevErrorAlreadyExists;
    HANDLE mapping = OpenFileMappingA(desiredAccess, FALSE, name.c_str());
    if (!mapping) {
        if (size == 0) throw ESharedMemError(Format("The MMF named \"%s\" cannot be created empty", {name}));
        DWORD protect = PAGE_READWRITE;
        if (!ZevSystemInfo().IsWinNT && desiredAccess == FILE_MAP_COPY) protect = PAGE_WRITECOPY;
        mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, protect, 0, size, name.c_str());
        DWORD error = GetLastError();
        if (!mapping) RaiseLastOSError(error);
        result = error == ERROR_ALREADY_EXISTS ? ZevErrorAlreadyExists : 0;
    }
    void* mapped = MapViewOfFile(mapping, desiredAccess, 0, 0, size);
    if (!mapped) {
        DWORD error = GetLastError();
        CloseHandle(mapping);
        RaiseLastOSError(error);
    }
    OpenBlocks = new TSharedBlock{name, mapping, mapped, 1, OpenBlocks};
    view = mapped;
    return result;
}

bool CloseSharedBlock(void*& view) {
    if (!view) return true;
    TBlockListGuard guard;
    for (TSharedBlock** link = &OpenBlocks; *link; link = &(*link)->Next) {
        TSharedBlock* block = *link;
        if (block->View != view) continue;
        if (block->Count < 2) {
            UnmapViewOfFile(block->View);
            CloseHandle(block->Mapping);
            *link = block->Next;
            delete block;
        } else {
            --block->Count;
        }
        view = nullptr;
        return true;
    }
    return false;
}

// ---- The registry ------------------------------------------------------------------------------

String UnitVersioningMutexName() { return "MutexZEV_UnitVersioning_" + IntToStr(GetCurrentProcessId()); }

String UnitVersioningBlockName() { return "ShmZEV_UnitVersioning_" + IntToStr(GetCurrentProcessId()); }

namespace {

// The block holds the registry's address.
TUnitVersioning* ReadBlock(void* block) {
    TUnitVersioning* registry;
    std::memcpy(&registry, block, sizeof(registry));
    return registry;
}

void WriteBlock(void* block, TUnitVersioning* registry) { std::memcpy(block, &registry, sizeof(registry)); }

}  // namespace

TUnitVersionRegistryLink::~TUnitVersionRegistryLink() { Close(); }

TUnitVersioning* TUnitVersionRegistryLink::Registry() {
    if (FFinalised) return nullptr;
    if (!FMutex) FMutex = new TZevMutex(nullptr, false, UnitVersioningMutexName());
    if (!FRegistry) {
        FMutex->Lock();
        TScopeExit unlock([this] { FMutex->Unlock(); });
        if (!FBlock) {
            try {
                OpenSharedBlock(FBlock, UnitVersioningBlockName(), sizeof(TUnitVersioning*), FILE_MAP_ALL_ACCESS);
            } catch (const Exception&) {
                FBlock = nullptr;  // a registry of this module's own below
            }
        }
        if (FBlock) {
            FRegistry = ReadBlock(FBlock);
            if (!FRegistry) {
                FRegistry = new TUnitVersioning;
                WriteBlock(FBlock, FRegistry);
                FCreated = true;
            }
        } else {
            FRegistry = new TUnitVersioning;
            FCreated = true;
        }
    } else if (FBlock) {
        // Another module may have changed the block since.
        FMutex->Lock();
        FRegistry = ReadBlock(FBlock);
        FMutex->Unlock();
    }
    return FRegistry;
}

void TUnitVersionRegistryLink::Close() {
    FFinalised = true;
    try {
        if (FBlock && FMutex) {
            FMutex->Lock();
            TScopeExit unlock([this] { FMutex->Unlock(); });
            // Only the module that made the registry withdraws it: a
            // library that unloads first leaves it to the others.
            if (FCreated) WriteBlock(FBlock, nullptr);
            CloseSharedBlock(FBlock);
        }
        if (FCreated) delete FRegistry;
        FCreated = false;
        FRegistry = nullptr;
    } catch (...) {}
    delete FMutex;
    FMutex = nullptr;
}

TUnitVersionRegistryLink& ModuleUnitVersionRegistry() {
    static TUnitVersionRegistryLink link;
    return link;
}

TUnitVersioning* UnitVersionRegistry() { return ModuleUnitVersionRegistry().Registry(); }

void CloseUnitVersionRegistry() { ModuleUnitVersionRegistry().Close(); }

void AddUnitVersion(TZevModuleInstance instance, const TUnitVersionInfo* info) {
    if (TUnitVersioning* registry = UnitVersionRegistry()) registry->Add(instance, info);
}

void DropModuleVersions(TZevModuleInstance instance) {
    if (TUnitVersioning* registry = UnitVersionRegistry()) registry->UnregisterModule(instance);
}

// ---- The units' start-up and shutdown --------------------------------------------------------------

namespace {

TZevModuleInstance ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

}  // namespace

void ZevUnitVersionsInitialize() {
    TZevModuleInstance module = ThisModule();
    for (int i = 0; i < ZevUnitVersionCount(); ++i) {
        try {
            AddUnitVersion(module, ZevUnitVersionRecord(i));
        } catch (...) {
            // Announcing versions must never stop the program.
        }
    }
}

void ZevUnitVersionsFinalize() {
    TZevModuleInstance module = ThisModule();
    for (int i = ZevUnitVersionCount() - 1; i >= 0; --i) {
        try {
            DropModuleVersions(module);
        } catch (...) {}
        if (String(ZevUnitVersionName(i)) == "ZevUnitVersioning") CloseUnitVersionRegistry();
    }
}
