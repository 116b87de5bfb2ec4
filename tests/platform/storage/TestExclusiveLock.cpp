// The lock that keeps one product from being installed or removed twice at
// once: held against every other holder, let go by the kernel when its
// holder dies without a word, and leaving no file behind once let go.
#include "ExclusiveLock.h"
#include "Sandbox.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace stowtest;

TEST(ExclusiveLock, HeldAgainstOthersAndLetGoWhenTheHolderDies)
{
    Sandbox box;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        ExclusiveLock lock;
        char answer = lock.Lock("product:A;") == B_OK ? 'y' : 'n';
        (void)!write(ready[1], &answer, 1);
        pause(); // killed without letting go
        _exit(0);
    }
    char answer = 0;
    ASSERT_EQ(read(ready[0], &answer, 1), 1);
    ASSERT_EQ(answer, 'y');

    ExclusiveLock mine;
    EXPECT_EQ(mine.Lock("product:A;"), B_BUSY);
    EXPECT_FALSE(mine.IsLocked());
    ExclusiveLock other;
    EXPECT_EQ(other.Lock("product:B;"), B_OK);
    // Within one process a second holder is refused as well.
    ExclusiveLock again;
    EXPECT_EQ(again.Lock("product:B;"), B_BUSY);

    kill(holder, SIGKILL);
    ASSERT_EQ(waitpid(holder, nullptr, 0), holder);
    EXPECT_EQ(mine.Lock("product:A;"), B_OK);

    mine.Unlock();
    other.Unlock();
    EXPECT_TRUE(fs::is_empty(ExclusiveLock::Folder()));
    EXPECT_EQ(again.Lock("product:B;"), B_OK);
    close(ready[0]);
    close(ready[1]);
}
