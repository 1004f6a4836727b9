#include "framework/win32/FormResources.h"

#include "framework/FormReader.h"
#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"

#include <utility>
#include <vector>

namespace {

// An enumeration by explicit name and value, so that a value added to the
// type anywhere in its order cannot shift what a stored name means.
template <typename E>
void Enumeration(TPropertyList& p, const char* name, std::vector<std::pair<const char*, E>> values,
                 std::function<void(E)> set) {
  std::vector<std::string> names;
  for (const auto& value : values) names.emplace_back(value.first);
  p.Enumeration(name, std::move(names), [values, set = std::move(set)](int ordinal) {
    set(values.at(static_cast<std::size_t>(ordinal)).second);
  });
}

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
  using A = TAlign;
  Enumeration<A>(p, "Align",
                 {{"alNone", A::alNone}, {"alTop", A::alTop}, {"alBottom", A::alBottom}, {"alLeft", A::alLeft},
                  {"alRight", A::alRight}, {"alClient", A::alClient}},
                 [&control](A v) { control.SetAlign(v); });
}

void DefineForm(TForm& form, TPropertyList& p) {
  using B = TFormBorderStyle;
  Enumeration<B>(p, "BorderStyle",
                 {{"bsNone", B::bsNone}, {"bsSingle", B::bsSingle}, {"bsSizeable", B::bsSizeable},
                  {"bsDialog", B::bsDialog}, {"bsToolWindow", B::bsToolWindow}, {"bsSizeToolWin", B::bsSizeToolWin}},
                 [&form](B v) { form.BorderStyle = v; });
  using S = TFormStyle;
  Enumeration<S>(p, "FormStyle",
                 {{"fsNormal", S::fsNormal}, {"fsMDIChild", S::fsMDIChild}, {"fsMDIForm", S::fsMDIForm},
                  {"fsStayOnTop", S::fsStayOnTop}},
                 [&form](S v) { form.FormStyle = v; });
  using P = TPosition;
  Enumeration<P>(p, "Position",
                 {{"poDesigned", P::poDesigned}, {"poDefaultPosOnly", P::poDefaultPosOnly},
                  {"poScreenCenter", P::poScreenCenter}},
                 [&form](P v) { form.Position = v; });
  using W = TWindowState;
  Enumeration<W>(p, "WindowState", {{"wsNormal", W::wsNormal}, {"wsMinimized", W::wsMinimized}, {"wsMaximized", W::wsMaximized}},
                 [&form](W v) { form.WindowState = v; });
  p.Boolean("KeyPreview", [&form](bool v) { form.KeyPreview = v; });
}

} // namespace

void DefineFrameworkProperties(TComponent& component, TPropertyList& p) {
  if (auto* control = dynamic_cast<TControl*>(&component)) DefineControl(*control, p);
  if (auto* win = dynamic_cast<TWinControl*>(&component)) p.Boolean("TabStop", [win](bool v) { win->TabStop = v; });
  if (auto* form = dynamic_cast<TForm*>(&component)) DefineForm(*form, p);
  if (auto* edit = dynamic_cast<TCustomEdit*>(&component)) {
    p.Boolean("ReadOnly", [edit](bool v) { edit->ReadOnly = v; });
    p.Integer("MaxLength", [edit](std::int32_t v) { edit->SetMaxLength(v); });
  }
  if (auto* button = dynamic_cast<TButton*>(&component)) {
    p.Integer("ModalResult", [button](std::int32_t v) { button->ModalResult = v; });
    p.Boolean("Default", [button](bool v) { button->Default = v; });
    p.Boolean("Cancel", [button](bool v) { button->Cancel = v; });
  }
  if (auto* check = dynamic_cast<TCustomCheckBox*>(&component))
    p.Boolean("Checked", [check](bool v) { check->SetChecked(v); });
  if (auto* label = dynamic_cast<TCustomLabel*>(&component)) {
    p.Boolean("AutoSize", [label](bool v) { label->AutoSize = v; });
    p.Boolean("Transparent", [label](bool v) { label->Transparent = v; });
    p.Boolean("WordWrap", [label](bool v) { label->WordWrap = v; });
  }
  if (auto* panel = dynamic_cast<TCustomPanel*>(&component))
    Enumeration<TBevelCut>(p, "BevelOuter",
                           {{"bvNone", TBevelCut::bvNone}, {"bvLowered", TBevelCut::bvLowered},
                            {"bvRaised", TBevelCut::bvRaised}},
                           [panel](TBevelCut v) { panel->BevelOuter = v; });
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
