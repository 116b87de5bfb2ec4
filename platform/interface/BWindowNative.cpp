// The window's native side: the UI thread creates, moves, shows and redraws
// the native window from the state the window keeps, and draws the view
// tree when the display asks.
#include "BWindow.h"

#include "MainLoop.h"
#include "UiDisplay.h"
#include "UiScale.h"
#include "WindowLink.h"

#include <cmath>

namespace {

int Device(float points, float scale)
{
    return int(std::lround(points * scale));
}

native::Rect DeviceFrame(BRect frame, float scale)
{
    return native::Rect {Device(frame.left, scale), Device(frame.top, scale),
        Device(frame.Width() + 1, scale), Device(frame.Height() + 1, scale)};
}

native::Rect DeviceArea(BRect area, float scale)
{
    int left = int(std::floor(area.left * scale)), top = int(std::floor(area.top * scale));
    int right = int(std::ceil((area.right + 1) * scale));
    int bottom = int(std::ceil((area.bottom + 1) * scale));
    return native::Rect {left, top, right - left, bottom - top};
}

} // namespace

void BWindow::SyncNative()
{
    if (fNative == nullptr) {
        // A window not shown yet may still be being built on another thread:
        // it is left alone (its areas to redraw stay few, since they merge).
        if (IsHidden() || !UiDisplay::IsConnected())
            return;
        CreateNative();
    }
    if (fChanges & kChangedKind) {
        DestroyNative();
        CreateNative();
    }
    float scale = ui_scale();
    uint32 changes = fChanges;
    fChanges = 0;
    if (changes & kChangedFrame)
        fNative->SetFrame(DeviceFrame(fFrame, scale));
    if (changes & kChangedTitle)
        fNative->SetTitle(fTitle.c_str());
    if (changes & (kChangedVisibility | kChangedKind)) {
        if (IsHidden())
            fNative->Hide();
        else
            fNative->Show();
    }
    if ((changes & kChangedActivation) && !IsHidden())
        fNative->Activate();
    if (fRedrawAll.exchange(false))
        fInvalid.assign(1, Bounds());
    if (fUpdatesDisabled == 0) {
        for (const BRect& area : fInvalid)
            fNative->Invalidate(DeviceArea(area, scale));
        fInvalid.clear();
    }
}

void BWindow::CreateNative()
{
    native::Display* display = UiDisplay::Native();
    if (display == nullptr)
        return;
    bool titled = fLook == B_TITLED_WINDOW_LOOK || fLook == B_DOCUMENT_WINDOW_LOOK
        || fLook == B_MODAL_WINDOW_LOOK || fLook == B_FLOATING_WINDOW_LOOK;
    native::WindowLayout layout;
    layout.title = fTitle.c_str();
    layout.frame = DeviceFrame(fFrame, ui_scale());
    layout.bordered = titled;
    layout.resizable = !(fFlags & B_NOT_RESIZABLE)
        && (fFlags & (B_NOT_H_RESIZABLE | B_NOT_V_RESIZABLE))
            != (B_NOT_H_RESIZABLE | B_NOT_V_RESIZABLE);
    layout.avoidFocus = (fFlags & B_AVOID_FOCUS) != 0;
    if (fNativeKind >= 0)
        layout.kind = fNativeKind;
    else if (!titled && layout.avoidFocus)
        layout.kind = native::kTipWindow;
    else if (IsModal())
        layout.kind = native::kModalWindow;
    else if (IsFloating())
        layout.kind = native::kFloatingWindow;
    fLink = std::make_unique<WindowLink>(this);
    fNative = display->CreateWindow(fLink.get(), layout);
    fChanges |= kChangedVisibility;
}

void BWindow::DestroyNative()
{
    if (fNative == nullptr)
        return;
    fNative->Destroy();
    fNative = nullptr;
    fLink.reset();
}

// A window another thread holds locked keeps its last picture for now and
// is drawn again at a later turn.
void BWindow::DrawNative(native::Painter& painter, const native::Rect& area)
{
    if (LockWithTimeout(0) != B_OK) {
        fRedrawAll = true;
        MainLoop::Get().Wake();
        return;
    }
    float scale = ui_scale();
    BRect clip(std::floor(float(area.x) / scale), std::floor(float(area.y) / scale),
        std::ceil(float(area.x + area.w) / scale) - 1,
        std::ceil(float(area.y + area.h) / scale) - 1);
    fTopView->DrawTree(painter, scale, clip);
    DrawDecorations(painter, scale);
    Unlock();
}

// A bordered window without a title bar gets a thin dark frame; a tracked
// rectangle is drawn over the views as a dotted outline.
void BWindow::DrawDecorations(native::Painter& painter, float scale)
{
    if (fLook == B_BORDERED_WINDOW_LOOK) {
        native::Rect frame = DeviceFrame(Bounds(), scale);
        int line = std::max(1, Device(1, scale));
        painter.SetColor(96, 96, 96, 255);
        painter.FillRect(0, 0, frame.w, line);
        painter.FillRect(0, frame.h - line, frame.w, line);
        painter.FillRect(0, 0, line, frame.h);
        painter.FillRect(frame.w - line, 0, line, frame.h);
    }
    if (fTracking && fTrackingRect.IsValid()) {
        native::Rect rect = DeviceArea(fTrackingRect, scale);
        float xy[8] = {float(rect.x), float(rect.y), float(rect.x + rect.w - 1), float(rect.y),
            float(rect.x + rect.w - 1), float(rect.y + rect.h - 1), float(rect.x),
            float(rect.y + rect.h - 1)};
        painter.SetColor(0, 0, 0, 160);
        painter.StrokePolygon(xy, 4, true, scale);
    }
}
