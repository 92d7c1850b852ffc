"""Russian names of towns, countries and first-order divisions.

Towns: GeoNames' Russian names by id from Debian's libgeonames-common; in the former
USSR, where that has none, the alternate name of the town that is written in the
Russian alphabet and reads most like the town's romanised name. Countries and
divisions: Debian's iso-codes with its Russian translations; a division that has no
Russian name there takes its Russian name among GeoNames' alternate names, and the
Latin one only when neither has one. GeoNames' division codes are not ISO codes: a
division is matched to its ISO subdivision through the table regions.tsv, then
through the GeoNames code, ISO code and GeoNames id that the npm package iso3166-2-db
keeps for every division (with the division's names from GeoNames), and otherwise
through the name of its seat or through equal codes where the country's matched
divisions show that GeoNames uses ISO codes there. region_names.tsv names by hand
the few divisions that have no up-to-date Russian name in either.
"""

import difflib
import gettext
import json
import os
import re
import unicodedata

HERE = os.path.dirname(os.path.abspath(__file__))
LOCALE = '/usr/share/locale/ru/LC_MESSAGES'
ISO = '/usr/share/iso-codes/json'
DIVISIONS = os.path.join(HERE, 'node_modules', 'iso3166-2-db', 'data')

FORMER_USSR = {'RU', 'UA', 'BY', 'KZ', 'KG', 'UZ', 'TJ', 'TM', 'AZ', 'AM', 'GE', 'MD', 'LT',
               'LV', 'EE'}

# Short forms of the few country names whose ISO names are long or official.
SHORT_COUNTRY = {
    'RU': 'Россия', 'US': 'США', 'GB': 'Великобритания', 'MD': 'Молдавия', 'KR': 'Южная Корея',
    'KP': 'Северная Корея', 'IR': 'Иран', 'SY': 'Сирия', 'LA': 'Лаос', 'VE': 'Венесуэла',
    'BO': 'Боливия', 'TZ': 'Танзания', 'TW': 'Тайвань', 'CZ': 'Чехия', 'VN': 'Вьетнам',
    'CD': 'ДР Конго', 'CG': 'Конго', 'AE': 'ОАЭ', 'DO': 'Доминиканская Республика',
    'CF': 'ЦАР', 'MK': 'Северная Македония', 'PS': 'Палестина', 'FM': 'Микронезия',
    'BA': 'Босния и Герцеговина', 'VA': 'Ватикан', 'TR': 'Турция',
}

RUSSIAN_LETTERS = set('абвгдеёжзийклмнопрстуфхцчшщъыьэюя')
_TRANSLIT = dict(zip('абвгдезийклмнопрстуфъыьэ', 'abvgdeziyklmnoprstuf"y\'e'))
_TRANSLIT.update({'ё': 'e', 'ж': 'zh', 'х': 'kh', 'ц': 'ts', 'ч': 'ch', 'ш': 'sh', 'щ': 'shch',
                  'ю': 'yu', 'я': 'ya'})
# Characters outside the two Cyrillic code pages that names use, and their stand-ins.
_PUNCT = {'\u2019': "'", '\u02bc': "'", '\u2018': "'", '\u2013': '-', '\u2014': '-',
          '\u00a0': ' ', '\u2010': '-', '\u2011': '-'}


def _catalog(domain):
    with open(f'{LOCALE}/{domain}.mo', 'rb') as f:
        cat = dict(gettext.GNUTranslations(f)._catalog)
    cat.pop('', None)
    return cat


def encodable(text):
    try:
        text.encode('cp866')
        text.encode('cp1251')
        return True
    except UnicodeEncodeError:
        return False


def clean(text):
    """Name without stress marks and with plain punctuation; None when a character
    cannot be written in the DOS and Windows Cyrillic code pages."""
    text = unicodedata.normalize('NFC', text.replace('\u0301', '').replace('\u0300', ''))
    text = ''.join(_PUNCT.get(c, c) for c in text).strip()
    return text if text and encodable(text) else None


def ascii_fold(text):
    text = unicodedata.normalize('NFKD', text)
    return ''.join(c for c in text if not unicodedata.combining(c))


def is_russian(text):
    letters = [c for c in text.lower() if c.isalpha()]
    return bool(letters) and all(c in RUSSIAN_LETTERS for c in letters)


# Latin letters that GeoNames' Russian names carry now and then in place of their
# Cyrillic look-alikes ("Могилёвская Oбласть").
_LOOKALIKES = dict(zip('AaBCcEeHKMOoPpTXxy', 'АаВСсЕеНКМОоРрТХху'))
# Kinds of division, written in lower case after the name proper ("Брестская Область").
_DIVISION_WORDS = {'Область', 'Район', 'Край', 'Округ', 'Острова', 'Провинция', 'Аймак',
                   'Губерния', 'Велаят', 'Воеводство', 'Уезд'}


def division_name(text):
    """A GeoNames Russian division name made fit to show, or None when it is not
    written in the Russian alphabet."""
    text = clean(text) if text else None
    if not text:
        return None
    words = []
    for i, word in enumerate(text.split(' ')):
        if any(c in RUSSIAN_LETTERS for c in word.lower()):
            word = ''.join(_LOOKALIKES.get(c, c) for c in word)
        if i > 0 and word in _DIVISION_WORDS:
            word = word.lower()
        words.append(word)
    text = ' '.join(words)
    return text if is_russian(text) else None


def romanised(text):
    return ''.join(_TRANSLIT.get(c, c) for c in text.lower())


class Names:
    def __init__(self):
        self.towns = _catalog('geonames')
        self.iso1 = _catalog('iso_3166-1')
        self.iso2 = _catalog('iso_3166-2')
        with open(f'{ISO}/iso_3166-1.json', encoding='utf-8') as f:
            self.countries = {c['alpha_2']: c for c in json.load(f)['3166-1']}
        with open(f'{ISO}/iso_3166-2.json', encoding='utf-8') as f:
            self.subdivisions = json.load(f)['3166-2']
        self.extra_regions = {tuple(row[:2]): row[2] for row in _table('regions.tsv')}
        self.region_names = {tuple(row[:2]): row[2] for row in _table('region_names.tsv')}
        self.divisions = _geonames_divisions()

    def town(self, rec):
        """Russian name of a town, or None."""
        name = self.towns.get(str(rec['id']))
        if name and clean(name):
            return clean(name)
        if rec['cc'] not in FORMER_USSR:
            return None
        candidates = [c for c in (clean(a) for a in rec['alt']) if c and is_russian(c)]
        if not candidates:
            return None
        target = rec['ascii'].lower()
        return max(candidates,
                   key=lambda c: difflib.SequenceMatcher(None, romanised(c), target).ratio())

    def country(self, cc):
        if cc in SHORT_COUNTRY:
            return SHORT_COUNTRY[cc]
        c = self.countries.get(cc)
        if not c:
            return cc
        for key in ('common_name', 'name'):
            if key in c and c[key] in self.iso1:
                return self.iso1[c[key]]
        return clean(ascii_fold(c.get('common_name', c['name']))) or cc

    def subdivision_names(self, iso_code):
        """(Russian, Latin) names of an ISO subdivision; either may be None."""
        s = next((s for s in self.subdivisions if s['code'] == iso_code), None)
        if not s:
            return None, None
        russian = self.iso2.get(s['name'])
        return (clean(russian) if russian else None,
                clean(ascii_fold(re.sub(r'\s*\[.*\]', '', s['name']))))

    def _same_division(self, iso_code, division):
        s = next(s for s in self.subdivisions if s['code'] == iso_code)
        russian = self.iso2.get(s['name'])
        return (_names_agree(re.sub(r'\s*\[.*\]', '', s['name']), division.latin) or
                bool(russian) and _names_agree(russian, division.cyrillic))

    def regions(self, records):
        """{(cc, admin1): Russian division name} for the divisions that could be
        matched."""
        top = {}
        for s in self.subdivisions:
            if 'parent' not in s:
                top.setdefault(s['code'][:2], []).append(s)
        seats = {}
        for r in records:
            if r['code'] in ('PPLA', 'PPLC') and r['admin1']:
                seats.setdefault((r['cc'], r['admin1']), []).append(r)
        matched = {}
        for key, recs in seats.items():
            iso = _match_by_seat(recs, top.get(key[0], []), self)
            if iso:
                matched[key] = iso
        # Countries whose matched divisions mostly carry their ISO code in GeoNames.
        by_code = set()
        for cc in {k[0] for k in matched}:
            pairs = [(k, v) for k, v in matched.items() if k[0] == cc]
            same = sum(1 for (c, a), iso in pairs if iso == f'{c}-{a}')
            if len(pairs) >= 3 and same >= 0.6 * len(pairs):
                by_code.add(cc)
        codes = {s['code'] for s in self.subdivisions}
        keys = {(r['cc'], r['admin1']) for r in records if r['admin1']}
        out = {}
        top_codes = {s['code'] for s in self.subdivisions if 'parent' not in s}
        recoded = _recoded_countries(seats, self.divisions)
        for key in keys:
            division = None if key[0] in recoded else self.divisions.get(key)
            geonames_russian = division.russian if division else None

            def fits(code):
                # An ISO division that GeoNames names otherwise is not this one (the
                # package's codes predate some recodings; seats and codes mislead).
                return code in top_codes and (not division or self._same_division(code, division))

            # Letter codes equal to an ISO code are ISO codes; numbers only where the
            # country's matched divisions say so.
            trusted = key[0] in by_code or not key[1].isdigit()
            candidates = [division.iso if division else None,
                          f'{key[0]}-{key[1]}' if trusted else None, matched.get(key)]
            iso = self.extra_regions.get(key) or next((c for c in candidates if c and fits(c)),
                                                     None)
            russian, latin = self.subdivision_names(iso) if iso else (None, None)
            # iso-codes translates a few names wrongly ("Telangāna" as "Саманган"): a
            # translation that reads like neither its Latin name nor GeoNames' Russian
            # ones is not taken.
            if (russian and division and division.cyrillic and latin and
                    not _names_agree(romanised(russian), [latin]) and
                    not _names_agree(russian, division.cyrillic)):
                russian = None
            name = self.region_names.get(key) or russian or geonames_russian or latin
            if name:
                out[key] = name
        return out


def _table(name):
    """Rows of a tab-separated table beside this file, without comments."""
    with open(os.path.join(HERE, name), encoding='utf-8') as f:
        return [line.rstrip('\n').split('\t') for line in f
                if line.strip() and not line.startswith('#')]


# Words that name the kind of a division, not the division.
_KIND_WORDS = {'province', 'state', 'region', 'district', 'oblast', 'county', 'governorate',
               'prefecture', 'department', 'territory', 'municipality', 'city', 'of', 'the',
               'autonomous', 'republic', 'voivodeship', 'kraj', 'krai', 'okrug', 'canton',
               'область', 'район', 'край', 'округ', 'регион', 'провинция', 'штат', 'республика',
               'автономный', 'автономная', 'город', 'губерния', 'мухафаза', 'воеводство'}


def _names_agree(iso_name, names):
    """Whether an ISO division's name and one of a GeoNames division's Latin names
    name the same place: a word in common, up to spelling ("Hunin" and "Junin")."""
    def words(text):
        return {w for w in re.split(r'[^a-zа-яё]+', ascii_fold(text).lower())
                if len(w) > 2 and w not in _KIND_WORDS}
    ours = words(iso_name)
    for name in names:
        for a in words(name):
            for b in ours:
                if a[:4] == b[:4] or difflib.SequenceMatcher(None, a, b).ratio() >= 0.7:
                    return True
    return False


def _recoded_countries(seats, divisions):
    """Countries whose GeoNames division codes were renumbered after the package was
    made: the seats of two or more of their divisions bear the very name of another
    division of the package, and not that of their own."""
    names = {key: {_norm(n) for n in d.latin} - {''} for key, d in divisions.items()}
    by_country = {}
    for key in divisions:
        by_country.setdefault(key[0], []).append(key)
    hits = {}
    for key, recs in seats.items():
        for r in recs:
            seat = {_norm(r['name']), _norm(r['ascii'])} - {''}
            if key in names and seat & names[key]:
                continue
            if any(k != key and seat & names[k] for k in by_country.get(key[0], [])):
                hits[key[0]] = hits.get(key[0], 0) + 1
                break
    return {cc for cc, n in hits.items() if n >= 2}


class Division:
    """A GeoNames first-order division as the package iso3166-2-db keeps it."""

    def __init__(self, iso, russian, latin, cyrillic):
        self.iso = iso            # ISO 3166-2 code, or None
        self.russian = russian    # Russian name from GeoNames' alternate names, or None
        self.latin = latin        # its names in the Latin alphabet
        self.cyrillic = cyrillic  # and in the Russian one


def _geonames_divisions():
    """{(country, GeoNames admin1 code): Division}; a code the package gives twice is
    left out."""
    with open(os.path.join(DIVISIONS, 'iso3166-2.json'), encoding='utf-8') as f:
        countries = json.load(f)
    with open(os.path.join(DIVISIONS, 'names_geonames.json'), encoding='utf-8') as f:
        geonames = json.load(f)
    out, twice = {}, set()
    for cc, country in countries.items():
        for d in country.get('regions', []):
            admin = d.get('admin')
            if not admin:
                continue
            key = (cc, admin)
            if key in out:
                twice.add(key)
            iso = f"{cc}-{d['iso']}" if d.get('iso') else None
            gid = (d.get('reference') or {}).get('geonames')
            russian = (geonames.get(str(gid)) or {}).get('ru') if gid else None
            latin = [n for n in [d.get('name', '')] + list((d.get('names') or {}).values())
                     if n and ascii_fold(n).isascii()]
            cyrillic = [n for n in (russian, (d.get('names') or {}).get('ru')) if n]
            out[key] = Division(iso, division_name(russian), latin, cyrillic)
    for key in twice:
        del out[key]
    return out


def _norm(text):
    return re.sub(r'[^a-z]', '', ascii_fold(text).lower())


def _stem_match(seat, word):
    n = 0
    while n < min(len(seat), len(word)) and seat[n] == word[n]:
        n += 1
    return n >= max(4, len(seat) - 2)


def _match_by_seat(recs, subdivisions, names):
    """ISO code of the subdivision whose name begins like the name of the seat."""
    hits = set()
    for r in recs:
        latin = {_norm(n) for n in [r['name'], r['ascii']] + r['alt'] if n.isascii()}
        latin.discard('')
        russian = names.towns.get(str(r['id']))
        for s in subdivisions:
            words = [_norm(w) for w in re.split(r"[\s,'-]+", re.sub(r'\[.*\]', '', s['name']))]
            if any(_stem_match(l, w) for l in latin for w in words if w):
                hits.add(s['code'])
                continue
            ru = names.iso2.get(s['name'])
            if russian and ru:
                rw = [w.lower() for w in re.split(r'[\s,-]+', ru) if w]
                if any(_stem_match(russian.lower(), w) for w in rw):
                    hits.add(s['code'])
    return hits.pop() if len(hits) == 1 else None
