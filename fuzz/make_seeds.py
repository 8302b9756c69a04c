# Writes the hand-made seeds of the compile fuzz target into fuzz/corpus/ (or
# the directory given): one per recorded error, named e<code>_<case>. The two
# e000_scenario_* seeds are the run's own descriptions and are not made here.
import os, sys
out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
CRLF = "\r\n"
def rows(*r): return "".join(x + CRLF for x in r)

GENERAL = rows("[generale]", "lunghezza percorso,    20000",
  "progressiva chilometrica uno,    0,    0,    0",
  "progressiva chilometrica due,    0,    0,    0",
  "progressiva chilometrica tre,    0,    0,    0",
  "sfondo uno,    1", "sfondo due,    2", "sfondo tre,    3",
  "ripetizione segnali 4 codici,    0,    9000")
LINE_BODY = rows("[pendenze]", "pendenza,    0,    0", "pendenza,    2000,   5", "pendenza,    6000,  -3",
  "[curve]", "curvad3,    1000,    400", "curvas2,    3000,    600",
  "[montagne]", "montagna,    4000,    5500,    12", "montagna,    5600,    7000,    2",
  "[indicazioni]", "indicatori_vmax,    8000,    60,    70,    75,    0,    60,    70,    75,    0",
  "[cartelli]", 'cartello_indicatore,    9000,   "GALLERIA, LATO NORD"', "-- commento --")
LINE = GENERAL + LINE_BODY + rows("[fine]")
TRAIN_HEAD = rows("[generale]", "percentuale frenata massa,    120", "numero vetture,    6",
  "orologio,    17              41            45 ", "sabbia,    300")
TRAIN_BODY = rows("[vel_limite]", "velocita,    0,    100", "velocita,    5000,    80",
  "[aderenze]", "aderenza,    0,    90", "aderenza,    8000,    80",
  "[segnali]", "segnale,   15600,   2, 4, 0,  0, 0,    2,  2,0,0, 0",
  "segnale,   2000,    1, 3, 1,  0, 1,    1,  3,0,0, 150",
  "[rallentamenti]", "rallentamento,    10000,    30,    800,    1,    1,    0",
  "[stazioni]",
  "stazione,    4250, 12,  400,  0, 0, 0,  1,1,0,  4,1,1,    1,  17,42, 0, MONTEVERDE",
  "stazione,    12000, 12,  600,  0, 1, 1,  1,1,0,  4,1,1,    1,  17,55, 0, BORGO ALTO",
  "abbattimento, 14000, 3")
TRAIN = TRAIN_HEAD + TRAIN_BODY + rows("[fine]")

def line(body, length=20000):
    return rows("[generale]", "lunghezza percorso,    %d" % length, "[curve]") + body + rows("[fine]")
def train(body): return rows("[generale]") + body + rows("[fine]")
def ind(p, a=60, b=70): return "indicatori_vmax,  %d,  %d,  70,  75,  0,  %d,  70,  75,  0" % (p, a, b)
def station(pos, kind, length, flag4=0): return "stazione,  %d, %d,  %d,  3, 1, %d,  1,1,7,  4,1,1,    60,  17,42, 5, NOME %d" % (pos, kind, length, flag4, pos)
SIG = "segnale, %d, 2, 4, 0, 0, 0, 2, 2, 0, 0, 0"

P, NOP, NOL, NOT = 1, 0, 2, 4
seeds = {
 "e000_run_with_plan": (P, LINE, TRAIN),
 "e000_run_without_plan": (NOP, LINE, TRAIN),
 "e000_station_kinds": (NOP, line(""), train(rows(station(1000, 5, 300), station(2500, 7, 300), station(4000, 30, 600, 1), station(6000, 12, 800, 1)))),
 "e001_length_over_limit": (P, line("", 1000001), train("")),
 "e001_negative_length": (NOP, line("", -50), train("")),
 "e002_reference_off_step": (NOP, rows("[generale]", "lunghezza percorso, 5000", "progressiva chilometrica uno, 25, 0, 0", "[curve]"), train("")),
 "e003_cab_start_off_step": (NOP, GENERAL.replace("0,    9000", "25,    9000") + LINE_BODY, TRAIN),
 "e004_cab_end_off_step": (NOP, GENERAL.replace("0,    9000", "0,    9010") + LINE_BODY, TRAIN),
 "e005_cab_without_code_count": (NOP, GENERAL.replace("segnali 4 codici", "segnali codici") + LINE_BODY, TRAIN),
 "e006_sign_on_indicator": (P, line(rows(ind(500), "cartello_indicatore,  500,   (X)")), train("")),
 "e007_marker_on_marker": (NOP, line(""), train(rows("abbattimento, 1000, 2", "abbattimento, 1010, 0"))),
 "e008_station_off_step": (NOP, line(""), train(rows(station(1025, 12, 300)))),
 "e009_platform_off_step": (NOP, line(""), train(rows(station(1000, 12, 350)))),
 "e010_too_many_stations": (NOP, line(rows(*["cartello_indicatore,  %d,   (S)" % (100 * i + 1000) for i in range(78)])), train(rows(station(1000, 26, 300)))),
 "e011_no_cell_before_signal": (NOP, line(rows(ind(400), "cartello_indicatore,  350,   (X)")), train(rows(SIG % 450, "rallentamento, 2250, 120, 200, 0, 0, 0"))),
 "e012_no_cell_before_slowdown": (NOP, line(rows(ind(750), ind(700), ind(650))), train(rows("rallentamento, 1000, 120, 200, 0, 0, 0"))),
 "e013_no_cell_along_slowdown": (NOP, line(rows(ind(1350), ind(1400), ind(1450))), train(rows("rallentamento, 1000, 30, 1000, 0, 0, 0"))),
 "e015_line_record_beyond": (P, line(rows("pendenza,  26950,   3")), train("")),
 "e015_train_record_beyond": (NOP, line(""), train(rows("velocita,  26950,  50"))),
 "e015_station_beyond": (NOP, line(""), train(rows(station(26300, 12, 300)))),
 "e016_signal_on_signal": (NOP, line(""), train(rows(SIG % 1000, SIG % 1010))),
 "e017_warning_board_cell_taken": (NOP, line(rows(ind(1800))), train(rows("rallentamento, 3000, 30, 500, 0, 0, 0"))),
 "e018_slowdown_start_taken": (NOP, line(""), train(rows(SIG % 3000, "rallentamento, 3000, 30, 500, 0, 0, 0"))),
 "e019_slowdown_end_taken": (NOP, line(rows(ind(1500))), train(rows("rallentamento, 1000, 30, 500, 0, 0, 0"))),
 "e020_approach_cell_taken": (NOP, line(rows(ind(1700))), train(rows("rallentamento, 3000, 30, 500, 0, 1, 0"))),
 "e021_indicator_on_indicator": (NOP, line(rows(ind(500), ind(520))), train("")),
 "e022_stations_too_close": (NOP, line(""), train(rows(station(1000, 12, 300), station(1600, 12, 300)))),
 "e024_station_end_too_early": (NOP, line(""), train(rows(station(0, 12, 100)))),
 "e025_line_bad_number": (P, line(rows("pendenza,  1x00,   3")), train("")),
 "e025_line_record_cut_short": (P, line("") + "montagna,  100", train("")),
 "e025_train_bad_number": (NOP, line(""), train(rows("sabbia, 2o0"))),
 "e025_train_missing": (NOP | NOT, LINE, ""),
 "e025_speed_beyond_a_byte": (NOP, line(""), train(rows("velocita, 0, 1300", "velocita, 500, 50"))),
 "e025_reference_sum_second_addition": (NOP, rows("[generale]", "lunghezza percorso, 5000", "progressiva chilometrica tre, 100, 0, 0", "progressiva chilometrica uno, 2147483600, 0, 0", "[curve]"), train("")),
 "e025_reference_end_plus_100": (NOP, rows("[generale]", "lunghezza percorso, 5000", "progressiva chilometrica uno, 50, 2147483600, 1", "[curve]"), train("")),
 "e025_curve_past_plan_end": (P, line(rows("curvad3,  100,  30000"), 5000), train("")),
 "e101_line_missing": (NOP | NOL, "", TRAIN),
 "e102_no_general_header": (NOP, rows("[curve]", "curvad3,  100,  50"), train("")),
 "e103_curve_without_class": (P, line(rows("curvad,  100,  50")), train("")),
 "e103_plan_over_limit": (P, line(rows("curvad3,  999000,  5000"), 1000000), train("")),
 "e103_plan_over_limit_on_straight": (P, line(rows("curvad3,  1000500,  10"), 1000000), train("")),
 "e1250_first_cell_taken": (NOP, line(""), train(rows("abbattimento, 50, 5"))),
 "e1251_first_cell_second_value_taken": (NOP, line(rows("indicatori_vmax,  0,  0,  70,  75,  0,  0,  70,  75,  0")), train("")),
}
os.makedirs(out, exist_ok=True)
for name, (flags, l, t) in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(bytes([flags]) + l.encode("cp1252") + b"\0" + t.encode("cp1252"))
