#include "components/controls/option_controls_unit_win.h"

#include "components/controls/combo_box_win.h"
#include "components/controls/group_box_win.h"

void OptionControlsInitialize() { RegisterClasses({TLumGroupBox::StaticClass(), TLumComboBox::StaticClass()}); }

void OptionControlsFinalize() {}
