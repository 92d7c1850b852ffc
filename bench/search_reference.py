#!/usr/bin/env python3
"""Independent check of the time search's exact moments (run by hand, not a test).

Dense scan plus bisection of every (transit - natal - angle) difference on the
ephemeris library's own positions (through ctypes, not through orbeta), compared with
the hit records of `orbeta-cli search --hit-file` (and, given, of the plain cubic
written by `search_bench --dump-plain`). Prints the crossings missed, the records
that match none, and the largest time errors.

    search_reference.py ORBETA_CLI WORKSPACE [PLAIN_HITS]
"""
import ctypes
import json
import os
import struct
import subprocess
import sys
import tempfile

EPHE = b"/usr/share/libswe/ephe/"
SWE = ctypes.CDLL("libswe.so.2")
SWE.swe_set_ephe_path(ctypes.c_char_p(EPHE))
SWE.swe_calc_ut.argtypes = [ctypes.c_double, ctypes.c_int, ctypes.c_int,
                            ctypes.POINTER(ctypes.c_double), ctypes.c_char_p]
SWE.swe_julday.restype = ctypes.c_double
SWE.swe_julday.argtypes = [ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_double, ctypes.c_int]
XX = (ctypes.c_double * 6)()
ERR = ctypes.create_string_buffer(256)


def lon(jd, body):  # BodyId 1..10 -> library 0..9
    SWE.swe_calc_ut(jd, body - 1, 2, XX, ERR)  # SEFLG_SWIEPH
    return XX[0]


def speed(jd, body):
    SWE.swe_calc_ut(jd, body - 1, 2 | 256, XX, ERR)  # SEFLG_SPEED
    return XX[3]


def bisect(f, lo, hi, iterations=45):
    flo = f(lo)
    for _ in range(iterations):
        mid = (lo + hi) / 2
        fm = f(mid)
        if (fm < 0) == (flo < 0):
            lo, flo = mid, fm
        else:
            hi = mid
    return (lo + hi) / 2


def check_ingresses_and_stations(cli, ws):
    """Ingresses of Sun..Pluto and stations of Mercury..Pluto in 2025."""
    out = json.loads(subprocess.check_output([cli, "--workspace", ws, "search"] + CHART + [
        "--table", "3", "--from", "01.01.2025 00:00", "--to", "01.01.2026 00:00",
        "--moving", "1,2,3,4,5,6,7,8,9,10", "--json"]))
    found = [(h["a"], h["start"]) for h in out["hits"]]
    step, worst, missed = 0.05, 0.0, 0
    n = int((END - START) / step)
    count = 0
    for body in range(1, 11):
        prev = lon(START, body)
        for k in range(1, n + 1):
            cur = lon(START + k * step, body)
            if int(prev // 30) != int(cur // 30):
                boundary = 30.0 * round(cur / 30.0)
                t = bisect(lambda x: wrap(lon(x, body) - boundary), START + (k - 1) * step, START + k * step)
                count += 1
                near = [abs(s - t) for (a, s) in found if a == body and abs(s - t) < 0.01]
                if not near:
                    missed += 1
                else:
                    worst = max(worst, min(near) * 86400)
            prev = cur
    print(f"ingresses: reference {count}, orbeta {len(found)}, missed {missed}, max error {worst:.3f} s")
    worst = 0.0
    for body in range(3, 11):
        out = json.loads(subprocess.check_output([cli, "--workspace", ws, "search"] + CHART + [
            "--table", "5", "--planet", str(body), "--from", "01.01.2025 00:00", "--to", "01.01.2026 00:00",
            "--json"]))
        ref = []
        prev = speed(START, body)
        for k in range(1, 366):
            cur = speed(START + k, body)
            if prev * cur <= 0:
                ref.append(bisect(lambda x: speed(x, body), START + k - 1, START + k))
            prev = cur
        got = [s["moment"] for s in out["stations"]]
        if len(got) != len(ref):
            print(f"stations of {body}: reference {len(ref)}, orbeta {len(got)}")
        for a, b in zip(got, ref):
            worst = max(worst, abs(a - b) * 86400)
    print(f"stations: max error {worst:.1f} s")


def wrap(x):
    return (x + 180.0) % 360.0 - 180.0


CHART = ["--date", "16.05.1945 05:00:00", "--gmt", "-3", "--lat", "55.45", "--lon", "37.37", "--house", "3"]
START, END = SWE.swe_julday(2025, 1, 1, 0.0, 1), SWE.swe_julday(2026, 1, 1, 0.0, 1)
ASPECTS = [0, 60, 90, 120, 180]
TARGETS = list(range(1, 11)) + [16, 25]


def read_hits(path):
    data = open(path, "rb").read()
    hits = []
    for p in range(0, len(data) - 73, 74):
        start = struct.unpack_from("<d", data, p)[0]
        a, b = data[p + 43], data[p + 44]
        aspect = struct.unpack_from("<d", data, p + 46)[0]
        hits.append((a, b, aspect, start))
    return hits


def main():
    cli, ws = sys.argv[1], sys.argv[2]
    chart = json.loads(subprocess.check_output([cli, "--workspace", ws, "chart", "--json"] + CHART))
    natal = {p: chart["lon"][p - 1] for p in range(1, 11)}
    natal[16], natal[25] = chart["cusp"][0], chart["cusp"][9]
    with tempfile.TemporaryDirectory() as tmp:
        hit_file = os.path.join(tmp, "hits")
        subprocess.check_output([cli, "--workspace", ws, "search"] + CHART + [
            "--table", "2", "--from", "01.01.2025 00:00", "--to", "01.01.2026 00:00",
            "--moving", "1,2,3,4,5,6,7,8,9,10", "--targets", ",".join(map(str, TARGETS)),
            "--aspects", " ".join(map(str, ASPECTS)), "--hit-file", hit_file])
        hits = read_hits(hit_file)
    step = 0.05
    n = int((END - START) / step) + 1
    reference = []
    for a in range(1, 11):
        samples = [lon(START + k * step, a) for k in range(n + 1)]
        for b in TARGETS:
            for angle in ASPECTS:
                for signed in ([angle] if angle in (0, 180) else [angle, -angle]):
                    g = [wrap(s - natal[b] - signed) for s in samples]
                    for k in range(n):
                        if g[k] == 0 or (g[k] < 0) != (g[k + 1] < 0):
                            if abs(g[k] - g[k + 1]) > 90:
                                continue  # the wrap at 180, not a crossing
                            lo, hi = START + k * step, START + (k + 1) * step
                            glo = g[k]
                            for _ in range(45):
                                mid = (lo + hi) / 2
                                gm = wrap(lon(mid, a) - natal[b] - signed)
                                if (gm < 0) == (glo < 0):
                                    lo, glo = mid, gm
                                else:
                                    hi = mid
                            t = (lo + hi) / 2
                            if START <= t < END:
                                reference.append((a, b, float(angle), t))
    files = [("orbeta-cli search", hits)]
    if len(sys.argv) > 3:
        files.append(("plain cubic", read_hits(sys.argv[3])))
    print(f"reference crossings: {len(reference)}")
    for name, found in files:
        unused = list(found)
        worst, worst_of, missed = 0.0, None, 0
        for (a, b, angle, t) in reference:
            cands = [h for h in unused if h[0] == a and h[1] == b and abs(h[2] - angle) < 1e-9 and abs(h[3] - t) < 0.01]
            if not cands:
                missed += 1
                continue
            h = min(cands, key=lambda h: abs(h[3] - t))
            unused.remove(h)
            err = abs(h[3] - t) * 86400
            if err > worst:
                worst, worst_of = err, (a, b, angle, t)
        print(f"{name}: {len(found)} records, missed {missed}, extra {len(unused)}, "
              f"max error {worst:.3f} s at {worst_of}")
    check_ingresses_and_stations(cli, ws)


if __name__ == "__main__":
    main()
