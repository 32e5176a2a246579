#pragma once
// Regular expressions with the syntax VBScript's RegExp accepts (JavaScript 1.5
// style): classes, greedy and lazy quantifiers, groups, lookahead, alternation,
// anchors, \b \d \w \s, backreferences. The matcher backtracks on an explicit stack
// and counts its steps, so a hostile pattern ends with RegexError instead of
// hanging or exhausting the machine stack.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace qm::vbs::rt {

class RegexError : public std::runtime_error {
public:
    RegexError(int number, const std::string& description) : std::runtime_error(description), number_(number) {}
    int number() const { return number_; }

private:
    int number_;
};

struct RegexMatch {
    size_t index = 0;
    size_t length = 0;
    // Per capture group (1-based groups at [0..]): start and end, or -1/-1 when unmatched.
    std::vector<std::pair<long, long>> groups;
};

class Regex {
public:
    struct Program;

    // Throws RegexError (5017..5021) on a malformed pattern.
    Regex(const std::u16string& pattern, bool ignoreCase, bool multiline);
    ~Regex();
    Regex(Regex&&) noexcept;
    Regex& operator=(Regex&&) noexcept;

    // Finds the first match starting at or after `start`. Throws RegexError when the
    // step budget runs out.
    bool search(const std::u16string& text, size_t start, RegexMatch& match) const;
    size_t groupCount() const;

    void setStepLimit(uint64_t steps) { stepLimit_ = steps; }

private:
    std::unique_ptr<Program> program_;
    uint64_t stepLimit_ = 20'000'000;
};

// Expands a Replace template ($1..$99, $&, $`, $', $$) for one match.
std::u16string expandReplacement(const std::u16string& templ, const std::u16string& text, const RegexMatch& match);

} // namespace qm::vbs::rt
