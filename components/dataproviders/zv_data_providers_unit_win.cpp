#include "components/dataproviders/zv_data_providers_unit_win.h"

#include "components/dataproviders/zv_bevel_win.h"

void ZvDataProvidersInitialize() { RegisterClasses({TZvBevel::StaticClass()}); }

void ZvDataProvidersFinalize() { UnregisterClass(TZvBevel::StaticClass()); }
