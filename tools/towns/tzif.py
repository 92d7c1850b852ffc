"""Offset history of an IANA zone from the system's TZif files (64-bit part), with the
footer's POSIX TZ rule carrying the history past the last stored transition."""

import re
import struct
from datetime import datetime, timedelta, timezone

ZONEINFO = '/usr/share/zoneinfo'


class Period:
    """From `start` (UTC seconds; None for the beginning of time) the clock is UTC +
    `utoff` seconds; `isdst` is the TZif flag."""

    def __init__(self, start, utoff, isdst):
        self.start, self.utoff, self.isdst = start, utoff, isdst

    def __repr__(self):
        return f'Period({self.start}, {self.utoff}, {self.isdst})'


def _read_v2(data):
    if data[:4] != b'TZif':
        raise ValueError('not a TZif file')
    version = data[4:5]

    def counts(at):
        return struct.unpack('>6l', data[at + 20:at + 44])

    isut, isstd, leap, timecnt, typecnt, charcnt = counts(0)
    if version == b'\0':
        raise ValueError('TZif version 1 has no 64-bit part')
    at = 44 + timecnt * 5 + typecnt * 6 + charcnt + leap * 8 + isstd + isut
    isut, isstd, leap, timecnt, typecnt, charcnt = counts(at)
    at += 44
    times = struct.unpack(f'>{timecnt}q', data[at:at + 8 * timecnt])
    at += 8 * timecnt
    idx = data[at:at + timecnt]
    at += timecnt
    types = [struct.unpack('>lBB', data[at + 6 * i:at + 6 * i + 6]) for i in range(typecnt)]
    at += 6 * typecnt + charcnt + leap * 12 + isstd + isut
    footer = data[at:].split(b'\n')[1].decode('ascii') if data[at:at + 1] == b'\n' else ''
    return times, idx, types, footer


_NAME = r'(?:<[^>]*>|[A-Za-z]+)'
_OFFSET = r'[+-]?\d+(?::\d+){0,2}'


def _seconds(text):
    sign = -1 if text.startswith('-') else 1
    parts = [int(p) for p in text.lstrip('+-').split(':')]
    parts += [0] * (3 - len(parts))
    return sign * (parts[0] * 3600 + parts[1] * 60 + parts[2])


def _parse_rule_date(text):
    date, _, time = text.partition('/')
    return date, (_seconds(time) if time else 7200)


def _day_of_rule(date, year):
    """Date of a POSIX rule in a year, as a datetime at 0h."""
    if date.startswith('M'):
        m, w, d = (int(x) for x in date[1:].split('.'))
        first = datetime(year, m, 1)
        shift = (d - (first.weekday() + 1) % 7) % 7
        day = first + timedelta(days=shift + 7 * (w - 1))
        while day.month != m:
            day -= timedelta(days=7)
        return day
    if date.startswith('J'):
        n = int(date[1:])  # 1..365, February 29 never counted
        day = datetime(year, 1, 1) + timedelta(days=n - 1)
        if n >= 60 and year % 4 == 0 and (year % 100 != 0 or year % 400 == 0):
            day += timedelta(days=1)
        return day
    return datetime(year, 1, 1) + timedelta(days=int(date))


def _footer_periods(footer, after, last_year):
    """Transitions of the POSIX TZ string after UTC second `after` up to last_year."""
    m = re.fullmatch(rf'({_NAME})({_OFFSET})(?:({_NAME})({_OFFSET})?,([^,]+),([^,]+))?', footer)
    if not m:
        raise ValueError(f'unsupported TZ string {footer!r}')
    std = -_seconds(m.group(2))
    if not m.group(3):
        return [], std
    dst = -_seconds(m.group(4)) if m.group(4) else std + 3600
    start_rule, end_rule = _parse_rule_date(m.group(5)), _parse_rule_date(m.group(6))
    epoch = datetime(1970, 1, 1)
    out = []
    first_year = datetime.fromtimestamp(max(after, 0), timezone.utc).year
    for year in range(first_year, last_year + 1):
        # Rule times are local wall-clock times of the offset in force before them.
        on = _day_of_rule(start_rule[0], year) + timedelta(seconds=start_rule[1] - std)
        off = _day_of_rule(end_rule[0], year) + timedelta(seconds=end_rule[1] - dst)
        for when, utoff, isdst in sorted([(on, dst, 1), (off, std, 0)]):
            t = int((when - epoch).total_seconds())
            if t > after:
                out.append(Period(t, utoff, isdst))
    return out, std


def zone_periods(zone, last_year=2040):
    with open(f'{ZONEINFO}/{zone}', 'rb') as f:
        times, idx, types, footer = _read_v2(f.read())
    # Before the first transition the zone keeps its first time type.
    first = types[0]
    periods = [Period(None, first[0], first[1])]
    for t, i in zip(times, idx):
        utoff, isdst, _ = types[i]
        periods.append(Period(t, utoff, isdst))
    if footer:
        more, _ = _footer_periods(footer, times[-1] if times else -2**62, last_year)
        periods += more
    limit = int((datetime(last_year + 1, 1, 1) - datetime(1970, 1, 1)).total_seconds())
    periods = [p for p in periods if p.start is None or p.start < limit]
    # Drop transitions that change nothing this program keeps.
    out = [periods[0]]
    for p in periods[1:]:
        if (p.utoff, p.isdst) != (out[-1].utoff, out[-1].isdst):
            out.append(p)
    return out


def tzdata_version():
    with open(f'{ZONEINFO}/tzdata.zi', encoding='ascii') as f:
        first = f.readline()
    return first.split('version', 1)[1].strip() if 'version' in first else 'unknown'
