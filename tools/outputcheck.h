// Standard output that the command-line tools do not lose without a word: a full disk or a
// closed pipe makes the tool say so on standard error and end with its error status, rather
// than end as if its output had been written.
#pragma once

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace orrindale {

class OutputCheck {
public:
    explicit OutputCheck(const char* tool) : tool_(tool) {}

    // Looks whether the output written so far has failed. Called as the output goes, it keeps
    // the system's reason of the failing write, before later calls can change errno.
    void Note() {
        if (error_ == 0 && (!std::cout || std::ferror(stdout))) error_ = errno != 0 ? errno : EIO;
    }

    // Writes out what is still buffered; false, once said on standard error, when any of the
    // output could not be written.
    bool Finish() {
        Note();
        if (error_ == 0) {
            errno = 0;
            std::cout.flush();
            std::fflush(stdout);
            Note();
        }
        if (error_ == 0) return true;
        std::cerr << tool_ << ": cannot write the output: " << std::strerror(error_) << '\n';
        return false;
    }

private:
    const char* tool_;
    int error_ = 0;
};

} // namespace orrindale
