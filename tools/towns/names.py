"""Russian names of towns, countries and first-order divisions.

Towns: GeoNames' Russian names by id from Debian's libgeonames-common; in the former
USSR, where that has none, the alternate name of the town that is written in the
Russian alphabet and reads most like the town's romanised name. Countries and
divisions: Debian's iso-codes with its Russian translations. GeoNames' division
codes are not ISO codes, so a division is matched to its ISO subdivision through the
name of its seat, through equal codes where the country's matched divisions show that
GeoNames uses ISO codes there, and through the table regions.tsv.
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
        self.extra_regions = {}
        with open(os.path.join(HERE, 'regions.tsv'), encoding='utf-8') as f:
            for line in f:
                if line.strip() and not line.startswith('#'):
                    cc, admin1, iso = line.rstrip('\n').split('\t')[:3]
                    self.extra_regions[(cc, admin1)] = iso

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

    def subdivision_name(self, iso_code):
        s = next((s for s in self.subdivisions if s['code'] == iso_code), None)
        if not s:
            return None
        name = self.iso2.get(s['name']) or ascii_fold(re.sub(r'\s*\[.*\]', '', s['name']))
        return clean(name)

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
        for key in keys:
            iso = self.extra_regions.get(key)
            # Letter codes equal to an ISO code are ISO codes; numbers only where the
            # country's matched divisions say so.
            trusted = key[0] in by_code or not key[1].isdigit()
            if not iso and trusted and f'{key[0]}-{key[1]}' in codes:
                iso = f'{key[0]}-{key[1]}'
            iso = iso or matched.get(key)
            name = self.subdivision_name(iso) if iso else None
            if name:
                out[key] = name
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
