// The name a program was started by, for the texts that show how to start
// it: an installer is a copy of Stowfast under its product's name, and a
// placed deinstaller is called "<product> <version> Deinstaller".
#pragma once

#include <string>

// The leaf name of the started file, quoted when it holds a space; `usual`
// when it cannot be told.
std::string program_name(const char* usual);

// `text` with every `usual` replaced by program_name(usual); lines that
// continue a usage line (blanks, then "[") move along so they stay in line.
std::string name_program(const std::string& text, const char* usual);
