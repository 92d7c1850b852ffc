#!/usr/bin/env python3
"""Self-check subject of rectification, from swetest positions.

A subject born at a known moment; each event is a date on which one single-pair rule
is exact for the true chart: slow transits to the Ascendant or Midheaven, directed
Ascendant or Midheaven (one degree a year) to natal bodies. Writes the event file
(CP1251) and a JSON file with the true moment, the narrowest window of birth times
within which a rule holds, and the scores of the eleven candidates within five minutes of it, computed here
independently of the program (pairs within 0.01 degree of an orb edge are marked).

Usage: rectify_fixture.py OUT_DIR
"""
import json
import subprocess
import sys

EPHE = "-edir/usr/share/libswe/ephe"
LAT, LON = 55.75, 37.6166667  # 55.45 N, 37.37 E packed
LAT_PACKED, LON_PACKED = 55.45, 37.37
GMT_HOURS = -3.0  # added to local time to give UT
TRUE_LOCAL = (1985, 5, 16, 5, 30)
TROPICAL_YEAR = 365.2421
BODY = {"SU": 0, "MO": 1, "ME": 2, "VE": 3, "MR": 4, "JU": 5, "SA": 6, "UR": 7, "NE": 8, "PL": 9}
ORB = {"T": 1.0, "P": 1.0, "D": 0.5}


def julian_day(y, m, d, h):
    if m <= 2:
        y, m = y - 1, m + 12
    a = y // 100
    b = 2 - a + a // 4
    return int(365.25 * (y + 4716)) + int(30.6001 * (m + 1)) + d + b - 1524.5 + h / 24.0


def calendar(jd):
    z = int(jd + 0.5)
    f = jd + 0.5 - z
    alpha = int((z - 1867216.25) / 36524.25)
    a = z + 1 + alpha - alpha // 4
    b = a + 1524
    c = int((b - 122.1) / 365.25)
    d = int(365.25 * c)
    e = int((b - d) / 30.6001)
    day = b - d - int(30.6001 * e)
    month = e - 1 if e < 14 else e - 13
    year = c - 4716 if month > 2 else c - 4715
    minutes = round(f * 1440)
    return year, month, day, minutes // 60, minutes % 60


def swe(jd_ut, extra=()):
    y, m, d, hh, mm = calendar(jd_ut)
    seconds = round((jd_ut - julian_day(y, m, d, hh + mm / 60.0)) * 86400)
    out = subprocess.run(["swetest", f"-b{d}.{m}.{y}", f"-ut{hh}:{mm}:{max(seconds, 0)}",
                          "-p0123456789", "-fPl", "-head", EPHE, *extra],
                         capture_output=True, text=True, check=True).stdout
    values = {}
    for line in out.splitlines():
        name, _, number = line.rpartition(" ")
        values[name.strip()] = float(number)
    return values


def positions(jd_ut):
    v = swe(jd_ut)
    names = ["Sun", "Moon", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto"]
    return [v[n] for n in names]


def angles(jd_ut):
    v = swe(jd_ut, [f"-house{LON},{LAT},P"])
    return v["Ascendant"], v["MC"]


def separation(a, b):
    d = abs(a - b) % 360.0
    return 360.0 - d if d > 180.0 else d


def text_of(jd_local):
    y, m, d, hh, mm = calendar(jd_local)
    return f"{d:02d}.{m:02d}.{y:04d} {hh:02d}:{mm:02d}"


def listing(body, jd_ut, count, step):
    y, m, d, hh, mm = calendar(jd_ut)
    out = subprocess.run(["swetest", f"-b{d}.{m}.{y}", f"-ut{hh}:{mm}", f"-n{count}", f"-s{step}",
                          f"-p{BODY[body]}", "-fl", "-head", EPHE],
                         capture_output=True, text=True, check=True).stdout
    start = julian_day(y, m, d, hh + mm / 60.0)
    return [(start + k * step, float(v)) for k, v in enumerate(out.split())]


def transit_date(body, target, angle, after):
    """First moment after `after` when the body stands at `angle` from `target`."""
    def gap(lon, aim):
        return (lon - aim + 180.0) % 360.0 - 180.0

    rows = listing(body, after, 40 * 365 // 2, 2)
    for (j0, l0), (j1, l1) in zip(rows, rows[1:]):
        for aim in ((target + angle) % 360.0, (target - angle) % 360.0):
            g0, g1 = gap(l0, aim), gap(l1, aim)
            if g0 * g1 <= 0 and abs(g0 - g1) < 5:
                fine = listing(body, j0, 2 * 1440 // 10 + 2, 10 / 1440)
                for (k0, m0), (k1, m1) in zip(fine, fine[1:]):
                    h0, h1 = gap(m0, aim), gap(m1, aim)
                    if h0 * h1 <= 0 and abs(h0 - h1) < 5:
                        return k0 + (k1 - k0) * h0 / (h0 - h1)
                return j0
    return None


def progressed(point, birth_ut, d, natal, mc):
    """Longitude of a progressed point d days after birth."""
    now = positions(birth_ut + d / TROPICAL_YEAR)
    if point == "10":
        return (mc + now[0] - natal[0]) % 360.0
    return now[BODY[point]]


def main(out_dir):
    y, m, d, hh, mm = TRUE_LOCAL
    true_local = julian_day(y, m, d, hh + mm / 60.0)
    corr = GMT_HOURS / 24.0
    true_ut = true_local + corr
    asc, mc = angles(true_ut)
    natal = positions(true_ut)
    rules = []  # (kind, moving, angle, target, event jd local)
    for body, point, value, angle in [("SA", "1", asc, 0), ("SA", "10", mc, 0), ("UR", "10", mc, 0),
                                      ("PL", "10", mc, 90), ("PL", "1", asc, 180), ("UR", "1", asc, 90)]:
        jd = transit_date(body, value, angle, true_ut + 200)
        if jd is not None:
            rules.append(("T", body, angle, point, jd - corr))
    directed = []
    for point, value in [("1", asc), ("10", mc)]:
        for body, index in BODY.items():
            for angle in (0, 60, 90, 120, 180):
                for sign in (1, -1):
                    arc = (natal[index] + sign * angle - value) % 360.0
                    if 8 <= arc <= 55:
                        directed.append((arc, ("D", point, angle, body, true_ut + arc * TROPICAL_YEAR - corr)))
    directed.sort()
    for k in range(0, len(directed), max(1, len(directed) // 4)):
        rules.append(directed[k][1])
    rules = rules[:10]
    # Progressions (a day for a year): the Midheaven moves with the progressed Sun,
    # the Moon at its own speed.
    for moving, target, angle in [("10", "JU", 90), ("MO", "1", 0)]:
        aim = (natal[BODY[target]] if target in BODY else asc) + angle
        d = 30 * TROPICAL_YEAR
        for _ in range(6):
            lon = progressed(moving, true_ut, d, natal, mc)
            miss = (aim - lon + 180.0) % 360.0 - 180.0
            d += miss * TROPICAL_YEAR / (1.0 if moving == "10" else 13.2)
        rules.append(("P", moving, angle, target, true_ut + d - corr))
    lines = ["Файл событий subject"]
    events = []
    for k, (kind, moving, angle, target, jd_local) in enumerate(rules):
        date = text_of(jd_local)
        y2, m2, d2, h2, n2 = calendar(jd_local)
        jd_local = julian_day(y2, m2, d2, h2 + n2 / 60.0)  # as the file states it
        events.append((kind, moving, angle, target, jd_local))
        lines.append(f"#Событие {k + 1} @{date}")
        lines.append(f"{moving}-{kind} : {angle} : {target} = 1")
    with open(f"{out_dir}/subject.sb", "wb") as f:
        f.write(("\n".join(lines) + "\n").encode("cp1251"))

    def score(local):
        ut = local + corr
        c_asc, c_mc = angles(ut)
        c_natal = positions(ut)
        point = {"1": c_asc, "10": c_mc}
        s = {"S": 0.0, "T": 0.0, "P": 0.0, "D": 0.0}
        edge = False
        for kind, moving, angle, target, jd_local in events:
            if kind == "T":
                p = positions(jd_local + corr)[BODY[moving]]
                q = point[target]
            elif kind == "P":
                p = progressed(moving, ut, jd_local + corr - ut, c_natal, c_mc)
                q = c_natal[BODY[target]] if target in BODY else point[target]
            else:
                p = point[moving] + (jd_local + corr - ut) / TROPICAL_YEAR
                q = c_natal[BODY[target]]
            miss = abs(separation(p, q) - angle) - ORB[kind]
            edge = edge or abs(miss) < 0.01
            if miss <= 0:
                s["S"] += 1
                s[kind] += 1
        return s, edge

    hits_by_minute = []
    for minute in range(-60, 61):
        local = true_local + minute / 1440.0
        ut = local + corr
        c_asc, c_mc = angles(ut)
        c_natal = positions(ut)
        point = {"1": c_asc, "10": c_mc}
        row = []
        for kind, moving, angle, target, jd_local in events:
            if kind == "T":
                p = positions(jd_local + corr)[BODY[moving]]
                q = point[target]
            elif kind == "P":
                p = progressed(moving, ut, jd_local + corr - ut, c_natal, c_mc)
                q = c_natal[BODY[target]] if target in BODY else point[target]
            else:
                p = point[moving] + (jd_local + corr - ut) / TROPICAL_YEAR
                q = c_natal[BODY[target]]
            row.append(abs(separation(p, q) - angle) <= ORB[kind])
        hits_by_minute.append(row)
    windows = []
    for k in range(len(events)):
        minutes = [m - 60 for m in range(121) if hits_by_minute[m][k]]
        windows.append((minutes[0], minutes[-1]) if minutes else (0, -1))
    narrowest = min(windows, key=lambda w: w[1] - w[0])
    candidates = []
    for minute in range(-5, 6):
        local = true_local + minute / 1440.0
        s, edge = score(local)
        candidates.append({"minute": minute, **s, "edge": edge})
    fixture = {"date": text_of(true_local), "gmt": GMT_HOURS, "lat": LAT_PACKED, "lon": LON_PACKED,
               "house": 3, "narrowest": list(narrowest), "windows": windows, "candidates": candidates}
    with open(f"{out_dir}/subject.json", "w") as f:
        json.dump(fixture, f, indent=1)
        f.write("\n")


if __name__ == "__main__":
    main(sys.argv[1])
