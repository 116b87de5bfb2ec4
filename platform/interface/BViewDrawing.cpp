// BView's drawing calls: each one is recorded into a picture, drawn through
// the painter the view has while it may draw, or dropped.
//
// Geometry follows the kit's pixel rules in points: a rectangle from left to
// right covers the cells left...right (right included), lines cover the
// cells they pass through. A cell of a point becomes `scale` device pixels
// on a side; edges are rounded the same way everywhere, so neighbouring
// shapes meet without gaps at any scale.
#include "BView.h"

#include "BBitmap.h"
#include "BPicture.h"
#include "FontFace.h"
#include "NativeInterface.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

constexpr int kArcSegments = 8;
constexpr float kRightAngle = float(M_PI / 2);

bool IsUniform(const pattern& p, uint8 value)
{
    return std::all_of(
        std::begin(p.data), std::end(p.data), [&](uint8 row) { return row == value; });
}

bool IsTransparent(rgb_color color)
{
    return color.red == B_TRANSPARENT_COLOR.red && color.green == B_TRANSPARENT_COLOR.green
        && color.blue == B_TRANSPARENT_COLOR.blue && color.alpha == B_TRANSPARENT_COLOR.alpha;
}

// The outline of a rectangle with elliptic corners; the quarter arcs start
// at the top right and go clockwise.
std::vector<BPoint> RoundOutline(
    float left, float top, float right, float bottom, float xRadius, float yRadius)
{
    xRadius = std::clamp(xRadius, 0.0f, (right - left) / 2);
    yRadius = std::clamp(yRadius, 0.0f, (bottom - top) / 2);
    const BPoint centers[4]
        = {BPoint(right - xRadius, top + yRadius), BPoint(right - xRadius, bottom - yRadius),
            BPoint(left + xRadius, bottom - yRadius), BPoint(left + xRadius, top + yRadius)};
    std::vector<BPoint> points;
    for (int corner = 0; corner < 4; ++corner) {
        float start = -kRightAngle + corner * kRightAngle;
        for (int step = 0; step <= kArcSegments; ++step) {
            float angle = start + kRightAngle * float(step) / kArcSegments;
            points.push_back(BPoint(centers[corner].x + xRadius * std::cos(angle),
                centers[corner].y + yRadius * std::sin(angle)));
        }
    }
    return points;
}

std::vector<BPoint> Centers(const BPoint* points, int32 count)
{
    std::vector<BPoint> centers;
    for (int32 i = 0; i < count; ++i)
        centers.push_back(BPoint(points[i].x + 0.5f, points[i].y + 0.5f));
    return centers;
}

PictureOp Op(PictureOp::Kind kind, BRect rect = BRect(), const pattern& fill = B_SOLID_HIGH)
{
    PictureOp op;
    op.kind = kind;
    op.rect = rect;
    op.fill = fill;
    return op;
}

} // namespace

// A view in a window may draw during the window's drawing pass; a view in
// a bitmap draws into it at any time, one point to a pixel.
bool BView::CanDraw()
{
    if (fRecording != nullptr)
        return false;
    if (fBitmap != nullptr) {
        fPainter = fBitmap->Painter();
        fScale = 1;
        fPainterOrigin = ConvertToWindow(BPoint(0, 0));
    }
    return fPainter != nullptr;
}

bool BView::Record(const PictureOp& op)
{
    if (fRecording == nullptr)
        return false;
    fRecording->Add(op);
    return true;
}

int BView::DeviceX(float x) const
{
    return int(std::lround((fPainterOrigin.x + x) * fScale));
}

int BView::DeviceY(float y) const
{
    return int(std::lround((fPainterOrigin.y + y) * fScale));
}

void BView::DeviceRect(BRect rect, int& x, int& y, int& width, int& height) const
{
    x = DeviceX(rect.left);
    y = DeviceY(rect.top);
    width = DeviceX(rect.right + 1) - x;
    height = DeviceY(rect.bottom + 1) - y;
}

// Copy and over draw opaque colours; alpha blends by the colour's alpha.
rgb_color BView::PaintColor(rgb_color color) const
{
    if (fState.mode != B_OP_ALPHA)
        color.alpha = 255;
    return color;
}

bool BView::PatternColor(const pattern& p, rgb_color& color) const
{
    if (IsUniform(p, 0xff)) {
        color = fState.high;
        return true;
    }
    if (IsUniform(p, 0)) {
        color = fState.low;
        return true;
    }
    return false;
}

void BView::FillDeviceRect(BRect rect, rgb_color color)
{
    if (!rect.IsValid() || (fState.mode == B_OP_OVER && IsTransparent(color)))
        return;
    color = PaintColor(color);
    if (color.alpha == 0)
        return;
    int x, y, width, height;
    DeviceRect(rect, x, y, width, height);
    fPainter->SetColor(color.red, color.green, color.blue, color.alpha);
    fPainter->FillRect(x, y, width, height);
}

// A two-colour pattern, cell by cell in runs; over leaves the low cells.
void BView::FillPattern(BRect rect, const pattern& p)
{
    rgb_color solid;
    if (PatternColor(p, solid)) {
        FillDeviceRect(rect, solid);
        return;
    }
    int left = int(std::floor(rect.left)), right = int(std::floor(rect.right));
    int top = int(std::floor(rect.top)), bottom = int(std::floor(rect.bottom));
    bool drawLow = fState.mode != B_OP_OVER;
    for (int y = top; y <= bottom; ++y) {
        uint8 row = p.data[((y % 8) + 8) % 8];
        auto bit = [row](int x) { return (row & (0x80 >> (((x % 8) + 8) % 8))) != 0; };
        for (int x = left; x <= right;) {
            bool high = bit(x);
            int start = x;
            while (x <= right && bit(x) == high)
                ++x;
            if (high || drawLow)
                FillDeviceRect(BRect(float(start), float(y), float(x - 1), float(y)),
                    high ? fState.high : fState.low);
        }
    }
}

void BView::FillShape(const std::vector<BPoint>& outline, const pattern& p)
{
    rgb_color color;
    if (!PatternColor(p, color))
        color = fState.high;
    if (fState.mode == B_OP_OVER && IsTransparent(color))
        return;
    color = PaintColor(color);
    std::vector<float> xy;
    for (BPoint point : outline) {
        xy.push_back((fPainterOrigin.x + point.x) * fScale);
        xy.push_back((fPainterOrigin.y + point.y) * fScale);
    }
    fPainter->SetColor(color.red, color.green, color.blue, color.alpha);
    fPainter->FillPolygon(xy.data(), int(outline.size()));
}

void BView::StrokeShape(const std::vector<BPoint>& outline, bool closed, const pattern& p)
{
    rgb_color color;
    if (!PatternColor(p, color))
        color = fState.high;
    if (fState.mode == B_OP_OVER && IsTransparent(color))
        return;
    color = PaintColor(color);
    std::vector<float> xy;
    for (BPoint point : outline) {
        xy.push_back((fPainterOrigin.x + point.x) * fScale);
        xy.push_back((fPainterOrigin.y + point.y) * fScale);
    }
    fPainter->SetColor(color.red, color.green, color.blue, color.alpha);
    fPainter->StrokePolygon(
        xy.data(), int(outline.size()), closed, std::max(fState.penSize, 1.0f) * fScale);
}

// Straight lines are the cells they cover; other lines go through the cells'
// centres with the pen's width.
void BView::StrokeThinLine(BPoint start, BPoint end, rgb_color color)
{
    float pen = std::max(std::round(fState.penSize), 1.0f);
    float before = std::floor((pen - 1) / 2);
    float after = pen - 1 - before;
    if (start.y == end.y) {
        FillDeviceRect(BRect(std::min(start.x, end.x), start.y - before, std::max(start.x, end.x),
                           start.y + after),
            color);
        return;
    }
    if (start.x == end.x) {
        FillDeviceRect(BRect(start.x - before, std::min(start.y, end.y), start.x + after,
                           std::max(start.y, end.y)),
            color);
        return;
    }
    if (fState.mode == B_OP_OVER && IsTransparent(color))
        return;
    color = PaintColor(color);
    fPainter->SetColor(color.red, color.green, color.blue, color.alpha);
    fPainter->StrokeLine((fPainterOrigin.x + start.x + 0.5f) * fScale,
        (fPainterOrigin.y + start.y + 0.5f) * fScale, (fPainterOrigin.x + end.x + 0.5f) * fScale,
        (fPainterOrigin.y + end.y + 0.5f) * fScale, pen * fScale);
}

void BView::StrokeLine(BPoint start, BPoint end, pattern p)
{
    fState.pen = end;
    PictureOp op = Op(PictureOp::kStrokeLine, BRect(), p);
    op.points = {start, end};
    if (Record(op) || !CanDraw())
        return;
    rgb_color color;
    if (!PatternColor(p, color))
        color = fState.high;
    StrokeThinLine(start, end, color);
}

void BView::StrokeLine(BPoint end, pattern p)
{
    StrokeLine(fState.pen, end, p);
}

void BView::StrokeRect(BRect rect, pattern p)
{
    if (Record(Op(PictureOp::kStrokeRect, rect, p)) || !CanDraw() || !rect.IsValid())
        return;
    float pen = std::max(std::round(fState.penSize), 1.0f) - 1;
    rgb_color color;
    if (!PatternColor(p, color))
        color = fState.high;
    FillDeviceRect(BRect(rect.left, rect.top, rect.right, rect.top + pen), color);
    FillDeviceRect(BRect(rect.left, rect.bottom - pen, rect.right, rect.bottom), color);
    FillDeviceRect(BRect(rect.left, rect.top, rect.left + pen, rect.bottom), color);
    FillDeviceRect(BRect(rect.right - pen, rect.top, rect.right, rect.bottom), color);
}

void BView::FillRect(BRect rect, pattern p)
{
    if (Record(Op(PictureOp::kFillRect, rect, p)) || !CanDraw())
        return;
    FillPattern(rect, p);
}

void BView::StrokeRoundRect(BRect rect, float xRadius, float yRadius, pattern p)
{
    PictureOp op = Op(PictureOp::kStrokeRoundRect, rect, p);
    op.xRadius = xRadius;
    op.yRadius = yRadius;
    if (Record(op) || !CanDraw() || !rect.IsValid())
        return;
    StrokeShape(RoundOutline(rect.left + 0.5f, rect.top + 0.5f, rect.right + 0.5f,
                    rect.bottom + 0.5f, xRadius, yRadius),
        true, p);
}

void BView::FillRoundRect(BRect rect, float xRadius, float yRadius, pattern p)
{
    PictureOp op = Op(PictureOp::kFillRoundRect, rect, p);
    op.xRadius = xRadius;
    op.yRadius = yRadius;
    if (Record(op) || !CanDraw() || !rect.IsValid())
        return;
    FillShape(
        RoundOutline(rect.left, rect.top, rect.right + 1, rect.bottom + 1, xRadius, yRadius), p);
}

void BView::StrokeEllipse(BRect rect, pattern p)
{
    if (Record(Op(PictureOp::kStrokeEllipse, rect, p)) || !CanDraw() || !rect.IsValid())
        return;
    rgb_color color;
    if (!PatternColor(p, color))
        color = fState.high;
    color = PaintColor(color);
    int x, y, width, height;
    DeviceRect(rect, x, y, width, height);
    float pen = std::max(fState.penSize, 1.0f) * fScale;
    float inset = (pen - 1) / 2;
    fPainter->SetColor(color.red, color.green, color.blue, color.alpha);
    fPainter->StrokeEllipse(x + inset, y + inset, width - 2 * inset, height - 2 * inset, pen);
}

void BView::FillEllipse(BRect rect, pattern p)
{
    if (Record(Op(PictureOp::kFillEllipse, rect, p)) || !CanDraw() || !rect.IsValid())
        return;
    rgb_color color;
    if (!PatternColor(p, color))
        color = fState.high;
    color = PaintColor(color);
    int x, y, width, height;
    DeviceRect(rect, x, y, width, height);
    fPainter->SetColor(color.red, color.green, color.blue, color.alpha);
    fPainter->FillEllipse(float(x), float(y), float(width), float(height));
}

void BView::StrokeTriangle(BPoint a, BPoint b, BPoint c, pattern p)
{
    const BPoint points[3] = {a, b, c};
    StrokePolygon(points, 3, true, p);
}

void BView::FillTriangle(BPoint a, BPoint b, BPoint c, pattern p)
{
    const BPoint points[3] = {a, b, c};
    FillPolygon(points, 3, p);
}

void BView::StrokePolygon(const BPoint* points, int32 count, bool closed, pattern p)
{
    if (points == nullptr || count < 2)
        return;
    PictureOp op = Op(PictureOp::kStrokePolygon, BRect(), p);
    op.points.assign(points, points + count);
    op.closed = closed;
    if (Record(op) || !CanDraw())
        return;
    StrokeShape(Centers(points, count), closed, p);
}

// The filled area includes its boundary cells, as the outline covers them.
void BView::FillPolygon(const BPoint* points, int32 count, pattern p)
{
    if (points == nullptr || count < 3)
        return;
    PictureOp op = Op(PictureOp::kFillPolygon, BRect(), p);
    op.points.assign(points, points + count);
    if (Record(op) || !CanDraw())
        return;
    std::vector<BPoint> centers = Centers(points, count);
    FillShape(centers, p);
    float pen = fState.penSize;
    fState.penSize = 1;
    StrokeShape(centers, true, p);
    fState.penSize = pen;
}

// Without reading the screen back, the area takes the inverse of the view
// colour, which is what inverting an unpainted area shows.
void BView::InvertRect(BRect rect)
{
    if (Record(Op(PictureOp::kInvertRect, rect)) || !CanDraw())
        return;
    rgb_color inverse = make_color(
        uint8(255 - fViewColor.red), uint8(255 - fViewColor.green), uint8(255 - fViewColor.blue));
    drawing_mode mode = fState.mode;
    fState.mode = B_OP_COPY;
    FillDeviceRect(rect, inverse);
    fState.mode = mode;
}

void BView::DrawString(const char* string, BPoint where)
{
    if (string != nullptr)
        DrawString(string, int32(strlen(string)), where);
}

void BView::DrawString(const char* string)
{
    DrawString(string, fState.pen);
}

void BView::DrawString(const char* string, int32 length, BPoint where)
{
    if (string == nullptr || length <= 0)
        return;
    length = int32(strnlen(string, size_t(length)));
    float width = fState.font.StringWidth(string, length);
    bool upward = std::lround(fState.font.Rotation()) % 360 == 90;
    fState.pen = upward ? BPoint(where.x, where.y - width) : BPoint(where.x + width, where.y);
    PictureOp op = Op(PictureOp::kString, BRect(where, where));
    op.text.assign(string, size_t(length));
    if (Record(op) || !CanDraw())
        return;
    DrawText(string, length, where);
}

// Every character goes where the font's measure puts it, in device pixels,
// so the text covers exactly the width StringWidth() promised.
void BView::DrawText(const char* string, int32 length, BPoint where)
{
    const BFont& font = fState.font;
    int32 face = font.Face();
    FontFace::Info info = FontFace::Describe(face);
    double pixelSize = double(font.Size()) * fScale;
    std::vector<FontFace::Piece> pieces;
    FontFace::Measure(face, string, size_t(length), float(pixelSize), pieces);
    bool upward = std::lround(font.Rotation()) % 360 == 90;
    float along = upward ? float(DeviceY(where.y + 1)) : float(DeviceX(where.x));
    float baseline = upward ? float(DeviceX(where.x + 1)) : float(DeviceY(where.y + 1));
    std::vector<uint32_t> codes;
    std::vector<float> xs, ys;
    for (const FontFace::Piece& piece : pieces) {
        if (piece.code >= 0x20) {
            codes.push_back(piece.code);
            xs.push_back(upward ? baseline : along);
            ys.push_back(upward ? along : baseline);
        }
        float advance = font.fFixedAdvance > 0 ? font.fFixedAdvance * fScale : piece.width;
        along += upward ? -advance : advance;
    }
    if (codes.empty())
        return;
    rgb_color color = PaintColor(fState.high);
    native::TextRun run;
    run.fontFile = info.file.c_str();
    run.faceIndex = info.index;
    run.pixelSize = pixelSize;
    run.angle = upward ? 90 : 0;
    run.codes = codes.data();
    run.xs = xs.data();
    run.ys = ys.data();
    run.count = int(codes.size());
    fPainter->SetColor(color.red, color.green, color.blue, color.alpha);
    fPainter->DrawText(run);
}

void BView::DrawBitmap(const BBitmap* bitmap, BPoint where)
{
    if (bitmap == nullptr)
        return;
    BRect destination = bitmap->Bounds();
    destination.OffsetTo(where.x, where.y);
    DrawBitmap(bitmap, bitmap->Bounds(), destination);
}

void BView::DrawBitmap(const BBitmap* bitmap)
{
    DrawBitmap(bitmap, fState.pen);
}

void BView::DrawBitmap(const BBitmap* bitmap, BRect destination)
{
    if (bitmap != nullptr)
        DrawBitmap(bitmap, bitmap->Bounds(), destination);
}

void BView::DrawBitmap(const BBitmap* bitmap, BRect source, BRect destination)
{
    if (bitmap == nullptr || !bitmap->IsValid() || !destination.IsValid())
        return;
    if (fRecording != nullptr) {
        PictureOp op = Op(PictureOp::kBitmap, destination);
        op.source = source;
        op.bitmap = std::make_shared<BBitmap>(bitmap);
        Record(op);
        return;
    }
    if (!CanDraw())
        return;
    native::Image image;
    if (!bitmap->MakeImage(fState.mode, source, image))
        return;
    int x, y, width, height;
    DeviceRect(destination, x, y, width, height);
    fPainter->DrawImage(image, x, y, width, height);
}

void BView::BeginLineArray(int32 count)
{
    fLineArray.clear();
    fLineArray.reserve(size_t(std::clamp(count, 0, 4096)));
    fInLineArray = true;
}

void BView::AddLine(BPoint start, BPoint end, rgb_color color)
{
    if (fInLineArray)
        fLineArray.push_back({start, end, color});
}

void BView::EndLineArray()
{
    fInLineArray = false;
    std::vector<Line> lines;
    lines.swap(fLineArray);
    rgb_color high = fState.high;
    for (const Line& line : lines) {
        SetHighColor(line.color);
        StrokeLine(line.start, line.end);
    }
    SetHighColor(high);
}

void BView::BeginPicture(BPicture* picture)
{
    if (picture == nullptr)
        return;
    picture->Clear();
    fRecording = picture;
}

BPicture* BView::EndPicture()
{
    BPicture* picture = fRecording;
    fRecording = nullptr;
    return picture;
}

void BView::DrawPicture(const BPicture* picture, BPoint where)
{
    if (picture == nullptr)
        return;
    if (fRecording != nullptr) {
        PictureOp op = Op(PictureOp::kPicture, BRect(where, where));
        op.picture = std::make_shared<BPicture>(*picture);
        Record(op);
        return;
    }
    if (CanDraw())
        picture->Play(this, where);
}

void BView::DrawPicture(const BPicture* picture)
{
    DrawPicture(picture, fState.pen);
}
