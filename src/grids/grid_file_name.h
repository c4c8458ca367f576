#pragma once

#include <string>

// A grid file name split as drive, directory and base name (the stem) and
// its extension, dot included; "/" and "\" both end a directory.
struct GridFileName {
    std::string stem;       // everything before the extension
    std::string extension;  // ".mnt", or empty
};

GridFileName SplitGridFileName(const std::string& name);

// The XML header beside a grid file: its stem with ".xml".
std::string XmlHeaderName(const std::string& gridName);

// The path of a grid file named relative to `folder`: the name itself when it
// is absolute or when there is no folder (the current directory), otherwise
// the name in the folder.
std::string GridPath(const std::string& folder, const std::string& name);
