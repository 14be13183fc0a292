#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/espeak_speech_engine.h"
#include "platform/audio/timeline_wav_sink.h"

// Reading back what the speech wrote, and finding where sound is, as a listener would.
namespace speech_test {

struct Pcm {
  int sampleRate = 0;
  std::vector<std::int16_t> samples;
  double seconds() const { return static_cast<double>(samples.size()) / sampleRate; }
};

// A 16-bit mono WAV; fails the test unless its header describes exactly the bytes on disk, i.e.
// unless a player would play the whole file.
inline Pcm readWav(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<char> bytes(std::filesystem::exists(path) ? std::filesystem::file_size(path) : 0);
  file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  const auto field = [&](std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
      value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
  };
  Pcm pcm;
  if (bytes.size() < 44 || std::memcmp(bytes.data() + 36, "data", 4) != 0) {
    ADD_FAILURE() << path << " is not a WAV file";
    return pcm;
  }
  EXPECT_EQ(field(4, 4), bytes.size() - 8) << "RIFF size of " << path;
  EXPECT_EQ(field(40, 4), bytes.size() - 44) << "data size of " << path;
  EXPECT_EQ(field(22, 2), 1u) << "channels";
  EXPECT_EQ(field(34, 2), 16u) << "bits per sample";
  pcm.sampleRate = static_cast<int>(field(24, 4));
  pcm.samples.resize((bytes.size() - 44) / 2);
  std::memcpy(pcm.samples.data(), bytes.data() + 44, pcm.samples.size() * 2);
  return pcm;
}

// A stretch of sound from its first to its last sample above the noise floor, in seconds.
struct Segment {
  double start;
  double length;
};

// Sound separated by more than 0.15 s of silence makes separate segments: longer than the pauses
// inside a spoken line, shorter than the silence espeak-ng puts after one.
inline std::vector<Segment> findSegments(const Pcm& pcm) {
  constexpr int kNoiseFloor = 300;  // of 32767: well above dithering, below any spoken phoneme
  const auto gap = static_cast<std::size_t>(0.15 * pcm.sampleRate);
  const auto at = [&](std::size_t sample) { return static_cast<double>(sample) / pcm.sampleRate; };
  std::vector<Segment> segments;
  std::size_t last = 0;
  for (std::size_t i = 0; i < pcm.samples.size(); ++i) {
    if (std::abs(pcm.samples[i]) <= kNoiseFloor) continue;
    if (segments.empty() || i - last > gap) segments.push_back({at(i), 0.0});
    last = i;
    segments.back().length = at(last) - segments.back().start;
  }
  return segments;
}

// `text` synthesised alone at `rate` in the default voice (no engine may be alive meanwhile).
inline Pcm synthesizeAlone(const std::string& text, float rate = 0.5f) {
  platform::EspeakSynthesizer synthesizer("");
  Pcm pcm{synthesizer.sampleRate(), {}};
  synthesizer.synthesize(text, rate, [&](std::span<const std::int16_t> block) {
    pcm.samples.insert(pcm.samples.end(), block.begin(), block.end());
  });
  return pcm;
}

// Whether `recorded` holds, from `at`, the segments of `line` said alone at `pace` times the
// normal pace: the same segments, each as long. espeak-ng varies a line's length with what it
// spoke just before (up to about 10 ms, and 3% at its fastest paces); a line cut short loses at
// least a word.
inline bool holdsLineAt(const std::vector<Segment>& recorded, std::size_t at,
                        const std::string& line, float pace, std::size_t& segmentCount) {
  static std::map<std::pair<std::string, float>, std::vector<Segment>> alone;
  auto [it, added] = alone.try_emplace({line, pace});
  if (added) it->second = findSegments(synthesizeAlone(line, 0.5f * pace));
  const std::vector<Segment>& expected = it->second;
  if (at + expected.size() > recorded.size()) return false;
  for (std::size_t i = 0; i < expected.size(); ++i)
    if (std::abs(recorded[at + i].length - expected[i].length) > 0.015 + 0.03 * expected[i].length)
      return false;
  segmentCount = expected.size();
  return true;
}

// Fails the test unless the recording at `path` holds `lines` in order, each in full, said at the
// normal pace or at one of the faster paces the voice catches up with the board at. Returns where
// each line's sound starts in the recording.
inline std::vector<double> recordedLineStarts(const std::string& path,
                                              const std::vector<std::string>& lines) {
  const std::vector<Segment> recorded = findSegments(readWav(path));
  std::vector<double> starts;
  std::size_t at = 0;
  for (const std::string& line : lines) {
    std::size_t count = 0;
    bool found = false;
    for (int step = 0; step <= platform::EspeakSpeechEngine::kCatchUpSteps && !found; ++step)
      found = holdsLineAt(
          recorded, at, line,
          1.0f + platform::EspeakSpeechEngine::kCatchUpStep * static_cast<float>(step), count);
    if (!found) {
      ADD_FAILURE() << "\"" << line << "\" is not in full at segment " << at << " of " << path;
      return {};
    }
    starts.push_back(recorded[at].start);
    at += count;
  }
  EXPECT_EQ(at, recorded.size()) << "sound after the last line in " << path;
  return starts;
}

// A fresh path under the test's working directory (its build folder), so builds tested side by
// side never share a file; it stays after the test so a person can listen to it.
inline std::string scratchWavPath(const std::string& name) {
  std::filesystem::create_directories("speech-recordings");
  const std::string path = "speech-recordings/" + name + ".wav";
  std::filesystem::remove(path);
  return path;
}

// An engine in the default voice that records to a timeline WAV at `path`, with no live sound.
inline std::unique_ptr<platform::EspeakSpeechEngine> makeRecordingEngine(const std::string& path) {
  auto synthesizer = std::make_unique<platform::EspeakSynthesizer>("");
  auto sink = std::make_unique<platform::TimelineWavSink>(path, synthesizer->sampleRate());
  return std::make_unique<platform::EspeakSpeechEngine>(std::move(synthesizer), std::move(sink));
}

}  // namespace speech_test
