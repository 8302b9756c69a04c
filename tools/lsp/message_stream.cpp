#include "tools/lsp/message_stream.h"

#include <charconv>

#include "tools/text/ascii_text.h"

namespace lorvena {
namespace {

constexpr std::string_view kLength = "content-length:";
constexpr size_t kMaxHeaderLine = 4096;

// -1 when `text` is not a plain decimal length within the limit.
int64_t length_value(std::string_view text) {
  text = trimmed(text);
  int64_t n = -1;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size() || n < 0 || n > kMaxMessageBytes) return -1;
  return n;
}

}  // namespace

// One header line without its CR LF (a lone LF is taken too); false at the
// end of the stream. An overlong line is cut at the limit.
bool MessageReader::header_line(std::string& line) {
  line.clear();
  int c = 0;
  while ((c = in_.get()) != std::char_traits<char>::eof()) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return true;
    }
    if (line.size() < kMaxHeaderLine) line.push_back(static_cast<char>(c));
  }
  return !line.empty();
}

ReadMessage MessageReader::next() {
  std::string line;
  int64_t length = -2;  // -2: no Content-Length header, -1: an unreadable one
  bool any = false, complete = false;
  while (header_line(line)) {
    if (line.empty()) {
      if (!any) continue;  // blank lines between messages
      complete = true;
      break;
    }
    any = true;
    // A body that ran into the next header (a wrong length) leaves the
    // header at the end of a line: read it from there.
    std::string low = ascii_lower(line);
    size_t at = low.find(kLength);
    if (at != std::string::npos) length = length_value(std::string_view(line).substr(at + kLength.size()));
  }
  if (!any) return {ReadMessage::Kind::kEnd, "", ""};
  if (!complete) return {ReadMessage::Kind::kBroken, "", "the stream ended inside a header block"};
  if (length == -2) return {ReadMessage::Kind::kBroken, "", "a header block without Content-Length"};
  if (length == -1)
    return {ReadMessage::Kind::kBroken, "", "a Content-Length that is not a length up to " +
                                                std::to_string(kMaxMessageBytes) + " bytes"};
  std::string body(static_cast<size_t>(length), '\0');
  in_.read(body.data(), length);
  if (in_.gcount() != length) return {ReadMessage::Kind::kBroken, "", "the stream ended inside a message body"};
  return {ReadMessage::Kind::kMessage, std::move(body), ""};
}

std::string framed(std::string_view body) {
  return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

}  // namespace lorvena
