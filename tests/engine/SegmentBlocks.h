// Finds each skinned control's attribute block in the stored UI
// description, walking the segment's window and element records.
#pragma once
#include <cstdint>
#include <map>

// ComponentId -> pointer to the control's attribute block inside the segment.
std::map<uint32_t, const uint8_t*> ControlAttributeBlocks(const uint8_t* segment, uint32_t size);
