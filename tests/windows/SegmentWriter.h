// A small writer of UI description segments for tests: windows with their
// elements, bindings, menus and options records in the stored layout.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace segment {

class Bytes {
  public:
    void U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) data.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void Zeros(size_t n) { data.insert(data.end(), n, 0); }
    void CString(const std::string& s) {
        data.insert(data.end(), s.begin(), s.end());
        data.push_back(0);
    }
    void LengthText(const std::string& s) {
        U32(static_cast<uint32_t>(s.size()));
        data.insert(data.end(), s.begin(), s.end());
    }
    void Append(const std::vector<uint8_t>& b) { data.insert(data.end(), b.begin(), b.end()); }
    std::vector<uint8_t> data;
};

struct Options {
    uint32_t version = 6;
    int32_t border = 2;
    uint32_t background = 0xFF000000u;
    bool maximise = false, minimise = true, controlBox = true;
    int32_t startPosition = 0;
    bool taskbarButton = true;
    bool alwaysOnTop = false;
    std::string className;
};

struct Element {
    uint32_t id = 0;
    uint32_t type = 0;
    std::string name;
    int32_t left = 0, top = 0, width = 0, height = 0;
    uint32_t flags = 1;
    std::string tag;
    std::vector<std::pair<int32_t, int32_t>> events;  // event, handler offset
    std::vector<uint8_t> attributeBlock;              // after the 20 reserved bytes
    // Menu entries.
    bool menu = false;
    int32_t level = 0;
    uint32_t hotKey = 0;
    uint32_t menuFlags = 0;
    std::string text;
    int32_t clickOffset = -1;
};

struct Window {
    uint32_t id = 0;
    std::string name;
    Options options;
    std::vector<Element> elements;  // [0] the window's own element
};

inline std::vector<uint8_t> OptionsRecord(const Options& o) {
    Bytes b;
    b.Zeros(20);
    b.U32(o.version);
    b.I32(o.border);
    b.I32(0);
    b.U32(o.background);
    b.U32(o.maximise);
    b.U32(o.minimise);
    b.U32(o.controlBox);
    b.I32(o.startPosition);
    b.U32(1);
    for (int i = 0; i < 5; ++i) b.I32(0);
    if (o.version >= 2) b.U32(o.taskbarButton);
    if (o.version >= 3) b.Zeros(8);
    if (o.version >= 4) b.U32(o.alwaysOnTop);
    if (o.version >= 5) b.I32(0);
    if (o.version >= 6) b.LengthText(o.className);
    return b.data;
}

inline std::vector<uint8_t> Record(const Element& e, const std::vector<uint8_t>& attributeData) {
    Bytes b;
    b.U32(e.type);
    b.Zeros(20);
    b.CString(e.name);
    b.CString("");
    if (e.menu) {
        b.U32(e.hotKey);
        b.I32(e.level);
        b.U32(e.menuFlags);
        b.CString(e.text);
        b.I32(e.clickOffset);
        b.Zeros(16);
        return b.data;
    }
    b.U32(0);
    b.I32(e.left);
    b.I32(e.top);
    b.I32(e.width);
    b.I32(e.height);
    b.U32(0);
    b.U32(0);  // parent: the window
    b.U32(0);  // no children
    b.U32(4);  // default cursor
    b.Zeros(4);
    b.CString(e.tag);
    b.U32(0);
    b.U32(e.flags);
    b.U32(0);
    b.U32(static_cast<uint32_t>(e.events.size()));
    for (auto& ev : e.events) {
        b.I32(ev.first);
        b.I32(ev.second);
    }
    b.Zeros(20);
    b.Append(attributeData);
    return b.data;
}

inline std::vector<uint8_t> WindowBlock(const Window& w) {
    std::vector<std::vector<uint8_t>> records;
    for (size_t i = 0; i < w.elements.size(); ++i) {
        const Element& e = w.elements[i];
        std::vector<uint8_t> attributes;
        if (i == 0) {
            attributes = OptionsRecord(w.options);
        } else if (!e.menu && !e.attributeBlock.empty()) {
            attributes.assign(20, 0);
            attributes.insert(attributes.end(), e.attributeBlock.begin(), e.attributeBlock.end());
        }
        records.push_back(Record(e, attributes));
    }
    Bytes table;
    for (auto& e : w.elements) table.U32(e.id);
    uint32_t offset = 0;
    for (auto& r : records) {
        table.U32(offset);
        offset += 4 + static_cast<uint32_t>(r.size());
    }
    for (auto& r : records) {
        table.U32(static_cast<uint32_t>(r.size()));
        table.Append(r);
    }
    Bytes b;
    b.U32(0);
    b.U32(0x19000000u | (w.id & 0xFFFF));
    b.LengthText(w.name);
    b.LengthText("");
    b.U32(static_cast<uint32_t>(w.elements.size()));
    b.U32(static_cast<uint32_t>(table.data.size()));
    b.Append(table.data);
    return b.data;
}

inline std::vector<uint8_t> Segment(const std::vector<Window>& windows) {
    Bytes b;
    b.U32(static_cast<uint32_t>(8 * windows.size()));
    for (auto& w : windows) b.U32(w.id);
    for (size_t i = 0; i < windows.size(); ++i) b.U32(0);
    for (auto& w : windows) b.Append(WindowBlock(w));
    return b.data;
}

}  // namespace segment
