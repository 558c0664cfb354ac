#include "config/ConfigFile.h"

#include "config/ConfigItemReader.h"
#include "config/NumberText.h"
#include "config/SettingsFields.h"

#include <cfloat>
#include <cmath>

namespace orvane {

namespace {

constexpr int kHeaderLines = 5;
// Found texts longer than this are cut in messages.
constexpr size_t kFoundTextLimit = 40;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A number item is a number and blanks; "5." counts as 5 as it would when
// typed. Anything else after the number makes the item a text.
std::optional<double> numberIn(std::string_view item)
{
    const ScannedNumber scanned = scanNumber(item);
    if (!scanned.found)
        return std::nullopt;
    bool pointAllowed = item.substr(0, scanned.consumed).find('.') == std::string_view::npos;
    for (char c : item.substr(scanned.consumed)) {
        if (c == '.' && pointAllowed) {
            pointAllowed = false;
            continue;
        }
        if (!isBlank(c))
            return std::nullopt;
    }
    return scanned.value;
}

std::string printable(std::string_view text)
{
    std::string out;
    for (char c : text.substr(0, kFoundTextLimit)) {
        const auto u = static_cast<unsigned char>(c);
        out += (u < 0x20 || u >= 0x7F) ? '?' : c;
    }
    if (text.size() > kFoundTextLimit)
        out += "...";
    return out;
}

std::string foundText(const ConfigItemReader::Item &item)
{
    if (!item.present)
        return "the end of the file";
    std::string_view text = item.text;
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return "nothing";
    return "\"" + printable(text) + "\"";
}

std::string nvmWhat(int i)
{
    return "IntNvm byte " + std::to_string(i);
}

std::string cdcWhat(int c, int n)
{
    return "configuration " + std::to_string(c) + " byte " + std::to_string(n);
}

std::string pointWhat(int k, int a)
{
    return "curve " + std::to_string(k) + " point " + std::to_string(a);
}

// Reads the file's items in their fixed order into the image and the header
// lines, stopping at the first item that is missing or malformed.
class ConfigReader
{
public:
    ConfigReader(ConfigImage &image, FileState &files, std::string_view text)
        : m_image(image)
        , m_files(files)
        , m_items(text)
    {}

    ConfigRead run()
    {
        if (readHeaders() && readPort() && readIntNvm() && readConfigurations() && readCurves())
            readEndMark();
        return {m_failure, m_comPortNumber};
    }

private:
    bool fail(const ConfigItemReader::Item &item, std::string expected)
    {
        m_failure = ConfigReadFailure{item.line, std::move(expected), foundText(item)};
        return false;
    }

    template<typename Describe>
    bool readText(std::string &into, Describe describe)
    {
        const ConfigItemReader::Item item = m_items.next();
        if (!item.present)
            return fail(item, describe());
        into.assign(item.text);
        return true;
    }

    template<typename Describe>
    std::optional<double> readNumber(Describe describe, ConfigItemReader::Item &item)
    {
        item = m_items.next();
        std::optional<double> value = item.present ? numberIn(item.text) : std::nullopt;
        if (!value)
            fail(item, describe());
        return value;
    }

    // Bytes round half to even like every conversion to a byte; a value
    // outside 0..255 is refused rather than wrapped.
    template<typename Describe>
    bool readByte(uint8_t &into, Describe describe)
    {
        ConfigItemReader::Item item;
        const std::optional<double> value = readNumber(describe, item);
        if (!value)
            return false;
        const double rounded = roundHalfEven(*value);
        if (rounded < 0 || rounded > 255)
            return fail(item, describe());
        into = uint8_t(rounded);
        return true;
    }

    template<typename Describe>
    bool readSingle(float &into, Describe describe)
    {
        ConfigItemReader::Item item;
        const std::optional<double> value = readNumber(describe, item);
        if (!value)
            return false;
        if (std::fabs(*value) > double(FLT_MAX))
            return fail(item, describe());
        into = float(*value);
        return true;
    }

    bool readHeaders()
    {
        for (int h = 1; h <= kHeaderLines; ++h) {
            if (!readText(m_files.FileHeaderLines[size_t(h)],
                          [h] { return "header line " + std::to_string(h); }))
                return false;
        }
        return true;
    }

    bool readPort()
    {
        return readText(m_files.ReadScratch,
                        [] { return std::string("the label before the COM port number"); })
               && readByte(m_comPortNumber,
                           [] { return std::string("a byte 0..255 for the COM port number"); });
    }

    bool readIntNvm()
    {
        for (int i = 0; i < kIntNvmBytes; ++i) {
            if (!readText(m_files.ReadScratch, [i] { return "the label before " + nvmWhat(i); })
                || !readByte(m_image.IntNvm[i], [i] { return "a byte 0..255 for " + nvmWhat(i); }))
                return false;
        }
        // Configuration 1 is the one edited after every load.
        setFieldValue(m_image.IntNvm, kCurrentConfiguration, 1);
        return true;
    }

    bool readConfiguration(int c)
    {
        std::string separator;
        if (!readText(separator,
                      [c] { return "the blank line before configuration " + std::to_string(c); }))
            return false;
        for (int n = 0; n < kConfigBytes; ++n) {
            if (!readText(m_files.ReadScratch,
                          [c, n] { return "the label before " + cdcWhat(c, n); })
                || !readByte(m_image.CDC(c, n),
                             [c, n] { return "a byte 0..255 for " + cdcWhat(c, n); }))
                return false;
        }
        return true;
    }

    bool readConfigurations()
    {
        for (int c = 1; c <= kConfigurations; ++c) {
            if (!readConfiguration(c))
                return false;
        }
        return true;
    }

    bool readCurves()
    {
        CalCurveTable &curves = m_image.CalCurve;
        for (int k = 1; k <= kCurves; ++k) {
            for (int a = 1; a <= kCurvePoints; ++a) {
                if (!readSingle(curves(k, a, 1),
                                [k, a] { return "the resistance (ohms) of " + pointWhat(k, a); })
                    || !readSingle(curves(k, a, 2),
                                   [k, a] { return "the value of " + pointWhat(k, a); }))
                    return false;
            }
        }
        return true;
    }

    // The closing "-1"; its value is not examined.
    void readEndMark()
    {
        ConfigItemReader::Item item;
        readNumber([] { return std::string("the closing line -1"); }, item);
    }

    ConfigImage &m_image;
    FileState &m_files;
    ConfigItemReader m_items;
    std::optional<ConfigReadFailure> m_failure;
    uint8_t m_comPortNumber = 0;
};

} // namespace

ConfigRead readConfigText(ConfigImage &image, FileState &files, std::string_view text)
{
    return ConfigReader(image, files, text).run();
}

ConfigRead
readConfigFile(ConfigImage &image, FileState &files, Platform &platform, const std::string &path)
{
    const std::string resolved = platform.files.resolve(files.WorkingFolder, path);
    const Result<std::string> text = platform.files.readFile(resolved);
    if (!text) {
        const std::string &why = text.error();
        return {ConfigReadFailure{0, "a configuration file", why.empty() ? "no such file" : why}};
    }
    return readConfigText(image, files, *text);
}

} // namespace orvane
