// Every voice --list-voices shows can be chosen by what it shows, and nothing else reaches
// espeak-ng as a voice file.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "platform/audio/espeak_synthesizer.h"
#include "platform/audio/speech_setup.h"

namespace {

std::vector<std::string> waysToName(const platform::VoiceInfo& voice) {
  std::vector<std::string> names{voice.name, voice.file};
  // The name as a host reads it off the list, without the blanks some names carry.
  const auto last = voice.name.find_last_not_of(' ');
  names.push_back(voice.name.substr(0, last + 1));
  std::istringstream languages(voice.languages);
  for (std::string language; languages >> language;) names.push_back(language);
  return names;
}

TEST(VoiceChoice, EveryListedVoiceIsAcceptedByItsNameFileAndLanguages) {
  const auto voices = platform::listVoices();
  ASSERT_GT(voices.size(), 100u);
  for (const auto& voice : voices)
    for (const auto& name : waysToName(voice)) {
      SCOPED_TRACE("\"" + name + "\" of " + voice.name);
      EXPECT_NO_THROW(platform::EspeakSynthesizer synthesizer(name));
    }
  // A variant, and a voice file inside the data by its path.
  EXPECT_NO_THROW(platform::EspeakSynthesizer("en+f3"));
  EXPECT_NO_THROW(platform::EspeakSynthesizer("gmw/en-US+Alex"));
}

TEST(VoiceChoice, LanguagesSpeakInTheirOwnVoice) {
  struct Expected {
    std::string asked;
    std::string name;
  };
  const std::vector<Expected> table{{"en-gb", "English (Great Britain)"},
                                    {"en", "English (Great Britain)"},
                                    {"pt-pt", "Portuguese (Portugal)"},
                                    {"es-mx", "Spanish (Latin America)"},
                                    {"no", "Norwegian Bokmål"},
                                    {"hbs", "Croatian"},
                                    {"Cherokee", "Cherokee "},
                                    {"english (america)", "English (America)"}};
  const auto voices = platform::listVoices();
  for (const auto& expected : table) {
    SCOPED_TRACE(expected.asked);
    const platform::EspeakSynthesizer synthesizer(expected.asked);
    const auto chosen = std::find_if(voices.begin(), voices.end(), [&](const auto& voice) {
      return voice.name == expected.name;
    });
    ASSERT_NE(chosen, voices.end());
    EXPECT_EQ(synthesizer.voiceFile(), chosen->file);
  }
}

TEST(VoiceChoice, AnythingElseIsAnUnknownVoiceThatEchoesNoFile) {
  const std::vector<std::string> notVoices{"../../../../../../../etc/passwd",
                                           "../../dev/zero",
                                           "/etc/passwd",
                                           "../../../../../../../etc",
                                           "../lang/gmw/../../../../../../etc/hostname",
                                           "en+no-such-variant",
                                           "   ",
                                           "no-such-voice\x1b[2J"};
  for (const auto& asked : notVoices) {
    SCOPED_TRACE(asked);
    try {
      platform::EspeakSynthesizer synthesizer(asked);
      ADD_FAILURE() << "accepted";
    } catch (const platform::SpeechSetupError& error) {
      const std::string message = error.what();
      EXPECT_EQ(message.rfind("Unknown voice \"", 0), 0u) << message;
      EXPECT_EQ(message.find('\x1b'), std::string::npos) << message;
      EXPECT_EQ(message.find("root:"), std::string::npos) << message;
    }
  }
}

}  // namespace
