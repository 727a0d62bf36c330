// The stored UI description: both windows, their elements, menu, event
// bindings and the skinned controls' attribute blocks with their skins and
// images. Generated at build time from windows.py and images/ by
// build_description.py; the runtime reads it through the program image header.
#pragma once
#include <cstdint>

extern const uint8_t kUiSegment[];
extern const uint32_t kUiSegmentSize;
