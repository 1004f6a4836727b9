#include "framework/FormReader.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// One component's part of the reading: its properties, and the values to
// set in their stored order, each already checked.
struct TComponentStep {
  TComponent* Component;
  std::unique_ptr<TPropertyList> Properties;
  std::vector<std::pair<const TPropertyDef*, TPropertyValue>> Values;
};

class Planner {
public:
  Planner(const std::string& formClass, const TPropertyDefiner& definer) : formClass_(formClass), definer_(definer) {}

  void Plan(TComponent& component, const TStoredObject& stored, const std::string& path) {
    if (stored.ClassName != component.ClassName())
      Fail(path + " is a " + component.ClassName() + ", the stored form says " + stored.ClassName);
    TComponentStep step{&component, std::make_unique<TPropertyList>(PropertiesOf(component, definer_)), {}};
    for (const TStoredProperty& property : stored.Properties) {
      const TPropertyDef* def = step.Properties->Find(property.Name);
      if (!def) Fail(path + " (" + component.ClassName() + ") has no property " + property.Name);
      step.Values.emplace_back(def, Checked(*def, property.Value, path));
    }
    steps.push_back(std::move(step));
    for (const TStoredObject& child : stored.Components) {
      TComponent* owned = component.FindComponent(child.Name);
      if (!owned) Fail(path + " has no component " + child.Name);
      Plan(*owned, child, child.Name);
    }
  }

  std::vector<TComponentStep> steps;

private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw EFormResourceError("The stored form of " + formClass_ + " does not fit the form: " + what + ".");
  }

  TPropertyValue Checked(const TPropertyDef& def, const TPropertyValue& value, const std::string& path) const {
    if (def.Kind != value.Kind)
      Fail("property " + def.Name + " of " + path + " takes " + PropertyKindName(def.Kind) + ", the stored form holds " +
           PropertyKindName(value.Kind));
    if (def.Kind != TPropertyKind::pkEnumeration) return value;
    const auto found = std::find(def.EnumNames.begin(), def.EnumNames.end(), value.Text);
    if (found == def.EnumNames.end())
      Fail("property " + def.Name + " of " + path + " has no value " + value.Text);
    TPropertyValue ordinal = value;
    ordinal.Integer = static_cast<std::int32_t>(found - def.EnumNames.begin());
    return ordinal;
  }

  const std::string& formClass_;
  const TPropertyDefiner& definer_;
};

// csLoading on every component read, for as long as the values are set,
// also when a setter throws.
class LoadingState {
public:
  explicit LoadingState(const std::vector<TComponentStep>& steps) : steps_(steps) {
    for (const TComponentStep& step : steps_) step.Component->SetLoading(true);
  }
  ~LoadingState() {
    for (const TComponentStep& step : steps_) step.Component->SetLoading(false);
  }
  LoadingState(const LoadingState&) = delete;
  LoadingState& operator=(const LoadingState&) = delete;

private:
  const std::vector<TComponentStep>& steps_;
};

} // namespace

TPropertyList PropertiesOf(TComponent& component, const TPropertyDefiner& definer) {
  TPropertyList properties;
  if (definer) definer(component, properties);
  component.DefineProperties(properties);
  return properties;
}

void ReadStoredForm(TComponent& form, const TStoredObject& stored, const TPropertyDefiner& definer) {
  const std::string formClass = form.ClassName();
  Planner planner(formClass, definer);
  planner.Plan(form, stored, formClass);
  LoadingState loading(planner.steps);
  for (const TComponentStep& step : planner.steps)
    for (const auto& [def, value] : step.Values) def->Set(value);
}
