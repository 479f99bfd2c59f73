#include "classlib/core/interfaces.h"

#include <cstdio>

#include "classlib/core/typinfo.h"

String TGUID::ToString() const {
    char text[40];
    std::snprintf(text, sizeof(text), "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", unsigned(D1), unsigned(D2),
                  unsigned(D3), D4[0], D4[1], D4[2], D4[3], D4[4], D4[5], D4[6], D4[7]);
    return text;
}

bool SupportsObject(TObject* instance, const TGUID& iid, void** intf) {
    *intf = nullptr;
    if (!instance) return false;
    if (auto* implementer = dynamic_cast<IInterface*>(instance)) return implementer->QueryInterface(iid, intf) && *intf;
    return instance->GetInterface(iid, intf) && *intf;
}

bool SupportsInterface(IInterface* instance, const TGUID& iid, void** intf) {
    *intf = nullptr;
    return instance && instance->QueryInterface(iid, intf) && *intf;
}

void interfaces_detail::RaiseFreeWhileReferenced(const char* className, int count) {
    throw EInvalidPointer("Invalid pointer operation: " + String(className) + " freed with " + std::to_string(count) +
                          " references left");
}

void interfaces_detail::RaiseReleaseBelowZero(const char* className) {
    throw EInvalidPointer("Invalid pointer operation: " + String(className) + " released with no references left");
}

TClass TInterfacedObject::StaticClass() {
    static const TClassInfo info = TClassBuilder<TInterfacedObject>("TInterfacedObject").Build();
    return &info;
}

TClass TAggregatedObject::StaticClass() {
    static const TClassInfo info = TClassBuilder<TAggregatedObject>("TAggregatedObject").Build();
    return &info;
}
