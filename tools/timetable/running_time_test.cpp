// The running-time model against runs worked by hand: constant acceleration
// over a known distance, a stop from a known speed, the bounds on gradients,
// a rise of the limit taken behind the train's rear, and runs that stall.
#include "tools/timetable/running_time.h"

#include <cmath>

#include <gtest/gtest.h>

#include "tools/timetable/timetable.h"

namespace lorvena {
namespace {

// A straight line of `length` m at one speed limit, gradient and adhesion.
Scenario line_of(int32_t length, int kmh, int gradient = 0, int adhesion = 100) {
  Scenario m;
  size_model(m, length);
  for (TrackCell& c : m.track) {
    c.speed_limit = static_cast<uint8_t>(kmh / 5);
    c.gradient = static_cast<uint8_t>(gradient + 100);
    c.adhesion = static_cast<uint8_t>(adhesion);
  }
  m.table[kLineEntry].fine = length;
  m.table[kLineEntry].inizio = 100;  // braked mass 100 %: 0.7 m/s² of braking
  return m;
}

// A station without a stop cell (tipo 25), so that the train stops at `at` itself.
void station(Scenario& m, int32_t entry, int32_t at, int32_t ora) {
  TableEntry& e = m.table[static_cast<size_t>(entry)];
  e.tipo = 25;
  e.posizione = at;
  e.inizio = at - 100;
  e.fine = at + 100;
  e.ora = ora;
  e.nome = "S" + std::to_string(entry);
}

void set_clock(Scenario& m, int h, int min, int s) {
  m.table[kTrainEntry].val3 = static_cast<int16_t>(h);
  m.table[kTrainEntry].val4 = static_cast<int16_t>(min);
  m.table[kTrainEntry].val5 = static_cast<int16_t>(s);
}

// The traction kept at 0.6 m/s² at every speed: no power limit.
TrainModel constant_traction() {
  TrainModel model;
  model.full_power_kmh = 1000;
  return model;
}

double speed_at(const FastestRun& run, int64_t metre) { return run.speed.at(static_cast<size_t>(metre - run.from)); }

TEST(RunningTime, AcceleratesAndBrakesOverAKnownDistance) {
  // From a stand at 1000 m to a stop at 2000 m, limit 250 km/h (never
  // reached). Accelerating at a = 0.6 m/s² and braking at b = 0.7 m/s², the
  // two curves meet where 2·a·d = 2·b·(1000 − d): d = 1400 / 2.6 = 538.46 m,
  // at v = sqrt(1.2 · 538.46) = 25.42 m/s. Then t = v/a + v/b = 42.37 + 36.31
  // = 78.68 s; 300 m out the train runs at sqrt(1.2 · 300) = 18.97 m/s.
  Scenario m = line_of(5000, 250);
  set_clock(m, 8, 0, 0);
  station(m, 1, 1000, 8 * 3600);
  station(m, 2, 2000, 8 * 3600 + 120);
  FastestRun run = fastest_run(m, constant_traction());
  EXPECT_EQ(run.from, 1000);
  EXPECT_EQ(run.to, 2000);
  EXPECT_NEAR(speed_at(run, 1300), 18.97, 0.05);
  EXPECT_NEAR(speed_at(run, 1538), 25.42, 0.05);
  EXPECT_NEAR(speed_at(run, 1800), std::sqrt(2 * 0.7 * 200), 0.05);  // 16.73 m/s, 200 m before the stop
  EXPECT_EQ(speed_at(run, 2000), 0);
  ASSERT_TRUE(run.stations[1].earliest);
  EXPECT_NEAR(*run.stations[1].earliest - 8 * 3600, 78.68, 0.3);
  EXPECT_EQ(margin_seconds(run.stations[1]), 120 - 79);  // 78.68 s rounds up to 79
}

TEST(RunningTime, StopsFromAKnownSpeed) {
  // Limit 90 km/h = 25 m/s, braked mass 105 %: b = 0.735 m/s². The stop at
  // 10000 m takes 25² / (2 · 0.735) = 425.17 m and 25 / 0.735 = 34.01 s.
  // Accelerating to 25 m/s at 0.6 m/s² takes 520.83 m and 41.67 s, and the
  // 9054.0 m between run at 25 m/s in 362.16 s: 437.84 s in all.
  Scenario m = line_of(20000, 90);
  m.table[kLineEntry].inizio = 105;
  station(m, 1, 0, 0);
  station(m, 2, 10000, 1000);
  FastestRun run = fastest_run(m, constant_traction());
  EXPECT_NEAR(speed_at(run, 9570), 25.0, 0.01);  // 430 m before: still at the limit
  EXPECT_NEAR(speed_at(run, 9700), std::sqrt(2 * 0.735 * 300), 0.05);  // 21.00 m/s
  EXPECT_NEAR(speed_at(run, 9900), std::sqrt(2 * 0.735 * 100), 0.05);  // 12.12 m/s
  ASSERT_TRUE(run.stations[1].earliest);
  EXPECT_NEAR(*run.stations[1].earliest, 437.84, 0.5);
}

TEST(RunningTime, ClimbsAndBrakesWithTheGradient) {
  // On a 10 ‰ climb: traction 0.6 − 9.81 · 0.010 = 0.5019 m/s², braking
  // 0.735 + 0.0981 = 0.8331 m/s².
  TrainModel model;
  TrainData train{105, 4, false};
  EXPECT_NEAR(traction_at(model, train, 5, 100, 10), 0.5019, 1e-4);
  EXPECT_NEAR(braking_at(model, train, 100, 10), 0.8331, 1e-4);
  // Above 60 km/h the traction falls with the speed: at 120 km/h, half.
  EXPECT_NEAR(traction_at(model, train, 120 / 3.6, 100, 0), 0.3, 1e-9);
  // The bounds W-gradient tells: 0.6 / 9.81 = 61.2 ‰ at full adhesion; at
  // 20 %, the grip of half the weight: 0.30 · 0.2 · 0.5 = 0.03, 30 ‰. Held
  // by brakes of 0.735 m/s²: 74.9 ‰; at adhesion 10 %: 0.03 · 9.81, 30 ‰.
  EXPECT_NEAR(steepest_climb(model, train, 100), 61.16, 0.01);
  EXPECT_NEAR(steepest_climb(model, train, 20), 30.0, 0.01);
  EXPECT_NEAR(steepest_descent(model, train, 100), 74.92, 0.01);
  EXPECT_NEAR(steepest_descent(model, train, 10), 30.0, 0.01);
  // Sand raises the grip by a fifth: 36 ‰ at 20 %.
  EXPECT_NEAR(steepest_climb(model, TrainData{105, 4, true}, 20), 36.0, 0.01);
}

TEST(RunningTime, TakesARiseOfTheLimitOnceTheRearHasPassedIt) {
  // 60 km/h up to 3000 m, 120 km/h after; 4 coaches of 25 m: the train may
  // speed up only once its front is at 3100 m. A drop is taken at the front.
  Scenario m = line_of(6000, 60);
  m.table[kLineEntry].posizione = 4;
  for (size_t c = 60; c < m.track.size(); ++c) m.track[c].speed_limit = 24;
  std::vector<float> ceiling = speed_ceiling(m, 0, 6000, 100);
  EXPECT_NEAR(ceiling[3050], 60 / 3.6, 1e-4);
  EXPECT_NEAR(ceiling[3099], 60 / 3.6, 1e-4);
  EXPECT_NEAR(ceiling[3100], 120 / 3.6, 1e-4);
  // A slowdown (start in cell 81, end in cell 91: 4000 to 4500 m) at 30 km/h.
  m.track[81].kind = cell_kind::kSlowdownStart;
  m.track[81].param1 = 30;
  m.track[91].kind = cell_kind::kSlowdownEnd;
  m.track[91].param1 = 30;
  ceiling = speed_ceiling(m, 0, 6000, 100);
  EXPECT_NEAR(ceiling[3999], 120 / 3.6, 1e-4);
  EXPECT_NEAR(ceiling[4000], 30 / 3.6, 1e-4);
  EXPECT_NEAR(ceiling[4600], 30 / 3.6, 1e-4);
  EXPECT_NEAR(ceiling[4601], 120 / 3.6, 1e-4);
}

TEST(RunningTime, WaitsForTheTimeAndDwellsAtEachStop) {
  // Three stops 1000 m apart on the run of the first test (78.68 s each):
  // the train leaves the first at 8:00:00, reaches the second at 8:01:19 and
  // waits for its time 8:03:00; without a time for the third, it does not stop there.
  Scenario m = line_of(5000, 250);
  set_clock(m, 7, 59, 0);
  station(m, 1, 1000, 8 * 3600);
  station(m, 2, 2000, 8 * 3600 + 180);
  station(m, 3, 3000, 0);
  station(m, 4, 4000, 8 * 3600 + 360);
  FastestRun run = fastest_run(m, constant_traction());
  EXPECT_EQ(run.start_time, 7 * 3600 + 59 * 60);
  EXPECT_EQ(run.stations[0].earliest, run.start_time);
  EXPECT_EQ(run.stations[0].departure, 8 * 3600);
  EXPECT_NEAR(*run.stations[1].earliest, 8 * 3600 + 78.68, 0.3);
  EXPECT_EQ(run.stations[1].departure, 8 * 3600 + 180);
  EXPECT_FALSE(run.stations[2].departure);  // passed at speed
  EXPECT_GT(speed_at(run, 3000), 30);
  EXPECT_TRUE(run.stations[3].earliest);
  // A time that comes before the arrival: the dwell of 30 s counts.
  m.table[2].ora = 8 * 3600 + 60;
  run = fastest_run(m, constant_traction());
  EXPECT_NEAR(*run.stations[1].departure, 8 * 3600 + 78.68 + 30, 0.3);
}

TEST(RunningTime, StallsWhereTheTrainCannotGoOn) {
  // A stretch of 0 km/h at 3000-3500 m: the train stands at its start, and
  // no station after it is reached.
  Scenario m = line_of(8000, 100);
  station(m, 1, 1000, 100);
  station(m, 2, 6000, 2000);
  for (size_t c = 60; c < 70; ++c) m.track[c].speed_limit = 0;
  FastestRun run = fastest_run(m);
  ASSERT_TRUE(run.stalled_at);
  EXPECT_EQ(*run.stalled_at, 3000);
  EXPECT_EQ(run.stall, StallCause::kNoSpeed);
  EXPECT_FALSE(run.stations[1].earliest);
  EXPECT_NE(timetable_text(m, run).find("not reached"), std::string::npos);

  // An 80 ‰ climb from 2000 m on: the train brakes for nothing, rolls into
  // it at 100 km/h and loses 0.6 − 0.785 m/s² a metre, 27.8² / 0.37 = 2088 m in.
  m = line_of(8000, 100);
  station(m, 1, 1000, 100);
  station(m, 2, 6000, 2000);
  for (size_t c = 40; c < m.track.size(); ++c) m.track[c].gradient = 180;
  run = fastest_run(m, constant_traction());
  ASSERT_TRUE(run.stalled_at);
  EXPECT_NEAR(static_cast<double>(*run.stalled_at), 2000 + (100 / 3.6) * (100 / 3.6) / (2 * (0.7848 - 0.6)), 20);
  EXPECT_EQ(run.stall, StallCause::kCannotClimb);
}

TEST(RunningTime, BrakingDistanceFromTheLineSpeed) {
  // 160 km/h (44.44 m/s) down to 30 km/h (8.33 m/s) at 0.7 m/s²:
  // (44.44² − 8.33²) / 1.4 = 1361 m, more than the 1200 m of a warning board.
  Scenario m = line_of(20000, 160);
  TrainData train = train_data(m);
  EXPECT_FALSE(braking_distance(m, {}, train, 5000, 160 / 3.6, 30 / 3.6, 1200));
  std::optional<int64_t> needs = braking_distance(m, {}, train, 5000, 160 / 3.6, 30 / 3.6, 5000);
  ASSERT_TRUE(needs);
  EXPECT_NEAR(static_cast<double>(*needs), 1361, 2);
}

}  // namespace
}  // namespace lorvena
