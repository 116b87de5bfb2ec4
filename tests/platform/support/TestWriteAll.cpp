// Writing whole buffers: a pipe takes a large buffer in many partial
// writes, and a full device is reported with what went down.
#include "WriteAll.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>

TEST(WriteAll, PartialWritesAddUpAndFailuresAreReported)
{
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    std::string sent(1 << 20, 'x'); // far more than a pipe holds
    for (size_t i = 0; i < sent.size(); ++i)
        sent[i] = char('a' + i % 26);
    std::string received;
    std::thread reader([&] {
        char buffer[4096];
        ssize_t got;
        while ((got = read(pipeFds[0], buffer, sizeof buffer)) > 0)
            received.append(buffer, size_t(got));
    });
    size_t written = 0;
    EXPECT_EQ(write_all(pipeFds[1], sent.data(), sent.size(), &written), B_OK);
    close(pipeFds[1]);
    reader.join();
    close(pipeFds[0]);
    EXPECT_EQ(written, sent.size());
    EXPECT_EQ(received, sent);

    int full = open("/dev/full", O_WRONLY | O_CLOEXEC);
    if (full < 0)
        GTEST_SKIP() << "no /dev/full";
    written = 1;
    EXPECT_EQ(write_all(full, sent.data(), 10, &written), B_DEVICE_FULL);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(write_all_at(full, 0, sent.data(), 10), B_DEVICE_FULL);
    close(full);
}
