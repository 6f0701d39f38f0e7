#include "engine/fast/LaneKernel.h"

#include <cfloat>

// GCC 12 warns about the deliberately undefined upper halves inside these intrinsics.
// Clang neither warns there nor knows -Wmaybe-uninitialized, so the pragmas are GCC's alone.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>

namespace engine::fast {

void addTermsToLanesExactly(float* sums, std::uint64_t lanes, const TermRow& row, std::int32_t from, std::int32_t to) {
    std::int32_t active[64];
    std::int32_t count = 0;
    for (std::uint64_t rest = lanes; rest != 0; rest &= rest - 1) active[count++] = __builtin_ctzll(rest);
    for (std::int32_t position = from; position < to; ++position) {
        const Extended term = row.term[static_cast<std::size_t>(position)];
        for (std::int32_t a = 0; a < count; ++a) sums[active[a]] = addTerm(sums[active[a]], term);
    }
}

namespace {

// The exact step for every lane, replacements included.
void addRowWithReplacementsExactly(float* sums, std::uint64_t lanes, const TermRow& row, const ReplacementTable& table) {
    for (std::int32_t position = 0; position < row.size(); ++position) {
        const std::uint64_t replaced = table.masks()[position] & lanes;
        if (replaced != 0) {
            for (std::int32_t e = table.heads()[position]; e >= 0; e = table.entries()[e].next) {
                const ReplacementTable::Entry& entry = table.entries()[e];
                if ((lanes >> entry.lane) & 1) sums[entry.lane] = addTerm(sums[entry.lane], entry.term);
            }
        }
        addTermsToLanesExactly(sums, lanes & ~replaced, row, position, position + 1);
    }
}

// The kernel's proof needs normal, not too large sums; terms are never negative here.
bool withinKernelRange(const float* sums, std::uint64_t lanes, const TermRow& row) {
    for (std::uint64_t rest = lanes; rest != 0; rest &= rest - 1) {
        const float s = sums[__builtin_ctzll(rest)];
        if (!(s >= FLT_MIN) || !(static_cast<double>(s) + row.total < 0x1p126)) return false;
    }
    return row.total >= 0.0;
}

// Eight vectors of eight double lanes, loaded from and stored to the float sums.
struct Lanes {
    __m512d s[8];
    __mmask8 mask[8];
};

__attribute__((target("avx512f"))) inline void loadLanes(Lanes& lanes, const float* sums, std::uint64_t active,
                                                         float* held) {
    for (int lane = 0; lane < 64; ++lane) held[lane] = ((active >> lane) & 1) ? sums[lane] : 0.0f;
    for (int v = 0; v < 8; ++v) {
        lanes.mask[v] = static_cast<__mmask8>(active >> (8 * v));
        lanes.s[v] = _mm512_cvtps_pd(_mm256_load_ps(held + 8 * v));
    }
}

__attribute__((target("avx512f"))) inline void storeLanes(const Lanes& lanes, float* sums, std::uint64_t active,
                                                          float* held) {
    for (int v = 0; v < 8; ++v) _mm256_store_ps(held + 8 * v, _mm512_cvtpd_ps(lanes.s[v]));
    for (std::uint64_t rest = active; rest != 0; rest &= rest - 1) sums[__builtin_ctzll(rest)] = held[__builtin_ctzll(rest)];
}

// One step of vector v: s <- fl32(s + term) where the proof holds; `exact(lane)` gives the
// lane's long double term for the others.
template <class ExactTerm>
__attribute__((target("avx512f"))) inline void step(Lanes& lanes, int v, __m512d term, ExactTerm exact) {
    const __m512i low29 = _mm512_set1_epi64((1ll << 29) - 1);
    const __m512i nearBelow = _mm512_set1_epi64((1ll << 28) - 4);
    const __m512i nearWidth = _mm512_set1_epi64(8);
    const __m512d z = _mm512_mask_add_pd(lanes.s[v], lanes.mask[v], lanes.s[v], term);
    const __m512d rounded = _mm512_cvtps_pd(_mm512_cvtpd_ps(z));
    const __m512i bits = _mm512_and_si512(_mm512_castpd_si512(z), low29);
    const __mmask8 doubtful = _mm512_mask_cmple_epu64_mask(lanes.mask[v], _mm512_sub_epi64(bits, nearBelow), nearWidth);
    if (doubtful == 0) {
        lanes.s[v] = rounded;
        return;
    }
    alignas(64) double before[8];
    alignas(64) double after[8];
    _mm512_store_pd(before, lanes.s[v]);
    _mm512_store_pd(after, rounded);
    for (int lane = 0; lane < 8; ++lane)
        if ((doubtful >> lane) & 1) after[lane] = addTerm(static_cast<float>(before[lane]), exact(8 * v + lane));
    lanes.s[v] = _mm512_load_pd(after);
}

__attribute__((target("avx512f"))) void addTermsAvx512(float* sums, std::uint64_t active, const TermRow& row,
                                                       std::int32_t from, std::int32_t to) {
    alignas(64) float held[64];
    Lanes lanes;
    loadLanes(lanes, sums, active, held);
    const double* high = row.high.data();
    for (std::int32_t position = from; position < to; ++position) {
        const __m512d term = _mm512_set1_pd(high[position]);
        const Extended exact = row.term[static_cast<std::size_t>(position)];
        for (int v = 0; v < 8; ++v)
            if (lanes.mask[v] != 0) step(lanes, v, term, [exact](int) { return exact; });
    }
    storeLanes(lanes, sums, active, held);
}

__attribute__((target("avx512f"))) void addRowWithReplacementsAvx512(float* sums, std::uint64_t active,
                                                                     const TermRow& row,
                                                                     const ReplacementTable& table) {
    alignas(64) float held[64];
    Lanes lanes;
    loadLanes(lanes, sums, active, held);
    const double* high = row.high.data();
    const std::uint64_t* masks = table.masks();
    const ReplacementTable::Entry* entries = table.entries();
    for (std::int32_t position = 0; position < row.size(); ++position) {
        const __m512d shared = _mm512_set1_pd(high[position]);
        const Extended exact = row.term[static_cast<std::size_t>(position)];
        const std::uint64_t replaced = masks[position];
        if (replaced == 0) {
            for (int v = 0; v < 8; ++v)
                if (lanes.mask[v] != 0) step(lanes, v, shared, [exact](int) { return exact; });
            continue;
        }
        // Per-lane terms where the table replaces the row's.
        alignas(64) double own[64];
        Extended ownExact[64];
        for (std::int32_t e = table.heads()[position]; e >= 0; e = entries[e].next) {
            own[entries[e].lane] = entries[e].high;
            ownExact[entries[e].lane] = entries[e].term;
        }
        for (int v = 0; v < 8; ++v) {
            if (lanes.mask[v] == 0) continue;
            const __mmask8 mine = static_cast<__mmask8>(replaced >> (8 * v));
            if (mine == 0) {
                step(lanes, v, shared, [exact](int) { return exact; });
                continue;
            }
            const __m512d term = _mm512_mask_loadu_pd(shared, mine, own + 8 * v);
            step(lanes, v, term,
                 [&, exact](int lane) { return ((replaced >> lane) & 1) ? ownExact[lane] : exact; });
        }
    }
    storeLanes(lanes, sums, active, held);
}

}  // namespace

bool vectorLaneKernel() {
    static const bool supported = __builtin_cpu_supports("avx512f");
    return supported;
}

void addTermsToLanes(float* sums, std::uint64_t lanes, const TermRow& row, std::int32_t from, std::int32_t to) {
    if (from >= to || lanes == 0) return;
    if (to - from >= 4 && vectorLaneKernel() && withinKernelRange(sums, lanes, row)) {
        addTermsAvx512(sums, lanes, row, from, to);
        return;
    }
    addTermsToLanesExactly(sums, lanes, row, from, to);
}

void addRowWithReplacements(float* sums, std::uint64_t lanes, const TermRow& row, const ReplacementTable& table) {
    if (lanes == 0 || row.size() == 0) return;
    if (vectorLaneKernel() && withinKernelRange(sums, lanes, row)) {
        addRowWithReplacementsAvx512(sums, lanes, row, table);
        return;
    }
    addRowWithReplacementsExactly(sums, lanes, row, table);
}

}  // namespace engine::fast

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
