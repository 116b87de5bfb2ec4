#include "LibPictureButton.h"

#include "BApplication.h"
#include "BWindow.h"
#include "LibBitmapToPicture.h"
#include "LibRect.h"
#include "oResources.h"

#include <cmath>
#include <memory>

namespace {

constexpr rgb_color kRaisedFace = {232, 232, 232, 255};
constexpr rgb_color kOutline = {96, 96, 96, 255};
constexpr rgb_color kShadow = {152, 152, 152, 255};
constexpr rgb_color kLight = {255, 255, 255, 255};
constexpr rgb_color kGreyOut = {232, 232, 232, 125};

BRect ButtonFrame(BPoint where, int32 width, int32 height)
{
    return LibRect(where.x, where.y, float(width - 1), float(height - 1));
}

BPicture* BitsPicture(int32 width, int32 height, const void* bits)
{
    return LibBitmapToPicture(BRect(0, 0, float(width - 1), float(height - 1)), bits, B_CMAP8);
}

void DrawBevel(BView& view, float width, float height, bool raised)
{
    view.SetHighColor(ui_color(B_PANEL_BACKGROUND_COLOR));
    view.FillRect(BRect(0, 0, width, height));
    view.SetHighColor(raised ? kRaisedFace : ui_color(B_PANEL_BACKGROUND_COLOR));
    view.FillRect(BRect(0, 0, width, height));
    view.SetHighColor(kOutline);
    view.StrokeRoundRect(BRect(0, 0, width, height), 2, 2);
    view.SetHighColor(raised ? kLight : kShadow);
    view.StrokeLine(BPoint(1, 1), BPoint(width - 2, 1));
    view.StrokeLine(BPoint(1, 1), BPoint(1, height - 2));
    view.SetHighColor(raised ? kShadow : kLight);
    view.StrokeLine(BPoint(2, height - 2), BPoint(width - 2, height - 2));
    view.StrokeLine(BPoint(width - 2, 2), BPoint(width - 2, height - 2));
}

} // namespace

LibPictureButton::LibPictureButton(BPoint where, const signed char& width,
    const signed char& height, const char* name, const void* offBits, const void* onBits,
    const unsigned long& command, const void* disabledBits, unsigned long behavior,
    unsigned long resizingMode)
    : BPictureButton(ButtonFrame(where, width, height), name, nullptr, nullptr,
        new BMessage(command), uint32(behavior), uint32(resizingMode), B_WILL_DRAW | B_NAVIGABLE)
{
    SetLabel(name);
    std::unique_ptr<BPicture> off(BitsPicture(width, height, offBits));
    std::unique_ptr<BPicture> on(BitsPicture(width, height, onBits));
    SetEnabledOff(off.get());
    SetEnabledOn(on.get());
    if (disabledBits != nullptr) {
        std::unique_ptr<BPicture> disabled(BitsPicture(width, height, disabledBits));
        SetDisabledOff(disabled.get());
    }
}

LibPictureButton::LibPictureButton(BPoint where, const signed char& width,
    const signed char& height, const char* name, const char* bitmapName,
    const unsigned long& command, unsigned long behavior, unsigned long resizingMode)
    : BPictureButton(ButtonFrame(where, width, height), name, nullptr, nullptr,
        new BMessage(command), uint32(behavior), uint32(resizingMode), B_WILL_DRAW | B_NAVIGABLE)
{
    SetLabel(name);
    // The faces fill the button's bounds.
    int right = width - 1, bottom = height - 1;
    std::unique_ptr<BPicture> faces[4] = {
        std::unique_ptr<BPicture>(Res2Picture(bitmapName, right, bottom, true, true)),
        std::unique_ptr<BPicture>(Res2Picture(bitmapName, right, bottom, false, true)),
        std::unique_ptr<BPicture>(Res2Picture(bitmapName, right, bottom, true, false)),
        std::unique_ptr<BPicture>(Res2Picture(bitmapName, right, bottom, false, false)),
    };
    SetEnabledOff(faces[0].get());
    SetEnabledOn(faces[1].get());
    SetDisabledOff(faces[2].get());
    SetDisabledOn(faces[3].get());
}

LibPictureButton::~LibPictureButton() = default;

// Recorded by a view of its own, which needs no window to record.
BPicture* LibPictureButton::Res2Picture(const char* bitmapName, const int& width, const int& height,
    const bool& raised, const bool& enabled)
{
    std::unique_ptr<BBitmap> bitmap;
    if (bitmapName != nullptr)
        bitmap.reset(oResources(B_READ_ONLY).GetBitmap(bitmapName));
    BView view(BRect(0, 0, float(width), float(height)), "win", B_FOLLOW_NONE, B_WILL_DRAW);
    auto* picture = new BPicture;
    view.BeginPicture(picture);
    DrawBevel(view, float(width), float(height), raised);
    view.SetDrawingMode(B_OP_OVER);
    if (bitmap != nullptr) {
        BRect bounds = bitmap->Bounds();
        int w = int(std::ceil(bounds.Width())), h = int(std::ceil(bounds.Height()));
        BPoint offset(float(width / 2 - w / 2), float(height / 2 - h / 2));
        if (raised)
            offset = offset - BPoint(1, 1);
        view.DrawBitmap(bitmap.get(), offset);
    }
    if (!enabled) {
        view.SetLowColor(B_TRANSPARENT_COLOR);
        view.SetHighColor(kGreyOut);
        view.FillRect(BRect(2, 2, float(width - 3), float(height - 3)), B_MIXED_COLORS);
    }
    view.EndPicture();
    return picture;
}

void LibPictureButton::AddTip(const unsigned long& command, const char* text)
{
    fTipCommand = command;
    fTipText = text != nullptr ? text : "";
}

bool LibPictureButton::WantsTips() const
{
    return fTipText.Length() > 0 && Window() != nullptr && Window()->IsActive();
}

void LibPictureButton::PostTip(bool show)
{
    if (be_app == nullptr)
        return;
    BMessage tip {uint32(fTipCommand)};
    tip.AddBool("show", show);
    if (show) {
        tip.AddString("tip", fTipText);
        tip.AddPoint("loc", ConvertToScreen(BPoint(Bounds().right + 5, Bounds().top + 1)));
    }
    be_app->PostMessage(&tip);
}

void LibPictureButton::MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage)
{
    if (WantsTips() && (transit == B_ENTERED_VIEW || transit == B_EXITED_VIEW))
        PostTip(transit == B_ENTERED_VIEW);
    BPictureButton::MouseMoved(where, transit, dragMessage);
}

void LibPictureButton::MouseDown(BPoint where)
{
    if (WantsTips())
        PostTip(false);
    BPictureButton::MouseDown(where);
}

void LibPictureButton::MakeFocus(bool focus)
{
    fFocused = focus;
    BPictureButton::MakeFocus(focus);
}
