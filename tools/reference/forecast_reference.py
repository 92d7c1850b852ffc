#!/usr/bin/env python3
"""Independent check of the forecast report (run by hand, not a test).

For a year (2025) and two natal charts, `orbeta-cli forecast --json` is compared with
references computed here on the ephemeris library's own positions (through ctypes,
not through orbeta), with orbeta's natal longitudes and cusps as fixed longitudes:

- transits (type 1) and transits through houses (type 3): dense samples and
  bisection of every entry into and exit from the orb and every exact moment;
  each within 1 s (moments at the ends of the period excepted);
- the progressed Moon's sign entries (type 5): within 30 minutes;
- directions (type 130): the closed form, to 1e-6 day;
- eclipses (type 140): the eclipse oracle's list (tests/fixtures/eclipses_1900_2100.txt)
  with the default influence and orbs.

    forecast_reference.py ORBETA_CLI WORKSPACE [REPO_ROOT]
"""
import ctypes
import json
import os
import subprocess
import sys

EPHE = b"/usr/share/libswe/ephe/"
SWE = ctypes.CDLL("libswe.so.2")
SWE.swe_set_ephe_path(ctypes.c_char_p(EPHE))
SWE.swe_calc_ut.argtypes = [ctypes.c_double, ctypes.c_int, ctypes.c_int,
                            ctypes.POINTER(ctypes.c_double), ctypes.c_char_p]
SWE.swe_julday.restype = ctypes.c_double
SWE.swe_julday.argtypes = [ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_double, ctypes.c_int]
XX = (ctypes.c_double * 6)()
ERR = ctypes.create_string_buffer(256)
YEAR = 365.24219  # days of life per day of ephemeris in secondary progressions
CHARTS = [
    ["--date", "16.05.1945 05:00:00", "--gmt", "-3", "--lat", "55.45", "--lon", "37.37", "--house", "3"],
    ["--date", "03.11.1982 17:40:00", "--gmt", "-4", "--lat", "59.57", "--lon", "30.19", "--house", "3"],
]
TRANSIT = [1, 3, 4, 5, 6, 7, 8, 9, 10]
NATAL = list(range(1, 11)) + [16, 25]


def lon(jd, body):  # BodyId 1..10 -> library 0..9
    SWE.swe_calc_ut(jd, body - 1, 2, XX, ERR)
    return XX[0]


def wrap(x):
    return (x + 180.0) % 360.0 - 180.0


def crossings(f, start, end, step=0.05):
    """Moments in [start, end] where f changes sign, by bisection to 1e-9 day."""
    found = []
    n = int((end - start) / step) + 1
    prev_t, prev = start, f(start)
    for k in range(1, n + 1):
        t = min(start + k * step, end)
        cur = f(t)
        if (prev < 0) != (cur < 0) and abs(prev - cur) < 90:
            lo, hi, flo = prev_t, t, prev
            while hi - lo > 1e-9:
                mid = (lo + hi) / 2
                fm = f(mid)
                if (fm < 0) == (flo < 0):
                    lo, flo = mid, fm
                else:
                    hi = mid
            found.append((lo + hi) / 2)
        prev_t, prev = t, cur
    return found


def nearest(moments, t):
    return min((abs(m - t) for m in moments), default=float("inf"))


def run(cli, ws, chart, extra):
    out = subprocess.check_output([cli, "--workspace", ws, "forecast"] + chart + [
        "--from", "01.01.2025 00:00", "--to", "01.01.2026 00:00", "--json"] + extra)
    return json.loads(out)


def check_transits(cli, ws, chart, natal, cusps):
    f = run(cli, ws, chart, ["--methods", "0,3"])
    corr = f["correction"]
    start = SWE.swe_julday(2025, 1, 1, 0.0, 1) + corr
    end = SWE.swe_julday(2026, 1, 1, 0.0, 1) + corr
    worst, count, missed = 0.0, 0, 0
    for e in f["entries"]:
        a, b = e["a"], e["b"]
        if e["type"] == 1:
            target, orb = natal[b], e["orb"]
            signed = [e["aspect"]] if e["aspect"] in (0, 180) else [e["aspect"], -e["aspect"]]
            g = lambda t, s: wrap(lon(t, a) - target - s)
        elif e["type"] == 3:
            c1, c2 = cusps[b - 1], cusps[b % 12]
            mid = (c1 + c2) / 2 - (180 if abs(c2 - c1) > 180 else 0)
            target, orb, signed = mid % 360, abs(wrap(mid - c1)), [0.0]
            g = lambda t, s: wrap(lon(t, a) - target - s)
        else:
            continue
        lo, hi = max(start, e["start"] - 2), min(end, e["end"] + 2)
        edges, exact = [], []
        for s in signed:
            edges += crossings(lambda t: abs(g(t, s)) - orb, lo, hi)
            exact += crossings(lambda t: g(t, s), lo, hi)
        for t in [e["start"], e["end"]]:
            if abs(t - start) < 1e-6 or abs(t - end) < 1e-6:
                continue  # the period's own ends
            count += 1
            err = nearest(edges, t) * 86400
            if err > 1:
                missed += 1
            else:
                worst = max(worst, err)
        for t in e["exact"]:
            count += 1
            err = nearest(exact, t) * 86400
            if err > 1:
                missed += 1
            else:
                worst = max(worst, err)
    print(f"  transits and houses: {len(f['entries'])} entries, {count} moments, "
          f"{missed} beyond 1 s, max error {worst:.3f} s")


def check_progressions(cli, ws, chart, jd_natal):
    f = run(cli, ws, chart, ["--methods", "5"])
    worst = 0.0
    for e in f["entries"]:
        # The progressed Moon enters sign b - 1 where the library's Moon of the
        # progressed moment does.
        def g(t):
            return wrap(lon(jd_natal + (t - jd_natal) / YEAR, 2) - 30 * (e["b"] - 1))
        entry = crossings(g, e["start"] - 5, e["start"] + 5, 0.5)
        if entry:
            worst = max(worst, nearest(entry, e["start"]) * 1440)
    print(f"  progressed Moon in signs: {len(f['entries'])} entries, max error {worst:.1f} min")


def check_directions(cli, ws, chart, natal, jd_natal):
    f = run(cli, ws, chart, ["--methods", "2"])
    start = SWE.swe_julday(2025, 1, 1, 0.0, 1) + f["correction"]
    worst = 0.0
    for e in f["entries"]:
        # Directed a reaches natal b + the angle (either sign) at one degree a year.
        arc = wrap(natal[e["b"]] + e["aspect"] - natal[e["a"]] - (start - jd_natal) / 365.2421)
        arc2 = wrap(natal[e["b"]] - e["aspect"] - natal[e["a"]] - (start - jd_natal) / 365.2421)
        t = min((start + (x % 360) * 365.2421 for x in (arc, arc2)), key=lambda m: abs(m - e["exact"][0]))
        worst = max(worst, abs(t - e["exact"][0]))
    print(f"  directions: {len(f['entries'])} entries, max error {worst:.2e} day")


def check_eclipses(cli, ws, chart, natal, root):
    f = run(cli, ws, chart, ["--methods", "6"])
    oracle = []
    for line in open(os.path.join(root, "tests/fixtures/eclipses_1900_2100.txt")):
        if line.startswith("#"):
            continue
        luminary, kind, syzygy = line.split()[:3]
        oracle.append((int(luminary), float(syzygy)))
    start = SWE.swe_julday(2025, 1, 1, 0.0, 1) + f["correction"]
    end = SWE.swe_julday(2026, 1, 1, 0.0, 1) + f["correction"]
    expected = []
    for luminary, m in oracle:
        before = after = 180 if luminary == 1 else 90
        if not (start - after <= m <= end + before):
            continue
        body = 1 if luminary == 1 else 2
        L = lon(m, body)
        for b, nl in natal.items():
            for k in ((0, 1) if b <= 15 else (0,)):
                if abs(wrap(L + 180 * k - nl)) < 3.0:
                    expected.append((body, b, 180 * k, m))
    got = [(e["a"], e["b"], e["aspect"], e["exact"][0]) for e in f["entries"]]
    missing = [x for x in expected
               if not any(g[:3] == x[:3] and abs(g[3] - x[3]) < 0.01 for g in got)]
    print(f"  eclipses: oracle {len(expected)} hits, orbeta {len(got)}, missing {len(missing)}")


def main():
    cli, ws = sys.argv[1], sys.argv[2]
    root = sys.argv[3] if len(sys.argv) > 3 else os.getcwd()
    for chart in CHARTS:
        c = json.loads(subprocess.check_output([cli, "--workspace", ws, "chart", "--json"] + chart))
        natal = {p: c["lon"][p - 1] for p in range(1, 11)}
        natal[16], natal[25] = c["cusp"][0], c["cusp"][9]
        print(" ".join(chart[:2]))
        check_transits(cli, ws, chart, natal, c["cusp"][:12])
        check_progressions(cli, ws, chart, c["jdUT"])
        check_directions(cli, ws, chart, natal, c["jdUT"])
        check_eclipses(cli, ws, chart, natal, root)


if __name__ == "__main__":
    main()
