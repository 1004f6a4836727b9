#pragma once
// Laying skin bitmaps into rectangles of any size, and the small marks,
// frames and texts the skinned parts share.
#include <string>

#include "skin/SkinCanvas.h"

// Corners at natural size, edges and centre stretched; the destination's
// left and top are 0. Corners are keyed with the transparent colour when
// transparentCorners; edges and centre always are.
void DrawNinePart(const TBitmap* bitmap, ISkinCanvas& canvas, const TRect& dest, TColor transparent,
                  bool transparentCorners);
// A strip of three equal cells: ends copied, middle stretched; always the
// bitmap's own height.
void DrawThreeCells(const TBitmap* bitmap, ISkinCanvas& canvas, const TRect& dest, TColor transparent,
                    bool transparentCells);
// Ends of endSize copied (stretched across), the middle stretched between them.
void DrawVertEnds(TBitmap* bitmap, ISkinCanvas& canvas, const TRect& dest, int endHeight);
void DrawHorzEnds(TBitmap* bitmap, ISkinCanvas& canvas, const TRect& dest, int endWidth);
void StretchBitmap(const TBitmap* bitmap, ISkinCanvas& canvas, const TRect& dest);

void DrawDownArrow(ISkinCanvas& canvas, int x, int y, bool enabled);
void DrawUpArrow(ISkinCanvas& canvas, int x, int y, bool enabled);
void DrawLeftArrow(ISkinCanvas& canvas, int x, int y, bool enabled);
void DrawRightArrow(ISkinCanvas& canvas, int x, int y, bool enabled);

void FrameRectColor(ISkinCanvas& canvas, const TRect& rect, TColor color);
void FillRectColor(ISkinCanvas& canvas, const TRect& rect, TColor color);
void DrawMenuSeparator(ISkinCanvas& canvas, const TRect& rect, TColor color, bool leftToRight, int leftBarWidth);

// The text, or its shortest start followed by "..." that is at least as
// wide as the limit.
std::string EllipsisText(ISkinCanvas& canvas, const std::string& text, int width);
std::string StripAmpersands(const std::string& text);
