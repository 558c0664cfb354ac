#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The file in which orvane-sim keeps the instrument's memories between runs.
// Binary, little-endian: a 16-byte magic text, a format number, then tagged
// sections (four-character tag, length, bytes) and last an "END " section
// holding the CRC-32 of everything before it. Readers refuse anything short,
// unknown or damaged with a reason and never read past the data.

namespace orvane::sim {

struct StateSection
{
    std::string tag; // four characters
    std::vector<uint8_t> bytes;
};

constexpr uint32_t kStateFormat = 1;
constexpr size_t kStateFileLimit = 1 << 20; // far above what one instrument needs

std::vector<uint8_t> encodeState(const std::vector<StateSection> &sections);
std::optional<std::vector<StateSection>> decodeState(std::span<const uint8_t> file,
                                                     std::string *error);

// The section with this tag and exactly this size, or a reason why not.
const StateSection *findSection(const std::vector<StateSection> &sections,
                                const std::string &tag,
                                size_t size,
                                std::string *error);

uint32_t crc32(std::span<const uint8_t> bytes);

// Whole-file helpers. Writing goes through a temporary file and a rename, so
// an interrupted save leaves the previous state file intact.
std::optional<std::vector<uint8_t>>
readFileBytes(const std::string &path, size_t limit, std::string *error);
bool writeFileBytes(const std::string &path, std::span<const uint8_t> bytes, std::string *error);

} // namespace orvane::sim
