// A stored form from anywhere: refused with EFormResourceError, or read
// into objects that write back the very same bytes.
#include <cstdint>
#include <cstdlib>

#include "framework/FormResource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TStoredObject form;
  try {
    form = ReadFormResource(data, size, "TFuzzForm");
  } catch (const EFormResourceError&) {
    return 0;
  }
  const std::vector<std::uint8_t> again = WriteFormResource(form);
  if (again.size() != size || !std::equal(again.begin(), again.end(), data)) std::abort();
  return 0;
}
