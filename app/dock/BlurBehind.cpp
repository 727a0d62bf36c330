// The panel's blur-behind backdrop, set through the window-composition
// attribute "accent policy". The records follow the system's own layout, so
// the data address is pointer-sized on x86_64.
#include "app/dock/BlurBehind.h"

#include <cstdint>

#include "app/common/DeclaredFunctions.h"

namespace {

constexpr DWORD kAccentPolicyAttribute = 19;
constexpr int32_t kAccentBlurBehind = 3;

struct AccentPolicy {
    int32_t accentState;
    int32_t accentFlags;
    int32_t gradientColor;
    int32_t animationId;
};
static_assert(sizeof(AccentPolicy) == 16, "the accent policy is four 32-bit fields");

}  // namespace

BOOL EnableBlurBehind(HWND window) {
    AccentPolicy policy = {kAccentBlurBehind, 0, 0, 0};
    CompositionAttributeData data = {kAccentPolicyAttribute, &policy, sizeof(policy)};
    return Declared::SetWindowCompositionAttribute(window, &data);
}
