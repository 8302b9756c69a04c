// The scenario's own two descriptions compile without a recorded error, and
// every object they describe ends up on the track and in the table.
#include <gtest/gtest.h>

#include <map>

#include "compiler/compiler.h"
#include "descriptions/dati_linea.h"
#include "descriptions/dati_treno.h"
#include "disk/file_names.h"
#include "disk/system_disk.h"
#include "testing/test_files.h"

namespace lorvena {
namespace {

TEST(ScenarioCompiles, WithoutErrorPlacingEveryObject) {
  ScratchDir dir;
  Scenario model;
  model.scenario_name = "LORVENA PF";
  model.train_number = "4316";
  SystemDisk disk;
  dati_linea(disk, dir.path(), model.scenario_name);
  dati_treno(disk, dir.path(), model.scenario_name, model.train_number);

  const int markers = memorizza_percorso(disk, model, dir.path(), 1, CompileMode::kInstallerRun);

  EXPECT_EQ(model.err_code, 0) << "at " << model.err_pos << " m, reading " << model.stop_file;
  EXPECT_FALSE(std::filesystem::exists(dir / line_description_name(model.scenario_name)));
  EXPECT_FALSE(std::filesystem::exists(dir / train_description_name(model.scenario_name, model.train_number)));
  EXPECT_EQ(testing::list_files(dir.path()), "LORVENA PF_4316.dat|LORVENA PF_4316.sim|LORVENA PF_linea.dat");

  // No slowdowns, so the walk places no marker; every object keeps its own cell.
  EXPECT_EQ(markers, 0);
  std::map<int, int> kinds;
  for (const TrackCell& cell : model.track) ++kinds[cell.kind];
  EXPECT_EQ(kinds[cell_kind::kSignal], 43);
  EXPECT_EQ(kinds[cell_kind::kSpeedIndicator], 17);
  EXPECT_EQ(kinds[cell_kind::kSignBoard], 6);
  EXPECT_EQ(kinds[cell_kind::kStationStop], 16);
  EXPECT_EQ(model.table[28].nome, "LORVENA P.F.");
  EXPECT_EQ(model.table[29].tipo, 0);
  EXPECT_EQ(model.table[kFirstSignSlot - 5].nome, "(IMBOCCO GALLERIA)(   MONTE ARSO   )");
}

}  // namespace
}  // namespace lorvena
