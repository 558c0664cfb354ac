#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// SHA-256 (FIPS 180-4), for the record of which files a unit was made
// with. The logic has no Qt, so it carries its own.

namespace orvane {

class Sha256
{
public:
    using Digest = std::array<uint8_t, 32>;

    // May be called any number of times, with pieces of any length.
    void update(std::string_view bytes);
    // The digest of everything given; the object starts over afterwards.
    Digest finish();

private:
    void compress(const uint8_t *block);

    std::array<uint32_t, 8> m_state = kInitialState;
    std::array<uint8_t, 64> m_block{};
    size_t m_filled = 0;
    uint64_t m_length = 0; // bytes given so far

    static constexpr std::array<uint32_t, 8> kInitialState = {0x6a09e667,
                                                              0xbb67ae85,
                                                              0x3c6ef372,
                                                              0xa54ff53a,
                                                              0x510e527f,
                                                              0x9b05688c,
                                                              0x1f83d9ab,
                                                              0x5be0cd19};
};

// 64 lower-case hexadecimal digits, as the production records keep them.
std::string sha256Hex(std::string_view bytes);
std::string hexText(const Sha256::Digest &digest);

} // namespace orvane
