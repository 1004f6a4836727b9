#pragma once
// The text description of a stored form, one file per form class:
//
//   object fResTest: TfResTest        // the form: its name and class
//     Caption = 'Stored caption'      // string, '' for a quote, #13 for a code
//     Width = 420                     // integer, or $hex (colours: $FF00000F)
//     KeyPreview = True               // boolean: True or False
//     BorderStyle = bsDialog          // enumeration value, by name
//     SkinData = {                    // binary: hex digits, any spacing
//       504B0304 0A00
//     }
//     Skins = <                       // collection: its items in order,
//       item                          //   each with its own properties
//         SkinFile = 'Blue.ssk'
//         SkinData = { 504B }
//       end
//       item
//       end>                          // <> when it holds none
//     object Panel: TPanel            // a component the enclosing one owns
//       Tag = 7
//     end
//   end
//
// Comments run from // to the end of the line.
#include <string>

#include "framework/FormResource.h"

// Throws EFormResourceError with "<source>:<line>: <what>".
TStoredObject ParseFormText(const std::string& text, const std::string& source);
