#include "imaging/png/win/png_unit.h"

#include "imaging/png/win/png_imagelist.h"

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
