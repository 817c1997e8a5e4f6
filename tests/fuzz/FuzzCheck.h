#pragma once
// What a fuzz target does when the program and the reference reading differ:
// it prints both and aborts, which libFuzzer reports as a finding and keeps
// the input as a crash file.
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tovik::fuzz {

inline void check(bool holds, const std::string& what) {
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", what.c_str());
    std::abort();
}

inline std::string quoted(const std::string& text) { return "'" + text + "'"; }

}  // namespace tovik::fuzz
