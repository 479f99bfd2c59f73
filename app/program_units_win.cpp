#include "app/program_units_win.h"

#include "classlib/ui/forms.h"
#include "classlib/ui/graphics.h"
#include "components/controls/glow_button_unit_win.h"
#include "components/controls/option_controls_unit_win.h"
#include "components/controls/panels_unit_win.h"
#include "components/dataproviders/zv_data_providers_unit_win.h"
#include "components/foundation/foundation_unit_win.h"
#include "components/foundation/pictures_unit_win.h"
#include "components/pager/pager_controls_unit_win.h"
#include "components/pager/pager_settings_unit_win.h"
#include "imaging/png/png_unit_win.h"
#include "storage/form_placement.h"
#include "storage/ini_file_storage.h"
#include "storage/support/rtti.h"
#include "storage/support/system_info.h"
#include "storage/support/unit_versions.h"

// Subsystem by subsystem: the drawing foundation starts GDI+ and binds the
// visual styles before any component is made; the controls and the pager
// register their classes (the pager also its window message), the storage
// units their versions, the PNG unit its picture format, and the data
// providers, last, their classes for streaming.
TUnitList ProgramUnits() {
    return {
        {"classlib.core", &ClasslibCoreInitialize, &ClasslibCoreFinalize},
        {"classlib.graphics", &ClasslibGraphicsInitialize, &ClasslibGraphicsFinalize},
        {"classlib.ui", &ClasslibUiInitialize, &ClasslibUiFinalize},
        {"foundation", &FoundationInitialize, &FoundationFinalize},
        {"foundation.pictures", &PicturesInitialize, &PicturesFinalize},
        {"controls.options", &OptionControlsInitialize, &OptionControlsFinalize},
        {"controls.panels", &PanelsInitialize, &PanelsFinalize},
        {"controls.glow", &GlowButtonInitialize, &GlowButtonFinalize},
        {"pager", &PagerSettingsInitialize, &PagerSettingsFinalize},
        {"pager.controls", &PagerControlsInitialize, &PagerControlsFinalize},
        {"ZevSupport", &ZevSupportInitialize, &ZevSupportFinalize},
        {"ZevUnitVersions", &ZevUnitVersionsInitialize, &ZevUnitVersionsFinalize},
        {"ZevRtti", &ZevRttiInitialize, &ZevRttiFinalize},
        {"ZvAppStorage", &ZvAppStorageInitialize, &ZvAppStorageFinalize},
        {"ZvFormPlacement", &ZvFormPlacementInitialize, &ZvFormPlacementFinalize},
        {"imaging.png", &PngInitialize, &PngFinalize},
        {"ZvDataProviders", &ZvDataProvidersInitialize, &ZvDataProvidersFinalize},
    };
}
