// Decompiling: each record is read off the cells, entries and plan points it
// writes (runs of equal profile values, objects by kind, curves by the
// curvature between plan points), then the pair is compiled again and every
// file compared byte for byte. The placement walk's markers are left to the
// walk; any it does not place again become abbattimento records.
#include "tools/authoring/decompile.h"

#include <cmath>
#include <map>
#include <set>

#include "compiler/packing.h"
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

  int64_t last_profile_cell() const { return static_cast<int64_t>(track.size()) - 3; }

  // One record a change of a profile byte, from cell 0 to the last filled cell.
  template <typename Get>
  void profile(Lines& out, const std::string& keyword, Get value) {
    int64_t prev = -1;
    for (int64_t c = 0; c <= last_profile_cell(); ++c) {
      int64_t v = value(track[c]);
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
    for (int e = 81; e <= 83; ++e) {
      const TableEntry& k = table[e];
      int64_t fine = k.posizione == 1 ? int64_t{k.fine} - 100 : k.fine;
      line.push_back(std::string("progressiva chilometrica ") + words[e - 81] + ",  " + n(k.inizio) + ",  " + n(fine) +
                     ",  " + n(k.posizione));
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

  void mountains() {
    line.push_back("[montagne]");
    size_t c = 0;
    while (c < track.size()) {
      uint8_t land = track[c].landscape;
      size_t end = c;
      bool tunnel = false;
      while (end < track.size() && track[end].landscape == land) {
        if (track[end].kind == cell_kind::kTunnelMarker) tunnel = true;
        ++end;
      }
      if (land != 0) line.push_back("montagna,  " + n(50 * c) + ",  " + n(50 * end) + ",  " + n(land + (tunnel ? 10 : 0)));
      c = end;
    }
  }

  void boards() {
    line.push_back("[cartelli]");
    for (size_t c = 0; c < track.size(); ++c) {
      const TrackCell& k = track[c];
      if (k.kind != cell_kind::kSpeedIndicator) continue;
      auto left = [](int16_t p) { return n(p / 100 * 5); };
      auto right = [](int16_t p) { return n(p % 100 * 5); };
      line.push_back("indicatori_vmax,  " + n(50 * (int64_t(c) - 1)) + ",  " + left(k.param1) + ",  " + left(k.param2) +
                     ",  " + left(k.param3) + ",  " + n(k.param4 / 10) + ",  " + right(k.param1) + ",  " +
                     right(k.param2) + ",  " + right(k.param3) + ",  " + n(k.param4 % 10));
    }
  }

  void signs() {
    line.push_back("[indicazioni]");
    std::map<int, size_t, std::greater<>> by_entry;  // entry 80 was read first
    for (size_t c = 0; c < track.size(); ++c)
      if (track[c].kind == cell_kind::kSignBoard) by_entry[track[c].param1] = c;
    for (const auto& [entry, c] : by_entry) {
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

  void stations() {
    train.push_back("[stazioni]");
    int lowest_sign = kFirstSignSlot + 1;
    for (const TrackCell& k : track)
      if (k.kind == cell_kind::kSignBoard && k.param1 > 0) lowest_sign = std::min<int>(lowest_sign, k.param1);
    int last = 0;
    for (int e = 1; e < lowest_sign && e < kFirstSignSlot + 1; ++e)
      if (!(table[e].nome.empty() && table[e].posizione == 0 && table[e].tipo == 0 && table[e].inizio == 0 &&
            table[e].fine == 0))
        last = e;
    for (int e = 1; e <= last; ++e) station(e, table[e]);
  }

  void station(int e, const TableEntry& s) {
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
      return;
    }
    train.push_back("stazione,  " + n(s.posizione) + ", " + n(s.tipo) + ", " + n(length) + ", " + n(s.flag1) + ", " +
                    n(s.flag5) + ", " + n(flag4) + ", " + n(s.val1) + ", " + n(s.val2) + ", " + n(s.flag2) + ", " +
                    n(s.val3) + ", " + n(s.val4) + ", " + n(s.val5) + ", " + n(s.flag3) + ", " + n(s.ora / 3600) +
                    ", " + n(s.ora % 3600 / 60) + ", " + n(s.ora % 60) + ", " + *name);
  }

  void slowdowns() {
    train.push_back("[rallentamenti]");
    for (size_t s = 0; s < track.size(); ++s) {
      const TrackCell& k = track[s];
      if (k.kind != cell_kind::kSlowdownStart) continue;
      size_t e = s + 1;
      while (e < track.size() && track[e].kind != cell_kind::kSlowdownEnd) ++e;
      int64_t length = e < track.size() ? 50 * int64_t(e - s) : 0;
      int64_t x = 50 * (int64_t(s) - 1);
      bool approach = s >= 28 && track[s - 25].kind == cell_kind::kApproach;
      train.push_back("rallentamento,  " + n(x) + ",  " + n(k.param1) + ",  " + n(length) + ",  " + n(k.param3) + ",  " +
                      (approach ? "1" : "0") + ",  " + n(k.param2));
    }
  }

  void signals() {
    train.push_back("[segnali]");
    for (size_t c = 0; c < track.size(); ++c) {
      const TrackCell& k = track[c];
      if (k.kind != cell_kind::kSignal) continue;
      int sx = (k.param4 % 10) / 3, dx = (k.param4 % 10) % 3;
      train.push_back("segnale,  " + n(50 * (int64_t(c) - 1)) + ",  " + n(sx) + ", " + n(k.param1 / 10) + ", " +
                      n(k.param2 / 10) + ", " + n(k.param3 / 10) + ", " + n(k.param4 / 10) + ",  " + n(dx) + ", " +
                      n(k.param1 % 10) + ", " + n(k.param2 % 10) + ", " + n(k.param3 % 10) + ",  " +
                      n(sx == 2 ? k.timing : 0));
    }
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
  b.profile(b.line, "pendenza", [](const TrackCell& c) { return int64_t{c.gradient} - 100; });
  b.mountains();
  b.boards();
  b.signs();
  b.line.push_back("[fine]");
  b.train.push_back("[aderenze]");
  b.profile(b.train, "aderenza", [](const TrackCell& c) { return int64_t{c.adhesion}; });
  b.train.push_back("[vel_limite]");
  b.profile(b.train, "velocita", [](const TrackCell& c) { return int64_t{c.speed_limit} * 5; });
  b.stations();
  b.slowdowns();
  b.signals();

  CompileRequest request{".", input.name, input.train, plan.has_value(), std::nullopt};
  auto compiled = [&](const std::set<size_t>& placed) {
    Builder m = b;
    m.markers(placed);
    m.train.push_back("[fine]");
    Decompiled d{joined(m.line), joined(m.train), m.problems};
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
