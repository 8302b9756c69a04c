#include "tools/lsp/lsp_server.h"

#include "disk/file_system.h"
#include "disk/system_disk.h"
#include "tools/lsp/description_features.h"
#include "tools/lsp/document_uri.h"
#include "tools/lsp/message_stream.h"
#include "tools/lsp/pair_diagnostics.h"
#include "tools/text/messages.h"

namespace lorvena {
namespace {

using nlohmann::json;

// The protocol's error codes.
constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kServerNotInitialized = -32002;
constexpr int kInvalidAfterShutdown = -32600;
// TextDocumentSyncKind: changes come as ranges of the text.
constexpr int kIncremental = 2;

EditorPosition editor_position(const json& p) {
  return {p.at("line").get<int64_t>(), p.at("character").get<int64_t>()};
}

json capabilities() {
  return {{"textDocumentSync", {{"openClose", true}, {"change", kIncremental}, {"save", {{"includeText", false}}}}},
          {"hoverProvider", true},
          {"completionProvider", {{"triggerCharacters", json::array({"["})}}},
          {"documentSymbolProvider", true},
          {"codeActionProvider", {{"codeActionKinds", json::array({"quickfix"})}}}};
}

}  // namespace

void LspServer::handle(const std::string& body) {
  json message = json::parse(body, nullptr, false);
  if (message.is_discarded()) return fail(nullptr, kParseError, "the message is not JSON");
  if (!message.is_object() || !message.contains("method") || !message["method"].is_string()) {
    bool answer = message.is_object() && message.contains("id") && (message.contains("result") || message.contains("error"));
    if (answer) return;  // the client's answer to a request of ours
    return fail(message.is_object() && message.contains("id") ? message["id"] : json(nullptr), kInvalidRequest,
                "a message needs a method");
  }
  std::string method = message["method"];
  json params = message.value("params", json::object());
  try {
    if (message.contains("id")) return request(message["id"], method, params);
    notification(method, params);
  } catch (const json::exception& e) {
    if (message.contains("id")) return fail(message["id"], kInvalidParams, std::string("invalid params: ") + e.what());
    log_ << "lsp: " << method << ": invalid params: " << e.what() << "\n";
  }
}

void LspServer::request(const json& id, const std::string& method, const json& params) {
  if (method == "initialize") {
    initialized_ = true;
    return respond(id, {{"capabilities", capabilities()},
                        {"serverInfo", {{"name", "scenario_tool"}, {"version", LORVENA_VERSION}}}});
  }
  if (!initialized_) return fail(id, kServerNotInitialized, "initialize first");
  if (shutdown_) return fail(id, kInvalidAfterShutdown, "the server is shutting down");
  if (method == "shutdown") {
    shutdown_ = true;
    return respond(id, nullptr);
  }
  if (method == "textDocument/hover" || method == "textDocument/completion" ||
      method == "textDocument/documentSymbol" || method == "textDocument/codeAction") {
    const EditorText* text = document(params);
    if (text == nullptr) return fail(id, kInvalidParams, "the document is not open");
    DocumentKind kind = kind_of(uri_path(params.at("textDocument").at("uri").get<std::string>()));
    if (method == "textDocument/hover") return respond(id, hover(*text, kind, params.at("position")));
    if (method == "textDocument/completion") return respond(id, completion(*text, kind, params.at("position")));
    if (method == "textDocument/documentSymbol") return respond(id, document_symbols(*text, kind));
    return respond(id, code_actions(params.at("textDocument").at("uri"), params.at("context")));
  }
  fail(id, kMethodNotFound, "no method " + method);
}

void LspServer::notification(const std::string& method, const json& params) {
  if (method == "exit") {
    exited_ = true;
    return;
  }
  if (method == "initialized" || method.rfind("$/", 0) == 0) return;
  if (!initialized_) return void(log_ << "lsp: " << method << " before initialize is ignored\n");
  if (method == "textDocument/didOpen") return opened(params);
  if (method == "textDocument/didChange") return changed(params);
  if (method == "textDocument/didSave") return publish_pair(uri_path(params.at("textDocument").at("uri").get<std::string>()));
  if (method == "textDocument/didClose") return closed(params);
  log_ << "lsp: the notification " << method << " is ignored\n";
}

void LspServer::respond(const json& id, json result) {
  send_({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
}

void LspServer::fail(const json& id, int code, const std::string& message) {
  log_ << "lsp: " << message << "\n";
  send_({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
}

const EditorText* LspServer::document(const json& params) const {
  auto it = open_.find(uri_path(params.at("textDocument").at("uri").get<std::string>()));
  return it == open_.end() ? nullptr : &it->second;
}

void LspServer::opened(const json& params) {
  const json& doc = params.at("textDocument");
  std::filesystem::path file = uri_path(doc.at("uri").get<std::string>());
  open_.insert_or_assign(file, EditorText::from_utf8(doc.at("text").get<std::string>()));
  uris_.insert_or_assign(file, doc.at("uri").get<std::string>());
  publish_pair(file);
}

void LspServer::changed(const json& params) {
  std::filesystem::path file = uri_path(params.at("textDocument").at("uri").get<std::string>());
  auto it = open_.find(file);
  if (it == open_.end()) return void(log_ << "lsp: a change to " << file.string() << ", which is not open, is ignored\n");
  const json& changes = params.at("contentChanges");
  if (changes.empty()) return;
  // Each change applies to the text the one before it left.
  EditorText text = it->second;
  for (const json& change : changes) {
    std::string replacement = change.at("text").get<std::string>();
    if (!change.contains("range")) {
      text = EditorText::from_utf8(replacement);
      continue;
    }
    const json& range = change.at("range");
    text = text.edited(editor_position(range.at("start")), editor_position(range.at("end")), replacement);
  }
  it->second = std::move(text);
  publish_pair(file);
}

void LspServer::closed(const json& params) {
  std::filesystem::path file = uri_path(params.at("textDocument").at("uri").get<std::string>());
  publish(file, EditorText::from_1252(""), json::array());
  open_.erase(file);
  uris_.erase(file);
}

void LspServer::diagnose_document(const std::string& uri) { publish_pair(uri_path(uri)); }

EditorText LspServer::text_of(const std::filesystem::path& file) const {
  auto it = open_.find(file);
  if (it != open_.end()) return it->second;
  try {
    if (file_exists(disk_, file)) return EditorText::from_1252(read_file(disk_, file));
  } catch (const std::exception& e) {
    log_ << "lsp: " << file.string() << " cannot be read: " << e.what() << "\n";
  }
  return EditorText::from_1252("");
}

// Both files of the pair get their diagnostics, whichever of them changed.
void LspServer::publish_pair(const std::filesystem::path& file) {
  auto is_open = [this](const std::filesystem::path& p) { return open_.count(p) > 0; };
  auto on_disk = [this](const std::filesystem::path& p) { return file_exists(disk_, p); };
  std::optional<PairFiles> pair;
  try {
    pair = pair_of(disk_, file, is_open, on_disk);
  } catch (const std::exception& e) {
    return void(log_ << "lsp: the folder of " << file.string() << " cannot be read: " << e.what() << "\n");
  }
  if (!pair) return void(log_ << "lsp: " << file.string() << " is not named as a line or train description\n");
  if (pair->train.empty()) {
    EditorText text = text_of(file);
    json d = {{"range", field_range(text, 1, 0)}, {"severity", 3}, {"source", "scenario_tool"},
              {"message", trf("no train description {0}_TRAIN-.txt beside this line description", pair->name)}};
    return publish(file, text, json::array({d}));
  }
  auto present = [&](const std::filesystem::path& p) -> std::optional<std::string> {
    if (!is_open(p) && !on_disk(p)) return std::nullopt;
    return text_of(p).cp1252();
  };
  try {
    std::optional<std::string> line = present(pair->line_path()), train = present(pair->train_path());
    Diagnosed& last = diagnosed_[pair->line_path().string() + "\n" + pair->train_path().string()];
    if (last.line != line || last.train != train || (!line && !train)) last = {line, train, diagnose_pair(*pair, line, train)};
    const PairDiagnostics& found = last.found;
    for (auto [path, list] : {std::pair{pair->line_path(), &found.line}, std::pair{pair->train_path(), &found.train}}) {
      EditorText text = text_of(path);
      json out = lsp_diagnostics(*list, text);
      for (const EditorPosition& p : text.unmappable())
        out.push_back({{"range", {{"start", {{"line", p.line}, {"character", p.character}}},
                                  {"end", {{"line", p.line}, {"character", p.character + text.units_at(p)}}}}},
                       {"severity", 1}, {"source", "scenario_tool"}, {"code", "encoding"},
                       {"message", tr("a character that Windows-1252 cannot hold: the compile reads '?' here")}});
      publish(path, text, out);
    }
  } catch (const std::exception& e) {
    log_ << "lsp: the pair of " << file.string() << " could not be compiled: " << e.what() << "\n";
  }
}

std::string LspServer::uri_of(const std::filesystem::path& file) const {
  auto it = uris_.find(file);
  return it == uris_.end() ? path_uri(file) : it->second;
}

void LspServer::publish(const std::filesystem::path& file, const EditorText&, json diagnostics) {
  send_({{"jsonrpc", "2.0"},
         {"method", "textDocument/publishDiagnostics"},
         {"params", {{"uri", uri_of(file)}, {"diagnostics", std::move(diagnostics)}}}});
}

int run_language_server(std::istream& in, std::ostream& out, std::ostream& log) {
  SystemDisk disk;
  LspServer server(disk, [&out](const json& m) { out << framed(m.dump(-1, ' ', false, json::error_handler_t::replace)) << std::flush; }, log);
  MessageReader reader(in);
  while (!server.exited()) {
    ReadMessage m = reader.next();
    if (m.kind == ReadMessage::Kind::kEnd) return 1;
    if (m.kind == ReadMessage::Kind::kBroken) {
      log << "lsp: " << m.problem << "; skipped\n";
      continue;
    }
    server.handle(m.body);
  }
  return server.exit_status();
}

}  // namespace lorvena
