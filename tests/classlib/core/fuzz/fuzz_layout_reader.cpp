// Feeds arbitrary text to the stored-layout reader: it must raise a
// filer error or succeed, never crash, hang or leak.
#include <cstddef>
#include <cstdint>

#include "../test_classes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static bool registered = (RegisterTestClasses(), true);
    (void)registered;
    TestLog().clear();
    String text(reinterpret_cast<const char*>(data), size);
    TTestRoot root(nullptr);
    try {
        TReader(text).ReadRootComponent(&root);
        TWriter().WriteRootComponent(&root);
    } catch (const Exception&) {}
    return 0;
}
