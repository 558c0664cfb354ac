#pragma once

#include "app/AppState.h"

#include <cstdint>

// Writes into the configuration image that also mark it as changed, so the
// editors never forget to tell the exit question that something is unsaved.
// A write of the value already held changes nothing and marks nothing.

namespace orvane::image_writes {

inline void setCdc(AppState &state, int config, int byteNumber, uint8_t value)
{
    uint8_t &stored = state.image.CDC(config, byteNumber);
    if (stored != value) {
        stored = value;
        state.editor.imageChanged = true;
    }
}

inline void setCdcWord(AppState &state, int config, int byteNumber, uint16_t value)
{
    setCdc(state, config, byteNumber, uint8_t(value >> 8));
    setCdc(state, config, byteNumber + 1, uint8_t(value & 0xFF));
}

inline void setIntNvm(AppState &state, int index, uint8_t value)
{
    uint8_t &stored = state.image.IntNvm[index];
    if (stored != value) {
        stored = value;
        state.editor.imageChanged = true;
    }
}

inline void setIntNvmWord(AppState &state, int index, uint16_t value)
{
    setIntNvm(state, index, uint8_t(value >> 8));
    setIntNvm(state, index + 1, uint8_t(value & 0xFF));
}

} // namespace orvane::image_writes
