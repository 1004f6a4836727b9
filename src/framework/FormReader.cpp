#include "framework/FormReader.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

#include "framework/Collection.h"

namespace {

struct TItemStep;

// A stored value checked against its property, ready to be set: a plain
// value (an enumeration with its ordinal), or a collection's new items.
struct TValueStep {
  const TPropertyDef* Def;
  TPropertyValue Value;
  std::vector<TItemStep> Items;
};

// A new collection item, made but not yet in its collection, with its
// properties and its checked values.
struct TItemStep {
  std::unique_ptr<TCollectionItem> Item;
  std::unique_ptr<TPropertyList> Properties;
  std::vector<TValueStep> Values;
};

// One component's part of the reading: its properties, and the values to
// set in their stored order, each already checked.
struct TComponentStep {
  TComponent* Component;
  std::unique_ptr<TPropertyList> Properties;
  std::vector<TValueStep> Values;
};

class Planner {
public:
  Planner(const std::string& formClass, const TPropertyDefiner& definer) : formClass_(formClass), definer_(definer) {}

  void Plan(TComponent& component, const TStoredObject& stored, const std::string& path) {
    if (stored.ClassName != component.ClassName())
      Fail(path + " is a " + component.ClassName() + ", the stored form says " + stored.ClassName);
    TComponentStep step{&component, std::make_unique<TPropertyList>(PropertiesOf(component, definer_)), {}};
    step.Values = Checked(*step.Properties, stored.Properties, path, component.ClassName());
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

  std::vector<TValueStep> Checked(const TPropertyList& properties, const std::vector<TStoredProperty>& stored,
                                  const std::string& path, const char* className) const {
    std::vector<TValueStep> values;
    for (const TStoredProperty& property : stored) {
      const TPropertyDef* def = properties.Find(property.Name);
      if (!def) Fail(path + " (" + className + ") has no property " + property.Name);
      values.push_back(Checked(*def, property.Value, path));
    }
    return values;
  }

  TValueStep Checked(const TPropertyDef& def, const TPropertyValue& value, const std::string& path) const {
    if (def.Kind != value.Kind)
      Fail("property " + def.Name + " of " + path + " takes " + PropertyKindName(def.Kind) + ", the stored form holds " +
           PropertyKindName(value.Kind));
    TValueStep step{&def, {}, {}};
    if (def.Kind == TPropertyKind::pkCollection) {
      if (!def.Collection) throw std::logic_error("collection property " + def.Name + " names no collection");
      step.Value.Kind = TPropertyKind::pkCollection;
      for (std::size_t i = 0; i < value.Items.size(); ++i) {
        // Made now, so that its properties can be checked; it joins the
        // collection only once everything fits.
        TItemStep item{def.Collection->MakeItem(), std::make_unique<TPropertyList>(), {}};
        item.Item->DefineProperties(*item.Properties);
        item.Values = Checked(*item.Properties, value.Items[i].Properties,
                              path + "." + def.Name + "[" + std::to_string(i) + "]", item.Item->ClassName());
        step.Items.push_back(std::move(item));
      }
      return step;
    }
    step.Value = value;
    if (def.Kind != TPropertyKind::pkEnumeration) return step;
    const auto found = std::find(def.EnumNames.begin(), def.EnumNames.end(), value.Text);
    if (found == def.EnumNames.end())
      Fail("property " + def.Name + " of " + path + " has no value " + value.Text);
    step.Value.Integer = static_cast<std::int32_t>(found - def.EnumNames.begin());
    return step;
  }

  const std::string& formClass_;
  const TPropertyDefiner& definer_;
};

// Sets a checked value; a collection is cleared and gets the new items in
// their stored order, each item's values set once it is in the collection.
void Apply(TValueStep& step) {
  if (step.Def->Kind != TPropertyKind::pkCollection) {
    step.Def->Set(step.Value);
    return;
  }
  TCollection& collection = *step.Def->Collection;
  collection.Clear();
  for (TItemStep& item : step.Items) {
    collection.Add(std::move(item.Item));
    for (TValueStep& value : item.Values) Apply(value);
  }
}

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
  for (TComponentStep& step : planner.steps)
    for (TValueStep& value : step.Values) Apply(value);
}
