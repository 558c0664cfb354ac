#include "sim/StateFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace orvane::sim {

namespace {

constexpr char kMagic[16]
    = {'O', 'R', 'V', 'A', 'N', 'E', '-', 'S', 'I', 'M', '-', 'S', 'T', 'A', 'T', 'E'};
constexpr size_t kTagSize = 4;
constexpr size_t kHeaderSize = sizeof kMagic + 4;
const std::string kEndTag = "END ";

void putU32(std::vector<uint8_t> &out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t getU32(std::span<const uint8_t> in, size_t at)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value |= static_cast<uint32_t>(in[at + i]) << (8 * i);
    return value;
}

bool fail(std::string *error, const std::string &reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

uint32_t crc32(std::span<const uint8_t> bytes)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (const uint8_t b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::vector<uint8_t> encodeState(const std::vector<StateSection> &sections)
{
    std::vector<uint8_t> out(std::begin(kMagic), std::end(kMagic));
    putU32(out, kStateFormat);
    for (const StateSection &s : sections) {
        out.insert(out.end(), s.tag.begin(), s.tag.begin() + kTagSize);
        putU32(out, static_cast<uint32_t>(s.bytes.size()));
        out.insert(out.end(), s.bytes.begin(), s.bytes.end());
    }
    const uint32_t crc = crc32(out);
    out.insert(out.end(), kEndTag.begin(), kEndTag.end());
    putU32(out, 4);
    putU32(out, crc);
    return out;
}

std::optional<std::vector<StateSection>> decodeState(std::span<const uint8_t> file,
                                                     std::string *error)
{
    if (file.size() < kHeaderSize || std::memcmp(file.data(), kMagic, sizeof kMagic) != 0) {
        fail(error, "not an orvane-sim state file");
        return std::nullopt;
    }
    const uint32_t format = getU32(file, sizeof kMagic);
    if (format != kStateFormat) {
        fail(error, "state file format " + std::to_string(format) + " is not supported");
        return std::nullopt;
    }
    std::vector<StateSection> sections;
    size_t at = kHeaderSize;
    for (;;) {
        if (file.size() - at < kTagSize + 4) {
            fail(error, "state file is truncated");
            return std::nullopt;
        }
        StateSection section;
        section.tag.assign(file.begin() + static_cast<std::ptrdiff_t>(at),
                           file.begin() + static_cast<std::ptrdiff_t>(at + kTagSize));
        const uint32_t length = getU32(file, at + kTagSize);
        const size_t dataAt = at + kTagSize + 4;
        if (length > file.size() - dataAt) {
            fail(error, "state file is truncated");
            return std::nullopt;
        }
        if (section.tag == kEndTag) {
            if (length != 4 || getU32(file, dataAt) != crc32(file.first(at))) {
                fail(error, "state file is damaged (checksum mismatch)");
                return std::nullopt;
            }
            if (dataAt + length != file.size()) {
                fail(error, "state file has data after its end");
                return std::nullopt;
            }
            return sections;
        }
        section.bytes.assign(file.begin() + static_cast<std::ptrdiff_t>(dataAt),
                             file.begin() + static_cast<std::ptrdiff_t>(dataAt + length));
        sections.push_back(std::move(section));
        at = dataAt + length;
    }
}

const StateSection *findSection(const std::vector<StateSection> &sections,
                                const std::string &tag,
                                size_t size,
                                std::string *error)
{
    for (const StateSection &s : sections) {
        if (s.tag != tag)
            continue;
        if (s.bytes.size() != size) {
            fail(error,
                 "state file section " + tag + " holds " + std::to_string(s.bytes.size())
                     + " bytes, expected " + std::to_string(size));
            return nullptr;
        }
        return &s;
    }
    fail(error, "state file has no section " + tag);
    return nullptr;
}

std::optional<std::vector<uint8_t>>
readFileBytes(const std::string &path, size_t limit, std::string *error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        fail(error, "cannot open " + path + ": " + std::strerror(errno));
        return std::nullopt;
    }
    std::vector<uint8_t> bytes;
    char buffer[8192];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.insert(bytes.end(), buffer, buffer + in.gcount());
        if (bytes.size() > limit) {
            fail(error, path + " is too large for a state file");
            return std::nullopt;
        }
    }
    if (in.bad()) {
        fail(error, "cannot read " + path);
        return std::nullopt;
    }
    return bytes;
}

bool writeFileBytes(const std::string &path, std::span<const uint8_t> bytes, std::string *error)
{
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return fail(error, "cannot create " + temporary + ": " + std::strerror(errno));
        out.write(reinterpret_cast<const char *>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return fail(error, "cannot write " + temporary);
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return fail(error, "cannot replace " + path + ": " + ec.message());
    }
    return true;
}

} // namespace orvane::sim
