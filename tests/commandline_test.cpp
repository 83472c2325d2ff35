// The command line as the program reads it before the toolkit starts: the files and the
// toolkit's options it keeps, and which option wins. What the real program answers to each
// option is checked by commandline_check.sh.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/commandline.h"

using namespace orrindale;
using Action = CommandLine::Action;

TEST(CommandLine, OptionsFilesAndTheToolkitsOwn) {
    struct Case {
        std::vector<const char*> Args; // after the program's name
        Action What;
        std::vector<std::string> Files;
        std::vector<std::string> Toolkit; // after the program's name
    };
    const Case cases[] = {
        {{}, Action::Run, {}, {}},
        {{"a.mcf", "b c.ptf"}, Action::Run, {"a.mcf", "b c.ptf"}, {}},
        {{"-"}, Action::Run, {"-"}, {}},
        {{"--", "--help", "-x"}, Action::Run, {"--help", "-x"}, {}},
        {{"a.mcf", "--", "--"}, Action::Run, {"a.mcf", "--"}, {}},
        {{"-display", ":1", "a.mcf", "-platform", "offscreen"},
         Action::Run,
         {"a.mcf"},
         {"-display", ":1", "-platform", "offscreen"}},
        // The first option that answers wins.
        {{"--version", "--bogus"}, Action::Version, {}, {}},
        {{"--bogus", "--help"}, Action::Wrong, {}, {}},
        {{"-style", "fusion"}, Action::Wrong, {}, {}},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv{"orrindale"};
        argv.insert(argv.end(), c.Args.begin(), c.Args.end());
        std::string shown;
        for (const char* a : c.Args)
            shown += std::string(a) + " ";
        SCOPED_TRACE(shown);
        const CommandLine line = ReadCommandLine(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(line.What, c.What);
        EXPECT_EQ(line.Error.empty(), c.What != Action::Wrong);
        if (c.What != Action::Run) continue;
        EXPECT_EQ(line.Files, c.Files);
        std::vector<std::string> toolkit{"orrindale"};
        toolkit.insert(toolkit.end(), c.Toolkit.begin(), c.Toolkit.end());
        EXPECT_EQ(line.ToolkitArgs, toolkit);
    }
}
