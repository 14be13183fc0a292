#pragma once

#include "hosts/program/program_options.h"

namespace program {

// The files a run writes (--record, --screenshot), checked before anything runs so that a game
// is never played only to be lost at its end: each must have the suffix of what is written into
// it, must not be the script or the file on standard input, must be writable, and a recording
// must not replace an existing file unless --force says so. Throws UsageError.
void checkOutputFiles(const ProgramOptions& options);

}  // namespace program
