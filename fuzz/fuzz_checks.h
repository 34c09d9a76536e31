#pragma once

// Walks the harnesses make over what a reader produced: every pixel, every saved byte.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

// The harnesses' own walks are left out of the coverage tracing (coverage is to come from the
// readers) and out of the address checks: they stay inside the vectors they are given by
// construction, and instrumented they cost more than the readers they check. What the readers
// and the model do stays checked.
#if defined(__clang__)
#define TYPELOOM_FUZZ_CHECK __attribute__((no_sanitize("coverage", "address")))
#else
#define TYPELOOM_FUZZ_CHECK
#endif

namespace typeloom::fuzz {

// True when every byte is 0 or 1: no byte may have a bit other than its lowest set. Eight
// bytes at a time, in four independent words so that the loop runs at the speed of memory.
// (The span is taken apart first: its members are instrumented, so they cannot be inlined
// here, and a call per word would cost more than the word.)
TYPELOOM_FUZZ_CHECK inline bool allZeroOrOne(std::span<const std::uint8_t> bytes) {
    constexpr std::uint64_t kHighBits = ~std::uint64_t{0x0101010101010101u};
    const std::uint8_t* data = bytes.data();
    const std::size_t size = bytes.size();
    std::uint64_t high[4] = {0, 0, 0, 0};
    std::size_t i = 0;
    for (; i + 32 <= size; i += 32) {
        std::uint64_t w[4];
        std::memcpy(w, data + i, 32);
        for (int k = 0; k < 4; ++k) {
            high[k] |= w[k] & kHighBits;
        }
    }
    std::uint64_t rest = 0;
    for (; i < size; ++i) {
        rest |= data[i] & ~1u;
    }
    return (high[0] | high[1] | high[2] | high[3] | rest) == 0;
}

// A checksum of the bytes (FNV-1a style over 8-byte words, in four lanes so that the
// multiplications do not wait on each other), with the length folded in.
TYPELOOM_FUZZ_CHECK inline std::uint64_t checksum(std::span<const std::uint8_t> bytes) {
    constexpr std::uint64_t kPrime = 0x100000001B3u;
    std::uint64_t lane[4] = {0xCBF29CE484222325u, 0x84222325CBF29CE4u, 0x9CE484222325CBF2u,
                             0x2325CBF29CE48422u};
    const std::uint8_t* data = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    for (; i + 32 <= size; i += 32) {
        std::uint64_t w[4];
        std::memcpy(w, data + i, 32);
        for (int k = 0; k < 4; ++k) {
            lane[k] = (lane[k] ^ w[k]) * kPrime;
        }
    }
    std::uint64_t h = (lane[0] ^ size) * kPrime;
    for (int k = 1; k < 4; ++k) {
        h = (h ^ lane[k]) * kPrime;
    }
    for (; i < size; ++i) {
        h = (h ^ data[i]) * kPrime;
    }
    return h;
}

}  // namespace typeloom::fuzz
