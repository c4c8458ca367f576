#pragma once

#include <cstdio>
#include <string>

// A message built with a printf format, of any length.
template <class... Args>
std::string GridMessage(const char* format, Args... args) {
    const int size = std::snprintf(nullptr, 0, format, args...);
    if (size <= 0) return "";
    std::string text(static_cast<size_t>(size) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, args...);
    text.resize(static_cast<size_t>(size));
    return text;
}
