#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/audio/speech_setup.h"

namespace platform {

// What espeak-ng offers: its voices, the variants a voice can be spoken with ("+f3"), and the
// folder its data lives in.
// The voice spoken with when the host names none.
inline constexpr std::string_view kDefaultVoiceName = "en";

struct VoiceCatalogue {
  std::vector<VoiceInfo> voices;
  std::vector<VoiceInfo> variants;
  std::string dataDirectory;
};

// The voice file espeak-ng is to load (its identifier, "gmw/en", with "+variant" when one was
// asked for) for what a host typed: a voice's file, the last part of its file, its name (with or
// without the blanks around it) or one of its languages, in that order of preference; or the path
// of a voice file inside espeak-ng's data. Anything else is no voice: nothing the host typed is
// ever handed to espeak-ng as a file name, so a path that is not a voice is never opened.
std::optional<std::string> resolveVoice(std::string_view asked, const VoiceCatalogue& catalogue);

}  // namespace platform
