#include "imaging/png/png_memory.h"

#include <cstdlib>

namespace {

class THeapPixelMemory : public TPngPixelMemory {
public:
    explicit THeapPixelMemory(std::size_t size) { FBits = static_cast<Byte*>(std::calloc(size ? size : 1, 1)); }
    ~THeapPixelMemory() override { std::free(FBits); }
};

}  // namespace

std::unique_ptr<TPngPixelMemory> TPngImageAllocator::CreatePixels(const TPngBitmapInfo&, std::size_t size) {
    return std::make_unique<THeapPixelMemory>(size);
}

Byte* TPngImageAllocator::AllocateBytes(std::size_t size) {
    return static_cast<Byte*>(std::calloc(size ? size : 1, 1));
}

void TPngImageAllocator::FreeBytes(Byte* bytes) { std::free(bytes); }

TPngImageAllocator& TPngImageAllocator::Default() {
    static TPngImageAllocator allocator;
    return allocator;
}
