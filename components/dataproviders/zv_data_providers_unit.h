// Registering the data-provider framework's classes for streaming. The
// program's Windows unit (zv_data_providers_unit_win.h) registers the
// whole set in its order at start-up; the portable part of it is here for
// the portable tests and tools.
#pragma once

#include <vector>

#include "classlib/core/typinfo.h"

// The fifteen classes of the set, in their order, each marked as portable
// or as needing Windows (drawing, image lists). The one list both units
// expand: PORTABLE(Class) and WINDOWS(Class).
#define ZV_DATA_PROVIDER_CLASSES(PORTABLE, WINDOWS)                                                                    \
    PORTABLE(TZvDataItemsList)                                                                                         \
    WINDOWS(TZvCustomDataItemsImages)                                                                                  \
    WINDOWS(TZvCustomDataItemsTextRenderer)                                                                            \
    PORTABLE(TZvBaseDataItemsListManagement)                                                                           \
    PORTABLE(TZvBaseDataItem)                                                                                          \
    PORTABLE(TZvDataItemTextImpl)                                                                                      \
    WINDOWS(TZvDataItemImageImpl)                                                                                      \
    PORTABLE(TZvDataItemContextTextImpl)                                                                               \
    PORTABLE(TZvDataItemBlockableTextImpl)                                                                             \
    PORTABLE(TZvDataConsumer)                                                                                          \
    PORTABLE(TZvDataConsumerItemSelect)                                                                                \
    PORTABLE(TZvDataContexts)                                                                                          \
    PORTABLE(TZvDataContext)                                                                                           \
    PORTABLE(TZvManagedDataContext)                                                                                    \
    PORTABLE(TZvFixedDataContext)
#define ZV_DATA_PROVIDER_CLASS(cls) cls::StaticClass(),
#define ZV_DATA_PROVIDER_SKIP(cls)

// The portable classes of the set, in the set's order.
std::vector<TClass> PortableDataProviderClasses();
