#include "StowclearOptions.h"

#include "ProgramName.h"
#include "oLocalize.h"

#include <cstring>

const char kStowclearUsage[]
    = "Usage: Stowclear [--volume PATH] [--to DIR] [--on-collision keep|replace]\n"
      "                 [--language CODE]\n"
      "       Stowclear --unattended [--volume PATH] [--to DIR] [--on-collision keep|replace]\n"
      "                 [--language CODE]\n"
      "       Stowclear --list [--volume PATH]\n"
      "       Stowclear --help | --version\n";

std::string stowclear_usage()
{
    return name_program(kStowclearUsage, "Stowclear");
}

const char kStowclearHelp[]
    = "Removes the product this deinstaller was placed with: searches a volume for\n"
      "every entry the installer tagged for the product, moves them into the Trash\n"
      "(or DIR), and removes the product's sections from the shell start-up files.\n"
      "Started in a terminal without --unattended or --list, it guides you through\n"
      "these steps (the options below preset them); elsewhere removing needs\n"
      "--unattended.\n"
      "\n"
      "  --unattended            remove without asking (questions take their defaults)\n"
      "  --list                  print what the search finds and remove nothing\n"
      "  --volume PATH           search the volume holding PATH (default: the boot volume)\n"
      "  --to DIR                move the entries into the folder DIR instead of the Trash\n"
      "  --on-collision ANSWER   when DIR already holds an entry of the same name:\n"
      "                          keep it (the new one gets a \" copy\" name) or replace it\n"
      "  --language CODE         en, fr, es, de, it, no, sv, da, nl or pt (kept for later runs)\n"
      "  --help, --version\n"
      "\n"
      "Exit status: 0 removed (or listed), 1 some entries could not be moved,\n"
      "2 usage error, 3 nothing found, 5 not configured to deinstall, 130 stopped.\n";

namespace {

struct ValueOption {
    const char* name;
    std::string StowclearOptions::*field;
};

constexpr ValueOption kValueOptions[] = {
    {"--volume", &StowclearOptions::volume},
    {"--to", &StowclearOptions::to},
    {"--language", &StowclearOptions::language},
};

bool Check(const StowclearOptions& options, const std::string& collision, std::string& error)
{
    if (!options.language.empty() && lib_language_index(options.language.c_str()) < 0) {
        error = "unknown language code '" + options.language + "'";
        return false;
    }
    if (!collision.empty() && collision != "keep" && collision != "replace") {
        error = "--on-collision takes keep or replace, not '" + collision + "'";
        return false;
    }
    if (options.list && !options.to.empty()) {
        error = "--list removes nothing, so --to has no use with it";
        return false;
    }
    return true;
}

} // namespace

bool ParseStowclearOptions(
    int argc, const char* const* argv, StowclearOptions& options, std::string& error)
{
    options = StowclearOptions();
    std::string collision;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        std::string name = argument.substr(0, argument.find('='));
        bool inlineValue = name.size() < argument.size();
        if (argument == "--unattended" || argument == "--list" || argument == "--help"
            || argument == "-h" || argument == "--version") {
            bool& flag = argument == "--unattended" ? options.unattended
                : argument == "--list"              ? options.list
                : argument == "--version"           ? options.version
                                                    : options.help;
            flag = true;
            continue;
        }
        std::string* target = name == "--on-collision" ? &collision : nullptr;
        for (const ValueOption& option : kValueOptions) {
            if (name == option.name)
                target = &(options.*option.field);
        }
        if (target == nullptr) {
            error = "unknown option '" + argument + "'";
            return false;
        }
        if (!inlineValue && i + 1 >= argc) {
            error = name + " needs a value";
            return false;
        }
        *target = inlineValue ? argument.substr(name.size() + 1) : argv[++i];
        if (target->empty()) {
            error = name + " needs a value";
            return false;
        }
    }
    if (!Check(options, collision, error))
        return false;
    if (!collision.empty())
        options.onCollision
            = collision == "keep" ? CollisionAnswer::Keep : CollisionAnswer::Replace;
    return true;
}
