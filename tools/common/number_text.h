// Whole numbers typed on a command line, read strictly: the whole text must be a decimal number,
// and a number outside its range is refused with a message that says so, never wrapped.
#pragma once

#include <string>

// Reads `text` into `value` if it is a decimal integer (an optional sign, then digits) within
// [min, max]; otherwise false, with a message naming `what` and, for a number out of range, the
// range allowed.
bool ParseBoundedNumber(const std::string& text, long long min, long long max, const std::string& what,
                        long long& value, std::string& error);
