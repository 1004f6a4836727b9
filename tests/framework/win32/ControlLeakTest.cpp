// Made and freed many times, the controls leave no component, owned GDI
// object or window behind.
#include <gtest/gtest.h>

#include "support/WindowCount.h"

#include "framework/win32/Buttons.h"
#include "framework/win32/DBCtrls.h"
#include "framework/win32/Forms.h"
#include "framework/win32/Frames.h"
#include "framework/win32/Grids.h"
#include "framework/win32/Mask.h"
#include "framework/win32/Spin.h"
#include "framework/win32/StdCtrls.h"
#include "support/RealInput.h"

TEST(ControlLeakTest, FormsFullOfTheControlsComeAndGoWithoutATrace) {
  TApplication app;
  TClientDataSet kinds;
  kinds.AddFieldDef("FKindId", TFieldType::Integer, 0, true);
  kinds.AddFieldDef("FName", TFieldType::String, 40, false);
  kinds.CreateDataSet();
  kinds.AppendRecord({1, "One"});
  auto cycle = [&] {
    auto* form = new TForm(&app);
    form->SetBounds(50, 50, 500, 400);
    auto place = [form](TControl* control, TWinControl* parent, int left, int top) {
      control->SetParent(parent);
      control->SetBounds(left, top, control->Width(), control->Height());
    };
    auto* radio = new TRadioButton(form);
    place(radio, form, 5, 5);
    radio->SetChecked(true);
    place(new TScrollBar(form), form, 5, 30);
    auto* memo = new TMemo(form);
    place(memo, form, 5, 55);
    memo->SetLines({"a", "b"});
    auto* list = new TListBox(form);
    place(list, form, 200, 5);
    list->SetItems({"x", "y"});
    auto* mask = new TMaskEdit(form);
    place(mask, form, 200, 110);
    mask->SetEditMask("00-00;1;_");
    auto* spin = new TSpinEdit(form);
    place(spin, form, 200, 140);
    spin->ImeMode = imDisable;
    spin->SetFocus(); // the input context taken away, and given back as the window goes
    auto* speed = new TSpeedButton(form);
    place(speed, form, 330, 5);
    speed->SetCaption("S");
    auto* box = new TScrollBox(form);
    place(box, form, 330, 40);
    place(new TButton(form), box, 150, 10);
    auto* frame = new TFrame(form);
    place(frame, form, 5, 160);
    frame->SetBounds(5, 160, 150, 80);
    place(new TEdit(frame), frame, 5, 5);
    auto* grid = new TStringGrid(form);
    place(grid, form, 170, 170);
    grid->SetCells(1, 1, "cell");
    auto* source = new TDataSource(form);
    source->SetDataSet(&kinds);
    auto* lookup = new TDBLookupComboBox(form);
    place(lookup, form, 5, 300);
    lookup->KeyField = "FKindId";
    lookup->ListField = "FName";
    lookup->SetListSource(source);
    lookup->SetKeyValue(1);
    form->Show();
    lookup->DropDown(); // its list window made, and gone with it
    app.ProcessMessages();
    lookup->CloseUp(false);
    delete form;
    app.ProcessMessages();
  };
  cycle(); // the first registers the window classes
  const int components = TComponent::LiveCount(), gdiObjects = gdi::LiveObjects(), windows = ThreadWindowCount();
  for (int i = 0; i < 100; ++i) cycle();
  EXPECT_EQ(TComponent::LiveCount(), components);
  EXPECT_EQ(gdi::LiveObjects(), gdiObjects);
  EXPECT_EQ(ThreadWindowCount(), windows);
}
