#include "components/foundation/version_text.h"

String PackedVersionText(LongWord version) {
    return std::to_string((version >> 24) & 0xFF) + "." + std::to_string((version >> 16) & 0xFF) + "." +
           std::to_string((version >> 8) & 0xFF) + "." + std::to_string(version & 0xFF);
}
