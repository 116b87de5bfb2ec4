// Tagged sections in the user's shell start-up files (the boot script, the
// setup-environment file, the shell profile): added by the installer,
// removed by the deinstaller.
//
// A section runs from a line holding "#BEGIN_<tag>" to the next line holding
// "#END_<tag>". A marker counts anywhere on its line, but only when the tag
// ends there: what follows is the end of the line, white space or any other
// byte that cannot be part of a tag (not a letter, digit, '_', '-', '.' or
// non-ASCII byte), so removing tag "A" leaves a section tagged "AB" alone.
#pragma once

#include "FindDirectory.h"

// Removes every section tagged `tag` from the file `fileName` in the
// standard folder `which`, then, unless `contents` is null, appends one new
// section holding `contents`. A missing file is first copied from
// "<fileName>.sample" beside it, if there is one. The file's previous state
// is always left in "<file>.orig". The new text is written beside the file
// and renamed over it, so a crash leaves the old file or the new one. The
// file ends up typed "text/plain". Reports nothing and never stops its
// caller: a missing folder or an unreadable file is left as it is.
void EditScriptFile(
    const directory_which& which, const char* fileName, const char* tag, const char* contents);
