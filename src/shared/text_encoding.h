#pragma once

#include <string>
#include <string_view>

// Files on disk (catalogue, grids, point files, reports, log) are ISO-8859-1,
// one byte per character; inside the program text is UTF-8. These convert at
// the file boundary.

// Every byte becomes the character of the same code.
std::string Latin1ToUtf8(std::string_view latin1);

// Characters above U+00FF, and malformed UTF-8 sequences, become '?'.
std::string Utf8ToLatin1(std::string_view utf8);

// Whether the bytes are well-formed UTF-8 (shortest forms, no surrogates,
// nothing beyond U+10FFFF).
bool IsValidUtf8(std::string_view bytes);
