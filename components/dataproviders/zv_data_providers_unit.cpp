#include "components/dataproviders/zv_data_providers_unit.h"

#include "components/dataproviders/zv_data_consumer.h"
#include "components/dataproviders/zv_data_contexts.h"
#include "components/dataproviders/zv_data_item_extensions.h"

std::vector<TClass> PortableDataProviderClasses() {
    return {ZV_DATA_PROVIDER_CLASSES(ZV_DATA_PROVIDER_CLASS, ZV_DATA_PROVIDER_SKIP)};
}
