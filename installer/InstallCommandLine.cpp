#include "InstallCommandLine.h"

#include "ProgramName.h"
#include "oLocalize.h"

namespace {

constexpr const char kHelp[]
    = "Usage: Stowfast [--dest DIR] [--language CODE]\n"
      "       Stowfast --unattended [OPTIONS]\n"
      "       Stowfast --list | --check | --help | --version\n"
      "\n"
      "Installs the product this installer carries. Started in a terminal\n"
      "without --unattended, it guides you through the installation step by\n"
      "step (--dest and --language preset it); elsewhere installing needs\n"
      "--unattended.\n"
      "\n"
      "Options:\n"
      "  --unattended           install without asking: every question takes its\n"
      "                         default answer or the one given below\n"
      "  --dest DIR             the folder in which the product folder is made\n"
      "                         (default: the installer's own default folder)\n"
      "  --group NAME           install the files of this group (repeatable)\n"
      "  --file LEAF            install the file of this name (repeatable)\n"
      "  --all                  install every file\n"
      "                         (without --group, --file or --all: the first group)\n"
      "  --accept-license       accept the product's license (needed when it has one)\n"
      "  --language CODE        en, fr, es, de, it, no, sv, da, nl or pt; kept on the\n"
      "                         installer for later starts\n"
      "  --on-collision MODE    keep or replace an existing file where the product\n"
      "                         asks (default keep)\n"
      "  --launch               run the installed programs the product offers to run\n"
      "                         (default: later)\n"
      "  --restart              restart the computer when the product asks for it\n"
      "                         (default: restart later)\n"
      "  --save-record FILE     write the configuration record, with the installed\n"
      "                         paths, to FILE after the run (a flattened message)\n"
      "  --list                 show the groups and files with their sizes\n"
      "  --check                verify every resource of the installer\n"
      "  --help, --version\n"
      "\n"
      "Exit status: 0 installed, 1 destination unusable, 2 usage error,\n"
      "3 not enough space, 4 stopped by a requirement, 5 damaged installer or no\n"
      "configuration, 130 interrupted.\n";

// Options that take a value, and where it goes.
std::string* ValueTarget(const std::string& name, InstallOptions& options)
{
    if (name == "--dest")
        return &options.destination;
    if (name == "--language")
        return &options.language;
    if (name == "--save-record")
        return &options.saveRecord;
    return nullptr;
}

bool SetTask(InstallOptions& options, InstallOptions::Task task, std::string& problem)
{
    if (options.task != InstallOptions::Task::Install && options.task != task) {
        problem = "--list, --check, --help and --version go alone";
        return false;
    }
    options.task = task;
    return true;
}

bool TakeValue(const std::string& name, const std::string& value, InstallOptions& options,
    std::string& problem)
{
    if (value.empty()) {
        problem = name + " needs a value";
        return false;
    }
    if (name == "--group") {
        options.groups.push_back(value);
    } else if (name == "--file") {
        options.files.push_back(value);
    } else if (name == "--on-collision") {
        if (value != "keep" && value != "replace") {
            problem = "--on-collision takes keep or replace";
            return false;
        }
        options.collision = value == "keep" ? InstallOptions::Collision::Keep
                                            : InstallOptions::Collision::Replace;
    } else {
        *ValueTarget(name, options) = value;
        if (name == "--language" && lib_language_index(value.c_str()) < 0) {
            problem = "unknown language '" + value + "'";
            return false;
        }
    }
    return true;
}

bool TakesValue(const std::string& name, InstallOptions& options)
{
    return ValueTarget(name, options) != nullptr || name == "--group" || name == "--file"
        || name == "--on-collision";
}

bool TakeSwitch(const std::string& word, InstallOptions& options, std::string& problem)
{
    using Task = InstallOptions::Task;
    if (word == "--unattended")
        options.unattended = true;
    else if (word == "--all")
        options.all = true;
    else if (word == "--accept-license")
        options.acceptLicense = true;
    else if (word == "--launch")
        options.launch = true;
    else if (word == "--restart")
        options.restart = true;
    else if (word == "--list")
        return SetTask(options, Task::List, problem);
    else if (word == "--check")
        return SetTask(options, Task::Check, problem);
    else if (word == "--help" || word == "-h")
        return SetTask(options, Task::Help, problem);
    else if (word == "--version")
        return SetTask(options, Task::Version, problem);
    else {
        problem = word.rfind("--", 0) == 0 || word.rfind('-', 0) == 0
            ? "unknown option '" + word + "'"
            : "unexpected argument '" + word + "'";
        return false;
    }
    return true;
}

} // namespace

bool InstallCommandLine::Parse(
    const std::vector<std::string>& args, InstallOptions& options, std::string& problem)
{
    options = InstallOptions();
    for (size_t i = 0; i < args.size(); ++i) {
        std::string word = args[i];
        size_t equal = word.find('=');
        if (word.rfind("--", 0) == 0 && equal != std::string::npos) {
            std::string name = word.substr(0, equal);
            if (!TakesValue(name, options)) {
                problem = name + " takes no value";
                return false;
            }
            if (!TakeValue(name, word.substr(equal + 1), options, problem))
                return false;
        } else if (TakesValue(word, options)) {
            if (i + 1 == args.size()) {
                problem = word + " needs a value";
                return false;
            }
            if (!TakeValue(word, args[++i], options, problem))
                return false;
        } else if (!TakeSwitch(word, options, problem)) {
            return false;
        }
    }
    if (options.all && (!options.groups.empty() || !options.files.empty())) {
        problem = "--all goes without --group and --file";
        return false;
    }
    return true;
}

std::string InstallCommandLine::HelpText()
{
    return name_program(kHelp, "Stowfast");
}
