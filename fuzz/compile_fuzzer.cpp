// The libFuzzer entry point: every input is one compile of a description
// pair in a private directory (see compile_input.h for the input layout).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "disk/scratch_dir.h"
#include "fuzz/compile_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One directory for the whole fuzzing process, removed when it exits.
  static const lorvena::ScratchDir dir("lorvena-fuzz-");
  lorvena::fuzz::compile_input(std::string_view(reinterpret_cast<const char*>(data), size), dir.path());
  return 0;
}
