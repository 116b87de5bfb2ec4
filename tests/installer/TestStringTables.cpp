// The installer's string tables: the English texts and the language menu as
// the program must show them, every language complete, and lookups through
// the language attribute of a copy of this test program (which the build
// gave the installer's tables).
#include "StringTableChecks.h"

#include "BNode.h"

#include <algorithm>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace stowtest;

namespace {

constexpr long kFirstFlowText = 1100;

const char* const kEnglish[] = {
    "English\nFrench\nSpanish\nGerman\nItalian\nNorwegian\nSwedish\nDanish\nDutch\nPortuguese",
    "License",
    "Installation",
    "Group",
    "Files",
    "Change destination folder",
    "Disks",
    "Install",
    "Agree",
    "Select destination folder and press Install",
    "Read license and select the Agree button",
    "Abort",
    "Stop",
    "The folder '",
    "' already exists in the destination folder.",
    "Cancel",
    "Replace",
    "OK",
    "Later",
    "Run",
    "\nDo you wish to replace?",
    "Installation can not continue.",
    "You may run the application at your own risk.",
    "requires",
    "suggests",
    "required",
    "suggested",
    "Installation was stopped before it could complete.",
    "Continue",
    "Restart Later",
    "Restart Now",
    "The application '%s' could not be found. The installation %s that this application be "
    "present for the installed software to work properly.",
    "Checking System Resources...",
    "Creating deinstaller...",
    "Do you wish to run '",
    "' now?",
    "Installing %d of %d (%s)",
    "Installation Complete",
    "Installation successfully completed.",
    "'%s' was unable to be run at this time.",
    "Failure to find selected installation folder. Unable to install files.",
    "Unable to create installation folder '%s'. Unable to install files.",
    "\n\nThe system needs to be restarted for the installation to take effect.",
    "The shared library '%s' could not be found. The installation %s that this library be "
    "present for the installed software to work properly.",
    "Installation %s %d MB of physical RAM, and only %d MB is available. %s",
    "Installation %s %s of disk space, and the destination volume '%s' only has %s free.",
};

const char* const kLanguageMenus[] = {
    "English, French, Spanish, German, Italian, Norwegian, Swedish, Danish, Dutch, Portuguese",
    "Anglais, Français, Espagnol, Allemande, Italien, Norvégien, Suédois, Danois, Néerlandais, "
    "Portugais",
    "Inglesa, Francés, Español, Alemán, Italiana, Noruego, Sueco, Danés, Holandés, Portugués",
    "Englisch, Französisch, Spanisch, Deutsch, Italiener, Norweger, Schwedisch, Dänisch, "
    "Holländisch, Portugiesisch",
    "Inglese, Francese, Spagnolo, Tedesco, Italiano, Norvegese, Svedese, Danese, Olandese, "
    "Portoghese",
    "Engelske, Franske, Spanske, Tyskeren, Italiensk, Norsk, Svenske, Danske, Nederlandsk, "
    "Portugisisk",
    "Engelska, Franska, Spanska, Tyska, Italienska, Norska, Svenska, Danska, Nederländska, "
    "Portugisiska",
    "Engelsk, Fransk, Spansk, Tysk, Italiensk, Nordmand, Svensk, Dansk, Hollandsk, Portuguese",
    "Engels, Frans, Spaans, Duits, Italiaans, Noors, Zweeds, Deens, Nederlands, Portugees",
    "Inglês, Francês, Espanhol, Alemão, Italiano, Norueguês, Sueco, Dinamarquês, Holandês, "
    "Português",
};

std::string MenuLines(std::string commaList)
{
    size_t at;
    while ((at = commaList.find(", ")) != std::string::npos)
        commaList.replace(at, 2, "\n");
    return commaList;
}

std::string LanguageAttr(const std::string& path)
{
    char buffer[100] = {};
    ssize_t got = BNode(path.c_str()).ReadAttr("language", B_STRING_TYPE, 0, buffer, 99);
    return got < 0 ? "<none>" : std::string(buffer, size_t(got));
}

} // namespace

TEST(InstallerStrings, EnglishTextsAndLanguageMenusAreExact)
{
    oStringTable english = LoadTable("installer/strings", "en");
    // The design's texts are 1000 to 1045; the guided flow's start at 1100.
    ASSERT_EQ(std::count_if(english.Texts().begin(), english.Texts().end(),
                  [](const auto& entry) { return entry.first < kFirstFlowText; }),
        long(std::size(kEnglish)));
    for (long number = 1000; number <= 1045; ++number)
        EXPECT_STREQ(english.Find(number), kEnglish[number - 1000]) << number;
    for (int32 i = 0; i < kLanguageCount; ++i) {
        oStringTable table = LoadTable("installer/strings", kLanguageCodes[i]);
        EXPECT_STREQ(table.Find(1000), MenuLines(kLanguageMenus[i]).c_str()) << kLanguageCodes[i];
    }
}

TEST(InstallerStrings, EveryLanguageCompleteButGermanInstallLabel)
{
    ExpectCompleteTables("installer/strings", {{"de", {1002}}});
}

TEST(InstallerStrings, FirstStartRecordsEnglishAndEveryLanguageLooksUpItsTable)
{
    ProgramCopy program;
    EXPECT_EQ(LanguageAttr(program.Path()), "<none>");
    {
        oLocalize first;
        EXPECT_STREQ(first.Language(), "en");
        EXPECT_STREQ(first.GetString(1001), "License");
    }
    EXPECT_EQ(LanguageAttr(program.Path()), "en");
    ExpectLookupsMatchTables("installer/strings");
}

TEST(InstallerStrings, SwitchingTheAttributeChangesEveryLaterLookup)
{
    ProgramCopy program;
    oLocalize before;
    ASSERT_TRUE(before.SetLanguage("de"));
    EXPECT_EQ(LanguageAttr(program.Path()), "de");
    // German has no install box label: empty, not English.
    EXPECT_STREQ(oLocalize().GetString(1002), "");
    EXPECT_STREQ(oLocalize().GetString(1001), "Lizenz");

    // A change made on one thread reaches lookups started later on another.
    ASSERT_TRUE(oLocalize().SetLanguage("sv"));
    std::string seen;
    std::thread reader([&seen] { seen = static_cast<const char*>(oLocalize().GetString(1007)); });
    reader.join();
    EXPECT_EQ(seen, "Installera");

    // A code without texts gives empty texts everywhere.
    ASSERT_TRUE(oLocalize().SetLanguage("xx"));
    oLocalize unknown;
    EXPECT_STREQ(unknown.Language(), "xx");
    for (long number = 1000; number <= 1045; ++number)
        EXPECT_STREQ(unknown.GetString(number), "") << number;
    EXPECT_FALSE(unknown.HasString("xx:1001"));
    EXPECT_TRUE(unknown.HasString("en:1001"));
    EXPECT_STREQ(unknown.GetString("fr:1007"), "Installer");
}

TEST(InstallerStrings, UnreadableOrOddSettingsNeverBreakLookups)
{
    ProgramCopy program;
    // An attribute longer than a code: its first 62 bytes are the code.
    std::string longCode(80, 'q');
    BNode node(program.Path().c_str());
    ASSERT_GE(node.WriteAttr("language", B_STRING_TYPE, 0, longCode.data(), longCode.size()), 0);
    EXPECT_EQ(std::string(oLocalize().Language()), longCode.substr(0, 62));
    EXPECT_FALSE(oLocalize().SetLanguage(longCode.c_str()));
    EXPECT_FALSE(oLocalize().SetLanguage(nullptr));

    // No executable at all: English code, empty texts, nothing written.
    set_running_executable_path((program.Dir() / "gone").c_str());
    oLocalize missing;
    EXPECT_STREQ(missing.Language(), "en");
    EXPECT_STREQ(missing.GetString(1001), "");
    EXPECT_FALSE(missing.HasString("en:1001"));
    EXPECT_FALSE(missing.SetLanguage("fr"));
    EXPECT_FALSE(std::filesystem::exists(program.Dir() / "gone"));
}

// An installer the user may not change (another user's file, a read-only
// volume) cannot record a language: the choice still holds for every later
// lookup of this process, on any thread, and the file stays as it was.
TEST(InstallerStrings, AChoiceTheProgramCannotRecordHoldsForThisProcess)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    ProgramCopy program;
    chmod(program.Dir().Path().c_str(), 0755);
    EXPECT_STREQ(oLocalize().Language(), "en"); // recorded on first start
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setegid(65534) != 0 || seteuid(65534) != 0)
            _exit(2);
        bool recorded = oLocalize().SetLanguage("de");
        std::string label;
        std::thread other([&] { label = static_cast<const char*>(oLocalize().GetString(1003)); });
        other.join();
        bool kept = std::string(oLocalize().Language()) == "de" && label == "Gruppe";
        _exit(recorded ? 3 : kept ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_STREQ(oLocalize().Language(), "en");
}

TEST(InstallerStrings, AWritingOpenOfTheRunningProgramFallsBackToReading)
{
    // The real running file: Linux refuses it for writing (it is being
    // executed), so the texts must still be readable and changes refused.
    std::string self;
    ASSERT_EQ(get_running_executable_path(self), B_OK);
    oResources resources(B_READ_WRITE);
    EXPECT_STREQ(resources.ExecutablePath(), self.c_str());
    EXPECT_STREQ(resources.GetString("da:1016"), "Erstat");
    EXPECT_NE(resources.AddResource(B_STRING_TYPE, 1, "x", 2, "en:1"), B_OK);
}
