#include "plimet-data/PlimetData.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <memory>

#include "platform/Services.h"
#include "store/AMD5.h"
#include "store/TableEngine.h"
#include "store/uDM.h"
#include "store/uData.h"

namespace {

int Usage(std::ostream& err) {
  err << "usage: plimet-data show FILE\n"
         "       plimet-data show-book FILE USERCODE PASSWORD\n"
         "       plimet-data md5 TEXT\n";
  return 2;
}

std::string TypeName(const TFieldDef& def) {
  if (def.DataType == TFieldType::Integer) return "integer";
  return "string(" + std::to_string(def.Size) + ")";
}

void PrintTable(TClientDataSet& table, std::ostream& out) {
  out << "columns:\n";
  for (const TFieldDef& def : table.FieldDefs())
    out << "  " << def.Name << ' ' << TypeName(def) << (def.Required ? " required" : "") << '\n';
  out << "rows: " << table.RecordCount() << '\n';
  for (int i = 0; i < table.FieldCount(); ++i) out << (i ? "\t" : "") << table.FieldDefs()[static_cast<std::size_t>(i)].Name;
  out << '\n';
  for (table.First(); !table.Eof(); table.Next()) {
    for (int i = 0; i < table.FieldCount(); ++i)
      out << (i ? "\t" : "") << (table.Fields(i).IsNull() ? "(null)" : table.Fields(i).AsString());
    out << '\n';
  }
}

std::string LowerFileName(const std::string& path) {
  const auto separator = path.find_last_of("\\/:");
  std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name;
}

// The table class the program reads a file of this name with; none for a
// name the program does not use (then any table is shown).
std::unique_ptr<TTableObject> TableFor(const std::string& path, TTreeModel& tree) {
  const std::string name = LowerFileName(path);
  if (name == "userdata.cds") return std::make_unique<TUserList>();
  if (name == "datafile.cds") return std::make_unique<TFileList>(&tree);
  if (name == "pwdtype.cds") return std::make_unique<TPubList>(&tree);
  if (name == "pwdfile.cds") return std::make_unique<TPubData>();
  return nullptr;
}

int Run(const std::vector<std::string>& args, std::ostream& out) {
  if (args.size() == 2 && args[0] == "md5") {
    out << sMD5::MD5Hex(args[1]) << '\n';
    return 0;
  }
  if (args.size() == 2 && args[0] == "show") {
    TTreeModel tree;
    std::unique_ptr<TTableObject> table = TableFor(args[1], tree);
    if (dynamic_cast<TPubList*>(table.get()) || dynamic_cast<TPubData*>(table.get()))
      throw EPlimetError(args[1] + " is a password book: use show-book");
    if (!table) {
      TClientDataSet any;
      TMemoryStream bytes(platform::Files().ReadAllAtMost(args[1], kMaxTableFileSize));
      any.LoadFromStream(bytes);
      if (bytes.Remaining() != 0) throw EPlimetError(args[1] + ": unexpected data after the table");
      PrintTable(any, out);
      return 0;
    }
    // As the program reads it, columns and size limit included.
    table->ReadTableFile(args[1]);
    PrintTable(table->DataSet(), out);
    return 0;
  }
  if (args.size() == 4 && args[0] == "show-book") {
    TMemoryStream stream;
    OpenPasswordBook(args[1], args[2], args[3], stream);
    if (stream.Size() == 0) {
      out << args[1] << ": an empty password book (the file is absent or empty)\n";
      return 0;
    }
    TTreeModel tree;
    std::unique_ptr<TTableObject> table = TableFor(args[1], tree);
    if (!table) {
      TClientDataSet any;
      any.LoadFromStream(stream);
      PrintTable(any, out);
      return 0;
    }
    table->ReadTableImage(stream);
    if (stream.Remaining() != 32) throw EPlimetError(args[1] + ": the password book is damaged");
    PrintTable(table->DataSet(), out);
    return 0;
  }
  return -1;
}

} // namespace

int RunPlimetData(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    const int status = Run(args, out);
    return status < 0 ? Usage(err) : status;
  } catch (const std::exception& error) {
    err << "plimet-data: " << error.what() << '\n';
    return 1;
  }
}
