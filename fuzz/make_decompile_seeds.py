# Writes the kept seeds of the decompile fuzz target into fuzz/decompile_corpus/
# (or the directory given), packed as the target reads them: two 4-byte
# little-endian sizes (track, table), the track, the table, then the plan.
# They come from compiling the starter pair of `scenario_tool new` and the
# example pair with a built tool (TOOL, default build/debug/scenario_tool),
# under the name and train the target decompiles with (FUZZ 1: the stamps
# depend on them); plans are cut to their first metres so that seeds stay small.
import os, shutil, struct, subprocess, sys, tempfile

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "fuzz", "decompile_corpus")
tool = os.environ.get("TOOL", os.path.join(root, "build", "debug", "scenario_tool"))
ELEMENT = {0: 2, 2: 4, 5: 10}  # plan tag: element size in bytes


def run(*args):
    subprocess.run([tool, *args], check=True, stdout=subprocess.DEVNULL)


def compiled(line, train, plan):
    with tempfile.TemporaryDirectory() as d:
        shutil.copy(line, os.path.join(d, "FUZZ_linea.txt"))
        shutil.copy(train, os.path.join(d, "FUZZ_1-.txt"))
        run("compile", d, "FUZZ", "1", *([] if plan else ["--no-plan"]))
        read = lambda f: open(os.path.join(d, f), "rb").read()
        return read("FUZZ_1.dat"), read("FUZZ_1.sim"), read("FUZZ_linea.dat") if plan else None


def elements(column):
    at, found = 0, []
    while at < len(column):
        size = ELEMENT[struct.unpack_from("<H", column, at)[0]]
        found.append(column[at:at + size])
        at += size
    return found


def cut_plan(plan, metres):
    every = elements(plan)
    half = len(every) // 2
    return b"".join(every[:metres]) + b"".join(every[half:half + metres])


def pack(track, table, plan=None):
    return struct.pack("<II", len(track), len(table)) + track + table + (plan or b"")


def main():
    os.makedirs(out, exist_ok=True)
    with tempfile.TemporaryDirectory() as d:
        run("new", d, "BORGO", "7")
        starter = compiled(os.path.join(d, "BORGO_linea.txt"), os.path.join(d, "BORGO_7-.txt"), True)
    ex = os.path.join(root, "examples")
    example = compiled(os.path.join(ex, "VALDORNO_linea.txt"), os.path.join(ex, "VALDORNO_2417-.txt"), False)
    track, table, plan = starter
    unused_kind = bytearray(track)
    unused_kind[15 * 40] = 7  # cell 40 of a kind no record writes
    seeds = {
        "starter_without_plan": pack(track, table),
        "starter_plan_first_2000_m": pack(track, table, cut_plan(plan, 2000)),
        "example_without_plan": pack(*example[:2]),
        "starter_cell_of_unused_kind": pack(bytes(unused_kind), table),
        "starter_table_cut_short": pack(track, table[:-7]),
        "starter_track_not_whole_cells": pack(track[:-4], table),
    }
    for name, data in seeds.items():
        open(os.path.join(out, name), "wb").write(data)


main()
