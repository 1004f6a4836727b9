#include "skinpack/SkinPack.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "skin/SkinFile.h"

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("Cannot read " + path.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::int64_t ParseNumber(const std::string& text, const std::string& where) {
  std::string t = text;
  t.erase(std::remove(t.begin(), t.end(), ' '), t.end());
  if (t.rfind("rgb(", 0) == 0 && t.back() == ')') {
    std::istringstream parts(t.substr(4, t.size() - 5));
    int r = 0, g = 0, b = 0;
    char c1 = 0, c2 = 0;
    if (parts >> r >> c1 >> g >> c2 >> b && c1 == ',' && c2 == ',' && r >= 0 && r < 256 && g >= 0 && g < 256 &&
        b >= 0 && b < 256)
      return r | (g << 8) | (b << 16);
    throw std::runtime_error(where + ": bad colour " + text);
  }
  try {
    std::size_t used = 0;
    const std::int64_t value = std::stoll(t, &used, 0);
    if (used == t.size()) return value;
  } catch (const std::exception&) {
  }
  throw std::runtime_error(where + ": bad number " + text);
}

int Build(const std::vector<std::string>& args, std::ostream& out) {
  TArchiveOptions options;
  std::vector<std::string> plain;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--password" && i + 1 < args.size()) {
      options.password = args[++i];
    } else if (args[i] == "--store") {
      options.store = true;
    } else {
      plain.push_back(args[i]);
    }
  }
  if (plain.size() != 2) return -1;
  const std::vector<TSkinValue> values = ReadSkinSource(plain[0]);
  WriteSkinArchive(plain[1], EncodeSkinData(values), options);
  out << plain[1] << ": " << values.size() << " values\n";
  return 0;
}

int List(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string password;
  std::vector<std::string> plain;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--password" && i + 1 < args.size()) {
      password = args[++i];
    } else {
      plain.push_back(args[i]);
    }
  }
  if (plain.size() != 1) return -1;
  try {
    const Tsk2SkinFileReader reader(plain[0], password);
    for (const auto& [name, bitmap] : reader.Bitmaps())
      out << "bitmap " << name << ' ' << bitmap->Width() << 'x' << bitmap->Height() << '\n';
    for (const auto& [name, value] : reader.Integers()) out << "integer " << name << '=' << value << '\n';
    for (const auto& [name, value] : reader.Bytes()) out << "flag " << name << '=' << value << '\n';
    for (const auto& [name, value] : reader.Strings()) out << "string " << name << '=' << value << '\n';
  } catch (const ESkinError& error) {
    err << error.what() << '\n';
    return 1;
  } catch (const EBitmapError& error) { // an unreadable bitmap, in its own words
    err << error.what() << '\n';
    return 1;
  }
  return 0;
}

} // namespace

std::vector<TSkinValue> ReadSkinSource(const std::string& folder) {
  const std::filesystem::path root(folder);
  std::vector<TSkinValue> values;
  std::istringstream manifest(ReadFile(root / "skin.txt"));
  std::string line;
  for (int number = 1; std::getline(manifest, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    std::istringstream words(line.substr(start));
    std::string kind, name;
    words >> kind >> name;
    std::string rest;
    std::getline(words, rest);
    rest.erase(0, rest.find_first_not_of(" \t"));
    const std::string where = "skin.txt line " + std::to_string(number);
    if (name.empty() || name.size() > 64) throw std::runtime_error(where + ": a name of 1 to 64 characters");
    if (kind == "integer") {
      const std::int64_t value = ParseNumber(rest, where);
      if (value < INT32_MIN || value > UINT32_MAX) throw std::runtime_error(where + ": out of range");
      values.push_back(IntegerValue(name, static_cast<std::int32_t>(static_cast<std::uint32_t>(value))));
    } else if (kind == "flag") {
      const std::int64_t value = ParseNumber(rest, where);
      if (value < 0 || value > 255) throw std::runtime_error(where + ": a flag is 0 to 255");
      values.push_back(ByteValue(name, static_cast<std::uint8_t>(value)));
    } else if (kind == "string") {
      values.push_back(StringValue(name, rest));
    } else {
      throw std::runtime_error(where + ": unknown kind " + kind);
    }
  }
  std::vector<std::filesystem::path> bitmaps;
  for (const auto& entry : std::filesystem::directory_iterator(root))
    if (entry.path().extension() == ".bmp") bitmaps.push_back(entry.path());
  std::sort(bitmaps.begin(), bitmaps.end());
  for (const auto& path : bitmaps) values.push_back(BitmapValue(path.stem().string(), ReadFile(path)));
  return values;
}

int RunSkinPack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  int status = -1;
  try {
    if (!args.empty() && args[0] == "build") status = Build({args.begin() + 1, args.end()}, out);
    if (!args.empty() && args[0] == "list") status = List({args.begin() + 1, args.end()}, out, err);
  } catch (const std::exception& error) {
    err << "skinpack: " << error.what() << '\n';
    return 1;
  }
  if (status < 0) {
    err << "usage: skinpack build SOURCE_DIR OUT.ssk [--password P] [--store]\n"
           "       skinpack list FILE.ssk [--password P]\n";
    return 2;
  }
  return status;
}
