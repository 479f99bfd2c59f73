// Everything of the GDI+ wrappers in one header: the graphics, pens,
// brushes, paths and regions, fonts and string formats, images, bitmaps
// and image attributes, with the types, ARGB colours and start-up they
// stand on. Components that draw anti-aliased include this.
#pragma once

#include "components/foundation/gdip_brushes_win.h"
#include "components/foundation/gdip_fonts_win.h"
#include "components/foundation/gdip_graphics_win.h"
#include "components/foundation/gdip_images_win.h"
#include "components/foundation/gdip_path_win.h"
#include "components/foundation/gdip_pen_win.h"
#include "components/foundation/gdiplus_base_win.h"
#include "components/foundation/gdiplus_flat_win.h"
#include "components/foundation/gdiplus_types.h"
