#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "catalogue/catalogue.h"
#include "catalogue/loader.h"

// A small catalogue for the computation pages: NTF (2D, Paris meridian,
// grades), RGF93 and WGS84 (3D), a standard and a grid transformation from
// NTF, two projections, one vertical system served by a grid in RGF93, a
// translation grid joining NTF and RGF93, and a system "SANS UNITE" whose
// UNIT entry lists no unit.
inline constexpr const char* kPageCatalogueText =
    "ELG 1 6378249.2 6356515.0 293.466021293627 0.00680348764629989 Clarke 1880 IGN\n"
    "ELG 3 6378137.0 6356752.314140 298.257222101 0.00669438002290079 GRS 1980\n"
    "LGO 1 2 0.0 Greenwich\n"
    "LGO 2 3 2.5969213 Paris\n"
    "REG 1 1 2 2D NTF\n"
    "REG 4 3 1 3D RGF93\n"
    "REG 3 3 1 3D WGS84\n"
    "REG 9 3 1 3D SANS UNITE\n"
    "REA 1 NGF-IGN69\n"
    "TSG 2 1 4 5 -168.0 -60.0 320.0 0.0 0.0 0.0 0.0 NTF vers RGF93\n"
    "TSG 4 4 3 10 0.0 0.0 0.0 0.0 0.0 0.0 0.0 RGF93 vers WGS84\n"
    "TSG 9 9 3 10 0.0 0.0 0.0 0.0 0.0 0.0 0.0 SANS UNITE vers WGS84\n"
    "TSG0 1 4 -168.0 -60.0 320.0\n"
    "PRC 27572 2 1 600000.0 2200000.0 2 3 0.0 52 0.99987742 0.0 0.0 0 1 NTF Lambert II étendu\n"
    "PRC 2154 3 3 700000.0 6600000.0 1 2 3.0 46.5 1.0 44.0 49.0 0 1 Lambert-93\n"
    "PROJ 1 27572 2 -5.5 41.0 10.0 51.5\n"
    "PROJ 4 2154 2 -9.9 41.1 10.4 51.6\n"
    "TYPCOOR 1 2 3\n"
    "TYPCOOR 4 1 2 3\n"
    "TYPCOOR 3 1 2 3\n"
    "TYPCOOR 9 1 2 3\n"
    "UNIT 1 3 2 10 12 1 5\n"
    "UNIT 4 2 10 12 3 1 5\n"
    "UNIT 3 2 10 12 3 1 5\n"
    "UNIT 9\n"
    "GR1D RAF09.mnt 4 1\n"
    "GR3D ntf_r93.gsb 1 4\n";

// Loads catalogue lines given as UTF-8 text, failing the test on a bad line.
inline void LoadCatalogueText(const std::string& text, Catalogue& catalogue) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        ASSERT_EQ(AddCatalogueLine(line, catalogue), LineOutcome::Added) << line;
    }
}
