// The product's about picture, 150 by 200 points, and its texts (name,
// version, release date, company, e-mail) written upward in columns: a click
// toggles between the two; without a picture the texts show. Both programs'
// windows show it. In its editing mode (which neither program switches on)
// a tertiary click offers "Remove", and a PNG file dropped on it becomes the
// picture.
#pragma once

#include "BBox.h"
#include "LibString.h"

class BBitmap;
class BMessage;
struct entry_ref;

// Posted to the view's window when a dropped file changed the picture.
constexpr uint32 kImageChanged = 'eiia';

class InstallImage : public BBox {
public:
    static constexpr float kWidth = 150;
    static constexpr float kHeight = 200;

    InstallImage(BPoint topLeft, bool editable);
    ~InstallImage() override;

    void SetAppName(const char* name);
    void SetVersion(const char* version);
    void SetDate(const char* date);
    void SetCompany(const char* company);
    void SetEmail(const char* email);

    // Replaces the picture by the bitmap archived in `archive` (none for an
    // empty one); whether the picture or the texts show stays as it was.
    void SetImage(BMessage& archive);
    // Archives the picture, when there is one, into `archive`.
    void GetImage(BMessage& archive);
    void ClearImage();
    // Takes the picture file `ref` as the new picture: a picture of another
    // size than 150 by 200 is taken after a warning, a file that is no
    // picture gives an error alert and leaves none.
    void ProcessImage(entry_ref& ref);

    bool ShowsPicture() const { return fShowPicture; }
    const BBitmap* Picture() const { return fPicture; }
    // The baseline's start of text `column` (0 the name ... 4 the e-mail),
    // and its size: 18 points for the name, 14 for the others, less for a
    // text that would not fit the height otherwise.
    float TextStart(int column) const { return fStarts[column]; }
    float TextSize(int column) const { return fSizes[column]; }

    void MouseDown(BPoint where) override;
    void MessageReceived(BMessage* message) override;
    void Draw(BRect updateRect) override;

private:
    enum Column { kName, kVersion, kDate, kCompany, kEmail, kColumns };

    void SetText(Column column, const char* text, float size);
    void OfferRemove(BPoint where);

    bool fEditable;
    BBitmap* fPicture = nullptr;
    bool fShowPicture = true;
    float fStarts[kColumns] = {};
    float fSizes[kColumns] = {};
    LibString fTexts[kColumns];
};
