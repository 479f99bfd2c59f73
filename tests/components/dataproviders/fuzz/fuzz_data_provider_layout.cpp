// Feeds arbitrary text to the stored-layout reader with the data-provider
// framework's classes registered: a provider's items, their extensions and
// sub-items, and consumers with their extensions. Reading must succeed or
// raise a read error, never crash, hang or leak; what was read writes a
// layout that reads back to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "../data_provider_fixture.h"

namespace {

String ReadAndWrite(const String& text) {
    TComponent root(nullptr);
    TReader(text).ReadRootComponent(&root);
    return TWriter().WriteRootComponent(&root);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static bool registered = (dp_test::RegisterTestClasses(), true);
    (void)registered;
    String text(reinterpret_cast<const char*>(data), size);
    String written;
    try {
        written = ReadAndWrite(text);
    } catch (const Exception&) {
        return 0;
    }
    // What the framework wrote, it reads back to the same layout.
    try {
        if (ReadAndWrite(written) != written) std::abort();
    } catch (const Exception&) {
        std::abort();
    }
    return 0;
}
