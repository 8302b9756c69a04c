// The generated line repeats one section of 64 track cells (3200 m). Cell r of
// the section starting at cell b stands for chainage (b + r - 1) * 50, the
// cell an object record at that chainage lands in. Per section:
//   r 6 signal, r 8 indicator, r 12..15 approach cells, r 16 warning board,
//   r 24 sign board (some sections), r 31 marker object, r 40 slowdown start,
//   r 44 indicator, r 52 slowdown end, r 58 signal, r 62 station stop (some;
//   the stop lies 150 m past the station position, r 60).
// The walk then finds free cells for its markers at r 5 (signal behind the
// board), r 35, r 29, r 22 (before the start), r 48 (along a slow slowdown)
// and r 57 (the signal after the end), and records no error.
#include "testing/scenario_generator.h"

#include <algorithm>
#include <initializer_list>

#include "disk/file_names.h"
#include "disk/file_system.h"

namespace lorvena::testing {
namespace {

constexpr int kSection = 64;      // cells
constexpr int kFirstSection = 4;  // keeps every object and marker clear of cells 0..2
constexpr int kTableRoom = 78;    // stations plus sign boards
constexpr int kMaxSigns = 18;
constexpr int kSlowdownLength = 600;
constexpr int32_t kLongestPlan = 1000000;

// The chainage whose object lands in cell r of the section starting at b.
int64_t at(int64_t b, int r) { return (b + r - 1) * 50; }

class Rows {
 public:
  void line(std::string_view text) {
    out_.append(text);
    out_.append("\r\n");
  }

  void row(std::string_view keyword, std::initializer_list<int64_t> values, std::string_view tail = {}) {
    out_.append(keyword);
    for (int64_t v : values) {
      out_.append(", ");
      out_.append(std::to_string(v));
    }
    if (!tail.empty()) {
      out_.append(", ");
      out_.append(tail);
    }
    out_.append("\r\n");
  }

  std::string take() { return std::move(out_); }

 private:
  std::string out_;
};

int sections_for(int32_t length) { return std::max(0, (length / 50 - kFirstSection) / kSection); }

int64_t section_start(int k) { return kFirstSection + int64_t{kSection} * k; }

bool has_sign(int k, int signs) { return k % 4 == 1 && k / 4 < signs; }

// Stations spread evenly over the sections.
bool has_station(int k, int sections, int stations) {
  return (int64_t{k} + 1) * stations / sections > int64_t{k} * stations / sections;
}

int slowdown_speed(int k) {
  static constexpr int kSpeeds[] = {30, 60, 80, 100, 120};
  return kSpeeds[k % 5];
}

std::string kilometre_text(int64_t chainage) {
  std::string metres = std::to_string(chainage % 1000);
  metres.insert(0, 3 - metres.size(), '0');
  return "(Cippo Km.)( " + std::to_string(chainage / 1000) + "+" + metres + "  )";
}

void line_general(Rows& out, int32_t length) {
  out.line("[generale]");
  out.line("---- linea generata ----");
  out.row("lunghezza percorso", {length});
  out.row("progressiva chilometrica uno", {0, 0, 0});
  out.row("progressiva chilometrica due", {0, 0, 0});
  out.row("progressiva chilometrica tre", {0, 0, 0});
  out.row("sfondo uno", {1});
  out.row("sfondo due", {2});
  out.row("sfondo tre", {3});
  out.row("ripetizione segnali 4 codici", {0, length / 100 * 50});
}

void curves(Rows& out, int32_t length) {
  out.line("[curve]");
  int64_t end = std::min<int64_t>(length - 100, kLongestPlan - 1);
  for (int64_t k = 0;; ++k) {
    int64_t start = 300 + 500 * k;
    int64_t len = 150 + 50 * (k % 3);
    if (start + len > end) return;
    std::string keyword = std::string("curva") + (k % 2 == 0 ? "d" : "s") + std::to_string(1 + k % 6);
    out.row(keyword, {start, len});
  }
}

void gradients(Rows& out, int32_t length) {
  out.line("[pendenze]");
  for (int64_t k = 0; 400 * k <= length; ++k) out.row("pendenza", {400 * k, (k * 7) % 41 - 20});
}

void line_sections(Rows& out, int sections, int signs) {
  out.line("[montagne]");
  for (int k = 0; k < sections; ++k) {
    int64_t b = section_start(k);
    int kind = 1 + k % 10 + (k % 3 == 2 ? 10 : 0);
    out.row("montagna", {b * 50, (b + 30) * 50, kind});
  }
  out.line("[indicazioni]");
  for (int k = 0; k < sections; ++k) {
    int64_t b = section_start(k);
    out.row("indicatori_vmax", {at(b, 8), 60, 70, 75, 0, 60, 70, 75, 0});
    out.row("indicatori_vmax", {at(b, 44), 100, 110, 120, 1, 90, 100, 105, 2});
  }
  out.line("[cartelli]");
  for (int k = 0; k < sections; ++k)
    if (has_sign(k, signs)) out.row("cartello_indicatore", {at(section_start(k), 24)}, kilometre_text(at(section_start(k), 24)));
}

void train_general(Rows& out) {
  out.line("[generale]");
  out.row("massa frenata percentuale", {110});
  out.row("numero vetture", {9});
  out.line("orologio,    7              30            0 ");
  out.row("sabbia", {120});
}

void train_sections(Rows& out, int sections, int stations) {
  out.line("[vel_limite]");
  out.row("velocita", {0, 100});
  for (int k = 0; k < sections; ++k) out.row("velocita", {section_start(k) * 50, 100 + (k % 5) * 20});
  out.line("[aderenze]");
  out.row("aderenza", {0, 100});
  for (int k = 0; k < sections; k += 3) out.row("aderenza", {section_start(k) * 50, 80 + (k % 4) * 5});
  out.line("[segnali]");
  static constexpr int kTempo[] = {0, 120, 60};
  for (int k = 0; k < sections; ++k) {
    int64_t b = section_start(k);
    out.row("segnale", {at(b, 6), 2, 4, 0, 0, 0, 2, 2, 0, 0, kTempo[k % 3]});
    out.row("segnale", {at(b, 58), 1, 3, 1, 0, 1, 1, 3, 0, 0, 0});
  }
  out.line("[rallentamenti]");
  for (int k = 0; k < sections; ++k)
    out.row("rallentamento", {at(section_start(k), 40), slowdown_speed(k), kSlowdownLength, 1, 1, k % 2});
  out.line("[abbattimenti]");
  for (int k = 0; k < sections; ++k) out.row("abbattimento", {(section_start(k) + 31) * 50, k % 2 == 0 ? 0 : 90});
  out.line("[stazioni]");
  int seconds = (7 * 60 + 30) * 60;
  int number = 0;
  for (int k = 0; k < sections; ++k) {
    if (!has_station(k, sections, stations)) continue;
    seconds += 240;
    int day = seconds % 86400;
    std::string name = "POSTO " + std::to_string(++number);
    static constexpr int kKinds[] = {12, 1, 2, 3};
    out.row("stazione",
            {at(section_start(k), 60), kKinds[number % 4], 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, number % 2,
             day / 3600, day / 60 % 60, day % 60},
            name);
  }
}

// Markers per section: one behind the board, three before the start, one
// along a slow slowdown, one before the signal after the end.
int expected_markers(int sections) {
  int markers = 0;
  for (int k = 0; k < sections; ++k) markers += 5 + (slowdown_speed(k) < 110 ? 1 : 0);
  return markers;
}

}  // namespace

GeneratedScenario generate_scenario(int32_t length) {
  GeneratedScenario g;
  g.blocks = sections_for(length);
  g.signs = std::min((g.blocks + 2) / 4, kMaxSigns);
  g.stations = std::min(g.blocks, kTableRoom - g.signs);
  g.markers = expected_markers(g.blocks);

  Rows line;
  line_general(line, length);
  curves(line, length);
  gradients(line, length);
  line_sections(line, g.blocks, g.signs);
  line.line("[fine]");
  g.line = line.take();

  Rows train;
  train_general(train);
  train_sections(train, g.blocks, g.stations);
  train.line("[fine]");
  g.train = train.take();
  return g;
}

void write_generated_scenario(const GeneratedScenario& scenario, const std::filesystem::path& dir,
                              std::string_view scenario_name, std::string_view train_number) {
  SystemDisk disk;
  replace_file(disk, join_path(dir, line_description_name(scenario_name)), scenario.line, Flush::kNo);
  replace_file(disk, join_path(dir, train_description_name(scenario_name, train_number)), scenario.train,
               Flush::kNo);
}

}  // namespace lorvena::testing
