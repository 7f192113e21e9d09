#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

// One command group of tovrik-tool ("layout", "deal", "sound" ...). Each group
// registers itself from its own source file through a static ToolCommand.
struct ToolCommand {
    using Run = std::function<int(const std::vector<std::string>& args)>;

    ToolCommand(std::string name, std::string usage, Run run);

    std::string name;
    std::string usage;
    Run run;
};

const std::vector<const ToolCommand*>& RegisteredCommands();

// Shared argument helpers; they throw std::invalid_argument with a readable message.
class ToolArgs {
public:
    explicit ToolArgs(std::vector<std::string> args);

    // Removes "--name VALUE" and returns VALUE, or fallback when absent.
    std::string TakeOption(const std::string& name, const std::string& fallback = {});
    int TakeIntOption(const std::string& name, int fallback);
    // Removes the required "--name N" and returns N, a problem number the game takes (0 to 100000).
    int TakeProblem(const std::string& name);
    // Removes a "--name" switch and tells whether it was there.
    bool TakeFlag(const std::string& name);
    // Removes and returns the next positional argument; what names it in errors.
    std::string TakePositional(const std::string& what);
    // A positional layout file; a bare name that is no file here is looked up
    // in the layout folders, as the game does (the user's own, then the shipped).
    std::string TakeLayout(const std::string& what);
    // Removes and returns every argument left.
    std::vector<std::string> TakeRest();
    // Throws when anything is left over.
    void ExpectEnd() const;

private:
    std::vector<std::string> args_;
};

// name itself when it is a file or a path, else the layout of that name in the
// game's layout folders (found from the tool's own folder).
std::string FindLayoutFile(const std::string& name);
// The player's own layout folder, which the game lists beside the shipped one.
std::string UserLayoutFolder();
// The layouts that come with the game.
std::string ShippedLayoutFolder();
// Removes what killed writes of the tool left in the folders it writes by default.
void RemoveToolLeftovers();

int ParseInt(const std::string& text, const std::string& what);
// "A-B" as the pair (A, B), A <= B, both problem numbers the game takes.
std::pair<int, int> ParseRange(const std::string& text);
// A problem number the game takes: 0 (a random deal) to 100000.
int ParseProblem(const std::string& text, const std::string& what);
