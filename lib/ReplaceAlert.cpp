#include "ReplaceAlert.h"

#include "BEntry.h"
#include "BPath.h"
#include "LibAppInfo.h"
#include "LibBytes.h"
#include "LibFileDates.h"
#include "LibFileOperations.h"
#include "LibLocaleDateTime.h"
#include "LibMimeTypes.h"
#include "LibPaths.h"
#include "LibRect.h"
#include "StorageDefs.h"

namespace {

const char* const kRowNames[kReplaceAlertRowCount]
    = {"creation", "modified", "size", "kind", "path", "version"};

// Layout of the detail area. The existing entry's block comes first, then
// the caption, then the incoming item's block, then the check box.
constexpr float kFirstRowTop = 35;
constexpr float kRowHeight = 15;
constexpr float kLabelLeft = 40;
constexpr float kLabelWidth = 65;
constexpr float kValueLeft = 110;
constexpr float kValueWidth = 150;
constexpr float kPathWidth = 135;
constexpr float kIconTop = 65;
constexpr float kIconSize = 32;
constexpr float kCaptionTop = kFirstRowTop + float(int32(kReplaceAlertRowCount)) * kRowHeight;
constexpr float kCaptionWidth = 50;
constexpr float kSecondBlockOffset = kCaptionTop + kRowHeight - kFirstRowTop;
constexpr float kCheckBoxGap = 5;
constexpr float kCheckBoxWidth = 300;
constexpr float kCheckBoxHeight = 20;

LibString FormatTime(const LibDateTime& time)
{
    LibLocaleDateTime formatter;
    formatter.SetFormat("W, M D Y");
    formatter.SetSeperator(", ");
    formatter.SetShowSeconds(true);
    return formatter.Format(time);
}

LibString MimeType(const char* path)
{
    entry_ref ref;
    char type[B_MIME_TYPE_LENGTH] = {};
    if (!LibGetEntryRef(path, ref) || !LibGetMimeType(ref, type, false))
        return LibString("");
    return LibString(type);
}

} // namespace

ReplaceAlert::ReplaceAlert(
    const BPath& incoming, const BPath& existing, bool offerApplyToAll, const char* language)
    : BAlert("ReplaceAlert", MessageText(existing, language),
        replace_alert_texts(language).dontReplace, replace_alert_texts(language).replace, nullptr,
        B_WIDTH_FROM_WIDEST, B_WARNING_ALERT)
    , fTexts(replace_alert_texts(language))
    , fKindWord(KindWordOf(existing, fTexts))
    , fOffersApplyToAll(offerApplyToAll)
{
    SetShortcut(kDontReplaceButton, 'd');
    SetShortcut(kReplaceButton, 'r');
    SetDefaultButton(kDontReplaceButton);
    SetPurpose(kPurpose);

    AddBlock("to_", existing.Path(), 0);
    fViews.push_back({"with", LibRect(0, kCaptionTop, kCaptionWidth, kRowHeight), fTexts.caption});
    AddDetail(fTexts.caption);
    AddBlock("from_", incoming.Path(), kSecondBlockOffset);
    if (offerApplyToAll) {
        float top = kSecondBlockOffset + kCaptionTop + kCheckBoxGap;
        fViews.push_back({"future_collisions", LibRect(0, top, kCheckBoxWidth, kCheckBoxHeight),
            fTexts.checkBox});
        SetCheckBox(fTexts.checkBox, false);
    }
    LayDetailViews(existing.Path(), incoming.Path());
}

// The windowed dialog shows the rows where the layout puts them, in 10-point
// type, with each entry's large icon.
void ReplaceAlert::LayDetailViews(const char* existing, const char* incoming)
{
    for (const ReplaceAlertView& view : fViews) {
        AlertDetailView detail {
            view.name, view.frame, view.text, AlertDetailView::kText, kFontSize};
        if (view.name == "to_image" || view.name == "from_image") {
            detail.kind = AlertDetailView::kIcon;
            const char* path = view.name == "to_image" ? existing : incoming;
            detail.text = path != nullptr ? path : "";
        } else if (view.name == "future_collisions") {
            detail.kind = AlertDetailView::kCheckBox;
        }
        AddDetailView(detail);
    }
    SetDetailHeight(HeightGrowth());
}

ReplaceAlert::~ReplaceAlert() = default;

int32 ReplaceAlert::Go()
{
    int32 button = BAlert::Go();
    fApplyToAll = CheckBoxValue();
    return button;
}

int32 ReplaceAlert::Go(AlertService& service)
{
    int32 button = BAlert::Go(service);
    fApplyToAll = CheckBoxValue();
    return button;
}

void ReplaceAlert::EntryDetails(const char* path, LibString (&values)[kReplaceAlertRowCount])
{
    for (LibString& value : values)
        value = "";
    if (path == nullptr)
        return;
    values[kRowCreated] = FormatTime(LibCreationDate(path, true));
    values[kRowModified] = FormatTime(LibLastModifiedDate(path, true));
    int64 size = LibEntrySize64(path, false);
    LibBytesToString(static_cast<unsigned long>(size > 0 ? size : 0), values[kRowSize], 1);
    values[kRowKind] = MimeType(path);
    values[kRowPath] = path;
    values[kRowVersion] = LibGetAppVersion(path);
}

const char* ReplaceAlert::KindWordOf(const BPath& existing, const ReplaceAlertTexts& texts)
{
    BEntry entry(existing.Path());
    if (entry.IsSymLink())
        return texts.linkWord;
    if (entry.IsDirectory())
        return texts.folderWord;
    return texts.fileWord;
}

LibString ReplaceAlert::MessageText(const BPath& existing, const char* language)
{
    const ReplaceAlertTexts& texts = replace_alert_texts(language);
    const char* leaf = existing.Leaf() != nullptr ? existing.Leaf() : "";
    LibString text;
    text.Formatted(texts.message, KindWordOf(existing, texts), leaf);
    return text;
}

void ReplaceAlert::AddBlock(const char* prefix, const char* path, float offset)
{
    std::string name(prefix);
    fViews.push_back({name + "image", LibRect(0, kIconTop + offset, kIconSize, kIconSize), ""});
    LibString values[kReplaceAlertRowCount];
    EntryDetails(path, values);
    for (int32 row = 0; row < kReplaceAlertRowCount; ++row) {
        float top = kFirstRowTop + offset + row * kRowHeight;
        float width = row == kRowPath ? kPathWidth : kValueWidth;
        std::string value = name + kRowNames[row];
        fViews.push_back({value + "_label", LibRect(kLabelLeft, top, kLabelWidth, kRowHeight),
            fTexts.rows[row]});
        fViews.push_back({value, LibRect(kValueLeft, top, width, kRowHeight),
            static_cast<const char*>(values[row])});
        LibString line(fTexts.rows[row]);
        if (values[row].Length() > 0)
            line.Concat(' ').Concat(values[row]);
        AddDetail(line);
    }
}
