// The language server's state and its answers: the open descriptions, the
// diagnostics of their pairs (the same as `check` prints), and the requests
// of the protocol. Messages come in and go out as JSON texts; the framing is
// message_stream's.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "disk/disk.h"
#include "tools/lsp/editor_text.h"
#include "tools/lsp/pair_diagnostics.h"

namespace lorvena {

class LspServer {
 public:
  using Send = std::function<void(const nlohmann::json&)>;
  LspServer(Disk& disk, Send send, std::ostream& log) : disk_(disk), send_(std::move(send)), log_(log) {}

  // One message's text. Answers and notifications go to `send`, problems
  // that have no answer to the log.
  void handle(const std::string& body);
  bool exited() const { return exited_; }
  // 0 after shutdown then exit, 1 after an exit without shutdown.
  int exit_status() const { return shutdown_ ? 0 : 1; }

  // For the benchmark: the open document's diagnostics sent again.
  void diagnose_document(const std::string& uri);

 private:
  void request(const nlohmann::json& id, const std::string& method, const nlohmann::json& params);
  void notification(const std::string& method, const nlohmann::json& params);
  void respond(const nlohmann::json& id, nlohmann::json result);
  void fail(const nlohmann::json& id, int code, const std::string& message);

  void opened(const nlohmann::json& params);
  void changed(const nlohmann::json& params);
  void closed(const nlohmann::json& params);
  void publish_pair(const std::filesystem::path& file);
  void publish(const std::filesystem::path& file, const EditorText& text, nlohmann::json diagnostics);
  const EditorText* document(const nlohmann::json& params) const;
  std::string uri_of(const std::filesystem::path& file) const;
  EditorText text_of(const std::filesystem::path& file) const;

  Disk& disk_;
  Send send_;
  std::ostream& log_;
  std::map<std::filesystem::path, EditorText> open_;
  // The URI each document was named by, to name it back the same way.
  std::map<std::filesystem::path, std::string> uris_;
  // The last diagnosis of each pair with the texts it was made from: a save,
  // or the other file opened as it is on disk, compiles nothing again.
  struct Diagnosed {
    std::optional<std::string> line, train;
    PairDiagnostics found;
  };
  std::map<std::string, Diagnosed> diagnosed_;
  bool initialized_ = false;
  bool shutdown_ = false;
  bool exited_ = false;
};

// Serves `in` to `out` until exit or the end of `in`; the exit status.
int run_language_server(std::istream& in, std::ostream& out, std::ostream& log);

}  // namespace lorvena
