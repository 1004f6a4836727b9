#pragma once
// Where the parts of skinned controls go: the filled length of a progress
// bar and the two halves of an up-down control. Pure arithmetic, so that
// it is the same on every platform the program is built for.
#include "skin/SkinCanvas.h"

// The end of the filled part of a progress bar whose inner part runs from
// `start` for `inner` pixels: start + (position − min) × inner ÷ (max − min),
// rounded toward zero. No filled part (start) when max is not above min; a
// position outside the range fills nothing or all, never past the inner part.
int ProgressFillEnd(int start, int inner, int position, int min, int max);

// The up-down control split at half its height (vertical) or width: the
// first half up to the split, the second starting one pixel after it.
struct TUpDownHalves {
  TRect First;
  TRect Second;
};
TUpDownHalves SplitUpDown(int width, int height, bool horizontal);
