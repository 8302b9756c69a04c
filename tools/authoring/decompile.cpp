// Decompiling: each record is read off the cells, entries and plan points it
// writes (runs of equal profile values, objects by kind, curves by the
// curvature between plan points), the pair is laid out as fmt lays it out,
// then compiled again and every file compared byte for byte. The placement walk's markers are left to the
// walk; any it does not place again become abbattimento records.
#include "tools/authoring/decompile.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "compiler/packing.h"
#include "compiler/storing.h"
#include "descriptions/field_reader.h"
#include "tools/authoring/format_pair.h"
#include "tools/compiled/compiled_decode.h"
#include "tools/diagnosing/author_compile.h"
#include "tools/text/messages.h"

namespace lorvena {
namespace {

using Lines = std::vector<std::string>;

std::string n(int64_t v) { return std::to_string(v); }

std::string joined(const Lines& lines) {
  std::string text;
  for (const std::string& l : lines) text += l + "\r\n";
  return text;
}

// A text field as the reader takes it back: bare, or in double quotes.
std::optional<std::string> text_field(const std::string& t) {
  bool plain = !t.empty() && t.front() != '"' && t.front() != ' ' && t.front() != '\t' && t.back() != ' ' &&
               t.back() != '\t' && t.find_first_of(",\r\n") == std::string::npos;
  if (plain || t.empty()) return t;
  if (t.find('"') != std::string::npos) return std::nullopt;
  return "\"" + t + "\"";
}

struct Builder {
  const std::vector<TrackCell>& track;
  const std::array<TableEntry, kTableSize>& table;
  Lines line, train;
  std::vector<std::string> problems;

  int64_t upper_bound() const { return static_cast<int64_t>(track.size()) - 1; }

  // One record a change of a profile byte, from cell 0 to the last cell the
  // compile fills by itself (three short of the end; the cells after it stay
  // zero), or to the last a record may reach when one of those holds a value.
  template <typename Get>
  void profile(Lines& out, const std::string& keyword, Get raw, int64_t scale, int64_t offset) {
    int64_t last = upper_bound() - 3;
    for (int64_t c = std::max<int64_t>(last + 1, 0); c <= upper_bound(); ++c)
      if (raw(track[c]) != 0) last = upper_bound() - 2;
    int64_t prev = -1;
    for (int64_t c = 0; c <= last; ++c) {
      int64_t v = int64_t{raw(track[c])} * scale + offset;
      if (c > 0 && v == prev) continue;
      out.push_back(keyword + ",  " + n(50 * c) + ",  " + n(v));
      prev = v;
    }
  }

  void general() {
    const TableEntry& l = table[kLineEntry];
    const TableEntry& s = table[kScenarioEntry];
    const TableEntry& t = table[kTrainEntry];
    line.push_back("[generale]");
    line.push_back("lunghezza percorso,  " + n(l.fine));
    const char* words[] = {"tre", "due", "uno"};
    std::array<TableEntry, 3> written = references();
    for (int e = 81; e <= 83; ++e) {
      const TableEntry& k = written[e - 81];
      line.push_back(std::string("progressiva chilometrica ") + words[e - 81] + ",  " + n(k.inizio) + ",  " +
                     n(k.fine) + ",  " + n(k.posizione));
    }
    line.push_back("sfondo uno,  " + n(s.inizio));
    line.push_back("sfondo due,  " + n(s.posizione));
    line.push_back("sfondo tre,  " + n(s.fine));
    std::string codes = t.posizione == 9 ? "9" : "4";
    line.push_back("ripetizione segnali " + codes + " codici,  " + n(t.inizio) + ",  " + n(t.fine));
    train.push_back("[generale]");
    train.push_back("numero vetture,  " + n(l.posizione));
    train.push_back("percentuale massa frenata,  " + n(l.inizio));
    train.push_back("sabbia,  " + n(t.val1));
    train.push_back("orologio,  " + n(t.val3) + "  " + n(t.val4) + "  " + n(t.val5));
  }

  // The three kilometre references as written: the compile sorts them, so
  // the stored ones are tried in each order, the +100 of a posizione of 1
  // taken off, until the sort gives them back as stored. None does when
  // the stored order is not a sort's; they are written as stored then.
  std::array<TableEntry, 3> references() const {
    std::array<TableEntry, 3> stored{table[81], table[82], table[83]};
    for (TableEntry& e : stored)
      if (e.posizione == 1) e.fine = static_cast<int32_t>(int64_t{e.fine} - 100);
    std::array<int, 3> order{0, 1, 2};
    do {
      Scenario m;
      for (int i = 0; i < 3; ++i) m.table[81 + i] = stored[order[i]];
      try {
        progressive_ordina(m);
      } catch (const ReadFailure&) {
        continue;
      }
      bool same = true;
      for (int i = 0; i < 3; ++i)
        same = same && m.table[81 + i].inizio == table[81 + i].inizio && m.table[81 + i].fine == table[81 + i].fine &&
               m.table[81 + i].posizione == table[81 + i].posizione;
      if (same) return {stored[order[0]], stored[order[1]], stored[order[2]]};
    } while (std::next_permutation(order.begin(), order.end()));
    return stored;
  }

  // The end (exclusive) of a tunnel mountain that starts at cell s and
  // does not pass cell b: its markers fall on every fourth cell from s + 3,
  // where no object was already (one placed later covers a marker).
  size_t tunnel_end(size_t s, size_t b) const {
    size_t c = s;
    for (; c < b; ++c) {
      bool marker = track[c].kind == cell_kind::kTunnelMarker;
      if ((c - s) % 4 == 3 ? !marker && track[c].kind == cell_kind::kNone : marker) break;
    }
    return c;
  }

  // One run of equal landscape, cells a to b, as the mountains that give
  // it: a tunnel mountain from three cells before each marker that the one
  // before does not account for, plain mountains between. A landscape above
  // 10 is written as a tunnel's, as no other kind stores it.
  void mountain_run(size_t a, size_t b, int64_t& previous_end) {
    int64_t land = track[a].landscape;
    auto write = [&](size_t from, size_t to, bool tunnel) {
      // Stored as kind 3 when it starts within 150 m of the end of the
      // mountain written before it; a mountain without cells at 0 comes
      // between when that would change the kind.
      if (previous_end >= 0 && land != 3 && 50 * int64_t(from) - previous_end <= 150) line.push_back("montagna,  0,  0,  0");
      line.push_back("montagna,  " + n(50 * from) + ",  " + n(50 * to) + ",  " + n(land + (tunnel || land > 10 ? 10 : 0)));
      previous_end = 50 * int64_t(to);
    };
    size_t at = a;
    while (at < b) {
      size_t marker = at;
      while (marker < b && track[marker].kind != cell_kind::kTunnelMarker) ++marker;
      if (marker == b) return write(at, b, false);
      size_t start = marker >= at + 3 ? marker - 3 : at;
      if (start > at) write(at, start, false);
      size_t end = std::max(tunnel_end(start, b), marker + 1);
      write(start, end, true);
      at = end;
    }
  }

  void mountains() {
    line.push_back("[montagne]");
    int64_t previous_end = -1;  // none written yet
    for (size_t c = 0; c < track.size();) {
      size_t end = c;
      while (end < track.size() && track[end].landscape == track[c].landscape) ++end;
      if (track[c].landscape != 0) mountain_run(c, end, previous_end);
      c = end;
    }
  }

  // Cells a station's stop took from a board of the line description: a
  // board's last three values stay (a stop writes only the first), and a
  // sign's text stays in its entry.
  bool under_stop(size_t c) const {
    const TrackCell& k = track[c];
    return k.kind == cell_kind::kStationStop && (k.param2 != 0 || k.param3 != 0 || k.param4 != 0) && k.timing == 0;
  }

  void boards() {
    line.push_back("[cartelli]");
    for (size_t c = 0; c < track.size(); ++c) {
      const TrackCell& k = track[c];
      if (k.kind != cell_kind::kSpeedIndicator && !under_stop(c)) continue;
      auto left = [](int16_t p) { return n(p / 100 * 5); };
      auto right = [](int16_t p) { return n(p % 100 * 5); };
      line.push_back("indicatori_vmax,  " + n(50 * (int64_t(c) - 1)) + ",  " + left(k.param1) + ",  " + left(k.param2) +
                     ",  " + left(k.param3) + ",  " + n(k.param4 / 10) + ",  " + right(k.param1) + ",  " +
                     right(k.param2) + ",  " + right(k.param3) + ",  " + n(k.param4 % 10));
    }
  }

  // The sign boards by their entry, from 80 down (the order they were read
  // in): those a cell points at, and the entries below 80 that hold a text
  // alone, whose cell a station's stop took: each is given a stop of its own.
  std::map<int, size_t, std::greater<>> sign_cells() const {
    std::map<int, size_t, std::greater<>> by_entry;
    for (size_t c = 0; c < track.size(); ++c)
      if (track[c].kind == cell_kind::kSignBoard) by_entry[track[c].param1] = c;
    std::vector<size_t> stops;
    for (size_t c = 0; c < track.size(); ++c)
      if (track[c].kind == cell_kind::kStationStop && !under_stop(c) && track[c].param2 == 0) stops.push_back(c);
    auto text_alone = [](const TableEntry& t) {
      return !t.nome.empty() && t.tipo == 0 && t.posizione == 0 && t.inizio == 0 && t.fine == 0 && t.ora == 0;
    };
    size_t next_stop = 0;
    for (int e = kFirstSignSlot; e >= 1 && (by_entry.count(e) || text_alone(table[e])); --e)
      if (!by_entry.count(e)) {
        if (next_stop == stops.size()) break;
        by_entry[e] = stops[next_stop++];
      }
    return by_entry;
  }

  void signs() {
    line.push_back("[indicazioni]");
    for (const auto& [entry, c] : sign_cells()) {
      if (entry < 0 || entry >= kTableSize) {
        problems.push_back(trf("track cell {0} ({1} m): sign board points at entry {2}, outside the table", c, 50 * c,
                               entry));
        continue;
      }
      std::optional<std::string> text = text_field(table[entry].nome);
      if (!text) {
        problems.push_back(trf("table entry {0}: a sign text with a double quote cannot be written", entry));
        continue;
      }
      line.push_back("cartello_indicatore,  " + n(50 * (int64_t(c) - 1)) + ",  " + *text);
    }
  }

  // The entries that hold stations: from 1 to the last that holds anything,
  // below the sign texts.
  std::vector<int> station_entries() const {
    int lowest_sign = kFirstSignSlot + 1;
    for (const auto& [entry, c] : sign_cells())
      if (entry > 0) lowest_sign = std::min(lowest_sign, entry);
    int last = 0;
    for (int e = 1; e < lowest_sign && e < kFirstSignSlot + 1; ++e)
      if (!(table[e].nome.empty() && table[e].posizione == 0 && table[e].tipo == 0 && table[e].inizio == 0 &&
            table[e].fine == 0))
        last = e;
    std::vector<int> entries;
    for (int e = 1; e <= last; ++e) entries.push_back(e);
    return entries;
  }

  std::optional<std::string> station(int e) {
    const TableEntry& s = table[e];
    int64_t length = 0, flag4 = s.flag4;
    if (s.tipo >= 5 && s.tipo <= 8) {
      length = int64_t{s.posizione} - s.inizio;
    } else {
      length = 2 * (int64_t{s.posizione} - s.inizio);
      flag4 = (int64_t{s.fine} - s.posizione - length / 2) == 50 ? 1 : 0;
    }
    std::optional<std::string> name = text_field(s.nome);
    if (!name) {
      problems.push_back(trf("table entry {0}: a station name with a double quote cannot be written", e));
      return std::nullopt;
    }
    return "stazione,  " + n(s.posizione) + ", " + n(s.tipo) + ", " + n(length) + ", " + n(s.flag1) + ", " +
                    n(s.flag5) + ", " + n(flag4) + ", " + n(s.val1) + ", " + n(s.val2) + ", " + n(s.flag2) + ", " +
                    n(s.val3) + ", " + n(s.val4) + ", " + n(s.val5) + ", " + n(s.flag3) + ", " + n(s.ora / 3600) +
                    ", " + n(s.ora % 3600 / 60) + ", " + n(s.ora % 60) + ", " + *name;
  }

  // Each end cell belongs to the nearest start before it with the same
  // values (else the nearest after it: a negative length); a start left
  // without one had its end in its own cell. Which start an end is paired
  // with changes no byte: the walk goes from a start to the next end.
  std::map<size_t, size_t> slowdown_ends() const {
    auto same = [&](size_t a, size_t b) {
      return track[a].param1 == track[b].param1 && track[a].param2 == track[b].param2 &&
             track[a].param3 == track[b].param3;
    };
    std::map<size_t, size_t> end_of;
    std::vector<size_t> loose;
    for (size_t c = 0; c < track.size(); ++c) {
      if (track[c].kind != cell_kind::kSlowdownEnd) continue;
      size_t s = c;
      while (s-- > 0)
        if (track[s].kind == cell_kind::kSlowdownStart && !end_of.count(s) && same(s, c)) break;
      if (s < c) end_of[s] = c;
      else loose.push_back(c);
    }
    for (size_t c : loose)
      for (size_t s = c + 1; s < track.size(); ++s)
        if (track[s].kind == cell_kind::kSlowdownStart && !end_of.count(s) && same(s, c)) {
          end_of[s] = c;
          break;
        }
    return end_of;
  }

  // The chainage that puts the start in cell s, its warning board 24 cells
  // before (past 1500 m) and its approach cells ending at h: 25 cells before
  // s on the step, 26 for a chainage halfway between two steps.
  static int64_t slowdown_chainage(int64_t s, bool warned, int64_t h) {
    if (warned && h == s - 26) return 50 * s - 75;
    int64_t x = 50 * (s - 1);
    return warned && x <= 1500 ? 1501 : x;
  }

  // The top cell of the approach cells of each warned start that wrote them:
  // 25 cells before it, or 26 before a start in an even cell; each cell's
  // second value is set when the start's is. Each group goes to one start,
  // those 25 cells away first.
  std::map<size_t, int64_t> approach_tops(const std::vector<size_t>& warned) const {
    std::set<int64_t> claimed;
    std::map<size_t, int64_t> top;
    auto group = [&](size_t s, int64_t h) {
      if (h < 3 || claimed.count(h)) return false;
      for (int64_t i = 0; i < 4; ++i) {
        const TrackCell& a = track[size_t(h - i)];
        if (a.kind != cell_kind::kApproach || a.param1 != i + 1 || a.param2 != (track[s].param2 != 0 ? i + 1 : 0))
          return false;
      }
      return true;
    };
    for (int64_t away : {25, 26})
      for (size_t s : warned)
        if (!top.count(s) && (away == 25 || s % 2 == 0) && group(s, int64_t(s) - away)) {
          claimed.insert(int64_t(s) - away);
          top[s] = int64_t(s) - away;
        }
    return top;
  }

  void slowdowns() {
    train.push_back("[rallentamenti]");
    std::map<size_t, size_t> end_of = slowdown_ends();
    std::vector<size_t> warned;
    for (size_t c = 24; c < track.size(); ++c)
      if (track[c].kind == cell_kind::kSlowdownStart && track[c - 24].kind == cell_kind::kWarningBoard &&
          track[c - 24].param1 == track[c].param1)
        warned.push_back(c);
    std::map<size_t, int64_t> tops = approach_tops(warned);
    for (size_t c = 0; c < track.size(); ++c) {
      const TrackCell& k = track[c];
      if (k.kind != cell_kind::kSlowdownStart) continue;
      auto t = tops.find(c);
      int64_t h = t == tops.end() ? -1 : t->second;
      int64_t x = slowdown_chainage(int64_t(c), std::count(warned.begin(), warned.end(), c) > 0, h);
      auto e = end_of.find(c);
      int64_t length = e == end_of.end() ? 0 : 50 * (int64_t(e->second) - 1) - x;
      train.push_back("rallentamento,  " + n(x) + ",  " + n(k.param1) + ",  " + n(length) + ",  " + n(k.param3) + ",  " +
                      (h >= 0 ? "1" : "0") + ",  " + n(k.param2));
    }
  }

  // sx·3 + dx of the signal in cell c: its approach bytes hold sx·30 + dx·10
  // + b in the cells 2b before it, and it is param4's last digit, give or
  // take 10. The value most of those cells agree on (a later record may
  // have written over some), else the digit.
  int signal_split(size_t c) const {
    int digit = ((track[c].param4 % 10) + 10) % 10;
    int best = digit, votes = 0;
    for (int q = digit; q <= 25; q += 10) {
      int v = 0;
      for (size_t b = 1; b <= 4 && 2 * b <= c; ++b) v += track[c - 2 * b].approach == q * 10 + int(b);
      if (v > votes) best = q, votes = v;
    }
    return best;
  }

  // tempo is stored as its low byte when sx is 2, and 1 to 100 become 101:
  // a stored 1 to 100 came from 256 more.
  std::string signal(size_t c) const {
    const TrackCell& k = track[c];
    int q = signal_split(c);
    int64_t rapp = (int64_t{k.param4} - q) / 10;
    int sx = k.timing != 0 ? 2 : q / 3, dx = q - 3 * sx;
    int64_t tempo = k.timing >= 1 && k.timing <= 100 ? k.timing + 256 : k.timing;
    return "segnale,  " + n(50 * (int64_t(c) - 1)) + ",  " + n(sx) + ", " + n(k.param1 / 10) + ", " +
           n(k.param2 / 10) + ", " + n(k.param3 / 10) + ", " + n(rapp) + ",  " + n(dx) + ", " + n(k.param1 % 10) +
           ", " + n(k.param2 % 10) + ", " + n(k.param3 % 10) + ",  " + n(tempo);
  }

  // A station (entry) or a signal (cell), and the approach bytes it writes.
  struct ApproachWriter {
    bool station;
    int64_t at;
    std::vector<std::pair<int64_t, int>> writes;  // cell, byte
  };

  std::vector<ApproachWriter> approach_writers() const {
    std::vector<ApproachWriter> writers;
    for (int e : station_entries()) {
      ApproachWriter w{true, e, {}};
      const TableEntry& s = table[e];
      if (s.tipo < 25 && s.tipo != 5 && s.tipo != 6)
        for (int k = 1; k <= 4; ++k)
          if (double at = s.fine / 50.0 - k - 1; at > 1.0) w.writes.emplace_back(nearest(at), 80 + k);
      writers.push_back(std::move(w));
    }
    for (size_t c = 0; c < track.size(); ++c) {
      if (track[c].kind != cell_kind::kSignal) continue;
      ApproachWriter w{false, int64_t(c), {}};
      int q = signal_split(c);
      for (int b = 1; b <= 4; ++b) w.writes.emplace_back(int64_t(c) - 2 * b, q * 10 + b);
      writers.push_back(std::move(w));
    }
    return writers;
  }

  // Where two records write one cell's approach byte, the one whose byte
  // the cell holds comes after the others: stations (in their order) and
  // signals (by chainage) sorted so, or as they stand when nothing sorts them.
  std::vector<size_t> approach_order(const std::vector<ApproachWriter>& writers) const {
    std::map<int64_t, std::vector<std::pair<size_t, int>>> at_cell;
    for (size_t i = 0; i < writers.size(); ++i)
      for (const auto& [cell, byte] : writers[i].writes) at_cell[cell].emplace_back(i, byte);
    std::vector<std::set<size_t>> after(writers.size());  // i must come before each of after[i]
    for (size_t i = 0; i + 1 < writers.size(); ++i)
      if (writers[i].station && writers[i + 1].station) after[i].insert(i + 1);
    for (const auto& [cell, list] : at_cell) {
      if (list.size() < 2 || cell < 0 || cell >= int64_t(track.size())) continue;
      int held = track[size_t(cell)].approach;
      for (const auto& [loser, byte] : list)
        if (byte != held)
          for (const auto& [winner, won] : list)
            if (won == held) after[loser].insert(winner);
    }
    std::vector<int> before(writers.size(), 0);
    for (const auto& next : after)
      for (size_t j : next) ++before[j];
    std::set<size_t> ready;
    for (size_t i = 0; i < writers.size(); ++i)
      if (before[i] == 0) ready.insert(i);
    std::vector<size_t> order;
    while (!ready.empty()) {
      size_t i = *ready.begin();
      ready.erase(ready.begin());
      order.push_back(i);
      for (size_t j : after[i])
        if (--before[j] == 0) ready.insert(j);
    }
    if (order.size() != writers.size()) {
      order.clear();
      for (size_t i = 0; i < writers.size(); ++i) order.push_back(i);
    }
    return order;
  }

  // The stations and signals in the order their approach bytes need, under
  // a header each time the kind changes.
  void stations_and_signals() {
    std::vector<ApproachWriter> writers = approach_writers();
    bool header = false, in_stations = false;
    for (size_t i : approach_order(writers)) {
      const ApproachWriter& w = writers[i];
      if (!header || in_stations != w.station) train.push_back(w.station ? "[stazioni]" : "[segnali]");
      header = true;
      in_stations = w.station;
      if (!w.station) train.push_back(signal(size_t(w.at)));
      else if (std::optional<std::string> s = station(int(w.at))) train.push_back(*s);
    }
    if (!header) train.push_back("[stazioni]");
  }

  // Markers the walk does not place: `placed` are cells it does.
  void markers(const std::set<size_t>& placed) {
    train.push_back("[codici]");
    for (size_t c = 0; c < track.size(); ++c) {
      const TrackCell& k = track[c];
      if (k.kind == cell_kind::kLowMarker) train.push_back("abbattimento,  " + n(50 * c) + ",  0");
      if (k.kind == cell_kind::kMarker && !placed.count(c))
        train.push_back("abbattimento,  " + n(50 * c) + ",  " + n(k.param1));
    }
  }
};

// Curvature of each turned metre, by the class it matches exactly.
constexpr double kCurvature[] = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};

void curves(const PlanColumns& plan, Lines& out) {
  out.push_back("[curve]");
  int current = 0;  // signed class, 0 straight
  int64_t start = 0;
  auto close = [&](int64_t m) {
    if (current != 0)
      out.push_back(std::string("curva") + (current > 0 ? "d" : "s") + n(std::abs(current)) + ",  " + n(start) + ",  " +
                    n(m - start));
  };
  int64_t m = 2;
  for (; m < int64_t(plan.x.size()) && plan.x[m].tag == 5 && plan.y[m].tag == 5; ++m) {
    double dx = plan.x[m - 1].value - plan.x[m - 2].value, dy = plan.y[m - 1].value - plan.y[m - 2].value;
    double q = ((plan.x[m].value - plan.x[m - 1].value - dx) * dy - (plan.y[m].value - plan.y[m - 1].value - dy) * dx) /
               (dx * dx + dy * dy);
    int cls = 0;
    for (int k = 0; k < 6; ++k)
      if (std::abs(std::abs(q) - kCurvature[k]) < kCurvature[k] / 4) cls = (q > 0 ? 1 : -1) * (k + 1);
    if (cls == current) continue;
    close(m - 1);
    current = cls;
    start = m - 1;
  }
  close(m - 1);
}

std::string plan_bytes(const Plan& p) {
  std::string bytes;
  pack_plan(p, [&](std::string_view piece) { bytes.append(piece); });
  return bytes;
}

// The first place where two files of one kind differ, in words.
std::optional<std::string> first_difference(const std::string& what, const std::string& want, const std::string& got,
                                            size_t record_bytes, const std::string& record) {
  if (want == got) return std::nullopt;
  size_t i = 0;
  while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
  std::string text = trf("{0}: differs from byte {1}", tr(what), i);
  if (record_bytes > 0) text += trf(", {0} {1} ({2} m)", tr(record), i / record_bytes, 50 * (i / record_bytes));
  if (want.size() != got.size()) text += trf("; {0} bytes, a description gives {1}", want.size(), got.size());
  return text;
}

std::optional<std::string> table_difference(const std::string& want, const std::string& got) {
  if (want == got) return std::nullopt;
  auto a = decode_table(want), b = decode_table(got);
  for (int e = 0; e < kTableSize; ++e) {
    const TableEntry &x = a[e], &y = b[e];
    bool same = x.tipo == y.tipo && x.inizio == y.inizio && x.fine == y.fine && x.posizione == y.posizione &&
                x.flag1 == y.flag1 && x.nome == y.nome && x.val1 == y.val1 && x.val2 == y.val2 && x.val3 == y.val3 &&
                x.val4 == y.val4 && x.val5 == y.val5 && x.flag2 == y.flag2 && x.flag3 == y.flag3 &&
                x.flag4 == y.flag4 && x.flag5 == y.flag5 && x.ora == y.ora;
    if (!same) return trf("table (.sim): entry {0} differs from what any description gives", e);
  }
  return std::string(tr("table (.sim): differs"));
}

}  // namespace

Decompiled decompile(const CompiledInput& input) {
  std::vector<TrackCell> track = decode_track(input.track);
  std::array<TableEntry, kTableSize> table = decode_table(input.table);
  std::optional<PlanColumns> plan;
  if (input.plan) plan = decode_plan(*input.plan);
  if (track.size() < 3) throw DecodeError(trf("a track of {0} cells is shorter than any line's", track.size()));

  Builder b{track, table, {}, {}, {}};
  b.general();
  if (plan) curves(*plan, b.line);
  b.line.push_back("[pendenze]");
  b.profile(b.line, "pendenza", [](const TrackCell& c) { return c.gradient; }, 1, -100);
  b.mountains();
  b.boards();
  b.signs();
  b.line.push_back("[fine]");
  b.train.push_back("[aderenze]");
  b.profile(b.train, "aderenza", [](const TrackCell& c) { return c.adhesion; }, 1, 0);
  b.train.push_back("[vel_limite]");
  b.profile(b.train, "velocita", [](const TrackCell& c) { return c.speed_limit; }, 5, 0);
  b.slowdowns();
  b.stations_and_signals();

  CompileRequest request{".", input.name, input.train, plan.has_value(), std::nullopt};
  auto compiled = [&](const std::set<size_t>& placed) {
    Builder m = b;
    m.markers(placed);
    m.train.push_back("[fine]");
    Decompiled d{format_description(joined(m.line), true), format_description(joined(m.train), false), m.problems};
    return std::pair{d, compile_texts(request, d.line, d.train)};
  };
  // First without any 180 marker: the cells where the walk puts one again need no record.
  std::set<size_t> walk;
  for (size_t c = 0; c < track.size(); ++c)
    if (track[c].kind == cell_kind::kMarker && track[c].param1 == 180) walk.insert(c);
  auto [first, first_result] = compiled(walk);
  std::set<size_t> placed;
  for (size_t c : walk)
    if (c < first_result.model.track.size() && first_result.model.track[c].kind == cell_kind::kMarker) placed.insert(c);
  auto [result, again] = compiled(placed);

  const Scenario& m = again.model;
  if (!again.fatal.empty()) result.mismatches.push_back(trf("the decompiled pair ends with fatal error {0}", again.fatal));
  if (m.err_code != 0)
    result.mismatches.push_back(trf("the decompiled pair compiles with error {0} at {1} m", m.err_code, m.err_pos));
  if (auto d = first_difference(N_("track (.dat)"), input.track, track_bytes(m), kTrackCellBytes, N_("cell")))
    result.mismatches.push_back(*d);
  if (auto d = table_difference(input.table, table_bytes(m))) result.mismatches.push_back(*d);
  if (input.plan)
    if (auto d = first_difference(N_("plan (_linea.dat)"), *input.plan, plan_bytes(m.profile), 0, ""))
      result.mismatches.push_back(*d);
  return result;
}

}  // namespace lorvena
