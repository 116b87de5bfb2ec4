// The deinstaller's collision question, asked before an entry is moved into
// a chosen folder that already holds an entry of the same name.
#pragma once

class BPath;

// When `destination` holds an entry named like `entry`: asks (while `ask`),
// in English, whether to replace it, and with Replace (now or remembered in
// `replace`) deletes that existing entry, which lies in `destination`
// itself. Ticking "Apply to all future collisions" turns `ask` off, so the
// answer in `replace` stands for every later collision.
void CheckAndPrompt(const BPath& entry, const char* destination, bool& ask, bool& replace);
