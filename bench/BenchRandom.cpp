#include "BenchRandom.h"

#include <cstring>

namespace {

uint64_t SplitMix(uint64_t& state)
{
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint64_t Rotate(uint64_t value, int bits)
{
    return (value << bits) | (value >> (64 - bits));
}

constexpr const char* kWords[] = {"install", "product", "folder", "the", "of", "a", "file",
    "volume", "attribute", "and", "to", "is", "with", "archive", "system", "user", "link", "in",
    "settings", "version", "record", "entry", "for", "payload", "time", "size", "when", "data",
    "path", "name", "program", "library", "window", "status", "message", "thread", "from", "it",
    "each", "which", "may", "not", "read", "write", "copy", "move", "then", "after", "before",
    "every", "one", "two", "three", "first", "last", "list", "group", "check", "place", "tag",
    "log", "scan", "key", "value"};
constexpr size_t kWordCount = sizeof(kWords) / sizeof(kWords[0]);

} // namespace

BenchRandom::BenchRandom(uint64_t seed)
{
    for (uint64_t& word : fState)
        word = SplitMix(seed);
}

// xoshiro256**: fast, and good enough that deflate finds nothing to gain.
uint64_t BenchRandom::Next()
{
    uint64_t result = Rotate(fState[1] * 5, 7) * 9;
    uint64_t shifted = fState[1] << 17;
    fState[2] ^= fState[0];
    fState[3] ^= fState[1];
    fState[1] ^= fState[2];
    fState[0] ^= fState[3];
    fState[2] ^= shifted;
    fState[3] = Rotate(fState[3], 45);
    return result;
}

uint64_t BenchRandom::Between(uint64_t low, uint64_t high)
{
    uint64_t span = high - low + 1;
    return span == 0 ? Next() : low + Next() % span;
}

void BenchRandom::FillRandom(char* data, size_t size)
{
    size_t done = 0;
    for (; done + 8 <= size; done += 8) {
        uint64_t value = Next();
        memcpy(data + done, &value, 8);
    }
    uint64_t rest = Next();
    memcpy(data + done, &rest, size - done);
}

void BenchRandom::FillText(char* data, size_t size)
{
    size_t done = 0;
    int wordsOnLine = 0;
    while (done < size) {
        const char* word = kWords[Below(kWordCount)];
        size_t length = strlen(word);
        for (size_t i = 0; i < length && done < size; ++i)
            data[done++] = word[i];
        if (done < size)
            data[done++] = ++wordsOnLine >= 12 ? '\n' : ' ';
        if (wordsOnLine >= 12)
            wordsOnLine = 0;
    }
}

void BenchRandom::FillMixed(char* data, size_t size)
{
    for (size_t done = 0; done < size; done += kMixedBlock) {
        size_t piece = size - done < kMixedBlock ? size - done : kMixedBlock;
        if (Below(5) < 2)
            FillRandom(data + done, piece);
        else
            FillText(data + done, piece);
    }
}
