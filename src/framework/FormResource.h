#pragma once
// A form's stored properties in their binary form, as the program carries
// them in its resources (one block per form class, named by the class).
//
// Layout, little-endian:
//   "PLFR"               signature
//   u16 version          1
//   u32 length           of everything that follows; must be exactly the rest
//   object               the form
// object:   name16 name, name16 class, u32 property count, properties,
//           u32 component count, objects (the components it owns)
// property: name16 name, u8 kind (TPropertyKind), value
// values:   integer i32; boolean u8 0 or 1; string u32 length + bytes;
//           enumeration name16; binary u32 length + bytes;
//           collection u32 item count, items
// item:     u32 property count, properties (nested collections included)
// name16:   u16 length (at least 1) + bytes
//
// Every length and count is checked against the bytes that remain, so that
// damaged data is refused with the place and the kind of the damage.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Properties.h"
#include "platform/Errors.h"

// Stored data that cannot be read or does not fit its form. The text names
// the form class and what is wrong.
class EFormResourceError : public EPlimetError {
public:
  using EPlimetError::EPlimetError;
};

struct TStoredObject {
  std::string Name;
  std::string ClassName;
  std::vector<TStoredProperty> Properties; // in the order they are set
  std::vector<TStoredObject> Components;   // owned by this one
  bool operator==(const TStoredObject&) const = default;
};

constexpr std::uint16_t kFormResourceVersion = 1;
// Deeper nesting than this (of components, and of collections inside
// collection items) is refused rather than followed.
constexpr int kFormResourceMaxDepth = 32;

// The bytes of the object. Throws EFormResourceError for what the layout
// cannot hold (an empty name, a name longer than 65535 bytes).
std::vector<std::uint8_t> WriteFormResource(const TStoredObject& form);

// Reads the bytes back; the form's class (what names the resource) goes
// into every error text.
TStoredObject ReadFormResource(const std::uint8_t* data, std::size_t size, const std::string& formClass);
