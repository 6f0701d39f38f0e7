#pragma once
// Runs the first two steps of an execution on files written by the test: writes the
// node and connection files, constructs the engine object, checks the parameters and
// pre-scans, and reads the inputs. Every message box is recorded.
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engine/tamblorProgram.h"
#include "support/TestFiles.h"
#include "sysutils/MessageBoxes.h"

namespace sysutils {
inline void PrintTo(const MessageBox& box, std::ostream* out) { *out << "[" << box.caption << "] " << box.text; }
}  // namespace sysutils

namespace testing_support {

enum class ConnectionKind { None, Distances, Probabilities, Links };

// The constructor's arguments, with defaults that pass every check.
struct RunSettings {
    ConnectionKind type = ConnectionKind::Distances;
    bool doA = false, doCCP = false, doLCP = false, doIIC = false, doNC = true, doNL = false, doH = false, doF = false,
         doAWF = false, doPC = false;
    float threshold = 100.0f;
    float distance = 100.0f;
    float probability = 0.5f;
    float minProbability = 0.01f;
    bool allPaths = true;
    bool fullMatrix = false;
    bool addNodes = false;
    float AL = 0.0f;
};

inline std::unique_ptr<engine::tamblorProgram> makeProgram(const RunSettings& s, const std::string& nodeFile,
                                                           const std::string& connectionFile) {
    return std::make_unique<engine::tamblorProgram>(
        s.type == ConnectionKind::Distances, s.type == ConnectionKind::Probabilities, s.type == ConnectionKind::Links,
        s.doA, s.doCCP, s.doLCP, s.doIIC, s.doNC, s.doNL, s.doH, s.doF, s.doAWF, s.doPC, nodeFile, connectionFile,
        s.threshold, s.distance, s.probability, s.minProbability, s.allPaths, s.fullMatrix, s.addNodes, s.AL);
}

inline sysutils::MessageBox errorBox(const std::string& text) { return {text, "Error!", sysutils::MessageButtons::Ok}; }
inline sysutils::MessageBox warningBox(const std::string& text) {
    return {text, "Warning!", sysutils::MessageButtons::Ok};
}

// Closing texts of the readers' messages.
inline const std::string nodeStops =
    "\nNo more lines will be read from this file. RESULTS WILL BE INVALID.\nPlease cancel and discard the processing "
    "and correct the format of the node file.";
inline const std::string nodeGoesOn =
    "\nProcessing will continue, but the RESULTS WILL almost surely BE INVALID because of that error in the input "
    "data.\nPlease cancel and discard the processing and correct the format of the node file.";
inline const std::string connectionStops =
    "\nNo more lines will be read from this file. RESULTS WILL BE INVALID.\nPlease cancel and discard the processing "
    "and correct the format of the connection file.";
inline const std::string connectionGoesOn =
    "\nProcessing will continue, but the RESULTS WILL almost surely BE INVALID because of that error in the input "
    "data.\nPlease cancel and discard the processing and correct the format of the connection file.";

// A connection file that passes the pre-scan and names no node of the tests' node files.
inline const std::string unrelatedConnections = "999998 999999 1\n";

class InputFilesRun {
public:
    TemporaryFolder folder;
    sysutils::ScriptedMessageBoxes boxes;
    std::unique_ptr<engine::tamblorProgram> program;
    int errors = -1;

    std::string nodePath() const { return folder.pathOf("nodes.txt"); }
    std::string connectionPath() const { return folder.pathOf("connections.txt"); }

    // Writes both files, constructs the engine object and runs checkParameters.
    int check(const RunSettings& settings, const std::string& nodes, const std::string& connections) {
        folder.write("nodes.txt", nodes);
        folder.write("connections.txt", connections);
        program = makeProgram(settings, nodePath(), connectionPath());
        errors = program->checkParameters();
        return errors;
    }

    // check, then readInputs when the check found no error. False when it found one.
    bool checkAndRead(const RunSettings& settings, const std::string& nodes, const std::string& connections) {
        if (check(settings, nodes, connections) != 0) return false;
        program->readInputs();
        return true;
    }

    std::vector<std::int32_t> nodeIds() const {
        return {program->nodeIds.get(), program->nodeIds.get() + program->nNodes};
    }
    std::vector<float> attributes() const {
        return {program->attributes.get(), program->attributes.get() + program->nNodes};
    }
    std::vector<std::int32_t> addedNodeIds() const {
        return {program->addedNodeIds.get(), program->addedNodeIds.get() + program->nAddedNodes};
    }
    std::vector<float> addedAttributes() const {
        return {program->addedAttributes.get(), program->addedAttributes.get() + program->nAddedNodes};
    }
    std::vector<std::vector<float>> connections() const { return rows(program->connections, program->nNodes); }
    std::vector<std::vector<float>> addedConnections() const {
        return rows(program->addedConnections, program->nAddedNodes);
    }

private:
    std::vector<std::vector<float>> rows(const engine::FloatRows& matrix, std::int32_t count) const {
        std::vector<std::vector<float>> result;
        for (std::int32_t row = 0; row < count; ++row)
            result.emplace_back(matrix[row].get(), matrix[row].get() + program->nNodes);
        return result;
    }
};

}  // namespace testing_support
