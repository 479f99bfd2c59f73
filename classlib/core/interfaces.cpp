#include "classlib/core/interfaces.h"

#include <cstdio>

String TGUID::ToString() const {
    char text[40];
    std::snprintf(text, sizeof(text), "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", unsigned(D1), unsigned(D2),
                  unsigned(D3), D4[0], D4[1], D4[2], D4[3], D4[4], D4[5], D4[6], D4[7]);
    return text;
}

bool Supports(TObject* instance, const TGUID& iid, void** intf) {
    *intf = nullptr;
    auto* implementer = dynamic_cast<IInterface*>(instance);
    return implementer && implementer->QueryInterface(iid, intf) && *intf;
}
