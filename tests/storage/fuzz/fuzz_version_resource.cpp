// The version-resource parser on arbitrary bytes: it must accept or reject
// them without reading outside the buffer, and the reader built on it must
// raise nothing but its own error.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "storage/support/errors.h"
#include "storage/support/file_version_info.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact copy, so that a read past the end is seen.
    std::vector<Byte> bytes(data, data + size);
    TZevVersionResource resource;
    bool parsed = ParseVersionResource(bytes.data(), bytes.size(), resource);
    try {
        TZevFileVersionInfo info(bytes);
        if (!parsed) __builtin_trap();
        for (int key = vkComments; key <= vkPrivateBuild; ++key) info.VersionKeyValue(key);
    } catch (const EZevFileVersionInfoError&) {
        if (parsed) __builtin_trap();
    }
    return 0;
}
