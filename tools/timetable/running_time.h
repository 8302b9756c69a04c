// The fastest run a train can make along a compiled scenario: from a stand at
// its first station, at the line's speed limits and slowdowns, accelerating
// and braking as adhesion, gradient and braked mass allow, stopping at each
// station that has a time. docs/authors-guide.md states the model.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compiler/model.h"

namespace lorvena {

// The model's constants. A positive gradient climbs as the chainage rises.
struct TrainModel {
  double gravity = 9.81;                // m/s²
  double traction = 0.6;                // m/s²: the most the traction gives, up to full_power_kmh
  double full_power_kmh = 60;           // above it the traction falls as 1 / speed (constant power)
  double adhesion_full = 0.30;          // the coefficient of adhesion at adhesion 100 %
  double driven_share = 0.5;            // the share of the train's weight on driven axles
  double sand_gain = 1.2;               // the coefficient with sand on board (sabbia above 0)
  double braking_per_percent = 0.007;   // m/s² of service braking per percent of braked mass
  double coach_length = 25;             // m
  double dwell = 30;                    // s: the shortest stop at a station
};

// What the run takes from the train's description (entries 84 and 86).
struct TrainData {
  double braked_percent = 0;
  int64_t coaches = 0;
  bool sand = false;
};

TrainData train_data(const Scenario& m);

// The accelerations of the model at one place, in m/s² (gradient in ‰).
double traction_at(const TrainModel& model, const TrainData& train, double speed, int adhesion, double gradient);
double braking_at(const TrainModel& model, const TrainData& train, int adhesion, double gradient);
// The steepest climb the train can start on, and the steepest descent its
// brakes hold it on, in ‰, at an adhesion in per cent.
double steepest_climb(const TrainModel& model, const TrainData& train, int adhesion);
double steepest_descent(const TrainModel& model, const TrainData& train, int adhesion);

// A station of the table as the run meets it.
struct RunStation {
  int32_t entry = 0;
  std::string name;               // Windows-1252
  int64_t chainage = 0;           // posizione
  int64_t stop_at = 0;            // where the train stops: its stop cell, or posizione without one
  std::optional<int32_t> scheduled;  // seconds of the day; none at 0:00:00
  std::optional<double> earliest;    // arrival (or passing), seconds from midnight; none: never reached
  std::optional<double> departure;   // when the train leaves, at a stop
};

enum class StallCause { kNone, kNoSpeed, kNoAdhesion, kCannotClimb };

struct FastestRun {
  int64_t from = 0;           // metres: the first station's stop, or 0
  int64_t to = 0;             // the last station with a time, or the line's end
  double start_time = 0;      // seconds of the day: the clock
  std::vector<float> speed;   // m/s at each metre from `from` to `to`
  std::vector<RunStation> stations;
  std::optional<int64_t> stalled_at;  // where the train stands and cannot go on
  StallCause stall = StallCause::kNone;
};

FastestRun fastest_run(const Scenario& m, const TrainModel& model = {});

// The line's limit at each metre from `from` to `to` (speed limits and
// slowdowns, a rise taken once the train's rear has passed), in m/s.
std::vector<float> speed_ceiling(const Scenario& m, int64_t from, int64_t to, double train_length);

// Where a train braking from `speed` m/s at metre `from` comes down to
// `target` m/s, in metres past `from`; none within `reach` metres.
std::optional<int64_t> braking_distance(const Scenario& m, const TrainModel& model, const TrainData& train,
                                        int64_t from, double speed, double target, int64_t reach);

}  // namespace lorvena
