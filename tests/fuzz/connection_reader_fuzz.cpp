// Runs the parameter check with its pre-scans and the reading of the inputs on the
// input as connection file, once for each connection type, against a small fixed
// node file with existing and candidate nodes. Every message box is recorded and checked.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzInput.h"
#include "ReaderRunChecks.h"
#include "engine/tamblorProgram.h"
#include "sysutils/MessageBoxes.h"

namespace {

enum class Type { Distances, Probabilities, Links };

void runOnConnectionFile(const std::string& nodeFile, const std::string& connectionFile, Type type, bool full) {
    sysutils::ScriptedMessageBoxes boxes;
    const bool probabilistic = type != Type::Links;
    engine::tamblorProgram program(type == Type::Distances, type == Type::Probabilities, type == Type::Links, true,
                                   true, false, true, false, false, false, false, false, probabilistic, nodeFile,
                                   connectionFile, type == Type::Distances ? 100.0f : 0.5f, 100.0f, 0.5f, 0.0f, true,
                                   full, true, 0.0f);
    // The fixed node file always passes; the connection file is read whatever its
    // pre-scan found, since it may change between the pre-scan and the reading.
    fuzzing::checkThenRead(program, boxes, [](std::int32_t nodeLines) {
        if (nodeLines <= 0) std::abort();
        return true;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > fuzzing::maxInputSize) return -1;
    static const std::string nodeFile =
        fuzzing::writeInputFile("nodes.txt", "1 10 1\n2 20 1\n3 30 0\n4 40 1\n2 25 1\n5 50 0\n");
    const std::string connectionFile = fuzzing::writeInputFile("connections.txt", data, size);
    runOnConnectionFile(nodeFile, connectionFile, Type::Distances, false);
    runOnConnectionFile(nodeFile, connectionFile, Type::Probabilities, true);
    runOnConnectionFile(nodeFile, connectionFile, Type::Links, false);
    return 0;
}
