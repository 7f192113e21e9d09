#include "ToolCommand.h"

#include "ProblemNumber.h"
#include "QuotedText.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <stdexcept>

namespace {

std::vector<const ToolCommand*>& Registry()
{
    static std::vector<const ToolCommand*> commands;
    return commands;
}

void PrintUsage(std::ostream& out)
{
    out << "usage: tovrik-tool COMMAND ...\n";
    for (const ToolCommand* command : RegisteredCommands())
        out << "  tovrik-tool " << command->usage << '\n';
}

} // namespace

ToolCommand::ToolCommand(std::string name_, std::string usage_, Run run_)
    : name(std::move(name_)), usage(std::move(usage_)), run(std::move(run_))
{
    Registry().push_back(this);
}

const std::vector<const ToolCommand*>& RegisteredCommands() { return Registry(); }

ToolArgs::ToolArgs(std::vector<std::string> args) : args_(std::move(args)) {}

std::string ToolArgs::TakeOption(const std::string& name, const std::string& fallback)
{
    for (auto it = args_.begin(); it != args_.end(); ++it) {
        if (*it != name)
            continue;
        if (std::next(it) == args_.end())
            throw std::invalid_argument(name + " needs a value");
        std::string value = *std::next(it);
        args_.erase(it, std::next(it, 2));
        return value;
    }
    return fallback;
}

int ToolArgs::TakeIntOption(const std::string& name, int fallback)
{
    const std::string value = TakeOption(name);
    return value.empty() ? fallback : ParseInt(value, name);
}

int ToolArgs::TakeProblem(const std::string& name)
{
    const std::string value = TakeOption(name);
    if (value.empty())
        throw std::invalid_argument(name + " N is needed (0 for a random deal)");
    return ParseProblem(value, name);
}

bool ToolArgs::TakeFlag(const std::string& name)
{
    for (auto it = args_.begin(); it != args_.end(); ++it) {
        if (*it == name) {
            args_.erase(it);
            return true;
        }
    }
    return false;
}

std::string ToolArgs::TakePositional(const std::string& what)
{
    for (auto it = args_.begin(); it != args_.end(); ++it) {
        if (it->size() > 2 && it->rfind("--", 0) == 0)
            continue;
        std::string value = *it;
        args_.erase(it);
        return value;
    }
    throw std::invalid_argument("missing " + what);
}

std::string ToolArgs::TakeLayout(const std::string& what)
{
    return FindLayoutFile(TakePositional(what));
}

std::vector<std::string> ToolArgs::TakeRest()
{
    std::vector<std::string> rest;
    rest.swap(args_);
    return rest;
}

void ToolArgs::ExpectEnd() const
{
    if (!args_.empty())
        throw std::invalid_argument("unexpected argument '" + args_.front() + "'");
}

int ParseInt(const std::string& text, const std::string& what)
{
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        throw std::invalid_argument(what + " is not a whole number: '" + text + "'");
    return static_cast<int>(value);
}

int ParseProblem(const std::string& text, const std::string& what)
{
    const int value = ParseInt(text, what);
    if (value < 0 || value > kHighestProblem)
        throw std::invalid_argument(what + " needs a problem number from 0 to " + std::to_string(kHighestProblem)
                                    + ", not '" + text + "'");
    return value;
}

std::pair<int, int> ParseRange(const std::string& text)
{
    const size_t dash = text.find('-', 1);
    if (dash == std::string::npos)
        throw std::invalid_argument("--problems needs a range A-B, not '" + text + "'");
    // Both ends lie in 0-100000, so counting through the range cannot overflow.
    const int first = ParseProblem(text.substr(0, dash), "the first problem");
    const int last = ParseProblem(text.substr(dash + 1), "the last problem");
    if (last < first)
        throw std::invalid_argument("the problem range " + text + " runs backwards");
    return {first, last};
}

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args.front() == "--help" || args.front() == "help") {
        PrintUsage(args.empty() ? std::cerr : std::cout);
        return args.empty() ? 2 : 0;
    }
    RemoveToolLeftovers();
    for (const ToolCommand* command : RegisteredCommands()) {
        if (command->name != args.front())
            continue;
        try {
            return command->run({args.begin() + 1, args.end()});
        } catch (const std::exception& error) {
            std::cerr << "tovrik-tool " << command->name << ": " << error.what() << '\n';
            return 1;
        }
    }
    std::cerr << "tovrik-tool: unknown command " << QuotedText(args.front()) << '\n';
    PrintUsage(std::cerr);
    return 2;
}
