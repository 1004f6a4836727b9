#pragma once
// Named properties a component publishes, so that stored values (a form's
// resource) can be given to it by name. Each definition carries its type and
// a setter bound to the component; the reader checks every name and type
// before it sets anything.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class TCollection;

enum class TPropertyKind : std::uint8_t {
  pkInteger = 1,     // 32-bit signed (colours keep their bit pattern)
  pkBoolean = 2,
  pkString = 3,
  pkEnumeration = 4, // stored by the value's name
  pkBinary = 5,      // a block of bytes
  pkCollection = 6,  // a collection's items, each with named values of its own
};

// "integer", "boolean", ...: for messages.
const char* PropertyKindName(TPropertyKind kind);

struct TStoredItem;

struct TPropertyValue {
  TPropertyKind Kind = TPropertyKind::pkInteger;
  std::int32_t Integer = 0;
  bool Boolean = false;
  std::string Text;                // a string, or an enumeration's value name
  std::vector<std::uint8_t> Bytes; // a binary value
  std::vector<TStoredItem> Items;  // a collection's items, in their order

  static TPropertyValue OfInteger(std::int32_t value);
  static TPropertyValue OfBoolean(bool value);
  static TPropertyValue OfString(std::string value);
  static TPropertyValue OfEnumeration(std::string name);
  static TPropertyValue OfBinary(std::vector<std::uint8_t> bytes);
  static TPropertyValue OfCollection(std::vector<TStoredItem> items);
  bool operator==(const TPropertyValue&) const;
};

// A stored value by the name of its property.
struct TStoredProperty {
  std::string Name;
  TPropertyValue Value;
  bool operator==(const TStoredProperty&) const;
};

// One item of a stored collection: its values, in the order they are set.
struct TStoredItem {
  std::vector<TStoredProperty> Properties;
  bool operator==(const TStoredItem&) const;
};

struct TPropertyDef {
  std::string Name;
  TPropertyKind Kind = TPropertyKind::pkInteger;
  // The value names of an enumeration, in the order of their ordinals.
  std::vector<std::string> EnumNames;
  // Gets a value of Kind; an enumeration arrives as its ordinal in Integer.
  // A collection has none: the reader fills Collection itself.
  std::function<void(const TPropertyValue&)> Set;
  TCollection* Collection = nullptr;
};

// The properties of one component, in the order they were defined. A later
// definition of a name replaces an earlier one (a class redefines its base's).
class TPropertyList {
public:
  void Add(TPropertyDef def);
  void Integer(const std::string& name, std::function<void(std::int32_t)> set);
  void Boolean(const std::string& name, std::function<void(bool)> set);
  void String(const std::string& name, std::function<void(const std::string&)> set);
  void Enumeration(const std::string& name, std::vector<std::string> names, std::function<void(int)> set);
  void Binary(const std::string& name, std::function<void(const std::vector<std::uint8_t>&)> set);
  // A stored collection replaces the collection's items with its own; each
  // item's properties are the ones the item defines.
  void Collection(const std::string& name, TCollection& collection);

  // The definition of the name (names compare exactly), or none.
  const TPropertyDef* Find(const std::string& name) const;
  const std::vector<TPropertyDef>& Defs() const { return defs_; }

private:
  std::vector<TPropertyDef> defs_;
};
