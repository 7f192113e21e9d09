#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace tooltest {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string TempPath(const std::string& suffix)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(TOVRIK_TEST_TMP) + "/" + info->test_suite_name() + "." + info->name() + "." + suffix;
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline ToolRun Tool(const std::string& arguments)
{
    const std::string errPath = TempPath("stderr");
    const std::string command = std::string(TOVRIK_RUNTIME_DIR) + "/tovrik-tool " + arguments + " 2>" + errPath;
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadFile(errPath);
    return run;
}

inline bool OneLineError(const ToolRun& run)
{
    return run.status != 0 && !run.err.empty() && run.err.find('\n') == run.err.size() - 1;
}

} // namespace tooltest
