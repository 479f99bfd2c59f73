// Start-up and shut-down of the graphics part of the visual library.
#include "classlib/ui/graphics.h"
#include "classlib/ui/imagelist.h"

void ClasslibGraphicsInitialize() {
    TypeInfoOf(static_cast<TColor*>(nullptr));  // registers the colour names
    TypeInfoFontCharset();
    RegisterClasses({TImageList::StaticClass()});
}

void ClasslibGraphicsFinalize() { FreeMemoryContexts(); }
