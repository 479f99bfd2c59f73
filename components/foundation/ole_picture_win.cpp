#include "components/foundation/ole_picture_win.h"

#include <cstring>

HGLOBAL CopyToGlobalMemory(std::span<const Byte> bytes) {
    // A block of 0 bytes would be a discarded one that cannot be locked.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.empty() ? 1 : bytes.size());
    void* memory = block ? GlobalLock(block) : nullptr;
    if (!memory) {
        if (block) GlobalFree(block);
        throw EInvalidGraphic("Could not allocate memory for image");
    }
    if (!bytes.empty()) std::memcpy(memory, bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

IStream* CreateStreamOnBytes(std::span<const Byte> bytes) {
    HGLOBAL block = CopyToGlobalMemory(bytes);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream)) || !stream) {
        GlobalFree(block);
        return nullptr;
    }
    return stream;
}

IPicture* LoadOlePicture(std::span<const Byte> bytes) {
    HGLOBAL block = CopyToGlobalMemory(bytes);
    TComRef<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, stream.Receive()))) {
        GlobalFree(block);
        throw EInvalidGraphic("Could not create image stream");
    }
    if (!stream) {
        GlobalFree(block);
        throw EInvalidGraphic("Empty image stream created");
    }
    // From here the stream owns the block.
    IPicture* picture = nullptr;
    HRESULT hr =
        OleLoadPicture(stream.Get(), LONG(bytes.size()), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
    if (FAILED(hr)) throw EInvalidGraphic("Could not load image. Invalid format");
    if (!picture) throw EInvalidGraphic("Could not load image");
    return picture;
}

bool OlePictureExtent(IPicture* picture, int& width, int& height) {
    width = height = 0;
    if (!picture) return false;
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture->get_Width(&w);
    picture->get_Height(&h);
    width = int(w);
    height = int(h);
    return true;
}

void RenderOlePicture(IPicture* picture, HDC dc, int x, int y, int width, int height) {
    int w = 0, h = 0;
    if (!OlePictureExtent(picture, w, h)) return;
    // The source rectangle runs bottom-up in HIMETRIC.
    picture->Render(dc, x, y, width, height, 0, h, w, -h, nullptr);
}
