// Writes tolvex-rename's completion for the shell named: bash, zsh or fish.
#include "cli/Completion.h"

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[])
{
    const char* shell = argc == 2 ? argv[1] : "";
    const std::string text = !std::strcmp(shell, "bash") ? bashCompletion()
        : !std::strcmp(shell, "zsh")                     ? zshCompletion()
        : !std::strcmp(shell, "fish")                    ? fishCompletion()
                                                         : std::string();
    if (text.empty()) {
        std::fputs("usage: tolvex-rename-completion bash|zsh|fish\n", stderr);
        return 2;
    }
    std::fputs(text.c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
