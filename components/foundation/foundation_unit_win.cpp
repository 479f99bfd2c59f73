#include "components/foundation/foundation_unit_win.h"

#include "components/foundation/visual_styles_win.h"

void FoundationInitialize() { VisualStyles().Bind(); }

void FoundationFinalize() { VisualStyles().Release(); }
