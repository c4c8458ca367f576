#!/usr/bin/env python3
"""Writes territories_table.txt: points of every French territory transformed by
PROJ with the same operations as the default catalogue's standard
transformations.

    tests/engine/reference/make_territories_table.py

For every pair of systems that a "TSG" line of data/catalogue.txt joins, in
both directions, the departure is taken in the geographic coordinates and in
each projection of its system, and the arrival cycles through the geographic
coordinates and each projection of the other system, so that every projection
of the pair appears. A few points per case are drawn in the area both systems
and both projections cover.

The computations are PROJ's (Debian proj-bin), from the EPSG codes: each
projection is PROJ's definition of the EPSG projected system, each datum change
is PROJ's pipeline of the EPSG transformation that the catalogue line stands
for (projinfo -k operation EPSG:code), run with cct. Where PROJ would choose
another operation for the two systems (a grid, for NTF to RGF93), the table
still uses the catalogue's one, named on its case line. A direction that the
catalogue serves by inverting a line starts from points without height on
the operation's arrival side and finds their departure with PROJ's forward
operation (PROJ's inverse, corrected until the forward operation gives the
points back): the program inverts the similarity exactly, where PROJ's
inverse Helmert turns the rotations by the transpose of the small-angle
matrix. The Gauss-Laborde
projection of Réunion (EPSG 3727, described as transverse Mercator by the
registry) is computed by PROJ's gstmerc, the IGN's double projection.

Rows: territory, departure system, departure projection (0: geographic,
longitude and latitude in decimal degrees from Greenwich), arrival system,
arrival projection, two departure values, two arrival values.
"""

import concurrent.futures
import os
import random
import re
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", "..", ".."))
CATALOGUE = os.path.join(ROOT, "data", "catalogue.txt")
TABLE = os.path.join(HERE, "territories_table.txt")
POINTS = 2

# The catalogue's first lines, which carry no EPSG code of their own.
KEPT_OPERATIONS = {1: 1193, 2: 1651, 3: 1275, 4: 1671, 5: 1149, 6: 1926, 7: 1912}
# Geographic EPSG systems of the catalogue's first ids (NTF from Greenwich).
KEPT_SYSTEMS = {1: 4275, 2: 4230, 3: 4326, 4: 4171, 5: 4626, 6: 4627, 7: 4258}
# Short territory keys, by the comment lines of the systems section.
TERRITORY_KEYS = [("France métropolitaine", "metropole"), ("Antilles", "antilles"),
                  ("Guyane", "guyane"), ("Réunion", "reunion"), ("Mayotte", "mayotte"),
                  ("Saint-Pierre", "spm"), ("Polynésie", "polynesie"),
                  ("Nouvelle-Calédonie", "caledonie"), ("Wallis", "wallis"),
                  ("Terres australes", "taaf")]


def read_catalogue():
    systems, territory, zones, permissions, transformations = {}, {}, {}, {}, []
    current = None
    section = None
    with open(CATALOGUE, encoding="latin-1") as f:
        for line in f:
            line = line.rstrip("\r\n")
            if line.startswith("* SYSTÈMES GÉODÉSIQUES"):
                section = "systems"
            elif line.startswith("* SYSTÈMES ALTIMÉTRIQUES"):
                section = None
            if section == "systems" and line.startswith("* "):
                for prefix, key in TERRITORY_KEYS:
                    if prefix in line:
                        current = key
            f_ = line.split()
            if not f_:
                continue
            if f_[0] == "REG":
                systems[int(f_[1])] = " ".join(f_[5:])
                territory[int(f_[1])] = current
            elif f_[0] == "ZNE":
                zones.setdefault(int(f_[1]), []).append(tuple(map(float, f_[3:7])))
            elif f_[0] == "PROJ":
                permissions.setdefault(int(f_[1]), []).append(
                    (int(f_[2]), tuple(map(float, f_[4:8]))))
            elif f_[0] == "TSG":
                transformations.append((int(f_[1]), int(f_[2]), int(f_[3])))
    return systems, territory, zones, permissions, transformations


def run(args, text=None):
    return subprocess.run(args, input=text, capture_output=True, text=True, check=True).stdout


_definitions = {}


def projection_definition(code):
    """PROJ's definition of an EPSG projected system, as one pipeline step."""
    if code not in _definitions:
        text = run(["projinfo", "EPSG:%d" % code, "-o", "PROJ", "--single-line", "-q"]).strip()
        text = re.sub(r" \+towgs84=\S+| \+no_defs| \+type=crs| \+units=m", "", text)
        if code == 3727:
            text = text.replace("+proj=tmerc", "+proj=gstmerc")
        _definitions[code] = text
    return _definitions[code]


_operations = {}


def operation_steps(code):
    """The datum steps of PROJ's pipeline of an EPSG transformation, between
    geographic coordinates in radians."""
    if code not in _operations:
        text = run(["projinfo", "-k", "operation", "EPSG:%d" % code, "-o", "PROJ",
                    "--single-line", "-q"]).strip()
        steps = [s.strip() for s in text.split("+step")[1:]] if "+step" in text else []
        steps = [s for s in steps
                 if not s.startswith("+proj=axisswap") and not s.startswith("+proj=unitconvert")]
        _operations[code] = steps
    return _operations[code]


def intersect(a, b):
    box = (max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3]))
    return box if box[0] < box[2] and box[1] < box[3] else None


def common_area(boxes_a, boxes_b):
    for a in boxes_a:
        for b in boxes_b:
            box = intersect(a, b)
            if box:
                return box
    return None


def cct(pipeline, points, inverse=False):
    """Runs cct on (x, y, z) points; returns (x, y, z) points."""
    text = "".join("%.12f %.12f %.12f 0\n" % p for p in points)
    out = run(["cct", "-d", "12"] + (["-I"] if inverse else []) + pipeline.split(), text)
    return [tuple(float(v) for v in line.split()[:3]) for line in out.splitlines()
            if line.strip()]


def datum_pipeline(operation):
    """Geographic degrees to geographic degrees with the operation, the
    ellipsoidal height carried through (never put back as it came)."""
    steps = [s for s in operation_steps(operation)
             if s not in ("+proj=push +v_3", "+proj=pop +v_3")]
    steps = (["+proj=unitconvert +xy_in=deg +xy_out=rad"] + steps +
             ["+proj=unitconvert +xy_in=rad +xy_out=deg"])
    return "+proj=pipeline " + " ".join("+step " + s for s in steps)


def sides(system, area, permissions):
    """Geographic (0) and each projection of the system whose extent meets the area."""
    result = [(0, area)]
    for projection, box in permissions.get(system, []):
        part = intersect(area, box)
        if part:
            result.append((projection, part))
    return result


def direction_rows(job):
    """Rows of one direction: (territory, departure, arrival), each side a
    (system, projection, longitude, latitude)."""
    key, source, target, operation, inverted, starts, ends, start, end, seed = job
    rng = random.Random(seed)
    cases = []
    for i in range(max(len(starts), len(ends))):
        (p_start, box_start), (p_end, box_end) = starts[i % len(starts)], ends[i % len(ends)]
        box = intersect(box_start, box_end)
        if box is None:
            continue
        west, south, east, north = box
        dx, dy = (east - west) * 0.1, (north - south) * 0.1
        for _ in range(POINTS):
            cases.append((p_start, p_end, (round(rng.uniform(west + dx, east - dx), 9),
                                           round(rng.uniform(south + dy, north - dy), 9), 0.0)))
    if not cases:
        return []
    pipeline = datum_pipeline(operation)
    drawn = [c[2] for c in cases]
    if not inverted:
        # Points drawn on the operation's departure, without height.
        departures, arrivals = drawn, cct(pipeline, drawn)
    else:
        # Points drawn on the operation's arrival without height: the
        # departure whose image they are, by PROJ's inverse corrected with
        # its forward until the forward gives them back.
        found = cct(pipeline, drawn, inverse=True)
        for _ in range(3):
            images = cct(pipeline, found)
            found = [tuple(f + (d - i) for f, d, i in zip(point, wanted, image))
                     for point, wanted, image in zip(found, drawn, images)]
        departures, arrivals = found, drawn
    rows = []
    for (p_start, p_end, _), a, b in zip(cases, departures, arrivals):
        first, second = (start, p_start, a[0], a[1]), (end, p_end, b[0], b[1])
        rows.append((key, second, first) if inverted else (key, first, second))
    return rows


def main():
    systems, territory, zones, permissions, transformations = read_catalogue()

    # Direction -> the record the catalogue finds for it: listed that way
    # first, else the reverse one, inverted.
    pairs = {}
    for tid, s, t in transformations:
        pairs.setdefault((s, t), (tid, False))
    for tid, s, t in transformations:
        pairs.setdefault((t, s), (tid, True))

    jobs, notes = [], []
    for seed, ((source, target), (tid, inverted)) in enumerate(pairs.items()):
        operation = KEPT_OPERATIONS.get(tid, tid)
        key = territory[source] if territory[source] and source != 3 else territory[target]
        area = common_area(zones[source], zones[target])
        if area is None:
            continue
        # The side the EPSG operation starts from.
        start, end = (target, source) if inverted else (source, target)
        note = "%s to %s: EPSG %d%s" % (
            systems[source], systems[target], operation,
            ", inverted (the departure found by PROJ's forward operation)" if inverted else "")
        if tid == 2:
            note += " (NTF to ETRS89's parameters; PROJ would take the ntf_r93 grid)"
        operation_steps(operation)
        jobs.append((key, source, target, operation, inverted, sides(start, area, permissions),
                     sides(end, area, permissions), start, end, seed))
        notes.append(note)
    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        results = list(pool.map(direction_rows, jobs))

    # The projected values, by PROJ's definition of each EPSG projected system.
    wanted = {}
    for rows in results:
        for _, first, second in rows:
            for system, projection, lon, lat in (first, second):
                if projection:
                    wanted.setdefault(projection, set()).add((lon, lat))
    projected = {}
    codes = sorted(wanted)
    for code in codes:
        projection_definition(code)

    def project(code):
        points = sorted(wanted[code])
        values = cct(projection_definition(code), [(lon, lat, 0.0) for lon, lat in points])
        return {p: v[:2] for p, v in zip(points, values)}

    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        for code, values in zip(codes, pool.map(project, codes)):
            projected[code] = values

    def values(side):
        system, projection, lon, lat = side
        if projection:
            return "%.6f %.6f" % projected[projection][(lon, lat)]
        return "%.11f %.11f" % (lon, lat)

    lines = []
    for note, rows in zip(notes, results):
        if not rows:
            continue
        lines.append("# " + note)
        for key, first, second in rows:
            lines.append("%s %d %d %d %d %s %s" % (key, first[0], first[1], second[0],
                                                    second[1], values(first), values(second)))

    with open(TABLE, "w", encoding="utf-8", newline="\n") as f:
        f.write("# Points of every territory transformed by PROJ with the EPSG operations of\n")
        f.write("# the catalogue's standard transformations (make_territories_table.py).\n")
        f.write("# territory, departure system and projection, arrival system and projection\n")
        f.write("# (0: geographic, degrees from Greenwich), departure values, arrival values\n")
        for line in lines:
            f.write(line + "\n")


if __name__ == "__main__":
    main()
