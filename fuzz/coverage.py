"""Branch coverage of the functions a fuzzer exists for, from the JSON that
`llvm-cov export` writes for its coverage build.

usage: coverage.py TARGETS NAME EXPORT_JSON [MISSED_OUT]
Prints "covered total percent unreachable" (branch outcomes, each branch
counting its true and its false side, as llvm-cov counts them) for the
functions that TARGETS lists for NAME. The outcomes that unreachable.txt
(beside TARGETS) names for NAME (those its input cannot produce, each with the reason) are left out of
the total and counted in the last figure; one listed there that was reached
after all, or that no longer exists, is reported on stderr and counted as
any other. MISSED_OUT receives one line per outcome never taken: function,
file:line:column, which side (and the reason when it is listed unreachable).
"""
import json
import os
import re
import subprocess
import sys


def fields_of(path):
    with open(path) as f:
        for line in f:
            fields = line.split('#', 1)[0].split()
            if fields:
                yield fields, line


def targets(path, name):
    for fields, _line in fields_of(path):
        if fields[0] == name:
            return [re.compile(p) for p in fields[3:]]
    raise SystemExit('coverage: %s is not in %s' % (name, path))


def unreachable(path, name):
    """(function, file:line:column, side) -> reason, for NAME."""
    listed = {}
    for fields, line in fields_of(path):
        if fields[0] == name and len(fields) >= 4:
            reason = line.split('#', 1)[1].strip() if '#' in line else ''
            listed[tuple(fields[1:4])] = reason
    return listed


def demangle(names):
    out = subprocess.run(['llvm-cxxfilt-14'], input='\n'.join(names), capture_output=True,
                         text=True, check=True).stdout.splitlines()
    return dict(zip(names, out))


def qualified(demangled):
    name = demangled.replace('(anonymous namespace)::', '')
    return name.split('(', 1)[0].strip()


def main():
    patterns = targets(sys.argv[1], sys.argv[2])
    cannot = unreachable(os.path.join(os.path.dirname(sys.argv[1]), 'unreachable.txt'),
                         sys.argv[2])
    root = os.path.dirname(os.path.dirname(os.path.abspath(sys.argv[1]))) + '/'
    with open(sys.argv[3]) as f:
        data = json.load(f)['data'][0]
    functions = data['functions']
    # Functions of internal linkage carry their file before a colon.
    raw = [fn['name'].split(':', 1)[-1] for fn in functions]
    names = demangle(sorted(set(raw)))
    covered = total = left_out = 0
    missed = []
    seen = set()
    found = set()
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
        files = [f[len(root):] if f.startswith(root) else f for f in fn.get('filenames', [])]
        for branch in fn.get('branches', []):
            line, column, _l2, _c2, taken, not_taken, file_id = branch[:7]
            where = '%s:%d:%d' % (files[file_id] if file_id < len(files) else '?', line, column)
            for count, side in ((taken, 'true'), (not_taken, 'false')):
                outcome = (base, where, side)
                if outcome in cannot:
                    found.add(outcome)
                    if count == 0:
                        left_out += 1
                        missed.append('%s %s %s unreachable: %s' % (name, where, side,
                                                                   cannot[outcome]))
                        continue
                    sys.stderr.write('coverage: %s %s %s is listed unreachable but was reached\n'
                                     % outcome)
                total += 1
                if count > 0:
                    covered += 1
                else:
                    missed.append('%s %s %s' % (name, where, side))
    for outcome in sorted(set(cannot) - found):
        sys.stderr.write('coverage: %s %s %s is listed unreachable but does not exist '
                         '(the code moved?)\n' % outcome)
    percent = 100.0 * covered / total if total else 0.0
    print('%d %d %.1f %d' % (covered, total, percent, left_out))
    if len(sys.argv) > 4:
        with open(sys.argv[4], 'w') as f:
            f.write('\n'.join(missed) + ('\n' if missed else ''))


main()
