// Reads the stored UI description segment into window definitions. Every read
// is bounds-checked against the part of the segment that the enclosing length
// allows, so truncated or inconsistent data is refused as a whole and never
// read past.
#include <cstring>
#include "runtime/windows/UiDescription.h"

namespace {

constexpr uint32_t kTypeWindow = 0x00010001;
constexpr uint32_t kTypeMenuEntry = 0x00010003;
constexpr uint32_t kRecordReservedHead = 20;
constexpr uint32_t kRecordReservedTail = 20;
constexpr uint32_t kMenuReservedTail = 16;
// Bytes per routine in the handler table (kHandlerOffsetUnit of the runtime).
constexpr int32_t kHandlerSlotBytes = 4;

// A bounded view of the segment. A failed read sets `ok` to false and every
// later read fails too, so callers check once at the end of a record.
class ByteReader {
  public:
    ByteReader(const uint8_t* data, uint32_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }
    uint32_t position() const { return pos_; }
    uint32_t remaining() const { return ok_ ? size_ - pos_ : 0; }
    bool AtEnd() const { return ok_ && pos_ == size_; }

    uint32_t U32() {
        if (!Need(4)) return 0;
        uint32_t v = uint32_t(data_[pos_]) | uint32_t(data_[pos_ + 1]) << 8 |
                     uint32_t(data_[pos_ + 2]) << 16 | uint32_t(data_[pos_ + 3]) << 24;
        pos_ += 4;
        return v;
    }
    int32_t I32() { return static_cast<int32_t>(U32()); }

    void Skip(uint32_t count) {
        if (Need(count)) pos_ += count;
    }

    // count bytes as a sub-reader; the parent moves past them.
    ByteReader Sub(uint32_t count) {
        if (!Need(count)) return ByteReader(nullptr, 0, false);
        ByteReader sub(data_ + pos_, count);
        pos_ += count;
        return sub;
    }

    // A NUL-terminated text; the terminator must lie inside the view.
    std::string CString() {
        if (!ok_) return {};
        const void* nul = std::memchr(data_ + pos_, 0, size_ - pos_);
        if (!nul) {
            ok_ = false;
            return {};
        }
        uint32_t length = static_cast<uint32_t>(static_cast<const uint8_t*>(nul) - (data_ + pos_));
        std::string text(reinterpret_cast<const char*>(data_ + pos_), length);
        pos_ += length + 1;
        return text;
    }

    // A 32-bit length followed by that many bytes.
    std::string LengthText() {
        uint32_t length = U32();
        if (!Need(length)) return {};
        std::string text(reinterpret_cast<const char*>(data_ + pos_), length);
        pos_ += length;
        return text;
    }
    std::vector<uint8_t> LengthBytes() {
        uint32_t length = U32();
        return Bytes(length);
    }
    std::vector<uint8_t> Bytes(uint32_t count) {
        if (!Need(count)) return {};
        std::vector<uint8_t> bytes(data_ + pos_, data_ + pos_ + count);
        pos_ += count;
        return bytes;
    }
    std::vector<uint8_t> Rest() { return Bytes(remaining()); }

  private:
    ByteReader(const uint8_t* data, uint32_t size, bool ok) : data_(data), size_(size), ok_(ok) {}
    bool Need(uint32_t count) {
        if (!ok_ || count > size_ - pos_) {
            ok_ = false;
            return false;
        }
        return true;
    }

    const uint8_t* data_;
    uint32_t size_;
    uint32_t pos_ = 0;
    bool ok_ = true;
};

bool ReadEventList(ByteReader& in, std::vector<EventBinding>* events) {
    uint32_t count = in.U32();
    // Each binding takes 8 bytes: a count that cannot fit is inconsistent
    // (and must not size an allocation).
    if (!in.ok() || count > in.remaining() / 8) return false;
    events->reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        EventBinding binding;
        binding.event = in.I32();
        binding.offset = in.I32();
        events->push_back(binding);
    }
    return in.ok();
}

bool ReadMenuEntry(ByteReader& in, ElementDefinition* element) {
    in.Skip(kRecordReservedHead);
    element->name = in.CString();
    element->comment = in.CString();
    element->menu.hotKey = in.U32();
    element->menu.level = in.I32();
    element->menu.flags = in.U32();
    element->menu.text = in.CString();
    EventBinding click;
    click.event = 0;
    click.offset = in.I32();
    element->events.push_back(click);
    in.Skip(kMenuReservedTail);
    element->isMenuEntry = true;
    element->flags = (element->menu.flags & kMenuHidden) ? 0 : kElementShown;
    if (element->menu.flags & kMenuDisabled) element->flags |= kElementDisabled;
    return in.ok();
}

bool ReadControlRecord(ByteReader& in, ElementDefinition* element) {
    in.Skip(kRecordReservedHead);
    element->name = in.CString();
    element->comment = in.CString();
    in.Skip(4);
    element->left = in.I32();
    element->top = in.I32();
    element->width = in.I32();
    element->height = in.I32();
    in.Skip(4);
    element->parent = in.U32();
    uint32_t childCount = in.U32();
    if (!in.ok() || childCount > in.remaining() / 4) return false;
    for (uint32_t i = 0; i < childCount; ++i) element->children.push_back(in.U32());
    element->cursor = in.LengthBytes();
    element->tag = in.CString();
    in.Skip(4);
    element->flags = in.U32();
    in.Skip(4);
    if (!ReadEventList(in, &element->events)) return false;
    in.Skip(kRecordReservedTail);
    element->attributes = in.Rest();
    return in.ok();
}

// The window-options record inside the window element's attribute data.
// Returns false when the record is malformed; *loadable becomes false for a
// version this reader does not know (the rest of the segment stays valid).
bool ReadWindowOptions(const std::vector<uint8_t>& attributes, WindowOptions* options,
                       bool* loadable) {
    ByteReader in(attributes.data(), static_cast<uint32_t>(attributes.size()));
    in.Skip(kAttributeReservedBytes);
    options->version = in.U32();
    if (!in.ok()) return false;
    if (options->version > kWindowOptionsMaxVersion) {
        *loadable = false;
        return true;
    }
    options->border = in.I32();
    options->option2 = in.I32();
    options->backgroundColour = in.U32();
    options->maximiseBox = in.U32() != 0;
    options->minimiseBox = in.U32() != 0;
    options->controlBox = in.U32() != 0;
    options->startPosition = in.I32();
    options->closeEntryKept = in.U32() != 0;
    for (int32_t& word : options->options5) word = in.I32();
    if (options->version >= 2) options->taskbarButton = in.U32() != 0;
    if (options->version >= 3) {
        for (int32_t& word : options->options3) word = in.I32();
    }
    if (options->version >= 4) options->alwaysOnTop = in.U32() != 0;
    if (options->version >= 5) options->option5 = in.I32();
    if (options->version >= 6) options->className = in.LengthText();
    return in.ok();
}

bool ReadWindowBlock(ByteReader& in, WindowDefinition* window) {
    in.Skip(4);
    window->handlerModule = in.U32();
    window->name = in.LengthText();
    window->comment = in.LengthText();
    uint32_t count = in.U32();
    uint32_t tableSize = in.U32();
    if (!in.ok()) return false;
    ByteReader table = in.Sub(tableSize);
    // Two arrays of `count` words must fit into the table.
    if (!in.ok() || count > table.remaining() / 8) return false;
    std::vector<uint32_t> ids(count), offsets(count);
    for (uint32_t& id : ids) id = table.U32();
    for (uint32_t& offset : offsets) offset = table.U32();
    uint32_t recordsSize = table.remaining();
    ByteReader records = table.Sub(recordsSize);
    if (!records.ok()) return false;

    window->elements.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
        if (offsets[i] > recordsSize) return false;
        ByteReader at(nullptr, 0);
        {
            ByteReader whole = records;  // a copy positioned at the records' start
            whole.Skip(offsets[i]);
            uint32_t length = whole.U32();
            at = whole.Sub(length);
            if (!whole.ok()) return false;
        }
        ElementDefinition& element = window->elements[i];
        element.componentId = ids[i];
        element.typeId = at.U32();
        if (!at.ok()) return false;
        bool read = element.typeId == kTypeMenuEntry ? ReadMenuEntry(at, &element)
                                                     : ReadControlRecord(at, &element);
        if (!read) return false;
    }
    if (count == 0 || window->elements[0].typeId != kTypeWindow) return false;
    return ReadWindowOptions(window->elements[0].attributes, &window->options, &window->loadable);
}

}  // namespace

const uint8_t* ElementDefinition::AttributeBlock() const {
    return attributes.size() > kAttributeReservedBytes ? attributes.data() + kAttributeReservedBytes
                                                       : nullptr;
}

uint32_t ElementDefinition::AttributeBlockSize() const {
    return attributes.size() > kAttributeReservedBytes
               ? static_cast<uint32_t>(attributes.size() - kAttributeReservedBytes)
               : 0;
}

BoundHandler ElementDefinition::HandlerFor(int32_t event) const {
    for (const EventBinding& binding : events) {
        if (isMenuEntry || binding.event == event) return binding.handler;
    }
    return nullptr;
}

bool ReadUiDescription(const uint8_t* data, uint32_t size, UiDescription* out) {
    out->windows.clear();
    if (!data) return false;
    ByteReader in(data, size);
    uint32_t tableSize = in.U32();
    if (!in.ok() || tableSize % 8 != 0 || tableSize / 8 > in.remaining() / 8) return false;
    uint32_t count = tableSize / 8;
    UiDescription result;
    result.windows.resize(count);
    for (WindowDefinition& window : result.windows) window.windowId = in.U32();
    in.Skip(4 * count);
    for (WindowDefinition& window : result.windows) {
        if (!ReadWindowBlock(in, &window)) return false;
    }
    if (!in.ok()) return false;
    out->windows = std::move(result.windows);
    return true;
}

void BindUiHandlers(UiDescription* description, const BoundHandler* codeBase, int32_t slotCount) {
    for (WindowDefinition& window : description->windows) {
        for (ElementDefinition& element : window.elements) {
            for (EventBinding& binding : element.events) {
                binding.handler = nullptr;
                // Only whole, non-negative slot offsets name a routine.
                if (!codeBase || binding.offset < 0 || binding.offset % kHandlerSlotBytes != 0)
                    continue;
                int32_t slot = binding.offset / kHandlerSlotBytes;
                if (slotCount >= 0 && slot >= slotCount) continue;
                binding.handler = codeBase[slot];
            }
        }
    }
}

WindowDefinition* FindWindowDefinition(UiDescription* description, uint32_t windowId) {
    for (WindowDefinition& window : description->windows) {
        if (window.windowId == windowId) return &window;
    }
    return nullptr;
}

ElementDefinition* FindElement(WindowDefinition* window, uint32_t componentId) {
    if (!window || window->elements.empty()) return nullptr;
    if (componentId == 0) return &window->elements[0];
    for (ElementDefinition& element : window->elements) {
        if (element.componentId == componentId) return &element;
    }
    return nullptr;
}

const ElementDefinition* FindElement(const WindowDefinition* window, uint32_t componentId) {
    return FindElement(const_cast<WindowDefinition*>(window), componentId);
}
