#pragma once

#include <iosfwd>

#include "hosts/program/program_options.h"

namespace program {

// Runs the front end the options choose and returns the exit code: 2 for bad input (an unreadable
// or wrong script, a front end this build or machine lacks), with one message on `errors`.
int runFrontEnd(const ProgramOptions& options, std::ostream& out, std::ostream& errors);

}  // namespace program
