#!/usr/bin/env python3
"""Checks the product's include structure; exits 1 with one line per fault.

1. No include climbs a floor. Each folder of the product may include only
   the folders listed for it below (its own always):
     runtime/           nothing above it
     ui/description/    runtime/
     ui/skin/           runtime/, ui/description/, the engine's contract header
     engine/            nothing outside engine/ (it publishes its own contract)
     app/common/        runtime/, ui/
     app/dock/, app/launch/   app/common/ and below; neither the other feature
     app/ (its own files: the composition)   everything of the product
2. No import circle: a file's module is its path without extension (X.h and
   X.cpp are one module); the modules that include each other, directly or
   through others, are reported.

usage: check_layers.py [ROOT]
"""
import os
import re
import sys

PRODUCT = ("runtime/", "ui/", "engine/", "app/")
CONTRACT = "engine/SkinEngineInterface.h"
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)

# (folder, folders it may include besides itself), most specific first.
ALLOWED = [
    ("app/common/", ["runtime/", "ui/"]),
    ("app/dock/", ["app/common/", "runtime/", "ui/"]),
    ("app/launch/", ["app/common/", "runtime/", "ui/"]),
    ("app/", ["app/", "runtime/", "ui/"]),
    ("ui/skin/", ["runtime/", "ui/description/", CONTRACT]),
    ("ui/description/", ["runtime/"]),
    ("engine/", []),
    ("runtime/", []),
]


def floor_of(path):
    for folder, allowed in ALLOWED:
        if path.startswith(folder):
            return folder, allowed
    return None, None


def source_files(root):
    for folder in PRODUCT:
        for base, _dirs, files in os.walk(os.path.join(root, folder)):
            for name in files:
                if name.endswith((".h", ".cpp", ".inl")):
                    full = os.path.join(base, name)
                    yield os.path.relpath(full, root).replace(os.sep, "/")


def includes_of(root, path):
    with open(os.path.join(root, path), encoding="utf-8") as f:
        return [i for i in INCLUDE.findall(f.read()) if i.startswith(PRODUCT)]


def climbing(path, included):
    folder, allowed = floor_of(path)
    if folder is None or included.startswith(folder):
        return False
    return not any(included.startswith(a) for a in allowed)


def module(path):
    return os.path.splitext(path)[0]


def circles(graph):
    """Strongly connected groups of more than one module (Tarjan)."""
    index, low, stack, on_stack, groups = {}, {}, [], set(), []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        for w in sorted(graph.get(v, ())):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            group = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                group.append(w)
                if w == v:
                    break
            if len(group) > 1:
                groups.append(sorted(group))

    sys.setrecursionlimit(10000)
    for v in sorted(graph):
        if v not in index:
            visit(v)
    return groups


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(os.path.dirname(__file__), ".."))
    faults = []
    graph = {}
    files = sorted(source_files(root))
    for path in files:
        for included in includes_of(root, path):
            if not os.path.exists(os.path.join(root, included)):
                continue  # generated at build time
            if climbing(path, included):
                faults.append("%s includes %s: not allowed from %s" % (path, included, floor_of(path)[0]))
            if module(included) != module(path):
                graph.setdefault(module(path), set()).add(module(included))
    for group in circles(graph):
        faults.append("import circle: " + " <-> ".join(group))
    for fault in faults:
        print(fault)
    print("check_layers: %d files, %d faults" % (len(files), len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
