#include "components/foundation/foundation_unit_win.h"

#include "components/foundation/gdiplus_base_win.h"
#include "components/foundation/visual_styles_win.h"

void FoundationInitialize() {
    GdiplusSession().Startup();
    VisualStyles().BindThemeLibrary();
}

void FoundationFinalize() {
    VisualStyles().Release();
    GdiplusSession().Shutdown();
}
