#!/usr/bin/env python3
"""Regenerates the reference tables of the grid method with PROJ.

Needs PROJ's command-line tools and grids (Debian packages proj-bin and
proj-data). The tests read the committed tables and the grids installed by
proj-data; running the tests never runs PROJ.

    tests/engine/reference/make_grid_tables.py   # rewrites grid_*.txt beside it

Shift grids: `cs2cs +nadgrids=GRID` between the two systems of the grid
(the target given +towgs84=0,0,0 so that cs2cs applies the grid), both
directions. Geoid: `cct +proj=vgridshift +grids=egm96_15.gtx`, which turns
an ellipsoidal height into an altitude above the geoid.

Table layout: '#' lines are comments; the line starting with '#!' names the
case. Each data line holds the departure x y and the arrival x y as PROJ
gives them: longitude latitude in decimal degrees from Greenwich, or
easting northing in metres; geoid lines hold longitude latitude height and
the altitude.
"""
import os
import random
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
POINTS = 1000

NTF = "+proj=longlat +a=6378249.2 +b=6356515"
RGF93 = "+proj=longlat +ellps=GRS80 +towgs84=0,0,0"
LAMBERT2E = ("+proj=lcc +lat_1=46.8 +lat_0=46.8 +lon_0=0 +k_0=0.99987742 +x_0=600000 "
             "+y_0=2200000 +a=6378249.2 +b=6356515 +pm=2.33722917")
LAMBERT93 = ("+proj=lcc +lat_1=44 +lat_2=49 +lat_0=46.5 +lon_0=3 +x_0=700000 +y_0=6600000 "
             "+ellps=GRS80 +towgs84=0,0,0")
DHDN = "+proj=longlat +a=6377397.155 +rf=299.1528128"
ETRS89 = RGF93
NZGD49 = "+proj=longlat +ellps=intl"
NZGD2000 = RGF93


def run(args, text):
    return subprocess.run(args, input=text, capture_output=True, text=True, check=True).stdout


def cs2cs(source, target, grid_on_source, points, decimals):
    on_source, grid = grid_on_source
    s = source + (" +nadgrids=" + grid if grid and on_source else "")
    t = target + (" +nadgrids=" + grid if grid and not on_source else "")
    text = "".join("%.10f %.10f 0\n" % p for p in points)
    out = run(["cs2cs", "-f", "%." + str(decimals) + "f"] + s.split() + ["+to"] + t.split(), text)
    return [tuple(float(v) for v in line.split()[:2]) for line in out.splitlines()]


def write(name, title, rows, fmt):
    with open(os.path.join(HERE, name), "w") as f:
        f.write("# Regenerate with make_grid_tables.py (PROJ %s)\n" % proj_version())
        f.write("#! %s\n" % title)
        for row in rows:
            f.write(fmt % row + "\n")


def proj_version():
    out = subprocess.run(["cs2cs"], capture_output=True, text=True).stderr
    return out.split(",")[0].strip()


def shift_case(name, source, target, grid, box, seed):
    rnd = random.Random(seed)
    pts = [(rnd.uniform(box[0], box[1]), rnd.uniform(box[2], box[3])) for _ in range(POINTS)]
    fwd = cs2cs(source, target, (True, grid), pts, 10)
    write(name + "_forward.txt", name + " forward, geographic", 
          [p + q for p, q in zip(pts, fwd) if q[0] != float("inf")], "%.10f %.10f %.10f %.10f")
    back = [(round(q[0], 10), round(q[1], 10)) for q in fwd]
    inv = cs2cs(target, source, (False, grid), back, 10)
    write(name + "_inverse.txt", name + " inverse, geographic",
          [p + q for p, q in zip(back, inv)], "%.10f %.10f %.10f %.10f")


def main():
    shift_case("grid_ntf_r93", NTF, RGF93, "ntf_r93.gsb", (-4.8, 9.5, 41.5, 51.0), 93)
    shift_case("grid_beta2007", DHDN, ETRS89, "BETA2007.gsb", (6.0, 15.0, 47.3, 55.0), 2007)
    shift_case("grid_nzgd2k", NZGD49, NZGD2000, "nzgd2kgrid0005.gsb", (166.5, 179.9, -47.5, -34.5), 49)

    # NTF Lambert II etendu to Lambert-93 and back, over France.
    rnd = random.Random(27572)
    geo = [(rnd.uniform(-4.5, 8.0), rnd.uniform(42.5, 50.8)) for _ in range(POINTS)]
    text = "".join("%.10f %.10f\n" % p for p in geo)
    l2e = [tuple(float(v) for v in l.split()[:2])
           for l in run(["cs2cs", "-f", "%.4f", "+proj=longlat", "+a=6378249.2", "+b=6356515", "+to"]
                        + LAMBERT2E.split(), text).splitlines()]
    out = cs2cs(LAMBERT2E + " +nadgrids=ntf_r93.gsb", LAMBERT93, (False, ""), l2e, 4)
    write("grid_lambert2e_to_lambert93.txt", "NTF Lambert II etendu to RGF93 Lambert-93",
          [p + q for p, q in zip(l2e, out)], "%.4f %.4f %.4f %.4f")
    back = cs2cs(LAMBERT93, LAMBERT2E + " +nadgrids=ntf_r93.gsb", (False, ""), out, 4)
    write("grid_lambert93_to_lambert2e.txt", "RGF93 Lambert-93 to NTF Lambert II etendu",
          [p + q for p, q in zip(out, back)], "%.4f %.4f %.4f %.4f")

    # EGM96 over the cropped area of the default installation.
    rnd = random.Random(96)
    pts = [(rnd.uniform(-5.9, 9.9), rnd.uniform(41.1, 51.9), rnd.uniform(-50, 3000))
           for _ in range(POINTS)]
    text = "".join("%.10f %.10f %.4f\n" % p for p in pts)
    out = run(["cct", "-d", "6", "+proj=vgridshift", "+grids=egm96_15.gtx"], text)
    alts = [float(l.split()[2]) for l in out.splitlines()]
    write("grid_egm96.txt", "EGM96 ellipsoidal height to altitude",
          [p + (a,) for p, a in zip(pts, alts)], "%.10f %.10f %.4f %.6f")


if __name__ == "__main__":
    main()
