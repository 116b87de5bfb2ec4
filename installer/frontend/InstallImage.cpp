#include "InstallImage.h"

#include "AppDefs.h"
#include "BBitmap.h"
#include "BMenuItem.h"
#include "BPath.h"
#include "BPopUpMenu.h"
#include "BTranslationUtils.h"
#include "BWindow.h"
#include "LibMessageBox.h"
#include "entry_ref.h"

namespace {

constexpr uint32 kTertiaryButton = 4;
constexpr float kNameSize = 18;
constexpr float kTextSize = 14;
constexpr float kSmallestSize = 8;
// What a text leaves free of the view's height, against the frame.
constexpr float kTextMargin = 8;
// Where each text's column runs, left to right: the name, version, release
// date, company and e-mail address.
constexpr float kColumnX[] = {20, 50, 70, 90, 110};
constexpr rgb_color kNameColor = {0, 0, 255, 255};
constexpr rgb_color kTextColor = {0, 0, 0, 255};

} // namespace

InstallImage::InstallImage(BPoint topLeft, bool editable)
    : BBox(BRect(topLeft.x, topLeft.y, topLeft.x + kWidth, topLeft.y + kHeight), "InstallImage",
        B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW | B_FRAME_EVENTS | B_NAVIGABLE_JUMP,
        B_FANCY_BORDER)
    , fEditable(editable)
{
    SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
    // The texts run from the bottom up, in the plain face (a box's own font
    // is its label's, bold).
    BFont rotated(be_plain_font);
    rotated.SetRotation(90);
    SetFont(&rotated);
}

InstallImage::~InstallImage()
{
    ClearImage();
}

void InstallImage::SetAppName(const char* name)
{
    SetText(kName, name, kNameSize);
}

void InstallImage::SetVersion(const char* version)
{
    SetText(kVersion, version, kTextSize);
}

void InstallImage::SetDate(const char* date)
{
    SetText(kDate, date, kTextSize);
}

void InstallImage::SetCompany(const char* company)
{
    SetText(kCompany, company, kTextSize);
}

void InstallImage::SetEmail(const char* email)
{
    SetText(kEmail, email, kTextSize);
}

// The text is centred along the view's height: its baseline starts as far
// above the bottom as it ends below the top. A text too long for the height
// is set smaller until it fits, rather than cut off at both ends.
void InstallImage::SetText(Column column, const char* text, float size)
{
    fTexts[column] = text;
    float height = Frame().bottom - Frame().top;
    SetFontSize(size);
    float width = StringWidth(fTexts[column]);
    while (width > height - kTextMargin && size > kSmallestSize) {
        size -= 1;
        SetFontSize(size);
        width = StringWidth(fTexts[column]);
    }
    fSizes[column] = size;
    fStarts[column] = (height - width) * 0.5f + width;
    Invalidate();
}

void InstallImage::SetImage(BMessage& archive)
{
    ClearImage();
    if (!archive.IsEmpty()) {
        fPicture = new BBitmap(&archive);
        // A damaged archive shows the texts rather than nothing.
        if (!fPicture->IsValid())
            ClearImage();
    }
    Invalidate();
}

void InstallImage::GetImage(BMessage& archive)
{
    if (fPicture != nullptr)
        fPicture->Archive(&archive, true);
}

void InstallImage::ClearImage()
{
    delete fPicture;
    fPicture = nullptr;
}

void InstallImage::ProcessImage(entry_ref& ref)
{
    ClearImage();
    BPath path(&ref);
    fPicture = path.InitCheck() == B_OK ? BTranslationUtils::GetBitmap(path.Path()) : nullptr;
    if (fPicture != nullptr) {
        BRect bounds = fPicture->Bounds();
        if (bounds.Width() != kWidth - 1 || bounds.Height() != kHeight - 1) {
            LibWarning("Image is not the correct size of %dx%d. You may use this image, but it "
                       "will appear in the installer as shown here.",
                int(kWidth), int(kHeight));
        }
        fShowPicture = true;
    } else {
        LibError("Image file not current supported");
    }
    if (Window() != nullptr)
        Window()->PostMessage(kImageChanged);
    Invalidate();
}

void InstallImage::MouseDown(BPoint where)
{
    BMessage* current = Window() != nullptr ? Window()->CurrentMessage() : nullptr;
    int32 buttons = current != nullptr ? current->FindInt32("buttons") : 0;
    if (fEditable && uint32(buttons) == kTertiaryButton)
        OfferRemove(where);
    else
        fShowPicture = !fShowPicture;
    Invalidate();
}

void InstallImage::OfferRemove(BPoint where)
{
    BPopUpMenu menu("img_menu", false, false);
    auto* remove = new BMenuItem("Remove", nullptr);
    menu.AddItem(remove);
    if (menu.Go(ConvertToScreen(where)) == remove) {
        ClearImage();
        fShowPicture = false;
    }
}

// What a drop hands a view: the dropped files as "refs".
void InstallImage::MessageReceived(BMessage* message)
{
    entry_ref ref;
    if (message->what == B_SIMPLE_DATA && message->FindRef("refs", &ref) == B_OK)
        ProcessImage(ref);
    BBox::MessageReceived(message);
}

void InstallImage::Draw(BRect updateRect)
{
    if (fShowPicture && fPicture != nullptr) {
        DrawBitmap(fPicture, BPoint(0, 0));
    } else {
        SetDrawingMode(B_OP_OVER);
        for (int column = kName; column < kColumns; ++column) {
            if (fTexts[column].Length() == 0)
                continue;
            SetFontSize(fSizes[column]);
            SetHighColor(column == kName ? kNameColor : kTextColor);
            DrawString(fTexts[column], BPoint(kColumnX[column], fStarts[column]));
        }
        SetDrawingMode(B_OP_COPY);
    }
    BBox::Draw(updateRect);
}
