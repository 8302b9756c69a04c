#include "compiler/packing.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "testing/compile_fixture.h"

namespace lorvena {
namespace {

using testing::CompileFixture;
using testing::line_text;
using testing::read_bytes;
using testing::train_text;

template <typename T>
T read_le(const std::string& bytes, size_t at) {
  using U = std::make_unsigned_t<T>;
  U value = 0;
  for (size_t i = 0; i < sizeof(T); ++i) value |= static_cast<U>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  return static_cast<T>(value);
}

TEST(CompiledFiles, TableWithEmptyNamesIs2958Bytes) {
  Scenario m;
  EXPECT_EQ(table_bytes(m).size(), 2958u);
  m.table[85].nome = "LORVENA PF";
  m.table[85].ora = 31704;
  m.table[85].val1 = 610;
  m.table[1].tipo = 12;
  m.table[1].inizio = -5;
  std::string bytes = table_bytes(m);
  ASSERT_EQ(bytes.size(), 2968u);
  EXPECT_EQ(bytes[34], 12);                   // entry 1 starts after entry 0's 34 bytes
  EXPECT_EQ(read_le<int32_t>(bytes, 35), -5);
  size_t e85 = 85 * 34;
  EXPECT_EQ(read_le<uint16_t>(bytes, e85 + 14), 10);
  EXPECT_EQ(bytes.substr(e85 + 16, 10), "LORVENA PF");
  EXPECT_EQ(read_le<int16_t>(bytes, e85 + 26), 610);
  EXPECT_EQ(read_le<int32_t>(bytes, e85 + 40), 31704);
}

TEST(CompiledFiles, TrackCellsAre15BytesInMemberOrder) {
  Scenario m;
  size_model(m, 25);
  TrackCell& c = m.track[2];
  c = TrackCell{1, -2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  std::string bytes = track_bytes(m);
  ASSERT_EQ(bytes.size(), 15u * 141);
  EXPECT_EQ(bytes.substr(30, 15), std::string("\x01\xFE\xFF\x03\x00\x04\x00\x05\x00\x06\x07\x08\x09\x0A\x0B", 15));
}

TEST(CompiledFiles, PlanIsDecodedPointByPoint) {
  CompileFixture f;
  f.compile(line_text("curvad6,  10,  5\r\n", 25), train_text(""));
  ASSERT_EQ(f.model.err_code, 0);
  std::string bytes = read_bytes(f.dir / "LORVENA PF_linea.dat");
  const int64_t points = 7026;  // metres 0..7025
  // Two integer points, 7022 doubles (metres 2..7023) and two empty elements a column.
  ASSERT_EQ(bytes.size(), static_cast<size_t>(2 * (2 * 4 + 7022 * 10 + 2 * 2)));
  size_t at = 0;
  for (const PlanColumn* column : {&f.model.profile.x, &f.model.profile.y}) {
    for (int64_t i = 0; i < points; ++i) {
      uint16_t tag = read_le<uint16_t>(bytes, at);
      at += 2;
      if (i < 2) {
        ASSERT_EQ(tag, kTagInteger) << i;
        EXPECT_EQ(read_le<int16_t>(bytes, at), column == &f.model.profile.y ? i : 0);
        at += 2;
      } else if (i <= 7023) {
        ASSERT_EQ(tag, kTagDouble) << i;
        EXPECT_EQ(std::bit_cast<double>(read_le<uint64_t>(bytes, at)), (*column)[static_cast<size_t>(i)]);
        at += 8;
      } else {
        EXPECT_EQ(tag, kTagEmpty) << i;
      }
    }
  }
  EXPECT_EQ(at, bytes.size());
  // Straight up the y axis to metre 10, then turning right by 0.003 a metre.
  EXPECT_EQ(f.model.profile.x[10], 0.0);
  EXPECT_EQ(f.model.profile.y[10], 10.0);
  EXPECT_EQ(f.model.profile.x[11], 0.003);
  EXPECT_EQ(f.model.profile.y[11], 11.0);
  EXPECT_EQ(f.model.profile.x[12], (0.003 + 0.003) + 0.003 * 1.0);
  EXPECT_EQ(f.model.profile.y[12], (11.0 + 1.0) - 0.003 * 0.003);
}

TEST(CompiledFiles, OlderLongerFilesAreReplacedAndThePlanOnlyWithItsFlag) {
  CompileFixture f;
  std::string old(100000, 'x');
  testing::write_bytes(f.dir / "LORVENA PF_4316.dat", old);
  testing::write_bytes(f.dir / "LORVENA PF_4316.sim", old);
  testing::write_bytes(f.dir / "LORVENA PF_linea.dat", old);
  f.compile(line_text("", 25), train_text(""), 0);
  EXPECT_EQ(read_bytes(f.dir / "LORVENA PF_4316.dat").size(), 15u * 141);
  EXPECT_EQ(read_bytes(f.dir / "LORVENA PF_4316.sim").size(), 2958u + 14);
  EXPECT_EQ(read_bytes(f.dir / "LORVENA PF_linea.dat"), old);
  EXPECT_EQ(testing::list_files(f.dir.path()), "LORVENA PF_4316.dat|LORVENA PF_4316.sim|LORVENA PF_linea.dat");
}

TEST(CompiledFiles, NoTrackMeansNoCompiledFiles) {
  for (std::optional<std::string> line :
       {std::optional<std::string>{}, std::optional<std::string>{"[generale]\r\n[fine]\r\n"},
        std::optional<std::string>{"[curve]\r\n"}, std::optional<std::string>{line_text("", 2000000)}}) {
    CompileFixture f;
    f.compile(line, train_text(""));
    EXPECT_NE(f.model.err_code, 0);
    EXPECT_EQ(testing::list_files(f.dir.path()).find(".dat"), std::string::npos);
  }
}

}  // namespace
}  // namespace lorvena
