#!/usr/bin/env python3
"""Regenerates the reference tables of whole transformations with PROJ.

Each table holds points transformed by PROJ's `cct` with the parameters of
the default catalogue (data/catalogue.txt, read here): ellipsoids by a and e²,
prime meridians, projections and the translations of the standard
transformations. The engine's tests read the committed tables, so running the
tests does not need PROJ; this script documents how the numbers were made.

Usage: tests/engine/reference/make_chain_tables.py   (needs python3, proj-bin)

The pipelines are written out step by step rather than left to cs2cs: cs2cs
replaces a prime meridian or an ellipsoid given by numbers with the nearest
named one (Paris 2°20'14.025" instead of the catalogue's 2.5969213 grades),
which moves points by a quarter of a millimetre.

Table layout: comment lines start with '#'; the line starting with '#!' names
the departure and arrival as "type system projection meridian" (CoordType,
catalogue ids, 0 for none). Each data line holds the three departure numbers
and the three arrival numbers: x y z for cartesian, longitude latitude height
in decimal degrees counted from the named meridian for geographic, easting
northing height for projected.
"""

import os
import random
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", "..", ".."))
CATALOGUE = os.path.join(ROOT, "data", "catalogue.txt")
POINTS = 500
CARTESIAN, GEOGRAPHIC, PROJECTED = 1, 2, 3


def to_degrees(value, unit):
    if unit == 1:
        return value * 180.0 / 3.141592653589793
    if unit == 3:
        return value * 0.9
    if unit == 10:  # packed degrees-minutes-seconds
        sign = -1 if value < 0 else 1
        text = "%.8f" % abs(value)
        whole, frac = text.split(".")
        return sign * (int(whole) + int(frac[:2]) / 60.0 + float(frac[2:4] + "." + frac[4:]) / 3600.0)
    return value


class Catalogue:
    def __init__(self, path):
        self.ellipsoids, self.meridians, self.systems = {}, {}, {}
        self.projections, self.transformations, self.projection_zones = {}, [], {}
        self.system_zones = {}
        with open(path, encoding="latin-1") as f:
            for line in f:
                w = line.split()
                if not w or line[0] in "* \t":
                    continue
                key = w[0]
                if key.startswith("ELG"):
                    self.ellipsoids.setdefault(int(w[1]), (float(w[2]), float(w[5])))
                elif key.startswith("LGO"):
                    self.meridians.setdefault(int(w[1]), to_degrees(float(w[3]), int(w[2])))
                elif key.startswith("REG"):
                    self.systems.setdefault(int(w[1]), (int(w[2]), int(w[3])))
                elif key.startswith("ZNE"):
                    self.system_zones.setdefault(int(w[1]), [to_degrees(float(v), int(w[2])) for v in w[3:7]])
                elif key.startswith("TSG0"):
                    continue
                elif key.startswith("TSG"):
                    self.transformations.append((int(w[2]), int(w[3]), [float(v) for v in w[5:12]]))
                elif key.startswith("PRC"):
                    self.projections.setdefault(int(w[1]), {
                        "subkind": int(w[2]), "ellipsoid": int(w[3]), "x0": float(w[4]),
                        "y0": float(w[5]), "meridian": int(w[6]), "unit": int(w[7]),
                        "lon0": float(w[8]), "lat0": float(w[9]), "k0": float(w[10]),
                        "lat1": float(w[11]), "lat2": float(w[12]), "family": int(w[14])})
                elif key.startswith("PROJ"):
                    self.projection_zones.setdefault((int(w[1]), int(w[2])),
                                                     [to_degrees(float(v), int(w[3])) for v in w[4:8]])

    def ellipsoid(self, elg_id):
        a, e2 = self.ellipsoids[elg_id]
        return "+a=%r +es=%r" % (a, e2)

    def system_ellipsoid(self, system_id):
        return self.ellipsoid(self.systems[system_id][0])

    def projection(self, prc_id):
        p = self.projections[prc_id]
        deg = lambda v: to_degrees(v, p["unit"])
        lon0 = deg(p["lon0"])
        if p["family"] != 5 and p["meridian"] != 1:
            lon0 += self.meridians[p["meridian"]]
        common = "+lon_0=%r +lat_0=%r +x_0=%r +y_0=%r %s" % (
            lon0, deg(p["lat0"]), p["x0"], p["y0"], self.ellipsoid(p["ellipsoid"]))
        family = p["family"]
        if family == 1 and p["subkind"] == 3:
            return "+proj=lcc +lat_1=%r +lat_2=%r %s" % (deg(p["lat1"]), deg(p["lat2"]), common)
        if family == 1:
            return "+proj=lcc +lat_1=%r +k_0=%r %s" % (deg(p["lat0"]), p["k0"], common)
        if family in (2, 3):
            return "+proj=tmerc +k_0=%r %s" % (p["k0"], common)
        if family == 5:
            return "+proj=gstmerc +k_0=%r %s" % (p["k0"], common)
        if family == 6:
            return "+proj=laea %s" % common
        raise ValueError("family %d" % family)

    def helmert(self, source, target):
        """Similarity from source to target, as the engine finds it."""
        for s, t, params in self.transformations:
            if s == source and t == target:
                return helmert_step(params, False)
        for s, t, params in self.transformations:
            if s == target and t == source:
                return helmert_step(params, True)
        raise ValueError("no transformation %d -> %d" % (source, target))


def helmert_step(params, inverse):
    tx, ty, tz, d, rx, ry, rz = params
    if d or rx or ry or rz:
        # The engine's small-angle matrix is that of the position-vector
        # convention; its inverse is the exact inverse of that matrix, which
        # PROJ's approximate inverse does not reproduce to the micrometre.
        if inverse:
            sys.exit("inverted seven-parameter records need a reference of their own")
        # PROJ scales the rotated vector, the engine only the diagonal: the
        # catalogue's rotations are PROJ's multiplied by (1 + D).
        k = 1 + d * 1e-6
        return ("+step +proj=helmert +x=%r +y=%r +z=%r +s=%r +rx=%r +ry=%r +rz=%r "
                "+convention=position_vector" % (tx, ty, tz, d, rx / k, ry / k, rz / k))
    return "+step %s+proj=helmert +x=%r +y=%r +z=%r" % ("+inv " if inverse else "", tx, ty, tz)


def side_steps(cat, side, forward):
    """Steps from geographic degrees (Greenwich) to a side's coordinates."""
    kind, system, projection, meridian = side
    if kind == PROJECTED:
        return ["%s%s" % ("" if forward else "+inv ", cat.projection(projection))]
    if kind == CARTESIAN:
        return ["%s+proj=cart %s" % ("" if forward else "+inv ", cat.system_ellipsoid(system))]
    if meridian != 1:
        return ["%s+proj=longlat +pm=%r %s" % ("" if forward else "+inv ", cat.meridians[meridian],
                                               cat.system_ellipsoid(system))]
    return []


def pipeline(steps):
    steps = [s if s.startswith("+step") else "+step " + s for s in steps]
    if not steps:
        steps = ["+step +proj=noop"]
    return "+proj=pipeline " + " ".join(steps)


def cct(pipe, rows, decimals):
    text = "".join("%s 0\n" % " ".join(r) for r in rows)
    out = subprocess.run(["cct", "-d", str(decimals)] + pipe.split(), input=text,
                         capture_output=True, text=True, check=True).stdout
    return [line.split()[:3] for line in out.splitlines() if line.strip()]


def number_format(kind):
    return "%.10f" if kind == GEOGRAPHIC else "%.4f"


def make_case(cat, name, title, source, target, zone, heights, seed):
    rng = random.Random(seed)
    west, south, east, north = zone
    points = []
    for _ in range(POINTS):
        lon = rng.uniform(west, east)
        lat = rng.uniform(south, north)
        h = rng.uniform(*heights) if heights else 0.0
        points.append(("%.12f" % lon, "%.12f" % lat, "%.6f" % h))

    # Departure numbers, rounded as a user would type them.
    fmt = number_format(source[0])
    made = cct(pipeline(side_steps(cat, source, True)), points, 12)
    inputs = [(fmt % float(x), fmt % float(y), "%.4f" % float(h)) for (x, y, _), (_, _, h) in
              zip(made, points)] if source[0] != CARTESIAN else \
             [tuple("%.4f" % float(v) for v in m) for m in made]

    if source[1] == target[1]:
        steps = side_steps(cat, source, False) + side_steps(cat, target, True)
    else:
        # Departure to cartesian, the similarity, cartesian to arrival; a
        # cartesian side needs no conversion of its own.
        steps = [] if source[0] == CARTESIAN else side_steps(cat, source, False) + [
            "+proj=cart " + cat.system_ellipsoid(source[1])]
        steps.append(cat.helmert(source[1], target[1]))
        if target[0] != CARTESIAN:
            steps += ["+inv +proj=cart " + cat.system_ellipsoid(target[1])] + side_steps(cat, target, True)
    pipe = pipeline(steps)
    outputs = cct(pipe, inputs, 12)

    path = os.path.join(HERE, name + ".txt")
    with open(path, "w", newline="\n") as f:
        f.write("# %s\n" % title)
        f.write("# made by make_chain_tables.py with PROJ cct:\n# %s\n" % pipe)
        f.write("#! %d %d %d %d  %d %d %d %d\n" % (source + target))
        for i, o in zip(inputs, outputs):
            f.write("%s %s %s  %s %s %s\n" % (i + tuple(o)))
    print("%-28s %d points" % (name, len(outputs)))


def main():
    cat = Catalogue(CATALOGUE)
    seed = 1
    NTF, ED50, WGS84, RGF93, REUNION, RGR92 = 1, 2, 3, 4, 5, 6
    GREENWICH, PARIS = 1, 2
    lamberts = [(27561, "l1"), (27562, "l2"), (27563, "l3"), (27564, "l4"), (27572, "l2e")]
    for prc, short in lamberts:
        zone = cat.projection_zones[(NTF, prc)]
        src = (PROJECTED, NTF, prc, PARIS)
        make_case(cat, "ntf_%s_to_lambert93" % short, "NTF %d to RGF93 Lambert-93" % prc, src,
                  (PROJECTED, RGF93, 2154, GREENWICH), zone, None, seed)
        make_case(cat, "ntf_%s_to_wgs84_geographic" % short, "NTF %d to WGS84 geographic" % prc,
                  src, (GEOGRAPHIC, WGS84, 0, GREENWICH), zone, None, seed + 1)
        seed += 2
    for zone_number in (30, 31, 32):
        prc = 23000 + zone_number
        zone = cat.projection_zones[(ED50, prc)]
        src = (PROJECTED, ED50, prc, GREENWICH)
        make_case(cat, "ed50_utm%d_to_wgs84_geographic" % zone_number,
                  "ED50 UTM %d to WGS84 geographic" % zone_number, src,
                  (GEOGRAPHIC, WGS84, 0, GREENWICH), zone, None, seed)
        make_case(cat, "ed50_utm%d_to_wgs84_cartesian" % zone_number,
                  "ED50 UTM %d to WGS84 cartesian" % zone_number, src,
                  (CARTESIAN, WGS84, 0, GREENWICH), zone, None, seed + 1)
        seed += 2
    for prc in [2154] + list(range(3942, 3951)):
        zone = cat.projection_zones[(RGF93, prc)]
        for meridian, mname in ((GREENWICH, "greenwich"), (PARIS, "paris")):
            make_case(cat, "rgf93_%s_to_%d" % (mname, prc),
                      "RGF93 geographic from %s to projection %d" % (mname.capitalize(), prc),
                      (GEOGRAPHIC, RGF93, 0, meridian), (PROJECTED, RGF93, prc, GREENWICH),
                      zone, (-100.0, 3000.0), seed)
            seed += 1
    make_case(cat, "wgs84_cartesian_to_ed50_geographic",
              "WGS84 cartesian to ED50 geographic (record listed ED50 to WGS84)",
              (CARTESIAN, WGS84, 0, GREENWICH), (GEOGRAPHIC, ED50, 0, GREENWICH),
              cat.system_zones[ED50], (-100.0, 3000.0), seed)
    make_case(cat, "reunion_gauss_laborde_to_rgr92", "Réunion 1947 Gauss-Laborde to RGR92 geographic",
              (PROJECTED, REUNION, 3727, GREENWICH), (GEOGRAPHIC, RGR92, 0, GREENWICH),
              cat.projection_zones[(REUNION, 3727)], None, seed + 1)


if __name__ == "__main__":
    main()
