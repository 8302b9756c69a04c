#include "tools/compiled/compiled_decode.h"

#include <bit>

#include "compiler/compiled_format.h"
#include "tools/text/messages.h"

namespace lorvena {
namespace {

class Unpacker {
 public:
  explicit Unpacker(std::string_view bytes) : bytes_(bytes) {}

  bool done() const { return at_ == bytes_.size(); }

  template <typename T>
  T get() {
    need(sizeof(T));
    using U = std::make_unsigned_t<T>;
    U bits = 0;
    for (size_t i = 0; i < sizeof(T); ++i) bits |= static_cast<U>(static_cast<U>(byte(at_ + i)) << (8 * i));
    at_ += sizeof(T);
    return static_cast<T>(bits);
  }

  std::string get_string() {
    uint16_t length = get<uint16_t>();
    need(length);
    std::string text(bytes_.substr(at_, length));
    at_ += length;
    return text;
  }

 private:
  unsigned char byte(size_t i) const { return static_cast<unsigned char>(bytes_[i]); }
  void need(size_t n) const {
    if (bytes_.size() - at_ < n) throw DecodeError(trf("the file ends inside a record at byte {0}", at_));
  }

  std::string_view bytes_;
  size_t at_ = 0;
};

}  // namespace

CompiledKind compiled_kind(std::string_view file_name) {
  if (file_name.ends_with("_linea.dat")) return CompiledKind::kPlan;
  if (file_name.ends_with(".sim")) return CompiledKind::kTable;
  if (file_name.ends_with(".dat")) return CompiledKind::kTrack;
  throw DecodeError(trf("not a compiled file name (.dat, .sim or _linea.dat): {0}", file_name));
}

std::vector<TrackCell> decode_track(std::string_view bytes) {
  if (bytes.size() % kTrackCellBytes != 0)
    throw DecodeError(trf("a track file holds {0}-byte cells; this one has {1} bytes", kTrackCellBytes, bytes.size()));
  Unpacker in(bytes);
  std::vector<TrackCell> cells(bytes.size() / kTrackCellBytes);
  for (TrackCell& c : cells) {
    c.kind = in.get<uint8_t>();
    for (int16_t* v : {&c.param1, &c.param2, &c.param3, &c.param4}) *v = in.get<int16_t>();
    for (uint8_t* b : {&c.timing, &c.approach, &c.landscape, &c.speed_limit, &c.gradient, &c.adhesion})
      *b = in.get<uint8_t>();
  }
  return cells;
}

std::array<TableEntry, kTableSize> decode_table(std::string_view bytes) {
  Unpacker in(bytes);
  std::array<TableEntry, kTableSize> table;
  for (TableEntry& e : table) {
    e.tipo = in.get<uint8_t>();
    e.inizio = in.get<int32_t>();
    e.fine = in.get<int32_t>();
    e.posizione = in.get<int32_t>();
    e.flag1 = in.get<uint8_t>();
    e.nome = in.get_string();
    for (int16_t* v : {&e.val1, &e.val2, &e.val3, &e.val4, &e.val5}) *v = in.get<int16_t>();
    for (uint8_t* f : {&e.flag2, &e.flag3, &e.flag4, &e.flag5}) *f = in.get<uint8_t>();
    e.ora = in.get<int32_t>();
  }
  if (!in.done()) throw DecodeError(std::string(tr("bytes left after the 87 entries of the table")));
  return table;
}

PlanColumns decode_plan(std::string_view bytes) {
  Unpacker in(bytes);
  std::vector<PlanValue> values;
  while (!in.done()) {
    PlanValue v;
    v.tag = in.get<uint16_t>();
    if (v.tag == kTagInteger) v.value = in.get<int16_t>();
    else if (v.tag == kTagDouble) v.value = std::bit_cast<double>(in.get<uint64_t>());
    else if (v.tag != kTagEmpty) throw DecodeError(trf("unknown element tag {0}", v.tag));
    values.push_back(v);
  }
  if (values.size() % 2 != 0) throw DecodeError(std::string(tr("a plan holds as many y values as x values")));
  size_t half = values.size() / 2;
  PlanColumns plan;
  plan.x.assign(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(half));
  plan.y.assign(values.begin() + static_cast<std::ptrdiff_t>(half), values.end());
  return plan;
}

}  // namespace lorvena
