#pragma once
// Stored forms in the program's resources: one RCDATA block per form class,
// named by the class, written at build time by tools/formres from the
// form's text description and read when the form is loaded.
#include "framework/Properties.h"

class TComponent;
class TForm;

// The published properties of the framework's forms and controls, by class.
void DefineFrameworkProperties(TComponent& component, TPropertyList& properties);

// Gives the form and its components their stored properties when the
// program carries a resource for the form's class; false when it carries
// none. Damaged or unfitting data throws EFormResourceError and sets nothing.
bool LoadFormResource(TForm& form);
