// Byte counts as the texts windows show ("1.5 KB") and back.
#pragma once

class LibString;

// "%.*f %s": the count in MB above 1048576 bytes, in KB above 1024 bytes,
// else in bytes (the boundaries take the smaller unit). `bytes` is an
// unsigned long, 64 bits on Linux, so counts beyond 4 GiB are shown as they
// are. `precision` is kept within 0 to 20.
void LibBytesToString(const unsigned long& bytes, LibString& text, int precision);
// The reverse for a number and a unit separated by the first space: "KB"
// multiplies by 1024, "MB" by 1048576 and "bytes" by 1; any other unit, or
// none, gives 0. A number that does not parse (or is negative) gives 0 with
// a note on standard error.
unsigned long LibStringToBytes(const char* text);
