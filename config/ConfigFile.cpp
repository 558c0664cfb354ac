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

void addHeader(std::string &out, const AppState &state, const LocalDateTime &created)
{
    addLine(out, "Orvane Display Configuration File - Do NOT make any changes!");
    addLine(out, state.files.VersionText);
    addLine(out, creationLine(created));
    addLine(out, "*");
    addLine(out, "*");
    addLine(out, "COMport=," + fileNumber(state.link.ComPortNumber));
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

std::string configFileText(AppState &state, const LocalDateTime &created)
{
    storeCheckBytes(state.document.image);
    std::string out;
    out.reserve(kExpectedSize);
    addHeader(out, state, created);
    addIntNvm(out, state.document.image.IntNvm);
    addConfigurations(out, state.document.image.CDC);
    addCurves(out, state.document.image.CalCurve);
    addLine(out, "-1");
    return out;
}

std::string configFilePath(const AppState &state, Platform &platform)
{
    return platform.files.resolve(state.files.WorkingFolder, state.files.ConfigFileName);
}

Result<> SaveConfigsFile(AppState &state, Platform &platform)
{
    Result<> result = saveConfigsFileAs(state, platform, state.files.ConfigFileName);
    // The working file now holds what memory holds.
    if (result.ok())
        state.document.changed = false;
    return result;
}

Result<> saveConfigsFileAs(AppState &state, Platform &platform, const std::string &path)
{
    const std::string text = configFileText(state, platform.clock.localDateTime());
    const std::string resolved = platform.files.resolve(state.files.WorkingFolder, path);
    return platform.files.writeFileAtomically(resolved, text);
}

} // namespace orvane
