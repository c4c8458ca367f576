#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into fuzz/corpus/<target>/.

Seeds are small, well-formed examples of each input: grids of every format
(the same three-by-four lattice), catalogue lines and files, XML grid
headers, point files of every layout, command lines and a configuration
file, most of them taken from the default installation in data/. Inputs
that the fuzzers found faults with live beside them, named crash-*, and are
kept when the seeds are written again.
"""
import os
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CORPUS = os.path.join(ROOT, "fuzz", "corpus")


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("latin-1")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def read(path):
    with open(os.path.join(ROOT, path), "rb") as f:
        return f.read()


# A lattice of 3 columns and 4 lines over longitudes 1..3, latitudes 40..43.
COLUMNS, LINES = 3, 4
VALUES = [[10.0 + c + 0.5 * l for c in range(COLUMNS)] for l in range(LINES)]


def rows(north_first):
    order = range(LINES - 1, -1, -1) if north_first else range(LINES)
    return "".join(" ".join("%.3f" % v for v in VALUES[l]) + "\n" for l in order)


def native_text():
    header = "1.0 3.0 40.0 43.0 1.0 1.0 4 0 1 0 0 essai\n"
    return header + "".join("%.3f\n" % VALUES[l][c] for l in range(LINES) for c in range(COLUMNS))


def binary_cache():
    description = b"essai"
    head = b"GRID\0" + struct.pack("<ii", 3, 0)
    head += struct.pack("<6d", 1.0, 3.0, 40.0, 43.0, 1.0, 1.0)
    head += struct.pack("<iiiii", 4, 0, 1, 3, 0)  # layout, coords, values, REAL4, codes
    head += struct.pack("<d", 0.0) + struct.pack("<i", len(description)) + description
    offset = len(head)
    head = head[:9] + struct.pack("<i", offset) + head[13:]
    return head + b"".join(struct.pack("<f", VALUES[l][c])
                           for l in range(LINES) for c in range(COLUMNS))


def binary_cache_nested(version=4):
    """A version 4 cache: the seed's lattice and a child of half its step
    over 1..2 E, 41..42 N, their records one after the other; version 5
    gives each sub-grid's parent after its depth."""
    description = b"essai"
    head = b"GRID\0" + struct.pack("<ii", version, 0)
    head += struct.pack("<6d", 1.0, 3.0, 40.0, 43.0, 1.0, 1.0)
    head += struct.pack("<iiiii", 4, 0, 1, 3, 0)  # layout, coords, values, REAL4, codes
    head += struct.pack("<d", 0.0) + struct.pack("<i", len(description)) + description
    head += struct.pack("<i", 2)
    parents = [-1, 0] if version >= 5 else [None, None]
    for lattice, parent in zip(((1.0, 3.0, 40.0, 43.0, 1.0, 1.0, COLUMNS, LINES, 0),
                                (1.0, 2.0, 41.0, 42.0, 0.5, 0.5, 3, 3, 1)), parents):
        head += struct.pack("<6d3i", *lattice)
        if parent is not None:
            head += struct.pack("<i", parent)
    offset = len(head)
    head = head[:9] + struct.pack("<i", offset) + head[13:]
    records = [VALUES[l][c] for l in range(LINES) for c in range(COLUMNS)]
    records += [20.0 + n for n in range(9)]
    return head + b"".join(struct.pack("<f", v) for v in records)


def ntv2(order):
    def key(k):
        return k.encode().ljust(8, b" ")

    def integer(k, v):
        return key(k) + struct.pack(order + "i", v) + b"\0" * 4

    def real(k, v):
        return key(k) + struct.pack(order + "d", v)

    def text(k, v):
        return key(k) + v.encode().ljust(8, b" ")

    out = integer("NUM_OREC", 11) + integer("NUM_SREC", 11) + integer("NUM_FILE", 1)
    out += text("GS_TYPE", "SECONDS") + text("VERSION", "NTv2.0")
    out += text("SYSTEM_F", "NTF") + text("SYSTEM_T", "RGF93")
    out += real("MAJOR_F", 6378249.2) + real("MINOR_F", 6356515.0)
    out += real("MAJOR_T", 6378137.0) + real("MINOR_T", 6356752.31414)
    out += text("SUB_NAME", "ESSAI") + text("PARENT", "NONE")
    out += text("CREATED", "01/01/07") + text("UPDATED", "01/01/07")
    out += real("S_LAT", 144000.0) + real("N_LAT", 154800.0)
    out += real("E_LONG", -10800.0) + real("W_LONG", -3600.0)
    out += real("LAT_INC", 3600.0) + real("LONG_INC", 3600.0)
    out += integer("GS_COUNT", COLUMNS * LINES)
    for l in range(LINES):
        for c in range(COLUMNS):
            out += struct.pack(order + "4f", 0.1 * l, 0.2 * c, 0.01, 0.02)
    return out + text("END", "")


def ntv2_text():
    lines = ["NUM_OREC 11", "NUM_SREC 11", "NUM_FILE 1", "GS_TYPE  SECONDS", "VERSION  NTv2.0",
             "SYSTEM_F NTF", "SYSTEM_T RGF93", "MAJOR_F  6378249.200", "MINOR_F  6356515.000",
             "MAJOR_T  6378137.000", "MINOR_T  6356752.314140", "SUB_NAME ESSAI",
             "PARENT   NONE", "CREATED  01/01/07", "UPDATED  01/01/07", "S_LAT    144000.0",
             "N_LAT    154800.0", "E_LONG   -10800.0", "W_LONG   -3600.0", "LAT_INC  3600.0",
             "LONG_INC 3600.0", "GS_COUNT %d" % (COLUMNS * LINES)]
    for l in range(LINES):
        for c in range(COLUMNS):
            lines.append("%.6f %.6f 0.010000 0.020000" % (0.1 * l, 0.2 * c))
    return "\r\n".join(lines + ["END"]) + "\r\n"


def ntv2_text_nested():
    """The text seed with a child of half its step inside it."""
    lines = ntv2_text().replace("NUM_FILE 1", "NUM_FILE 2").split("\r\n")[:-2]
    lines += ["SUB_NAME ENFANT", "PARENT   ESSAI", "CREATED  01/01/07", "UPDATED  01/01/07",
              "S_LAT    147600.0", "N_LAT    151200.0", "E_LONG   -7200.0", "W_LONG   -3600.0",
              "LAT_INC  1800.0", "LONG_INC 1800.0", "GS_COUNT 9"]
    lines += ["%.6f -0.300000 0.010000 0.020000" % (0.5 + 0.01 * n) for n in range(9)]
    return "\r\n".join(lines + ["END"]) + "\r\n"


def gtx(west, columns, rows, step, nodata=False):
    out = struct.pack(">4d2i", 40.0, west, step, step, rows, columns)
    for l in range(rows):
        for c in range(columns):
            v = -88.8888 if nodata and (l, c) == (1, 1) else 10.0 + c + 0.5 * l
            out += struct.pack(">f", v)
    return out


def ntv2_nested():
    """Two sub-grids: the seed's grid and a child of half its step inside it."""
    out = bytearray(ntv2("<")[:-16])
    out[32:48] = b"NUM_FILE" + struct.pack("<i", 2) + b"\0" * 4

    def key(k):
        return k.encode().ljust(8, b" ")

    def real(k, v):
        return key(k) + struct.pack("<d", v)

    out += key("SUB_NAME") + b"ENFANT  " + key("PARENT") + b"ESSAI   "
    out += key("CREATED") + b"01/01/07" + key("UPDATED") + b"01/01/07"
    out += real("S_LAT", 147600.0) + real("N_LAT", 151200.0)
    out += real("E_LONG", -7200.0) + real("W_LONG", -3600.0)
    out += real("LAT_INC", 1800.0) + real("LONG_INC", 1800.0)
    out += key("GS_COUNT") + struct.pack("<i", 9) + b"\0" * 4
    for n in range(9):
        out += struct.pack("<4f", 0.5 + 0.01 * n, -0.3, 0.01, 0.02)
    return bytes(out) + key("END") + b" " * 8


def grids():
    write("gtx_grid", "seed-small.gtx", gtx(1.0, COLUMNS, LINES, 1.0))
    write("gtx_grid", "seed-nodata.gtx", gtx(1.0, COLUMNS, LINES, 1.0, True))
    write("gtx_grid", "seed-world.gtx", gtx(-180.0, 8, 3, 45.0))
    write("gtx_grid", "seed-0-360.gtx", gtx(0.0, 8, 3, 45.0))
    write("grid_gsb", "seed-nested.gsb", ntv2_nested())
    write("grid_mnt", "seed-native.mnt", native_text())
    write("grid_bin", "seed-cache.bin", binary_cache())
    write("grid_bin", "seed-nested.bin", binary_cache_nested())
    write("grid_bin", "seed-nested-parents.bin", binary_cache_nested(5))
    write("grid_gsb", "seed-little.gsb", ntv2("<"))
    write("grid_gsb", "seed-big.gsb", ntv2(">"))
    write("grid_gsa", "seed-text.gsa", ntv2_text())
    write("grid_gsa", "seed-nested.gsa", ntv2_text_nested())
    write("grid_asc", "seed-esri.asc",
          "ncols %d\nnrows %d\nxllcorner 0.5\nyllcorner 39.5\ncellsize 1.0\n"
          "NODATA_value -9999\n" % (COLUMNS, LINES) + rows(True))
    write("grid_gra", "seed-gravsoft.gra", "40 43 1 3 1 1\n" + rows(True))
    write("grid_grd", "seed-surfer.grd",
          "DSAA\n%d %d\n1 3\n40 43\n10 13\n" % (COLUMNS, LINES) + rows(False))
    write("grid_egm", "seed-egm.egm", "43 1 1 1 %d %d\n" % (LINES, COLUMNS) + rows(True))
    write("grid_dis", "seed-dis.dis",
          "ORTH 1.0 3.0 40.0 43.0 1.0 1.0\nessai\n" + rows(True))


def geotiff_grids():
    """Small GeoTIFF grids of the lattice in the storages the reader knows;
    made with GDAL's Python module (Debian python3-gdal, /usr/bin/python3)."""
    try:
        import tempfile
        from osgeo import gdal, osr
    except ImportError:
        print("geotiff_grid seeds left as they are: GDAL's Python module is missing")
        return
    gdal.UseExceptions()
    folder = tempfile.mkdtemp()
    bands = {1: [None], 2: ["latitude_offset", "longitude_offset"],
             3: ["x_translation", "y_translation", "z_translation"]}
    for name, count, kind, options, point in (
            ("seed-geoid-strip.tif", 1, gdal.GDT_Float32, [], False),
            ("seed-geoid-tiled-deflate-point.tif", 1, gdal.GDT_Float32,
             ["TILED=YES", "BLOCKXSIZE=16", "BLOCKYSIZE=16", "COMPRESS=DEFLATE"], True),
            ("seed-geoid-lzw-big-double.tif", 1, gdal.GDT_Float64,
             ["COMPRESS=LZW", "ENDIANNESS=BIG", "BLOCKYSIZE=1"], False),
            ("seed-geoid-half.tif", 1, gdal.GDT_Float32, ["NBITS=16"], False),
            ("seed-shifts.tif", 2, gdal.GDT_Float32, ["INTERLEAVE=BAND"], False),
            ("seed-translations-pixel.tif", 3, gdal.GDT_Float32, ["INTERLEAVE=PIXEL"], True)):
        path = os.path.join(folder, name)
        ds = gdal.GetDriverByName("GTiff").Create(path, COLUMNS, LINES, count, kind,
                                                  options=options)
        ds.SetGeoTransform((0.5, 1, 0, 43.5, 0, -1))
        reference = osr.SpatialReference()
        reference.ImportFromEPSG(4326)
        ds.SetProjection(reference.ExportToWkt())
        if point:
            ds.SetMetadataItem("AREA_OR_POINT", "Point")
        for b in range(count):
            band = ds.GetRasterBand(b + 1)
            band.SetNoDataValue(-9999)
            if bands[count][b]:
                band.SetDescription(bands[count][b])
                band.SetUnitType("arc-second" if count == 2 else "metre")
            if b == 1 and count == 2:
                band.SetMetadataItem("positive_value", "east")
            for l in range(LINES):
                band.WriteRaster(0, l, COLUMNS, 1, struct.pack(
                    "<%dd" % COLUMNS, *[v + b for v in VALUES[LINES - 1 - l]]),
                    buf_type=gdal.GDT_Float64)
        ds = None
        write("geotiff_grid", name, open(path, "rb").read())
    # Two grid images: the shifts, then a finer sub-grid inside them, tiled.
    path = os.path.join(folder, "seed-shifts-subgrids.tif")
    gdal.Translate(path, os.path.join(folder, "seed-shifts.tif"))
    gdal.Translate(path, os.path.join(folder, "seed-shifts.tif"),
                   options="-co APPEND_SUBDATASET=YES -co TILED=YES -co BLOCKXSIZE=16 "
                   "-co BLOCKYSIZE=16 -outsize 200% 200% -srcwin 1 1 2 2")
    write("geotiff_grid", "seed-shifts-subgrids.tif", open(path, "rb").read())


def catalogue():
    text = read("data/catalogue.txt")
    seen = set()
    for number, line in enumerate(text.split(b"\n")):
        keyword = line.split(b" ", 1)[0].strip()
        if keyword and not keyword.startswith(b"*") and keyword not in seen:
            seen.add(keyword)
            write("catalogue_line", "seed-%s" % keyword.decode("latin-1").lower(),
                  line.rstrip(b"\r"))
    lines = text.split(b"\n")
    write("catalogue_file", "seed-default-head.txt", b"\n".join(lines[:120]))
    write("catalogue_file", "seed-bad-line.txt",
          b"ELG 1 6378137 6356752.314 298.257222101 0.00669438002290 GRS 1980\r\n"
          b"LGO 1 2 0 Greenwich\r\nREG 4 1\r\n")


def xml_headers():
    write("xml_header", "seed-egm96.xml", read("data/egm96_france.xml"))
    write("xml_header", "seed-ntf-r93.xml", read("data/ntf_r93.xml"))
    write("xml_header", "seed-full.xml",
          "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<GRID_HEADER>\n"
          "\t<GRID_TYPE>TEXT</GRID_TYPE>\n\t<ORIGIN>essai</ORIGIN>\n"
          "\t<DESC>grille d'essai</DESC>\n\t<LAYOUT>SW2E2N</LAYOUT>\n"
          "\t<X_MIN>0</X_MIN>\n\t<X_MAX>2</X_MAX>\n\t<Y_MIN>0</Y_MIN>\n\t<Y_MAX>1</Y_MAX>\n"
          "\t<X_INC>1</X_INC>\n\t<Y_INC>1</Y_INC>\n\t<VALUES_NUMBER>1</VALUES_NUMBER>\n"
          "\t<VALUES_TYPE>REAL4</VALUES_TYPE>\n\t<VALUE_UNK>-9999</VALUE_UNK>\n"
          "\t<TRANSLATION>0.5</TRANSLATION>\n\t<INTERPOLATION_TYPE>SPLINE</INTERPOLATION_TYPE>\n"
          "\t<INTERPOLATION_ORDER>4</INTERPOLATION_ORDER>\n"
          "\t<NODE_COORD_UNIT>DEGREES</NODE_COORD_UNIT>\n</GRID_HEADER>\n")


def point_files():
    examples = {
        16: "data/exemples/ntf_lambert2e.txt",
        6: "data/exemples/rgf93_cartesiennes.txt",
        8: "data/exemples/rgf93_geographiques.txt",
        18: "data/exemples/rgf93_lambert93.txt",
    }
    for layout, path in examples.items():
        body = read(path)[:2000]
        for unit_choice in (1, 6):  # decimal degrees, packed degrees-minutes-seconds
            write("point_file", "seed-%d-%d" % (layout, unit_choice),
                  bytes([layout - 6, unit_choice]) + body)
    write("point_file", "seed-mixed",
          bytes([10 - 6, 1]) + b"* commentaire\r\n\r\nP1 2.35 48.85 35.2\r\n"
          b"P2 abc 48.1 12\nP3 1e400 -0 nan\nP4 -1.5 43.2 100.0")


def command_lines():
    write("command_line", "seed-file",
          "-mode\n1\n-type\n1\n-sys1\n1\n-sys2\n4\n-typcoor1\n3\n27572\n-typcoor2\n3\n2154\n"
          "-f1\n1\nin.txt\n-f2\n1\nout.txt\n-v")
    write("command_line", "seed-point",
          "-mode\n0\n-type\n2\n-sys1\n1\n-sys2\n4\n-typcoor1\n2\n2\n-typcoor2\n2\n10\n"
          "-lon\n-1.5\n-lat\n48.2\n-he\n-12.5\n-alt\n3")
    write("command_line", "seed-help", "-?\naide")


def configuration():
    write("configuration_file", "seed-default.ini", read("data/Quorvel/quorvel.ini"))


if __name__ == "__main__":
    grids()
    geotiff_grids()
    catalogue()
    xml_headers()
    point_files()
    command_lines()
    configuration()
    sys.exit(0)
