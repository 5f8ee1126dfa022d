// The instance registry with real second processes: who counts as a running instance, and
// that a stored process number is ended only when it is a stale copy of our own program.
#include "platform/process/instance_registry.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace tessaview {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::system_clock;

// A copy of this program in a child process, as `user`, registered in `registry` when one is
// given; killed and reaped at the end. The constructor returns once the child is ready.
class Child {
public:
    explicit Child(uid_t user, const std::string& registry = {}) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            if (::setuid(user) != 0) ::_exit(1);
            InstanceRegistry self({registry, ""});
            if (!registry.empty()) self.Register();
            ::close(ready[1]);
            ::sleep(30);
            ::_exit(0);
        }
        ::close(ready[1]);
        char end = 0;
        while (::read(ready[0], &end, 1) < 0 && errno == EINTR) continue;
        ::close(ready[0]);
    }
    ~Child() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    pid_t pid() const { return pid_; }
    bool running() const {
        std::this_thread::sleep_for(100ms);  // give a wrongly sent signal time to land
        return ::waitpid(pid_, nullptr, WNOHANG) == 0;
    }
    bool killed() {
        int status = 0;
        const bool ended = ::waitpid(std::exchange(pid_, -1), &status, 0) > 0;
        return ended && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

private:
    pid_t pid_ = -1;
};

TEST(InstanceRegistry, AWindowExistsWhileACopyLivesAndOnlyAStaleCopyOfTheSameUserIsEnded) {
    test::TempDir folder;
    const std::string registry = folder.file("registry");
    InstanceRegistry ours({registry, ""});
    Child copy(::getuid(), registry);
    EXPECT_TRUE(ours.MainWindowExists());
    // Seen from another program (here /bin/sleep), the copy is neither its window nor its to end.
    InstanceRegistry sleepIsOurs({registry, "/bin/sleep"});
    EXPECT_FALSE(sleepIsOurs.MainWindowExists());
    sleepIsOurs.TerminateStaleInstance(copy.pid(), Clock::now());
    EXPECT_TRUE(copy.running());
    // Stored before the copy started: its number was reused.
    ours.TerminateStaleInstance(copy.pid(), Clock::now() - 1h);
    EXPECT_TRUE(copy.running());
    if (::geteuid() == 0) {
        Child otherUsers(65534);
        ours.TerminateStaleInstance(otherUsers.pid(), Clock::now());
        EXPECT_TRUE(otherUsers.running());
    }
    ours.TerminateStaleInstance(copy.pid(), Clock::now());
    EXPECT_TRUE(copy.killed());
    // Its entry outlived it; the next look removes it.
    EXPECT_FALSE(ours.MainWindowExists());
    EXPECT_TRUE(std::filesystem::is_empty(registry));

    // Ourselves and numbers that name no process: nothing happens.
    for (int64_t pid : {InstanceRegistry::CurrentProcessId(), int64_t{0}, int64_t{-1}, int64_t{1} << 40})
        ours.TerminateStaleInstance(pid, Clock::now());
}

}  // namespace
}  // namespace tessaview
