#include "plimet-data/PlimetData.h"

#include <exception>

#include "store/AMD5.h"
#include "store/TableEngine.h"
#include "store/uDM.h"

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

int Run(const std::vector<std::string>& args, std::ostream& out) {
  if (args.size() == 2 && args[0] == "md5") {
    out << sMD5::MD5Hex(args[1]) << '\n';
    return 0;
  }
  if (args.size() == 2 && args[0] == "show") {
    TClientDataSet table;
    table.LoadFromFile(args[1]);
    PrintTable(table, out);
    return 0;
  }
  if (args.size() == 4 && args[0] == "show-book") {
    TMemoryStream stream;
    OpenPasswordBook(args[1], args[2], args[3], stream);
    if (stream.Size() == 0) {
      out << args[1] << ": an empty password book (the file is absent or empty)\n";
      return 0;
    }
    TClientDataSet table;
    table.LoadFromStream(stream);
    PrintTable(table, out);
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
