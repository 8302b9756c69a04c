// The libFuzzer entry point of the language server's input: every input is a
// byte stream as an editor would send it, read into messages and each
// message handled by a fresh server. Documents opened by the input are named
// under a private directory, so no compile reads an author's files.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "disk/scratch_dir.h"
#include "disk/system_disk.h"
#include "tools/lsp/lsp_server.h"
#include "tools/lsp/message_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::ostringstream log;
  lorvena::SystemDisk disk;
  size_t sent = 0;
  lorvena::LspServer server(disk, [&sent](const nlohmann::json& m) { sent += m.dump().size(); }, log);
  lorvena::MessageReader reader(in);
  for (int n = 0; n < 64 && !server.exited(); ++n) {
    lorvena::ReadMessage m = reader.next();
    if (m.kind == lorvena::ReadMessage::Kind::kEnd) break;
    if (m.kind == lorvena::ReadMessage::Kind::kMessage) server.handle(m.body);
  }
  return 0;
}
