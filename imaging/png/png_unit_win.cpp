#include "imaging/png/png_unit_win.h"

#include "imaging/png/png_imagelist_win.h"

void PngInitialize() {
    // Exactly the standard chunk classes, in their order.
    FreeChunkClasses();
    RegisterStandardChunks();
    TPicture::RegisterFileFormat(PngFileExtension, PngFileDescription, GraphicClassOf<TPNGObject>());
    RegisterClasses({TPngImageList::StaticClass()});
}

void PngFinalize() {
    UnregisterClass(TPngImageList::StaticClass());
    TPicture::UnregisterGraphicClass(TPNGObject::StaticClass());
    FreeChunkClasses();
}
