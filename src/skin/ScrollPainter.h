#pragma once
// The skinned picture of a scroll bar: background, the two arrow buttons
// and the thumb built from its pieces (or from one whole picture).
#include "skin/SkinCanvas.h"

class TSkinScrollBtnRes;

// barRect and thumbRect are in the canvas's coordinates; a vertical thumb
// runs from thumbRect.Top to thumbRect.Bottom, a horizontal one from Left
// to Right. Without drawThumb only the background and arrows are drawn.
void PaintScrollImage(ISkinCanvas& canvas, const TSkinScrollBtnRes& pieces, TColor background, const TRect& barRect,
                      const TRect& thumbRect, bool drawThumb, bool vertical);
