#include "transfer/UnitCopies.h"

#include "config/ConfigFile.h"
#include "config/FileState.h"
#include "link/Connection.h"
#include "transfer/RawCopy.h"

#include <algorithm>
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

// File names sort by the time they carry.
std::string stampOf(const LocalDateTime &t)
{
    return formatted("%04d-%02d-%02d_%02d%02d%02d", t);
}

std::string takenText(const LocalDateTime &t)
{
    return formatted("%04d-%02d-%02d %02d:%02d:%02d", t);
}

// The copies in a unit's folder by name without extension, oldest first.
std::vector<std::string> copyStems(FileSystem &files, const std::string &folder)
{
    std::set<std::string> stems;
    for (const std::string &name : files.folderEntries(folder, FileSystem::EntryKind::Files))
        for (const std::string_view extension : {kConfigExtension, kRawExtension})
            if (name.size() > extension.size() && name.ends_with(extension))
                stems.insert(name.substr(0, name.size() - extension.size()));
    return {stems.begin(), stems.end()};
}

void removeCopy(FileSystem &files, const std::string &folder, const std::string &stem)
{
    // A copy that will not go stays; the new one is saved all the same.
    (void)files.removeFile(files.resolve(folder, stem + std::string(kConfigExtension)));
    (void)files.removeFile(files.resolve(folder, stem + std::string(kRawExtension)));
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
        bytes[i] = snapshot.settings[kSerialNumberAddress + i];
    return std::to_string(serialNumberFromBytes(bytes));
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

    // Two copies within one second must not share a name.
    const std::vector<std::string> existing = copyStems(files, folder);
    std::string stem = stampOf(taken);
    for (int k = 2; std::find(existing.begin(), existing.end(), stem) != existing.end(); ++k)
        stem = stampOf(taken) + "_" + std::to_string(k);

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

    const std::vector<std::string> stems = copyStems(files, folder);
    for (size_t k = 0; k + kKeptCopiesPerUnit < stems.size(); ++k)
        removeCopy(files, folder, stems[k]);
    return copy;
}

std::vector<UnitHistory> listUnitHistory(FileSystem &files)
{
    const std::string units = unitCopiesFolder(files);
    std::vector<UnitHistory> history;
    for (const std::string &serial : files.folderEntries(units, FileSystem::EntryKind::Folders)) {
        const std::string folder = files.resolve(units, serial);
        const std::vector<std::string> names
            = files.folderEntries(folder, FileSystem::EntryKind::Files);
        const auto has = [&names](const std::string &name) {
            return std::find(names.begin(), names.end(), name) != names.end();
        };
        UnitHistory unit{serial, {}};
        std::vector<std::string> stems = copyStems(files, folder);
        std::reverse(stems.begin(), stems.end());
        for (const std::string &stem : stems) {
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
            unit.copies.push_back(copy);
        }
        if (!unit.copies.empty())
            history.push_back(unit);
    }
    return history;
}

} // namespace orvane
