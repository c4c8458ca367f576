#!/usr/bin/env python3
"""Regenerates the reference tables of the geodetic computations with PROJ.

Needs PROJ's command-line tools (Debian packages proj-bin and proj-data):
`proj` for the map projections and their scale factors, `cct` for the
geocentric conversions and the Helmert similarities. The tests read the
committed tables and never run PROJ.

    tests/geodesy/reference/make_reference.py   # rewrites the *.txt beside it

Projection tables (one per projection definition):
  '# proj:'    the PROJ definition used;
  '# grid:'    lon0 dlon nlon lat0 dlat nlat, in decimal degrees; the points
               are lon0 + i*dlon, lat0 + j*dlat, latitude outer, longitude inner
               (steps are binary fractions, so every grid value is exact);
  data lines   easting northing as `proj -f %.6f` prints them; every fourth
               point (index divisible by 4) also carries PROJ's parallel scale
               factor k and its convergence in degrees, as `proj -V` prints them
               (8 decimals; PROJ's convergence has the opposite sign to ours).
Geocentric tables: lon lat h (degrees, metres) then X Y Z from `cct -d 6`.
Helmert table: 'set Tx Ty Tz D Rx Ry Rz' lines (m, ppm, arc seconds), each
followed by points 'X Y Z | Xpv Ypv Zpv | Xcf Ycf Zcf | Xinv Yinv Zinv':
the forward transformation with the position-vector and the coordinate-frame
conventions, and PROJ's inverse of the position-vector one applied to X.
"""
import math
import os
import re
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))

CLARKE = "+a=6378249.2 +b=6356515"
PARIS = 2.5969213 * 0.9  # Paris meridian, 2.5969213 grades east of Greenwich

def run(args, text):
    return subprocess.run(args, input=text, capture_output=True, text=True, check=True).stdout

def grid_points(g):
    lon0, dlon, nlon, lat0, dlat, nlat = g
    return [(lon0 + i * dlon, lat0 + j * dlat) for j in range(nlat) for i in range(nlon)]

def ntf(name, lat_grades, k0, x0, y0, grid):
    lat = lat_grades * 0.9
    return (name, f"+proj=lcc +lat_1={lat:.10g} +lat_0={lat:.10g} +lon_0={PARIS:.10g} "
            f"+k_0={k0} +x_0={x0} +y_0={y0} {CLARKE} +units=m", grid)

FRANCE = (-5.5, 0.625, 25, 41.0, 0.5, 21)

PROJECTIONS = [
    ntf("lambert_1", 55, 0.999877341, 600000, 200000, (-5.0, 0.5, 28, 48.0, 0.1875, 18)),
    ntf("lambert_2", 52, 0.99987742, 600000, 200000, (-5.0, 0.5, 28, 45.25, 0.1875, 18)),
    ntf("lambert_3", 49, 0.999877499, 600000, 200000, (-5.0, 0.5, 28, 42.25, 0.1875, 18)),
    ntf("lambert_4", 46.85, 0.99994471, 234.358, 185861.369, (8.25, 0.0625, 28, 41.25, 0.125, 18)),
    ntf("lambert_2_etendu", 52, 0.99987742, 600000, 2200000, FRANCE),
    ("lambert_93", "+proj=lcc +lat_1=44 +lat_2=49 +lat_0=46.5 +lon_0=3 +x_0=700000 "
     "+y_0=6600000 +ellps=GRS80 +units=m", FRANCE),
]
for zone in range(42, 51):
    PROJECTIONS.append((f"cc{zone}", f"+proj=lcc +lat_1={zone - 0.75} +lat_2={zone + 0.75} "
                        f"+lat_0={zone} +lon_0=3 +x_0=1700000 +y_0={1200000 + (zone - 42) * 1000000} "
                        "+ellps=GRS80 +units=m", (-5.5, 0.5, 30, zone - 1.0, 0.125, 17)))
for ellps, tag in (("intl", "intl"), ("WGS84", "wgs84")):
    for zone, cm in ((30, -3), (31, 3), (32, 9)):
        PROJECTIONS.append((f"utm{zone}_{tag}", f"+proj=tmerc +lat_0=0 +lon_0={cm} +k_0=0.9996 "
                            f"+x_0=500000 +y_0=0 +ellps={ellps} +units=m",
                            (cm - 3.5, 0.25, 29, 0.0, 4.0, 22)))
PROJECTIONS += [
    ("gauss_laborde_reunion", "+proj=gstmerc +lat_0=-21.116666666666667 "
     "+lon_0=55.533333333333333 +k_0=1 +x_0=160000 +y_0=50000 +ellps=intl +units=m",
     (54.5, 0.0625, 33, -22.0, 0.125, 17)),
    ("laea_europe", "+proj=laea +lat_0=52 +lon_0=10 +x_0=4321000 +y_0=3210000 "
     "+ellps=GRS80 +units=m", (-30.0, 2.5, 31, 25.0, 2.5, 23)),
]

def projection_table(name, definition, grid):
    points = grid_points(grid)
    text = "".join(f"{lon:.10f} {lat:.10f}\n" for lon, lat in points)
    positions = run(["proj", "-f", "%.6f"] + definition.split(), text).splitlines()
    factor_points = "".join(f"{lon:.10f} {lat:.10f}\n"
                            for n, (lon, lat) in enumerate(points) if n % 4 == 0)
    verbose = run(["proj", "-V"] + definition.split(), factor_points)
    scales = re.findall(r"Parallel scale \(k\) : (\S+)", verbose)
    convergences = re.findall(r"Convergence : .*\[ (\S+) \]", verbose)
    assert len(positions) == len(points) and len(scales) == len(convergences) == len(factor_points.splitlines())
    lines = [f"# {name}: regenerate with make_reference.py (PROJ {proj_version()})",
             f"# proj: {definition}",
             "# grid: " + " ".join(f"{v:g}" for v in grid)]
    for n, line in enumerate(positions):
        e, nn = line.split()
        row = f"{e} {nn}"
        if n % 4 == 0:
            row += f" {scales[n // 4]} {convergences[n // 4]}"
        lines.append(row)
    write(f"{name}.txt", lines)

ELLIPSOIDS = [("clarke_ign", CLARKE), ("intl", "+ellps=intl"), ("grs80", "+ellps=GRS80"),
              ("wgs84", "+ellps=WGS84")]

def geocentric_table(name, ellps):
    points = []
    for j in range(23):
        for i in range(24):
            points.append((-172.5 + 15 * i, -88 + 8 * j, -1000 + 1000 * ((i + 5 * j) % 12)))
    text = "".join(f"{lon:g} {lat:g} {h:g}\n" for lon, lat, h in points)
    out = run(["cct", "-d", "6", "+proj=cart"] + ellps.split(), text).splitlines()
    lines = [f"# geocentric {name}: regenerate with make_reference.py (PROJ {proj_version()})",
             f"# proj: +proj=cart {ellps}", "# columns: lon lat h X Y Z"]
    for (lon, lat, h), line in zip(points, out):
        x, y, z = line.split()[:3]
        lines.append(f"{lon:g} {lat:g} {h:g} {x} {y} {z}")
    write(f"geocentric_{name}.txt", lines)

HELMERT_SETS = [
    (-168.0, -60.0, 320.0, 0, 0, 0, 0),             # three parameters
    (-84.0, -97.0, -117.0, 0, 0, 0, 0),
    (-89.5, -93.8, -123.1, -1.2, 0, 0, -0.156),     # seven parameters, usual size
    (446.448, -125.157, 542.06, -20.4894, 0.15, 0.247, 0.842),
    (0, 0, 0, 0, 10.0, -7.0, 5.0),                  # rotations alone, 10 seconds
    (1000.0, -800.0, 600.0, 100.0, 10.0, -7.0, 5.0),  # the largest usual values
]

def helmert_table():
    points = []
    for j in range(6):
        for i in range(5):
            lat = math.radians(-75 + 30 * j)
            lon = math.radians(-170 + 80 * i)
            r = 6378000 + 1500 * i
            points.append((r * math.cos(lat) * math.cos(lon), r * math.cos(lat) * math.sin(lon),
                           r * 0.9966 * math.sin(lat)))
    text = "".join(f"{x:.3f} {y:.3f} {z:.3f}\n" for x, y, z in points)
    lines = [f"# helmert: regenerate with make_reference.py (PROJ {proj_version()})",
             "# set Tx Ty Tz D Rx Ry Rz (m, ppm, arc seconds)",
             "# X Y Z | position vector X' Y' Z' | coordinate frame X' Y' Z' | inverse (position vector) of X"]
    for s in HELMERT_SETS:
        tx, ty, tz, d, rx, ry, rz = s
        base = ["+proj=helmert", f"+x={tx}", f"+y={ty}", f"+z={tz}", f"+s={d}",
                f"+rx={rx}", f"+ry={ry}", f"+rz={rz}"]
        pv = run(["cct", "-d", "6"] + base + ["+convention=position_vector"], text).splitlines()
        cf = run(["cct", "-d", "6"] + base + ["+convention=coordinate_frame"], text).splitlines()
        inv = run(["cct", "-d", "6", "-I"] + base + ["+convention=position_vector"], text).splitlines()
        lines.append("set " + " ".join(f"{v:g}" for v in s))
        for (x, y, z), a, b, c in zip(points, pv, cf, inv):
            lines.append(f"{x:.3f} {y:.3f} {z:.3f} | " + " ".join(a.split()[:3]) + " | " +
                         " ".join(b.split()[:3]) + " | " + " ".join(c.split()[:3]))
    write("helmert.txt", lines)

_version = None
def proj_version():
    global _version
    if _version is None:
        # `proj` without arguments prints its release on the first line of its usage.
        usage = subprocess.run(["proj"], capture_output=True, text=True).stderr
        _version = usage.split("\n")[0].split(",")[0]
    return _version

def write(file_name, lines):
    with open(os.path.join(HERE, file_name), "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")

if __name__ == "__main__":
    for name, definition, grid in PROJECTIONS:
        projection_table(name, definition, grid)
    for name, ellps in ELLIPSOIDS:
        geocentric_table(name, ellps)
    helmert_table()
