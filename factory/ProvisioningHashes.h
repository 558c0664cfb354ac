#pragma once

#include "platform/ProductionRegister.h"
#include "platform/Result.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

// What a unit's production record names as made with: the SHA-256 of each
// data file and code module that "Make NEW Tessaro" sends.

namespace orvane {

// The three data files, then the ten code modules in the order they are
// stored: the order of the record's list.
std::vector<std::string> provisioningFileNames();

// Each file's bytes as read from the working folder, by name.
using FileBytesByName = std::map<std::string, std::string, std::less<>>;

// The hashes of every file of provisioningFileNames(), from the bytes
// already read, so a file that changes on disk afterwards cannot make the
// record disagree with what was sent. A file missing from `read` is named.
Result<std::vector<FileHash>> provisioningFileHashes(const FileBytesByName &read);

} // namespace orvane
