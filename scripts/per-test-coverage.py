#!/usr/bin/env python3
"""What each test reaches that no other does: runs every ctest test alone on a coverage build
(scripts/coverage.sh makes one), records the lines and branches of src/ it reaches, and lists the
tests whose whole reach the others cover, largest first, as far as they can all go together.

A test on that list reaches nothing new, yet it may still be the only one that checks a value
(a golden hash, a byte layout, a model of an algorithm): the list is where to look, not what to
delete. Run under an X server (xvfb-run) from the project's root:

    xvfb-run -a -s "-screen 0 1280x1024x24" scripts/per-test-coverage.py [build-coverage]

The runs are kept in BUILD/per-test-coverage.jsonl; a second call reuses them.
"""
import collections
import glob
import json
import os
import re
import subprocess
import sys

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'build-coverage'))
runs = os.path.join(build, 'per-test-coverage.jsonl')
src = os.path.join(root, 'src') + '/'


def reach():
    """Lines and branches of src/ the counters in the build hold."""
    lines, branches = set(), set()
    notes = glob.glob(build + '/**/*.gcda', recursive=True)
    for i in range(0, len(notes), 40):
        out = subprocess.run(['gcov', '-b', '--json-format', '--stdout'] + notes[i:i + 40], cwd='/tmp',
                             capture_output=True, text=True).stdout
        for chunk in out.splitlines():
            if not chunk.startswith('{'):
                continue
            for f in json.loads(chunk).get('files', []):
                name = os.path.normpath(f['file'])
                if not name.startswith(src):
                    continue
                name = name[len(src):]
                for line in f['lines']:
                    if line['count'] > 0:
                        lines.add(f"{name}:{line['line_number']}")
                    for k, b in enumerate(line.get('branches', [])):
                        if b['count'] > 0 and not b.get('throw'):
                            branches.add(f"{name}:{line['line_number']}:{k}")
    return lines, branches


def run_each():
    listed = subprocess.run(['ctest', '-N'], cwd=build, capture_output=True, text=True).stdout.splitlines()
    names = [l.split(': ', 1)[1].strip() for l in listed if re.match(r'\s*Test\s+#\d+: ', l)]
    done = set()
    if os.path.exists(runs):
        done = {json.loads(l)['test'] for l in open(runs)}
    with open(runs, 'a') as out:
        for name in names:
            if name in done:
                continue
            for counters in glob.glob(build + '/**/*.gcda', recursive=True):
                os.remove(counters)
            subprocess.run(['ctest', '-R', '^' + re.escape(name) + '$', '--timeout', '300'], cwd=build,
                           capture_output=True)
            lines, branches = reach()
            out.write(json.dumps({'test': name, 'lines': sorted(lines), 'branches': sorted(branches)}) + '\n')
            out.flush()
            print(f'{name}: {len(lines)} lines, {len(branches)} branches', flush=True)


def test_sizes():
    """Non-blank lines of each TEST block, by Suite.Name."""
    sizes = {}
    for path in glob.glob(os.path.join(root, 'tests/**/*.cpp'), recursive=True):
        name, count = None, 0
        for line in open(path):
            found = re.match(r'^TEST(?:_F|_P)?\((\w+),\s*(\w+)\)', line)
            if found:
                if name:
                    sizes[name] = count
                name, count = f'{found.group(1)}.{found.group(2)}', 0
            count += bool(line.strip())
        if name:
            sizes[name] = count
    return sizes


def report():
    reached = collections.defaultdict(lambda: (set(), set()))
    for line in open(runs):
        run = json.loads(line)
        found = re.match(r'(?:\w+/)?(\w+)\.(\w+)(?:/.*)?$', run['test'])  # parameterised cases together
        key = f'{found.group(1)}.{found.group(2)}' if found else run['test']
        reached[key][0].update(run['lines'])
        reached[key][1].update(run['branches'])
    lines, branches = collections.Counter(), collections.Counter()
    for l, b in reached.values():
        lines.update(l)
        branches.update(b)
    print(f'all tests: {len(lines)} lines, {len(branches)} branches of src/')
    sizes = test_sizes()
    total = 0
    for name in sorted(reached, key=lambda n: -sizes.get(n, 0)):
        l, b = reached[name]
        if sizes.get(name) and all(lines[x] > 1 for x in l) and all(branches[x] > 1 for x in b):
            for x in l:
                lines[x] -= 1
            for x in b:
                branches[x] -= 1
            total += sizes[name]
            print(f'{sizes[name]:4} {name}')
    print(f'{total} test lines reach nothing the rest do not')


run_each()
report()
