#include "components/foundation/style_preset.h"

QL_DEFINE_ENUM(TOfficePagerStyle, "psOffice2003Blue", "psOffice2003Silver", "psOffice2003Olive", "psOffice2003Classic",
               "psOffice2007Luna", "psOffice2007Obsidian", "psWindowsXP", "psWhidbey", "psCustom", "psOffice2007Silver",
               "psWindowsVista", "psWindows7", "psTerminal")
