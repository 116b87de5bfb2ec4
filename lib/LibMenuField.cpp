#include "LibMenuField.h"

#include "BMenuBar.h"
#include "BPopUpMenu.h"
#include "BSeparatorItem.h"
#include "LibStdDirNames.h"
#include "LibString.h"
#include "oMenuItem.h"

namespace {

struct Encoding {
    const char* label;
    int value;
};

// The text-conversion constants, in the menu's order.
constexpr Encoding kEncodings[] = {
    {"American / Western European (Latin 1)", 0},
    {"Central & Eastern European (Latin 2)", 1},
    {"Southern European (Latin 3)", 2},
    {"Northern European (Latin 4)", 3},
    {"Cyrillic", 4},
    {"Arabic", 5},
    {"Greek", 6},
    {"Hebrew", 7},
    {"Turkish (Latin 5)", 8},
    {"Nordic (Latin 6)", 9},
    {"Macintosh Roman", 10},
    {"Japanese Industrial Standard", 13},
    {"Shift Japanese Industrial Standard", 11},
    {"Japanese Extended UNIX Code", 12},
    {"MS Windows Codepage 1252", 14},
    {"MS Windows Codepage 1251", 17},
    {"Russian", 16},
    {"Japanese Korean", 20},
    {"Baltic Rim (Latin 7)", 21},
    {"Gaelic, Welsh (Latin 8)", 22},
    {"(Latin 9)", 23},
};

bool IsSeparator(const BMenuItem* item)
{
    return dynamic_cast<const BSeparatorItem*>(item) != nullptr;
}

} // namespace

LibMenuField::LibMenuField(
    BRect frame, const char* name, const int& fontSize, const bool& radioMode)
    : BMenuField(frame, name, nullptr, new BPopUpMenu("", radioMode, radioMode),
        B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW | B_NAVIGABLE)
{
    if (fontSize == 0)
        return;
    BFont font;
    font.SetSize(float(fontSize));
    Menu()->SetFont(&font);
    SetFont(&font);
}

LibMenuField::~LibMenuField() = default;

void LibMenuField::Add(const char* label, BMessage* message, const long& index)
{
    auto* item = new oMenuItem(label, message, 0, 0);
    BMenu* menu = Menu();
    if (!menu->AddItem(
            item, index < 0 || index > menu->CountItems() ? menu->CountItems() : int32(index))) {
        delete item;
        return;
    }
    if (menu->IsRadioMode() && menu->CountItems() == 1)
        item->SetMarked(true);
}

void LibMenuField::AddSeparatorItem()
{
    Menu()->AddSeparatorItem();
}

void LibMenuField::SetTo(const BMessage& message, const char* name, const unsigned long& command)
{
    if (!message.HasString(name))
        return;
    LibString marked = Text();
    Clear();
    const char* label = nullptr;
    for (int32 i = 0; message.FindString(name, i, &label) == B_OK; ++i)
        Add(label, command != 0 ? new BMessage(uint32(command)) : nullptr, -1);
    SetText(marked);
}

void LibMenuField::Clear()
{
    BMenu* menu = Menu();
    menu->RemoveItems(0, menu->CountItems(), true);
}

BMenuItem* LibMenuField::RemoveItem(const long& index)
{
    return Menu()->RemoveItem(int32(index));
}

BMenuItem* LibMenuField::RemoveItem(const char* label)
{
    BMenuItem* item = Find(label);
    return item != nullptr ? Menu()->RemoveItem(Menu()->IndexOf(item)) : nullptr;
}

void LibMenuField::Replace(const char* label, const char* newLabel)
{
    if (BMenuItem* item = Find(label))
        item->SetLabel(newLabel);
}

void LibMenuField::SetText(const char* label)
{
    if (BMenuItem* item = Find(label))
        item->SetMarked(true);
}

const char* LibMenuField::Text() const
{
    BMenuItem* marked = Menu()->FindMarked();
    return marked != nullptr ? marked->Label() : "";
}

void LibMenuField::SetItem(const long& index)
{
    if (BMenuItem* item = ItemAt(index))
        item->SetMarked(true);
}

long LibMenuField::CurrentSelection() const
{
    return Menu()->FindMarkedIndex();
}

BMenuItem* LibMenuField::ItemAt(const long& index) const
{
    return Menu()->ItemAt(int32(index));
}

long LibMenuField::IndexOf(const char* label) const
{
    BMenuItem* item = Find(label);
    return item != nullptr ? Menu()->IndexOf(item) : -1;
}

long LibMenuField::CountItems() const
{
    return Menu()->CountItems();
}

bool LibMenuField::InMenu(const char* label) const
{
    return Find(label) != nullptr;
}

bool LibMenuField::IsItemEnabled(const long& index) const
{
    BMenuItem* item = ItemAt(index);
    return item != nullptr && item->IsEnabled();
}

bool LibMenuField::IsItemEnabled(const char* label) const
{
    BMenuItem* item = Find(label);
    return item != nullptr && item->IsEnabled();
}

void LibMenuField::SetEnableItem(const long& index, const bool& enabled)
{
    if (BMenuItem* item = ItemAt(index))
        item->SetEnabled(enabled);
}

void LibMenuField::SetEnableItem(const char* label, const bool& enabled)
{
    if (BMenuItem* item = Find(label))
        item->SetEnabled(enabled);
}

void LibMenuField::SetEnableAll(const bool& enabled)
{
    for (int32 i = 0; i < Menu()->CountItems(); ++i)
        Menu()->ItemAt(i)->SetEnabled(enabled);
}

bool LibMenuField::IsMarked(const char* label) const
{
    BMenuItem* item = Find(label);
    return item != nullptr && item->IsMarked();
}

void LibMenuField::SetMarked(const char* label, const bool& marked)
{
    if (BMenuItem* item = Find(label))
        item->SetMarked(marked);
}

void LibMenuField::ToggleMarked(const char* label)
{
    if (BMenuItem* item = Find(label))
        item->SetMarked(!item->IsMarked());
}

void LibMenuField::MarkFirstEnabled()
{
    for (int32 i = 0; i < Menu()->CountItems(); ++i) {
        BMenuItem* item = Menu()->ItemAt(i);
        if (item->IsEnabled()) {
            item->SetMarked(true);
            return;
        }
        item->SetMarked(false);
    }
}

void LibMenuField::SetBitmap(const char* label, const char* bitmapName)
{
    if (auto* item = dynamic_cast<oMenuItem*>(Find(label))) {
        item->SetBitmap(bitmapName);
        Menu()->Invalidate();
    }
}

void LibMenuField::AddStdFolder(const directory_which& which, const unsigned long& command)
{
    LibString name;
    LibGetStdDirName(which, name);
    Add(name, new BMessage(uint32(command)), -1);
}

void LibMenuField::AddStdFolders(const bool& withSystemFolders, const unsigned long& command)
{
    for (int value : {0, 1, 4000, 4001, 4002})
        AddStdFolder(directory_which(value), command);
    AddSeparatorItem();
    if (withSystemFolders) {
        for (int value = 1000; value <= 1014; ++value)
            AddStdFolder(directory_which(value), command);
        AddSeparatorItem();
    }
    for (int value = 2000; value <= 2018; ++value)
        AddStdFolder(directory_which(value), command);
    AddSeparatorItem();
    for (int value = 3000; value <= 3011; ++value)
        AddStdFolder(directory_which(value), command);
}

void LibMenuField::AddEncodingItem(
    const char* label, const int& encoding, const unsigned long& command)
{
    auto* message = new BMessage(uint32(command));
    message->AddInt32("encoding", encoding);
    Add(label, message, -1);
}

void LibMenuField::AddEncodingChoices(const unsigned long& command)
{
    for (const Encoding& encoding : kEncodings)
        AddEncodingItem(encoding.label, encoding.value, command);
}

void LibMenuField::SetEncodingSelection(const int& encoding)
{
    for (int32 i = 0; i < Menu()->CountItems(); ++i) {
        BMenuItem* item = Menu()->ItemAt(i);
        int32 value = 0;
        if (item->Message() != nullptr && item->Message()->FindInt32("encoding", &value) == B_OK
            && value == encoding) {
            item->SetMarked(true);
            return;
        }
    }
}

int LibMenuField::CurrentEncodingSelected() const
{
    BMenuItem* marked = Menu()->FindMarked();
    int32 value = 0;
    if (marked != nullptr && marked->Message() != nullptr)
        marked->Message()->FindInt32("encoding", &value);
    return int(value);
}

void LibMenuField::KeyDown(const char* bytes, int32 numBytes)
{
    int32 marked = Menu()->FindMarkedIndex();
    int32 last = Menu()->CountItems() - 1;
    if (numBytes != 1 || marked < 0) {
        BMenuField::KeyDown(bytes, numBytes);
        return;
    }
    switch (uint8(bytes[0])) {
    case B_UP_ARROW:
        Step(marked - 1, -1);
        break;
    case B_DOWN_ARROW:
        Step(marked + 1, 1);
        break;
    case B_HOME:
        Step(0, 1);
        break;
    case B_END:
        Step(last, -1);
        break;
    default:
        BMenuField::KeyDown(bytes, numBytes);
        break;
    }
}

// From `from` on in `direction`, wrapping round, to the first item that is
// not a separator; a menu of separators only changes nothing.
void LibMenuField::Step(int32 from, int32 direction)
{
    int32 count = Menu()->CountItems();
    for (int32 tries = 0; tries < count; ++tries) {
        int32 index = ((from + direction * tries) % count + count) % count;
        BMenuItem* item = Menu()->ItemAt(index);
        if (IsSeparator(item))
            continue;
        // Outside radio mode marking does not unmark the others by itself.
        BMenuItem* old = Menu()->FindMarked();
        if (old != nullptr && old != item && !Menu()->IsRadioMode())
            old->SetMarked(false);
        item->SetMarked(true);
        if (item->Message() != nullptr)
            item->Invoke();
        return;
    }
}

BMenuItem* LibMenuField::Find(const char* label) const
{
    return label != nullptr ? Menu()->FindItem(label) : nullptr;
}
