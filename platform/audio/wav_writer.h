#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>

namespace platform {

// What became of a recording: the first write that failed, if any. The writer and the host share
// it, so the host can still ask once the speech engine, and the writer with it, is gone.
class RecordingOutcome {
 public:
  void fail(const std::string& message);
  std::optional<std::string> failure() const;

 private:
  mutable std::mutex mutex_;
  std::optional<std::string> failure_;
};

// A 16-bit mono PCM WAV file written as it grows. `commit` rewrites the RIFF and data sizes and
// flushes to the operating system, so a program killed at any moment leaves a playable file of
// everything committed before.
//
// The first write that fails (a full disk, /dev/full, more sound than a WAV header can count) is
// thrown once as SpeechError and kept in the outcome; the writer then writes nothing more, so the
// failure is told once and the file keeps the header of what was written before it.
class WavWriter {
 public:
  // The most sound a WAV file can hold: its sizes are 32-bit counts of bytes.
  static constexpr std::uint64_t kLargestData = 0xFFFFFFFFu - 36u;

  // Creates (or truncates) `path`. Throws SpeechSetupError when the file cannot be written.
  WavWriter(const std::string& path, int sampleRate, std::uint64_t largestData = kLargestData);
  ~WavWriter();
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;

  void append(std::span<const std::int16_t> samples);
  void appendSilence(std::uint64_t sampleCount);
  void commit();

  std::uint64_t samplesWritten() const { return samplesWritten_; }
  int sampleRate() const { return sampleRate_; }
  std::shared_ptr<const RecordingOutcome> outcome() const { return outcome_; }

 private:
  bool fits(std::uint64_t moreSamples);
  bool writeHeader();
  void writeBytes(const void* data, std::size_t size);
  void fail(const std::string& what);

  std::string path_;
  std::FILE* file_ = nullptr;
  int sampleRate_;
  std::uint64_t largestData_;
  std::uint64_t samplesWritten_ = 0;
  bool failed_ = false;
  std::shared_ptr<RecordingOutcome> outcome_ = std::make_shared<RecordingOutcome>();
};

}  // namespace platform
