#!/usr/bin/python3
"""id3v1 set and remove on every file of tests/data/trailing/make-layouts
whose end is clear, then mutagen reads the APEv2 tag again: the same items
where they were, and the file before the ID3v1 tag and its TAG+ block byte for
byte as it was. mutagen looks for an APEv2 tag behind a Lyrics3 block only
where an ID3v1 tag follows it, so after remove such a file is checked by its
bytes alone.

    ape_kept.py ID3V1 LAYOUTS_DIR
"""
import json, os, shutil, subprocess, sys, tempfile

import mutagen.apev2 as apev2

ID3V1, LAYOUTS = sys.argv[1], sys.argv[2]


def ape_items(path):
    try:
        return {key: (value.kind, value.value) for key, value in apev2.APEv2(path).items()}
    except apev2.APENoHeaderError:
        return None


failures = []
with tempfile.TemporaryDirectory() as work:
    for layout in json.load(open(os.path.join(LAYOUTS, "layouts.json"))):
        if layout["unclear"]:
            continue
        original = os.path.join(LAYOUTS, layout["file"])
        kept = [b for b in layout["blocks"] if b[0] not in ("ID3v1", "TAG+")]
        kept_end = kept[-1][1] + kept[-1][2] if kept else layout["audio_end"]
        before = open(original, "rb").read()[:kept_end]
        want = ape_items(original)
        for command in (["set", "--title", "x"], ["remove"]):
            copy = os.path.join(work, layout["file"])
            shutil.copyfile(original, copy)
            subprocess.run([ID3V1, *command, copy], check=True, capture_output=True)
            data = open(copy, "rb").read()
            whole = data == before if command == ["remove"] else data.startswith(before)
            behind_lyrics = command == ["remove"] and kept and kept[-1][0].startswith("Lyrics3")
            if not whole or (ape_items(copy) != want and not behind_lyrics):
                failures.append(f"{layout['file']}: {command[0]}")
print("\n".join(failures) or "every APEv2 tag read by mutagen as it was")
sys.exit(1 if failures else 0)
