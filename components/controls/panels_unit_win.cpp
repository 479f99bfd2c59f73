#include "components/controls/panels_unit_win.h"

#include "components/controls/lum_panel_group_win.h"
#include "components/controls/lum_panel_styler_win.h"
#include "components/controls/lum_panel_win.h"

void PanelsInitialize() {
    RegisterClasses({TLumPanel::StaticClass(), TLumPanelGroup::StaticClass(), TLumPanelStyler::StaticClass(),
                     TPanelCaption::StaticClass(), TPanelStatusBar::StaticClass(), TPanelPosition::StaticClass(),
                     TAutoSize::StaticClass(), TLumPanelSettings::StaticClass()});
}

void PanelsFinalize() {}
