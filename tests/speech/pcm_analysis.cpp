#include "speech/pcm_analysis.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

#include "platform/audio/espeak_speech_engine.h"
#include "platform/audio/timeline_wav_sink.h"

namespace speech_test {
namespace {

constexpr int kNoiseFloor = 300;  // of 32767: well above dithering, below any spoken phoneme

std::uint32_t littleEndian(const std::vector<char>& bytes, std::size_t at, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i)
    value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

}  // namespace

Pcm readWav(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<char> bytes(std::filesystem::exists(path) ? std::filesystem::file_size(path) : 0);
  file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  Pcm pcm;
  if (bytes.size() < 44 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 36, "data", 4) != 0) {
    ADD_FAILURE() << path << " is not a WAV file";
    return pcm;
  }
  const std::uint32_t dataBytes = littleEndian(bytes, 40, 4);
  EXPECT_EQ(littleEndian(bytes, 4, 4), bytes.size() - 8) << "RIFF size of " << path;
  EXPECT_EQ(dataBytes, bytes.size() - 44) << "data size of " << path;
  EXPECT_EQ(littleEndian(bytes, 22, 2), 1u) << "channels";
  EXPECT_EQ(littleEndian(bytes, 34, 2), 16u) << "bits per sample";
  pcm.sampleRate = static_cast<int>(littleEndian(bytes, 24, 4));
  pcm.samples.resize(std::min<std::size_t>(dataBytes, bytes.size() - 44) / 2);
  std::memcpy(pcm.samples.data(), bytes.data() + 44, pcm.samples.size() * 2);
  return pcm;
}

std::vector<Segment> findSegments(const Pcm& pcm, double minimumGap) {
  const auto gapSamples = static_cast<std::size_t>(minimumGap * pcm.sampleRate);
  const double rate = pcm.sampleRate;
  const auto segment = [rate](std::size_t first, std::size_t last) {
    return Segment{static_cast<double>(first) / rate, static_cast<double>(last - first) / rate};
  };
  std::vector<Segment> segments;
  std::size_t first = 0, last = 0;
  bool inSound = false;
  for (std::size_t i = 0; i < pcm.samples.size(); ++i) {
    if (std::abs(pcm.samples[i]) <= kNoiseFloor) continue;
    if (inSound && i - last > gapSamples) {
      segments.push_back(segment(first, last));
      inSound = false;
    }
    if (!inSound) first = i;
    inSound = true;
    last = i;
  }
  if (inSound) segments.push_back(segment(first, last));
  return segments;
}

void expectSameSegments(const std::vector<Segment>& recorded,
                        const std::vector<Segment>& expected) {
  constexpr double kSameLength = 0.015;
  ASSERT_EQ(recorded.size(), expected.size()) << "segments of sound";
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_NEAR(recorded[i].length, expected[i].length, kSameLength) << "segment " << i;
}

Pcm synthesizeAlone(const std::string& text, float rate) {
  platform::EspeakSynthesizer synthesizer("");
  Pcm pcm{synthesizer.sampleRate(), {}};
  synthesizer.synthesize(text, rate, [&](std::span<const std::int16_t> block) {
    pcm.samples.insert(pcm.samples.end(), block.begin(), block.end());
  });
  return pcm;
}

ExpectedSound expectedSoundOf(const std::vector<std::string>& lines) {
  std::map<std::string, std::pair<std::vector<Segment>, double>> alone;  // segments, seconds
  ExpectedSound expected;
  double lineStart = 0.0;
  for (const std::string& line : lines) {
    auto [it, added] = alone.try_emplace(line);
    if (added) {
      const Pcm pcm = synthesizeAlone(line);
      it->second = {findSegments(pcm), pcm.seconds()};
    }
    const auto& [segments, seconds] = it->second;
    EXPECT_FALSE(segments.empty()) << "no sound for " << line;
    expected.firstSegmentOf.push_back(expected.segments.size());
    expected.backToBackStart.push_back(lineStart + (segments.empty() ? 0 : segments[0].start));
    expected.segments.insert(expected.segments.end(), segments.begin(), segments.end());
    lineStart += seconds;
  }
  return expected;
}

std::string scratchWavPath(const std::string& name) {
  // Under the test's working directory (its build folder): builds tested side by side never share
  // a file, and each run replaces the last one's recordings.
  const std::filesystem::path directory = "speech-recordings";
  std::filesystem::create_directories(directory);
  const auto path = directory / (name + ".wav");
  std::filesystem::remove(path);
  return path.string();
}

}  // namespace speech_test

namespace speech_test {

std::unique_ptr<platform::EspeakSpeechEngine> makeRecordingEngine(const std::string& path) {
  auto synthesizer = std::make_unique<platform::EspeakSynthesizer>("");
  auto sink = std::make_unique<platform::TimelineWavSink>(path, synthesizer->sampleRate());
  return std::make_unique<platform::EspeakSpeechEngine>(std::move(synthesizer), std::move(sink));
}

}  // namespace speech_test
