#include "compiler/packing.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#include "disk/file_names.h"
#include "disk/file_system.h"

namespace lorvena {
namespace {

// Packs values little-endian into a fixed buffer and hands it to a sink each
// time it fills, so a file of any size goes out in a few large writes.
class Packer {
 public:
  explicit Packer(const ByteSink& sink) : sink_(sink), buffer_(kChunk) {}
  Packer(const Packer&) = delete;
  Packer& operator=(const Packer&) = delete;

  template <typename T>
  void put(T value) {
    using U = std::make_unsigned_t<T>;
    U bits = static_cast<U>(value);
    if constexpr (std::endian::native == std::endian::little) {
      room(sizeof bits);
      std::memcpy(buffer_.data() + used_, &bits, sizeof bits);
      used_ += sizeof bits;
    } else {
      for (size_t i = 0; i < sizeof bits; ++i) put(static_cast<uint8_t>((bits >> (8 * i)) & 0xFF));
    }
  }
  void put_double(double value) { put(std::bit_cast<uint64_t>(value)); }

  // `count` values, each after the same 16-bit tag: the bulk of the plan,
  // packed a buffer at a time.
  void put_tagged_doubles(uint16_t tag, const double* values, size_t count) {
    constexpr size_t kRecord = sizeof tag + sizeof(double);
    if constexpr (std::endian::native != std::endian::little) {
      for (size_t i = 0; i < count; ++i) put(tag), put_double(values[i]);
      return;
    }
    while (count > 0) {
      room(kRecord);
      size_t n = std::min(count, (kChunk - used_) / kRecord);
      char* out = buffer_.data() + used_;
      for (size_t i = 0; i < n; ++i, out += kRecord) {
        std::memcpy(out, &tag, sizeof tag);
        std::memcpy(out + sizeof tag, values + i, sizeof(double));
      }
      used_ += n * kRecord;
      values += n;
      count -= n;
    }
  }
  void put_string(const std::string& text) {
    put(static_cast<uint16_t>(text.size()));
    for (size_t at = 0; at < text.size();) {
      room(1);
      size_t piece = std::min(text.size() - at, kChunk - used_);
      std::memcpy(buffer_.data() + used_, text.data() + at, piece);
      used_ += piece;
      at += piece;
    }
  }
  void flush() {
    if (used_ > 0) sink_(std::string_view(buffer_.data(), used_));
    used_ = 0;
  }

 private:
  static constexpr size_t kChunk = size_t{1} << 16;

  void room(size_t bytes) {
    if (used_ + bytes > kChunk) flush();
  }

  const ByteSink& sink_;
  std::vector<char> buffer_;
  size_t used_ = 0;
};

// The fixed origin (points 0 and 1), the computed points, then the points
// never filled.
void put_plan_column(Packer& out, const Plan& p, const PlanColumn& column) {
  int64_t points = p.upper_bound() + 1;
  int64_t origin_end = std::min<int64_t>(2, points);
  int64_t computed_end = std::max(origin_end, std::min(p.next, points));
  for (int64_t i = 0; i < origin_end; ++i) {
    if (p.origin_set) {
      out.put(kTagInteger);
      out.put(static_cast<int16_t>(column[static_cast<size_t>(i)]));
    } else {
      out.put(kTagEmpty);
    }
  }
  out.put_tagged_doubles(kTagDouble, column.data() + origin_end, static_cast<size_t>(computed_end - origin_end));
  for (int64_t i = computed_end; i < points; ++i) out.put(kTagEmpty);
}

}  // namespace

void pack_plan(const Plan& profile, const ByteSink& sink) {
  Packer out(sink);
  put_plan_column(out, profile, profile.x);
  put_plan_column(out, profile, profile.y);
  out.flush();
}

void pack_table(const Scenario& m, const ByteSink& sink) {
  Packer out(sink);
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
  out.flush();
}

void pack_track(const Scenario& m, const ByteSink& sink) {
  Packer out(sink);
  for (const TrackCell& c : m.track) {
    out.put(c.kind);
    for (int16_t v : {c.param1, c.param2, c.param3, c.param4}) out.put(v);
    for (uint8_t b : {c.timing, c.approach, c.landscape, c.speed_limit, c.gradient, c.adhesion}) out.put(b);
  }
  out.flush();
}

namespace {

std::string collect(const std::function<void(const ByteSink&)>& produce) {
  std::string bytes;
  produce([&bytes](std::string_view piece) { bytes.append(piece); });
  return bytes;
}

}  // namespace

std::string table_bytes(const Scenario& m) {
  return collect([&m](const ByteSink& sink) { pack_table(m, sink); });
}

std::string track_bytes(const Scenario& m) {
  return collect([&m](const ByteSink& sink) { pack_track(m, sink); });
}

void write_compiled_files(Disk& disk, const Scenario& m, const std::filesystem::path& dir, Flush flush) {
  if (m.write_profile != 0)
    replace_file_with(disk, join_path(dir, plan_file_name(m.scenario_name)),
                      [&m](const ByteSink& sink) { pack_plan(m.profile, sink); }, flush);
  replace_file_with(disk, join_path(dir, table_file_name(m.scenario_name, m.train_number)),
                    [&m](const ByteSink& sink) { pack_table(m, sink); }, flush);
  replace_file_with(disk, join_path(dir, track_file_name(m.scenario_name, m.train_number)),
                    [&m](const ByteSink& sink) { pack_track(m, sink); }, flush);
}

}  // namespace lorvena
