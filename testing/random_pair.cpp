// Each pair draws its values from one splitmix64 stream, so a seed names the
// pair everywhere. Chainages are drawn in metres, not on the 50 m step, and
// objects are not kept apart: the compile decides which pairs are clean.
#include "testing/random_pair.h"

#include <algorithm>
#include <initializer_list>

namespace lorvena::testing {
namespace {

class Draw {
 public:
  explicit Draw(uint64_t seed) : state_(seed) {}

  // A whole number from lo to hi, both included.
  int64_t in(int64_t lo, int64_t hi) { return lo + static_cast<int64_t>(next() % static_cast<uint64_t>(hi - lo + 1)); }
  bool chance(int percent) { return in(1, 100) <= percent; }

 private:
  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint64_t state_;
};

void row(std::string& out, std::string_view keyword, std::initializer_list<int64_t> values, std::string_view tail = {}) {
  out.append(keyword);
  for (int64_t v : values) out.append(", " + std::to_string(v));
  if (!tail.empty()) out.append(", ").append(tail);
  out.append("\r\n");
}

// Reference starts from a small set, so that two or three of them tie.
void references(Draw& d, std::string& out) {
  bool none = d.chance(20);
  for (const char* word : {"uno", "due", "tre"}) {
    int64_t inizio = none ? 0 : 1000 * d.in(0, 3), fine = none ? 0 : 50 * d.in(0, 40), pos = d.in(0, 2);
    row(out, std::string("progressiva chilometrica ") + word, {inizio, fine, none ? 0 : pos});
  }
}

void line_general(Draw& d, std::string& out, int64_t length) {
  out += "[generale]\r\n";
  row(out, "lunghezza percorso", {length});
  references(d, out);
  row(out, "sfondo uno", {d.in(0, 9)});
  row(out, "sfondo due", {d.in(0, 9)});
  row(out, "sfondo tre", {d.in(0, 9)});
  int64_t cab = 50 * d.in(0, length / 50);
  row(out, d.chance(50) ? "ripetizione segnali 4 codici" : "ripetizione segnali 9 codici", {cab, 50 * d.in(0, length / 50)});
}

void curves(Draw& d, std::string& out, int64_t length) {
  out += "[curve]\r\n";
  int64_t at = d.in(0, 400);
  for (int64_t k = d.in(0, 6); k > 0; --k) {
    int64_t n = d.in(1, 500);
    if (at + n > length) return;
    std::string keyword = std::string("curva") + (d.chance(50) ? "d" : "s") + std::to_string(d.in(1, 6));
    row(out, keyword, {at, n});
    at += n + d.in(0, 800);
  }
}

// Step records (gradient, speed, adhesion) at increasing chainages, some
// repeated, some in the run-out past the line's end.
void steps(Draw& d, std::string& out, const char* keyword, int64_t length, int64_t lo, int64_t hi, int64_t unit) {
  int64_t at = d.in(0, 60);
  for (int64_t k = d.in(1, 8); k > 0 && at + 100 <= length + 6900; --k) {
    row(out, keyword, {at, unit * d.in(lo, hi)});
    if (!d.chance(10)) at += d.in(1, length / 3);
  }
}

void mountains(Draw& d, std::string& out, int64_t length) {
  out += "[montagne]\r\n";
  int64_t at = d.in(0, 2000);
  for (int64_t k = d.in(0, 4); k > 0 && at < length; --k) {
    int64_t end = at + d.in(0, 3000);
    row(out, "montagna", {at, end, d.in(1, 10) + (d.chance(30) ? 10 : 0)});
    at = end + d.in(0, 400);
  }
}

void boards(Draw& d, std::string& out, int64_t length) {
  out += "[cartelli]\r\n";
  for (int64_t k = d.in(0, 4); k > 0; --k)
    row(out, "indicatori_vmax",
        {d.in(100, length), 5 * d.in(6, 30), 5 * d.in(6, 30), 5 * d.in(6, 30), d.in(0, 3), 5 * d.in(6, 30),
         5 * d.in(6, 30), 5 * d.in(6, 30), d.in(0, 3)});
  out += "[indicazioni]\r\n";
  for (int64_t k = d.in(0, 3); k > 0; --k) {
    int64_t at = d.in(100, length);
    row(out, "cartello_indicatore", {at}, "Km " + std::to_string(at / 1000) + "+" + std::to_string(at % 1000));
  }
}

void train_general(Draw& d, std::string& out) {
  out += "[generale]\r\n";
  row(out, "massa frenata percentuale", {d.in(50, 150)});
  row(out, "numero vetture", {d.in(1, 14)});
  out += "orologio,  " + std::to_string(d.in(0, 23)) + "  " + std::to_string(d.in(0, 59)) + "  " +
         std::to_string(d.in(0, 59)) + "\r\n";
  row(out, "sabbia", {d.in(0, 200)});
}

void stations(Draw& d, std::string& out, int64_t length) {
  out += "[stazioni]\r\n";
  int64_t at = 50 * d.in(10, 40);
  static constexpr int kKinds[] = {1, 2, 3, 5, 7, 12, 30};
  for (int k = 1, count = static_cast<int>(d.in(0, 3)); k <= count; ++k) {
    int64_t platform = 100 * d.in(1, 8);
    if (at + 800 > length + 6000) return;
    int64_t seconds = d.in(0, 86399);
    row(out, "stazione",
        {at, kKinds[d.in(0, 6)], platform, d.in(0, 1), d.in(0, 1), d.in(0, 1), d.in(0, 9), d.in(0, 9), d.in(0, 1),
         d.in(0, 9), d.in(0, 9), d.in(0, 9), d.in(0, 1), seconds / 3600, seconds / 60 % 60, seconds % 60},
        "POSTO " + std::to_string(k));
    at += 50 * d.in(40, 120);
  }
}

// Some shorter than a cell, some starting inside the one before.
void slowdowns(Draw& d, std::string& out, int64_t length) {
  out += "[rallentamenti]\r\n";
  int64_t at = d.in(200, length);
  for (int64_t k = d.in(0, 3); k > 0; --k) {
    int64_t l = d.chance(30) ? d.in(0, 49) : d.in(50, 1500);
    row(out, "rallentamento", {at, 5 * d.in(2, 30), l, d.in(0, 1), d.in(0, 1), d.in(0, 2)});
    at = d.chance(30) ? at + d.in(1, l + 60) : d.in(200, length);
  }
}

void signals(Draw& d, std::string& out, int64_t length) {
  out += "[segnali]\r\n";
  for (int64_t k = d.in(0, 6); k > 0; --k)
    row(out, "segnale",
        {d.in(300, length), d.in(0, 3), d.in(0, 9), d.in(0, 9), d.in(0, 9), d.in(0, 9), d.in(0, 2), d.in(0, 9),
         d.in(0, 9), d.in(0, 9), d.chance(40) ? 0 : d.in(1, 400)});
}

void markers(Draw& d, std::string& out, int64_t length) {
  out += "[codici]\r\n";
  for (int64_t k = d.in(0, 2); k > 0; --k) row(out, "abbattimento", {d.in(200, length), d.chance(30) ? 0 : d.in(1, 300)});
}

}  // namespace

RandomPair random_pair(uint64_t seed) {
  Draw d(seed);
  RandomPair p;
  p.plan = d.chance(50);
  int64_t length = d.in(3000, 20000);
  line_general(d, p.line, length);
  curves(d, p.line, length);
  p.line += "[pendenze]\r\n";
  steps(d, p.line, "pendenza", length, -30, 30, 1);
  mountains(d, p.line, length);
  boards(d, p.line, length);
  p.line += "[fine]\r\n";

  train_general(d, p.train);
  p.train += "[vel_limite]\r\n";
  steps(d, p.train, "velocita", length, 4, 40, 5);
  p.train += "[aderenze]\r\n";
  steps(d, p.train, "aderenza", length, 40, 120, 1);
  stations(d, p.train, length);
  slowdowns(d, p.train, length);
  signals(d, p.train, length);
  markers(d, p.train, length);
  p.train += "[fine]\r\n";
  return p;
}

}  // namespace lorvena::testing
