#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "runs/text_conventions.h"

class In_Fic;

// How many lines, neither blank nor comments, the conventions of a file are
// recognised from.
inline constexpr std::size_t kRecognitionLines = 20;

// The conventions of a point file in `dataFormat` recognised from its first
// lines (as the file holds them, without line ends and byte-order mark;
// `markSeen` when the file started with the mark), each stated one taken as
// stated:
// - a separator (";", tab, ",", in that order of preference) that every line
//   holds the same number of times, outside quotes, and that splits most of
//   them into the layout's columns; a tab only where blanks would not read
//   the same (a name with blanks, an empty or quoted field, a title row,
//   columns after the layout's, decimal commas);
// - a title row: the first line of a delimited file whose number columns
//   hold no numbers;
// - decimal commas: numbers that hold commas and no point (never with the
//   comma as separator);
// - UTF-8: the mark, or lines that are valid UTF-8 and not plain ASCII.
// Lines no rule recognises give today's conventions.
TextConventions RecogniseConventions(const std::vector<std::string>& lines, bool markSeen,
                                     int dataFormat, const StatedConventions& stated);

// The conventions of an opened input, recognised from its first lines
// (which stay to be read) and set on it.
TextConventions RecogniseInputConventions(In_Fic& input, const StatedConventions& stated);
