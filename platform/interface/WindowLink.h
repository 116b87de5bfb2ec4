// What a window gives its native window: drawing and input go back to it.
#pragma once

#include "NativeInterface.h"

class BWindow;

class WindowLink final : public native::Sink {
public:
    explicit WindowLink(BWindow* window);

    void Draw(native::Painter& painter, const native::Rect& area) override;
    void HandleEvent(const native::Event& event) override;

private:
    BWindow* fWindow;
};
