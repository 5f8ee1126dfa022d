// The command line read before the application exists: what starts the player and what does not.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace tessaview {
namespace {

TEST(CommandLine, FilesAndQtOptionsStartThePlayerOthersAnswer) {
    const std::string dashFile = "-command-line-test.avi";  // a movie whose name starts like an option
    std::ofstream(dashFile) << "x";
    const struct {
        std::vector<const char*> args;
        std::optional<int> status;
    } cases[] = {
        {{"movie.avi"}, std::nullopt},
        {{dashFile.c_str()}, std::nullopt},
        {{"--foo", "movie.avi"}, 2},
        {{"-platform", "offscreen", "--style=fusion", "-reverse", "movie.avi"}, std::nullopt},
        {{"--", "--foo"}, std::nullopt},
        {{"-platform"}, std::nullopt},
        {{"movie.avi", "-h"}, 0},
        {{"-reverse=1"}, 2},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv{"tessaview"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        std::ostringstream out, err;
        EXPECT_EQ(AnswerCommandLine(int(argv.size()), argv.data(), out, err), c.status) << c.args.front();
        EXPECT_EQ(out.str().empty(), c.status != 0) << c.args.front();
    }
    std::remove(dashFile.c_str());
}

}  // namespace
}  // namespace tessaview
