// stowpack build PRODUCT.json -o OUT: makes an installer from a product
// description (docs/product-description.md).
#include "BuildCommands.h"
#include "InstallerWriter.h"
#include "ProductReader.h"

#include <filesystem>
#include <ostream>

namespace fs = std::filesystem;

namespace {

struct BuildArgs {
    std::string description;
    InstallerPaths paths;
};

// A program built beside stowpack.
std::string Sibling(const char* name)
{
    std::error_code code;
    fs::path self = fs::read_symlink("/proc/self/exe", code);
    return code ? std::string(name) : (self.parent_path() / name).string();
}

bool ParseArgs(CommandContext& context, BuildArgs& args, std::string& problem)
{
    args.paths.base = Sibling("Stowfast");
    args.paths.deinstaller = Sibling("Stowclear");
    const std::vector<std::string>& words = context.args;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        std::string* target = nullptr;
        if (word == "-o" || word == "--output")
            target = &args.paths.output;
        else if (word == "--base")
            target = &args.paths.base;
        else if (word == "--deinstaller")
            target = &args.paths.deinstaller;
        if (target != nullptr) {
            if (i + 1 == words.size() || words[i + 1].empty()) {
                problem = word + " needs a path";
                return false;
            }
            *target = words[++i];
        } else if (word.size() > 1 && word[0] == '-') {
            problem = "unknown option '" + word + "'";
            return false;
        } else if (args.description.empty()) {
            args.description = word;
        } else {
            problem = "build takes one PRODUCT.json";
            return false;
        }
    }
    if (args.description.empty() || args.paths.output.empty()) {
        problem = "build takes PRODUCT.json and -o OUT";
        return false;
    }
    return true;
}

int RunBuild(CommandContext& context)
{
    BuildArgs args;
    std::string problem, text;
    if (!ParseArgs(context, args, problem))
        return UsageError(context.err, problem);
    if (!ReadInputFile(args.description, text, problem))
        return Failure(context.err, problem);
    std::string folder = args.description == "-"
        ? fs::current_path().string()
        : fs::absolute(args.description).parent_path().string();
    ProductReader reader(folder);
    Product product;
    bool good = reader.Read(text, product);
    for (const std::string& warning : reader.Warnings())
        context.err << "stowpack: warning: " << args.description << ": " << warning << "\n";
    for (const std::string& error : reader.Errors())
        context.err << "stowpack: " << args.description << ": " << error << "\n";
    if (!good)
        return Failure(context.err,
            args.description + ": " + std::to_string(reader.Errors().size())
                + " problem(s); no installer was written");
    InstallerWriter writer(args.paths, context.err);
    if (!writer.Write(product, problem))
        return Failure(context.err, problem + "; no installer was written");
    context.out << args.paths.output << ": " << product.items.size() << " item(s)"
                << (product.includeDeinstaller ? " and the deinstaller" : "") << "\n";
    return kExitOk;
}

} // namespace

const Command kBuildCommand = {
    "build",
    "build an installer from a product description",
    "stowpack build PRODUCT.json -o OUT [--base PROGRAM] [--deinstaller PROGRAM]",
    RunBuild,
};
