#include "tools/lsp/message_stream.h"

#include <gtest/gtest.h>

#include <sstream>

namespace lorvena {
namespace {

using Kind = ReadMessage::Kind;

std::vector<ReadMessage> all(const std::string& stream) {
  std::istringstream in(stream);
  MessageReader reader(in);
  std::vector<ReadMessage> out;
  for (ReadMessage m = reader.next(); m.kind != Kind::kEnd; m = reader.next()) {
    out.push_back(m);
    if (out.size() > 10) break;  // a reader that stops advancing fails here, not by hanging
  }
  return out;
}

TEST(MessageStream, FramedMessagesReadBackInOrder) {
  std::string body = R"({"jsonrpc":"2.0","method":"x","params":{"text":"città\r\n"}})";
  std::vector<ReadMessage> got = all(framed(body) + framed("{}") + "\r\n" + "content-length: 2\r\nContent-Type: x\r\n\r\n[]");
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].kind, Kind::kMessage);
  EXPECT_EQ(got[0].body, body);
  EXPECT_EQ(got[1].body, "{}");
  EXPECT_EQ(got[2].body, "[]");
}

// Each broken header block is reported once and the next good message is read.
TEST(MessageStream, BrokenHeadersAreSkipped) {
  struct Case {
    const char* name;
    std::string stream;
  } cases[] = {
      {"no length", "Content-Type: x\r\n\r\n"},
      {"not a number", "Content-Length: twelve\r\n\r\n"},
      {"negative", "Content-Length: -5\r\n\r\n"},
      {"too large", "Content-Length: 99999999999999999999\r\n\r\n"},
      {"over the limit", "Content-Length: " + std::to_string(kMaxMessageBytes + 1) + "\r\n\r\n"},
  };
  for (const Case& c : cases) {
    std::vector<ReadMessage> got = all(c.stream + framed("{}"));
    ASSERT_EQ(got.size(), 2u) << c.name;
    EXPECT_EQ(got[0].kind, Kind::kBroken) << c.name;
    EXPECT_FALSE(got[0].problem.empty()) << c.name;
    EXPECT_EQ(got[1].kind, Kind::kMessage) << c.name;
    EXPECT_EQ(got[1].body, "{}") << c.name;
  }
}

// A length shorter than the body: the rest of the body runs into the next
// header, which is still found.
TEST(MessageStream, ShortLengthFindsTheNextHeader) {
  std::vector<ReadMessage> got = all("Content-Length: 3\r\n\r\n{\"a\":1}" + framed("{}"));
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].body, "{\"a");
  EXPECT_EQ(got[1].kind, Kind::kMessage);
  EXPECT_EQ(got[1].body, "{}");
}

TEST(MessageStream, TruncatedStreamsEnd) {
  for (std::string stream : {"Content-Length: 10\r\n\r\n{}", "Content-Length: 10\r\n", "Content-Len"}) {
    std::vector<ReadMessage> got = all(stream);
    ASSERT_EQ(got.size(), 1u) << stream;
    EXPECT_EQ(got[0].kind, Kind::kBroken) << stream;
  }
  EXPECT_TRUE(all("").empty());
  EXPECT_TRUE(all("\r\n\r\n").empty());
}

}  // namespace
}  // namespace lorvena
