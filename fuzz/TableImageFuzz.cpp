// A table image from anywhere: refused with EDataSetError, or read into a
// table that writes back the very same bytes.
#include <cstdint>
#include <cstdlib>

#include "store/TableEngine.h"
#include "store/TableImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TMemoryStream stream(std::string(reinterpret_cast<const char*>(data), size));
  TClientDataSet table;
  try {
    table.LoadFromStream(stream);
  } catch (const EDataSetError&) {
    if (table.Active() || stream.Position() != 0) std::abort();
    return 0;
  }
  TMemoryStream again;
  table.SaveToStream(again);
  // Same bytes but the checksum, which this build does not check.
  const std::string read = stream.Bytes().substr(0, stream.Position());
  if (again.Size() != read.size() || again.Bytes().compare(0, read.size() - 4, read, 0, read.size() - 4) != 0)
    std::abort();
  // The table must stay usable.
  for (table.First(); !table.Eof(); table.Next())
    for (int i = 0; i < table.FieldCount(); ++i) (void)table.Fields(i).AsString();
  return 0;
}
