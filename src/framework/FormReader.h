#pragma once
// Gives a form's stored properties to the form and its components.
//
// Each stored object names a component the enclosing one owns (the form's
// own components for the top level); the components are made by the form's
// code, so a stored name the form does not own, or a component of another
// class, is an error rather than something to make up. Every name, class,
// property and value is checked against the components before the first
// value is set, so a stored form that does not fit leaves the form as it was.
// A stored collection replaces the items of the collection a property names
// with exactly its own items, made and checked (every item's every value)
// before the first value is set.
// While the values are set each component read carries csLoading.
#include <functional>
#include <string>

#include "framework/Component.h"
#include "framework/FormResource.h"

// Properties a component has beyond its own DefineProperties (the Win32
// framework adds its controls' ones from a table of its own).
using TPropertyDefiner = std::function<void(TComponent& component, TPropertyList& properties)>;

// The properties the reader offers for the component: the definer's, then
// the component's own (which win on a shared name).
TPropertyList PropertiesOf(TComponent& component, const TPropertyDefiner& definer);

// Sets the stored values on the form; throws EFormResourceError naming the
// form's class and what does not fit. The form's Loaded is not called.
void ReadStoredForm(TComponent& form, const TStoredObject& stored, const TPropertyDefiner& definer = {});
