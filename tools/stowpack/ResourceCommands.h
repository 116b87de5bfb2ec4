// stowpack's resource commands (each in a source file of its own) and what
// they share: reading TYPE and ID arguments and naming failures.
#pragma once

#include "BResources.h"
#include "Command.h"

extern const Command kResourcesCommand; // stowpack resources FILE
extern const Command kExtractCommand;   // stowpack extract FILE TYPE ID OUT
extern const Command kAddCommand;       // stowpack add FILE TYPE ID NAME DATAFILE
extern const Command kRemoveCommand;    // stowpack remove FILE TYPE ID
extern const Command kVerifyCommand;    // stowpack verify FILE

namespace ResourceArgs {

// A four-character type code, bare (CSTR) or quoted ('CSTR').
bool ParseType(const std::string& text, type_code& type);
// A decimal 32-bit id, negative ones included.
bool ParseId(const std::string& text, int32& id);

// "'CSTR'", with non-printable bytes shown as '.'.
std::string TypeText(type_code type);
// A name as a quoted text, control characters escaped, so that any name
// prints on one line.
std::string Quoted(const std::string& name);
// Why a file or resource operation failed, in words.
std::string Explain(status_t status);

enum class Access { ReadOnly, ReadWrite };

// Opens FILE's resources for the command; a damaged container is refused
// too. On failure prints why and answers false with `exitCode` set.
bool Open(CommandContext& context, const std::string& path, Access access, BResources& resources,
    int& exitCode);

// Reads the TYPE and ID arguments; a usage error sets `exitCode`.
bool ParseTypeAndId(CommandContext& context, const std::string& typeText, const std::string& idText,
    type_code& type, int32& id, int& exitCode);

// Reads the FILE, TYPE and ID arguments (the first three) and opens FILE's
// resources; the resource must be there. On failure prints why and answers
// false with `exitCode` set.
bool OpenExisting(CommandContext& context, Access access, BResources& resources, type_code& type,
    int32& id, int& exitCode);

} // namespace ResourceArgs
