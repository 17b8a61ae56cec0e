#include "common/number_text.h"

#include <cerrno>
#include <cstdlib>

bool ParseBoundedNumber(const std::string& text, long long min, long long max, const std::string& what,
                        long long& value, std::string& error) {
    size_t digits = text.find_first_not_of("+-") == 1 ? 1 : 0;
    bool wellFormed =
        text.size() > digits && text.find_first_not_of("0123456789", digits) == std::string::npos;
    if (!wellFormed) {
        error = what + " '" + text + "' is not a whole number";
        return false;
    }
    errno = 0;
    long long parsed = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE || parsed < min || parsed > max) {
        error = what + " " + text + " is out of range (" + std::to_string(min) + " to " +
                std::to_string(max) + ")";
        return false;
    }
    value = parsed;
    return true;
}
