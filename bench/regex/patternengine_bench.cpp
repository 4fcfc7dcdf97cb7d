// Benchmark of the pattern engine against PCRE2 (interpreter, no JIT) and std::regex (ECMAScript)
// on generated window titles: (a) one-shot PatternMatches per title, as the program uses it;
// (b) one compiled engine reused across titles. Prints times, ratios and match counts. (c) times
// patterns that make a plain backtracker take exponential time, on 100 long titles, against the
// bound of about a millisecond a title.
#include "regex/patternengine.h"
#include "titlecorpus.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kTitles = 12000;
constexpr int kRepetitions = 3;

struct UserPattern
{
    const char *pattern;    // for the engine and PCRE2
    const char *ecmaScript; // the same for std::regex, whose (?i) is a flag
    bool ignoreCase;
};

// Patterns as users write them for window titles.
const std::vector<UserPattern> kPatterns {
    {"Firefox", "Firefox", false},
    {"Visual Studio Code$", "Visual Studio Code$", false},
    {"^Terminal - ", "^Terminal - ", false},
    {"- Mozilla Firefox$", "- Mozilla Firefox$", false},
    {"Firefox|Chromium|Chrome", "Firefox|Chromium|Chrome", false},
    {"^(Inbox|Posteingang) \\([0-9]+\\)", "^(Inbox|Posteingang) \\([0-9]+\\)", false},
    {"(?i)thunderbird", "thunderbird", true},
    {"(?i)^home — files$", "^home — files$", true},
    {"Untitled-\\d{1,3} ", "Untitled-\\d{1,3} ", false},
    {"^[a-z]+@[a-z0-9-]+: ", "^[a-z]+@[a-z0-9-]+: ", false},
    {"\\.(cpp|h|txt) ", "\\.(cpp|h|txt) ", false},
    {"Meeting [0-9]{2,3} - Thunderbird$", "Meeting [0-9]{2,3} - Thunderbird$", false},
};

constexpr uint32_t kPcre2Options = PCRE2_DOTALL | PCRE2_DOLLAR_ENDONLY;

double secondsOf(const std::function<long()> &run, long &matches)
{
    double best = 1e9;
    for (int i = 0; i < kRepetitions; ++i) {
        const auto start = std::chrono::steady_clock::now();
        matches = run();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

long engineOneShot(const std::vector<std::string> &titles)
{
    long matches = 0;
    for (const UserPattern &pattern : kPatterns) {
        for (const std::string &title : titles) {
            matches += PatternMatches(pattern.pattern, title) ? 1 : 0;
        }
    }
    return matches;
}

long pcre2OneShot(const std::vector<std::string> &titles)
{
    long matches = 0;
    for (const UserPattern &pattern : kPatterns) {
        for (const std::string &title : titles) {
            int error = 0;
            PCRE2_SIZE offset = 0;
            pcre2_code *code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.pattern), PCRE2_ZERO_TERMINATED,
                kPcre2Options, &error, &offset, nullptr);
            pcre2_match_data *data = pcre2_match_data_create_from_pattern(code, nullptr);
            matches
                += pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(title.data()), title.size(), 0, 0, data, nullptr) >= 0
                ? 1
                : 0;
            pcre2_match_data_free(data);
            pcre2_code_free(code);
        }
    }
    return matches;
}

std::regex::flag_type ecmaFlags(const UserPattern &pattern)
{
    return std::regex::ECMAScript | (pattern.ignoreCase ? std::regex::icase : std::regex::flag_type {});
}

long stdRegexOneShot(const std::vector<std::string> &titles)
{
    long matches = 0;
    for (const UserPattern &pattern : kPatterns) {
        for (const std::string &title : titles) {
            const std::regex regex(pattern.ecmaScript, ecmaFlags(pattern));
            matches += std::regex_search(title, regex) ? 1 : 0;
        }
    }
    return matches;
}

long engineReused(const std::vector<std::string> &titles, const UserPattern &pattern)
{
    TPatternEngine engine;
    engine.SetExpression(pattern.pattern);
    long matches = 0;
    for (const std::string &title : titles) {
        matches += engine.Exec(title) ? 1 : 0;
    }
    return matches;
}

long pcre2Reused(const std::vector<std::string> &titles, const UserPattern &pattern)
{
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code *code = pcre2_compile(
        reinterpret_cast<PCRE2_SPTR>(pattern.pattern), PCRE2_ZERO_TERMINATED, kPcre2Options, &error, &offset, nullptr);
    pcre2_match_data *data = pcre2_match_data_create_from_pattern(code, nullptr);
    long matches = 0;
    for (const std::string &title : titles) {
        matches += pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(title.data()), title.size(), 0, 0, data, nullptr) >= 0
            ? 1
            : 0;
    }
    pcre2_match_data_free(data);
    pcre2_code_free(code);
    return matches;
}

long stdRegexReused(const std::vector<std::string> &titles, const UserPattern &pattern)
{
    const std::regex regex(pattern.ecmaScript, ecmaFlags(pattern));
    long matches = 0;
    for (const std::string &title : titles) {
        matches += std::regex_search(title, regex) ? 1 : 0;
    }
    return matches;
}

struct PathologicalCase
{
    const char *pattern;
    std::string title;
};

// Titles are at most 255 bytes; 60 'a' and a '!' is the title that stalled --match.
std::vector<PathologicalCase> pathologicalCases()
{
    const std::string as60(60, 'a');
    const std::string as254(254, 'a');
    std::string abs126;
    for (int i = 0; i < 126; ++i) {
        abs126 += "ab";
    }
    return {
        {"^(a+)+$", as60 + "!"},
        {"^(a+)+$", as254 + "!"},
        {"(a|aa)*c", as254},
        {"(x+x+)+y", std::string(254, 'x')},
        {"^(\\w+\\s?)+$", "Mozilla Firefox Private Browsing Window Title Here and more words to come!"},
        {"((a+)+)+(b|c)", as254},
        {"((a+?)+?)+?(b|c)", as254},
        {"(?-g)^(a+)+$", as254 + "!"},
        {"^((a{1,3}){1,50}){1,50}$", as254 + "!"},
        {"^((a{1,3}){1,50}){1,50}$", as254},
        {"^((a{1,3}?){1,50}?){1,50}?$", as254 + "!"},
        {"(.*)(.*)(.*)(.*)(.*)x", as254},
        {"^(a|aa)+\\1$", as60 + "!"},
        {"^(a|aa)+\\1$", as254 + "!"},
        {"^(a|b|ab)+\\1\\1$", "ab" + as254.substr(0, 250) + "!"},
        {"(a?)(\\1|a)*b", as254},
        {"(a?)(\\1|a)*b", as254.substr(0, 253) + "!b"},
        {"(.?)(\\1|a)*b", as254.substr(0, 253) + "!b"},
        {"(.?)(\\1|a)*?b", as254.substr(0, 253) + "!b"},
        {"(.?)(\\1|a){0,300}b", as254.substr(0, 253) + "!b"},
        {"(.?)((\\1|a)+)+b", as254.substr(0, 253) + "!b"},
        {"^((a{1,3}?){1,9}?){1,9}?$", as254},
        {"^((a{1,3}){1,9}){1,9}$", as254},
        {"^((ab|a){2,7}){1,9}x$", abs126 + "x"},
        {"^((ab|a){2,7}?){1,9}?x$", abs126 + "x"},
        {"(a{1,4}?b?){1,40}?c", as254 + "c"},
        {"(a{1,4}b?){1,40}c", as254 + "c"},
        {"(a{1,4}?b?){1,40}?c", as254.substr(0, 253) + "bc"},
        {"^((a{1,3}b?){1,9}){1,9}$", as254.substr(0, 253) + "b"},
        {"^((a{1,3}b*){1,9}){1,9}$", as254.substr(0, 253) + "b"},
        {"(a{1,4}?b?){1,60}?c", as254.substr(0, 253) + "bc"},
    };
}

constexpr int kPathologicalTitles = 100;
constexpr double kBoundSecondsPerTitle = 1e-3;

// Each case as --match runs it: a fresh one-shot PatternMatches per title, errors counted as no match.
void runPathological()
{
    std::printf("\n(c) pathological patterns, %d titles each (bound: %.0f ms per title)\n", kPathologicalTitles,
        kBoundSecondsPerTitle * 1e3);
    for (const PathologicalCase &test : pathologicalCases()) {
        long errors = 0;
        long matches = 0;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kPathologicalTitles; ++i) {
            try {
                matches += PatternMatches(test.pattern, test.title) ? 1 : 0;
            } catch (const EPatternEngine &) {
                ++errors;
            }
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double perTitle = seconds / kPathologicalTitles;
        std::printf("  %-30s %3zu bytes %10.3f ms per title  %3ld matches %3ld errors  %s\n", test.pattern,
            test.title.size(), perTitle * 1e3, matches, errors,
            perTitle <= kBoundSecondsPerTitle ? "within the bound" : "OVER THE BOUND");
    }
}

// One peer's total; `matches` < 0 when the total spans several match counts.
void printLine(const char *name, double seconds, long matches, double engineSeconds, long calls)
{
    std::printf("  %-12s %9.2f ms %8.1f ns/title", name, seconds * 1e3, seconds * 1e9 / static_cast<double>(calls));
    if (matches >= 0) {
        std::printf("  %6ld matches", matches);
    }
    std::printf("  time / engine's time: %6.2f\n", seconds / engineSeconds);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::string_view(argv[1]) == "--pathological") {
        runPathological();
        return 0;
    }
    const std::vector<std::string> titles = generateTitles(kTitles);
    const long calls = static_cast<long>(titles.size() * kPatterns.size());
    std::printf("%zu titles x %zu patterns = %ld matches per measurement, best of %d\n\n", titles.size(),
        kPatterns.size(), calls, kRepetitions);

    long engineMatches = 0;
    long pcre2Matches = 0;
    long stdMatches = 0;
    const double engineA = secondsOf([&] { return engineOneShot(titles); }, engineMatches);
    const double pcre2A = secondsOf([&] { return pcre2OneShot(titles); }, pcre2Matches);
    const double stdA = secondsOf([&] { return stdRegexOneShot(titles); }, stdMatches);
    std::printf("(a) one-shot: compile and match per title (goals: 2x PCRE2, 20x std::regex)\n");
    printLine("engine", engineA, engineMatches, engineA, calls);
    printLine("PCRE2", pcre2A, pcre2Matches, engineA, calls);
    printLine("std::regex", stdA, stdMatches, engineA, calls);

    std::printf("\n(b) compiled once, reused across titles (goal: at most 1.2x PCRE2's time)\n");
    std::printf("  %-36s %10s %10s %10s %8s %8s\n", "pattern", "engine", "PCRE2", "std::regex", "/PCRE2", "matches");
    double engineB = 0;
    double pcre2B = 0;
    double stdB = 0;
    for (const UserPattern &pattern : kPatterns) {
        const double engine = secondsOf([&] { return engineReused(titles, pattern); }, engineMatches);
        const double pcre2 = secondsOf([&] { return pcre2Reused(titles, pattern); }, pcre2Matches);
        const double stdRegex = secondsOf([&] { return stdRegexReused(titles, pattern); }, stdMatches);
        engineB += engine;
        pcre2B += pcre2;
        stdB += stdRegex;
        std::printf("  %-36s %8.3fms %8.3fms %8.3fms %8.2f %4ld%s\n", pattern.pattern, engine * 1e3, pcre2 * 1e3,
            stdRegex * 1e3, engine / pcre2, engineMatches,
            engineMatches == pcre2Matches && engineMatches == stdMatches ? "" : "  (peers differ)");
    }
    printLine("engine", engineB, -1, engineB, calls);
    printLine("PCRE2", pcre2B, -1, engineB, calls);
    printLine("std::regex", stdB, -1, engineB, calls);
    std::printf("  engine time / PCRE2 time: %.2f\n", engineB / pcre2B);
    runPathological();
    return 0;
}
