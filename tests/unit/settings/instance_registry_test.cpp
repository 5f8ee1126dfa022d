// The instance registry with real second processes: who counts as a running instance, and
// that a stored process number is ended only when it runs our executable.
#include "platform/process/instance_registry.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tessaview {
namespace {

using namespace std::chrono_literals;
using test::TempDir;

const std::string kHelper = TESSAVIEW_INSTANCE_HELPER;

// A child process of this test, killed and reaped when the test is done with it.
class Child {
public:
    static Child helper(const std::string& registryFolder = {}) {
        std::vector<std::string> args = {kHelper};
        if (!registryFolder.empty()) args.push_back(registryFolder);
        std::vector<char*> argv;
        for (auto& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        pid_t pid = -1;
        if (::posix_spawn(&pid, kHelper.c_str(), nullptr, nullptr, argv.data(), environ) != 0) pid = -1;
        return Child(pid);
    }
    // A copy of this very program: it runs our executable, as `user` once it returns.
    static Child ofThisProgram(uid_t user = ::getuid()) {
        int ready[2];
        if (::pipe(ready) != 0) return Child(-1);
        const pid_t pid = ::fork();
        if (pid == 0) {
            if (::setuid(user) != 0) ::_exit(1);
            ::close(ready[1]);
            ::sleep(30);
            ::_exit(0);
        }
        ::close(ready[1]);
        char end = 0;
        while (::read(ready[0], &end, 1) < 0 && errno == EINTR) {
        }
        ::close(ready[0]);
        return Child(pid);
    }
    Child(Child&& other) noexcept : pid_(std::exchange(other.pid_, -1)) {}
    ~Child() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    pid_t pid() const { return pid_; }
    bool running() {
        std::this_thread::sleep_for(100ms);  // give a wrongly sent signal time to land
        return ::waitpid(pid_, nullptr, WNOHANG) == 0;
    }
    bool killed() {
        int status = 0;
        const bool ended = ::waitpid(pid_, &status, 0) == pid_;
        pid_ = -1;
        return ended && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

private:
    explicit Child(pid_t pid) : pid_(pid) {}
    pid_t pid_ = -1;
};

bool waitForRegistration(const std::string& folder, pid_t pid) {
    const std::string entry = folder + "/" + std::to_string(pid) + ".instance";
    for (int i = 0; i < 500 && !std::filesystem::exists(entry); ++i) std::this_thread::sleep_for(10ms);
    return std::filesystem::exists(entry);
}

std::chrono::system_clock::time_point now() {
    return std::chrono::system_clock::now();
}

TEST(InstanceRegistry, OnlyALiveProcessRunningOurExecutableIsEnded) {
    TempDir folder;
    InstanceRegistry ours({folder.path(), ""});
    InstanceRegistry helperIsOurs({folder.path(), kHelper});

    Child unrelated = Child::helper();
    ASSERT_GT(unrelated.pid(), 0);
    ours.TerminateStaleInstance(unrelated.pid(), now());
    EXPECT_TRUE(unrelated.running());
    helperIsOurs.TerminateStaleInstance(unrelated.pid(), now());
    EXPECT_TRUE(unrelated.killed());

    Child copy = Child::ofThisProgram();
    ASSERT_GT(copy.pid(), 0);
    helperIsOurs.TerminateStaleInstance(copy.pid(), now());
    EXPECT_TRUE(copy.running());
    // Stored before the copy started: its number was reused. A copy another user runs.
    ours.TerminateStaleInstance(copy.pid(), now() - 1h);
    EXPECT_TRUE(copy.running());
    if (::geteuid() == 0) {
        Child otherUsers = Child::ofThisProgram(65534);
        ours.TerminateStaleInstance(otherUsers.pid(), now());
        EXPECT_TRUE(otherUsers.running());
    }
    ours.TerminateStaleInstance(copy.pid(), now());
    EXPECT_TRUE(copy.killed());

    // Ourselves, numbers that name no process, and nonsense: nothing happens.
    for (int64_t pid : {InstanceRegistry::CurrentProcessId(), int64_t{0}, int64_t{-1}, int64_t{1} << 40,
                        int64_t{::getppid()}})
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
        EXPECT_TRUE(InstanceRegistry({registry, ""}).MainWindowExists());
    }
    EXPECT_TRUE(std::filesystem::is_empty(registry));  // unregistered when it went away

    Child other = Child::helper(registry);
    ASSERT_TRUE(waitForRegistration(registry, other.pid()));
    InstanceRegistry helperIsOurs({registry, kHelper});
    EXPECT_FALSE(InstanceRegistry({registry, ""}).MainWindowExists());  // registered, but not our program
    EXPECT_TRUE(helperIsOurs.MainWindowExists());
    helperIsOurs.TerminateStaleInstance(other.pid(), now());
    EXPECT_TRUE(other.killed());
    // Its entry outlived it; the next look removes it.
    EXPECT_FALSE(helperIsOurs.MainWindowExists());
    EXPECT_TRUE(std::filesystem::is_empty(registry));
}

}  // namespace
}  // namespace tessaview
