#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace platform {

// A 16-bit mono PCM WAV file written as it grows. `commit` rewrites the RIFF and data sizes and
// flushes to the operating system, so a program killed at any moment leaves a playable file of
// everything committed before.
class WavWriter {
 public:
  // Creates (or truncates) `path`. Throws SpeechSetupError when the file cannot be written.
  WavWriter(const std::string& path, int sampleRate);
  ~WavWriter();
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;

  void append(std::span<const std::int16_t> samples);
  void appendSilence(std::uint64_t sampleCount);
  void commit();

  std::uint64_t samplesWritten() const { return samplesWritten_; }
  int sampleRate() const { return sampleRate_; }

 private:
  void writeHeader();
  void writeBytes(const void* data, std::size_t size);

  std::string path_;
  std::FILE* file_ = nullptr;
  int sampleRate_;
  std::uint64_t samplesWritten_ = 0;
};

}  // namespace platform
