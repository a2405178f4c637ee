// TMPDIR set to another folder for as long as the object lives, then given back as it was.
#pragma once

#include <cstdlib>
#include <string>

namespace kestrum::testing {

class ScopedTmpdir {
public:
    explicit ScopedTmpdir(const std::string& folder) {
        const char* old = std::getenv("TMPDIR");
        had_ = old != nullptr;
        if (had_) old_ = old;
        setenv("TMPDIR", folder.c_str(), 1);
    }
    ~ScopedTmpdir() {
        if (had_)
            setenv("TMPDIR", old_.c_str(), 1);
        else
            unsetenv("TMPDIR");
    }
    ScopedTmpdir(const ScopedTmpdir&) = delete;
    ScopedTmpdir& operator=(const ScopedTmpdir&) = delete;

private:
    bool had_ = false;
    std::string old_;
};

}  // namespace kestrum::testing
