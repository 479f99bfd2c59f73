#include "components/pager/lum_office_pager_unit_win.h"

#include "components/pager/lum_office_pager_win.h"

void OfficePagerInitialize() { RegisterOfficePagerClasses(); }

void OfficePagerFinalize() {}
