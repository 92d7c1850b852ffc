#!/usr/bin/env python3
"""An independent writer and reader of compiled interpretation text bases (.cta),
written from the file layout alone, to compare with `orbeta-cli textbase`.

  cta_reference.py compile STEM OUT.cta        write the base of STEM.csr
  cta_reference.py lookup STEM.cta KEY...      JSON like `textbase lookup --json`
  cta_reference.py compare STEM CLI [--workspace DIR]
                                               compile both ways and compare bytes and
                                               the lookups of every key

Not part of the test suite.
"""
import json
import os
import struct
import subprocess
import sys
import tempfile


def source_files(csr):
    files = [csr]
    seen = {os.path.normpath(os.path.abspath(csr))}
    with open(csr, "rb") as f:
        data = f.read()
    first = data.split(b"\n", 1)[0].rstrip(b"\r") if data else b""
    if first.startswith(b"FILES="):
        for name in words(first[6:]):
            path = os.path.join(os.path.dirname(csr), name.decode("latin-1"))
            norm = os.path.normpath(os.path.abspath(path))
            if norm in seen:
                continue
            seen.add(norm)
            if os.path.isfile(path):
                files.append(path)
    return files


def words(line):
    for sep in (b"\t", b"\0"):
        line = line.replace(sep, b" ")
    return [w for w in line.split(b" ") if w]


def blocks_of(files):
    blocks = []  # (keys, lines)
    for path in files:
        with open(path, "rb") as f:
            data = f.read()
        lines = data.split(b"\n")
        if data.endswith(b"\n"):
            lines.pop()
        current = None
        for line in lines:
            if line.endswith(b"\r"):
                line = line[:-1]
            if line.startswith(b"*"):
                continue
            if line.startswith(b"@@"):
                current = None
            elif line.startswith(b"@"):
                current = (words(line[1:]), [])
                blocks.append(current)
            elif current is not None:
                current[1].append(line)
    return blocks


def oem_to_ansi(line):
    return line.decode("cp866").encode("cp1251", errors="replace")


def compile_base(stem):
    blocks = blocks_of(source_files(stem + ".csr"))
    last = {}
    for i, (keys, _) in enumerate(blocks):
        for key in keys:
            last[key] = i
    keys = sorted(last)
    slot = max([len(k) + 1 for k in keys] + [1])
    texts = b""
    table_end = 12 + len(keys) * (slot + 6)
    offsets = []
    for _, lines in blocks:
        offsets.append(table_end + len(texts))
        for line in lines:
            texts += oem_to_ansi(line) + b"\n"
    out = struct.pack("<iihh", 0, 12, len(keys), slot)
    for key in keys:
        b = last[key]
        out += key.ljust(slot, b"\0") + struct.pack("<ih", offsets[b], len(blocks[b][1]))
    return out + texts


def read_base(data):
    zero, table, count, slot = struct.unpack_from("<iihh", data, 0)
    assert zero == 0 and table == 12 and count >= 0 and slot >= 1
    entries = {}
    for i in range(count):
        at = 12 + i * (slot + 6)
        key = data[at:at + slot].split(b"\0", 1)[0]
        offset, lines = struct.unpack_from("<ih", data, at + slot)
        entries[key] = (offset, lines)
    return entries


def block_lines(data, offset, count):
    if count <= 0 or offset < 0 or offset >= len(data):
        return []
    parts = data[offset:].split(b"\n")
    lines = parts[:count]
    if len(parts) <= count and lines and lines[-1] == b"":
        lines.pop()
    return lines


def printed(lines):
    last = len(lines)
    while last > 0 and not lines[last - 1].strip(b" \t\r"):
        last -= 1
    text, value, has_text = b"", None, False
    for line in lines[:last]:
        if line.startswith(b"="):
            value = line[1:]
            continue
        if line.startswith(b"#"):
            continue
        text += line + b"\n"
        has_text = has_text or bool(line.strip(b" \t\r"))
    return (text + b"\n" if has_text else b""), value


def lookup(data, keys):
    entries = read_base(data)
    out = []
    for key in keys:
        raw = key.encode("cp866")
        entry = entries.get(raw)
        lines = block_lines(data, *entry) if entry else []
        text, value = printed(lines)
        dec = lambda b: b.decode("cp1251", errors="replace").replace("\ufffd", "?")
        out.append({"key": key, "found": entry is not None, "lines": [dec(l) for l in lines],
                    "printed": dec(text), "value": None if value is None else dec(value)})
    return out


def compare(stem, cli, workspace):
    ours = compile_base(stem)
    base = ["--workspace", workspace] if workspace else []
    subprocess.run([cli] + base + ["textbase", "compile", "--force", "--base", stem],
                   check=True, stdout=subprocess.DEVNULL)
    with open(stem + ".cta", "rb") as f:
        theirs = f.read()
    same = ours == theirs
    keys = [k.decode("cp866") for k in read_base(ours)]
    got = json.loads(subprocess.run([cli] + base + ["textbase", "lookup", "--json", "--base", stem]
                                    + sum((["--key", k] for k in keys), []),
                                    check=True, capture_output=True).stdout) if keys else []
    agree = got == lookup(ours, keys)
    print(f"{stem}: {len(ours)} bytes {'identical' if same else 'DIFFERENT'}, "
          f"{len(keys)} keys, lookups {'identical' if agree else 'DIFFERENT'}")
    return same and agree


def main(argv):
    if len(argv) >= 3 and argv[0] == "compile":
        with open(argv[2], "wb") as f:
            f.write(compile_base(argv[1]))
    elif len(argv) >= 2 and argv[0] == "lookup":
        with open(argv[1], "rb") as f:
            print(json.dumps(lookup(f.read(), argv[2:]), ensure_ascii=False))
    elif len(argv) >= 3 and argv[0] == "compare":
        workspace = argv[4] if len(argv) >= 5 and argv[3] == "--workspace" else None
        return 0 if compare(os.path.abspath(argv[1]), argv[2], workspace) else 1
    else:
        print(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
