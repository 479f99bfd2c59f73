#include "components/pager/pager_controls_unit_win.h"

#include "components/pager/lum_office_pager_win.h"

void PagerControlsInitialize() { RegisterOfficePagerClasses(); }

void PagerControlsFinalize() {}
