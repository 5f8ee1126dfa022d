// Drawing VobSub pictures onto both bitmap surfaces: once per picture, blended over black,
// centred at the top.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessaview {

class BitmapSurface;
class VobSubLibrary;

// Each colour byte := colour x alpha div 256, in place (BGRA pixels).
void BlendOverBlack(uint8_t* bgra, size_t pixelCount);

// Draws the library's due picture on both surfaces unless LastBitmapIndex already is it.
void DrawBitmapCue(VobSubLibrary& library, int32_t& LastBitmapIndex, BitmapSurface& imSubtitle,
                   BitmapSurface& imSub);
// Paints both surfaces black and forgets the drawn picture (LastBitmapIndex := -1).
void ClearBitmapCue(int32_t& LastBitmapIndex, BitmapSurface& imSubtitle, BitmapSurface& imSub);

}  // namespace tessaview
