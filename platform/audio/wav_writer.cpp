#include "platform/audio/wav_writer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "platform/audio/espeak_synthesizer.h"
#include "platform/message_text.h"

namespace platform {
namespace {

constexpr std::uint32_t kHeaderBytes = 44;
constexpr std::uint16_t kBytesPerSample = 2;

void putLittleEndian(std::array<unsigned char, kHeaderBytes>& header, std::size_t at,
                     std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    header[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(value >> (8 * i));
}

void putTag(std::array<unsigned char, kHeaderBytes>& header, std::size_t at, const char* tag) {
  std::memcpy(header.data() + at, tag, 4);
}

}  // namespace

void RecordingOutcome::fail(const std::string& message) {
  std::lock_guard lock(mutex_);
  if (!failure_) failure_ = message;
}

std::optional<std::string> RecordingOutcome::failure() const {
  std::lock_guard lock(mutex_);
  return failure_;
}

WavWriter::WavWriter(const std::string& path, int sampleRate, std::uint64_t largestData)
    : path_(path),
      file_(std::fopen(path.c_str(), "wb")),
      sampleRate_(sampleRate),
      largestData_(largestData) {
  if (file_ == nullptr)
    throw SpeechSetupError("Cannot write the recording " + printableExcerpt(path) + ": " +
                           std::strerror(errno));
  if (!writeHeader() || std::fflush(file_) != 0) {
    const std::string reason = std::strerror(errno);
    std::fclose(file_);
    throw SpeechSetupError("Cannot write the recording " + printableExcerpt(path) + ": " + reason);
  }
}

WavWriter::~WavWriter() {
  try {
    commit();
  } catch (const SpeechError&) {
    // Kept in the outcome, where the host reads it.
  }
  std::fclose(file_);
}

void WavWriter::append(std::span<const std::int16_t> samples) {
  if (failed_ || !fits(samples.size())) return;
  // WAV is little-endian, as is every machine this runs on.
  writeBytes(samples.data(), samples.size_bytes());
  samplesWritten_ += samples.size();
}

void WavWriter::appendSilence(std::uint64_t sampleCount) {
  if (failed_ || !fits(sampleCount)) return;
  static const std::vector<std::int16_t> zeros(4096, 0);
  while (sampleCount > 0 && !failed_) {
    const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(sampleCount, 4096));
    append(std::span(zeros.data(), chunk));
    sampleCount -= chunk;
  }
}

void WavWriter::commit() {
  if (failed_) return;
  const bool written = std::fseek(file_, 0, SEEK_SET) == 0 && writeHeader() &&
                       std::fseek(file_, 0, SEEK_END) == 0 && std::fflush(file_) == 0;
  if (!written) fail(std::strerror(errno));
}

bool WavWriter::fits(std::uint64_t moreSamples) {
  if ((samplesWritten_ + moreSamples) * kBytesPerSample <= largestData_) return true;
  commit();  // the file is sound up to here: its header counts all of it
  fail("it reached the 4 GiB of sound a WAV file can hold");
  return false;
}

bool WavWriter::writeHeader() {
  const auto dataBytes = static_cast<std::uint32_t>(samplesWritten_ * kBytesPerSample);
  const auto rate = static_cast<std::uint32_t>(sampleRate_);
  std::array<unsigned char, kHeaderBytes> header{};
  putTag(header, 0, "RIFF");
  putLittleEndian(header, 4, kHeaderBytes - 8 + dataBytes, 4);
  putTag(header, 8, "WAVE");
  putTag(header, 12, "fmt ");
  putLittleEndian(header, 16, 16, 4);                      // size of the format chunk
  putLittleEndian(header, 20, 1, 2);                       // PCM
  putLittleEndian(header, 22, 1, 2);                       // mono
  putLittleEndian(header, 24, rate, 4);                    // samples per second
  putLittleEndian(header, 28, rate * kBytesPerSample, 4);  // bytes per second
  putLittleEndian(header, 32, kBytesPerSample, 2);         // bytes per frame
  putLittleEndian(header, 34, 16, 2);                      // bits per sample
  putTag(header, 36, "data");
  putLittleEndian(header, 40, dataBytes, 4);
  return std::fwrite(header.data(), 1, header.size(), file_) == header.size();
}

void WavWriter::writeBytes(const void* data, std::size_t size) {
  if (std::fwrite(data, 1, size, file_) != size) fail(std::strerror(errno));
}

void WavWriter::fail(const std::string& what) {
  failed_ = true;
  const std::string message = "The recording " + printableExcerpt(path_) +
                              " could not be written (" + what + "); it ends before this point";
  outcome_->fail(message);
  throw SpeechError(message);
}

}  // namespace platform
