// Lines read from a terminal (here a pipe) by TerminalInput: lines cut
// anywhere by the writer, the end of the input, and the two ways a wait ends
// without a line: a stop signal and a cancel from another thread.
#include "TerminalInput.h"

#include <csignal>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace {

class TerminalInputTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(pipe(fPipe), 0); }
    void TearDown() override
    {
        close(fPipe[0]);
        if (fPipe[1] >= 0)
            close(fPipe[1]);
    }
    void Write(const std::string& bytes)
    {
        ASSERT_EQ(write(fPipe[1], bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    void CloseInput()
    {
        close(fPipe[1]);
        fPipe[1] = -1;
    }

    int fPipe[2] = {-1, -1};
};

TEST_F(TerminalInputTest, LinesWhereverTheInputCutsThemAndThenItsEnd)
{
    TerminalInput input(fPipe[0]);
    StopSignals signals;
    ASSERT_EQ(signals.InitCheck(), B_OK);
    Write("agree\r\n2\n\nhal");
    std::string line;
    EXPECT_EQ(input.ReadLine(line, signals), TerminalInput::Read::Line);
    EXPECT_EQ(line, "agree");
    EXPECT_EQ(input.ReadLine(line), TerminalInput::Read::Line);
    EXPECT_EQ(line, "2");
    EXPECT_EQ(input.ReadLine(line, signals), TerminalInput::Read::Line);
    EXPECT_EQ(line, "");
    // The rest of a line comes later.
    std::thread writer([this] { Write("f\n"); });
    EXPECT_EQ(input.ReadLine(line, signals), TerminalInput::Read::Line);
    writer.join();
    EXPECT_EQ(line, "half");
    // What was typed before the end without a newline still counts.
    Write("last");
    CloseInput();
    EXPECT_EQ(input.ReadLine(line), TerminalInput::Read::Line);
    EXPECT_EQ(line, "last");
    EXPECT_EQ(input.ReadLine(line, signals), TerminalInput::Read::End);
    EXPECT_EQ(input.ReadLine(line), TerminalInput::Read::End);
}

TEST_F(TerminalInputTest, AStopSignalOrACancelEndsTheWait)
{
    TerminalInput input(fPipe[0]);
    std::string line;
    {
        StopSignals signals;
        ASSERT_EQ(signals.InitCheck(), B_OK);
        std::thread stopper([] { kill(getpid(), SIGINT); });
        EXPECT_EQ(input.ReadLine(line, signals), TerminalInput::Read::Interrupted);
        stopper.join();
    }
    // A worker waiting for an alert's answer is let go from another thread,
    // and so is every later wait.
    std::thread canceller([&input] { input.Cancel(); });
    EXPECT_EQ(input.ReadLine(line), TerminalInput::Read::Cancelled);
    canceller.join();
    Write("late\n");
    EXPECT_EQ(input.ReadLine(line), TerminalInput::Read::Cancelled);
    EXPECT_TRUE(input.IsCancelled());
}

} // namespace
