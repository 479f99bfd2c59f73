// The registry of unit versions: every unit of the support library
// announces its source version at start-up and withdraws it at shutdown.
//
// The registry is one object per process, shared by every module of the
// process (the program and any library it loads) through a named
// shared-memory block "ShmZEV_UnitVersioning_<process id>" that holds a
// reference to it, guarded by the named mutex "MutexZEV_UnitVersioning_<id>"
// (Windows, unit_versions_win.cpp). The bookkeeping itself is
// portable.
#pragma once

#include <memory>
#include <vector>

#include "classlib/core/types.h"

// One constant per unit.
struct TUnitVersionInfo {
    const char* RCSfile;   // the repository location line
    const char* Revision;  // "$Revision: 3321 $"
    const char* Date;
    const char* LogPath;  // "ZEV\source\common" or "ZEV\source\windows"
    const char* Extra;
    const void* Data;
};

// A module instance (the HINSTANCE of the executable or a library).
using TZevModuleInstance = const void*;

class TUnitVersion {
public:
    explicit TUnitVersion(const TUnitVersionInfo* info) : FInfo(info) {}
    const TUnitVersionInfo* Info() const { return FInfo; }
    String RCSfile() const { return FInfo->RCSfile; }
    String Revision() const { return FInfo->Revision; }
    String Date() const { return FInfo->Date; }
    String LogPath() const { return FInfo->LogPath; }
    String Extra() const { return FInfo->Extra; }
    const void* Data() const { return FInfo->Data; }

private:
    const TUnitVersionInfo* FInfo;
};

class TUnitVersioningModule {
public:
    explicit TUnitVersioningModule(TZevModuleInstance instance) : FInstance(instance) {}

    TZevModuleInstance Instance() const { return FInstance; }
    int Count() const { return int(FItems.size()); }
    const TUnitVersion& Items(int index) const { return *FItems.at(size_t(index)); }
    // The index of the record (by identity), -1 when not listed.
    int IndexOfInfo(const TUnitVersionInfo* info) const;
    // Adds the record unless it is listed already.
    void Add(const TUnitVersionInfo* info);

private:
    TZevModuleInstance FInstance;
    std::vector<std::unique_ptr<TUnitVersion>> FItems;
};

// Told when a module is unregistered.
class TUnitVersioningProvider {
public:
    virtual ~TUnitVersioningProvider() = default;
    virtual void ReleaseModuleInfo(TZevModuleInstance instance) = 0;
};

class TUnitVersioning {
public:
    TUnitVersioning() = default;
    virtual ~TUnitVersioning() = default;
    TUnitVersioning(const TUnitVersioning&) = delete;
    TUnitVersioning& operator=(const TUnitVersioning&) = delete;

    // Adds the record to the module of instance (made on first use).
    virtual void Add(TZevModuleInstance instance, const TUnitVersionInfo* info);
    // Frees the last module of instance with its records, then tells every
    // provider.
    virtual void UnregisterModule(TZevModuleInstance instance);

    int ModuleCount() const { return int(FModules.size()); }
    const TUnitVersioningModule& Modules(int index) const { return *FModules.at(size_t(index)); }
    // The first module of instance; nullptr when none.
    const TUnitVersioningModule* FindModule(TZevModuleInstance instance) const;
    // The registry owns its providers.
    void RegisterProvider(std::unique_ptr<TUnitVersioningProvider> provider);

private:
    std::vector<std::unique_ptr<TUnitVersioningModule>> FModules;
    std::vector<std::unique_ptr<TUnitVersioningProvider>> FProviders;
};

// ---- The process's registry (Windows) ------------------------------------------------

class TZevMutex;

// One module's way to the process's registry: the named mutex, the mapped
// block, the registry reference, whether this module created the registry,
// and whether the link has been closed. The free functions below use the
// link of this module; a second link stands for a second module of the
// same process.
class TUnitVersionRegistryLink {
public:
    TUnitVersionRegistryLink() = default;
    ~TUnitVersionRegistryLink();
    TUnitVersionRegistryLink(const TUnitVersionRegistryLink&) = delete;
    TUnitVersionRegistryLink& operator=(const TUnitVersionRegistryLink&) = delete;

    // Finds the registry in the shared block or creates it there (or, when
    // the block cannot be opened, creates one of this module's own);
    // nullptr once closed.
    TUnitVersioning* Registry();
    // When this link created the registry: empties the shared block and
    // frees the registry. Either way closes the block and answers nullptr
    // from here on. Never raises.
    void Close();
    bool CreatedRegistry() const { return FCreated; }
    bool Closed() const { return FFinalised; }

private:
    TZevMutex* FMutex = nullptr;
    void* FBlock = nullptr;
    TUnitVersioning* FRegistry = nullptr;
    bool FCreated = false;
    bool FFinalised = false;
};

// This module's link.
TUnitVersionRegistryLink& ModuleUnitVersionRegistry();

// Gets the registry and, when there is one, adds the record.
void AddUnitVersion(TZevModuleInstance instance, const TUnitVersionInfo* info);
// Gets the registry and, when there is one, removes the module.
void DropModuleVersions(TZevModuleInstance instance);
// The process's registry, found in the shared block or created; nullptr
// after CloseUnitVersionRegistry.
TUnitVersioning* UnitVersionRegistry();
// Shutdown of the registry: no registry from here on.
void CloseUnitVersionRegistry();
// "MutexZEV_UnitVersioning_" and "ShmZEV_UnitVersioning_" with the current
// process id.
String UnitVersioningMutexName();
String UnitVersioningBlockName();

// Named shared memory of this process, counted per name.
inline constexpr LongWord ZevErrorAlreadyExists = 183;
// Maps the block name of size bytes (creating it when it does not exist)
// and sets view to it: 0 when it was created, 183 when it existed (also
// when this process has it open already: same view, one more reference).
// Raises ESharedMemError "The MMF named "%s" cannot be created empty" for
// a missing block of size 0, ESharedMemError "Invalid MMF name "%s"" for an
// empty name or one with "\" on old Windows versions, and EOSError when the
// system refuses.
LongWord OpenSharedBlock(void*& view, const String& name, LongWord size, LongWord desiredAccess);
// Drops one reference to the view (unmapping it with the last) and empties
// view: true; false for a view this process did not open. An empty view
// gives true.
bool CloseSharedBlock(void*& view);

// ---- The support library's units ---------------------------------------------------

// The units that register a record, in link order.
int ZevUnitVersionCount();
const char* ZevUnitVersionName(int index);
const TUnitVersionInfo* ZevUnitVersionRecord(int index);
// Start-up: every unit registers its record with the module's instance, in
// link order; never raises. Shutdown: the modules are dropped in reverse
// order, then the registry is closed.
void ZevUnitVersionsInitialize();
void ZevUnitVersionsFinalize();
