#pragma once
// Checks shared by the node and connection reader harnesses, on one run of the first
// two run steps.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/RepeatedFaultBoxes.h"
#include "engine/tamblorProgram.h"
#include "sysutils/MessageBoxes.h"

namespace fuzzing {

// Every box is an OK box of the readers, with a text; every counted error was shown, or
// (past the boxes one check shows of a fault) counted in the box that closes the check.
inline void checkBoxes(const std::vector<sysutils::MessageBox>& boxes, int errors) {
    const auto shownAtLeast = std::min<std::int64_t>(errors, engine::RepeatedFaultBoxes::shownPerCheck + 1);
    if (errors < 0 || static_cast<std::int64_t>(boxes.size()) < shownAtLeast) std::abort();
    for (const sysutils::MessageBox& box : boxes) {
        if (box.text.empty() || box.buttons != sysutils::MessageButtons::Ok) std::abort();
        if (box.caption != "Error!" && box.caption != "Warning!") std::abort();
    }
}

// After reading: the node counts add up to the pre-scan's line count, and the matrix
// of the existing nodes is symmetric to the bit.
inline void checkReadInputs(const engine::tamblorProgram& program) {
    if (program.nNodes < 0 || program.nAddedNodes < 0) std::abort();
    if (program.nNodes + program.nAddedNodes != program.nNodeLines) std::abort();
    for (std::int32_t a = 0; a < program.nNodes; ++a)
        for (std::int32_t b = 0; b < a; ++b)
            if (std::memcmp(&program.connections[a][b], &program.connections[b][a], sizeof(float)) != 0) std::abort();
}

// The first two run steps with every check above: the parameter check with its
// pre-scans, then the reading when `reads(nNodeLines)` says so.
template <class Reads>
void checkThenRead(engine::tamblorProgram& program, const sysutils::ScriptedMessageBoxes& boxes, Reads reads) {
    const int errors = program.checkParameters();
    checkBoxes(boxes.boxes(), errors);
    if (!reads(program.nNodeLines)) return;
    program.readInputs();
    checkBoxes(boxes.boxes(), errors);
    checkReadInputs(program);
}

}  // namespace fuzzing
