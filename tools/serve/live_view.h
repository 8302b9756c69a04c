// `scenario_tool serve`: the line view of a pair over HTTP on the loopback
// address, an event stream that tells the open page when either description
// changes, and the view's data of the new state, which the page draws in
// place, keeping its km range, pick and scroll. Nothing else is served: no
// file of the folder by its path.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>

namespace lorvena {

struct ServeOptions {
  std::filesystem::path dir;
  std::string name;
  std::string train;
  std::string host = "127.0.0.1";
  int port = 8417;          // 0: any free port, printed
  bool any_host = false;    // listening elsewhere than on loopback was asked for
  double stop_after = 0;    // seconds; 0: until ended
  int poll_ms = 50;         // how often the descriptions' times are looked at
};

// Is `host` a loopback address (127.0.0.1, ::1, localhost)?
bool is_loopback(const std::string& host);

// Serves until stopped; says where on `out`. The exit status: 0, or 1 when
// the address cannot be listened on.
int serve_live_view(const ServeOptions& options, std::ostream& out, std::ostream& err);

}  // namespace lorvena
