#include "components/pager/pager_settings_unit_win.h"

#include "components/pager/page_button_settings_win.h"
#include "components/pager/pager_backgrounds.h"
#include "components/pager/pager_styler_win.h"
#include "components/pager/pager_tab_settings.h"
#include "components/pager/tab_appearance_win.h"

namespace {

int InitCount = 0;
UINT CloseButtonMessage = 0;

}  // namespace

void PagerSettingsInitialize() {
    if (InitCount++ > 0) return;
    CloseButtonMessage = RegisterWindowMessageA("OPDESTROYCLOSEBTN");
    RegisterClasses({TPagerTabSettings::StaticClass(), TGradientBackground::StaticClass(),
                     TVistaBackground::StaticClass(), TCustomTabAppearance::StaticClass(),
                     TTabAppearance::StaticClass(), TPageButtonSettings::StaticClass(),
                     TLumOfficePagerOfficeStyler::StaticClass()});
}

void PagerSettingsFinalize() {
    if (InitCount > 0) --InitCount;
}

UINT DestroyCloseButtonMessage() { return CloseButtonMessage; }
