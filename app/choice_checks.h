// The checks of the user's choices before a compiler's settings are
// rewritten, in the order the user meets them.
#pragma once

#include "classlib/core/types.h"

// What the main window shows, as the checks read it.
struct TChoiceState {
    int FamilyIndex = -1;  // RadioGroup1.ItemIndex
    int LayoutCount = 0;   // Layouts_Combobox: number of entries, item index
    int LayoutIndex = -1;
    int SchemeCount = 0;  // ColScheme_combobox: number of entries, item index
    int SchemeIndex = -1;
};

// The message for the first choice that is missing, or "" when all are
// made: no target family, no layout list, only the placeholder (or
// nothing) chosen, the same for the colour schemes. The placeholder counts
// as an entry: a list that holds only it asks for a choice.
String CheckChoices(const TChoiceState& state);
