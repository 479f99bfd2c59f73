// The program entry: start the units in link order, make the main window
// from its stored layout, run the message loop, and stop the units in
// reverse order when the window has closed.
#include "app/main_form_win.h"
#include "classlib/core/units.h"
#include "classlib/os/win.h"
#include "classlib/ui/forms.h"
#include "classlib/ui/graphics.h"
#include "components/controls/glow_button_unit_win.h"
#include "components/controls/option_controls_unit_win.h"
#include "components/controls/panels_unit_win.h"
#include "components/dataproviders/zv_data_providers_unit_win.h"
#include "components/foundation/foundation_unit_win.h"
#include "components/foundation/pictures_unit_win.h"
#include "components/pager/lum_office_pager_unit_win.h"
#include "components/pager/pager_unit_win.h"
#include "imaging/png/png_unit_win.h"
#include "storage/form_placement.h"
#include "storage/ini_file_storage.h"
#include "storage/support/rtti.h"
#include "storage/support/system_info.h"
#include "storage/support/unit_versions.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    TUnitList units{
        {"classlib.core", &ClasslibCoreInitialize, &ClasslibCoreFinalize},
        {"classlib.graphics", &ClasslibGraphicsInitialize, &ClasslibGraphicsFinalize},
        {"classlib.ui", &ClasslibUiInitialize, &ClasslibUiFinalize},
        {"foundation", &FoundationInitialize, &FoundationFinalize},
        {"foundation.pictures", &PicturesInitialize, &PicturesFinalize},
        {"pager", &PagerInitialize, &PagerFinalize},
        {"ZevSupport", &ZevSupportInitialize, &ZevSupportFinalize},
        {"ZevUnitVersions", &ZevUnitVersionsInitialize, &ZevUnitVersionsFinalize},
        {"ZevRtti", &ZevRttiInitialize, &ZevRttiFinalize},
        {"ZvAppStorage", &ZvAppStorageInitialize, &ZvAppStorageFinalize},
        {"ZvFormPlacement", &ZvFormPlacementInitialize, &ZvFormPlacementFinalize},
        {"imaging.png", &PngInitialize, &PngFinalize},
        {"controls.options", &OptionControlsInitialize, &OptionControlsFinalize},
        {"controls.panels", &PanelsInitialize, &PanelsFinalize},
        {"ZvDataProviders", &ZvDataProvidersInitialize, &ZvDataProvidersFinalize},
        {"controls.glow", &GlowButtonInitialize, &GlowButtonFinalize},
        {"pager.controls", &OfficePagerInitialize, &OfficePagerFinalize},
    };
    units.InitializeAll();
    RegisterClass(TfrmMain::StaticClass());
    try {
        Application->Initialize();
        Application->SetMainFormOnTaskBar(true);
        Application->CreateForm(frmMain);
        Application->Run();
    } catch (...) {
        // A window that cannot be made is reported like any other error.
        Application->HandleException(nullptr);
    }
    units.FinalizeAll();
    return 0;
}
