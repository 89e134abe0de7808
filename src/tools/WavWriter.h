#pragma once
// Writes 16-bit stereo PCM WAV files, block by block.
#include <cstdint>
#include <cstdio>
#include <string>

namespace vorlo::tools {

class WavWriter {
public:
    WavWriter(const std::string& path, int sampleRate);
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    bool write(const float* left, const float* right, std::size_t frames);
    // Fills in the sizes in the header; false when the disk refused something.
    bool finish();

private:
    bool writeHeader(std::uint32_t dataBytes);

    std::FILE* file_ = nullptr;
    int sampleRate_;
    std::uint64_t frames_ = 0;
    bool failed_ = false;
};

}  // namespace vorlo::tools
