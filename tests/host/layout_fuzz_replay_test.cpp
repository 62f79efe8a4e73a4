// Replays the fuzz seed corpus (and the default file) through the fuzz
// entry, so every normal test run covers what the fuzzer starts from.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#ifndef CPK_LAYOUT_FUZZ_CORPUS
#error "CPK_LAYOUT_FUZZ_CORPUS names the seed corpus directory"
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(LayoutFuzzCorpus, ReplaysWithoutFault)
{
    std::size_t replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(CPK_LAYOUT_FUZZ_CORPUS)) {
        const std::vector<std::uint8_t> bytes = ReadAll(entry.path());
        EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0) << entry.path();
        ++replayed;
    }
    EXPECT_GT(replayed, 0u);
    std::vector<std::uint8_t> withLanguage{1};  // ChineseT
    const std::vector<std::uint8_t> file = ReadAll(CPK_LAYOUT_TEXT_FILE);
    withLanguage.insert(withLanguage.end(), file.begin(), file.end());
    EXPECT_EQ(LLVMFuzzerTestOneInput(withLanguage.data(), withLanguage.size()), 0);
}

}  // namespace
