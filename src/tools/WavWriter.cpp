#include "WavWriter.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vorlo::tools {
namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

std::int16_t toPcm(float sample) {
    const float clipped = std::clamp(sample, -1.0f, 1.0f);
    return static_cast<std::int16_t>(std::lrint(clipped * 32767.0f));
}

}  // namespace

WavWriter::WavWriter(const std::string& path, int sampleRate) : sampleRate_(sampleRate) {
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ != nullptr && !writeHeader(0)) failed_ = true;
}

WavWriter::~WavWriter() {
    if (file_ != nullptr) std::fclose(file_);
}

bool WavWriter::writeHeader(std::uint32_t dataBytes) {
    std::vector<std::uint8_t> header{'R', 'I', 'F', 'F'};
    put32(header, 36 + dataBytes);
    header.insert(header.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(header, 16);
    put16(header, 1);  // PCM
    put16(header, 2);  // stereo
    put32(header, static_cast<std::uint32_t>(sampleRate_));
    put32(header, static_cast<std::uint32_t>(sampleRate_) * 4);
    put16(header, 4);
    put16(header, 16);
    header.insert(header.end(), {'d', 'a', 't', 'a'});
    put32(header, dataBytes);
    return std::fwrite(header.data(), 1, header.size(), file_) == header.size();
}

bool WavWriter::write(const float* left, const float* right, std::size_t frames) {
    if (file_ == nullptr) return false;
    std::vector<std::int16_t> interleaved(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        interleaved[2 * i] = toPcm(left[i]);
        interleaved[2 * i + 1] = toPcm(right[i]);
    }
    // WAV is little-endian, as is every machine this runs on.
    if (std::fwrite(interleaved.data(), sizeof(std::int16_t), interleaved.size(), file_) != interleaved.size())
        failed_ = true;
    frames_ += frames;
    return !failed_;
}

bool WavWriter::finish() {
    if (file_ == nullptr) return false;
    const std::uint64_t dataBytes = frames_ * 4;
    if (dataBytes > 0xFFFFFFF0u) failed_ = true;  // beyond what a WAV header can say
    if (std::fseek(file_, 0, SEEK_SET) != 0 || !writeHeader(static_cast<std::uint32_t>(dataBytes))) failed_ = true;
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    return !failed_;
}

}  // namespace vorlo::tools
