// The command line: orrindale [OPTION]... [FILE]...
//
// It is read before the toolkit starts, so that --help and --version answer without a display
// and a wrong option is refused before any window opens. The toolkit's own options that people
// use on X (-display NAME, -platform NAME) are handed to it; every other argument that starts
// with "-" is refused, except "-" itself, and after "--" everything is a file.
#pragma once

#include <string>
#include <vector>

namespace orrindale {

struct CommandLine {
    enum class Action { Run, Help, Version, Wrong };
    Action What = Action::Run;
    std::vector<std::string> Files;       // as given, in order
    std::vector<std::string> ToolkitArgs; // the program's name first, then the toolkit's options
    std::string Error;                    // for Wrong: what was wrong, in one line
};

CommandLine ReadCommandLine(int argc, const char* const* argv);

// What --help and --version print.
std::string UsageText();
std::string VersionText();

// Exit statuses besides 0.
inline constexpr int kExitNoStart = 1; // no display, or the calculator could not start
inline constexpr int kExitUsage = 2;   // a wrong option

} // namespace orrindale
