#pragma once
// One stored theme value.
#include <windows.h>
#include <cstdint>
#include <memory>
#include <string>

struct CSkinProperty {
    int type = 0;        // skin::PropertyType
    int propertyId = 0;  // TMT_ id
    // int, bool, colour, enum: [0]; rect: left, top, right, bottom; position: x, y.
    int32_t value[4] = {0, 0, 0, 0};
    std::string text;                  // string values (upper-cased)
    std::unique_ptr<LOGFONTA> font;    // font values

    RECT AsRect() const { return RECT{value[0], value[1], value[2], value[3]}; }
    POINT AsPoint() const { return POINT{value[0], value[1]}; }
};
