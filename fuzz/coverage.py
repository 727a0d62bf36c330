"""Branch coverage of the functions a fuzzer exists for, from the JSON that
`llvm-cov export` writes for its coverage build.

usage: coverage.py TARGETS NAME EXPORT_JSON [MISSED_OUT]
Prints "covered total percent" (branch outcomes, each branch counting its
true and its false side, as llvm-cov counts them) for the functions that
TARGETS lists for NAME; MISSED_OUT receives one line per outcome never
taken: function, file:line:column, which side.
"""
import json
import re
import subprocess
import sys


def targets(path, name):
    with open(path) as f:
        for line in f:
            fields = line.split()
            if fields and not fields[0].startswith('#') and fields[0] == name:
                return [re.compile(p) for p in fields[3:]]
    raise SystemExit('coverage: %s is not in %s' % (name, path))


def demangle(names):
    out = subprocess.run(['llvm-cxxfilt-14'], input='\n'.join(names), capture_output=True,
                         text=True, check=True).stdout.splitlines()
    return dict(zip(names, out))


def qualified(demangled):
    name = demangled.replace('(anonymous namespace)::', '')
    return name.split('(', 1)[0].strip()


def main():
    patterns = targets(sys.argv[1], sys.argv[2])
    with open(sys.argv[3]) as f:
        data = json.load(f)['data'][0]
    functions = data['functions']
    # Functions of internal linkage carry their file before a colon.
    raw = [fn['name'].split(':', 1)[-1] for fn in functions]
    names = demangle(sorted(set(raw)))
    covered = total = 0
    missed = []
    seen = set()
    for fn, mangled in zip(functions, raw):
        name = qualified(names.get(mangled, mangled))
        base = name.split('::$', 1)[0]
        if not any(p.fullmatch(base) for p in patterns):
            continue
        # A function built into several objects appears once per object.
        key = (mangled, fn.get('filenames', [''])[0])
        if key in seen:
            continue
        seen.add(key)
        files = fn.get('filenames', [])
        for branch in fn.get('branches', []):
            line, column, _l2, _c2, taken, not_taken, file_id = branch[:7]
            where = '%s:%d:%d' % (files[file_id] if file_id < len(files) else '?', line, column)
            for count, side in ((taken, 'true'), (not_taken, 'false')):
                total += 1
                if count > 0:
                    covered += 1
                else:
                    missed.append('%s %s %s' % (name, where, side))
    percent = 100.0 * covered / total if total else 0.0
    print('%d %d %.1f' % (covered, total, percent))
    if len(sys.argv) > 4:
        with open(sys.argv[4], 'w') as f:
            f.write('\n'.join(missed) + ('\n' if missed else ''))


main()
