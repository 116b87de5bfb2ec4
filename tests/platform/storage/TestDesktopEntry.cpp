// Desktop entries that menus take: what desktop-file-validate accepts, for
// programs and other files, with names that need quoting and escaping.
#include "DesktopEntry.h"
#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using stowtest::TempDir;

TEST(DesktopEntry, ProgramsAndDocumentsMakeEntriesThatValidate)
{
    if (!fs::exists("/usr/bin/desktop-file-validate"))
        GTEST_SKIP() << "desktop-file-validate is not installed (desktop-file-utils)";
    TempDir dir;
    const fs::path program = dir / "My \"Tool\" $HOME 100%\\x";
    stowtest::WriteFile(program, "#!/bin/sh\n");
    fs::permissions(program, fs::perms::owner_all);
    const fs::path manual = dir / "Manual (en).txt";
    stowtest::WriteFile(manual, "read me\n");

    const DesktopEntry tool(program.string(), " My Tool", "/opt/tool/icon.png");
    EXPECT_NE(tool.Text().find("Type=Application\n"), std::string::npos);
    EXPECT_NE(tool.Text().find("Name=\\sMy Tool\n"), std::string::npos);
    EXPECT_NE(tool.Text().find(
                  "Exec=\"" + dir.Str() + "/My \\\\\"Tool\\\\\" \\\\$HOME 100%%\\\\\\\\x\"\n"),
        std::string::npos)
        << tool.Text();
    const DesktopEntry document(manual.string(), "Manual");
    EXPECT_NE(document.Text().find(
                  "Type=Link\nName=Manual\nURL=file://" + dir.Str() + "/Manual%20%28en%29.txt\n"),
        std::string::npos)
        << document.Text();

    for (const auto* entry : {&tool, &document}) {
        const fs::path file = dir / DesktopEntry::FileName(entry == &tool ? "My Tool" : "Manual");
        ASSERT_EQ(entry->Write(file.string()), B_OK);
        auto checked = stowtest::Run({"/usr/bin/desktop-file-validate", file.string()});
        EXPECT_EQ(checked.exitCode, 0) << checked.out << checked.err << entry->Text();
    }
    EXPECT_EQ(DesktopEntry::FileName("My Tool"), "My-Tool.desktop");
    EXPECT_EQ(DesktopEntry::FileName(".hidden"), "app.hidden.desktop");
}
