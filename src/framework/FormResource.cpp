#include "framework/FormResource.h"

#include <cstring>
#include <limits>

namespace {

constexpr char kSignature[4] = {'P', 'L', 'F', 'R'};
constexpr std::size_t kHeaderSize = 4 + 2 + 4;
// The least an entry can take: what bounds a count against the bytes left.
constexpr std::size_t kMinPropertySize = 2 + 1 + 1 + 1;      // name16 of 1, kind, a boolean
constexpr std::size_t kMinObjectSize = (2 + 1) * 2 + 4 + 4; // two name16 of 1, two counts
constexpr std::size_t kMinItemSize = 4;                      // a property count of 0

class Writer {
public:
  void U8(std::uint8_t v) { bytes.push_back(v); }
  void U16(std::uint16_t v) {
    for (int i = 0; i < 2; ++i) U8(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) U8(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void Name(const std::string& name, const char* what) {
    if (name.empty()) throw EFormResourceError(std::string("A stored form cannot hold an empty ") + what + ".");
    if (name.size() > std::numeric_limits<std::uint16_t>::max())
      throw EFormResourceError(std::string("A stored form cannot hold a ") + what + " longer than 65535 bytes.");
    U16(static_cast<std::uint16_t>(name.size()));
    bytes.insert(bytes.end(), name.begin(), name.end());
  }
  template <typename Range>
  void Block(const Range& block, const std::string& property) {
    if (block.size() > std::numeric_limits<std::uint32_t>::max())
      throw EFormResourceError("The value of " + property + " is too large for a stored form.");
    U32(static_cast<std::uint32_t>(block.size()));
    bytes.insert(bytes.end(), block.begin(), block.end());
  }
  void Count(std::size_t count) {
    if (count > std::numeric_limits<std::uint32_t>::max())
      throw EFormResourceError("A stored form cannot hold more than 4294967295 entries in one list.");
    U32(static_cast<std::uint32_t>(count));
  }

  void Properties(const std::vector<TStoredProperty>& properties) {
    Count(properties.size());
    for (const TStoredProperty& property : properties) {
      Name(property.Name, "property name");
      const TPropertyValue& value = property.Value;
      U8(static_cast<std::uint8_t>(value.Kind));
      switch (value.Kind) {
      case TPropertyKind::pkInteger: U32(static_cast<std::uint32_t>(value.Integer)); break;
      case TPropertyKind::pkBoolean: U8(value.Boolean ? 1 : 0); break;
      case TPropertyKind::pkString: Block(value.Text, property.Name); break;
      case TPropertyKind::pkEnumeration: Name(value.Text, "enumeration value"); break;
      case TPropertyKind::pkBinary: Block(value.Bytes, property.Name); break;
      case TPropertyKind::pkCollection:
        Count(value.Items.size());
        for (const TStoredItem& item : value.Items) Properties(item.Properties);
        break;
      }
    }
  }

  void Object(const TStoredObject& object) {
    Name(object.Name, "component name");
    Name(object.ClassName, "class name");
    Properties(object.Properties);
    Count(object.Components.size());
    for (const TStoredObject& component : object.Components) Object(component);
  }

  std::vector<std::uint8_t> bytes;
};

class Reader {
public:
  Reader(const std::uint8_t* data, std::size_t size, const std::string& formClass)
      : data_(data), size_(size), formClass_(formClass) {}

  TStoredObject Form() {
    if (size_ < 4 || std::memcmp(data_, kSignature, 4) != 0) Fail("it is not a stored form (wrong signature)");
    pos_ = 4;
    const std::uint16_t version = U16("the version");
    if (version != kFormResourceVersion)
      Fail("it has format version " + std::to_string(version) + ", this program reads version " +
           std::to_string(kFormResourceVersion));
    const std::uint32_t length = U32("the length");
    if (length != size_ - kHeaderSize)
      Fail("its length says " + std::to_string(length) + " bytes, but " + std::to_string(size_ - kHeaderSize) +
           " bytes follow");
    TStoredObject form = Object(0);
    if (pos_ != size_) Fail(std::to_string(size_ - pos_) + " bytes follow the end of the form");
    return form;
  }

private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw EFormResourceError("The stored form of " + formClass_ + " is damaged: " + what + ".");
  }
  std::string At() const { return " at byte " + std::to_string(pos_); }
  std::size_t Left() const { return size_ - pos_; }
  void Need(std::size_t count, const char* what) const {
    if (count > Left()) Fail(std::string("the data ends inside ") + what + At());
  }

  std::uint8_t U8(const char* what) {
    Need(1, what);
    return data_[pos_++];
  }
  std::uint16_t U16(const char* what) {
    Need(2, what);
    const auto v = static_cast<std::uint16_t>(data_[pos_] | data_[pos_ + 1] << 8);
    pos_ += 2;
    return v;
  }
  std::uint32_t U32(const char* what) {
    Need(4, what);
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | data_[pos_ + static_cast<std::size_t>(i)];
    pos_ += 4;
    return v;
  }
  std::string Bytes(std::size_t length, const char* what) {
    if (length > Left())
      Fail(std::string("the length ") + std::to_string(length) + " of " + what + At() + " runs past the end");
    std::string text(reinterpret_cast<const char*>(data_ + pos_), length);
    pos_ += length;
    return text;
  }
  std::string Name(const char* what) {
    const std::uint16_t length = U16(what);
    if (length == 0) Fail(std::string(what) + " is empty" + At());
    return Bytes(length, what);
  }
  std::uint32_t Count(std::size_t minEntrySize, const char* what) {
    const std::uint32_t count = U32(what);
    if (count > Left() / minEntrySize)
      Fail(std::string("the count ") + std::to_string(count) + " of " + what + At() +
           " is more than the remaining data can hold");
    return count;
  }

  // depth: how many collection items enclose the value.
  TPropertyValue Value(const std::string& property, int depth) {
    const std::size_t kindAt = pos_;
    const std::uint8_t kind = U8("a value type");
    switch (static_cast<TPropertyKind>(kind)) {
    case TPropertyKind::pkInteger: return TPropertyValue::OfInteger(static_cast<std::int32_t>(U32("an integer")));
    case TPropertyKind::pkBoolean: {
      const std::uint8_t b = U8("a boolean");
      if (b > 1) Fail("property " + property + " holds the boolean value " + std::to_string(b) + At());
      return TPropertyValue::OfBoolean(b == 1);
    }
    case TPropertyKind::pkString: return TPropertyValue::OfString(Bytes(U32("a string length"), "a string"));
    case TPropertyKind::pkEnumeration: return TPropertyValue::OfEnumeration(Name("an enumeration value"));
    case TPropertyKind::pkBinary: {
      const std::string block = Bytes(U32("a binary length"), "a binary value");
      return TPropertyValue::OfBinary(std::vector<std::uint8_t>(block.begin(), block.end()));
    }
    case TPropertyKind::pkCollection: {
      if (depth > kFormResourceMaxDepth)
        Fail("collections are nested more than " + std::to_string(kFormResourceMaxDepth) + " deep");
      const std::uint32_t count = Count(kMinItemSize, "collection items");
      std::vector<TStoredItem> items;
      items.reserve(count);
      for (std::uint32_t i = 0; i < count; ++i) items.push_back({Properties("item properties", depth + 1)});
      return TPropertyValue::OfCollection(std::move(items));
    }
    }
    Fail("property " + property + " has the unknown value type " + std::to_string(kind) + " at byte " +
         std::to_string(kindAt));
  }

  std::vector<TStoredProperty> Properties(const char* what, int depth) {
    const std::uint32_t count = Count(kMinPropertySize, what);
    std::vector<TStoredProperty> properties;
    properties.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
      TStoredProperty property;
      property.Name = Name("a property name");
      property.Value = Value(property.Name, depth);
      properties.push_back(std::move(property));
    }
    return properties;
  }

  TStoredObject Object(int depth) {
    if (depth > kFormResourceMaxDepth)
      Fail("components are nested more than " + std::to_string(kFormResourceMaxDepth) + " deep");
    TStoredObject object;
    object.Name = Name("a component name");
    object.ClassName = Name("a class name");
    object.Properties = Properties("properties", 0);
    const std::uint32_t components = Count(kMinObjectSize, "components");
    object.Components.reserve(components);
    for (std::uint32_t i = 0; i < components; ++i) object.Components.push_back(Object(depth + 1));
    return object;
  }

  const std::uint8_t* data_;
  std::size_t size_;
  const std::string& formClass_;
  std::size_t pos_ = 0;
};

} // namespace

std::vector<std::uint8_t> WriteFormResource(const TStoredObject& form) {
  Writer body;
  body.Object(form);
  Writer out;
  out.bytes.assign(kSignature, kSignature + 4);
  out.U16(kFormResourceVersion);
  if (body.bytes.size() > std::numeric_limits<std::uint32_t>::max())
    throw EFormResourceError("The stored form of " + form.ClassName + " is too large.");
  out.U32(static_cast<std::uint32_t>(body.bytes.size()));
  out.bytes.insert(out.bytes.end(), body.bytes.begin(), body.bytes.end());
  return out.bytes;
}

TStoredObject ReadFormResource(const std::uint8_t* data, std::size_t size, const std::string& formClass) {
  return Reader(data, size, formClass).Form();
}
