#include "app/choice_checks.h"

String CheckChoices(const TChoiceState& state) {
    if (state.FamilyIndex == -1) return "Select compiler first.";
    if (state.LayoutCount == 0) return "No layouts (*.dat) found.";
    if (state.LayoutIndex <= 0) return "Select layout.";
    if (state.SchemeCount == 0) return "No color schemes (*.col) found.";
    if (state.SchemeIndex <= 0) return "Select color scheme.";
    return String();
}
