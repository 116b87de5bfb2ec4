#include "BuiltinIcons.h"

#include "BBitmap.h"
#include "BView.h"

namespace {

// Drawing in a 32-point square, scaled to the bitmap.
class IconCanvas {
public:
    explicit IconCanvas(BBitmap* bitmap)
        : fBitmap(bitmap)
        , fView(new BView(bitmap->Bounds(), "icon", B_FOLLOW_NONE, 0))
        , fScale((bitmap->Bounds().Width() + 1) / 32)
    {
        bitmap->AddChild(fView);
        fView->SetDrawingMode(B_OP_ALPHA);
    }
    ~IconCanvas()
    {
        fBitmap->RemoveChild(fView);
        delete fView;
    }

    BRect Rect(float left, float top, float right, float bottom) const
    {
        return BRect(left * fScale, top * fScale, right * fScale - 1, bottom * fScale - 1);
    }
    void Fill(rgb_color color, BRect rect)
    {
        fView->SetHighColor(color);
        fView->FillRect(rect);
    }
    void Frame(rgb_color color, BRect rect)
    {
        fView->SetHighColor(color);
        fView->StrokeRect(rect);
    }
    void Line(rgb_color color, float x0, float y0, float x1, float y1)
    {
        fView->SetHighColor(color);
        fView->StrokeLine(BPoint(x0 * fScale, y0 * fScale), BPoint(x1 * fScale, y1 * fScale));
    }
    void Triangle(rgb_color color, BPoint a, BPoint b, BPoint c)
    {
        fView->SetHighColor(color);
        fView->FillTriangle(BPoint(a.x * fScale, a.y * fScale), BPoint(b.x * fScale, b.y * fScale),
            BPoint(c.x * fScale, c.y * fScale));
    }

private:
    BBitmap* fBitmap;
    BView* fView;
    float fScale;
};

constexpr rgb_color kOutline = {48, 48, 48, 255};
constexpr rgb_color kPaper = {255, 255, 255, 255};
constexpr rgb_color kLines = {150, 150, 150, 255};
constexpr rgb_color kFolderBack = {225, 180, 60, 255};
constexpr rgb_color kFolderFront = {250, 215, 110, 255};
constexpr rgb_color kScreen = {32, 32, 40, 255};
constexpr rgb_color kTitle = {60, 100, 200, 255};
constexpr rgb_color kPrompt = {90, 220, 90, 255};
constexpr rgb_color kMetal = {200, 200, 205, 255};

void Folder(IconCanvas& canvas)
{
    canvas.Fill(kFolderBack, canvas.Rect(2, 6, 14, 10));
    canvas.Frame(kOutline, canvas.Rect(2, 6, 14, 11));
    canvas.Fill(kFolderBack, canvas.Rect(2, 9, 30, 27));
    canvas.Fill(kFolderFront, canvas.Rect(2, 13, 30, 27));
    canvas.Frame(kOutline, canvas.Rect(2, 9, 30, 27));
    canvas.Line(kOutline, 2, 13, 29, 13);
}

void File(IconCanvas& canvas)
{
    canvas.Fill(kPaper, canvas.Rect(6, 2, 26, 30));
    canvas.Frame(kOutline, canvas.Rect(6, 2, 26, 30));
    canvas.Triangle(kLines, BPoint(20, 2), BPoint(25, 2), BPoint(25, 7));
    for (float y = 10; y < 27; y += 4)
        canvas.Line(kLines, 9, y, 22, y);
}

void Program(IconCanvas& canvas)
{
    canvas.Fill(kScreen, canvas.Rect(2, 5, 30, 27));
    canvas.Fill(kTitle, canvas.Rect(2, 5, 30, 9));
    canvas.Frame(kOutline, canvas.Rect(2, 5, 30, 27));
    canvas.Line(kPrompt, 6, 13, 9, 16);
    canvas.Line(kPrompt, 9, 16, 6, 19);
    canvas.Line(kPrompt, 11, 19, 16, 19);
}

void Link(IconCanvas& canvas)
{
    File(canvas);
    canvas.Fill(kPaper, canvas.Rect(2, 18, 14, 30));
    canvas.Frame(kOutline, canvas.Rect(2, 18, 14, 30));
    canvas.Line(kOutline, 5, 27, 10, 22);
    canvas.Triangle(kOutline, BPoint(7, 21), BPoint(11, 21), BPoint(11, 25));
}

void Volume(IconCanvas& canvas)
{
    canvas.Fill(kMetal, canvas.Rect(2, 10, 30, 24));
    canvas.Frame(kOutline, canvas.Rect(2, 10, 30, 24));
    canvas.Fill(kPrompt, canvas.Rect(24, 18, 27, 21));
}

} // namespace

void BuiltinIcons::Draw(BuiltinIcon icon, BBitmap* bitmap)
{
    if (bitmap == nullptr || !bitmap->IsValid())
        return;
    IconCanvas canvas(bitmap);
    switch (icon) {
    case BuiltinIcon::kFolder:
        Folder(canvas);
        break;
    case BuiltinIcon::kFile:
        File(canvas);
        break;
    case BuiltinIcon::kProgram:
        Program(canvas);
        break;
    case BuiltinIcon::kLink:
        Link(canvas);
        break;
    case BuiltinIcon::kVolume:
        Volume(canvas);
        break;
    }
}
