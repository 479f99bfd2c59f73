#include "components/controls/option_controls_unit_win.h"

#include "components/controls/combo_box_win.h"
#include "components/controls/group_box_win.h"
#include "components/controls/office_check_box_win.h"
#include "components/controls/office_radio_group_win.h"

void OptionControlsInitialize() {
    RegisterClasses({TLumGroupBox::StaticClass(), TLumComboBox::StaticClass(), TLumOfficeCheckBox::StaticClass(),
                     TLumOfficeRadioButton::StaticClass(), TLumOfficeRadioGroup::StaticClass()});
}

void OptionControlsFinalize() { FreeOfficeGlyphBitmaps(); }
