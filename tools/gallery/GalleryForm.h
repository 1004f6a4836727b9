#pragma once
// The gallery: one of every control of the framework and every kind of
// menu on one form, and an MDI form with children. A person (or a skin
// author) sees the whole family at once; the tests photograph it and make
// and free it many times over.
#include <memory>

#include "framework/win32/Forms.h"
#include "framework/win32/Gdi.h"

class TClientDataSet;
class TPageControl;
class TTabSheet;

class TGalleryForm : public TForm {
public:
  explicit TGalleryForm(TComponent* owner);
  ~TGalleryForm() override;
  PLIMET_CLASS_NAME(TGalleryForm)

  TPageControl* Pages = nullptr;
  TTabSheet* StandardPage = nullptr;
  TTabSheet* CommonPage = nullptr;
  TTabSheet* DataPage = nullptr;

private:
  void BuildMenus();
  void BuildBars();
  void BuildStandardPage();
  void BuildCommonPage();
  void BuildDataPage();

  std::unique_ptr<TClientDataSet> records_;
  std::unique_ptr<TClientDataSet> kinds_;
  gdi::TBitmap glyph_; // made for the glyph buttons, freed after them
};

// An MDI form with three children, its window menu listing them.
class TGalleryMDIForm : public TForm {
public:
  explicit TGalleryMDIForm(TComponent* owner);
  PLIMET_CLASS_NAME(TGalleryMDIForm)
  // Opens another child with a note in it.
  TForm* NewChild(const std::string& caption);
};
