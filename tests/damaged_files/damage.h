#pragma once
// Ways to damage a data file, each a deterministic function of the good bytes.

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace damage {

struct Variant {
    std::string name;
    std::string bytes;
};

// The file cut at every byte: 0, 1, ... size - 1 bytes long.
inline std::vector<Variant> CutAtEveryByte(const std::string& good) {
    std::vector<Variant> variants;
    for (std::size_t n = 0; n < good.size(); ++n) {
        variants.push_back({"cut at " + std::to_string(n), good.substr(0, n)});
    }
    return variants;
}

// `count` copies with 1 to 4 random bytes replaced, from a fixed seed.
inline std::vector<Variant> FlippedBytes(const std::string& good, int count, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<Variant> variants;
    for (int v = 0; v < count && !good.empty(); ++v) {
        std::string bytes = good;
        const int flips = 1 + static_cast<int>(random() % 4);
        std::string name = "flip";
        for (int f = 0; f < flips; ++f) {
            const std::size_t at = random() % bytes.size();
            bytes[at] = static_cast<char>(random() & 0xFF);
            name += " " + std::to_string(at);
        }
        variants.push_back({name, bytes});
    }
    return variants;
}

// Every 4-byte field of the first `headerBytes` set to huge values in turn.
inline std::vector<Variant> HugeFields(const std::string& good, std::size_t headerBytes) {
    std::vector<Variant> variants;
    const std::uint32_t values[] = {0xFFFFFFFFu, 0x80000000u,
                                    0x7FFFFFFFu, 0x00FFFFFFu,
                                    0x20000000u, static_cast<std::uint32_t>(good.size())};
    for (std::size_t at = 0; at + 4 <= headerBytes && at + 4 <= good.size(); ++at) {
        for (const std::uint32_t value : values) {
            std::string bytes = good;
            for (int k = 0; k < 4; ++k) {
                bytes[at + k] = static_cast<char>((value >> (8 * k)) & 0xFF);
            }
            variants.push_back(
                {"field at " + std::to_string(at) + " = " + std::to_string(value), bytes});
        }
    }
    return variants;
}

} // namespace damage
