// The UI description reader on arbitrary segments: it must refuse or accept
// a segment as a whole, never read past it, and bind only handler slots that
// exist, with the program's own number of slots, as the program binds.
#include <vector>

#include "fuzz/FuzzInput.h"
#include "runtime/windows/UiDescription.h"
#include "ui/description/HandlerSlots.h"

namespace {
constexpr int32_t kSlots = kHandlerSlotCount;
const BoundHandler kCodeBase[kSlots] = {};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    UiDescription description;
    const bool read =
        ReadUiDescription(bytes.data(), static_cast<uint32_t>(bytes.size()), &description);
    if (!read) {
        FUZZ_CHECK(description.windows.empty());
        return 0;
    }
    BindUiHandlers(&description, kCodeBase, kSlots);
    for (WindowDefinition& window : description.windows) {
        FUZZ_CHECK(!window.elements.empty());
        FUZZ_CHECK(FindWindowDefinition(&description, window.windowId) != nullptr);
        FUZZ_CHECK(FindElement(&window, 0) == &window.elements[0]);
        for (const ElementDefinition& element : window.elements) {
            FUZZ_CHECK(FindElement(&window, element.componentId) != nullptr);
            if (const uint8_t* block = element.AttributeBlock()) {
                FUZZ_CHECK(block + element.AttributeBlockSize() ==
                           element.attributes.data() + element.attributes.size());
            }
            for (const EventBinding& binding : element.events) {
                FUZZ_CHECK(binding.handler == nullptr);  // every slot of the table is empty
                (void)element.HandlerFor(binding.event);
            }
        }
    }
    return 0;
}
