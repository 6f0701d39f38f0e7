#pragma once
// The boxes of one check of one input file. A file whose every line has the same fault
// (a million lines with one column too many, random bytes) would otherwise open one
// modal box per line: the check shows the first boxes of its fault, counts the rest, and
// at its end shows one box that says how many further lines had that fault. Whoever
// counts errors counts every line as before.
#include <cstdint>
#include <string>

namespace engine {

class RepeatedFaultBoxes {
public:
    // Boxes a check shows before it only counts.
    static constexpr std::int64_t shownPerCheck = 20;

    // `fault` names the fault in the closing box ("a number of columns different from
    // that of the first line"); `file` is the file checked; `caption` the boxes' caption.
    RepeatedFaultBoxes(std::string fault, std::string file, const char* caption);

    // One more line with the fault: its box, while fewer than shownPerCheck were shown.
    void show(const std::string& text);
    // Ends the check: the closing box when lines were left out. Call it on every way out
    // of the check that returns normally (never from a destructor: a box is a hold point
    // of the worker, which may end it there).
    void finish();

    std::int64_t shown() const { return shown_; }
    std::int64_t leftOut() const { return leftOut_; }

    // The closing box's text.
    static std::string leftOutText(std::int64_t leftOut, const std::string& fault, const std::string& file);

private:
    std::string fault_;
    std::string file_;
    const char* caption_;
    std::int64_t shown_ = 0;
    std::int64_t leftOut_ = 0;
};

}  // namespace engine
