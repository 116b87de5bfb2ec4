// Recorded drawing: a view between BeginPicture() and EndPicture() records
// its drawing calls here instead of drawing, and DrawPicture() replays them
// anywhere, at any scale (the picture keeps points, not pixels).
#pragma once

#include "BRect.h"
#include "GraphicsDefs.h"

#include <memory>
#include <string>
#include <vector>

class BBitmap;
class BView;

// One recorded call.
struct PictureOp {
    enum Kind {
        kHighColor,
        kLowColor,
        kDrawingMode,
        kPenSize,
        kFontSize,
        kMovePen,
        kStrokeLine,
        kStrokeRect,
        kFillRect,
        kStrokeRoundRect,
        kFillRoundRect,
        kStrokeEllipse,
        kFillEllipse,
        kStrokePolygon,
        kFillPolygon,
        kInvertRect,
        kString,
        kBitmap,
        kPicture,
    };

    Kind kind = kFillRect;
    rgb_color color = {0, 0, 0, 255};
    drawing_mode mode = B_OP_COPY;
    float value = 0; // pen size, font size
    BRect rect;
    BRect source; // of a bitmap
    float xRadius = 0;
    float yRadius = 0;
    std::vector<BPoint> points;
    bool closed = true;
    pattern fill = B_SOLID_HIGH;
    std::string text;
    std::shared_ptr<const BBitmap> bitmap;
    std::shared_ptr<const class BPicture> picture;
};

class BPicture {
public:
    BPicture();
    BPicture(const BPicture& other);
    BPicture& operator=(const BPicture& other);
    virtual ~BPicture();

    int32 CountOps() const { return int32(fOps.size()); }
    const PictureOp& OpAt(int32 index) const { return fOps[size_t(index)]; }
    // The area the drawing covers (points, relative to where it is drawn).
    BRect Frame() const;

private:
    friend class BView;

    void Add(const PictureOp& op);
    void Clear();
    // Replays into `view` moved by `offset`; the view's drawing state is
    // saved around it.
    void Play(BView* view, BPoint offset) const;

    std::vector<PictureOp> fOps;
};
