#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class EspeakSpeechEngine;
}

// Reading back what the speech wrote, and finding where sound is, as a listener would.
namespace speech_test {

struct Pcm {
  int sampleRate = 0;
  std::vector<std::int16_t> samples;
  double seconds() const { return static_cast<double>(samples.size()) / sampleRate; }
};

// Reads a 16-bit mono WAV; fails the test (and returns empty) when its header does not describe
// exactly the bytes on disk, i.e. when a player would not play the whole file.
Pcm readWav(const std::string& path);

// A stretch of sound, from its first to its last sample above the noise floor, in seconds.
struct Segment {
  double start;
  double length;
};

// Sound separated by at least `minimumGap` seconds of silence counts as separate segments. The
// default lies between the short pauses inside a spoken line and the trailing silence espeak-ng
// puts after each one.
std::vector<Segment> findSegments(const Pcm& pcm, double minimumGap = 0.15);

// Fails the test unless `recorded` holds the segments of `expected`, one for one and each as long.
// espeak-ng varies a line's length by up to about 10 ms with what it spoke just before; a line cut
// short loses at least a word.
void expectSameSegments(const std::vector<Segment>& recorded, const std::vector<Segment>& expected);

// Where each line's sound should be, from the lines synthesised alone at rate 0.5.
struct ExpectedSound {
  std::vector<Segment> segments;            // every line's segments, line after line
  std::vector<std::size_t> firstSegmentOf;  // the index of each line's first segment
  std::vector<double> backToBackStart;      // each line's first sound with nothing between lines
};
ExpectedSound expectedSoundOf(const std::vector<std::string>& lines);

// `text` synthesised alone at `rate` in the default voice (no engine may be alive meanwhile).
Pcm synthesizeAlone(const std::string& text, float rate = 0.5f);

// A fresh path for a test's recording; it stays after the test so a person can listen to it.
std::string scratchWavPath(const std::string& name);

// An engine in the default voice that records to a timeline WAV at `path`, with no live sound.
std::unique_ptr<platform::EspeakSpeechEngine> makeRecordingEngine(const std::string& path);

}  // namespace speech_test
