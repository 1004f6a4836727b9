#include "skin/engine/SkinBorders.h"

#include <algorithm>

#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinHelpers.h"

std::vector<std::string>& BorderExcludedClasses() {
  static std::vector<std::string> classes;
  return classes;
}

bool TSkinBorderWinControl::HasBorder() {
  if (!Control || !Handle()) return false;
  const TControl::TPublishedValue style = Control->BorderStyleProperty();
  if (style.published) {
    // A border style of another kind (a grid's, a panel bevel's) is not a window border.
    if (style.typeName != "TBorderStyle" && style.typeName != "TFormBorderStyle") return false;
    if (style.value == 0) return false;
  }
  const TControl::TPublishedValue bevels = Control->BevelEdgesProperty();
  if (bevels.published && bevels.value == 0) return false;
  const TControl::TPublishedValue edges = Control->EdgeBordersProperty();
  if (edges.published && edges.value == 0) return false;
  const auto& excluded = BorderExcludedClasses();
  return std::find(excluded.begin(), excluded.end(), Control->ClassName()) == excluded.end();
}

void TSkinBorderWinControl::PaintBorder() {
  if (!Engine.InEffect() || !HasBorder()) return;
  const TColor own = Control->Color();
  skin::FrameWindowOutline(Handle(), Engine.GetColor(TSkinColorKey::SKIN2_CONTROLBORDERCOLOR),
                           own == kNoColor ? Engine.GetColor(TSkinColorKey::SKIN2_CONTROLCOLOR) : own, true);
}

void TSkinBorderWndControl::PaintBorder() {
  if (!Engine.InEffect() || !IsWindow(Window)) return;
  skin::FrameWindowOutline(Window, Engine.GetColor(TSkinColorKey::SKIN2_CONTROLBORDERCOLOR), kNoColor, false);
}
