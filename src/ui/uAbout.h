#pragma once
// The about box.
#include "app/uBase.h"

class TfAbout : public TfBase {
public:
  explicit TfAbout(TComponent* owner);
  PLIMET_CLASS_NAME(TfAbout)
};

void ShowAboutBox();
