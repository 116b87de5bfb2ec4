#include "FltkEvents.h"

#include <FL/Enumerations.H>
#include <FL/Fl.H>

#include <cstring>

namespace fltk_module {

namespace {

// The kit's values (InterfaceDefs.h); the module does not include the kit.
enum : int {
    kShift = 0x1,
    kCommand = 0x2,
    kControl = 0x4,
    kCapsLock = 0x8,
    kNumLock = 0x20,
    kOption = 0x40,
    kLeftShift = 0x100,
    kLeftCommand = 0x400,
    kLeftControl = 0x2000,
    kLeftOption = 0x4000,
};

struct SpecialKey {
    int keysym;
    char byte;
    int rawKey;
};

// Keys that type a control byte in the kit, and the raw key numbers the kit
// gives the function keys and Escape.
constexpr SpecialKey kSpecialKeys[] = {
    {FL_Enter, 10, 0x47},
    {FL_KP_Enter, 10, 0x5b},
    {FL_Tab, 9, 0x26},
    {FL_Escape, 27, 0x01},
    {FL_BackSpace, 8, 0x1e},
    {FL_Delete, 127, 0x34},
    {FL_Insert, 5, 0x1f},
    {FL_Home, 1, 0x20},
    {FL_End, 4, 0x35},
    {FL_Page_Up, 11, 0x21},
    {FL_Page_Down, 12, 0x36},
    {FL_Left, 28, 0x61},
    {FL_Right, 29, 0x63},
    {FL_Up, 30, 0x57},
    {FL_Down, 31, 0x62},
};

constexpr char kFunctionKeyByte = 16;

int Modifiers()
{
    int state = Fl::event_state();
    int modifiers = 0;
    if (state & FL_SHIFT)
        modifiers |= kShift | kLeftShift;
    // Ctrl is the command key here, as Linux programs use it for shortcuts.
    if (state & FL_CTRL)
        modifiers |= kCommand | kLeftCommand | kControl | kLeftControl;
    if (state & FL_ALT)
        modifiers |= kOption | kLeftOption;
    if (state & FL_CAPS_LOCK)
        modifiers |= kCapsLock;
    if (state & FL_NUM_LOCK)
        modifiers |= kNumLock;
    return modifiers;
}

int Buttons(int state)
{
    int buttons = 0;
    if (state & FL_BUTTON1)
        buttons |= 1;
    if (state & FL_BUTTON3)
        buttons |= 2;
    if (state & FL_BUTTON2)
        buttons |= 4;
    return buttons;
}

int ButtonBit(int flButton)
{
    switch (flButton) {
    case FL_LEFT_MOUSE:
        return 1;
    case FL_RIGHT_MOUSE:
        return 2;
    case FL_MIDDLE_MOUSE:
        return 4;
    default:
        return 0;
    }
}

void TakePointer(native::Event& event)
{
    event.x = Fl::event_x();
    event.y = Fl::event_y();
    event.rootX = Fl::event_x_root();
    event.rootY = Fl::event_y_root();
    event.modifiers = Modifiers();
    event.buttons = Buttons(Fl::event_buttons());
}

void TakeKey(native::Event& event)
{
    event.modifiers = Modifiers();
    int keysym = Fl::event_key();
    for (const SpecialKey& special : kSpecialKeys) {
        if (special.keysym == keysym) {
            event.bytes[0] = special.byte;
            event.key = special.rawKey;
            return;
        }
    }
    if (keysym >= FL_F + 1 && keysym <= FL_F + 12) {
        event.bytes[0] = kFunctionKeyByte;
        event.key = keysym - FL_F + 1; // F1 is raw key 2
        return;
    }
    // With Ctrl a letter types a control character; shortcuts want the
    // letter itself.
    if ((Fl::event_state() & FL_CTRL) && keysym >= 0x20 && keysym < 0x7f) {
        event.bytes[0] = char(keysym);
        return;
    }
    const char* text = Fl::event_text();
    int length = Fl::event_length();
    if (text != nullptr && length > 0 && length < int(sizeof(event.bytes)))
        memcpy(event.bytes, text, size_t(length));
}

} // namespace

bool TranslateEvent(int flEvent, native::Event& event)
{
    switch (flEvent) {
    case FL_PUSH:
        event.kind = native::kMouseDown;
        TakePointer(event);
        event.buttons |= ButtonBit(Fl::event_button());
        event.clicks = Fl::event_clicks() + 1;
        return true;
    case FL_RELEASE:
        event.kind = native::kMouseUp;
        TakePointer(event);
        event.buttons &= ~ButtonBit(Fl::event_button());
        return true;
    case FL_MOVE:
    case FL_DRAG:
    case FL_ENTER:
        event.kind = native::kMouseMoved;
        TakePointer(event);
        return true;
    case FL_LEAVE:
        event.kind = native::kMouseLeft;
        TakePointer(event);
        return true;
    case FL_MOUSEWHEEL:
        event.kind = native::kWheel;
        TakePointer(event);
        event.wheelX = float(Fl::event_dx());
        event.wheelY = float(Fl::event_dy());
        return true;
    case FL_KEYDOWN:
    case FL_SHORTCUT:
        event.kind = native::kKeyDown;
        TakeKey(event);
        return true;
    case FL_KEYUP:
        event.kind = native::kKeyUp;
        TakeKey(event);
        return true;
    case FL_FOCUS:
        event.kind = native::kFocusIn;
        return true;
    case FL_UNFOCUS:
        event.kind = native::kFocusOut;
        return true;
    default:
        return false;
    }
}

} // namespace fltk_module
