// The window definitions held in memory: what the reader makes of the stored
// UI description segment, and what window loading, event delivery and the
// property door work from. The reader is plain byte parsing (no Win32 calls)
// and refuses any truncated or inconsistent segment as a whole.
//
// Stored layout (all numbers little-endian 32-bit unless said otherwise):
//   segment:  table size (8 x windows), WindowId per window, reserved word per
//             window, then one window block per window in table order.
//   window:   reserved, handler-module id, name (length + bytes), comment
//             (length + bytes), element count n, element table size (bytes to
//             the end of the block), n ComponentIds, n record offsets (from
//             the end of the offset array), then the records, each a byte
//             length followed by the record.
//   window or control record: type id, 20 reserved, name (NUL-terminated),
//             comment (NUL), reserved, left, top, width, height, reserved,
//             parent, child count + children, cursor (length + bytes), tag
//             (NUL), reserved, flags, reserved, event count + (event, handler
//             offset) pairs, 20 reserved, then the type attribute data up to
//             the end of the record.
//   type attribute data: 20 reserved bytes, then for a window the options
//             record, for a skinned control the attribute block handed to the
//             type's create operation (format version 12, page word, ...).
//   menu entry record: type id 0x00010003, 20 reserved, name (NUL), comment
//             (NUL), hot key, level, flags, text (NUL), click handler offset,
//             16 reserved.
//   window options record: version (at most 6), border, option word,
//             background colour, maximise box, minimise box, control box,
//             start position, close entry kept, five option words, taskbar
//             button (version 2+), two option words (3+), always on top (4+),
//             one option word (5+), class name as length + bytes (6).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct HandlerResult;
// Same signature as EventHandler (runtime/Runtime.h), declared here so that
// the reader does not depend on Win32 headers.
using BoundHandler = HandlerResult (*)(const int32_t* args, int32_t argCount);

constexpr int32_t kNoHandlerOffset = -1;
constexpr uint32_t kAttributeReservedBytes = 20;
constexpr uint32_t kWindowOptionsMaxVersion = 6;
constexpr uint32_t kBackgroundSystemDefault = 0xFF000000u;

// High byte of a ComponentId: which kind of element it names.
constexpr uint32_t kElementKindWindow = 0x06;
constexpr uint32_t kElementKindControl = 0x16;
constexpr uint32_t kElementKindMenu = 0x26;
inline uint32_t ElementKind(uint32_t componentId) {
    return componentId >> 24;
}

// Element flags.
constexpr uint32_t kElementShown = 1u << 0;
constexpr uint32_t kElementDisabled = 1u << 1;
// Menu entry flags.
constexpr uint32_t kMenuHidden = 1u << 0;
constexpr uint32_t kMenuDisabled = 1u << 1;
constexpr uint32_t kMenuChecked = 1u << 2;

struct EventBinding {
    int32_t event = 0;
    int32_t offset = kNoHandlerOffset;  // as stored, relative to the code base
    BoundHandler handler = nullptr;     // null: nothing bound
};

struct WindowOptions {
    uint32_t version = 0;
    int32_t border = 0;  // 0 none, 2 fixed single; other values: sizable frame
    int32_t option2 = 0;
    uint32_t backgroundColour = kBackgroundSystemDefault;
    bool maximiseBox = false;
    bool minimiseBox = false;
    bool controlBox = false;
    int32_t startPosition = 0;  // 1: centred on the screen
    bool closeEntryKept = true;
    int32_t options5[5] = {};
    bool taskbarButton = true;  // version 2+
    int32_t options3[2] = {};   // version 3+
    bool alwaysOnTop = false;   // version 4+
    int32_t option5 = 0;        // version 5+
    std::string className;      // version 6; empty: the runtime's own class
};

struct MenuEntry {
    // 0: none; else low byte the virtual key, next byte the modifiers
    // (1 Shift, 2 Ctrl, 4 Alt).
    uint32_t hotKey = 0;
    int32_t level = 0;
    uint32_t flags = 0;
    std::string text;
};

// One element of a window: the window's own element, a control or a menu
// entry. Geometry words may be written by a worker thread (the panel's slide)
// and are therefore only ever stored whole.
struct ElementDefinition {
    uint32_t componentId = 0;
    uint32_t typeId = 0;
    std::string name;
    std::string comment;
    int32_t left = 0, top = 0, width = 0, height = 0;
    uint32_t parent = 0;  // 0: the window itself
    std::vector<uint32_t> children;
    std::vector<uint8_t> cursor;  // 4 zero bytes (or none): default cursor
    std::string tag;
    uint32_t flags = 0;
    std::vector<EventBinding> events;  // menu entries: one, the click handler
    std::vector<uint8_t> attributes;   // type attribute data as stored
    bool isMenuEntry = false;
    MenuEntry menu;

    bool Shown() const { return (flags & kElementShown) != 0; }
    bool Disabled() const { return (flags & kElementDisabled) != 0; }
    // The attribute block after the 20 reserved bytes (null when absent).
    const uint8_t* AttributeBlock() const;
    uint32_t AttributeBlockSize() const;
    // The handler bound to `event` (menu entries: their click handler for any
    // event), null when none.
    BoundHandler HandlerFor(int32_t event) const;
};

struct WindowDefinition {
    uint32_t windowId = 0;
    uint32_t handlerModule = 0;
    std::string name;
    std::string comment;
    std::vector<ElementDefinition> elements;  // creation order; [0] the window's own
    WindowOptions options;
    // False when the options record cannot be read (a version above 6): the
    // rest of the segment stays usable, only this window is not created.
    bool loadable = true;
};

struct UiDescription {
    std::vector<WindowDefinition> windows;
};

// Reads a whole segment. Returns false (and leaves *out empty) on any
// truncated or inconsistent input; never reads outside [data, data + size).
bool ReadUiDescription(const uint8_t* data, uint32_t size, UiDescription* out);

// Binds every stored handler offset: -1 stays unbound, any other offset
// names entry offset / 4 of the handler table at codeBase. With a known
// table size (slotCount >= 0) an offset outside the table stays unbound
// rather than binding an address past the table.
void BindUiHandlers(UiDescription* description, const BoundHandler* codeBase, int32_t slotCount);

// Lookups (null when absent).
WindowDefinition* FindWindowDefinition(UiDescription* description, uint32_t windowId);
ElementDefinition* FindElement(WindowDefinition* window, uint32_t componentId);
const ElementDefinition* FindElement(const WindowDefinition* window, uint32_t componentId);

// The process's definitions, read once at initialisation.
UiDescription& RuntimeUiDescription();
WindowDefinition* FindWindowDefinition(uint32_t windowId);
