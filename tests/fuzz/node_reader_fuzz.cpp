// Runs the parameter check with its pre-scans and the reading of the inputs on the
// input as node file, with and without candidate nodes, against a small fixed
// connection file. Every message box is recorded and checked.
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "ReaderRunChecks.h"
#include "engine/tamblorProgram.h"
#include "sysutils/MessageBoxes.h"

namespace {

// Above this many node lines the connection matrix alone would take most of the
// time and memory of a run; such inputs test nothing the smaller ones do not.
constexpr std::int32_t maxNodeLines = 2048;

void runOnNodeFile(const std::string& nodeFile, const std::string& connectionFile, bool addNodes, float AL) {
    sysutils::ScriptedMessageBoxes boxes;
    engine::tamblorProgram program(true, false, false, true, false, false, true, false, false, false, false, false,
                                   true, nodeFile, connectionFile, 100.0f, 100.0f, 0.5f, 0.0f, false, false,
                                   addNodes, AL);
    // The file may change between the pre-scan and the reading, so the readers must
    // hold up on any file, also one whose pre-scan failed after counting its lines.
    fuzzing::checkThenRead(program, boxes,
                           [](std::int32_t nodeLines) { return nodeLines > 0 && nodeLines <= maxNodeLines; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > fuzzing::maxInputSize) return -1;
    static const std::string connectionFile =
        fuzzing::writeInputFile("connections.txt", "101 102 10\n102 103 20.5\n103 104 1e2\n");
    const std::string nodeFile = fuzzing::writeInputFile("nodes.txt", data, size);
    runOnNodeFile(nodeFile, connectionFile, false, 0.0f);
    runOnNodeFile(nodeFile, connectionFile, true, 1000.0f);
    return 0;
}
