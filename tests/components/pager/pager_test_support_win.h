// Helpers of the pager's Windows tests: the units started once.
#pragma once

#include "classlib/ui/forms.h"
#include "components/foundation/foundation_unit_win.h"
#include "components/foundation/pictures_unit_win.h"
#include "components/pager/pager_settings_unit_win.h"

namespace pager_test {

inline void StartUnits() {
    static const bool started = [] {
        ClasslibUiInitialize();
        FoundationInitialize();
        PicturesInitialize();
        PagerSettingsInitialize();
        return true;
    }();
    (void)started;
}

}  // namespace pager_test
