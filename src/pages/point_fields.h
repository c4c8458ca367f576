#pragma once

#include <optional>
#include <string>
#include <string_view>

// The checks that the page's field exchange applies to typed values, with
// the standard French messages of the platform's dialog-data exchange.

// How one field's text is read.
struct FieldRule {
    enum Kind { Text, Integer, Decimal } kind = Decimal;
    bool ranged = false;
    double minimum = 0;
    double maximum = 0;
    int maxLength = 0;  // Text: characters (not bytes) at most

    static FieldRule AnyDecimal() { return {Decimal, false, 0, 0, 0}; }
    static FieldRule DecimalIn(double lo, double hi) { return {Decimal, true, lo, hi, 0}; }
    static FieldRule IntegerIn(int lo, int hi) { return {Integer, true, double(lo), double(hi), 0}; }
    static FieldRule TextOf(int maxLength) { return {Text, false, 0, 0, maxLength}; }
};

// Bounds of the typed fields.
inline constexpr int kPointNameMaxLength = 30;
inline constexpr double kProjectedBound = 999999999;
inline constexpr double kSecondsMaximum = 59.999999999999;

// Reads a decimal number: optional blanks, sign, digits with a point (a
// comma is taken as the decimal point too, as French users type it),
// optional exponent, optional blanks, nothing else. Nothing for any other text.
std::optional<double> ReadDecimal(std::string_view text);
// Reads a whole number in the same way, without point or exponent.
std::optional<long> ReadInteger(std::string_view text);

// The number of characters of a UTF-8 text.
size_t CharacterCount(std::string_view text);

// Checks one field; nothing when its text is acceptable, else the message
// to show: "Tapez un nombre entier compris entre %1 et %2.", "Tapez un
// nombre compris entre %1 et %2.", "Tapez %1 caractères au maximum.",
// "Tapez un nombre entier." or "Tapez un nombre.".
std::optional<std::string> CheckField(std::string_view text, const FieldRule& rule);
