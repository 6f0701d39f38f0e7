// The run summary written to the event log before processing, and the time that
// each selected index took, written after it.
#include <cstdint>
#include <string>

#include "engine/NumericConversion.h"
#include "engine/tamblorProgram.h"
#include "sysutils/FloatConversion.h"

namespace engine {
namespace {

using sysutils::FloatToStr;
using sysutils::FloatToStrF;
using sysutils::IntToStr;
using sysutils::TFloatFormat;

// Truncated toward zero as the indices are, values beyond the int range held at its ends.
std::string truncated(float value) { return IntToStr(truncateToInt32(value)); }

std::string fixed2(float value) { return FloatToStrF(static_cast<double>(value), TFloatFormat::ffFixed, 3, 2); }

}  // namespace

void tamblorProgram::writeSummary(sysutils::TStrings& log) {
    log.Add("Number of nodes to process: " + IntToStr(nNodes + nAddedNodes));
    if (nAddedNodes > 0) {
        log.Add(IntToStr(nNodes) + " of these nodes already exist in the landscape, and the remaining " +
                IntToStr(nAddedNodes) + " are candidates to be added in the landscape");
    }
    if (ALValid) log.Add("Maximum landscape attribute (AL): " + truncated(AL));
    log.Add("Sum of the attributes of existing nodes: " + truncated(totalAttribute));
    if (anyBinary) log.Add("Distance threshold (binary indices): " + FloatToStr(static_cast<double>(threshold)));
    if (anyProbabilistic) {
        log.Add("Distance and probability (probabilistic indices): " + FloatToStr(static_cast<double>(distance)) +
                " " + fixed2(probability));
        if (doPC) {
            if (allPaths)
                log.Add("PC computed in the default mode: checking all paths (no connections discarded)");
            else
                log.Add("Minimum direct and product probability considered for PC: " + fixed2(minProbability));
        }
    }
    log.Add("Node file: " + nodeFile);
    log.Add("Connection file: " + connectionFile);
}

namespace {

// " [d days] [h hours] [m minutes] s seconds", split with strict comparisons, so that
// exactly 86400 seconds read 24 hours and exactly 60 seconds read 60 seconds.
std::string durationText(std::int64_t seconds) {
    std::int64_t days = 0;
    std::int64_t hours = 0;
    std::int64_t minutes = 0;
    if (seconds > 86400) {
        days = seconds / 86400;
        seconds = seconds % 86400;
    }
    if (seconds > 3600) {
        hours = seconds / 3600;
        seconds = seconds % 3600;
    }
    if (seconds > 60) {
        minutes = seconds / 60;
        seconds = seconds % 60;
    }
    std::string text;
    if (days != 0) text += " " + IntToStr(days) + " days";
    if (hours != 0) text += " " + IntToStr(hours) + " hours";
    if (minutes != 0) text += " " + IntToStr(minutes) + " minutes";
    return text + " " + IntToStr(seconds) + " seconds";
}

std::int64_t wholeSeconds(std::int32_t milliseconds) {
    return static_cast<std::int64_t>(static_cast<double>(milliseconds) * 0.001);
}

}  // namespace

void tamblorProgram::writeProcessingTimes(sysutils::TStrings& log) {
    log.Add("Processing time for indices:");
    const auto line = [&log](const char* label, std::int64_t seconds) { log.Add(label + durationText(seconds)); };
    if (doNL) line("NL: ", wholeSeconds(ticksNL));
    if (doNC) line("NC: ", wholeSeconds(ticksNC));
    if (doH && doIIC) {
        // One pass computed both; each line shows half of its time.
        const std::int64_t half = wholeSeconds(ticksHIIC) / 2;
        line("H: ", half);
        line("IIC: ", half);
    }
    if (doH && !doIIC) line("H: ", wholeSeconds(ticksH));
    if (doCCP) line("CCP: ", wholeSeconds(ticksCCP));
    if (doLCP) line("LCP: ", wholeSeconds(ticksLCP));
    if (doIIC && !doH) line("IIC: ", wholeSeconds(ticksIIC));
    if (doF) line("F: ", wholeSeconds(ticksF));
    if (doAWF) line("AWF: ", wholeSeconds(ticksAWF));
    if (doPC) {
        std::string pcLine = "PC: ";
        pcLine += durationText(wholeSeconds(ticksPC));
        if (overall && overall->nDirectConnections != 0)
            pcLine += " (using " + IntToStr(overall->nDirectConnections) + " direct internode connections)";
        log.Add(pcLine);
    }
}

}  // namespace engine
