#include "config/ConfigFile.h"

#include "config/NumberText.h"

#include <cfloat>
#include <cmath>
#include <cstdio>

namespace orvane {

namespace {

constexpr const char *kLineEnd = "\r\n";

// Roughly 20 characters a line; one allocation for the whole file.
constexpr size_t kExpectedSize = 80 * 1024;

void addLine(std::string &out, std::string_view line)
{
    out += line;
    out += kLineEnd;
}

// Infinity or NaN would give a text the reader refuses, and with it a working
// file that loses everything at the next start; write the nearest number.
float writableSingle(float value)
{
    if (std::isnan(value))
        return 0.0f;
    if (std::isinf(value))
        return value > 0 ? FLT_MAX : -FLT_MAX;
    return value;
}

std::string singleFileText(float value)
{
    return singleText(writableSingle(value)) + " ";
}

// mm-dd-yyyy and hh:mm:ss whatever the locale, so the header never holds a
// comma that would shift every item after it.
std::string creationLine(const LocalDateTime &t)
{
    char text[96];
    std::snprintf(text,
                  sizeof text,
                  "Date created: %02d-%02d-%04d.  Time created: %02d:%02d:%02d",
                  t.month % 100,
                  t.day % 100,
                  t.year % 10000,
                  t.hour % 100,
                  t.minute % 100,
                  t.second % 100);
    return text;
}

void addHeader(std::string &out,
               const FileState &files,
               uint8_t comPortNumber,
               const LocalDateTime &created)
{
    addLine(out, "Orvane Display Configuration File - Do NOT make any changes!");
    addLine(out, files.VersionText);
    addLine(out, creationLine(created));
    addLine(out, "*");
    addLine(out, "*");
    addLine(out, "COMport=," + fileNumber(comPortNumber));
}

void addIntNvm(std::string &out, const IntNvmTable &nvm)
{
    for (int i = 0; i < kIntNvmBytes; ++i)
        addLine(out, fileNumber(i) + "," + fileNumber(nvm[i]));
}

void addConfigurations(std::string &out, const CdcTable &cdc)
{
    for (int c = 1; c <= kConfigurations; ++c) {
        addLine(out, " ");
        for (int n = 0; n < kConfigBytes; ++n)
            addLine(out,
                    "CDC(" + fileNumber(c) + "-" + fileNumber(n) + "), " + fileNumber(cdc(c, n)));
    }
}

void addCurves(std::string &out, const CalCurveTable &curves)
{
    for (int k = 1; k <= kCurves; ++k) {
        for (int a = 1; a <= kCurvePoints; ++a)
            addLine(out, singleFileText(curves(k, a, 1)) + "," + singleFileText(curves(k, a, 2)));
    }
}

} // namespace

void storeCheckBytes(ConfigImage &image)
{
    image.IntNvm[0] = image.IntNvm.checkByte();
    for (int c = 1; c <= kConfigurations; ++c)
        image.CDC(c, 0) = image.CDC.checkByte(c);
}

std::string configFileText(ConfigImage &image,
                           const FileState &files,
                           uint8_t comPortNumber,
                           const LocalDateTime &created)
{
    storeCheckBytes(image);
    std::string out;
    out.reserve(kExpectedSize);
    addHeader(out, files, comPortNumber, created);
    addIntNvm(out, image.IntNvm);
    addConfigurations(out, image.CDC);
    addCurves(out, image.CalCurve);
    addLine(out, "-1");
    return out;
}

std::string configFilePath(const FileState &files, Platform &platform)
{
    return platform.files.resolve(files.WorkingFolder, files.ConfigFileName);
}

Result<> SaveConfigsFile(ConfigDocument &document,
                         const FileState &files,
                         uint8_t comPortNumber,
                         Platform &platform)
{
    Result<> result
        = saveConfigsFileAs(document.image, files, comPortNumber, platform, files.ConfigFileName);
    // The working file now holds what memory holds.
    if (result.ok())
        document.changed = false;
    return result;
}

Result<> saveConfigsFileAs(ConfigImage &image,
                           const FileState &files,
                           uint8_t comPortNumber,
                           Platform &platform,
                           const std::string &path)
{
    const std::string text
        = configFileText(image, files, comPortNumber, platform.clock.localDateTime());
    const std::string resolved = platform.files.resolve(files.WorkingFolder, path);
    return platform.files.writeFileAtomically(resolved, text);
}

} // namespace orvane
