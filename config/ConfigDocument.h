#pragma once

#include "config/ConfigImage.h"
#include "config/SettingsFields.h"

#include <cstdint>

namespace orvane {

// The configuration image and whether it changed since the working file last
// took it. Editors write through the setters, so that none forgets to tell
// the exit question that something is unsaved; writing the value already held
// changes nothing and marks nothing.
struct ConfigDocument
{
    ConfigImage image;
    // Every change to the image sets this; saving to the working file clears it.
    bool changed = false;

    void setCdc(int config, int byteNumber, uint8_t value)
    {
        set(image.CDC(config, byteNumber), value);
    }
    // 16-bit values are stored high byte first.
    void setCdcWord(int config, int byteNumber, uint16_t value)
    {
        setCdc(config, byteNumber, uint8_t(value >> 8));
        setCdc(config, byteNumber + 1, uint8_t(value & 0xFF));
    }
    void setIntNvm(int index, uint8_t value) { set(image.IntNvm[index], value); }
    void setIntNvmWord(int index, uint16_t value)
    {
        setIntNvm(index, uint8_t(value >> 8));
        setIntNvm(index + 1, uint8_t(value & 0xFF));
    }
    // Only the field's bits change; its bytes are written high first.
    void setField(const SettingsField &field, unsigned value)
    {
        IntNvmTable written = image.IntNvm;
        setFieldValue(written, field, value);
        for (int i = field.address; i < field.end(); ++i)
            setIntNvm(i, written[i]);
    }
    void setCurvePoint(int curve, int point, int column, float value)
    {
        set(image.CalCurve(curve, point, column), value);
    }

private:
    template<typename T>
    void set(T &stored, T value)
    {
        if (stored != value) {
            stored = value;
            changed = true;
        }
    }
};

} // namespace orvane
