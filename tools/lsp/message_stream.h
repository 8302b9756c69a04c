// The framing of the language server's messages on a byte stream: a header
// block ("Content-Length: N", other headers ignored, an empty line) and then
// N bytes of JSON. A broken header block is reported and skipped, never fatal.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

namespace lorvena {

// A body above this size is refused: no editor sends one, and reading it
// would only hold memory.
inline constexpr int64_t kMaxMessageBytes = 64 * 1024 * 1024;

struct ReadMessage {
  enum class Kind { kMessage, kBroken, kEnd };
  Kind kind = Kind::kEnd;
  std::string body;     // kMessage: the JSON text
  std::string problem;  // kBroken: what was wrong, for the log
};

class MessageReader {
 public:
  explicit MessageReader(std::istream& in) : in_(in) {}
  // The next message, a broken header block (skipped), or the end of the stream.
  ReadMessage next();

 private:
  bool header_line(std::string& line);
  std::istream& in_;
};

// `body` framed with its Content-Length header.
std::string framed(std::string_view body);

}  // namespace lorvena
