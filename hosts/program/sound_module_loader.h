#pragma once

#include "platform/audio/sound_module.h"

namespace program {

// The speech back end, loaded from its module beside the program the first time it is asked for
// (from any thread). Throws platform::SpeechSetupError, saying what is wrong, when the module is
// missing or is not this program's.
const platform::SoundModule& soundModule();

}  // namespace program
