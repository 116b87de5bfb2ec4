#include "AlertService.h"
#include "BPath.h"
#include "InstallConfig.h"
#include "ReplaceAlert.h"
#include "Sandbox.h"
#include "ScriptedPresenter.h"
#include "StringTableChecks.h"
#include "oLocalize.h"

#include <gtest/gtest.h>

#include <memory>

using namespace stowtest;
namespace fs = std::filesystem;

namespace {

class ReplaceControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AlertService::Default().RemoveAnswer(ReplaceAlert::kPurpose);
        AlertService::Default().SetMode(AlertMode::Interactive);
        fs::create_directories(place);
        fs::create_directories(saved);
        config.AddBool("opt_log", true);
        config.OpenLog(log.c_str());
    }

    // An incoming item and an existing entry of the same name.
    BPath Collide(const char* leaf, const char* existing = "existing")
    {
        Put(incoming / leaf, "incoming");
        if (!Exists(place / leaf))
            Put(place / leaf, existing);
        return BPath((incoming / leaf).c_str());
    }
    bool Decide(const BPath& item, const char* mode, bool& ask, bool& answer)
    {
        return config.ReplaceControl(place.c_str(), item, mode, ask, answer, BPath(saved.c_str()));
    }
    std::string Log()
    {
        config.CloseLog();
        return ReadFile(log);
    }

    // The dialog's language comes from the program's language attribute:
    // a copy of this program carries it.
    ProgramCopy program;
    Sandbox box;
    fs::path incoming = box.Work() / "Product";
    fs::path place = box.Work() / "Place";
    fs::path saved = box.Work() / "Product/Saved Files";
    fs::path log = box.Work() / "Log";
    InstallConfig config;
    ScopedPresenter alerts;
    std::shared_ptr<ScriptedPresenter> presenter = alerts.presenter;
};

} // namespace

TEST_F(ReplaceControlTest, PromptAsksUntilApplyToAllThenAnswersAlone)
{
    bool askItem = true, itemAnswer = true, askLink = true, linkAnswer = true;
    BPath item = Collide("a.txt");
    EXPECT_TRUE(Decide(BPath((incoming / "free").c_str()), "Prompt", askItem, itemAnswer));
    EXPECT_TRUE(presenter->asked.empty());

    // Don't Replace, ticked for all: this and later item collisions say no.
    presenter->reply = {ReplaceAlert::kDontReplaceButton, true};
    EXPECT_FALSE(Decide(item, "Prompt", askItem, itemAnswer));
    ASSERT_EQ(presenter->asked.size(), 1u);
    const AlertRequest& asked = presenter->asked[0];
    EXPECT_EQ(asked.purpose, "collision");
    EXPECT_EQ(asked.text, "The file 'a.txt' already exists. Do you wish to replace existing");
    EXPECT_EQ(asked.DefaultAnswer(), 0);
    EXPECT_FALSE(askItem);
    EXPECT_FALSE(itemAnswer);
    EXPECT_FALSE(Decide(Collide("b.txt"), "Prompt", askItem, itemAnswer));
    EXPECT_EQ(presenter->asked.size(), 1u);
    EXPECT_EQ(ReadFile(place / "b.txt"), "existing");

    // Links keep their own pair: still asked, in the program's language.
    // Replace, not for all.
    ASSERT_TRUE(oLocalize().SetLanguage("de"));
    presenter->reply = {ReplaceAlert::kReplaceButton, false};
    EXPECT_TRUE(Decide(item, "Prompt", askLink, linkAnswer));
    ASSERT_EQ(presenter->asked.size(), 2u);
    EXPECT_EQ(presenter->asked[1].text,
        "Das datei 'a.txt' existiert bereits  M\xc3\xb6"
        "chten Sie das Existieren ersetzen.");
    EXPECT_TRUE(askLink);
    // Without saving, the entry stays for the run's forced move to replace.
    EXPECT_EQ(ReadFile(place / "a.txt"), "existing");

    // Asking off with the answer Replace: no question, and the entry saved.
    config.AddBool("opt_save_replaced", true);
    askLink = false;
    EXPECT_TRUE(Decide(item, "Prompt", askLink, linkAnswer));
    EXPECT_EQ(presenter->asked.size(), 2u);
    EXPECT_FALSE(Exists(place / "a.txt"));
    EXPECT_EQ(ReadFile(saved / "a.txt"), "existing");
    EXPECT_EQ(Log(), "\t\t\tExisting file saved.\n");
}

TEST_F(ReplaceControlTest, RenameKeepsEveryEarlierEntry)
{
    bool ask = true, answer = true;
    BPath item = Collide("tada.wav", "first");
    EXPECT_TRUE(Decide(item, "Rename", ask, answer));
    Put(place / "tada.wav", "second");
    EXPECT_TRUE(Decide(item, "Rename", ask, answer));
    EXPECT_EQ(ReadFile(place / "tada.wav copy"), "first");
    EXPECT_EQ(ReadFile(place / "tada.wav copy 1"), "second");
    EXPECT_FALSE(Exists(place / "tada.wav"));
    EXPECT_TRUE(presenter->asked.empty());
    EXPECT_EQ(Log(), "\t\t\tExisting file renamed\n\t\t\tExisting file renamed\n");
}

TEST_F(ReplaceControlTest, ReplaceRemovesOrSavesAnyOtherModeAndKeepsWhatItCannotMove)
{
    bool ask = true, answer = false;
    Put(place / "Images/deep/a.png", "a");
    Put(incoming / "Images/b.png", "b");
    EXPECT_TRUE(Decide(BPath((incoming / "Images").c_str()), "replace", ask, answer));
    EXPECT_FALSE(Exists(place / "Images"));
    EXPECT_TRUE(Decide(Collide("c.txt"), "", ask, answer));
    EXPECT_FALSE(Exists(place / "c.txt"));

    // Saving: a second entry of the same name does not overwrite the first.
    config.AddBool("opt_save_replaced", true);
    EXPECT_TRUE(Decide(Collide("d.txt", "one"), "Replace", ask, answer));
    EXPECT_TRUE(Decide(Collide("d.txt", "two"), "Replace", ask, answer));
    EXPECT_EQ(ReadFile(saved / "d.txt"), "one");
    EXPECT_EQ(ReadFile(saved / "d.txt copy"), "two");

    // Nowhere to save to, or no folder to place into: the entry stays.
    BPath item = Collide("keep.txt");
    BPath nowhere((saved / "missing").c_str());
    EXPECT_FALSE(config.ReplaceControl(place.c_str(), item, "Replace", ask, answer, nowhere));
    EXPECT_EQ(ReadFile(place / "keep.txt"), "existing");
    BPath file((place / "keep.txt").c_str());
    EXPECT_FALSE(config.ReplaceControl(file.Path(), item, "Replace", ask, answer, nowhere));
    EXPECT_FALSE(config.ReplaceControl("", item, "Replace", ask, answer, nowhere));
    EXPECT_TRUE(presenter->asked.empty());
    EXPECT_EQ(Log(),
        "\t\t\tExisting file removed.\n\t\t\tExisting file removed.\n"
        "\t\t\tExisting file saved.\n\t\t\tExisting file saved.\n");
}
