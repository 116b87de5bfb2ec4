// The start-up folder section and the three script edits of an install and
// a removal, checked with the shell itself: every edited file parses, the
// profile's section takes effect, and a removal gives back the user's text.
#include "ScriptFolders.h"

#include "EditScriptFile.h"
#include "InstallConfig.h"
#include "StartupSection.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using stowtest::ReadFile;
using stowtest::RunResult;
using stowtest::WriteFile;

namespace {

// Lines 19 to 53 of the start-up section, written out independently of the
// code's escaped literals.
const char kStartupBody[] = R"(if [ -d $startup_folder ]
then
	#
	# Add items with attributes to file
	#
	echo "#!/bin/sh" > /tmp/startup_pri_$$
	/bin/catattr run_priority "$startup_folder"/* 2>| /tmp/errs_$$ |
	/bin/awk -F: '{printf("%s~\"%s\"\n",$NF,substr($1,0,length($1)-1));}' |
	sort -n |
	/bin/awk -F '~' '{printf("%s &\n",$2)}' >> /tmp/startup_pri_$$
	#
	# get items that dont have the proper attributes
	#
	echo "#!/bin/sh" > /tmp/startup_no_pri_$$
	sed -e 's/ file /~/' -e 's/ attribute /~/' /tmp/errs_$$ |
	/bin/awk -F '~' '{printf("\""$2"\" &\n")}' >> /tmp/startup_no_pri_$$
	#
	# Change permission
	#
	/bin/chmod a+x /tmp/startup_pri_$$
	/bin/chmod a+x /tmp/startup_no_pri_$$
	#
	# Execute files in background
	#
	/tmp/startup_pri_$$
	/bin/sleep 1
	/tmp/startup_no_pri_$$
	#
	# Clean up files
	#
	/bin/rm -f /tmp/startup_pri_$$
	/bin/rm -f /tmp/startup_no_pri_$$
	/bin/rm -f /tmp/errs_$$
fi
#)";

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t newline; (newline = text.find('\n', start)) != std::string::npos;
         start = newline + 1)
        lines.push_back(text.substr(start, newline - start));
    lines.push_back(text.substr(start));
    return lines;
}

RunResult Shell(const std::vector<std::string>& args, const std::string& home = {})
{
    std::vector<std::string> argv {"/bin/sh"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::map<std::string, std::string> env;
    if (!home.empty())
        env["HOME"] = home;
    return stowtest::Run(argv, {}, env);
}

} // namespace

TEST(StartupSection, TextLineByLine)
{
    const char folder[] = "/home/tester/config/boot/StartUp";
    std::string text = static_cast<const char*>(StartupSectionText(folder));
    EXPECT_EQ(text.size(), 1536 + strlen(folder));
    std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(lines.size(), 53u);
    EXPECT_EQ(lines[0], "#");
    EXPECT_EQ(lines[1], "# This section was placed by Stowfast.");
    EXPECT_EQ(lines[2], "# If you are having trouble with these commands,");
    EXPECT_EQ(lines[5], "# These commands gathers items in the start-up file at boot time");
    EXPECT_EQ(lines[8], "# Those with a run_priority are sorted so those with the lowest priority");
    EXPECT_EQ(lines[14], "# Any alterations done in this section may be lost");
    EXPECT_EQ(lines[15], "# during the next installation of this product.");
    for (int free : {3, 11, 12})
        EXPECT_EQ(lines[free].rfind("# ", 0), 0u) << lines[free];
    EXPECT_NE(lines[3].find('@'), std::string::npos);
    EXPECT_EQ(lines[17], std::string("startup_folder=") + folder);
    EXPECT_EQ(text.substr(text.find("if [ -d")), kStartupBody);
    EXPECT_EQ(Shell({"-n", "-c", text}).exitCode, 0);
}

TEST(StartupSection, FolderNamesNeverRunCommands)
{
    stowtest::TempDir dir;
    std::string folder = "/home/o'neil/My Apps/$(touch " + dir.Str() + "/ran)`touch " + dir.Str()
        + "/ran`;StartUp";
    std::string text = static_cast<const char*>(StartupSectionText(folder.c_str()));
    EXPECT_EQ(text.size(), 1536 + Lines(text)[17].size() - 15);
    RunResult result = Shell({"-c", Lines(text)[17] + "\nprintf %s \"$startup_folder\""});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, folder);
    EXPECT_FALSE(fs::exists(dir / "ran"));
    EXPECT_EQ(Shell({"-n", "-c", text}).exitCode, 0);
    EXPECT_EQ(Lines(static_cast<const char*>(StartupSectionText("")))[17], "startup_folder=");
}

class ScriptEditing : public stowtest::ScriptFolders { };

TEST_F(ScriptEditing, InstallAndRemovalThroughTheShell)
{
    std::string profile = "# the user's own profile\nexport EDITOR=vi\n";
    std::string bootscript = "#!/bin/sh\n# user boot\n";
    WriteFile(user / ".profile", profile);
    WriteFile(boot / "UserBootscript", bootscript);
    std::string startUp = (user / "StartUp").string();

    LibString startUpSection;
    InstallConfig::BuildStartupString(startUp.c_str(), startUpSection);
    EditScriptFile(B_USER_BOOT_DIRECTORY, "UserBootscript", "StartUpFolder", startUpSection);
    EditScriptFile(
        B_USER_BOOT_DIRECTORY, "UserBootscript", "TARNWICK_STOWSMITH", "export SMITH_BOOT=1");
    EditScriptFile(B_USER_BOOT_DIRECTORY, "UserSetupEnvironment", "TARNWICK_STOWSMITH",
        "export SMITH_HOME=\"$HOME/Stowsmith\"");
    EditScriptFile(B_USER_DIRECTORY, ".profile", "TARNWICK_STOWSMITH",
        "export STOWTEST_GREETING='hello there'\nPATH=\"$HOME/bin:$PATH\"");
    for (const fs::path& file :
        {user / ".profile", boot / "UserBootscript", boot / "UserSetupEnvironment"}) {
        RunResult check = Shell({"-n", file.string()});
        EXPECT_EQ(check.exitCode, 0) << file << ": " << check.err;
    }

    RunResult sourced = Shell({"-c",
                                  ". \"$HOME/.profile\"; printf '%s|%s' "
                                  "\"$STOWTEST_GREETING\" \"${PATH%%:*}\""},
        user.string());
    EXPECT_EQ(sourced.exitCode, 0) << sourced.err;
    EXPECT_EQ(sourced.out, "hello there|" + user.string() + "/bin");

    // The removal leaves the start-up folder section, and gives back the
    // user's own text byte for byte.
    for (auto [which, name] : {std::pair {B_USER_BOOT_DIRECTORY, "UserBootscript"},
             std::pair {B_USER_BOOT_DIRECTORY, "UserSetupEnvironment"},
             std::pair {B_USER_DIRECTORY, ".profile"}})
        EditScriptFile(which, name, "TARNWICK_STOWSMITH", nullptr);
    EXPECT_EQ(ReadFile(user / ".profile"), profile);
    EXPECT_EQ(ReadFile(boot / "UserSetupEnvironment"), "\n");
    EXPECT_EQ(ReadFile(boot / "UserBootscript"),
        bootscript + "#BEGIN_StartUpFolder\n"
            + static_cast<const char*>(StartupSectionText(startUp.c_str()))
            + "\n#END_StartUpFolder\n");
    EXPECT_EQ(Shell({"-n", (boot / "UserBootscript").string()}).exitCode, 0);
    EXPECT_EQ(
        Shell({"-c", ". \"$HOME/.profile\"; printf %s \"$STOWTEST_GREETING\""}, user.string()).out,
        "");
}
