// Image bytes handed to Windows: copied into a movable global memory block
// behind a stream that frees the block when it is released (what OLE and
// GDI+ read images from), and OLE pictures made from such a stream.
#pragma once

#include <span>

#include "classlib/os/win.h"
#include "classlib/ui/graphics.h"

#include <ocidl.h>
#include <olectl.h>

// Holds one reference to a COM object and releases it at the end.
template <class T>
class TComRef {
public:
    TComRef() = default;
    explicit TComRef(T* p) : FPtr(p) {}
    TComRef(const TComRef&) = delete;
    TComRef& operator=(const TComRef&) = delete;
    ~TComRef() { Reset(); }
    T* Get() const { return FPtr; }
    T* operator->() const { return FPtr; }
    explicit operator bool() const { return FPtr != nullptr; }
    // The place a creating call puts its new reference (the old one goes).
    T** Receive() {
        Reset();
        return &FPtr;
    }
    void Reset() {
        if (FPtr) FPtr->Release();
        FPtr = nullptr;
    }
    T* Detach() {
        T* p = FPtr;
        FPtr = nullptr;
        return p;
    }

private:
    T* FPtr = nullptr;
};

// A movable global block with a copy of bytes. Raises EInvalidGraphic
// "Could not allocate memory for image" when there is no such block.
HGLOBAL CopyToGlobalMemory(std::span<const Byte> bytes);

// A stream over a copy of bytes that frees its block when released;
// nullptr when no stream could be made. Raises as CopyToGlobalMemory.
IStream* CreateStreamOnBytes(std::span<const Byte> bytes);

// An OLE picture of the bytes of an image file. Raises EInvalidGraphic:
// "Could not allocate memory for image", "Could not create image stream",
// "Empty image stream created", "Could not load image. Invalid format"
// (the bytes do not load) and "Could not load image" (no picture came).
IPicture* LoadOlePicture(std::span<const Byte> bytes);

// The picture's extent in HIMETRIC; false for no picture.
bool OlePictureExtent(IPicture* picture, int& width, int& height);

// Draws the whole picture into the rectangle x, y, width, height of dc.
void RenderOlePicture(IPicture* picture, HDC dc, int x, int y, int width, int height);
