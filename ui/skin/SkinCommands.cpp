// The skin library's commands: each takes the program's argument
// records, resolves control arguments to engine controls and forwards to the
// engine export of the same name. A command whose export is missing, or whose
// control has no engine control, does nothing and answers 0.
#include "ui/skin/SkinCommands.h"

#include "runtime/library/Commands.h"
#include "ui/skin/SkinControls.h"
#include "ui/skin/SkinEngineLoader.h"

namespace {

// Argument i, or an omitted (zero) record when the caller passed fewer.
class Arguments {
  public:
    Arguments(int32_t count, const ArgumentRecord* records) : count_(count), records_(records) {}
    ArgumentRecord At(int32_t i) const {
        return (records_ && i >= 0 && i < count_) ? records_[i] : ArgumentRecord{};
    }
    int32_t Int(int32_t i) const { return At(i).AsInt(); }
    void* Pointer(int32_t i) const { return At(i).AsPointer(); }
    EngineControl Control(int32_t i) const {
        ArgumentRecord r = At(i);
        return EngineControlOfComponent(r.WindowId(), r.ComponentId());
    }

  private:
    int32_t count_;
    const ArgumentRecord* records_;
};

// The data block of an insert: the title, the text marker, then six values.
void* CreateInsertData(const Arguments& a, int32_t title, int32_t first, int32_t valueCount) {
    int32_t v[6] = {};
    for (int32_t i = 0; i < valueCount; ++i) v[i] = a.Int(first + i);
    return SkinEngine().createBinEx(static_cast<const char*>(a.Pointer(title)), kBinTextMarker,
                                    v[0], v[1], v[2], v[3], v[4], v[5]);
}

void LoadImageExCommand(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    auto load = SkinEngine().loadImageEx;
    if (!load) return;
    Arguments a(argCount, args);
    SetResultInt(result, load(a.Pointer(0), a.Int(1), a.Int(2), a.Int(3), a.Int(4), a.Int(5),
                              a.Int(6), a.Int(7)));
}

void DestroyImageExCommand(ResultRecord*, int32_t argCount, ArgumentRecord* args) {
    if (auto destroy = SkinEngine().destroyImageEx) destroy(Arguments(argCount, args).Int(0));
}

void ControlUpdateCacheCommand(ResultRecord* result, int32_t, ArgumentRecord*) {
    if (auto update = SkinEngine().controlUpdateCache) SetResultInt(result, update());
}

// toolbar, position, two values, title, six values.
void InsertButtonToolbarExCommand(ResultRecord*, int32_t argCount, ArgumentRecord* args) {
    const SkinEngineEntries& engine = SkinEngine();
    if (!engine.createBinEx || !engine.insertButtonToolbarEx) return;
    Arguments a(argCount, args);
    EngineControl toolbar = a.Control(0);
    if (!toolbar) return;
    void* data = CreateInsertData(a, 4, 5, 6);
    engine.insertButtonToolbarEx(toolbar, a.Int(1), a.Int(2), a.Int(3), data);
}

void GetButtonCountToolbarExCommand(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    auto count = SkinEngine().getButtonCountToolbarEx;
    if (!count) return;
    EngineControl toolbar = Arguments(argCount, args).Control(0);
    if (toolbar) SetResultInt(result, count(toolbar));
}

void SetButtonSelectedToolbarExCommand(ResultRecord*, int32_t argCount, ArgumentRecord* args) {
    auto select = SkinEngine().setButtonSelectedToolbarEx;
    if (!select) return;
    Arguments a(argCount, args);
    EngineControl toolbar = a.Control(0);
    if (toolbar) select(toolbar, a.Int(1), a.Int(2));
}

// icon list, position, two values, image handle, title, one value.
void InsertItemIcoListboxExCommand(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    const SkinEngineEntries& engine = SkinEngine();
    if (!engine.createBinEx || !engine.insertItemIcoListboxEx) return;
    Arguments a(argCount, args);
    EngineControl list = a.Control(0);
    if (!list) return;
    void* data = CreateInsertData(a, 5, 6, 1);
    SetResultInt(result,
                 engine.insertItemIcoListboxEx(list, a.Int(1), a.Int(2), a.Int(3), a.Int(4), data));
}

void DeleteItemIcoListboxExCommand(ResultRecord*, int32_t argCount, ArgumentRecord* args) {
    auto remove = SkinEngine().deleteItemIcoListboxEx;
    if (!remove) return;
    Arguments a(argCount, args);
    EngineControl list = a.Control(0);
    if (list) remove(list, a.Int(1), a.Int(2));
}

// toolbar, button index (-1: every button).
void DeleteButtonToolbarExCommand(ResultRecord*, int32_t argCount, ArgumentRecord* args) {
    auto remove = SkinEngine().deleteButtonToolbarEx;
    if (!remove) return;
    Arguments a(argCount, args);
    EngineControl toolbar = a.Control(0);
    if (toolbar) remove(toolbar, a.Int(1));
}

}  // namespace

const CommandFn kSkinCommands[static_cast<int>(SkinCommand::Count)] = {
    LoadImageExCommand,
    DestroyImageExCommand,
    ControlUpdateCacheCommand,
    InsertButtonToolbarExCommand,
    GetButtonCountToolbarExCommand,
    SetButtonSelectedToolbarExCommand,
    InsertItemIcoListboxExCommand,
    DeleteItemIcoListboxExCommand,
    DeleteButtonToolbarExCommand,
};
