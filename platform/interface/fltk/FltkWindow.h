// A top-level window of the module: a double-buffered FLTK window that hands
// its drawing and its events to the kit's sink.
#pragma once

#include "FltkPainter.h"
#include "NativeInterface.h"

#include <FL/Fl_Double_Window.H>

namespace fltk_module {

class FltkDisplay;

class FltkWindow final : public Fl_Double_Window, public native::Window {
public:
    FltkWindow(FltkDisplay& display, native::Sink* sink, const native::WindowLayout& layout);
    ~FltkWindow() override;

    void SetTitle(const char* title) override;
    void SetFrame(const native::Rect& frame) override;
    void Show() override;
    void Hide() override;
    void Activate() override;
    void Invalidate(const native::Rect& area) override;
    void Destroy() override;

    // The screen's layout changed; the kit is told.
    void ScreenChanged();

    void draw() override;
    int handle(int event) override;
    void resize(int x, int y, int width, int height) override;

private:
    static void CloseCallback(Fl_Widget* widget, void* data);
    void Deliver(const native::Event& event);
    void TakeFocus();

    FltkDisplay& fDisplay;
    native::Sink* fSink;
    int fKind;
    bool fAvoidFocus;
    bool fResizable;
    bool fApplyingFrame = false;
    FltkPainter fPainter;
};

} // namespace fltk_module
