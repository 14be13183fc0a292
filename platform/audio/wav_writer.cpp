#include "platform/audio/wav_writer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/audio/espeak_synthesizer.h"

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

WavWriter::WavWriter(const std::string& path, int sampleRate)
    : path_(path), file_(std::fopen(path.c_str(), "wb")), sampleRate_(sampleRate) {
  if (file_ == nullptr)
    throw SpeechSetupError("Cannot write the recording " + path + ": " + std::strerror(errno));
  writeHeader();
  std::fflush(file_);
}

WavWriter::~WavWriter() {
  commit();
  std::fclose(file_);
}

void WavWriter::append(std::span<const std::int16_t> samples) {
  // WAV is little-endian, as is every machine this runs on.
  writeBytes(samples.data(), samples.size_bytes());
  samplesWritten_ += samples.size();
}

void WavWriter::appendSilence(std::uint64_t sampleCount) {
  static const std::vector<std::int16_t> zeros(4096, 0);
  while (sampleCount > 0) {
    const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(sampleCount, 4096));
    append(std::span(zeros.data(), chunk));
    sampleCount -= chunk;
  }
}

void WavWriter::commit() {
  std::fseek(file_, 0, SEEK_SET);
  writeHeader();
  std::fseek(file_, 0, SEEK_END);
  std::fflush(file_);
}

void WavWriter::writeHeader() {
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
  std::fwrite(header.data(), 1, header.size(), file_);
}

void WavWriter::writeBytes(const void* data, std::size_t size) {
  if (std::fwrite(data, 1, size, file_) != size)
    throw SpeechError("Writing the recording " + path_ + " failed: " + std::strerror(errno));
}

}  // namespace platform
