// The alert service and its text presenter: answering by label over a
// stream, defaults without a user, answers set by purpose, and one alert at a
// time however many threads ask.
#include "AlertService.h"
#include "BAlert.h"
#include "TextAlertPresenter.h"

#include <atomic>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

namespace {

AlertRequest Request(std::vector<std::string> buttons, int32 defaultButton = 0)
{
    AlertRequest request;
    request.text = "Replace the file?";
    request.buttons = std::move(buttons);
    request.defaultButton = defaultButton;
    request.purpose = "test";
    return request;
}

struct Typed {
    AlertAnswer answer;
    std::string shown;
};

Typed Answer(const AlertRequest& request, const std::string& input)
{
    std::istringstream in(input);
    std::ostringstream out;
    TextAlertPresenter presenter(in, out, TextPrompting::Ask);
    Typed typed;
    typed.answer = presenter.Ask(request);
    typed.shown = out.str();
    return typed;
}

// Records what it is asked and answers a fixed button.
class RecordingPresenter : public AlertPresenter {
public:
    explicit RecordingPresenter(int32 button = 0)
        : fButton(button)
    { }
    AlertAnswer Ask(const AlertRequest& request) override
    {
        asked.push_back(request);
        return AlertAnswer {fButton, false};
    }
    void Show(const AlertRequest& request) override { shown.push_back(request); }

    std::vector<AlertRequest> asked;
    std::vector<AlertRequest> shown;

private:
    int32 fButton;
};

} // namespace

TEST(TextPresenter, AnswersByLabelOrUniquePrefixInAnyCase)
{
    AlertRequest request = Request({"Abort", "Continue", "Cont"});
    EXPECT_EQ(Answer(request, "abort\n").answer.button, 0);
    EXPECT_EQ(Answer(request, "CONTINUE\n").answer.button, 1);
    // An exact label wins over a longer one it begins.
    EXPECT_EQ(Answer(request, "cont\n").answer.button, 2);
    EXPECT_EQ(Answer(request, "  a \n").answer.button, 0);
    EXPECT_EQ(Answer(request, "conti\n").answer.button, 1);
}

TEST(TextPresenter, ReasksOnUnknownOrAmbiguousInput)
{
    AlertRequest request = Request({"Restart Later", "Restart Now"});
    Typed typed = Answer(request, "Restart\nSoon\nrestart n\n");
    EXPECT_EQ(typed.answer.button, 1);
    EXPECT_NE(typed.shown.find("Replace the file?\n"), std::string::npos);
    EXPECT_NE(typed.shown.find("? Restart\n"), std::string::npos);
    EXPECT_NE(typed.shown.find("? Soon\n"), std::string::npos);
    EXPECT_NE(typed.shown.find("Restart Later / Restart Now [Restart Later]: "), std::string::npos);
}

TEST(TextPresenter, EmptyLineAndEndOfInputTakeTheDefault)
{
    AlertRequest request = Request({"Later", "Run"}, 0);
    EXPECT_EQ(Answer(request, "\n").answer.button, 0);
    Typed atEnd = Answer(request, "bogus\n");
    EXPECT_EQ(atEnd.answer.button, 0);
    EXPECT_NE(atEnd.shown.find("-> Later\n"), std::string::npos);
}

TEST(TextPresenter, ShowsDetailsAndAsksForTheCheckBox)
{
    AlertRequest request = Request({"Skip", "Replace"});
    request.details = {"new: a.txt 12 bytes", "old: a.txt 9 bytes"};
    request.checkBox = AlertCheckBox {"Apply to all", false};
    Typed typed = Answer(request, "rep\nmaybe\nYES\n");
    EXPECT_EQ(typed.answer.button, 1);
    EXPECT_TRUE(typed.answer.checked);
    EXPECT_NE(
        typed.shown.find("    new: a.txt 12 bytes\n    old: a.txt 9 bytes\n"), std::string::npos);
    EXPECT_NE(typed.shown.find("[ ] Apply to all? y/n [n]: "), std::string::npos);
    // End of input keeps the box as offered.
    request.checkBox->checked = true;
    EXPECT_TRUE(Answer(request, "skip\n").answer.checked);
}

TEST(TextPresenter, WithoutATerminalTakesAndReportsTheDefault)
{
    AlertRequest request = Request({"Abort", "Continue"}, 1);
    request.title = "Requirements";
    request.details = {"libfoo.so"};
    request.checkBox = AlertCheckBox {"Apply to all", true};
    std::istringstream in("Abort\n");
    std::ostringstream out;
    TextAlertPresenter presenter(in, out, TextPrompting::TakeDefault);
    AlertAnswer answer = presenter.Ask(request);
    EXPECT_EQ(answer.button, 1);
    EXPECT_TRUE(answer.checked);
    EXPECT_EQ(out.str(),
        "Requirements\nReplace the file?\n    libfoo.so\n[x] Apply to all\n-> Continue\n");
}

TEST(AlertService, UnattendedTakesEachAlertsDefaultAndReportsIt)
{
    auto presenter = std::make_shared<RecordingPresenter>(0);
    std::ostringstream report;
    AlertService service(presenter, report);
    service.SetMode(AlertMode::Unattended);
    EXPECT_EQ(service.Ask(Request({"Restart Later", "Restart Now"}, 0)).button, 0);
    EXPECT_EQ(service.Ask(Request({"Abort", "Continue"}, 7)).button, 0); // out of range
    EXPECT_TRUE(presenter->asked.empty());
    EXPECT_EQ(report.str(), "Replace the file?\n-> Restart Later\nReplace the file?\n-> Abort\n");
    service.SetMode(AlertMode::Interactive);
    EXPECT_EQ(service.Ask(Request({"A", "B"}, 1)).button, 0);
    EXPECT_EQ(presenter->asked.size(), 1u);
}

TEST(AlertService, AnswersSetByPurposeWinWithoutAsking)
{
    auto presenter = std::make_shared<RecordingPresenter>(0);
    std::ostringstream report;
    AlertService service(presenter, report);
    service.SetAnswer("run", AlertAnswer {1, false});
    service.SetAnswer("collision", AlertAnswer {2, true});

    AlertRequest run = Request({"Later", "Run"});
    run.purpose = "run";
    EXPECT_EQ(service.Ask(run).button, 1);
    EXPECT_NE(report.str().find("-> Run\n"), std::string::npos);

    AlertRequest collision = Request({"Skip", "Rename", "Replace"});
    collision.purpose = "collision";
    collision.checkBox = AlertCheckBox {"Apply to all", false};
    AlertAnswer answer = service.Ask(collision);
    EXPECT_EQ(answer.button, 2);
    EXPECT_TRUE(answer.checked);
    EXPECT_TRUE(presenter->asked.empty());

    // An answer its alert has no button for is not used; the user is asked.
    AlertRequest shortRun = Request({"OK"});
    shortRun.purpose = "run";
    EXPECT_EQ(service.Ask(shortRun).button, 0);
    EXPECT_EQ(presenter->asked.size(), 1u);

    service.RemoveAnswer("run");
    service.Ask(run);
    EXPECT_EQ(presenter->asked.size(), 2u);
}

TEST(AlertService, ShowsOneAlertAtATimeAndRefusesAlertsFromAPresenter)
{
    class Counting : public AlertPresenter {
    public:
        explicit Counting(AlertService*& service)
            : fService(service)
        { }
        AlertAnswer Ask(const AlertRequest& request) override
        {
            int now = ++inside;
            int seen = most.load();
            while (now > seen && !most.compare_exchange_weak(seen, now)) { }
            std::this_thread::yield();
            if (request.purpose == "nest")
                refusedInside += fService->Ask(request).button == -1 ? 1 : 0;
            --inside;
            return AlertAnswer {1, false};
        }
        void Show(const AlertRequest&) override { }
        std::atomic<int> inside {0};
        std::atomic<int> most {0};
        std::atomic<int> refusedInside {0};

    private:
        AlertService*& fService;
    };
    AlertService* servicePointer = nullptr;
    auto presenter = std::make_shared<Counting>(servicePointer);
    std::ostringstream report;
    AlertService service(presenter, report);
    servicePointer = &service;

    std::vector<std::thread> threads;
    std::atomic<int> answeredOne {0};
    for (int i = 0; i < 8; i++) {
        threads.emplace_back([&] {
            for (int j = 0; j < 20; j++) {
                AlertRequest request = Request({"A", "B"});
                request.purpose = j == 0 ? "nest" : "test";
                answeredOne += service.Ask(request).button == 1 ? 1 : 0;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(answeredOne.load(), 160);
    EXPECT_EQ(presenter->most.load(), 1);
    EXPECT_EQ(presenter->refusedInside.load(), 8);
}

TEST(BAlert, ButtonsDefaultsAndCheckBoxComeBackFromTheService)
{
    BAlert alert("", "Text", "One", nullptr, "Three");
    EXPECT_EQ(alert.CountButtons(), 1); // a missing label ends the row
    BAlert three("", "Text", "A", "B", "C", B_WIDTH_AS_USUAL, B_STOP_ALERT);
    EXPECT_EQ(three.Request().defaultButton, 2);
    three.SetCheckBox("Apply to all", false);
    three.SetPurpose("collision");

    std::ostringstream report;
    AlertService service(nullptr, report); // no presenter: defaults, reported
    service.SetAnswer("collision", AlertAnswer {0, true});
    EXPECT_EQ(three.Go(service), 0);
    EXPECT_TRUE(three.CheckBoxValue());
    EXPECT_EQ(alert.Go(service), 0);
    EXPECT_EQ(alert.GoWithoutWaiting(service), B_OK);
    EXPECT_EQ(report.str(), "Text\n[x] Apply to all\n-> A\nText\n-> One\nText\n-> One\n");
}
