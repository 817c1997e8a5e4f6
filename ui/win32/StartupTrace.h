// Where start-up time goes, for measuring only: phase marks and spans
// written to a file when TOVIK_STARTUP_TRACE names one.
#pragma once
// Where start-up time goes, for measuring only: with the environment variable
// TOVIK_STARTUP_TRACE naming a file, each phase's end is noted in
// milliseconds since the process was created, and once the message loop
// first runs out of work (the window painted), the lines are written to that
// file. Without the variable every call returns at once.
namespace tovik::win32 {

class StartupTrace {
public:
    // The end of a phase.
    static void mark(const char* phase);
    // Time spent on a kind of work spread over several phases (fonts,
    // pictures), added up while the object lives.
    class Span {
    public:
        explicit Span(const char* bucket);
        ~Span();
        Span(const Span&) = delete;
        Span& operator=(const Span&) = delete;

    private:
        const char* bucket_;
        long long start_;
    };
    // True until the record is written; the message loop asks before waiting.
    static bool pending();
    // Notes the end of the first paint and writes the record.
    static void finish();
};

}  // namespace tovik::win32
