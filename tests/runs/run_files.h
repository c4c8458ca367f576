#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Point files and output reading shared by the tests of the file runs.

// NTF Lambert II étendu points in "Nom E N Altitude": a comment, two points
// (one line ending with CR LF), a blank line, a bad line and a point far
// outside the projection.
inline constexpr const char* kNtfPoints =
    "* Points NTF\n"
    "Paris 600984.230 2428291.971 35.0\n"
    "\n"
    "Mauvais 12\n"
    "Brest 94489.738 2397710.572 12.0\r\n"
    "Loin 600000 9000000 10\n";

// The lines of a file written with CR LF line ends.
inline std::vector<std::string> CrLfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(bytes.substr(start, end - start));
    }
    EXPECT_EQ(bytes.size(), start) << "every line ends with CR LF";
    return lines;
}
