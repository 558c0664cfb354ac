#include "transfer/UnitCopies.h"

#include "config/ConfigFile.h"
#include "config/FileState.h"
#include "config/SettingsFields.h"
#include "link/Connection.h"
#include "transfer/RawCopy.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <set>

namespace orvane {

namespace {

constexpr const char *kUnitsFolder = "units";
constexpr std::string_view kConfigExtension = ".CFG";
constexpr std::string_view kRawExtension = ".RAW";

std::string formatted(const char *pattern, const LocalDateTime &t)
{
    char text[32];
    std::snprintf(text, sizeof text, pattern, t.year, t.month, t.day, t.hour, t.minute, t.second);
    return text;
}

std::string takenText(const LocalDateTime &t)
{
    return formatted("%04d-%02d-%02d %02d:%02d:%02d", t);
}

// The count a copy's name starts with ("000012_2026-..."); 0 for a name
// without one ("2026-07-04_140509", kept before the count began).
long long sequenceOf(const std::string &stem)
{
    const size_t underscore = stem.find('_');
    long long value = 0;
    const char *end = stem.data() + std::min(underscore, stem.size());
    const auto [stop, error] = std::from_chars(stem.data(), end, value);
    return error == std::errc() && stop == end && underscore != std::string::npos ? value : 0;
}

std::string newStem(long long sequence, const LocalDateTime &taken)
{
    char count[24];
    std::snprintf(count, sizeof count, "%06lld_", sequence);
    return count + formatted("%04d-%02d-%02d_%02d%02d%02d", taken);
}

// The copies in a unit's folder by name without extension, oldest first:
// by their count, and by name where they have none.
std::vector<std::string> copyStems(const std::vector<std::string> &names)
{
    std::set<std::string> stems;
    for (const std::string &name : names)
        for (const std::string_view extension : {kConfigExtension, kRawExtension})
            if (name.size() > extension.size() && name.ends_with(extension))
                stems.insert(name.substr(0, name.size() - extension.size()));
    std::vector<std::string> ordered(stems.begin(), stems.end());
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto &a, const auto &b) {
        return sequenceOf(a) < sequenceOf(b);
    });
    return ordered;
}

std::vector<std::string> fileNames(FileSystem &files, const std::string &folder)
{
    return files.folderEntries(folder, FileSystem::EntryKind::Files);
}

// One copy as the history lists it; its raw file, when readable, says when
// it was taken and what the upload after it changed.
UnitCopy copyOf(FileSystem &files,
                const std::string &folder,
                const std::string &serial,
                const std::string &stem,
                const std::vector<std::string> &names)
{
    const auto has = [&names](const std::string &name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    UnitCopy copy{serial, stem, {}, {}, {}};
    const std::string config = stem + std::string(kConfigExtension);
    const std::string raw = stem + std::string(kRawExtension);
    if (has(config))
        copy.configFile = files.resolve(folder, config);
    if (has(raw)) {
        copy.rawFile = files.resolve(folder, raw);
        if (const Result<std::string> text = files.readFile(copy.rawFile); text.ok())
            if (const Result<RawCopy> read = readRawCopyText(*text); read.ok()) {
                copy.taken = read->taken;
                copy.changes = read->changes;
            }
    }
    return copy;
}

void removeCopy(FileSystem &files, const std::string &folder, const std::string &stem)
{
    // A copy that will not go stays; the new one is kept all the same.
    (void)files.removeFile(files.resolve(folder, stem + std::string(kConfigExtension)));
    (void)files.removeFile(files.resolve(folder, stem + std::string(kRawExtension)));
}

Result<std::string> readText(FileSystem &files, const std::string &path)
{
    Result<std::string> text = files.readFile(path);
    if (!text)
        return failure(path + " cannot be read: " + text.error());
    return text;
}

// What the editor's own readers make of a copy just written: the raw file
// must give back the bytes read, the configuration file the image written
// (apart from the configuration being edited, which every read sets to 1).
Result<> readsBack(FileSystem &files,
                   const UnitCopy &copy,
                   const InstrumentSnapshot &held,
                   ConfigImage written)
{
    const Result<std::string> rawText = readText(files, copy.rawFile);
    if (!rawText)
        return failure(rawText.error());
    const Result<RawCopy> raw = readRawCopyText(*rawText);
    if (!raw)
        return failure(copy.rawFile + ": " + raw.error());
    if (!(raw->snapshot == held))
        return failure(copy.rawFile + " does not give back the bytes that were read.");

    const Result<std::string> configText = readText(files, copy.configFile);
    if (!configText)
        return failure(configText.error());
    // Entries the file does not carry keep what was written.
    ConfigImage image = written;
    FileState state;
    if (const ConfigRead read = readConfigText(image, state, *configText); read.failure)
        return failure(copy.configFile + ", line " + std::to_string(read.failure->line)
                       + ": expected " + read.failure->expected + ", found " + read.failure->found
                       + ".");
    // Every read of a configuration file makes configuration 1 the one edited.
    setFieldValue(written.IntNvm, kCurrentConfiguration, 1);
    if (!(image.IntNvm == written.IntNvm) || !(image.CDC == written.CDC))
        return failure(copy.configFile + " does not give back the settings that were saved.");
    return {};
}

Failure notSaved(const std::string &serial, const std::string &where, const std::string &why)
{
    return failure("The copy of unit " + serial + " could not be saved in " + where + " (" + why
                   + ").");
}

} // namespace

std::string unitCopiesFolder(FileSystem &files)
{
    return files.resolve(files.userDataFolder(), kUnitsFolder);
}

std::string unitSerialText(const InstrumentSnapshot &snapshot)
{
    std::array<int, 4> bytes{};
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = snapshot.settings[size_t(kSerialNumber.address) + i];
    return std::to_string(serialNumberFromBytes(bytes));
}

bool carriesSerialNumber(const InstrumentSnapshot &snapshot)
{
    const auto serial = snapshot.settings.begin() + kSerialNumber.address;
    const auto blank = [serial](uint8_t b) {
        return std::all_of(serial, serial + kSerialNumber.width, [b](uint8_t s) { return s == b; });
    };
    return !blank(0) && !blank(0xFF);
}

Result<UnitCopy> saveUnitCopy(FileSystem &files,
                              const InstrumentSnapshot &held,
                              const std::string &changes,
                              const LocalDateTime &taken,
                              uint8_t comPortNumber)
{
    const std::string serial = unitSerialText(held);
    const std::string folder = files.resolve(unitCopiesFolder(files), serial);
    if (const Result<> made = files.makeFolders(folder); !made)
        return notSaved(serial, folder, made.error());

    std::vector<std::string> stems = copyStems(fileNames(files, folder));
    const long long last = stems.empty() ? 0 : sequenceOf(stems.back());
    const std::string stem = newStem(last + 1, taken);
    UnitCopy copy{serial,
                  takenText(taken),
                  changes,
                  files.resolve(folder, stem + std::string(kConfigExtension)),
                  files.resolve(folder, stem + std::string(kRawExtension))};
    ConfigImage image = imageFromSnapshot(held);
    const std::string config = configFileText(image, FileState{}, comPortNumber, taken);
    const std::string raw = rawCopyText({serial, copy.taken, changes, held});
    if (const Result<> written = files.writeFileAtomically(copy.rawFile, raw); !written)
        return notSaved(serial, copy.rawFile, written.error());
    if (const Result<> written = files.writeFileAtomically(copy.configFile, config); !written) {
        // Half a copy would look whole in the unit's history.
        (void)files.removeFile(copy.rawFile);
        return notSaved(serial, copy.configFile, written.error());
    }
    if (const Result<> back = readsBack(files, copy, held, image); !back) {
        removeCopy(files, folder, stem);
        return failure("The copy of unit " + serial + " was saved in " + folder
                       + " but does not read back: " + back.error());
    }

    // The new copy counts above every other, so the oldest go first; it is
    // never among them.
    for (size_t k = 0; k + kKeptCopiesPerUnit <= stems.size(); ++k)
        removeCopy(files, folder, stems[k]);
    return copy;
}

std::string copyNotKeptMessage(const std::string &failure)
{
    return failure
           + " Nothing was written to the Orvane. Make room on the disk or check the folder's "
             "permissions, then try again.";
}

std::vector<UnitHistory> listUnitHistory(FileSystem &files)
{
    const std::string units = unitCopiesFolder(files);
    std::vector<UnitHistory> history;
    for (const std::string &serial : files.folderEntries(units, FileSystem::EntryKind::Folders)) {
        const std::string folder = files.resolve(units, serial);
        const std::vector<std::string> names = fileNames(files, folder);
        UnitHistory unit{serial, {}};
        std::vector<std::string> stems = copyStems(names);
        for (auto stem = stems.rbegin(); stem != stems.rend(); ++stem)
            unit.copies.push_back(copyOf(files, folder, serial, *stem, names));
        if (!unit.copies.empty())
            history.push_back(unit);
    }
    return history;
}

Result<UnitCopy> unitCopyAt(FileSystem &files, const std::string &path)
{
    const size_t slash = path.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const bool named = name.ends_with(kConfigExtension) || name.ends_with(kRawExtension);
    if (!named || name.size() <= kRawExtension.size())
        return failure(path + " is not a copy of a unit: its name must end in .CFG or .RAW.");
    const std::vector<std::string> names = fileNames(files, folder);
    if (std::find(names.begin(), names.end(), name) == names.end())
        return failure(path + " cannot be found.");
    const size_t parent = folder.find_last_of("/\\");
    const std::string serial = parent == std::string::npos ? folder : folder.substr(parent + 1);
    return copyOf(files, folder, serial, name.substr(0, name.size() - kRawExtension.size()), names);
}

Result<InstrumentSnapshot> unitCopyBytes(FileSystem &files, const UnitCopy &copy)
{
    const auto cannot = [&copy](const std::string &why) {
        return failure("The copy of unit " + copy.serial + " taken " + copy.taken
                       + " cannot restore the unit exactly: " + why
                       + " Open the copy and upload it instead: that gives the unit the settings "
                         "its configuration file holds.");
    };
    if (copy.rawFile.empty())
        return cannot("its raw copy (.RAW) is missing.");
    const Result<std::string> text = readText(files, copy.rawFile);
    if (!text)
        return cannot(text.error() + ".");
    const Result<RawCopy> raw = readRawCopyText(*text);
    if (!raw)
        return cannot(copy.rawFile + ": " + raw.error());
    if (!raw->snapshot.hasConfigurations || !raw->snapshot.hasCurves)
        return cannot(copy.rawFile + " does not hold every configuration and curve record.");
    return raw->snapshot;
}

} // namespace orvane
