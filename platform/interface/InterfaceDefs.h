// Constants of the interface kit: keys and modifiers, mouse buttons and
// transits, view and window flags, resizing modes, looks and feels,
// alignment, and the system colours.
#pragma once

#include "GraphicsDefs.h"
#include "SupportDefs.h"

// Bytes that keys type.
enum : uint8 {
    B_BACKSPACE = 0x08,
    B_RETURN = 0x0a,
    B_ENTER = 0x0a,
    B_SPACE = 0x20,
    B_TAB = 0x09,
    B_ESCAPE = 0x1b,
    B_LEFT_ARROW = 0x1c,
    B_RIGHT_ARROW = 0x1d,
    B_UP_ARROW = 0x1e,
    B_DOWN_ARROW = 0x1f,
    B_INSERT = 0x05,
    B_DELETE = 0x7f,
    B_HOME = 0x01,
    B_END = 0x04,
    B_PAGE_UP = 0x0b,
    B_PAGE_DOWN = 0x0c,
    B_FUNCTION_KEY = 0x10,
};

// Raw key numbers of the function keys (the "key" field of B_KEY_DOWN).
enum : int32 {
    B_ESCAPE_KEY = 0x01,
    B_F1_KEY = 0x02,
    B_F2_KEY,
    B_F3_KEY,
    B_F4_KEY,
    B_F5_KEY,
    B_F6_KEY,
    B_F7_KEY,
    B_F8_KEY,
    B_F9_KEY,
    B_F10_KEY,
    B_F11_KEY,
    B_F12_KEY,
};

// Ctrl is the command key on this desktop.
enum : uint32 {
    B_SHIFT_KEY = 0x00000001,
    B_COMMAND_KEY = 0x00000002,
    B_CONTROL_KEY = 0x00000004,
    B_CAPS_LOCK = 0x00000008,
    B_SCROLL_LOCK = 0x00000010,
    B_NUM_LOCK = 0x00000020,
    B_OPTION_KEY = 0x00000040,
    B_MENU_KEY = 0x00000080,
    B_LEFT_SHIFT_KEY = 0x00000100,
    B_RIGHT_SHIFT_KEY = 0x00000200,
    B_LEFT_COMMAND_KEY = 0x00000400,
    B_RIGHT_COMMAND_KEY = 0x00000800,
    B_LEFT_CONTROL_KEY = 0x00002000,
    B_RIGHT_CONTROL_KEY = 0x00004000,
    B_LEFT_OPTION_KEY = 0x00008000,
    B_RIGHT_OPTION_KEY = 0x00010000,
};

enum : int32 {
    B_PRIMARY_MOUSE_BUTTON = 0x01,
    B_SECONDARY_MOUSE_BUTTON = 0x02,
    B_TERTIARY_MOUSE_BUTTON = 0x04,
};

// How the pointer moved relative to a view (BView::MouseMoved).
enum : uint32 {
    B_ENTERED_VIEW = 0,
    B_INSIDE_VIEW,
    B_EXITED_VIEW,
    B_OUTSIDE_VIEW,
};

// BView::SetEventMask: a view that asks for pointer events gets the mouse
// until the button is released, wherever the pointer goes.
enum : uint32 {
    B_POINTER_EVENTS = 0x00000001,
    B_KEYBOARD_EVENTS = 0x00000002,
};

// View flags.
enum : uint32 {
    B_FULL_UPDATE_ON_RESIZE = 0x80000000,
    B_WILL_DRAW = 0x20000000,
    B_PULSE_NEEDED = 0x10000000,
    B_NAVIGABLE_JUMP = 0x08000000,
    B_FRAME_EVENTS = 0x04000000,
    B_NAVIGABLE = 0x02000000,
    B_SUBPIXEL_PRECISE = 0x01000000,
    B_DRAW_ON_CHILDREN = 0x00800000,
};

// Resizing modes: which edges of the parent each edge of a view follows.
enum : uint32 {
    B_FOLLOW_NONE = 0,
    B_FOLLOW_ALL_SIDES = 0x1234,
    B_FOLLOW_ALL = B_FOLLOW_ALL_SIDES,
    B_FOLLOW_LEFT = 0x0202,
    B_FOLLOW_RIGHT = 0x0404,
    B_FOLLOW_LEFT_RIGHT = 0x0204,
    B_FOLLOW_H_CENTER = 0x0505,
    B_FOLLOW_TOP = 0x1010,
    B_FOLLOW_BOTTOM = 0x3030,
    B_FOLLOW_TOP_BOTTOM = 0x1030,
    B_FOLLOW_V_CENTER = 0x5050,
};

enum window_type : uint32 {
    B_UNTYPED_WINDOW = 0,
    B_TITLED_WINDOW = 1,
    B_MODAL_WINDOW = 3,
    B_DOCUMENT_WINDOW = 11,
    B_BORDERED_WINDOW = 20,
    B_FLOATING_WINDOW = 21,
};

enum window_look : uint32 {
    B_BORDERED_WINDOW_LOOK = 20,
    B_NO_BORDER_WINDOW_LOOK = 19,
    B_TITLED_WINDOW_LOOK = 1,
    B_DOCUMENT_WINDOW_LOOK = 11,
    B_MODAL_WINDOW_LOOK = 3,
    B_FLOATING_WINDOW_LOOK = 7,
};

enum window_feel : uint32 {
    B_NORMAL_WINDOW_FEEL = 0,
    B_MODAL_SUBSET_WINDOW_FEEL = 2,
    B_MODAL_APP_WINDOW_FEEL = 1,
    B_MODAL_ALL_WINDOW_FEEL = 3,
    B_FLOATING_SUBSET_WINDOW_FEEL = 5,
    B_FLOATING_APP_WINDOW_FEEL = 4,
    B_FLOATING_ALL_WINDOW_FEEL = 6,
};

// Window flags.
enum : uint32 {
    B_NOT_MOVABLE = 0x00000001,
    B_NOT_CLOSABLE = 0x00000020,
    B_NOT_ZOOMABLE = 0x00000040,
    B_NOT_MINIMIZABLE = 0x00004000,
    B_NOT_RESIZABLE = 0x00000002,
    B_NOT_H_RESIZABLE = 0x00000004,
    B_NOT_V_RESIZABLE = 0x00000008,
    B_AVOID_FRONT = 0x00000080,
    B_AVOID_FOCUS = 0x00002000,
    B_WILL_ACCEPT_FIRST_CLICK = 0x00000010,
    B_OUTLINE_RESIZE = 0x00001000,
    B_NO_WORKSPACE_ACTIVATION = 0x00000100,
    B_NOT_ANCHORED_ON_ACTIVATE = 0x00020000,
    B_ASYNCHRONOUS_CONTROLS = 0x00080000,
    B_QUIT_ON_WINDOW_CLOSE = 0x00100000,
};

constexpr uint32 B_CURRENT_WORKSPACE = 0;
constexpr uint32 B_ALL_WORKSPACES = 0xffffffff;

enum alignment : uint32 {
    B_ALIGN_LEFT,
    B_ALIGN_RIGHT,
    B_ALIGN_CENTER,
};

enum border_style : uint32 {
    B_PLAIN_BORDER,
    B_FANCY_BORDER,
    B_NO_BORDER,
};

enum orientation : uint32 {
    B_HORIZONTAL,
    B_VERTICAL,
};

enum color_which : uint32 {
    B_PANEL_BACKGROUND_COLOR = 1,
    B_MENU_BACKGROUND_COLOR = 2,
    B_WINDOW_TAB_COLOR = 3,
    B_KEYBOARD_NAVIGATION_COLOR = 4,
    B_DESKTOP_COLOR = 5,
    B_MENU_SELECTION_BACKGROUND_COLOR = 6,
    B_MENU_ITEM_TEXT_COLOR = 7,
    B_MENU_SELECTED_ITEM_TEXT_COLOR = 8,
    B_MENU_SELECTED_BORDER_COLOR = 9,
    B_PANEL_TEXT_COLOR = 10,
    B_DOCUMENT_BACKGROUND_COLOR = 11,
    B_DOCUMENT_TEXT_COLOR = 12,
    B_CONTROL_BACKGROUND_COLOR = 13,
    B_CONTROL_TEXT_COLOR = 14,
    B_CONTROL_BORDER_COLOR = 15,
    B_CONTROL_HIGHLIGHT_COLOR = 16,
    B_NAVIGATION_BASE_COLOR = 17,
    B_NAVIGATION_PULSE_COLOR = 18,
    B_SHINE_COLOR = 19,
    B_SHADOW_COLOR = 20,
    B_TOOLTIP_BACKGROUND_COLOR = 21,
    B_TOOLTIP_TEXT_COLOR = 22,
    B_SUCCESS_COLOR = 100,
    B_FAILURE_COLOR = 101,
};

// Tints for tint_color: below 1 lightens towards white, above darkens.
constexpr float B_LIGHTEN_MAX_TINT = 0.0f;
constexpr float B_LIGHTEN_2_TINT = 0.385f;
constexpr float B_LIGHTEN_1_TINT = 0.590f;
constexpr float B_NO_TINT = 1.0f;
constexpr float B_DARKEN_1_TINT = 1.147f;
constexpr float B_DARKEN_2_TINT = 1.295f;
constexpr float B_DARKEN_3_TINT = 1.407f;
constexpr float B_DARKEN_4_TINT = 1.555f;
constexpr float B_DARKEN_MAX_TINT = 2.0f;
constexpr float B_DISABLED_LABEL_TINT = B_DARKEN_3_TINT;
constexpr float B_HIGHLIGHT_BACKGROUND_TINT = B_DARKEN_2_TINT;
constexpr float B_DISABLED_MARK_TINT = B_LIGHTEN_2_TINT;

rgb_color ui_color(color_which which);
rgb_color tint_color(rgb_color color, float tint);
