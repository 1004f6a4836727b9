#include "framework/Properties.h"

#include <algorithm>

const char* PropertyKindName(TPropertyKind kind) {
  switch (kind) {
  case TPropertyKind::pkInteger: return "an integer";
  case TPropertyKind::pkBoolean: return "a boolean";
  case TPropertyKind::pkString: return "a string";
  case TPropertyKind::pkEnumeration: return "an enumeration";
  case TPropertyKind::pkBinary: return "binary data";
  case TPropertyKind::pkCollection: return "a collection";
  }
  return "an unknown type";
}

TPropertyValue TPropertyValue::OfInteger(std::int32_t value) {
  TPropertyValue v;
  v.Kind = TPropertyKind::pkInteger;
  v.Integer = value;
  return v;
}

TPropertyValue TPropertyValue::OfBoolean(bool value) {
  TPropertyValue v;
  v.Kind = TPropertyKind::pkBoolean;
  v.Boolean = value;
  return v;
}

TPropertyValue TPropertyValue::OfString(std::string value) {
  TPropertyValue v;
  v.Kind = TPropertyKind::pkString;
  v.Text = std::move(value);
  return v;
}

TPropertyValue TPropertyValue::OfEnumeration(std::string name) {
  TPropertyValue v;
  v.Kind = TPropertyKind::pkEnumeration;
  v.Text = std::move(name);
  return v;
}

TPropertyValue TPropertyValue::OfBinary(std::vector<std::uint8_t> bytes) {
  TPropertyValue v;
  v.Kind = TPropertyKind::pkBinary;
  v.Bytes = std::move(bytes);
  return v;
}

TPropertyValue TPropertyValue::OfCollection(std::vector<TStoredItem> items) {
  TPropertyValue v;
  v.Kind = TPropertyKind::pkCollection;
  v.Items = std::move(items);
  return v;
}

// Written out and out of line: the three types hold each other, which a
// defaulted comparison cannot follow everywhere (clang 14 stops on it).
bool TPropertyValue::operator==(const TPropertyValue& other) const {
  return Kind == other.Kind && Integer == other.Integer && Boolean == other.Boolean && Text == other.Text &&
         Bytes == other.Bytes && Items == other.Items;
}

bool TStoredProperty::operator==(const TStoredProperty& other) const {
  return Name == other.Name && Value == other.Value;
}

bool TStoredItem::operator==(const TStoredItem& other) const { return Properties == other.Properties; }

void TPropertyList::Add(TPropertyDef def) {
  auto same = std::find_if(defs_.begin(), defs_.end(), [&](const TPropertyDef& d) { return d.Name == def.Name; });
  if (same != defs_.end())
    *same = std::move(def);
  else
    defs_.push_back(std::move(def));
}

void TPropertyList::Integer(const std::string& name, std::function<void(std::int32_t)> set) {
  Add({name, TPropertyKind::pkInteger, {}, [set = std::move(set)](const TPropertyValue& v) { set(v.Integer); }});
}

void TPropertyList::Boolean(const std::string& name, std::function<void(bool)> set) {
  Add({name, TPropertyKind::pkBoolean, {}, [set = std::move(set)](const TPropertyValue& v) { set(v.Boolean); }});
}

void TPropertyList::String(const std::string& name, std::function<void(const std::string&)> set) {
  Add({name, TPropertyKind::pkString, {}, [set = std::move(set)](const TPropertyValue& v) { set(v.Text); }});
}

void TPropertyList::Enumeration(const std::string& name, std::vector<std::string> names, std::function<void(int)> set) {
  Add({name, TPropertyKind::pkEnumeration, std::move(names),
       [set = std::move(set)](const TPropertyValue& v) { set(v.Integer); }});
}

void TPropertyList::Binary(const std::string& name, std::function<void(const std::vector<std::uint8_t>&)> set) {
  Add({name, TPropertyKind::pkBinary, {}, [set = std::move(set)](const TPropertyValue& v) { set(v.Bytes); }});
}

void TPropertyList::Collection(const std::string& name, TCollection& collection) {
  TPropertyDef def{name, TPropertyKind::pkCollection, {}, {}};
  def.Collection = &collection;
  Add(std::move(def));
}

const TPropertyDef* TPropertyList::Find(const std::string& name) const {
  for (const TPropertyDef& def : defs_)
    if (def.Name == name) return &def;
  return nullptr;
}
