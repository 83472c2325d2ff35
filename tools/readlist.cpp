// readlist: prints the lines of a scrambled text list (a settings, state or roll file of the
// program folder), one per line. Exit status 1 when the file cannot be read as one or its lines
// cannot be written.
#include <iostream>

#include "common/hpdata.h"
#include "outputcheck.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: readlist FILE\n";
        return 2;
    }
    orrindale::TextList lines;
    if (!orrindale::LoadScrambledTextList(argv[1], lines)) {
        std::cerr << "readlist: cannot read " << argv[1] << '\n';
        return 1;
    }
    orrindale::OutputCheck output("readlist");
    for (const std::string& line : lines)
        std::cout << line << '\n';
    return output.Finish() ? 0 : 1;
}
