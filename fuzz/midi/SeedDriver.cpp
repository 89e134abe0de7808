// Runs the fuzz harness over files and folders (the seed corpus), and over random damage of each,
// so that an ordinary build and ctest exercise it without libFuzzer.
//
// usage: vorlo_fuzz_midi_driver [--mutations N] PATH...
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "midi/FileBytes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void runOne(const std::vector<std::uint8_t>& bytes) {
    // A copy of exactly the input's size, so a sanitizer sees any read past its end.
    const std::vector<std::uint8_t> exact(bytes);
    LLVMFuzzerTestOneInput(exact.data(), exact.size());
}

}  // namespace

int main(int argc, char** argv) {
    int mutations = 0;
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--mutations" && i + 1 < argc) {
            mutations = std::stoi(argv[++i]);
        } else if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(arg))
                if (entry.is_regular_file()) files.push_back(entry.path());
        } else {
            files.emplace_back(arg);
        }
    }
    std::mt19937 random(42);
    std::vector<std::uint8_t> bytes;
    std::size_t runs = 0;
    for (const auto& path : files) {
        if (const std::string error = vorlo::midi::loadFileBytes(path.string(), bytes); !error.empty()) {
            std::fprintf(stderr, "%s: %s\n", path.string().c_str(), error.c_str());
            return 1;
        }
        runOne(bytes);
        ++runs;
        for (int m = 0; m < mutations && !bytes.empty(); ++m) {
            std::vector<std::uint8_t> damaged = bytes;
            switch (random() % 3) {
                case 0:
                    for (int flips = 1 + static_cast<int>(random() % 8); flips > 0; --flips)
                        damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
                    break;
                case 1: damaged.resize(random() % damaged.size()); break;
                default:
                    damaged.insert(damaged.begin() + static_cast<std::ptrdiff_t>(random() % damaged.size()),
                                   static_cast<std::size_t>(1 + random() % 16), static_cast<std::uint8_t>(random()));
                    break;
            }
            runOne(damaged);
            ++runs;
        }
    }
    std::printf("%zu inputs from %zu files: no failure\n", runs, files.size());
    return files.empty() ? 1 : 0;
}
