// The PNG unit of the program's unit list (classlib/core/units.h): it
// registers the chunk classes, then the picture format "PNG" and the PNG
// image list for the stored layout; finalising undoes it in reverse.
#pragma once

// What the picture-format registry lists the PNG picture under.
inline constexpr const char* PngFileExtension = "PNG";
inline constexpr const char* PngFileDescription = "Portable Network Graphics";

void PngInitialize();
void PngFinalize();
