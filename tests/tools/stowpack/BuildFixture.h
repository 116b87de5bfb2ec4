// A product folder for the build tests: stand-ins for the base program and
// the deinstaller, a description, and the record of the installer built.
#pragma once

#include "BMessage.h"
#include "BResources.h"
#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace buildtest {

namespace fs = std::filesystem;

inline stowtest::RunResult Stowpack(const std::vector<std::string>& args)
{
    std::vector<std::string> argv {stowtest::BinPath("stowpack")};
    argv.insert(argv.end(), args.begin(), args.end());
    return stowtest::Run(argv);
}

inline bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

struct ProductFolder {
    stowtest::TempDir dir;
    std::string base = (dir / "base").string();
    std::string deinstaller = (dir / "deinstaller").string();
    std::string output = (dir / "installer").string();

    ProductFolder()
    {
        fs::copy_file("/bin/true", base);
        fs::copy_file("/bin/false", deinstaller);
        // The builder takes only programs that carry their string tables.
        stowtest::Run({stowtest::BinPath("stowres"), "strings", base,
            stowtest::SourcePath("installer/strings")});
        stowtest::Run({stowtest::BinPath("stowres"), "strings", deinstaller,
            stowtest::SourcePath("deinstaller/strings")});
    }

    std::string Path(const std::string& relative) const { return (dir / relative).string(); }

    void Write(const std::string& relative, const std::string& contents) const
    {
        fs::create_directories(fs::path(Path(relative)).parent_path());
        stowtest::WriteFile(Path(relative), contents);
    }

    stowtest::RunResult Build(const std::string& description)
    {
        Write("product.json", description);
        return Stowpack({"build", Path("product.json"), "-o", output, "--base", base,
            "--deinstaller", deinstaller});
    }

    // The record of the installer built, read back as the installer reads it.
    BMessage Record() const
    {
        BMessage record;
        BFile file(output.c_str(), B_READ_ONLY);
        BResources resources(&file);
        size_t size = 0;
        const void* bytes = resources.LoadResource(B_STRING_TYPE, 2002, &size);
        EXPECT_NE(bytes, nullptr);
        if (bytes != nullptr) {
            EXPECT_EQ(record.Unflatten(static_cast<const char*>(bytes), size), B_OK);
        }
        return record;
    }

    // The files of the product folder, to see that a failed build left none.
    std::vector<std::string> Listing() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.Path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

inline type_code TypeOf(const BMessage& message, const char* name)
{
    type_code type = 0;
    message.GetInfo(name, &type);
    return type;
}

inline BMessage Sub(const BMessage& message, const char* name, int32 index = 0)
{
    BMessage sub;
    EXPECT_EQ(message.FindMessage(name, index, &sub), B_OK) << name;
    return sub;
}

// Entry i of "install_instructions".
inline BMessage Entry(const BMessage& record, int32 i)
{
    return Sub(Sub(record, "install_instructions"), "install_file", i);
}

} // namespace buildtest
