// Runs a shell command of the test machine and answers what it printed.
#pragma once

#include <cstdio>
#include <string>

namespace quorvane::testing {

inline std::string runCommand(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char chunk[4096];
    while (const std::size_t got = std::fread(chunk, 1, sizeof(chunk), pipe))
        output.append(chunk, got);
    pclose(pipe);
    return output;
}

} // namespace quorvane::testing
