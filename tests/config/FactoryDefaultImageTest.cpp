#include "config/Defaults.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace orvane;

// The whole factory image, byte by byte, against tables typed from the
// instrument's documented defaults. The image is pre-filled twice (all 0, then
// all 255) so that a byte the defaults forget to write cannot pass by chance,
// and the cells the defaults must leave alone (configuration column 0, byte
// row 128, IntNvm index 256) are expected to keep the fill.

namespace {

constexpr int kUnset = -1;

using ExpectedCdc = std::array<std::array<int, CdcTable::kRows>, CdcTable::kColumns>; // [c][n]
using ExpectedIntNvm = std::array<int, IntNvmTable::kSize>;

// One row of the configuration table: byte n of configurations 1..16.
struct ConfigByteRow
{
    int byte;
    std::array<int, 16> values;
};

// A bar limit row: lower / upper limit of configurations 1..16, each a 16-bit
// value stored high byte first from `firstByte` on.
struct ConfigLimitRow
{
    int firstByte;
    std::array<std::pair<int, int>, 16> lowerUpper;
};

ExpectedCdc expectedConfigurations(int fill)
{
    ExpectedCdc e;
    for (auto &column : e)
        column.fill(fill);

    for (int c = 1; c <= 16; ++c)
        for (int n = 0; n <= 127; ++n)
            e[c][n] = 255;

    // Byte 0 is 0, not the exclusive-or: check bytes are only computed when a
    // configuration is saved or sent.
    const ConfigByteRow rows[] = {
        {0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {1, {196, 192, 192, 204, 204, 204, 198, 198, 198, 192, 204, 192, 60, 51, 0, 0}},
        {2, {75, 99, 67, 83, 99, 67, 89, 73, 105, 65, 65, 65, 4, 2, 4, 0}},
        {3, {132, 128, 128, 64, 64, 64, 32, 32, 32, 128, 64, 32, 64, 32, 0, 0}},
        {4, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {28, {1, 1, 1, 25, 25, 25, 9, 9, 9, 1, 25, 9, 25, 9, 18, 0}},
        {48, {9, 9, 9, 9, 9, 9, 25, 25, 25, 29, 29, 29, 18, 23, 19, 0}},
        {68, {25, 6, 10, 1, 6, 10, 1, 10, 6, 30, 30, 30, 13, 24, 20, 0}},
        {88, {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 21, 0, 6, 0}},
        {108, {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 27, 25, 26, 0}},
    };
    for (const ConfigByteRow &row : rows)
        for (int c = 1; c <= 16; ++c)
            e[c][row.byte] = row.values[c - 1];

    const ConfigLimitRow limits[] = {
        {89,
         {{{0, 2000},
           {0, 2000},
           {0, 2000},
           {0, 2000},
           {0, 2000},
           {0, 2000},
           {0, 2000},
           {0, 2000},
           {0, 2000},
           {0, 2000},
           {0, 2000},
           {0, 2000},
           {0, 1000},
           {0, 9999},
           {0, 500},
           {0, 5000}}}},
        {109,
         {{{100, 240},
           {100, 240},
           {100, 240},
           {100, 240},
           {100, 240},
           {100, 240},
           {100, 240},
           {100, 240},
           {100, 240},
           {100, 240},
           {100, 240},
           {100, 240},
           {0, 1000},
           {0, 500},
           {0, 300},
           {0, 3000}}}},
    };
    for (const ConfigLimitRow &row : limits) {
        for (int c = 1; c <= 16; ++c) {
            const auto [lower, upper] = row.lowerUpper[c - 1];
            e[c][row.firstByte] = lower / 256;
            e[c][row.firstByte + 1] = lower % 256;
            e[c][row.firstByte + 2] = upper / 256;
            e[c][row.firstByte + 3] = upper % 256;
        }
    }
    return e;
}

// Builds the settings table from its documented runs of bytes; a byte typed
// twice or never is a fault of this table, reported apart from the product's.
class ExpectedIntNvmBuilder
{
public:
    explicit ExpectedIntNvmBuilder(int fill)
    {
        m_bytes.fill(kUnset);
        m_bytes[256] = fill;
    }

    void put(int first, std::initializer_list<int> values)
    {
        int i = first;
        for (int v : values)
            set(i++, v);
    }
    void putRun(int first, int last, int value)
    {
        for (int i = first; i <= last; ++i)
            set(i, value);
    }
    // An alarm record: low then high limit, each 16-bit, high byte first.
    void putRecord(int first, int low, int high)
    {
        put(first, {low / 256, low % 256, high / 256, high % 256});
    }

    std::vector<std::string> tableFaults() const
    {
        std::vector<std::string> faults = m_faults;
        for (int i = 0; i <= 255; ++i)
            if (m_bytes[i] == kUnset)
                faults.push_back("expected IntNvm byte " + std::to_string(i) + " was never typed");
        return faults;
    }
    const ExpectedIntNvm &bytes() const { return m_bytes; }

private:
    void set(int i, int value)
    {
        if (i < 0 || i > 255 || m_bytes[i] != kUnset)
            m_faults.push_back("expected IntNvm byte " + std::to_string(i) + " typed twice");
        else
            m_bytes[i] = value;
    }

    ExpectedIntNvm m_bytes;
    std::vector<std::string> m_faults;
};

ExpectedIntNvmBuilder expectedIntNvm(int fill)
{
    ExpectedIntNvmBuilder e(fill);
    // Byte 0 is 0 for the same reason as a configuration's byte 0.
    e.put(0, {0, 26, 14, 0, 0, 1, 1, 5, 0, 0});
    e.put(10, {0, 0, 7, 3, 30, 1, 0, 255, 255, 255, 0});
    e.put(21, {3, 232, 3, 232});
    e.put(25, {10});
    e.put(26, {3, 232, 3, 232, 3, 232});
    e.put(32, {0});
    for (int pair = 0; pair < 6; ++pair)
        e.put(33 + 2 * pair, {3, 232});
    e.put(45, {50});
    e.putRun(46, 63, 0);
    e.put(64, {3, 232});
    e.put(66, {5, 10});
    e.put(68,
          {36, 54, 3, 36, 54, 1, 28, 13, 1, 20, 101, 2, 20, 101, 2, 0, 0, 0, 16, 9, 6, 16, 9, 10});
    e.put(92, {1, 244, 255, 255, 255, 255});
    e.put(98, {7, 20, 3, 11, 0, 23});
    e.put(104, {3, 0, 3, 10, 10, 0, 0});
    e.put(111, {3, 232});
    e.put(113, {3});
    e.put(114, {46, 224});
    e.putRun(116, 127, 255);

    e.putRecord(128, 0, 9999);
    e.putRecord(132, 0, 250);
    e.putRecord(136, 0, 1800);
    e.putRecord(140, 0, 999);
    e.putRecord(144, 0, 999);
    e.putRecord(148, 0, 65535);
    e.putRecord(152, 0, 9900);
    e.putRecord(156, 0, 999);
    for (int record : {160, 164, 168})
        e.putRecord(record, 0, 3300);
    e.putRecord(172, 100, 900);
    e.putRecord(176, 0, 999);
    for (int record = 180; record <= 208; record += 4)
        e.putRecord(record, 0, 9999);
    for (int record : {212, 216, 220, 224})
        e.putRecord(record, 0, 999);
    for (int record = 228; record <= 248; record += 4)
        e.putRecord(record, 0, 999);
    e.putRun(252, 255, 255);
    return e;
}

std::string joined(const std::vector<std::string> &lines)
{
    std::ostringstream out;
    out << lines.size() << " mismatch(es):";
    for (const std::string &line : lines)
        out << "\n  " << line;
    return out.str();
}

std::vector<std::string> cdcMismatches(const CdcTable &actual, const ExpectedCdc &expected)
{
    std::vector<std::string> found;
    for (int c = 0; c < CdcTable::kColumns; ++c) {
        for (int n = 0; n < CdcTable::kRows; ++n) {
            if (int(actual(c, n)) != expected[c][n]) {
                std::ostringstream line;
                line << "CDC configuration " << c << " byte " << n << ": expected "
                     << expected[c][n] << ", got " << int(actual(c, n));
                found.push_back(line.str());
            }
        }
    }
    return found;
}

std::vector<std::string> intNvmMismatches(const IntNvmTable &actual, const ExpectedIntNvm &expected)
{
    std::vector<std::string> found;
    for (int i = 0; i < IntNvmTable::kSize; ++i) {
        if (int(actual[i]) != expected[i]) {
            std::ostringstream line;
            line << "IntNvm byte " << i << ": expected " << expected[i] << ", got "
                 << int(actual[i]);
            found.push_back(line.str());
        }
    }
    return found;
}

} // namespace

TEST(FactoryDefaultImage, EveryConfigurationAndSettingsByteMatchesTheFactoryTables)
{
    for (int fill : {0x00, 0xFF}) {
        SCOPED_TRACE("image pre-filled with " + std::to_string(fill));
        const ExpectedIntNvmBuilder nvm = expectedIntNvm(fill);
        ASSERT_TRUE(nvm.tableFaults().empty()) << joined(nvm.tableFaults());

        ConfigDocument document;
        for (int i = 0; i < CdcTable::kSize; ++i)
            document.image.CDC.flat(i) = uint8_t(fill);
        for (int i = 0; i < IntNvmTable::kSize; ++i)
            document.image.IntNvm[i] = uint8_t(fill);

        WriteDefaultsToRam(document, false);

        const std::vector<std::string> cdc
            = cdcMismatches(document.image.CDC, expectedConfigurations(fill));
        EXPECT_TRUE(cdc.empty()) << joined(cdc);
        const std::vector<std::string> settings
            = intNvmMismatches(document.image.IntNvm, nvm.bytes());
        EXPECT_TRUE(settings.empty()) << joined(settings);
    }
}
