#pragma once
// Grids: rows and columns of cells the control paints itself.
#include "framework/win32/Controls.h"

// The base of every grid (string grids, data grids).
class TCustomGrid : public TCustomControl {
public:
  explicit TCustomGrid(TComponent* owner) : TCustomControl(owner) {}
  PLIMET_CLASS_NAME(TCustomGrid)
};
