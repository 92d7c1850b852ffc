#!/usr/bin/env python3
"""Writes the shipped star catalogue from sefstars.txt and tools/stars/stars.txt.

Outputs (UTF-8 sources; the build writes them to the workspace in CP866):
  data/starbb.ctl   "=name ra dec pmRa pmDec magnitude number class" lines
  data/star.ctl     one block per star: its star line, its text lines, "@"
                    (the texts already in the file are kept by star number)
  data/orbtw.t      the list "ZVZ" of the star names in catalogue order and its
                    caption "zZVZ"

Stars are numbered 1..N by their ecliptic longitude at J2000.0.

Usage: tools/stars/make_catalogue.py [path/to/sefstars.txt]
"""
import math
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SEFSTARS = "/usr/share/libswe/ephe/sefstars.txt"
LIST = os.path.join(ROOT, "tools", "stars", "stars.txt")
STARBB = os.path.join(ROOT, "data", "starbb.ctl")
STARCTL = os.path.join(ROOT, "data", "star.ctl")
UITEXT = os.path.join(ROOT, "data", "orbtw.t")

LIST_MARK = "* Fixed stars in catalogue order (written by tools/stars/make_catalogue.py)."
CAPTION = "zZVZ Звезда"


def fail(message):
    sys.exit("make_catalogue: " + message)


def read_list():
    stars = []
    with open(LIST, encoding="utf-8") as f:
        for raw in f:
            line = raw.strip()
            if not line or line.startswith("#"):
                continue
            parts = line.split("|")
            if len(parts) != 3:
                fail("bad line in stars.txt: " + line)
            name, russian, cls = (p.strip() for p in parts)
            if len(russian) > 16 or " " in russian:
                fail("Russian name too long or with a blank: " + russian)
            stars.append((name, russian, int(cls)))
    return stars


def read_sefstars(path):
    """First usable entry of each name; B1950 entries are refused."""
    entries = {}
    with open(path, encoding="latin-1") as f:
        for raw in f:
            if raw.startswith("#"):
                continue
            fields = [x.strip() for x in raw.split(",")]
            if len(fields) < 14:
                continue
            name, frame = fields[0], fields[2]
            if frame in ("1950", "B1950"):
                continue
            if name in entries:
                continue
            entries[name] = fields
    return entries


def mean_obliquity(jd):
    t = (jd - 2451545.0) / 36525.0
    return (84381.448 - 46.8150 * t - 0.00059 * t * t + 0.001813 * t * t * t) / 3600.0


def star_fields(fields):
    ra = float(fields[3]) + float(fields[4]) / 60 + float(fields[5]) / 3600
    dd = fields[6]
    dec = abs(float(dd)) + float(fields[7]) / 60 + float(fields[8]) / 3600
    if dd.startswith("-"):  # the sign of the degrees field, "-00" included
        dec = -dec
    pm_ra_cos = float(fields[9])
    pm_dec = float(fields[10])
    cos_dec = math.cos(math.radians(dec))
    pm_ra = pm_ra_cos / cos_dec / 1.5 if cos_dec > 1e-9 else 0.0  # 0.01 s per century
    return ra, dec, pm_ra, 10 * pm_dec, float(fields[13])


def j2000_longitude(ra_hours, dec):
    eps = math.radians(mean_obliquity(2451545.0))
    a, d = math.radians(15 * ra_hours), math.radians(dec)
    lon = math.degrees(math.atan2(math.sin(a) * math.cos(eps) + math.tan(d) * math.sin(eps),
                                  math.cos(a)))
    return lon % 360.0


def star_line(s):
    return "=%s %.7f %.6f %.3f %.2f %.2f %d %d" % (s["russian"], s["ra"], s["dec"], s["pmra"],
                                                   s["pmdec"], s["mag"], s["number"], s["cls"])


def write_if_changed(path, text):
    old = None
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            old = f.read()
    if old == text:
        return
    tmp = path + ".tmp"
    with open(tmp, "w", encoding="utf-8") as f:
        f.write(text)
    os.replace(tmp, path)
    print("wrote", os.path.relpath(path, ROOT))


def old_texts():
    """Text lines of each block of the existing star.ctl, by star number."""
    texts = {}
    if not os.path.exists(STARCTL):
        return texts
    number, lines = None, []
    with open(STARCTL, encoding="utf-8") as f:
        for raw in f:
            line = raw.rstrip("\n")
            if line.startswith("="):
                fields = line[1:].split()
                number = int(fields[6]) if len(fields) >= 8 else None
                lines = []
            elif line.startswith("@"):
                if number is not None:
                    texts[number] = lines
                number, lines = None, []
            elif number is not None:
                lines.append(line)
    return texts


def update_ui_text(names):
    with open(UITEXT, encoding="utf-8") as f:
        lines = f.read().split("\n")
    # Drop the old list (the entry and its continuation lines) and the mark.
    out, skipping = [], False
    for line in lines:
        if skipping:
            skipping = line.endswith("@")
            continue
        if line == LIST_MARK:
            continue
        if line.startswith("ZVZ "):
            skipping = line.endswith("@")
            continue
        out.append(line)
    entry, row = [], "ZVZ "
    for i, name in enumerate(names):
        piece = name + ("/" if i + 1 < len(names) else "")
        if len(row) + len(piece) > 90:
            entry.append(row + "@")
            row = ""
        row += piece
    entry.append(row)
    at = next((i for i, l in enumerate(out) if l.startswith("v3 ")), None)
    if at is None:
        fail("orbtw.t has no v3 entry to put the star list after")
    out[at + 1:at + 1] = [LIST_MARK] + entry
    if CAPTION not in out:
        at = next((i for i, l in enumerate(out) if l.startswith("zZOD ")), None)
        if at is None:
            fail("orbtw.t has no zZOD caption")
        out.insert(at + 1, CAPTION)
    write_if_changed(UITEXT, "\n".join(out))


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else SEFSTARS
    entries = read_sefstars(path)
    stars = []
    for name, russian, cls in read_list():
        if name not in entries:
            fail("star not in %s: %s" % (path, name))
        ra, dec, pmra, pmdec, mag = star_fields(entries[name])
        stars.append(dict(name=name, russian=russian, cls=cls, ra=ra, dec=dec, pmra=pmra,
                          pmdec=pmdec, mag=mag, lon=j2000_longitude(ra, dec)))
    if len({s["russian"] for s in stars}) != len(stars):
        fail("a Russian name occurs twice")
    stars.sort(key=lambda s: s["lon"])
    for i, s in enumerate(stars):
        s["number"] = i + 1

    head = ["* Star catalogue: =name RA(h, J2000) Dec(deg, J2000) pmRA(0.01 s/century)",
            "* pmDec(0.01\"/century) magnitude number class. Written by",
            "* tools/stars/make_catalogue.py from sefstars.txt (CC0); do not edit by hand."]
    write_if_changed(STARBB, "\n".join(head + [star_line(s) for s in stars]) + "\n")

    texts = old_texts()
    body = ["* Звезды в соединении с точками карты: блок на каждую звезду - строка",
            "* звезды (пишет tools/stars/make_catalogue.py), текст, затем \"@\".",
            "* Голос: практикующий астролог говорит спокойно, в настоящем времени;",
            "* текст дает астрономию звезды, ее природу, дар и риск для любой точки,",
            "* стоящей с ней в пределах градуса, и не называет эту точку."]
    for s in stars:
        body.append(star_line(s))
        body.extend(texts.get(s["number"], []))
        body.append("@")
    write_if_changed(STARCTL, "\n".join(body) + "\n")
    update_ui_text([s["russian"] for s in stars])


if __name__ == "__main__":
    main()
