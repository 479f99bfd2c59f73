#include "storage/support/unit_versions.h"

#include <algorithm>

// ---- Bookkeeping ---------------------------------------------------------------------

int TUnitVersioningModule::IndexOfInfo(const TUnitVersionInfo* info) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i]->Info() == info) return int(i);
    return -1;
}

void TUnitVersioningModule::Add(const TUnitVersionInfo* info) {
    if (IndexOfInfo(info) < 0) FItems.push_back(std::make_unique<TUnitVersion>(info));
}

const TUnitVersioningModule* TUnitVersioning::FindModule(TZevModuleInstance instance) const {
    for (const auto& module : FModules)
        if (module->Instance() == instance) return module.get();
    return nullptr;
}

void TUnitVersioning::Add(TZevModuleInstance instance, const TUnitVersionInfo* info) {
    for (auto& module : FModules)
        if (module->Instance() == instance) {
            module->Add(info);
            return;
        }
    FModules.push_back(std::make_unique<TUnitVersioningModule>(instance));
    FModules.back()->Add(info);
}

void TUnitVersioning::UnregisterModule(TZevModuleInstance instance) {
    for (size_t i = FModules.size(); i-- > 0;)
        if (FModules[i]->Instance() == instance) {
            FModules.erase(FModules.begin() + std::ptrdiff_t(i));
            break;
        }
    for (auto& provider : FProviders) provider->ReleaseModuleInfo(instance);
}

void TUnitVersioning::RegisterProvider(std::unique_ptr<TUnitVersioningProvider> provider) {
    if (provider) FProviders.push_back(std::move(provider));
}

// ---- The support library's units --------------------------------------------------------

namespace {

struct TUnitRecord {
    const char* Name;
    TUnitVersionInfo Info;
};

#define ZEV_UNIT(name, folder)                                                                                         \
    {                                                                                                                  \
        name, {                                                                                                        \
            "$URL: ZEV/source/" folder "/" name ".pas $", "$Revision: 3321 $", "$Date: 2010-08-09 $",                  \
                "ZEV\\source\\" folder, "", nullptr                                                                    \
        }                                                                                                              \
    }

// In link order.
const TUnitRecord Units[] = {
    ZEV_UNIT("ZevResources", "common"),   ZEV_UNIT("ZevWin32", "windows"),
    ZEV_UNIT("ZevLogic", "common"),       ZEV_UNIT("ZevStringConversions", "common"),
    ZEV_UNIT("ZevCharsets", "common"),    ZEV_UNIT("Zev8087", "common"),
    ZEV_UNIT("Snmp", "windows"),          ZEV_UNIT("ZevIniFiles", "common"),
    ZEV_UNIT("ZevSysInfo", "common"),     ZEV_UNIT("ZevUnicode", "common"),
    ZEV_UNIT("ZevWideStrings", "common"), ZEV_UNIT("ZevRegistry", "windows"),
    ZEV_UNIT("ZevSynch", "common"),       ZEV_UNIT("ZevMath", "common"),
    ZEV_UNIT("ZevStreams", "common"),     ZEV_UNIT("ZevAnsiStrings", "common"),
    ZEV_UNIT("ZevStrings", "common"),     ZEV_UNIT("ZevShell", "windows"),
    ZEV_UNIT("ZevSecurity", "windows"),   ZEV_UNIT("ZevDateTime", "common"),
    ZEV_UNIT("ZevFileUtils", "common"),   ZEV_UNIT("ZevConsole", "windows"),
    ZEV_UNIT("ZevSysUtils", "common"),    ZEV_UNIT("ZevUnitVersioning", "common"),
    ZEV_UNIT("ZevBase", "common"),        ZEV_UNIT("ZevRTTI", "common"),
    ZEV_UNIT("ZevMime", "common"),
};

#undef ZEV_UNIT

}  // namespace

int ZevUnitVersionCount() { return int(sizeof(Units) / sizeof(Units[0])); }

const char* ZevUnitVersionName(int index) {
    return index >= 0 && index < ZevUnitVersionCount() ? Units[index].Name : nullptr;
}

const TUnitVersionInfo* ZevUnitVersionRecord(int index) {
    return index >= 0 && index < ZevUnitVersionCount() ? &Units[index].Info : nullptr;
}
