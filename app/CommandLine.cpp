#include "app/CommandLine.h"

#include <cstdint>

namespace tovik::app {

namespace {

// Blanks and control characters separate arguments.
bool isSeparator(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Reads one argument starting at `at`; returns it and moves `at` past it.
std::string nextArgument(const std::string& line, size_t& at) {
    for (;;) {
        while (at < line.size() && isSeparator(line[at])) ++at;
        // An empty pair of quotes before an argument counts for nothing.
        if (at + 1 < line.size() && line[at] == '"' && line[at + 1] == '"')
            at += 2;
        else
            break;
    }
    std::string argument;
    while (at < line.size() && !isSeparator(line[at])) {
        if (line[at] == '"') {
            ++at;
            while (at < line.size() && line[at] != '"') argument += line[at++];
            if (at < line.size()) ++at;
        } else {
            argument += line[at++];
        }
    }
    return argument;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string FirstArgument(const std::string& commandLine) {
    size_t at = 0;
    nextArgument(commandLine, at);  // the program name
    return nextArgument(commandLine, at);
}

std::optional<int> ParseRuntimeInteger(const std::string& text) {
    size_t at = 0;
    while (at < text.size() && text[at] == ' ') ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';

    int base = 10;
    if (at < text.size() && (text[at] == '$' || text[at] == 'x' || text[at] == 'X')) {
        base = 16;
        ++at;
    } else if (at + 1 < text.size() && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X')) {
        base = 16;
        at += 2;
    }
    if (at == text.size()) return std::nullopt;

    // The magnitude may reach 2^31 for the most negative value.
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t magnitude = 0;
    for (; at < text.size(); ++at) {
        const int digit = base == 16 ? hexDigit(text[at]) : (text[at] >= '0' && text[at] <= '9' ? text[at] - '0' : -1);
        if (digit < 0) return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > limit) return std::nullopt;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

bool IsClockTimeArgument(const std::string& argument) {
    // Count characters, not bytes: a UTF-8 continuation byte starts no character.
    int characters = 0;
    bool colonThird = false;
    for (char c : argument) {
        if ((static_cast<unsigned char>(c) & 0xC0) == 0x80) continue;
        ++characters;
        if (characters == 3) colonThird = c == ':';
    }
    return characters == 5 && colonThird;
}

}  // namespace tovik::app
