#!/usr/bin/python3
"""GeoTIFF grids for the tests, made from Debian's published grids with GDAL.

Usage: make_geotiff_grids.py FOLDER

Writes into FOLDER:
  egm96_*.tif   the EGM96 geoid over France (from egm96_15.gtx) in several
                storages: pixel-is-area and pixel-is-point, strips and tiles,
                no compression, DEFLATE and LZW, little- and big-endian,
                32- and 64-bit reals, and 16-bit reals (egm96_half.tif);
  ntf_r93.tif   the NTF -> RGF93 shifts of ntf_r93.gsb in PROJ's GeoTIFF
                convention (bands latitude_offset and longitude_offset,
                arc-seconds, longitude offsets positive eastwards), checked
                against ntf_r93.gsb with cs2cs;
  ntf_r93_pixel.tif  the same, values interleaved by pixel;
  ntf_xyz.tif   a smooth geocentric translation grid (x_, y_, z_translation,
                metres, close to NTF -> RGF93), and ntf_xyz.txt: 1000 points
                "lon lat h lon' lat' h'" of PROJ's xyzgridshift pipeline from
                NTF to RGF93 geographic coordinates;
  egm96_subgrids.tif  the geoid and a finer grid over Paris in a second image,
                and egm96_subgrids.txt: 400 points "lon lat h H" of cct
                +proj=vgridshift on it;
  egm96_halves.tif  the geoid in two images of the top level, south first;
  egm96_gap.tif the geoid in two images of the top level with a gap between;
  nested_shifts.tif  shifts of a parent and a finer child holding others;
  overlap_shifts.tif  shifts of two grids of the top level that overlap, the
                second with a child inside the overlap;
  refused_*.tif the files the reader must refuse.
Exit status 0 when everything was made.
"""
import math
import os
import random
import shutil
import subprocess
import sys

import numpy
from osgeo import gdal, osr

gdal.UseExceptions()
PROJ = "/usr/share/proj/"
out = sys.argv[1]


def path(name):
    return os.path.join(out, name)


def translate(name, options):
    gdal.Translate(path(name), PROJ + "egm96_15.gtx",
                   options="-q -of GTiff -srcwin 692 148 73 53 " + options)


# The EGM96 geoid, longitudes -7 .. 11, latitudes 40 .. 53, step 0.25.
translate("egm96_area_strip.tif", "")
translate("egm96_point_tiled_deflate.tif",
          "-mo AREA_OR_POINT=Point -co TILED=YES -co BLOCKXSIZE=16 -co BLOCKYSIZE=16 "
          "-co COMPRESS=DEFLATE")
translate("egm96_area_tiled_lzw_big.tif",
          "-co TILED=YES -co BLOCKXSIZE=32 -co BLOCKYSIZE=16 -co COMPRESS=LZW "
          "-co ENDIANNESS=BIG")
translate("egm96_point_strip_double.tif",
          "-mo AREA_OR_POINT=Point -ot Float64 -co COMPRESS=DEFLATE -co PREDICTOR=3 "
          "-co BLOCKYSIZE=5")
translate("egm96_half.tif", "-co NBITS=16")


def write_grid(name, geotransform, bands, metadata, band_metadata, interleave="BAND",
               srs=4275, append=False):
    """append: a further grid image (sub-grid) at the end of the file."""
    rows, columns = bands[0].shape
    driver = gdal.GetDriverByName("GTiff")
    ds = driver.Create(path(name), columns, rows, len(bands), gdal.GDT_Float32,
                       options=["INTERLEAVE=" + interleave, "TILED=YES", "BLOCKXSIZE=16",
                                "BLOCKYSIZE=16", "COMPRESS=DEFLATE"] +
                       (["APPEND_SUBDATASET=YES"] if append else []))
    ds.SetGeoTransform(geotransform)
    reference = osr.SpatialReference()
    reference.ImportFromEPSG(srs)
    ds.SetProjection(reference.ExportToWkt())
    for key, value in metadata.items():
        ds.SetMetadataItem(key, value)
    for i, band in enumerate(bands):
        b = ds.GetRasterBand(i + 1)
        b.WriteArray(band)
        for key, value in band_metadata[i].items():
            if key == "description":
                b.SetDescription(value)
            elif key == "unit":
                b.SetUnitType(value)
            else:
                b.SetMetadataItem(key, value)
    ds = None


# ntf_r93.gsb as PROJ's ntv2_to_gtiff.py writes it.
gsb = gdal.Open(PROJ + "ntf_r93.gsb")
latitude = gsb.GetRasterBand(1).ReadAsArray()
longitude = gsb.GetRasterBand(2).ReadAsArray()
shifts = [latitude, -longitude]  # GDAL gives NTv2's westward longitude offsets
shift_metadata = [{"description": "latitude_offset", "unit": "arc-second"},
                  {"description": "longitude_offset", "unit": "arc-second",
                   "positive_value": "east"}]
for name, interleave in (("ntf_r93.tif", "BAND"), ("ntf_r93_pixel.tif", "PIXEL")):
    write_grid(name, gsb.GetGeoTransform(), shifts, {"TYPE": "HORIZONTAL_OFFSET"},
               shift_metadata, interleave)

# PROJ itself must read the GeoTIFF as it reads the NTv2 file.
points = "\n".join("%f %f" % (lon, lat) for lon, lat in
                   ((2.35, 48.85), (-4.4, 48.4), (7.7, 48.6), (9.4, 42.7), (1.4, 43.6)))
results = []
for grid in (PROJ + "ntf_r93.gsb", path("ntf_r93.tif")):
    results.append(subprocess.run(
        ["cs2cs", "-f", "%.9f", "+proj=longlat", "+ellps=clrk80ign", "+nadgrids=" + grid,
         "+to", "+proj=longlat", "+ellps=GRS80"], input=points, capture_output=True,
        text=True, check=True).stdout)
if results[0] != results[1]:
    sys.exit("ntf_r93.tif does not give PROJ's results:\n" + results[0] + results[1])

# A smooth geocentric translation grid over France, step 0.5 degree.
lons = numpy.arange(-6.0, 10.01, 0.5)
lats = numpy.arange(52.0, 40.99, -0.5)
lon, lat = numpy.meshgrid(lons, lats)
translations = [-168 + 1.5 * numpy.sin(lon * math.pi / 10) * numpy.cos(lat * math.pi / 20),
                -60 + 0.8 * numpy.cos(lon * math.pi / 12),
                320 + 1.2 * numpy.sin(lat * math.pi / 8)]
write_grid("ntf_xyz.tif", (-6.25, 0.5, 0, 52.25, 0, -0.5), translations,
           {"TYPE": "GEOCENTRIC_TRANSLATION"},
           [{"description": d, "unit": "metre"}
            for d in ("x_translation", "y_translation", "z_translation")], srs=4171)
random.seed(18)
sample = "\n".join("%.10f %.10f %.4f" % (random.uniform(-5.5, 9.5), random.uniform(41.5, 51.5),
                                         random.uniform(-50, 3000)) for _ in range(1000))
pipeline = ("+proj=pipeline +step +proj=unitconvert +xy_in=deg +xy_out=rad "
            "+step +proj=cart +ellps=clrk80ign "
            "+step +proj=xyzgridshift +grids=%s +grid_ref=output_crs +ellps=GRS80 "
            "+step +inv +proj=cart +ellps=GRS80 "
            "+step +proj=unitconvert +xy_in=rad +xy_out=deg" % path("ntf_xyz.tif"))
# cct leaves out a last line without its line break.
moved = subprocess.run(["cct", "-d", "10"] + pipeline.split(), input=sample + "\n",
                       capture_output=True, text=True, check=True).stdout.split("\n")
with open(path("ntf_xyz.txt"), "w") as table:
    for source, target in zip(sample.split("\n"), moved):
        if len(target.split()) < 3:
            sys.exit("cct gave no point for " + source)
        table.write(source + " " + " ".join(target.split()[:3]) + "\n")

# Sub-grids. The geoid, then a finer grid over Paris (nearest neighbours at
# twice the density, so that it departs from the geoid's bilinear values),
# with its own storage (tiles of 16, LZW); 400 points "lon lat h H" of
# cct +proj=vgridshift on it, in the finer grid, on its border and around it.
gdal.Translate(path("egm96_subgrids.tif"), path("egm96_area_strip.tif"), options="-q")
gdal.Translate(path("egm96_subgrids.tif"), path("egm96_area_strip.tif"),
               options="-q -co APPEND_SUBDATASET=YES -co TILED=YES -co BLOCKXSIZE=16 "
               "-co BLOCKYSIZE=16 -co COMPRESS=LZW -outsize 200% 200% -projwin 2 49 3 48")
random.seed(19)
border = [(2.0625, 48.0625 + k * 0.0625) for k in range(15)] + \
         [(2.0625 + k * 0.0625, 48.9375) for k in range(15)]
around = [(random.uniform(1.5, 3.5), random.uniform(47.5, 49.5)) for _ in range(200)]
inside = [(random.uniform(2.07, 2.93), random.uniform(48.07, 48.93)) for _ in range(170)]
points = "".join("%.10f %.10f 100 0\n" % p for p in border + around + inside)
moved = subprocess.run(["cct", "-d", "10", "+proj=vgridshift",
                        "+grids=" + path("egm96_subgrids.tif")], input=points,
                       capture_output=True, text=True, check=True).stdout.split("\n")
with open(path("egm96_subgrids.txt"), "w") as table:
    for source, target in zip(points.split("\n")[:-1], moved):
        if len(target.split()) < 3 or "inf" in target:
            sys.exit("cct gave no height for " + source)
        table.write(" ".join(source.split()[:3]) + " " + target.split()[2] + "\n")
# Two grids of the top level, the southern half first, sharing a row.
gdal.Translate(path("egm96_halves.tif"), path("egm96_area_strip.tif"),
               options="-q -srcwin 0 26 73 27")
gdal.Translate(path("egm96_halves.tif"), path("egm96_area_strip.tif"),
               options="-q -co APPEND_SUBDATASET=YES -srcwin 0 0 73 27")
# Two grids of the top level with a gap between them: the geoid's nodes over
# 7 W .. 1 W and over 1.25 E .. 11 E.
gdal.Translate(path("egm96_gap.tif"), path("egm96_area_strip.tif"),
               options="-q -srcwin 0 0 25 53")
gdal.Translate(path("egm96_gap.tif"), path("egm96_area_strip.tif"),
               options="-q -co APPEND_SUBDATASET=YES -srcwin 33 0 40 53")


# Shifts of a parent (1 .. 5 E, 45 .. 49 N, step 0.5) and a finer child
# (2 .. 3 E, 46 .. 47 N, step 0.125, values interleaved by pixel) holding
# other shifts, named as PROJ's ntv2_to_gtiff.py names sub-grids (the shifts
# of tests/support/nested_ntv2.h: ParentShift, ChildShift, SecondTopShift).
def nested(west, east, south, north, step, kind):
    lon, lat = numpy.meshgrid(numpy.arange(west, east + step / 2, step),
                              numpy.arange(north, south - step / 2, -step))
    d_lat = 1.2 + 0.1 * lon - 0.05 * lat
    d_lon = -2.5 + 0.04 * lat + 0.02 * lon * lon
    if kind == "child":
        d_lat += 0.5 + 0.3 * numpy.sin(3 * lon) * numpy.cos(2 * lat)
        d_lon -= 0.7 + 0.2 * (lat - 46)
    elif kind == "second":
        d_lat -= 0.8 + 0.1 * (lon - 2)
        d_lon += 0.6
    return (west - step / 2, step, 0, north + step / 2, 0, -step), [d_lat, d_lon]


transform, values = nested(1, 5, 45, 49, 0.5, "parent")
write_grid("nested_shifts.tif", transform, values,
           {"TYPE": "HORIZONTAL_OFFSET", "grid_name": "PARENT"}, shift_metadata, srs=4326)
transform, values = nested(2, 3, 46, 47, 0.125, "child")
write_grid("nested_shifts.tif", transform, values,
           {"TYPE": "HORIZONTAL_OFFSET", "grid_name": "CHILD", "parent_grid_name": "PARENT"},
           shift_metadata, interleave="PIXEL", srs=4326, append=True)
# Two grids of the top level that overlap, A (0 .. 4 E) and B (2 .. 6 E, both
# 45 .. 47 N, step 0.5), and a child of B (2.5 .. 3.5 E, 45.5 .. 46.5 N, step
# 0.25) inside the overlap.
for k, (name, parent, west, east, south, north, step, kind) in enumerate((
        ("A", None, 0, 4, 45, 47, 0.5, "parent"), ("B", None, 2, 6, 45, 47, 0.5, "second"),
        ("C", "B", 2.5, 3.5, 45.5, 46.5, 0.25, "child"))):
    transform, values = nested(west, east, south, north, step, kind)
    metadata = {"TYPE": "HORIZONTAL_OFFSET", "grid_name": name}
    if parent:
        metadata["parent_grid_name"] = parent
    write_grid("overlap_shifts.tif", transform, values, metadata, shift_metadata, srs=4326,
               append=k > 0)

# Files to refuse.
gdal.Translate(path("refused_projected.tif"), path("egm96_area_strip.tif"),
               options="-q -a_srs EPSG:2154 -a_ullr 100000 7000000 200000 6900000")
two = [latitude, longitude]
write_grid("refused_bands.tif", gsb.GetGeoTransform(), two, {}, [{}, {}])
# Sub-grids of different bands: the geoid, then shifts in a second image.
gdal.Translate(path("refused_mixed.tif"), path("egm96_area_strip.tif"), options="-q")
write_grid("refused_mixed.tif", (1.75, 0.5, 0, 49.25, 0, -0.5),
           [numpy.zeros((9, 9)), numpy.zeros((9, 9))], {"TYPE": "HORIZONTAL_OFFSET"},
           shift_metadata, append=True)
data = open(path("egm96_point_tiled_deflate.tif"), "rb").read()
open(path("refused_truncated.tif"), "wb").write(data[:len(data) * 2 // 3])
# A header announcing a 30000 x 30000 image of 32-bit reals (3.6 GB) in one
# strip, in a file of a few hundred bytes.
def tiff(entries, extra):
    """A little-endian TIFF: one directory at byte 8, its arrays after it."""
    import struct
    start = 8 + 2 + 12 * len(entries) + 4
    body, blob = b"", b""
    for tag, kind, values in sorted(entries):
        code, size, fmt = {"short": (3, 2, "H"), "long": (4, 4, "I"),
                           "double": (12, 8, "d")}[kind]
        data = struct.pack("<%d%s" % (len(values), fmt), *values)
        if len(data) <= 4:
            body += struct.pack("<HHI", tag, code, len(values)) + data.ljust(4, b"\0")
        else:
            body += struct.pack("<HHII", tag, code, len(values), start + len(blob))
            blob += data
    return b"II*\0" + struct.pack("<IH", 8, len(entries)) + body + b"\0" * 4 + blob + extra


open(path("refused_huge.tif"), "wb").write(tiff([
    (256, "long", [30000]), (257, "long", [30000]), (258, "short", [32]),
    (259, "short", [1]), (262, "short", [1]), (273, "long", [400]), (277, "short", [1]),
    (278, "long", [30000]), (279, "long", [30000 * 30000 * 4]), (339, "short", [3]),
    (33550, "double", [0.012, 0.006, 0]), (33922, "double", [0, 0, 0, -180, 90, 0]),
    (34735, "short", [1, 1, 0, 2, 1024, 0, 1, 2, 1025, 0, 1, 1])], b"\0" * 256))
shutil.copyfile(path("egm96_area_strip.tif"), path("refused_empty.tif"))
open(path("refused_empty.tif"), "wb").close()
