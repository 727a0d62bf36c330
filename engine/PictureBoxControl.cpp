#include "engine/PictureBoxControl.h"

#include <algorithm>

namespace {
// A box this thin with no picture is a separator line.
constexpr int kLineMaxThickness = 2;
}  // namespace

PictureBoxControl::PictureBoxControl(const EngineCreationContext& context,
                                     EngineEventCallback callback, AttributeSet attributes)
    : Control(ControlKind::PictureBox, context, callback, std::move(attributes)) {
    if (const std::vector<uint8_t>* image = attributes_.Block(AttrIndex::kImage))
        picture_ = DecodePicture(image->data(), image->size());
}

bool PictureBoxControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // Pictures are decoration: clicks go to the window beneath (the dock
    // button's face must not swallow the button's own click).
    if (message == WM_NCHITTEST) {
        result = HTTRANSPARENT;
        return true;
    }
    return Control::OnMessage(message, wParam, lParam, result);
}

void PictureBoxControl::Paint(Canvas& canvas) {
    PaintBackground(canvas);
    Surface& s = canvas.Pixels();
    if (!picture_ || picture_->Empty()) {
        if (!picture_ && (s.height <= kLineMaxThickness || s.width <= kLineMaxThickness))
            FillRect(s, 0, 0, s.width, s.height, theme_.accent);
        return;
    }
    if (attributes_.Word(AttrIndex::kDrawMode) == 1) {
        const PixelImage* frame = picture_->FrameFor(std::max(s.width, s.height));
        if (frame)
            DrawImage(s, *frame, PixelRect{0, 0, frame->width, frame->height},
                      PixelRect{0, 0, s.width, s.height});
        return;
    }
    const PixelImage* frame = picture_->FrameFor(std::min(s.width, s.height));
    if (!frame) return;
    // Centred at its own size; shrunk (never enlarged) when it does not fit.
    const PixelImage* shown =
        frame->width <= s.width && frame->height <= s.height
            ? frame
            : picture_->Fitted(std::min(frame->width, s.width), std::min(frame->height, s.height));
    if (!shown) return;
    DrawImage(s, *shown, PixelRect{0, 0, shown->width, shown->height},
              PixelRect{(s.width - shown->width) / 2, (s.height - shown->height) / 2, shown->width,
                        shown->height});
}
