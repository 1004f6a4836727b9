#include "formres/FormText.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace {

bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
bool SameWord(const std::string& a, const char* b) {
  std::string lower = a;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower == b;
}

class Parser {
public:
  Parser(const std::string& text, const std::string& source) : text_(text), source_(source) {}

  TStoredObject File() {
    SkipSpace();
    if (!SameWord(Ident("the word object"), "object")) Fail("a form description begins with the word object");
    TStoredObject form = Object();
    SkipSpace();
    if (pos_ != text_.size()) Fail("text follows the end of the form");
    return form;
  }

private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw EFormResourceError(source_ + ":" + std::to_string(line_) + ": " + what + ".");
  }
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  void Advance() {
    if (text_[pos_] == '\n') ++line_;
    ++pos_;
  }

  void SkipSpace() {
    while (!AtEnd()) {
      if (std::isspace(static_cast<unsigned char>(Peek()))) {
        Advance();
      } else if (text_.compare(pos_, 2, "//") == 0) {
        while (!AtEnd() && Peek() != '\n') Advance();
      } else {
        break;
      }
    }
  }

  std::string Ident(const char* what) {
    SkipSpace();
    if (!IsIdentStart(Peek())) Fail(std::string("expected ") + what);
    const std::size_t start = pos_;
    while (IsIdentChar(Peek())) Advance();
    return text_.substr(start, pos_ - start);
  }

  void Expect(char c) {
    SkipSpace();
    if (Peek() != c) Fail(std::string("expected '") + c + "'");
    Advance();
  }

  TStoredObject Object() {
    TStoredObject object;
    object.Name = Ident("a component name");
    Expect(':');
    object.ClassName = Ident("a class name");
    for (;;) {
      const std::string word = Ident("a property, object or end");
      if (SameWord(word, "end")) return object;
      if (SameWord(word, "object")) {
        TStoredObject child = Object();
        for (const TStoredObject& other : object.Components)
          if (other.Name == child.Name) Fail("component " + child.Name + " is described twice");
        object.Components.push_back(std::move(child));
        continue;
      }
      for (const TStoredProperty& other : object.Properties)
        if (other.Name == word) Fail("property " + word + " of " + object.Name + " is given twice");
      Expect('=');
      object.Properties.push_back({word, Value(word)});
    }
  }

  TPropertyValue Value(const std::string& property) {
    SkipSpace();
    const char c = Peek();
    if (c == '\'' || c == '#') return TPropertyValue::OfString(String());
    if (c == '{') return TPropertyValue::OfBinary(Binary());
    if (c == '<') return TPropertyValue::OfCollection(Items(property));
    if (c == '-' || c == '$' || std::isdigit(static_cast<unsigned char>(c))) return TPropertyValue::OfInteger(Integer());
    if (IsIdentStart(c)) {
      const std::string word = Ident("a value");
      if (SameWord(word, "true")) return TPropertyValue::OfBoolean(true);
      if (SameWord(word, "false")) return TPropertyValue::OfBoolean(false);
      return TPropertyValue::OfEnumeration(word);
    }
    Fail("property " + property + " has no value");
  }

  std::int32_t Integer() {
    if (Peek() == '$') {
      Advance();
      std::uint32_t value = 0;
      int digits = 0;
      for (; HexDigit(Peek()) >= 0; Advance(), ++digits) {
        if (digits == 8) Fail("a hexadecimal number has more than 8 digits");
        value = value << 4 | static_cast<std::uint32_t>(HexDigit(Peek()));
      }
      if (digits == 0) Fail("expected hexadecimal digits after $");
      return static_cast<std::int32_t>(value);
    }
    const bool negative = Peek() == '-';
    if (negative) Advance();
    if (!std::isdigit(static_cast<unsigned char>(Peek()))) Fail("expected digits");
    std::int64_t value = 0;
    while (std::isdigit(static_cast<unsigned char>(Peek()))) {
      value = value * 10 + (Peek() - '0');
      if (value > 2147483648LL) Fail("a number is out of the range of a 32-bit integer");
      Advance();
    }
    if (negative) value = -value;
    if (value > 2147483647LL) Fail("a number is out of the range of a 32-bit integer");
    if (IsIdentChar(Peek())) Fail("a number runs into letters");
    return static_cast<std::int32_t>(value);
  }

  // 'quoted' parts ('' is a quote) and #code characters, written together.
  std::string String() {
    std::string value;
    for (;;) {
      if (Peek() == '\'') {
        Advance();
        for (;;) {
          if (AtEnd() || Peek() == '\n' || Peek() == '\r') Fail("a string is not closed on its line");
          if (Peek() == '\'') {
            Advance();
            if (Peek() != '\'') break;
          }
          value += Peek();
          Advance();
        }
      } else if (Peek() == '#') {
        Advance();
        if (!std::isdigit(static_cast<unsigned char>(Peek()))) Fail("expected a character code after #");
        int code = 0;
        while (std::isdigit(static_cast<unsigned char>(Peek()))) {
          code = code * 10 + (Peek() - '0');
          if (code > 255) Fail("a character code is above 255");
          Advance();
        }
        value += static_cast<char>(code);
      } else {
        return value;
      }
    }
  }

  // < item Name = value ... end item ... end >
  std::vector<TStoredItem> Items(const std::string& property) {
    Advance(); // <
    std::vector<TStoredItem> items;
    for (;;) {
      SkipSpace();
      if (Peek() == '>') {
        Advance();
        return items;
      }
      if (AtEnd()) Fail("collection " + property + " is not closed with >");
      if (!SameWord(Ident("item or >"), "item")) Fail("collection " + property + " holds something other than items");
      const std::string where = "item " + std::to_string(items.size()) + " of " + property;
      TStoredItem item;
      for (;;) {
        const std::string word = Ident("a property or end");
        if (SameWord(word, "end")) break;
        for (const TStoredProperty& other : item.Properties)
          if (other.Name == word) Fail("property " + word + " of " + where + " is given twice");
        Expect('=');
        item.Properties.push_back({word, Value(word)});
      }
      items.push_back(std::move(item));
    }
  }

  std::vector<std::uint8_t> Binary() {
    Advance(); // {
    std::vector<std::uint8_t> bytes;
    int high = -1;
    for (;;) {
      SkipSpace();
      if (AtEnd()) Fail("a binary value is not closed with }");
      const char c = Peek();
      if (c == '}') break;
      const int digit = HexDigit(c);
      if (digit < 0) Fail(std::string("a binary value holds '") + c + "', not a hexadecimal digit");
      if (high < 0) {
        high = digit;
      } else {
        bytes.push_back(static_cast<std::uint8_t>(high << 4 | digit));
        high = -1;
      }
      Advance();
    }
    if (high >= 0) Fail("a binary value has an odd number of hexadecimal digits");
    Advance(); // }
    return bytes;
  }

  const std::string& text_;
  const std::string& source_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

} // namespace

TStoredObject ParseFormText(const std::string& text, const std::string& source) {
  return Parser(text, source).File();
}
