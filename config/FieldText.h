#pragma once

#include "config/ConfigImage.h"
#include "config/SettingsFields.h"

#include <string>

// How the value of a settings field reads, one small function per kind, for
// every window and report that shows one.

namespace orvane {

// As a report line shows it: "100.0", "200.0 hours", "5:1", "07:30",
// "24-07-04"; a coded field as it is stored.
std::string fieldText(const SettingsField &field, const IntNvmTable &nvm);

// What the field stores: a 16-bit value as one number, else its bits of
// each byte ("0 32").
std::string storedText(const SettingsField &field, const IntNvmTable &nvm);

// As an input box offers it back to be typed again: one leading blank, at
// most `decimals` decimals and none the value does not need (" 120.5",
// " 6500").
std::string answerText(const SettingsField &field, const IntNvmTable &nvm, int decimals);

} // namespace orvane
