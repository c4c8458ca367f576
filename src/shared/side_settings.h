#pragma once

#include <string>

// The choices of one side, departure or arrival, of a transformation: the
// geodetic system, the coordinate type, the projection, the angle unit, the
// prime meridian, the point-file layout and the file. The pages and their
// configuration sections hold them as the texts their lists show
// (SideSettings<std::string>), the command line as catalogue ids and codes
// (SideSettings<int>).
template <class Choice>
struct SideSettings {
    Choice system{};
    Choice type{};        // CoordType
    Choice projection{};
    Choice unit{};        // AngleUnit
    Choice meridian{};
    Choice format{};      // DataFormat
    std::string file;     // the point file's name
    std::string path;     // the folder the pages keep beside the name; empty on the command line

    bool operator==(const SideSettings&) const = default;
};
