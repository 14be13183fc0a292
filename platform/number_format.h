#pragma once

#include <string>

namespace platform {

// The shortest decimal text that reads back as the same double, always with a decimal point
// or an exponent: 2.0, 0.8, 12.0, 1e+300.
std::string shortestDecimal(double value);

}  // namespace platform
