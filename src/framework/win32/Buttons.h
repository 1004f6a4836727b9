#pragma once
// Speed buttons: windowless buttons with a glyph, as on tool strips; in a
// group they stay down like radio buttons.
#include "framework/win32/StdCtrls.h"

// Where a glyph and a caption go in a button's rectangle.
struct TGlyphPlacement {
  POINT glyph{0, 0};
  RECT caption{0, 0, 0, 0};
};
// Glyph of the given size and caption of the given size in a client area
// of width x height: centred across the layout axis; along it Margin from
// the edge (centred when -1) with Spacing between them (-1: evenly spread).
TGlyphPlacement PlaceGlyphAndCaption(int width, int height, SIZE glyph, SIZE caption, TButtonLayout layout, int margin,
                                     int spacing);

class TSpeedButton : public TGraphicControl {
public:
  explicit TSpeedButton(TComponent* owner);
  PLIMET_CLASS_NAME(TSpeedButton)
  // A strip of NumGlyphs images (up, disabled, clicked, down); not owned;
  // the bottom-left pixel's colour is transparent.
  HBITMAP Glyph = nullptr;
  int NumGlyphs = 1;
  TButtonLayout Layout = TButtonLayout::blGlyphLeft;
  int Margin = -1;
  int Spacing = 4;
  // Only flat buttons under the mouse, pressed or down show a frame.
  bool Flat = false;
  // Buttons of one parent with the same GroupIndex (not 0) act as a group:
  // the one clicked stays down and the others come up.
  int GroupIndex = 0;
  // In a group, a click on the button that is down brings it up.
  bool AllowAllUp = false;
  bool Down() const { return down_; }
  void SetDown(bool down);
  // Under the mouse; held down by the mouse over it.
  bool MouseInControl() const { return hot_; }
  bool Pressed() const { return pressed_; }
  void WndProc(TMessage& message) override;
  void PaintOn(HDC dc) override;

private:
  void SetState(bool& state, bool value);
  bool down_ = false;
  bool hot_ = false;
  bool pressed_ = false;
  bool tracking_ = false; // the left button went down on this one
};
