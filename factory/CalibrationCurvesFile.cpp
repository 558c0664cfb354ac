#include "factory/CalibrationCurvesFile.h"

#include "factory/FieldReader.h"

#include <string>

namespace orvane {

namespace {

constexpr int kHeadingLines = 3;
constexpr int kPointLines = 32;
constexpr int kPointFields = 8;
constexpr int kPointBytes = 4;
constexpr long long kLargestAddress = 65535;

std::string pointName(int curve, int point)
{
    return "point " + std::to_string(point) + " of curve " + std::to_string(curve);
}

} // namespace

Result<std::vector<EepromBlock>> readCalibrationCurves(std::string_view text,
                                                       std::string_view fileName)
{
    FieldFile file(text, fileName);
    auto header = file.next(2, false, "the number of curves and a text");
    if (!header)
        return failure(header.error());
    const auto curves = header->whole(0, kMaxCurves);
    if (!curves)
        return failure(curves.error());
    if (const auto title = header->text(); !title)
        return failure(title.error());
    if (const auto end = header->end(); !end)
        return failure(end.error());

    std::vector<EepromBlock> blocks;
    for (int c = 1; c <= int(*curves); ++c) {
        for (int h = 1; h <= kHeadingLines; ++h) {
            if (auto skipped
                = file.skip("heading line " + std::to_string(h) + " of curve " + std::to_string(c));
                !skipped)
                return failure(skipped.error());
        }
        EepromBlock block;
        block.bytes.reserve(kCurveBytes);
        for (int p = 1; p <= kPointLines; ++p) {
            auto line = file.next(kPointFields, false, pointName(c, p));
            if (!line)
                return failure(line.error());
            if (const auto unused = line->byte(); !unused)
                return failure(unused.error());
            // Only the first point's address is used: the curve's 128 bytes
            // must fit below the top of the EEPROM from there.
            const auto address
                = line->whole(0, p == 1 ? kLargestAddress + 1 - kCurveBytes : kLargestAddress);
            if (!address)
                return failure(address.error());
            if (p == 1)
                block.address = uint16_t(*address);
            for (int n = 0; n < 2; ++n) {
                if (const auto unused = line->number(); !unused)
                    return failure(unused.error());
            }
            for (int b = 0; b < kPointBytes; ++b) {
                const auto byte = line->byte();
                if (!byte)
                    return failure(byte.error());
                block.bytes.push_back(*byte);
            }
            if (const auto end = line->end(); !end)
                return failure(end.error());
        }
        blocks.push_back(std::move(block));
    }
    return blocks;
}

} // namespace orvane
