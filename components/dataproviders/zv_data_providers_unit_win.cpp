#include "components/dataproviders/zv_data_providers_unit_win.h"

#include "classlib/os/win.h"
#include "components/dataproviders/zv_bevel_win.h"
#include "components/dataproviders/zv_data_consumer.h"
#include "components/dataproviders/zv_data_contexts.h"
#include "components/dataproviders/zv_data_item_extensions.h"
#include "components/dataproviders/zv_data_items_images_win.h"
#include "components/dataproviders/zv_data_items_renderer_win.h"
#include "components/dataproviders/zv_data_providers_unit.h"

namespace {

TGUID SystemGUID() {
    GUID g;
    if (FAILED(CoCreateGuid(&g))) throw EOSError("Cannot create a GUID", GetLastError());
    TGUID result;
    result.D1 = g.Data1;
    result.D2 = g.Data2;
    result.D3 = g.Data3;
    for (int i = 0; i < 8; ++i) result.D4[i] = g.Data4[i];
    return result;
}

void RefreshControl(TComponent* component) {
    if (auto* control = dynamic_cast<TControl*>(component)) control->Invalidate();
}

// The framework's classes for streaming, in their order.
std::vector<TClass> FrameworkClasses() {
    return {ZV_DATA_PROVIDER_CLASSES(ZV_DATA_PROVIDER_CLASS, ZV_DATA_PROVIDER_CLASS)};
}

}  // namespace

void ZvDataProvidersInitialize() {
    RegisterClasses({TZvBevel::StaticClass()});
    SetDataItemGUIDSource(&SystemGUID);
    SetDataConsumerRefresh(&RefreshControl);
    for (TClass cls : FrameworkClasses()) RegisterClass(cls);
}

void ZvDataProvidersFinalize() {
    std::vector<TClass> classes = FrameworkClasses();
    for (auto it = classes.rbegin(); it != classes.rend(); ++it) UnregisterClass(*it);
    SetDataConsumerRefresh(nullptr);
    SetDataItemGUIDSource(nullptr);
    UnregisterClass(TZvBevel::StaticClass());
}
