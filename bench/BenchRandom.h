// Deterministic numbers and file contents for the benchmark generators: one
// seed gives the same bytes on every machine, so runs stay comparable.
#pragma once

#include <cstddef>
#include <cstdint>

class BenchRandom {
public:
    explicit BenchRandom(uint64_t seed);

    uint64_t Next();
    // A number from `low` to `high`, both included.
    uint64_t Between(uint64_t low, uint64_t high);
    uint64_t Below(uint64_t bound) { return bound == 0 ? 0 : Between(0, bound - 1); }

    // Bytes that deflate cannot shrink.
    void FillRandom(char* data, size_t size);
    // Words and lines from a small vocabulary, which deflate shrinks three- to
    // fourfold, like documentation or source text.
    void FillText(char* data, size_t size);
    // Blocks of 64 KiB, two in five random and the rest text, as in a
    // program's data files with pictures among them.
    void FillMixed(char* data, size_t size);

    static constexpr size_t kMixedBlock = 64 * 1024;

private:
    uint64_t fState[4];
};
