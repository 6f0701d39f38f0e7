#include "ResultDigest.h"

#include <cstring>
#include <type_traits>

#include "engine/tamblorProgram.h"

namespace bench {
namespace {

class Digest {
public:
    template <class T>
    void add(const T& value) {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        // long double: only its 10 significant bytes.
        const std::size_t size = sizeof(T) == sizeof(long double) && std::is_same_v<T, long double> ? 10 : sizeof(T);
        for (std::size_t i = 0; i < size; ++i) hash_ = (hash_ ^ bytes[i]) * 0x100000001b3ull;
    }
    std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xcbf29ce484222325ull;
};

void addLandscape(Digest& digest, const engine::landscape& L) {
    for (std::int32_t v : {L.n, L.nLinks, L.nDirectConnections, L.nComponents, L.NC, L.NL}) digest.add(v);
    for (float v : {L.totalAttribute, L.AL, L.CCP, L.LCP, L.LCPnum, L.IIC, L.IICnum, L.H, L.F, L.AWF, L.PC, L.PCnum})
        digest.add(v);
}

}  // namespace

std::uint64_t resultDigest(const engine::tamblorProgram& run) {
    Digest digest;
    addLandscape(digest, *run.overall);
    for (std::int32_t k = 0; k < run.nNodes; ++k) addLandscape(digest, run.withoutNode[k]);
    for (std::int32_t c = 0; c < run.nAddedNodes; ++c) addLandscape(digest, run.withAddedNode[c]);
    using P = engine::tamblorProgram;
    for (auto importance : {&P::nodeImportanceA, &P::nodeImportanceCCP, &P::nodeImportanceLCP, &P::nodeImportanceIIC,
                            &P::nodeImportanceNC, &P::nodeImportanceNL, &P::nodeImportanceH, &P::nodeImportanceF,
                            &P::nodeImportanceAWF, &P::nodeImportancePC})
        for (std::int32_t k = 0; k < run.nNodes; ++k) digest.add((run.*importance)(k));
    for (auto importance : {&P::addedNodeImportanceA, &P::addedNodeImportanceCCP, &P::addedNodeImportanceLCP,
                            &P::addedNodeImportanceIIC, &P::addedNodeImportanceNC, &P::addedNodeImportanceNL,
                            &P::addedNodeImportanceH, &P::addedNodeImportanceF, &P::addedNodeImportanceAWF,
                            &P::addedNodeImportancePC})
        for (std::int32_t c = 0; c < run.nAddedNodes; ++c) digest.add((run.*importance)(c));
    if (run.hasComponents())
        for (std::int32_t i = 0; i < run.nNodes; ++i) digest.add(run.getNodeComponent(i));
    if (run.hasMaxProductProbabilities())
        for (std::int32_t i = 0; i < run.nNodes; ++i)
            for (std::int32_t j = 0; j < run.nNodes; ++j) digest.add(run.overall->getMaxProductProbability(i, j));
    return digest.value();
}

}  // namespace bench
