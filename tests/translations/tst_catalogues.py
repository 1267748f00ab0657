#!/usr/bin/env python3
"""The catalogues against the texts the code says: every text extracted from the sources has a
finished translation in each catalogue, none is left over, and a translation keeps its source's
placeholders (%1, %2...) and its one "&" shortcut.
Usage: tst_catalogues.py SOURCE-DIR"""
import glob, os, re, shutil, subprocess, sys, tempfile
import xml.etree.ElementTree as ET

src = os.path.abspath(sys.argv[1])
catalogues = sorted(glob.glob(os.path.join(src, "translations", "quorvel_*.ts")))
if not catalogues:
    print("FAILED: no catalogues in translations/")
    sys.exit(1)
failed = []
with tempfile.TemporaryDirectory() as work:
    copies = []
    for ts in catalogues:
        copy = os.path.join(work, os.path.basename(ts))
        shutil.copy(ts, copy)
        copies.append(copy)
    # The catalogues as the code makes them now: new texts come in unfinished, texts the code
    # no longer says are dropped.
    lupdate = shutil.which("lupdate6") or "/usr/lib/qt6/bin/lupdate"
    if not os.path.exists(lupdate) and not shutil.which("lupdate"):
        print("SKIPPED: lupdate is not installed")
        sys.exit(77)
    subprocess.run([lupdate if os.path.exists(lupdate) else "lupdate", "-silent", "-no-obsolete",
                    "-locations", "none", "-extensions", "cpp,h", "common", "control", "host",
                    "setup", "store", "sync", "tools", "-ts"] + copies, cwd=src, check=True)

    def placeholders(text):
        return sorted(re.findall(r"%\d", text or ""))

    def shortcuts(text):
        return len(re.findall(r"&(?!&|amp;)\w", text or ""))

    for ts, copy in zip(catalogues, copies):
        name = os.path.basename(ts)
        before = ET.parse(ts).getroot()
        after = ET.parse(copy).getroot()
        if len(before.findall(".//message")) != len(after.findall(".//message")):
            failed.append(f"{name}: the code says other texts than the catalogue holds; "
                          "run scripts/update-translations and translate the new entries")
        for context in after.findall("context"):
            ctx = context.find("name").text
            for m in context.findall("message"):
                source = m.find("source").text
                t = m.find("translation")
                where = f"{name} {ctx}: {source!r}"
                if t.get("type") in ("unfinished", "vanished", "obsolete") or not (t.text or "").strip():
                    failed.append(f"{where} is not translated")
                    continue
                if placeholders(source) != placeholders(t.text):
                    failed.append(f"{where}: placeholders differ in {t.text!r}")
                if shortcuts(source) != shortcuts(t.text):
                    failed.append(f"{where}: the & shortcut differs in {t.text!r}")
for f in failed:
    print("FAILED:", f)
sys.exit(1 if failed else 0)
