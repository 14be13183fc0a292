#include "platform/audio/voice_catalogue.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <sstream>

namespace platform {
namespace {

namespace fs = std::filesystem;
using VoiceTest = std::function<bool(const VoiceInfo&)>;

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool sameText(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

std::string_view lastPart(std::string_view file) {
  const auto slash = file.rfind('/');
  return slash == std::string_view::npos ? file : file.substr(slash + 1);
}

std::vector<std::string> languagesOf(const VoiceInfo& voice) {
  std::istringstream words(voice.languages);
  std::vector<std::string> languages;
  for (std::string language; words >> language;) languages.push_back(language);
  return languages;
}

const VoiceInfo* firstWhere(const std::vector<VoiceInfo>& voices, const VoiceTest& test) {
  const auto found = std::find_if(voices.begin(), voices.end(), test);
  return found == voices.end() ? nullptr : &*found;
}

// The identifier of the voice file at `path`, when it is one of espeak-ng's own voice files.
std::optional<std::string> identifierOfPath(std::string_view path,
                                            const VoiceCatalogue& catalogue) {
  std::error_code error;
  const fs::path file = fs::canonical(fs::path(path), error);
  if (error || !fs::is_regular_file(file, error)) return std::nullopt;
  const fs::path languages = fs::canonical(fs::path(catalogue.dataDirectory) / "lang", error);
  if (error) return std::nullopt;
  const fs::path relative = file.lexically_relative(languages);
  if (relative.empty() || *relative.begin() == "..") return std::nullopt;
  return relative.generic_string();
}

const VoiceInfo* baseVoice(std::string_view asked, const VoiceCatalogue& catalogue) {
  const auto& voices = catalogue.voices;
  const std::string_view name = trimmed(asked);
  if (name.empty()) return nullptr;
  const std::vector<VoiceTest> preferences{
      [&](const VoiceInfo& v) { return sameText(v.file, name); },
      [&](const VoiceInfo& v) { return sameText(lastPart(v.file), name); },
      [&](const VoiceInfo& v) { return sameText(trimmed(v.name), name); },
      [&](const VoiceInfo& v) {
        const auto languages = languagesOf(v);
        return !languages.empty() && sameText(languages.front(), name);
      },
      [&](const VoiceInfo& v) {
        const auto languages = languagesOf(v);
        return std::any_of(languages.begin(), languages.end(),
                           [&](const std::string& language) { return sameText(language, name); });
      }};
  for (const auto& test : preferences)
    if (const VoiceInfo* voice = firstWhere(voices, test)) return voice;
  if (const auto file = identifierOfPath(asked, catalogue))
    return firstWhere(voices, [&](const VoiceInfo& v) { return v.file == *file; });
  return nullptr;
}

const VoiceInfo* variant(std::string_view asked, const VoiceCatalogue& catalogue) {
  const std::string_view name = trimmed(asked);
  if (name.empty()) return nullptr;
  return firstWhere(catalogue.variants, [&](const VoiceInfo& v) {
    return sameText(trimmed(v.name), name) || sameText(lastPart(v.file), name);
  });
}

}  // namespace

std::optional<std::string> resolveVoice(std::string_view asked, const VoiceCatalogue& catalogue) {
  const auto plus = asked.find('+');
  const VoiceInfo* voice = baseVoice(asked.substr(0, plus), catalogue);
  if (voice == nullptr) return std::nullopt;
  if (plus == std::string_view::npos) return voice->file;
  const VoiceInfo* spokenWith = variant(asked.substr(plus + 1), catalogue);
  if (spokenWith == nullptr) return std::nullopt;
  return voice->file + "+" + std::string(lastPart(spokenWith->file));
}

}  // namespace platform
