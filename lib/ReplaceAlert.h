// The question asked when an item is to be placed where an entry of the same
// name already is: replace the existing entry or not, optionally for every
// later collision too. It shows both entries' dates, sizes, kinds, paths and
// versions, in the language it is given, and is answered through the alert
// service like every other alert (purpose "collision").
#pragma once

#include "BAlert.h"
#include "BRect.h"
#include "LibString.h"
#include "ReplaceAlertTexts.h"

#include <string>
#include <vector>

class BPath;

// One view of the dialog's detail area, as a windowed presenter lays it out
// inside the alert's text area (10-point type).
struct ReplaceAlertView {
    std::string name; // "to_creation", "to_creation_label", "with", ...
    BRect frame;
    std::string text; // empty for the icons and for values not known
};

class ReplaceAlert : public BAlert {
public:
    static constexpr const char* kPurpose = "collision";
    static constexpr int32 kDontReplaceButton = 0;
    static constexpr int32 kReplaceButton = 1;
    // What the check box sends when it is clicked.
    static constexpr uint32 kApplyToAllMessage = 1000;
    static constexpr float kFontSize = 10;

    // `existing` is the entry already in place, `incoming` the item that
    // would take its place. The default answer is Don't Replace.
    ReplaceAlert(
        const BPath& incoming, const BPath& existing, bool offerApplyToAll, const char* language);
    ~ReplaceAlert();

    // Asks and returns the button: 0 Don't Replace, 1 Replace (-1 when the
    // alert could not be asked). The apply-to-all choice is taken with it.
    int32 Go();
    int32 Go(AlertService& service);
    bool ApplyToAll() const { return fApplyToAll; }

    const ReplaceAlertTexts& Texts() const { return fTexts; }
    // The word for the existing entry: file, folder or symbolic link.
    const char* KindWord() const { return fKindWord; }
    const std::vector<ReplaceAlertView>& Views() const { return fViews; }
    // How much taller than a plain alert the dialog is.
    float HeightGrowth() const { return fOffersApplyToAll ? 240 : 220; }

    // The six row values of the entry at `path`, in ReplaceAlertRow order.
    static void EntryDetails(const char* path, LibString (&values)[kReplaceAlertRowCount]);

private:
    static const char* KindWordOf(const BPath& existing, const ReplaceAlertTexts& texts);
    static LibString MessageText(const BPath& existing, const char* language);
    // The icon and six rows of one entry, its top `offset` below the area's.
    void AddBlock(const char* prefix, const char* path, float offset);
    void LayDetailViews(const char* existing, const char* incoming);

    const ReplaceAlertTexts& fTexts;
    const char* fKindWord;
    bool fOffersApplyToAll;
    bool fApplyToAll = false;
    std::vector<ReplaceAlertView> fViews;
};
