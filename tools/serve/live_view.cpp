#include "tools/serve/live_view.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include <httplib.h>

#include "disk/file_names.h"
#include "disk/file_system.h"
#include "disk/system_disk.h"
#include "tools/diagnosing/author_compile.h"
#include "tools/diagnosing/find_problems.h"
#include "tools/diagnosing/report.h"
#include "tools/line_view/view.h"
#include "tools/line_view/view_data.h"
#include "tools/text/messages.h"
#include "tools/text/text_encoding.h"

namespace lorvena {
namespace {

// Added to the view page, after `<script data-state="STATE">` (the state of
// the descriptions the page was made from). Each change event names the new
// state; its data is fetched and drawn in place, keeping the km range, the
// picked diagnostic and the scroll. A page without a view (the line not
// read) or data without one loads the page again instead, keeping the range.
constexpr std::string_view kLiveScript = R"(
(() => {
  let shown = document.currentScript.dataset.state;
  const key = 'lorvena-view-range';
  const saved = sessionStorage.getItem(key);
  const form = document.getElementById('range');
  if (saved && form) {
    const [from, to] = JSON.parse(saved);
    document.getElementById('from-km').value = from;
    document.getElementById('to-km').value = to;
    form.requestSubmit();
  }
  if (form) sessionStorage.removeItem(key);
  const events = new EventSource('/events?state=' + encodeURIComponent(shown));
  const reload = () => {
    const svg = document.getElementById('view');
    if (svg && svg.dataset.from) sessionStorage.setItem(key, JSON.stringify([svg.dataset.from / 1000, svg.dataset.to / 1000]));
    events.close();
    location.reload();
  };
  events.addEventListener('change', async (e) => {
    const state = e.data;
    if (state === shown) return;
    shown = state;
    if (!window.lineView) return reload();
    const response = await fetch('/data?state=' + encodeURIComponent(state), { cache: 'no-store' });
    const data = response.ok ? await response.json() : null;
    if (state !== shown) return;  // a later change is on its way
    if (!data) return reload();
    const [left, top] = [window.scrollX, window.scrollY];
    const kept = window.lineView.kept();
    window.lineView.dispose();
    window.lineView = LineView(data, kept);
    window.scrollTo(left, top);
    document.getElementById('view').dataset.state = state;
  });
})();
</script>
)";

// What tells one state of the pair from another: each file's time and size
// (a file that cannot be told has neither).
using Stamp = std::vector<std::pair<int64_t, uint64_t>>;

Stamp stamp_of(const ServeOptions& o) {
  SystemDisk disk;
  Stamp s;
  for (const std::string& f : {line_description_name(o.name), train_description_name(o.name, o.train)}) {
    FileStatus status;
    if (disk.status(join_path(o.dir, f), status) != 0) s.emplace_back(INT64_MIN, 0);
    else s.emplace_back(status.modified, status.size);
  }
  return s;
}

// The same stamp as text, for the page to carry and give back.
std::string state_text(const Stamp& s) {
  std::string text;
  for (const auto& [time, size] : s) text += std::to_string(time) + "." + std::to_string(size) + "-";
  return text;
}

// One state of the descriptions, made once for every request of it: the
// page, and the view's data for a page that shows another state ("null":
// nothing to draw).
struct Made {
  std::string state;
  std::string page;
  std::string data;
};

Made make(const ServeOptions& o, const std::string& state) {
  SystemDisk disk;
  CompileRequest request{o.dir, o.name, o.train, true, std::nullopt};
  Made made{state, "", "null"};
  std::string& page = made.page;
  try {
    CompileResult result = compile_copies(disk, request);
    std::vector<Diagnostic> diagnostics = diagnose(request, result).list;
    if (result.model.track.empty()) {
      page = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + xml_escape(o.name + " " + o.train) +
             "</title></head><body><h1>" + xml_escape(tr("nothing to view: the line was not read")) +
             "</h1><pre id=\"diagnostics\">" +
             xml_escape(diagnostics_text(diagnostics)) + "</pre></body></html>\n";
    } else {
      std::string line_file = join_path(o.dir, line_description_name(o.name)).string();
      std::string train_file = join_path(o.dir, train_description_name(o.name, o.train)).string();
      made.data = view_data_json(result, diagnostics, line_file, train_file);
      page = view_html_of(result, made.data);
    }
  } catch (const std::exception& e) {
    page = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"></head><body><h1>" +
           xml_escape(tr("the pair could not be compiled")) + "</h1><pre>" + xml_escape(e.what()) +
           "</pre></body></html>\n";
  }
  // No icon to ask for: the server has nothing but the page and its events.
  size_t head = page.find("</head>");
  if (head != std::string::npos) page.insert(head, "<link rel=\"icon\" href=\"data:,\">\n");
  size_t end = page.rfind("</body>");
  page.insert(end == std::string::npos ? page.size() : end,
              "<script data-state=\"" + state + "\">" + std::string(kLiveScript));
  return made;
}

// The state last made, made again only when the descriptions changed, so
// that the pages and the event streams open at one time share one compile.
class LatestView {
 public:
  explicit LatestView(const ServeOptions& o) : o_(o) {}

  std::shared_ptr<const Made> now() {
    // Read before the descriptions are: an edit made while they are read
    // then shows as a change, and they are made again.
    std::string state = state_text(stamp_of(o_));
    std::lock_guard<std::mutex> lock(mutex_);
    if (!made_ || made_->state != state) made_ = std::make_shared<const Made>(make(o_, state));
    return made_;
  }

 private:
  const ServeOptions& o_;
  std::mutex mutex_;
  std::shared_ptr<const Made> made_;
};

}  // namespace

bool is_loopback(const std::string& host) { return host == "127.0.0.1" || host == "localhost" || host == "::1"; }

int serve_live_view(const ServeOptions& o, std::ostream& out, std::ostream& err) {
  httplib::Server server;
  std::atomic<bool> stopping = false;
  LatestView latest(o);
  // Sent as made: the library would otherwise compress a text/ type anew for
  // every request that accepts it (brotli of a long line's page costs far
  // more than sending it over loopback). A media type's case does not
  // matter to a browser; the library only compresses the lower-case one.
  server.Get("/", [&latest](const httplib::Request&, httplib::Response& res) {
    res.set_header("Cache-Control", "no-store");
    res.set_content(latest.now()->page, "Text/html; charset=utf-8");
  });
  // The view's data of the state a change event named, or a later one.
  server.Get("/data", [&latest](const httplib::Request&, httplib::Response& res) {
    res.set_header("Cache-Control", "no-store");
    res.set_content(latest.now()->data, "application/json; charset=utf-8");
  });
  // A change is told against the state the page was made from, so that an
  // edit made before the page asks for its events is not missed; the stream
  // stays open and tells each later change, once its data is made.
  server.Get("/events", [&o, &stopping, &latest](const httplib::Request& req, httplib::Response& res) {
    res.set_header("Cache-Control", "no-store");
    std::string seen = req.has_param("state") ? req.get_param_value("state") : state_text(stamp_of(o));
    // A change is told once the files have looked the same for two polls in
    // a row, so that a file caught while it is being written is not compiled.
    res.set_chunked_content_provider("text/event-stream", [&o, &stopping, &latest, seen, last = std::string(), polls = 0](size_t, httplib::DataSink& sink) mutable {
      while (!stopping) {
        std::this_thread::sleep_for(std::chrono::milliseconds(o.poll_ms));
        std::string now = state_text(stamp_of(o)), before = std::exchange(last, now);
        if (now != seen && now == before) {
          seen = latest.now()->state;
          std::string event = "event: change\ndata: " + seen + "\n\n";
          if (!sink.write(event.data(), event.size())) return false;
          continue;
        }
        // A comment now and then finds a page that has gone.
        if (++polls % 25 == 0 && !sink.write(": still here\n\n", 14)) return false;
      }
      sink.done();
      return true;
    });
  });
  std::string host = o.host == "localhost" ? "127.0.0.1" : o.host;
  int port = o.port;
  if (port == 0) port = server.bind_to_any_port(host);
  else if (!server.bind_to_port(host, port)) port = -1;
  if (port <= 0) {
    err << "scenario_tool serve: " << trf("cannot listen on {0}:{1}", host, o.port) << "\n";
    return 1;
  }
  out << trf("serving the line view of {0} {1} at {2}", o.name, o.train,
             "http://" + (host.find(':') != std::string::npos ? "[" + host + "]" : host) + ":" + std::to_string(port) +
                 "/")
      << std::endl;
  std::thread timer;
  if (o.stop_after > 0)
    timer = std::thread([&server, &stopping, &o] {
      std::this_thread::sleep_for(std::chrono::duration<double>(o.stop_after));
      stopping = true;
      server.stop();
    });
  server.listen_after_bind();
  stopping = true;
  if (timer.joinable()) timer.join();
  out << "stopped" << std::endl;
  return 0;
}

}  // namespace lorvena
