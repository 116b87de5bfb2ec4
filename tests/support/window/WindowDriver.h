// Drives a window the way a user would, addressing its views by name: the
// input goes through the window's own event path (as the display hands it
// over), and every call waits until the window has handled it, so tests
// never sleep.
#pragma once

#include "BPoint.h"
#include "NativeInterface.h"
#include "SupportDefs.h"

#include <functional>
#include <string>
#include <vector>

class BView;
class BWindow;

namespace stowtest {

class WindowDriver {
public:
    explicit WindowDriver(BWindow* window);

    // The program's window with this title, or null.
    static BWindow* FindWindow(const std::string& title);
    // The alert on screen (the last one shown), or null.
    static BWindow* FindAlert();
    // Waits until an alert shows (null when none does).
    static BWindow* WaitForAlert();
    // Presses the button of the alert on screen with this label.
    static bool AnswerAlert(const std::string& label);
    BWindow* Window() const { return fWindow; }

    // Input. `where` is in the view's coordinates; without it, the middle.
    bool Click(const char* view);
    bool Click(const char* view, BPoint where, int clicks = 1);
    bool MouseDown(const char* view, BPoint where);
    bool MouseUp(const char* view, BPoint where);
    bool MoveMouse(const char* view, BPoint where);
    void MoveMouseOut();
    // Bytes as the key types them ("\n", "a"); modifiers and raw key of the
    // kit (InterfaceDefs.h).
    void PressKey(const char* bytes, int32 modifiers = 0, int32 rawKey = 0);
    void Type(const std::string& text);

    // Lists, menus, status bars.
    bool SelectRow(const char* list, int32 row, bool extend = false);
    bool HoverRow(const char* list, int32 row);
    std::vector<int32> Selection(const char* list);
    // Opens the menu field and clicks the item with this label.
    bool ChooseMenuItem(const char* menuField, const char* label);
    struct StatusValues {
        float value = 0;
        float max = 0;
        std::string label, text, trailingText, trailingLabel;
    };
    StatusValues Status(const char* statusBar);

    // Reading views (under the window's lock, on the UI thread).
    bool HasView(const char* view);
    // A control's label, a string view's or text view's text, a box's
    // label, a menu field's marked item.
    std::string Text(const char* view);
    bool IsHidden(const char* view);
    bool IsEnabled(const char* view);
    // Runs `reader` with the window locked on the UI thread.
    void Read(const std::function<void(BWindow*)>& reader);

    // Waits until the window and all others are done.
    void Settle();

private:
    // The view's point in window coordinates; false when there is no such
    // visible view.
    bool Locate(const char* view, const BPoint* where, BPoint& windowPoint);
    static native::Event Event(int kind, BPoint windowPoint, int buttons, int clicks = 1);
    void PostAll(const std::vector<native::Event>& events);

    BWindow* fWindow;
};

} // namespace stowtest
