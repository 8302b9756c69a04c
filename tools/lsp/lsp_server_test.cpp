#include "tools/lsp/lsp_server.h"

#include <gtest/gtest.h>

#include <sstream>

#include "disk/scratch_dir.h"
#include "disk/system_disk.h"
#include "testing/example_pair.h"
#include "testing/test_files.h"
#include "tools/diagnosing/author_compile.h"
#include "tools/diagnosing/find_problems.h"
#include "tools/lsp/document_uri.h"
#include "tools/lsp/message_stream.h"
#include "tools/text/text_encoding.h"

namespace lorvena {
namespace {

using nlohmann::json;

class LspServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* f : {"VALDORNO_linea.txt", "VALDORNO_2417-.txt"})
      testing::write_bytes(dir_ / f, testing::read_bytes(testing::examples_dir() / f));
    request(1, "initialize", json::object());
  }

  std::string uri(const char* file) const { return path_uri(dir_ / file); }
  std::string line_text() const { return utf8_from_1252(testing::read_bytes(dir_ / "VALDORNO_linea.txt")); }

  void send(json m) {
    m["jsonrpc"] = "2.0";
    server_.handle(m.dump());
  }
  void request(int id, const std::string& method, json params) {
    send({{"id", id}, {"method", method}, {"params", std::move(params)}});
  }
  void open(const char* file, const std::string& text) {
    send({{"method", "textDocument/didOpen"},
          {"params", {{"textDocument", {{"uri", uri(file)}, {"languageId", "x"}, {"version", 1}, {"text", text}}}}}});
  }
  // The last diagnostics published for a file.
  json diagnostics(const char* file) const {
    for (auto it = sent_.rbegin(); it != sent_.rend(); ++it)
      if (it->value("method", "") == "textDocument/publishDiagnostics" && (*it)["params"]["uri"] == uri(file))
        return (*it)["params"]["diagnostics"];
    return nullptr;
  }
  json answer(int id) const {
    for (const json& m : sent_)
      if (m.contains("id") && m["id"] == id) return m;
    return nullptr;
  }

  ScratchDir dir_;
  SystemDisk disk_;
  std::ostringstream log_;
  std::vector<json> sent_;
  LspServer server_{disk_, [this](const json& m) { sent_.push_back(m); }, log_};
};

// The editor's text is diagnosed as `check` diagnoses the same text on disk:
// the same codes at the same places, both files of the pair published.
TEST_F(LspServerTest, DiagnosticsAreCheckOnesOnTheirField) {
  std::string text = line_text();
  text.replace(text.find("sfondo uno"), 10, "sfondo unno");
  text.replace(text.find("curvad4,  1200"), 14, "curvad4,  1225");
  open("VALDORNO_linea.txt", text);
  json line = diagnostics("VALDORNO_linea.txt");
  ASSERT_TRUE(line.is_array());
  EXPECT_TRUE(diagnostics("VALDORNO_2417-.txt").is_array());

  testing::write_bytes(dir_ / "VALDORNO_linea.txt", cp1252_from_utf8(text));
  CompileRequest request{dir_.path(), "VALDORNO", "2417", true, std::nullopt};
  CompileResult first = compile_copies(disk_, request);
  std::vector<Diagnostic> expected = diagnose(request, first).list;
  ASSERT_EQ(line.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(line[i]["code"], expected[i].code);
    EXPECT_EQ(line[i]["message"], expected[i].message);
    EXPECT_EQ(line[i]["range"]["start"]["line"], expected[i].line - 1);
  }
  ASSERT_EQ(line.size(), 2u);
  // The unknown keyword is its whole field; the off-step start is field 1's value.
  EXPECT_EQ(line[0]["range"], json::parse(R"({"start":{"line":5,"character":0},"end":{"line":5,"character":11}})"));
  EXPECT_EQ(line[1]["range"], json::parse(R"({"start":{"line":10,"character":10},"end":{"line":10,"character":14}})"));
}

// The place of `find` in a text, as the editor counts it (ASCII texts).
json place_of(const std::string& text, size_t at) {
  size_t line_start = text.rfind('\n', at == 0 ? 0 : at - 1);
  line_start = line_start == std::string::npos || at == 0 ? 0 : line_start + 1;
  return {{"line", std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n')},
          {"character", at - line_start}};
}

// Mistakes typed into an open description as ranged changes get the
// diagnostics `check` gives the same files on disk, in both files of the
// pair: errors found over several compiles, notes, errors of no record, a
// stopped compile.
TEST_F(LspServerTest, RangedEditsGetCheckDiagnostics) {
  struct Mistake {
    const char* file;
    std::string find, replace;
  } mistakes[] = {
      {"VALDORNO_2417-.txt", "segnale,    2400", "segnal,    2400"},
      {"VALDORNO_2417-.txt", "segnale,    4300,", "segnale,    2400,"},
      {"VALDORNO_2417-.txt", "sabbia,    150", "sabbia,    15o"},
      {"VALDORNO_2417-.txt", "[generale]", "[generali]"},
      {"VALDORNO_linea.txt", "lunghezza percorso,    12000\r\n", ""},
      {"VALDORNO_linea.txt", "lunghezza percorso,    12000", "lunghezza percorso,    12"},
      {"VALDORNO_linea.txt", "cartello_indicatore,  2950", "cartello_indicatore,  0"},
      {"VALDORNO_linea.txt", "progressiva chilometrica uno,    0", "progressiva chilometrica uno,    125"},
      {"VALDORNO_2417-.txt", "stazione,    5800", "stazione,    1450"},
      // A range over a line break.
      {"VALDORNO_linea.txt", "sfondo uno,    1\r\nsfondo due", "sfondo unno,    1\r\nsfondo due"},
  };
  const char* files[] = {"VALDORNO_linea.txt", "VALDORNO_2417-.txt"};
  for (const Mistake& m : mistakes) {
    SCOPED_TRACE(m.find + " -> " + m.replace);
    std::string original = utf8_from_1252(testing::read_bytes(dir_ / m.file));
    size_t at = original.find(m.find);
    ASSERT_NE(at, std::string::npos);
    open(m.file, original);
    send({{"method", "textDocument/didChange"},
          {"params", {{"textDocument", {{"uri", uri(m.file)}, {"version", 2}}},
                      {"contentChanges", json::array({{{"range", {{"start", place_of(original, at)},
                                                                  {"end", place_of(original, at + m.find.size())}}},
                                                       {"text", m.replace}}})}}}});
    std::string edited = original;
    edited.replace(at, m.find.size(), m.replace);
    testing::write_bytes(dir_ / m.file, cp1252_from_utf8(edited));
    CompileRequest request{dir_.path(), "VALDORNO", "2417", true, std::nullopt};
    std::vector<Diagnostic> expected = diagnose(request, compile_copies(disk_, request)).list;
    size_t compared = 0;
    for (const char* file : files) {
      json published = diagnostics(file);
      ASSERT_TRUE(published.is_array()) << file;
      std::vector<Diagnostic> in_file;
      bool is_train = std::string(file) == "VALDORNO_2417-.txt";
      for (const Diagnostic& d : expected)
        if ((d.file == (dir_ / "VALDORNO_2417-.txt").string()) == is_train) in_file.push_back(d);
      ASSERT_EQ(published.size(), in_file.size()) << file << ": " << published.dump();
      for (size_t i = 0; i < in_file.size(); ++i, ++compared) {
        EXPECT_EQ(published[i].value("code", ""), in_file[i].code);
        EXPECT_EQ(published[i]["message"], in_file[i].message);
        EXPECT_EQ(published[i]["range"]["start"]["line"], std::max<int64_t>(in_file[i].line - 1, 0));
      }
    }
    EXPECT_GT(compared, 0u);
    // The original files back for the next mistake.
    for (const char* f : files) testing::write_bytes(dir_ / f, testing::read_bytes(testing::examples_dir() / f));
    sent_.clear();
    send({{"method", "textDocument/didClose"}, {"params", {{"textDocument", {{"uri", uri(m.file)}}}}}});
  }
}

// A record whose last value stands on the next line: the diagnostics that
// name that field stay at the record's keyword, where `check` puts them (the
// value was left out there), not on the line the reader took it from.
TEST_F(LspServerTest, AFieldOnALaterLineIsPlacedWhereCheckPlacesIt) {
  std::string train = utf8_from_1252(testing::read_bytes(dir_ / "VALDORNO_2417-.txt"));
  const std::string signal = "segnale,    2400,   2, 4, 0,  0, 0,    2,  2,0,0, 0";
  size_t at = train.find(signal);
  ASSERT_NE(at, std::string::npos);
  train.replace(at, signal.size(), "segnale,    2400,   2, 4, 0,  0, 0,    2,  2,0,0\r\n    300");
  open("VALDORNO_2417-.txt", train);
  json found = diagnostics("VALDORNO_2417-.txt");
  ASSERT_TRUE(found.is_array());
  json codes = json::array();
  for (const json& d : found) codes.push_back(d.value("code", ""));
  EXPECT_EQ(codes, json::parse(R"(["W-spans-lines", "W-range"])")) << found.dump();
  for (const json& d : found)
    EXPECT_EQ(d["range"], json::parse(R"({"start":{"line":21,"character":0},"end":{"line":21,"character":7}})"))
        << d.dump();
}

TEST_F(LspServerTest, QuickFixWritesTheProposedKeywordAndTheDiagnosticGoes) {
  std::string text = line_text();
  text.replace(text.find("sfondo uno"), 10, "sfondo unno");
  open("VALDORNO_linea.txt", text);
  json d = diagnostics("VALDORNO_linea.txt").at(0);
  request(2, "textDocument/codeAction", {{"textDocument", {{"uri", uri("VALDORNO_linea.txt")}}},
                                         {"range", d["range"]},
                                         {"context", {{"diagnostics", json::array({d})}}}});
  json edit = answer(2)["result"].at(0)["edit"]["changes"][uri("VALDORNO_linea.txt")].at(0);
  EXPECT_EQ(edit["newText"], "sfondo uno");
  EXPECT_EQ(edit["range"], d["range"]);
  send({{"method", "textDocument/didChange"},
        {"params", {{"textDocument", {{"uri", uri("VALDORNO_linea.txt")}, {"version", 2}}},
                    {"contentChanges", json::array({{{"text", line_text()}}})}}}});
  EXPECT_EQ(diagnostics("VALDORNO_linea.txt"), json::array());
}

// A train's errors reach the train file even when only the line is open, and
// a non-Windows-1252 character is pointed at in UTF-16 units.
TEST_F(LspServerTest, TheOtherFileComesFromDiskAndPositionsAreUtf16) {
  std::string train = testing::read_bytes(dir_ / "VALDORNO_2417-.txt");
  train.replace(train.find("velocita,    1000"), 17, "velocita,    1010");
  testing::write_bytes(dir_ / "VALDORNO_2417-.txt", train);
  std::string text = line_text();
  text.insert(0, "\xF0\x9F\x98\x80 \xC3\xA8\n");
  open("VALDORNO_linea.txt", text);
  json on_train = diagnostics("VALDORNO_2417-.txt");
  ASSERT_FALSE(on_train.empty());
  EXPECT_EQ(on_train[0]["range"]["start"]["line"], 11);
  json line = diagnostics("VALDORNO_linea.txt");
  ASSERT_FALSE(line.empty());
  EXPECT_EQ(line.back()["code"], "encoding");
  EXPECT_EQ(line.back()["range"]["end"]["character"], 2);  // both units of the character
}

TEST_F(LspServerTest, BadMessagesGetErrorsNotCrashes) {
  struct Case {
    std::string body;
    int code;
  } cases[] = {
      {"{not json", -32700},
      {R"({"jsonrpc":"2.0","id":7,"method":"no/such"})", -32601},
      {R"({"jsonrpc":"2.0","id":7,"method":"textDocument/hover","params":{"textDocument":{"uri":"file:///nowhere_linea.txt"},"position":{"line":0,"character":0}}})", -32602},
      {R"({"jsonrpc":"2.0","id":7,"method":"textDocument/hover","params":{"textDocument":7}})", -32602},
      {R"({"jsonrpc":"2.0","id":7,"method":"textDocument/hover","params":{}})", -32602},
      {R"({"jsonrpc":"2.0","id":7,"method":"textDocument/codeAction","params":{"textDocument":{"uri":"file:///a_linea.txt"}}})", -32602},
      {R"({"jsonrpc":"2.0","id":7})", -32600},
      {R"([1,2])", -32600},
  };
  for (const Case& c : cases) {
    sent_.clear();
    server_.handle(c.body);
    ASSERT_EQ(sent_.size(), 1u) << c.body;
    EXPECT_EQ(sent_[0]["error"]["code"], c.code) << c.body;
  }
  // Notifications that cannot be served are logged, with no answer.
  sent_.clear();
  open("notes.txt", "hello");
  send({{"method", "textDocument/didChange"}, {"params", {{"contentChanges", 3}}}});
  EXPECT_TRUE(sent_.empty());
  EXPECT_NE(log_.str().find("notes.txt is not named"), std::string::npos);
  EXPECT_NE(log_.str().find("invalid params"), std::string::npos);
  // A position past the end of the file is taken at its end.
  open("VALDORNO_linea.txt", line_text());
  request(8, "textDocument/hover", {{"textDocument", {{"uri", uri("VALDORNO_linea.txt")}}},
                                    {"position", {{"line", 9999}, {"character", 9999}}}});
  EXPECT_TRUE(answer(8).contains("result"));
}

TEST_F(LspServerTest, HoverCompletionAndSymbolsFollowTheRecordTable) {
  open("VALDORNO_2417-.txt", utf8_from_1252(testing::read_bytes(dir_ / "VALDORNO_2417-.txt")));
  json doc = {{"uri", uri("VALDORNO_2417-.txt")}};
  request(2, "textDocument/hover", {{"textDocument", doc}, {"position", {{"line", 10}, {"character", 2}}}});
  json hovered = answer(2)["result"];
  std::string keyword = hovered["contents"]["value"];
  EXPECT_NE(keyword.find("velocita"), std::string::npos);
  EXPECT_EQ(hovered["range"], json::parse(R"({"start":{"line":10,"character":0},"end":{"line":10,"character":24}})"));
  request(3, "textDocument/hover", {{"textDocument", doc}, {"position", {{"line", 10}, {"character", 20}}}});
  std::string field = answer(3)["result"]["contents"]["value"];
  EXPECT_NE(field.find("km/h"), std::string::npos);
  request(4, "textDocument/completion", {{"textDocument", doc}, {"position", {{"line", 10}, {"character", 0}}}});
  json items = answer(4)["result"];
  json labels = json::array();
  for (const json& item : items) labels.push_back(item["label"]);
  EXPECT_NE(std::find(labels.begin(), labels.end(), "[stazioni]"), labels.end()) << labels.dump();
  EXPECT_NE(std::find(labels.begin(), labels.end(), "stazione"), labels.end());
  EXPECT_EQ(std::find(labels.begin(), labels.end(), "curvad4"), labels.end());
  request(5, "textDocument/documentSymbol", {{"textDocument", doc}});
  json symbols = answer(5)["result"];
  auto stations = std::find_if(symbols.begin(), symbols.end(), [](const json& s) { return s["name"] == "[stazioni]"; });
  ASSERT_NE(stations, symbols.end());
  EXPECT_EQ((*stations)["range"], json::parse(R"({"start":{"line":14,"character":0},"end":{"line":14,"character":10}})"));
  ASSERT_EQ((*stations)["children"].size(), 3u);
  const json& first = (*stations)["children"][0];
  EXPECT_EQ(first["range"], json::parse(R"({"start":{"line":15,"character":0},"end":{"line":15,"character":80}})"));
  EXPECT_EQ(first["selectionRange"], first["range"]);
  EXPECT_NE((*stations)["children"][0]["detail"].get<std::string>().find("PIANELLO"), std::string::npos);
}

}  // namespace
}  // namespace lorvena
