// The 16 by 16 icons of the install list's rows ("file_icon"), one drawn
// for each kind of item, archived as "LibBitmap" in 32-bit colour with alpha.
#pragma once

#include "BMessage.h"
#include "ItemMeasure.h"

namespace FileIcons {

constexpr int32 kSize = 16;

BMessage Archive(ItemFacts::Kind kind);

} // namespace FileIcons
