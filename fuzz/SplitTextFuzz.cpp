// Splitting GBK text at a delimiter, and the other walkers over GBK text
// (comparison, upper case, full width to half width): a trailing lead byte,
// a delimiter that starts inside a double-byte character and the like must
// never run past the text. The input is the delimiter length and bytes, a
// piece limit, then the text.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "runtime/library/core/ByteParsers.h"

namespace {
int Sign(int v) {
    return (v > 0) - (v < 0);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const std::vector<uint8_t> delimiter = input.Take(input.Byte() % 6);
    const int32_t maxCount = static_cast<int8_t>(input.Byte());
    const std::vector<uint8_t> text = input.Rest();
    static const char kNothing = 0;
    const char* chars = text.empty() ? &kNothing : reinterpret_cast<const char*>(text.data());

    const std::vector<TextPiece> pieces = SplitTextPieces(
        text.empty() ? nullptr : chars, text.size(),
        reinterpret_cast<const char*>(delimiter.data()), delimiter.size(), maxCount);
    if (maxCount > 0) FUZZ_CHECK(pieces.size() <= size_t(maxCount));
    size_t end = 0;
    for (const TextPiece& piece : pieces) {
        FUZZ_CHECK(piece.offset >= end && piece.length <= text.size() - piece.offset);
        end = piece.offset + piece.length;
    }

    // The NUL-terminated walkers see the text up to its first NUL.
    const std::string first(chars, strnlen(chars, text.size()));
    const std::string second =
        pieces.size() > 1 ? std::string(chars + pieces[1].offset, pieces[1].length) : "";
    const std::string secondText(second.c_str());
    FUZZ_CHECK(CompareGbkText(first.c_str(), first.c_str(), true) == 0);
    for (bool caseSensitive : {true, false}) {
        FUZZ_CHECK(Sign(CompareGbkText(first.c_str(), secondText.c_str(), caseSensitive)) ==
                   -Sign(CompareGbkText(secondText.c_str(), first.c_str(), caseSensitive)));
    }
    FUZZ_CHECK(UpperCaseGbk(first.c_str()).size() <= first.size());
    FUZZ_CHECK(FullWidthToHalfWidth(first.c_str()).size() <= first.size());
    return 0;
}
