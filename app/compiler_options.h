// The option values of the main window that go into a compiler's
// "settings.ini". The window fills this record from its controls at the
// moment of the request; the rewrite reads nothing else.
#pragma once

#include <array>

#include "classlib/core/types.h"

struct TCompilerOptions {
    // The selected entries of the layout and colour-scheme lists (names
    // without folder and extension).
    String Layout;
    String ColorScheme;
    // Checked of LumOfficeCheckBox1 to LumOfficeCheckBox23, by the number
    // in the control's name (element 0 is not used).
    std::array<bool, 24> CheckBox{};
    // ItemIndex of LumOfficeRadioGroup1 to LumOfficeRadioGroup5, by the
    // number in the control's name (element 0 is not used); -1: nothing
    // selected.
    std::array<int, 6> RadioGroup{-1, -1, -1, -1, -1, -1};
    // ItemIndex of LumComboBox1 (-1: nothing selected).
    int ComboBox1 = -1;
};
