// The items a list box carries in its stored attributes: picture, text,
// height and text colour of each row.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct StoredListItem {
    std::vector<uint8_t> picture;  // PNG bytes, empty = no picture
    std::u16string text;
    int32_t height = 0;
    uint32_t textColour = 0xFF000000;  // 0xFF000000 = the skin's text colour
};

constexpr uint32_t kDefaultTextColour = 0xFF000000;

// nullopt when the list is malformed anywhere (no partial lists).
std::optional<std::vector<StoredListItem>> ParseStoredListItems(const uint8_t* data, size_t size);
