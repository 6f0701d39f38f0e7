#pragma once
// A whole execution on files written by the test: the parameters by name (the
// indices as a list such as "NL NC PC" or "all"), then check, read, summary,
// processing and times, as the worker runs them.
#include <memory>
#include <string>

#include "engine/support/InputFilesRun.h"
#include "sysutils/Strings.h"

namespace testing_support {

// The constructor's arguments with the indices named in one text.
struct RunParameters : RunSettings {
    std::string indices = "all";
};

inline bool selects(const std::string& indices, const std::string& name) {
    return indices == "all" || (" " + indices + " ").find(" " + name + " ") != std::string::npos;
}

inline RunSettings settingsOf(const RunParameters& p) {
    RunSettings s = p;
    const std::string& i = p.indices;
    s.doA = selects(i, "A");
    s.doCCP = selects(i, "CCP");
    s.doLCP = selects(i, "LCP");
    s.doIIC = selects(i, "IIC");
    s.doNC = selects(i, "NC");
    s.doNL = selects(i, "NL");
    s.doH = selects(i, "H");
    s.doF = selects(i, "F");
    s.doAWF = selects(i, "AWF");
    s.doPC = selects(i, "PC");
    return s;
}

inline std::unique_ptr<engine::tamblorProgram> makeRun(const std::string& nodeFile, const std::string& connectionFile,
                                                       const RunParameters& parameters) {
    return makeProgram(settingsOf(parameters), nodeFile, connectionFile);
}

struct ProcessedRun : InputFilesRun {
    ProcessedRun(const std::string& nodes, const std::string& connections, const RunParameters& parameters) {
        if (!checkAndRead(settingsOf(parameters), nodes, connections)) return;
        program->writeSummary(log);
        program->process(log, status);
        program->writeProcessingTimes(log);
    }

    sysutils::TStringList log;
    sysutils::TwoPanelStatus status;
};

}  // namespace testing_support
