#pragma once
// Bordered controls (edits, lists, trees, hot keys...): their two outer
// pixel rings painted in the skin's border and control colours.
#include <string>
#include <vector>

#include "skin/engine/SkinControl.h"

class TSkinBorderWinControl : public TSkinControlFramework {
public:
  using TSkinControlFramework::TSkinControlFramework;
  void Paint() override { PaintBorder(); }
  // Whether the control shows a border the skin should draw over.
  bool HasBorder();

protected:
  void PaintBorder();
};

class TSkinBorderWndControl : public TSkinControlWnd {
public:
  using TSkinControlWnd::TSkinControlWnd;
  void Paint() override { PaintBorder(); }

protected:
  void PaintBorder();
};

// Classes whose borders are never painted over.
std::vector<std::string>& BorderExcludedClasses();
