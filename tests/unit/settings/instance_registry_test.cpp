// The instance registry with real second processes: who counts as a running instance, and
// that a stored process number is ended only when it is a stale copy of our own program.
#include "platform/process/instance_registry.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tessaview {
namespace {

using namespace std::chrono_literals;
using test::TempDir;

// A child of this test, killed and reaped at the end. It runs `program`, or else stays a
// copy of this program as `user`, registered in `registry` when one is given. The
// constructor returns once the child is ready.
class Child {
public:
    explicit Child(const char* program, uid_t user = ::getuid(), const std::string& registry = {}) {
        int ready[2];
        if (::pipe2(ready, O_CLOEXEC) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            if (::setuid(user) != 0) ::_exit(1);
            if (program != nullptr) ::execl(program, program, "30", nullptr);
            InstanceRegistry self({registry, ""});
            if (!registry.empty()) self.Register();
            ::close(ready[1]);
            ::sleep(30);
            ::_exit(0);
        }
        ::close(ready[1]);
        char end = 0;
        while (::read(ready[0], &end, 1) < 0 && errno == EINTR) {
        }
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

std::chrono::system_clock::time_point now() {
    return std::chrono::system_clock::now();
}

TEST(InstanceRegistry, OnlyAStaleCopyOfOurProgramOfTheSameUserIsEnded) {
    TempDir folder;
    InstanceRegistry ours({folder.path(), ""});

    Child other("/bin/sleep");
    ASSERT_GT(other.pid(), 0);
    ours.TerminateStaleInstance(other.pid(), now());
    EXPECT_TRUE(other.running());

    Child copy(nullptr);
    ASSERT_GT(copy.pid(), 0);
    // Stored before the copy started: its number was reused.
    ours.TerminateStaleInstance(copy.pid(), now() - 1h);
    EXPECT_TRUE(copy.running());
    if (::geteuid() == 0) {
        Child otherUsers(nullptr, 65534);
        ours.TerminateStaleInstance(otherUsers.pid(), now());
        EXPECT_TRUE(otherUsers.running());
    }
    ours.TerminateStaleInstance(copy.pid(), now());
    EXPECT_TRUE(copy.killed());

    // Ourselves and numbers that name no process: nothing happens.
    for (int64_t pid : {InstanceRegistry::CurrentProcessId(), int64_t{0}, int64_t{-1}, int64_t{1} << 40})
        ours.TerminateStaleInstance(pid, now());
}

TEST(InstanceRegistry, AWindowExistsOnlyWhileARegisteredInstanceLives) {
    TempDir folder;
    const std::string registry = folder.file("registry");
    {
        InstanceRegistry self({registry, ""});
        EXPECT_FALSE(self.MainWindowExists());
        self.Register();
        EXPECT_TRUE(self.MainWindowExists());
        self.Unregister();
        EXPECT_FALSE(self.MainWindowExists());
        self.Register(kMainWindowClass, "Another title");
        EXPECT_FALSE(self.MainWindowExists());
        self.Register();
    }
    EXPECT_TRUE(std::filesystem::is_empty(registry));  // unregistered when it went away

    Child other(nullptr, ::getuid(), registry);
    InstanceRegistry ours({registry, ""});
    EXPECT_FALSE(InstanceRegistry({registry, "/bin/sleep"}).MainWindowExists());  // registered, other program
    EXPECT_TRUE(ours.MainWindowExists());
    ours.TerminateStaleInstance(other.pid(), now());
    EXPECT_TRUE(other.killed());
    // Its entry outlived it; the next look removes it.
    EXPECT_FALSE(ours.MainWindowExists());
    EXPECT_TRUE(std::filesystem::is_empty(registry));
}

}  // namespace
}  // namespace tessaview
