#!/usr/bin/env python3
"""Independent check of the lot, midpoint and direction reports (run by hand, not a test).

A chart from `orbeta-cli chart --json` is read back here and the reports are computed
again from its longitudes and cusps, straight from the rules the program follows:

- lots: the three symbols with their operators (house rulers by the sign on the cusp),
  the night rule (Sun in houses 1..6), the points within 1 degree;
- midpoints: every pair of active bodies, Ascendant and MC by the shorter arc, and the
  aspect points (the switched-on angles of 0.ao, both sides, and the sign starts)
  within 1 degree;
- directions in longitude and right ascension (mean obliquity of IAU 1976 at jdCalc):
  the closed form T0 + 365.2421 (P - L);
- the progressed Moon: the Moon of the ephemeris library (ctypes, not orbeta) at half-
  day steps, with the passages in between by linear interpolation.

Each list is compared with the JSON of `orbeta-cli lots|midpoints|directions`; the
largest differences are printed.

    degree_reports_reference.py ORBETA_CLI WORKSPACE REPO_ROOT ["DD.MM.YYYY HH:MM:SS"]

The chart is Moscow's at the given local moment (default 20.01.1990 12:00:00; a
moment at night checks the night lots).
"""
import ctypes
import json
import math
import os
import subprocess
import sys
import tempfile

CLI, WORKSPACE, ROOT = sys.argv[1], sys.argv[2], sys.argv[3]
DATE = sys.argv[4] if len(sys.argv) > 4 else "20.01.1990 12:00:00"
CHART = ["--date", DATE, "--gmt", "-3", "--lat", "55.45", "--lon", "37.37"]
YEAR = 365.2421
FROM, TO = "01.01.2000", "01.01.2010"

# Rulers of the signs (Aries Mars ... Scorpio Pluto, Aquarius Uranus, Pisces Neptune).
RULERS = [5, 4, 3, 2, 1, 3, 4, 10, 6, 7, 8, 9]
SYMBOLS = ("SUN MON MER VEN MRS JUP SAT URN NEP PLT NDE SEL HIR PRZ LIL ASC H02 H03 H04 H05 "
           "H06 H07 H08 H09 H10 H11 H12 R01 R02 R03 R04 R05 R06 R07 R08 R09 R10 R11 R12").split()


def cli(*args):
    out = subprocess.run([CLI, "--workspace", WORKSPACE, *args], check=True,
                         capture_output=True, text=True).stdout
    return json.loads(out)


def norm(x):
    return x % 360.0


def sep(a, b):
    d = abs(norm(a - b))
    return min(d, 360 - d)


def angles(root):
    out = []
    for line in open(os.path.join(root, "data", "0.ao"), encoding="utf-8", errors="replace"):
        if not line.strip() or line.startswith("*"):
            continue
        f = line.split()
        off = int(f[f.index("S") + 1])
        if not off:
            out.append(float(f[0]))
    return out


def point_lon(c, p):
    return c["lon"][p - 1] if p <= 15 else c["cusp"][p - 16]


def active(c, p, mask, houses):
    if p > 15:
        return houses and p <= 27
    return (mask >> (p - 1)) & 1 and c["available"][p - 1]


def aspect_points(c, mask, table, houses):
    pts = []
    for p in range(1, 28):
        if not active(c, p, mask, houses):
            continue
        for a in table:
            pts.append((norm(point_lon(c, p) + a), p, a))
            if a not in (0, 180):
                pts.append((norm(point_lon(c, p) - a), p, a))
    pts += [(30.0 * i, 28 + i, 0.0) for i in range(12)]
    return sorted(pts, key=lambda x: x[0])


def house_of(lon, cusp):
    for h in range(12):
        a, b = cusp[h], cusp[(h + 1) % 12]
        if norm(lon - a) < norm(b - a):
            return h + 1
    return 0


def check_lots(c, mask):
    lines = ["   SUN+MON-ASC Fortune", "   ASC+SUN-MON Spirit", " N ASC+SUN-MON Night",
             " D ASC+MON-SUN Day", "M  R01+R07-H10 Rulers", "F  H08-SAT+ASC Eighth",
             "   R05+JUP-R11 Children"]
    path = os.path.join(tempfile.mkdtemp(), "chreb.ctl")
    with open(path, "w", encoding="cp866") as f:
        f.write("\n".join(lines) + "\n")
    got = cli("lots", *CHART, "--file", path, "--json")
    night = 1 <= house_of(c["lon"][0], c["cusp"]) <= 6
    want = []
    for n, line in enumerate(lines, 1):
        if line[1] not in " DN" or (line[1] == "N" and not night) or (line[1] == "D" and night):
            continue
        total = 0.0
        for term, col in enumerate((3, 7, 11)):
            k = SYMBOLS.index(line[col:col + 3]) + 1
            p = k if k <= 27 else RULERS[int(c["cusp"][k - 28] // 30)]
            sign = -1 if term and line[col - 1] == "-" else 1
            total += sign * point_lon(c, p)
        lon = norm(total)
        hits = [p for p in range(1, 28) if active(c, p, mask, True) and sep(point_lon(c, p), lon) <= 1]
        want.append((n, lon, hits))
    assert got["night"] == night, (got["night"], night)
    assert len(got["lots"]) == len(want), (got, want)
    worst = 0
    for g, (n, lon, hits) in zip(got["lots"], want):
        assert g["line"] == n and [h["point"] for h in g["hits"]] == hits, (g, hits)
        worst = max(worst, sep(g["lon"], lon))
    print(f"lots: {len(want)} lots, night={night}, largest difference {worst:.2e} deg")


def check_midpoints(c, mask, table):
    got = cli("midpoints", *CHART, "--json")["midpoints"]
    pts = [p for p in range(1, 16) if active(c, p, mask, True)] + [16, 25]
    aps = aspect_points(c, mask, table, True)
    want = []
    for i in range(len(pts)):
        for j in range(i + 1, len(pts)):
            a, b = point_lon(c, pts[i]), point_lon(c, pts[j])
            m = (a + b) / 2 - (180 if abs(b - a) > 180 else 0)
            m = norm(m)
            want.append((pts[i], pts[j], m, [(o, an) for pos, o, an in aps if sep(pos, m) <= 1]))
    assert len(got) == len(want)
    worst, hits = 0, 0
    for g, (a, b, m, h) in zip(got, want):
        assert (g["a"], g["b"]) == (a, b)
        # Aspect points at one place (a cusp's sextile, the opposite cusp's trine) may
        # come in either order: the last bit of their sums decides.
        assert sorted((x["owner"], x["angle"]) for x in g["hits"]) == sorted(h), (g, h)
        worst = max(worst, sep(g["lon"], m))
        hits += len(h)
    print(f"midpoints: {len(want)} pairs, {hits} contacts, largest difference {worst:.2e} deg")


def obliquity(jd):
    t = (jd - 2451545.0) / 36525
    return math.radians((84381.448 + t * (-46.815 + t * (-0.00059 + t * 0.001813))) / 3600)


def ra_chart(c):
    eps = obliquity(c["jdCalc"])
    r = json.loads(json.dumps(c))
    def ra(lon, lat):
        l, b = math.radians(lon), math.radians(lat)
        return norm(math.degrees(math.atan2(math.sin(l) * math.cos(eps) - math.tan(b) * math.sin(eps),
                                            math.cos(l))))
    for i in range(15):
        if c["available"][i]:
            r["lon"][i] = ra(c["lon"][i], c["lat"][i])
    r["cusp"] = [ra(x, 0) for x in c["cusp"]]
    return r


def jd_of(text):
    d, m, y = map(int, text.split("."))
    if m <= 2:
        y, m = y - 1, m + 12
    a = y // 100
    return int(365.25 * (y + 4716)) + int(30.6001 * (m + 1)) + d + 2 - a + a // 4 - 1524.5


def check_directions(c, mask, table, kind):
    got = cli("directions", *CHART, "--kind", kind, "--from", FROM, "--to", TO, "--json")["findings"]
    cc = ra_chart(c) if kind == "ra" else c
    start, end = jd_of(FROM), jd_of(TO)
    t0 = c["jdUT"]
    y0, y1 = (start - t0) / YEAR, (end - t0 + 0.001) / YEAR
    aps = aspect_points(cc, mask, table, True)
    want = []
    for p in range(1, 28):
        if not active(cc, p, mask, True):
            continue
        L = point_lon(cc, p)
        for pos, o, a in aps:
            if o == p:
                continue
            P = pos + 360 * math.ceil((L + y0 - pos) / 360)
            while P <= L + y1:
                m = t0 + YEAR * (P - L)
                if m < start or m > end:
                    break
                want.append((m, p, o, a))
                P += 360
    want.sort(key=lambda x: x[0])
    assert len(got) == len(want), (len(got), len(want))
    worst = max((abs(g["jd"] - w[0]) for g, w in zip(got, want)), default=0)
    assert sorted((g["point"], g["owner"], g["angle"]) for g in got) == sorted(w[1:] for w in want)
    print(f"directions {kind}: {len(want)} findings, largest moment difference {worst * 86400:.3f} s")


def check_moon(c, mask, table):
    swe = ctypes.CDLL("libswe.so.2")
    swe.swe_set_ephe_path(ctypes.c_char_p(b"/usr/share/libswe/ephe/"))
    swe.swe_calc_ut.argtypes = [ctypes.c_double, ctypes.c_int, ctypes.c_int,
                                ctypes.POINTER(ctypes.c_double), ctypes.c_char_p]
    def moon(jd):
        xx, err = (ctypes.c_double * 6)(), ctypes.create_string_buffer(256)
        swe.swe_calc_ut(jd, 1, 2 | 256, xx, err)
        return xx[0]
    got = cli("directions", *CHART, "--kind", "moon", "--from", FROM, "--to", TO, "--json")["findings"]
    start, end = jd_of(FROM), jd_of(TO)
    t0 = c["jdUT"]
    y0, y1 = (start - t0) / YEAR, (end - t0 + 0.001) / YEAR
    aps = aspect_points(c, mask, table, True)
    want, y = [], y0
    while y <= y1:
        t = t0 + y
        m1, m2 = moon(t), moon(t + 0.5)
        m2 += 360 if m2 < m1 else 0
        for k in (0, 360):
            for pos, o, a in aps:
                P = pos + k
                if m1 <= P < m2 or (P == m2):
                    dt = (P - m1) / ((m2 - m1) / 0.5)
                    if y + dt <= y1:
                        want.append((t0 + YEAR * (t + dt - t0), o, a))
        y += 0.5
    want.sort()
    got_list = sorted((g["jd"], g["owner"], g["angle"]) for g in got)
    assert len(got_list) == len(want), (len(got_list), len(want))
    worst = max(abs(g[0] - w[0]) for g, w in zip(got_list, want))
    assert [g[1:] for g in got_list] == [w[1:] for w in want]
    print(f"progressed Moon: {len(want)} passages, largest moment difference {worst * 86400:.1f} s")


def main():
    c = cli("chart", *CHART, "--json")
    table = angles(ROOT)
    mask = 1023
    check_lots(c, mask)
    check_midpoints(c, mask, table)
    check_directions(c, mask, table, "lon")
    check_directions(c, mask, table, "ra")
    check_moon(c, mask, table)


if __name__ == "__main__":
    main()
