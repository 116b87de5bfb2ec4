#include "BPicture.h"

#include "BBitmap.h"
#include "BView.h"

namespace {

BRect Moved(BRect rect, BPoint offset)
{
    return rect.OffsetBy(offset.x, offset.y);
}

std::vector<BPoint> Moved(const std::vector<BPoint>& points, BPoint offset)
{
    std::vector<BPoint> moved;
    moved.reserve(points.size());
    for (BPoint point : points)
        moved.push_back(point + offset);
    return moved;
}

} // namespace

BPicture::BPicture() = default;

BPicture::BPicture(const BPicture& other) = default;

BPicture& BPicture::operator=(const BPicture& other) = default;

BPicture::~BPicture() = default;

void BPicture::Add(const PictureOp& op)
{
    fOps.push_back(op);
}

void BPicture::Clear()
{
    fOps.clear();
}

BRect BPicture::Frame() const
{
    BRect frame;
    bool any = false;
    auto take = [&](BRect rect) {
        frame = any ? (frame | rect) : rect;
        any = true;
    };
    for (const PictureOp& op : fOps) {
        switch (op.kind) {
        case PictureOp::kStrokeLine:
        case PictureOp::kStrokePolygon:
        case PictureOp::kFillPolygon:
            for (BPoint point : op.points)
                take(BRect(point, point));
            break;
        case PictureOp::kStrokeRect:
        case PictureOp::kFillRect:
        case PictureOp::kStrokeRoundRect:
        case PictureOp::kFillRoundRect:
        case PictureOp::kStrokeEllipse:
        case PictureOp::kFillEllipse:
        case PictureOp::kInvertRect:
        case PictureOp::kBitmap:
            take(op.rect);
            break;
        case PictureOp::kPicture:
            if (op.picture != nullptr && op.picture->CountOps() > 0)
                take(Moved(op.picture->Frame(), op.rect.LeftTop()));
            break;
        default:
            break;
        }
    }
    return frame;
}

void BPicture::Play(BView* view, BPoint offset) const
{
    view->PushState();
    for (const PictureOp& op : fOps) {
        switch (op.kind) {
        case PictureOp::kHighColor:
            view->SetHighColor(op.color);
            break;
        case PictureOp::kLowColor:
            view->SetLowColor(op.color);
            break;
        case PictureOp::kDrawingMode:
            view->SetDrawingMode(op.mode);
            break;
        case PictureOp::kPenSize:
            view->SetPenSize(op.value);
            break;
        case PictureOp::kFontSize:
            view->SetFontSize(op.value);
            break;
        case PictureOp::kMovePen:
            view->MovePenTo(op.rect.LeftTop() + offset);
            break;
        case PictureOp::kStrokeLine:
            if (op.points.size() == 2)
                view->StrokeLine(op.points[0] + offset, op.points[1] + offset, op.fill);
            break;
        case PictureOp::kStrokeRect:
            view->StrokeRect(Moved(op.rect, offset), op.fill);
            break;
        case PictureOp::kFillRect:
            view->FillRect(Moved(op.rect, offset), op.fill);
            break;
        case PictureOp::kStrokeRoundRect:
            view->StrokeRoundRect(Moved(op.rect, offset), op.xRadius, op.yRadius, op.fill);
            break;
        case PictureOp::kFillRoundRect:
            view->FillRoundRect(Moved(op.rect, offset), op.xRadius, op.yRadius, op.fill);
            break;
        case PictureOp::kStrokeEllipse:
            view->StrokeEllipse(Moved(op.rect, offset), op.fill);
            break;
        case PictureOp::kFillEllipse:
            view->FillEllipse(Moved(op.rect, offset), op.fill);
            break;
        case PictureOp::kStrokePolygon: {
            std::vector<BPoint> points = Moved(op.points, offset);
            view->StrokePolygon(points.data(), int32(points.size()), op.closed, op.fill);
            break;
        }
        case PictureOp::kFillPolygon: {
            std::vector<BPoint> points = Moved(op.points, offset);
            view->FillPolygon(points.data(), int32(points.size()), op.fill);
            break;
        }
        case PictureOp::kInvertRect:
            view->InvertRect(Moved(op.rect, offset));
            break;
        case PictureOp::kString:
            view->DrawString(op.text.c_str(), op.rect.LeftTop() + offset);
            break;
        case PictureOp::kBitmap:
            if (op.bitmap != nullptr)
                view->DrawBitmap(op.bitmap.get(), op.source, Moved(op.rect, offset));
            break;
        case PictureOp::kPicture:
            if (op.picture != nullptr)
                op.picture->Play(view, op.rect.LeftTop() + offset);
            break;
        }
    }
    view->PopState();
}
