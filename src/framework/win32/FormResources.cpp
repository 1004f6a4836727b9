#include "framework/win32/FormResources.h"

#include "framework/FormReader.h"
#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"

namespace {

void DefineControl(TControl& control, TPropertyList& p) {
  p.Integer("Left", [&control](std::int32_t v) { control.SetBounds(v, control.Top(), control.Width(), control.Height()); });
  p.Integer("Top", [&control](std::int32_t v) { control.SetBounds(control.Left(), v, control.Width(), control.Height()); });
  p.Integer("Width", [&control](std::int32_t v) { control.SetBounds(control.Left(), control.Top(), v, control.Height()); });
  p.Integer("Height", [&control](std::int32_t v) { control.SetBounds(control.Left(), control.Top(), control.Width(), v); });
  // A form is shown by Show or ShowModal, never by its stored state.
  if (!control.InheritsFrom<TForm>()) p.Boolean("Visible", [&control](bool v) { control.SetVisible(v); });
  p.Boolean("Enabled", [&control](bool v) { control.SetEnabled(v); });
  p.String("Caption", [&control](const std::string& v) { control.SetCaption(v); });
  p.String("Text", [&control](const std::string& v) { control.SetText(v); });
  p.Integer("Color", [&control](std::int32_t v) { control.SetColor(v); });
  p.Boolean("ParentColor", [&control](bool v) { control.ParentColor = v; });
  p.Boolean("ParentFont", [&control](bool v) { control.ParentFont = v; });
  p.Enumeration("Align", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"},
                [&control](int v) { control.SetAlign(static_cast<TAlign>(v)); });
}

void DefineForm(TForm& form, TPropertyList& p) {
  p.Enumeration("BorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
                [&form](int v) { form.BorderStyle = static_cast<TFormBorderStyle>(v); });
  p.Enumeration("FormStyle", {"fsNormal", "fsStayOnTop"}, [&form](int v) { form.FormStyle = static_cast<TFormStyle>(v); });
  p.Enumeration("Position", {"poDesigned", "poScreenCenter"},
                [&form](int v) { form.Position = static_cast<TPosition>(v); });
  p.Enumeration("WindowState", {"wsNormal", "wsMinimized", "wsMaximized"},
                [&form](int v) { form.WindowState = static_cast<TWindowState>(v); });
  p.Boolean("KeyPreview", [&form](bool v) { form.KeyPreview = v; });
}

} // namespace

void DefineFrameworkProperties(TComponent& component, TPropertyList& p) {
  if (auto* control = dynamic_cast<TControl*>(&component)) DefineControl(*control, p);
  if (auto* win = dynamic_cast<TWinControl*>(&component)) p.Boolean("TabStop", [win](bool v) { win->TabStop = v; });
  if (auto* form = dynamic_cast<TForm*>(&component)) DefineForm(*form, p);
  if (auto* edit = dynamic_cast<TEdit*>(&component)) {
    p.Boolean("ReadOnly", [edit](bool v) { edit->ReadOnly = v; });
    p.Integer("MaxLength", [edit](std::int32_t v) { edit->SetMaxLength(v); });
  }
  if (auto* button = dynamic_cast<TButton*>(&component)) {
    p.Integer("ModalResult", [button](std::int32_t v) { button->ModalResult = v; });
    p.Boolean("Default", [button](bool v) { button->Default = v; });
    p.Boolean("Cancel", [button](bool v) { button->Cancel = v; });
  }
  if (auto* check = dynamic_cast<TCheckBox*>(&component))
    p.Boolean("Checked", [check](bool v) { check->SetChecked(v); });
  if (auto* label = dynamic_cast<TLabel*>(&component)) {
    p.Boolean("AutoSize", [label](bool v) { label->AutoSize = v; });
    p.Boolean("Transparent", [label](bool v) { label->Transparent = v; });
    p.Boolean("WordWrap", [label](bool v) { label->WordWrap = v; });
  }
  if (auto* panel = dynamic_cast<TPanel*>(&component))
    p.Enumeration("BevelOuter", {"bvNone", "bvLowered", "bvRaised"},
                  [panel](int v) { panel->BevelOuter = static_cast<TBevelCut>(v); });
}

bool LoadFormResource(TForm& form) {
  const std::string name = form.ClassName();
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, name.c_str(), RT_RCDATA);
  if (!found) return false;
  HGLOBAL loaded = LoadResource(module, found); // module memory: nothing to free
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) throw EFormResourceError("The stored form of " + name + " cannot be loaded from the program.");
  const TStoredObject stored =
      ReadFormResource(static_cast<const std::uint8_t*>(data), SizeofResource(module, found), name);
  ReadStoredForm(form, stored, DefineFrameworkProperties);
  return true;
}
