#include "components/foundation/system_version.h"

namespace {

LongWord ReadLongWord(const Byte* p) {
    return LongWord(p[0]) | LongWord(p[1]) << 8 | LongWord(p[2]) << 16 | LongWord(p[3]) << 24;
}

}  // namespace

int DllVersionFromRootBlock(const void* block, std::size_t size) {
    if (!block || size < FixedFileInfoSize) return -1;
    const auto* bytes = static_cast<const Byte*>(block);
    if (ReadLongWord(bytes) != FixedFileInfoSignature) return -1;
    // dwSignature, dwStrucVersion, then dwFileVersionMS.
    return int(ReadLongWord(bytes + 8));
}
