// What the windows read after a run: overall values, node importances, pairwise
// probabilities and links.
#include <cstdint>

#include "engine/tamblorProgram.h"
#include "sysutils/MessageBoxes.h"

namespace engine {
namespace {

using Extended = long double;

// difference x 100 / base, in extended precision.
// A base of 0 has no finite percentage: the result is then 0 when the difference is
// 0 too, and otherwise +100 or -100 by the sign of the difference, as if the node
// carried the whole of the index. Every output (view, text file, dBASE field) holds it.
Extended percent(Extended difference, Extended base) {
    if (base == 0) {
        if (difference == 0) return 0;
        return difference > 0 ? 100 : -100;
    }
    return difference * 100 / base;
}

// NL: 0 when the overall value is 0; otherwise the integer difference times 100
// rounded to a float, divided by the overall value as a float, rounded to a float.
Extended linkPercent(std::int32_t difference, std::int32_t base) {
    if (base == 0) return 0;
    const float scaled = static_cast<float>(static_cast<std::int64_t>(difference) * 100);
    return static_cast<float>(scaled / static_cast<float>(base));
}

// H: 0 when the overall value is 0; otherwise the difference times 100 rounded to a
// float, divided by the overall value, rounded to a float.
Extended hararyPercent(Extended difference, float base) {
    if (base == 0) return 0;
    const float scaled = static_cast<float>(difference * 100);
    return static_cast<float>(scaled / static_cast<Extended>(base));
}

}  // namespace

double tamblorProgram::getOverallCCP() const { return overall->getCCP(); }
double tamblorProgram::getOverallLCP() const { return overall->getLCP(); }
double tamblorProgram::getOverallLCPnum() const { return overall->getLCPnum(); }
double tamblorProgram::getOverallIIC() const { return overall->getIIC(); }
double tamblorProgram::getOverallIICnum() const { return overall->getIICnum(); }
double tamblorProgram::getOverallH() const { return overall->getH(); }
double tamblorProgram::getOverallF() const { return overall->getF(); }
double tamblorProgram::getOverallAWF() const { return overall->getAWF(); }
double tamblorProgram::getOverallPC() const { return overall->getPC(); }
double tamblorProgram::getOverallPCnum() const { return overall->getPCnum(); }
double tamblorProgram::getOverallNC() const { return overall->getNC(); }
double tamblorProgram::getOverallNL() const { return overall->getNL(); }
std::int32_t tamblorProgram::getNodeComponent(std::int32_t i) const { return overall->getComponent(i); }

// Existing node i: (O - R) x 100 / O, with O the overall landscape's value and R the
// value of the landscape without the node. dA: the node's share of the attribute sum.
long double tamblorProgram::nodeImportanceA(std::int32_t i) const { return percent(attributes[i], totalAttribute); }
long double tamblorProgram::nodeImportanceCCP(std::int32_t i) const {
    return percent(Extended(overall->CCP) - withoutNode[i].CCP, overall->CCP);
}
long double tamblorProgram::nodeImportanceLCP(std::int32_t i) const {
    return percent(Extended(overall->LCP) - withoutNode[i].LCP, overall->LCP);
}
long double tamblorProgram::nodeImportanceIIC(std::int32_t i) const {
    return percent(Extended(overall->IIC) - withoutNode[i].IIC, overall->IIC);
}
long double tamblorProgram::nodeImportanceNC(std::int32_t i) const {
    return percent(Extended(overall->NC - withoutNode[i].NC), overall->NC);
}
long double tamblorProgram::nodeImportanceNL(std::int32_t i) const {
    return linkPercent(overall->NL - withoutNode[i].NL, overall->NL);
}
long double tamblorProgram::nodeImportanceH(std::int32_t i) const {
    return hararyPercent(Extended(overall->H) - withoutNode[i].H, overall->H);
}
long double tamblorProgram::nodeImportanceF(std::int32_t i) const {
    return percent(Extended(overall->F) - withoutNode[i].F, overall->F);
}
long double tamblorProgram::nodeImportanceAWF(std::int32_t i) const {
    return percent(Extended(overall->AWF) - withoutNode[i].AWF, overall->AWF);
}
long double tamblorProgram::nodeImportancePC(std::int32_t i) const {
    return percent(Extended(overall->PC) - withoutNode[i].PC, overall->PC);
}

// Candidate i: (A - O) x 100 / O, with A the value of the landscape with the
// candidate. LCP, IIC and PC compare their numerators, because the candidate's
// landscape may have a larger AL. dA divides by the existing nodes' attribute sum.
long double tamblorProgram::addedNodeImportanceA(std::int32_t i) const {
    return percent(addedAttributes[i], totalAttribute);
}
long double tamblorProgram::addedNodeImportanceCCP(std::int32_t i) const {
    return percent(Extended(withAddedNode[i].CCP) - overall->CCP, overall->CCP);
}
long double tamblorProgram::addedNodeImportanceLCP(std::int32_t i) const {
    return percent(Extended(withAddedNode[i].LCPnum) - overall->LCPnum, overall->LCPnum);
}
long double tamblorProgram::addedNodeImportanceIIC(std::int32_t i) const {
    return percent(Extended(withAddedNode[i].IICnum) - overall->IICnum, overall->IICnum);
}
long double tamblorProgram::addedNodeImportanceNC(std::int32_t i) const {
    return percent(Extended(withAddedNode[i].NC - overall->NC), overall->NC);
}
long double tamblorProgram::addedNodeImportanceNL(std::int32_t i) const {
    return linkPercent(withAddedNode[i].NL - overall->NL, overall->NL);
}
long double tamblorProgram::addedNodeImportanceH(std::int32_t i) const {
    return hararyPercent(Extended(withAddedNode[i].H) - overall->H, overall->H);
}
long double tamblorProgram::addedNodeImportanceF(std::int32_t i) const {
    return percent(Extended(withAddedNode[i].F) - overall->F, overall->F);
}
long double tamblorProgram::addedNodeImportanceAWF(std::int32_t i) const {
    return percent(Extended(withAddedNode[i].AWF) - overall->AWF, overall->AWF);
}
long double tamblorProgram::addedNodeImportancePC(std::int32_t i) const {
    return percent(Extended(withAddedNode[i].PCnum) - overall->PCnum, overall->PCnum);
}

double tamblorProgram::directProbability(std::int32_t i, std::int32_t j) const {
    if (isDistances) return directProbabilityOfDistance(distanceDecay(probability, distance), connections[i][j]);
    if (isProbabilities) return connections[i][j];
    return 0.0;
}

double tamblorProgram::maxProductProbability(std::int32_t i, std::int32_t j) const {
    if (doPC) return overall->getMaxProductProbability(i, j);
    sysutils::ShowMessage("Cannot acces to the maximum product probability values", "Error!");
    return 0.0;
}

bool tamblorProgram::isLinked(std::int32_t i, std::int32_t j) const {
    return linkTest(connections[i][j], threshold, connectionType());
}

}  // namespace engine
