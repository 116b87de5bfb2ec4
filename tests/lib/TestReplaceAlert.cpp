#include "AlertService.h"
#include "BPath.h"
#include "ReplaceAlert.h"
#include "Sandbox.h"
#include "TextAlertPresenter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <set>
#include <sstream>
#include <sys/time.h>

using namespace stowtest;
namespace fs = std::filesystem;

namespace {

const ReplaceAlertView* FindView(const ReplaceAlert& alert, const std::string& name)
{
    for (const ReplaceAlertView& view : alert.Views()) {
        if (view.name == name)
            return &view;
    }
    return nullptr;
}

void SetModified(const fs::path& path, time_t when)
{
    struct timeval times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(lutimes(path.c_str(), times), 0);
}

} // namespace

TEST(ReplaceAlert, EveryLanguageHasEveryTextAndOthersGetEnglish)
{
    std::set<std::string> codes;
    for (const ReplaceAlertTexts& texts : kReplaceAlertTexts) {
        SCOPED_TRACE(texts.code);
        codes.insert(texts.code);
        EXPECT_EQ(&replace_alert_texts(texts.code), &texts);
        for (const char* text : {texts.replace, texts.dontReplace, texts.fileWord, texts.folderWord,
                 texts.linkWord, texts.caption, texts.checkBox})
            EXPECT_GT(strlen(text), 0u);
        for (const char* row : texts.rows)
            EXPECT_TRUE(std::string(row).ends_with(" :")) << row;
        std::string message = texts.message;
        size_t first = message.find("%s");
        ASSERT_NE(first, std::string::npos);
        EXPECT_NE(message.find("%s", first + 2), std::string::npos);
        EXPECT_EQ(message.find('%', message.find("%s", first + 2) + 2), std::string::npos);
    }
    EXPECT_EQ(codes,
        (std::set<std::string> {"en", "fr", "es", "de", "it", "no", "sv", "da", "nl", "pt"}));
    for (const char* other : {"xx", "EN", "", "english"})
        EXPECT_STREQ(replace_alert_texts(other).code, "en") << other;
    EXPECT_STREQ(replace_alert_texts(nullptr).code, "en");
    EXPECT_STREQ(replace_alert_texts("pt").fileWord, "arquivo");
    EXPECT_STREQ(replace_alert_texts("da").replace, "Skifte ud");
    EXPECT_STREQ(replace_alert_texts("es").message,
        "El %s del '%s' existe ya  Usted desea substituir existir.");
}

TEST(ReplaceAlert, DescribesBothEntriesInItsLanguage)
{
    Sandbox box;
    ScopedEnv zone("TZ", "UTC");
    tzset();
    fs::path work = box.Work();
    Put(work / "new/tada.wav", "incoming");
    Put(work / "old/tada.wav", "twelve bytes");
    SetModified(work / "old/tada.wav", 983801130); // Mon 5 Mar 2001, 14:05:30
    fs::create_directories(work / "old/Images");
    fs::create_directory_symlink(work / "old/Images", work / "old/Link");

    ReplaceAlert alert(
        BPath((work / "new/tada.wav").c_str()), BPath((work / "old/tada.wav").c_str()), true, "en");
    const AlertRequest& request = alert.Request();
    EXPECT_EQ(request.text, "The file 'tada.wav' already exists. Do you wish to replace existing");
    EXPECT_EQ(request.buttons, (std::vector<std::string> {"Don't Replace", "Replace"}));
    EXPECT_EQ(request.shortcuts, (std::vector<char> {'d', 'r'}));
    EXPECT_EQ(request.DefaultAnswer(), ReplaceAlert::kDontReplaceButton);
    ASSERT_TRUE(request.checkBox.has_value());
    EXPECT_EQ(request.checkBox->label, "Apply to all future collisions");
    // The existing entry first, the caption, then the incoming item.
    ASSERT_EQ(request.details.size(), 13u);
    EXPECT_EQ(request.details[1], "Modified : Mon, Mar 5 2001, 2:05:30 PM");
    EXPECT_EQ(request.details[2], "Size : 12.0 bytes");
    EXPECT_EQ(request.details[4], "Path : " + (work / "old/tada.wav").string());
    EXPECT_EQ(request.details[5], "Version :");
    EXPECT_EQ(request.details[6], "With");
    EXPECT_EQ(request.details[11], "Path : " + (work / "new/tada.wav").string());

    // Layout data for a windowed presenter.
    for (const char* name : {"to_image", "to_creation", "to_creation_label", "to_version", "with",
             "from_image", "from_modified_label", "from_path", "future_collisions"})
        EXPECT_NE(FindView(alert, name), nullptr) << name;
    EXPECT_EQ(FindView(alert, "to_modified")->text, "Mon, Mar 5 2001, 2:05:30 PM");
    EXPECT_EQ(FindView(alert, "to_creation")->frame, BRect(110, 35, 260, 50));
    EXPECT_EQ(FindView(alert, "to_path")->frame.Width(), 135);
    EXPECT_EQ(alert.HeightGrowth(), 240);

    // The kind word of the existing entry, a link not followed.
    ReplaceAlert folder(
        BPath((work / "new").c_str()), BPath((work / "old/Images").c_str()), false, "pt");
    EXPECT_EQ(
        folder.Request().text, "O dobrador 'Images' existe já  Você deseja substituir existir.");
    EXPECT_FALSE(folder.Request().checkBox.has_value());
    EXPECT_EQ(FindView(folder, "future_collisions"), nullptr);
    EXPECT_EQ(folder.HeightGrowth(), 220);
    ReplaceAlert link(
        BPath((work / "new").c_str()), BPath((work / "old/Link").c_str()), true, "nl");
    EXPECT_EQ(link.Request().text,
        "Naar de zinnebeeldig verbinding 'Link' reeds bestaan. Verrichten u wil voor vervangen "
        "voorhanden");
    EXPECT_EQ(link.Request().checkBox->label, "Toepassen voor helemaal toekomstig botsing");
}

TEST(ReplaceAlert, TextPresenterShowsTheQuestionAndTakesApplyToAll)
{
    Sandbox box;
    fs::path work = box.Work();
    Put(work / "new/a.txt", "new");
    Put(work / "old/a.txt", "old");
    std::istringstream in("r\ny\n");
    std::ostringstream out;
    std::ostringstream report;
    AlertService service(std::make_shared<TextAlertPresenter>(in, out, TextPrompting::Ask), report);

    ReplaceAlert alert(
        BPath((work / "new/a.txt").c_str()), BPath((work / "old/a.txt").c_str()), true, "fr");
    EXPECT_FALSE(alert.ApplyToAll());
    EXPECT_EQ(alert.Go(service), ReplaceAlert::kReplaceButton);
    EXPECT_TRUE(alert.ApplyToAll());
    std::string shown = out.str();
    for (const std::string& part : std::vector<std::string> {
             "Le fichier de 'a.txt' existe déjà Vous souhaitez substituer exister.",
             "Voie d'accès : " + (work / "old/a.txt").string(), "Avec",
             "Voie d'accès : " + (work / "new/a.txt").string(),
             "Appliquez-vous à toutes les futures collisions"})
        EXPECT_NE(shown.find(part), std::string::npos) << part << "\n" << shown;
}
