#include "compiler/compiled_files.h"

#include <bit>
#include <cstring>

#include "sources/file_system.h"
#include "sources/scenario_files.h"

namespace lorvena {
namespace {

class Packer {
 public:
  explicit Packer(size_t reserve) { bytes_.reserve(reserve); }

  template <typename T>
  void put(T value) {
    using U = std::make_unsigned_t<T>;
    U bits = static_cast<U>(value);
    for (size_t i = 0; i < sizeof(T); ++i) bytes_.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
  }
  void put_double(double value) { put(std::bit_cast<uint64_t>(value)); }
  void put_string(const std::string& text) {
    put(static_cast<uint16_t>(text.size()));
    bytes_.append(text);
  }
  std::string take() { return std::move(bytes_); }

 private:
  std::string bytes_;
};

void put_plan_column(Packer& out, const Profile& p, const std::vector<double>& column) {
  int64_t top = p.upper_bound();
  for (int64_t i = 0; i <= top; ++i) {
    size_t at = static_cast<size_t>(i);
    if (i < 2 && p.origin_set) {
      out.put(kTagInteger);
      out.put(static_cast<int16_t>(column[at]));
    } else if (i >= 2 && i < p.next) {
      out.put(kTagDouble);
      out.put_double(column[at]);
    } else {
      out.put(kTagEmpty);
    }
  }
}

}  // namespace

std::string plan_bytes(const Profile& profile) {
  Packer out(profile.x.size() * 20);
  put_plan_column(out, profile, profile.x);
  put_plan_column(out, profile, profile.y);
  return out.take();
}

std::string table_bytes(const Scenario& m) {
  Packer out(4096);
  for (const TableEntry& e : m.table) {
    out.put(e.tipo);
    out.put(e.inizio);
    out.put(e.fine);
    out.put(e.posizione);
    out.put(e.flag1);
    out.put_string(e.nome);
    for (int16_t v : {e.val1, e.val2, e.val3, e.val4, e.val5}) out.put(v);
    for (uint8_t f : {e.flag2, e.flag3, e.flag4, e.flag5}) out.put(f);
    out.put(e.ora);
  }
  return out.take();
}

std::string track_bytes(const Scenario& m) {
  Packer out(m.track.size() * 15);
  for (const TrackCell& c : m.track) {
    out.put(c.kind);
    for (int16_t v : {c.param1, c.param2, c.param3, c.param4}) out.put(v);
    for (uint8_t b : {c.timing, c.approach, c.landscape, c.speed_limit, c.gradient, c.adhesion}) out.put(b);
  }
  return out.take();
}

void write_compiled_files(const Scenario& m, const std::filesystem::path& dir) {
  if (m.write_profile != 0) replace_file(join_path(dir, plan_file_name(m.scenario_name)), plan_bytes(m.profile));
  replace_file(join_path(dir, table_file_name(m.scenario_name, m.train_number)), table_bytes(m));
  replace_file(join_path(dir, track_file_name(m.scenario_name, m.train_number)), track_bytes(m));
}

}  // namespace lorvena
