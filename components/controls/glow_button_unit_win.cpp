#include "components/controls/glow_button_unit_win.h"

#include "components/controls/glow_button_win.h"

void GlowButtonInitialize() { RegisterGlowButtonClasses(); }

void GlowButtonFinalize() {}
