// The libFuzzer entry point of the decoder and the decompiler: an input is a
// compiled track, table and plan, untrusted, laid out as fuzz/decompile_input.h
// tells. A file that is not a compiled file must end in DecodeError; anything
// else escaping, or a crash, is a finding.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "disk/system_disk.h"
#include "fuzz/decompile_input.h"
#include "tools/compiled/compiled_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto in = lorvena::fuzz::decompile_input(std::string_view(reinterpret_cast<const char*>(data), size));
  // A line that long makes each input a long compile, not a finding.
  if (!in || in->track.size() > 15 * 4000) return 0;
  lorvena::SystemDisk disk;
  try {
    lorvena::decompile(*in);
  } catch (const lorvena::DecodeError&) {
  }
  return 0;
}
