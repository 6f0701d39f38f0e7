#pragma once
// A 64-bit digest of everything a run's results can show: every landscape's index fields,
// every importance, the components and the maximum-product probabilities, bit for bit.
// Two runs with equal digests agree to the last bit (up to a hash collision).
#include <cstdint>

namespace engine {
class tamblorProgram;
}

namespace bench {

std::uint64_t resultDigest(const engine::tamblorProgram& run);

}  // namespace bench
