#!/usr/bin/env python3
"""The whole run on every shape of big file, timed and measured as users run it.

For each shape the script writes the exchange file at two sizes and times the whole
`dovarin-batch --cancel DIR` process side by side with `mawk '{n+=NF} END{print n}'` on the same
file, in one hyperfine run: one warm-up, medians. Before every timed run the file is copied afresh
into DIR and synced to disk (hyperfine --prepare), since the run replaces it with its answer. It
also measures each build's peak resident memory. It prints, per file and build: the median time,
its ratio to mawk, the time per MB (equal at both sizes when time grows linearly) and peak memory
as a multiple of the file's size.

    bench/hostile_sizes.py BUILD [--compare OTHER_BUILD] [--shapes a,b,...] [--runs N]
                                 [--scale F] [--work DIR] [--wine WINDOWS_BUILD]

BUILD is a native build with the benchmarks (build/native). --compare times a second build's
dovarin-batch in the same hyperfine runs (another branch's, for before and after); its files are
made with BUILD's make_exchange_file. --wine also times the Windows build's read_exchange_file.exe
under Wine on the bench file, next to the Linux build. --scale shrinks or grows every size (0.1
for a quick look). Files go to --work (default /tmp/dovarin-hostile) and are removed after each
shape.
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

MB = 1 << 20
FONT = b"<" + b"F" * 298 + b">"  # a 300-byte font name: a text keeps its first 255 bytes
MAWK = "mawk '{n+=NF} END{print n}'"


def write_repeated(path, head, block, size):
    """head, then whole blocks until the file holds at least `size` bytes."""
    blocks = max(0, -(-(size - len(head)) // len(block)))
    per_write = max(1, (4 * MB) // len(block))
    with open(path, "wb") as out:
        out.write(head)
        while blocks > 0:
            out.write(block * min(blocks, per_write))
            blocks -= per_write


def host_lines(count):
    """Line records as the host writes them: up to 15 significant digits, no trailing zeros."""
    lines, x = [], 12345
    for k in range(count):
        x = (x * 1103515245 + 12345) % (1 << 31)
        a = (x % 2000000 - 1000000) / 10 + (x % 997) / 1000
        b = (x % 3000000 - 1500000) / 100 + (x % 89) / 7
        lines.append(b"%s %s %s %s\r\n" % tuple(
            (b"%.10g" if (k + i) % 4 else b"%.15g") % v for i, v in enumerate((a, b, b, a))))
    return b"".join(lines)


def make_lines(path, size):
    write_repeated(path, b"", host_lines(4096), size)


def make_tiny(path, size):
    write_repeated(path, b"", b"0 0 1 1\r\n", size)


def make_texts(path, size):
    write_repeated(path, b'cn"$' + FONT + b"\r\n", b'ch 1 2 1 0 "a\r\n', size)


def make_chains(path, size):
    write_repeated(path, b"", b"pl\r\n0 0 1 1\r\n1 1 2 2\r\n2 2 3 3\r\n#\r\n", size)


def make_long_line(path, size):
    write_repeated(path, b'ch 1 2 1 0 "', b"x", size)
    with open(path, "ab") as out:
        out.write(b"\r\n")


def make_settings(folder, size):
    """A run folder whose kelm.dat holds a prefix (line 9) of `size` bytes."""
    scenario = Path(__file__).resolve().parent.parent / "tests/scenarios/ok-worked-example"
    folder.mkdir(parents=True, exist_ok=True)
    shutil.copy(scenario / "JWC_TEMP.TXT", folder / "JWC_TEMP.TXT")
    lines = (scenario / "kelm.dat").read_bytes().split(b"\r\n")
    lines[8] = b"x" * size
    (folder / "kelm.dat").write_bytes(b"\r\n".join(lines))
    return folder / "kelm.dat"


def make_mix(build, mix, bytes_per_record):
    def make(path, size):
        records = max(1000, int(size / bytes_per_record))
        subprocess.run([str(build / "bench/make_exchange_file"), str(path), str(records), mix],
                       check=True, stdout=subprocess.DEVNULL)
    return make


# name: (maker, the two sizes in bytes)
def shapes(build):
    return {
        "realistic": (make_mix(build, "realistic", 38.6), (48 * MB, 96 * MB)),
        "bench": (make_mix(build, "bench", 44), (44 * MB, 88 * MB)),
        "lines": (make_lines, (512 * MB, 1024 * MB)),
        "tiny": (make_tiny, (45 * MB, 90 * MB)),  # 5 and 10 million entities
        "texts": (make_texts, (75 * MB, 150 * MB)),  # 5 and 10 million texts
        "chains": (make_chains, (50 * MB, 100 * MB)),
        "longline": (make_long_line, (50 * MB, 100 * MB)),
        "settings": (None, (5 * MB, 10 * MB)),
    }


# mawk needs minutes for one line of 100 MB: a single run of each command is enough there.
SINGLE_RUN = {"longline"}


def medians(commands, runs, prepare):
    with tempfile.NamedTemporaryFile(suffix=".json") as report:
        # -N runs the commands without a shell; the preparation needs one.
        subprocess.run(["hyperfine", "-N", "-w1", "-r", str(runs), "--prepare",
                        f"sh -c '{prepare}'",
                        "--export-json", report.name, *commands], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        results = json.load(open(report.name))["results"]
    return [r["median"] for r in results]


def peak_kb(command, prepare):
    subprocess.run(prepare, shell=True, check=True)
    run = subprocess.run(["/usr/bin/time", "-f", "%M", *command.split()],
                         capture_output=True, text=True)
    return int(run.stderr.strip().splitlines()[-1])


def measure(builds, shape, source, run_dir, runs):
    """source: the file (or, for settings, the folder's kelm.dat) that each run starts from."""
    size = source.stat().st_size
    if shape == "settings":
        # OK with the settings file: both files are written back, so both are copied afresh.
        prepare = f"cp {source.parent}/kelm.dat {source.parent}/JWC_TEMP.TXT {run_dir}/ && sync"
        runs_of = [f"{b}/src/app/batch/dovarin-batch {run_dir}" for b in builds]
        yardstick = f"{MAWK} {run_dir}/kelm.dat"
    else:
        prepare = f"cp {source} {run_dir}/JWC_TEMP.TXT && sync"
        runs_of = [f"{b}/src/app/batch/dovarin-batch --cancel {run_dir}" for b in builds]
        yardstick = f"{MAWK} {run_dir}/JWC_TEMP.TXT"
    runs = 1 if shape in SINGLE_RUN else runs
    times = medians([*runs_of, yardstick], runs, prepare)
    mawk_s = times[-1]
    for label, command, run_s in zip(("build", "compare"), runs_of, times):
        peak = peak_kb(command, prepare)
        print(f"{shape:9} {size / MB:8.1f} {label:>8} "
              f"{run_s * 1000:9.0f} {mawk_s * 1000:9.0f} {run_s / mawk_s:6.2f} "
              f"{run_s * 1000 / (size / MB):8.2f} {peak / 1024:9.1f} {peak * 1024 / size:7.2f}",
              flush=True)


def wine_comparison(build, windows_build, work, runs):
    path = work / "bench.txt"
    make_mix(build, "bench", 44)(path, 44 * MB)
    exe = windows_build / "bench/read_exchange_file.exe"
    os.environ.update(WINEDEBUG="-all", WINEPREFIX=str(windows_build / "wineprefix"))
    linux_s, wine_s = medians([f"{build}/bench/read_exchange_file {path}",
                               f"wine {exe} {path}"], runs, "true")
    print(f"\nbench file {path.stat().st_size / MB:.1f} MB: Linux build {linux_s * 1000:.0f} ms, "
          f"Windows build under Wine {wine_s * 1000:.0f} ms, ratio {wine_s / linux_s:.2f}")
    path.unlink()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", type=Path)
    parser.add_argument("--compare", type=Path, metavar="OTHER_BUILD")
    parser.add_argument("--shapes",
                        default="realistic,bench,lines,tiny,texts,chains,longline,settings")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--scale", type=float, default=1.0)
    parser.add_argument("--work", type=Path, default=Path(tempfile.gettempdir()) /
                        "dovarin-hostile")
    parser.add_argument("--wine", type=Path, metavar="WINDOWS_BUILD")
    args = parser.parse_args()
    build = args.build.resolve()
    builds = [build] + ([args.compare.resolve()] if args.compare else [])
    run_dir = args.work / "run"
    run_dir.mkdir(parents=True, exist_ok=True)
    table = shapes(build)
    print(f"{'shape':9} {'MB':>8} {'':>8} {'run ms':>9} {'mawk ms':>9} {'ratio':>6} "
          f"{'ms/MB':>8} {'peak MB':>9} {'x size':>7}")
    for shape in args.shapes.split(","):
        maker, sizes = table[shape]
        for size in sizes:
            size = int(size * args.scale)
            if shape == "settings":
                source = make_settings(args.work / "settings", size)
            else:
                source = args.work / f"{shape}.txt"
                maker(source, size)
            measure(builds, shape, source, run_dir, args.runs)
            if shape == "settings":
                shutil.rmtree(source.parent)
            else:
                source.unlink()
    shutil.rmtree(run_dir)
    if args.wine:
        wine_comparison(build, args.wine.resolve(), args.work, args.runs)
    return 0


if __name__ == "__main__":
    sys.exit(main())
