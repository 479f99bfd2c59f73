#include "components/dataproviders/zv_data_providers_unit.h"

#include "components/dataproviders/zv_data_consumer.h"
#include "components/dataproviders/zv_data_contexts.h"
#include "components/dataproviders/zv_data_item_extensions.h"

std::vector<TClass> PortableDataProviderClasses() {
    return {TZvDataItemsList::StaticClass(),
            TZvBaseDataItemsListManagement::StaticClass(),
            TZvBaseDataItem::StaticClass(),
            TZvDataItemTextImpl::StaticClass(),
            TZvDataItemContextTextImpl::StaticClass(),
            TZvDataItemBlockableTextImpl::StaticClass(),
            TZvDataConsumer::StaticClass(),
            TZvDataConsumerItemSelect::StaticClass(),
            TZvDataContexts::StaticClass(),
            TZvDataContext::StaticClass(),
            TZvManagedDataContext::StaticClass(),
            TZvFixedDataContext::StaticClass()};
}
