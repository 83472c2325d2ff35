#include "panel/commandline.h"

#include <string_view>

#include "common/version.h"

namespace orrindale {

namespace {

// The toolkit's options that are handed to it, each with its value.
constexpr std::string_view kToolkitOptions[] = {"-display", "-platform"};

bool IsToolkitOption(std::string_view argument) {
    for (std::string_view option : kToolkitOptions)
        if (argument == option) return true;
    return false;
}

CommandLine Wrong(std::string error) {
    CommandLine wrong;
    wrong.What = CommandLine::Action::Wrong;
    wrong.Error = std::move(error);
    return wrong;
}

} // namespace

CommandLine ReadCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    line.ToolkitArgs.emplace_back(argc > 0 && argv[0] ? argv[0] : "orrindale");
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!options || argument.size() < 2 || argument[0] != '-') {
            line.Files.emplace_back(argument);
        } else if (argument == "--") {
            options = false;
        } else if (argument == "-h" || argument == "--help") {
            line.What = CommandLine::Action::Help;
            return line;
        } else if (argument == "-v" || argument == "--version") {
            line.What = CommandLine::Action::Version;
            return line;
        } else if (IsToolkitOption(argument)) {
            if (i + 1 == argc) return Wrong("option '" + std::string(argument) + "' needs a value");
            line.ToolkitArgs.emplace_back(argument);
            line.ToolkitArgs.emplace_back(argv[++i]);
        } else {
            return Wrong("unknown option '" + std::string(argument) + "'");
        }
    }
    return line;
}

std::string UsageText() {
    return "Usage: orrindale [OPTION]... [FILE]...\n"
           "A simulator of the HP 9100B programmable desktop calculator and its peripherals.\n"
           "\n"
           "Each FILE opens where it belongs: a magnetic card (*.mcf) in the card slot, a card\n"
           "stack (*.ocf) in the marked card reader, a plot (*.ptf) in the plotter, a memory\n"
           "file (*.exm) in the extended memory and a program listing (*.txt) in the program\n"
           "memory viewer. When a calculator already runs on the same settings folder, the files\n"
           "are handed to it and this start ends.\n"
           "\n"
           "Options:\n"
           "  -h, --help           print this help and exit\n"
           "  -v, --version        print the version and exit\n"
           "      --               end the options: every argument after it is a file\n"
           "  -display NAME        the X display to use\n"
           "  -platform NAME       the toolkit's platform plugin (xcb, wayland, offscreen)\n"
           "\n"
           "Exit status: 0 when the calculator closed normally, 1 when it could not start (no\n"
           "display, say), 2 for a wrong option.\n";
}

std::string VersionText() {
    return std::string("orrindale ") + kVersion + "\n";
}

} // namespace orrindale
