#!/usr/bin/env python3
"""clang-tidy over the files of a compile_commands.json, with each file's
result kept in a cache keyed by what clang-tidy reads: its version, the
.clang-tidy file, the header filter, the compile flags and the file as the
preprocessor sees it (every header included). A clean clone at another path
reuses the results, since the checkout's path is taken out of the key; a
change to any header a file includes runs that file again.

usage: tools/tidy_cached.py BUILD_DIR JOBS FILE_REGEX HEADER_FILTER
Prints clang-tidy's output for every file; exits 1 when clang-tidy itself
failed on a file (its output is then not kept)."""
import hashlib
import json
import os
import re
import shlex
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

TIDY = "clang-tidy-14"
ROOT = str(Path(__file__).resolve().parent.parent)
PLACEHOLDER = "@QUARN_ROOT@"


def cache_dir() -> Path:
    base = os.environ.get("XDG_CACHE_HOME") or os.path.join(Path.home(), ".cache")
    path = Path(base) / "quarn-tidy"
    path.mkdir(parents=True, exist_ok=True)
    return path


def preprocess_argv(command: str) -> list[str]:
    """The compile command made to print the preprocessed file instead."""
    argv = shlex.split(command)
    out: list[str] = []
    skip = False
    for arg in argv:
        if skip:
            skip = False
            continue
        if arg == "-o":
            skip = True
            continue
        if arg == "-c":
            continue
        out.append(arg)
    return out + ["-E"]


def key_of(entry: dict, fixed: bytes) -> str | None:
    run = subprocess.run(preprocess_argv(entry["command"]), cwd=entry["directory"],
                         capture_output=True)
    if run.returncode != 0:
        return None
    digest = hashlib.sha256(fixed)
    flags = entry["command"].replace(ROOT, PLACEHOLDER).encode()
    digest.update(flags)
    digest.update(run.stdout.replace(ROOT.encode(), PLACEHOLDER.encode()))
    return digest.hexdigest()


def tidy(entry: dict, build: str, header_filter: str, fixed: bytes, cache: Path) -> tuple[str, bool]:
    key = key_of(entry, fixed)
    kept = cache / key if key else None
    if kept and kept.exists():
        return kept.read_text().replace(PLACEHOLDER, ROOT), True
    run = subprocess.run([TIDY, "-p", build, "-quiet", f"-header-filter={header_filter}",
                          entry["file"]], capture_output=True, text=True)
    text = run.stdout + run.stderr
    if run.returncode != 0:
        return text, False
    if kept:
        partial = kept.with_suffix(".part")
        partial.write_text(text.replace(ROOT, PLACEHOLDER))
        partial.replace(kept)
    return text, True


def main() -> int:
    build, jobs, file_regex, header_filter = sys.argv[1:5]
    entries = [e for e in json.load(open(Path(build) / "compile_commands.json"))
               if re.match(file_regex, e["file"])]
    version = subprocess.run([TIDY, "--version"], capture_output=True, text=True).stdout
    config = (Path(ROOT) / ".clang-tidy").read_bytes()
    fixed = (version + header_filter.replace(ROOT, PLACEHOLDER)).encode() + config
    cache = cache_dir()
    status = 0
    with ThreadPoolExecutor(max_workers=int(jobs)) as pool:
        for text, ok in pool.map(lambda e: tidy(e, build, header_filter, fixed, cache), entries):
            sys.stdout.write(text)
            status |= 0 if ok else 1
    return status


if __name__ == "__main__":
    sys.exit(main())
