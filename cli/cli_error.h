#pragma once
// The two ways a command fails. A usage error (exit code 2) means the command
// line itself is wrong and the usage text follows the message; everything
// else (a file, a label, the printer) is an ordinary exception carrying the
// German message of the library that raised it (exit code 1).

#include <stdexcept>
#include <string>

class ECliUsage : public std::runtime_error {
public:
    // ACommand: the command whose usage text follows, empty for the overview.
    ECliUsage(const std::string& AMessage, std::string ACommand)
        : std::runtime_error(AMessage), FCommand(std::move(ACommand)) {}
    const std::string& Command() const noexcept { return FCommand; }

private:
    std::string FCommand;
};

// Exit codes of the program.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
