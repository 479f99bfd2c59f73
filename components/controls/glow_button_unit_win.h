// The unit of the glow button: registers its classes for the stored layout
// when the program starts.
#pragma once

void GlowButtonInitialize();
void GlowButtonFinalize();
