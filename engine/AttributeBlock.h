// The stored attribute block of a skinned control: format version, page
// word, then the engine's values in index order. Plain values are 32-bit
// words; embedded skins, images and item lists are (marker, length, bytes).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

enum class ControlKind { WindowEx, PictureBox, Toolbar, Listbox, IcoListbox };

constexpr int32_t kAttributeFormatVersion = 12;
constexpr int32_t kMarkerSkin = -1;
constexpr int32_t kMarkerImage = -2;
constexpr int32_t kMarkerListItems = -3;

// Engine attribute indexes shared by the controls.
namespace AttrIndex {
constexpr int kVisible = 0;
constexpr int kSkin = 1;
constexpr int kOpacity = 2;       // WindowEx
constexpr int kImage = 2;         // PictureBoxEx
constexpr int kDrawMode = 3;      // PictureBoxEx: 0 centred, 1 stretched
constexpr int kButtonHeight = 2;  // ToolbarEx
constexpr int kItemHeight = 2;    // ListboxEx
constexpr int kIconSize = 2;      // IcoListboxEx
constexpr int kCellWidth = 3;     // IcoListboxEx
constexpr int kCellHeight = 4;    // IcoListboxEx
constexpr int kSelected = 8;      // ListboxEx, IcoListboxEx
constexpr int kStoredItems = 9;   // ListboxEx
}  // namespace AttrIndex

struct AttributeValue {
    bool isBlock = false;
    int32_t word = 0;            // plain value, or the block's marker
    std::vector<uint8_t> bytes;  // block contents (empty = none)
};

struct AttributeSet {
    int32_t pageWord = 0;
    bool fromStore = false;  // false: the stored block was missing or malformed
    std::vector<AttributeValue> values;

    int32_t Word(int index, int32_t fallback = 0) const {
        return index >= 0 && index < int(values.size()) && !values[index].isBlock
                   ? values[index].word
                   : fallback;
    }
    const std::vector<uint8_t>* Block(int index) const {
        if (index < 0 || index >= int(values.size()) || !values[index].isBlock) return nullptr;
        return values[index].bytes.empty() ? nullptr : &values[index].bytes;
    }
};

int AttributeCount(ControlKind kind);
bool IsBlockIndex(ControlKind kind, int index);
int32_t BlockMarker(ControlKind kind, int index);

// The look a control gets when its stored block cannot be read.
AttributeSet DefaultAttributes(ControlKind kind);

// Reads at most `size` bytes. Any inconsistency (wrong version, a length
// running past the end) yields the defaults with fromStore false.
AttributeSet ParseAttributeBlock(ControlKind kind, const uint8_t* data, size_t size);

// The value area as stored: plain words as they are now, blocks as stored.
std::vector<uint8_t> SerialiseValues(const AttributeSet& set);
