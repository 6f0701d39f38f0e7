#pragma once
// The arithmetic of the indices, written once for the fast path: every term is formed in
// long double exactly as the index methods of the landscape form it, and every running
// sum is a float rounded after each addition. Keeping these expressions identical is what
// makes the fast path's values equal to the reference's to the last bit.
#include <cmath>
#include <cstdint>
#include <cstring>

namespace engine::fast {

using Extended = long double;

// sum <- (float)(term + sum), the step of every float accumulator of the indices.
inline float addTerm(float sum, Extended term) { return static_cast<float>(term + static_cast<Extended>(sum)); }

// IIC: a_j a_k / (d + 1), d the number of links on a shortest path.
inline Extended integralTerm(float attributeJ, float attributeK, std::int32_t links) {
    return static_cast<Extended>(attributeJ) * static_cast<Extended>(attributeK) / static_cast<Extended>(links + 1);
}

// H: 1 / d for a pair at d >= 1 links.
inline Extended hararyTerm(std::int32_t links) { return 1.0L / static_cast<Extended>(links); }

// The maximum-product probability of a path of weight d (-ln p summed), in double.
inline double productProbability(float weight) { return std::exp(-static_cast<double>(weight)); }

// PC: e (a_i a_l), e the maximum-product probability.
inline Extended connectivityTerm(double e, float attributeI, float attributeL) {
    return static_cast<Extended>(e) * (static_cast<Extended>(attributeI) * static_cast<Extended>(attributeL));
}

// AWF: a_i a_j p_ij.
inline Extended areaWeightedFluxTerm(float attributeI, float attributeJ, float p) {
    return static_cast<Extended>(attributeI) * static_cast<Extended>(attributeJ) * static_cast<Extended>(p);
}

// A path search step: the weight of a path through u to v, (float)(d_u + w) in long double.
// Rounding the exact sum of two floats to long double and then to float gives the same
// float as rounding it once (64 bits hold more than twice a float's 24), so this is the
// plain float sum; the search keeps it when it is below v's current weight.
inline float pathWeight(float weightToU, float edgeWeight) { return weightToU + edgeWeight; }

// The edge weight of a direct probability p > 0: -ln p, rounded to float.
inline float edgeWeightOf(float p) { return static_cast<float>(-std::log(static_cast<double>(p))); }

// A quarter of the spacing of floats just above a non-negative float s (0 for s = 0 or a
// value that is not finite). Adding any term below it to s leaves s unchanged: s + t lies
// below s + ulp/4, which long double holds exactly, so the long double sum stays at most
// there and rounds back to s as a float.
inline Extended negligibleBelow(float s) {
    if (!(s > 0.0f) || !std::isfinite(s)) return 0.0L;
    std::uint32_t bits = 0;
    std::memcpy(&bits, &s, sizeof bits);
    const int biasedExponent = static_cast<int>(bits >> 23);
    const int spacingExponent = biasedExponent == 0 ? -149 : biasedExponent - 127 - 23;
    return std::ldexp(1.0L, spacingExponent - 2);
}

}  // namespace engine::fast
