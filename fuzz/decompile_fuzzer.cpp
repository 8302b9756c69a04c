// The libFuzzer entry point of the decoder and the decompiler: an input is a
// compiled track, table and plan, untrusted. Input layout: two 4-byte
// little-endian sizes (track, table), the track, the table, then the plan
// (none when nothing is left). A file that is not a compiled file must end
// in DecodeError; anything else escaping, or a crash, is a finding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "files/system_disk.h"
#include "tools/authoring/decompile.h"
#include "tools/compiled_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  auto size_at = [&](size_t at) {
    return size_t{data[at]} | size_t{data[at + 1]} << 8 | size_t{data[at + 2]} << 16 | size_t{data[at + 3]} << 24;
  };
  std::string rest(reinterpret_cast<const char*>(data) + 8, size - 8);
  size_t track = std::min(size_at(0), rest.size());
  size_t table = std::min(size_at(4), rest.size() - track);
  lorvena::CompiledInput in{"FUZZ", "1", rest.substr(0, track), rest.substr(track, table), std::nullopt};
  if (track + table < rest.size()) in.plan = rest.substr(track + table);
  // A line that long makes each input a long compile, not a finding.
  if (in.track.size() > 15 * 4000) return 0;
  lorvena::SystemDisk disk;
  try {
    lorvena::decompile(disk, in);
  } catch (const lorvena::DecodeError&) {
  }
  return 0;
}
