#pragma once

#include <string>
#include <string_view>

// Numbers in point files, reports and the log, read and written without the
// C locale (a window run must not write decimal commas) and without heap work
// per number: these run once per coordinate of every point of a file.

// Reads one number in decimal notation (optional sign, digits with an
// optional decimal point, optional exponent) at the start of `text`, after
// any white space. Returns the number of characters used, 0 when no number
// starts there or when it does not fit in a double.
std::size_t ScanDecimal(std::string_view text, double& value);

// Appends `value` as printf's "%W.Plf" would write it (right-aligned in
// `width` characters, `precision` decimals, correctly rounded).
void AppendFixed(std::string& out, double value, int width, int precision);

// Appends `value` as printf's "%d" would write it.
void AppendInteger(std::string& out, long long value);
