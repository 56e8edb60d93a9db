// Arbitrary bytes as a property record, decoded against the schema every control class shares.
// A record is either refused whole with PropertyRecordException or decoded; a decoded record,
// written again entry by entry, gives back exactly the input bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/AppendPropertyEntry.h"
#include "toolkit/Control.h"
#include "toolkit/Exceptions.h"
#include "toolkit/PropertyRecord.h"

namespace {

std::string Reencoded(const std::vector<toolkit::PropertyEntry>& entries) {
  toolkit::PropertyRecordBuilder builder;
  for (const toolkit::PropertyEntry& entry : entries) testing_support::AppendPropertyEntry(builder, entry);
  return builder.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view record(reinterpret_cast<const char*>(data), size);
  std::vector<toolkit::PropertyEntry> entries;
  try {
    entries = toolkit::DecodePropertyRecord(record, toolkit::CommonPropertyType);
  } catch (const toolkit::PropertyRecordException&) {
    return 0;
  }
  if (Reencoded(entries) != record) {
    std::fprintf(stderr, "a decoded record does not write back to its own bytes\n");
    std::abort();
  }
  return 0;
}
