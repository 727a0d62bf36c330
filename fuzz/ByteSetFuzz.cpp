// Reading values out of a byte set one after another, as a program walks a
// record: the first input byte picks the value types in turn, the next four
// the starting position, the rest is the byte set. Every read stays inside
// the set and the position only moves forward.
#include <vector>

#include "fuzz/FuzzInput.h"
#include "runtime/library/core/ByteParsers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const uint8_t types = input.Byte();
    int32_t position = static_cast<int32_t>(input.U32());
    const std::vector<uint8_t> set = input.Rest();
    const int32_t length = static_cast<int32_t>(set.size());
    for (int step = 0; step < 64; ++step) {
        const int32_t typeCode = (types + step * 7) % 12;  // 0 and 11 are no type
        const ByteSetRead read = ReadByteSetValue(set.data(), length, typeCode, position);
        if (position < 1) {
            FUZZ_CHECK(!read.positionChanged && read.nextPosition == position);
            break;
        }
        FUZZ_CHECK(read.positionChanged);
        if (position > length) {
            FUZZ_CHECK(read.nextPosition == -1);
            break;
        }
        if (typeCode == 10) FUZZ_CHECK(read.textOffset + read.textLength <= set.size());
        FUZZ_CHECK(read.nextPosition == -1 ||
                   (read.nextPosition >= position && read.nextPosition <= length));
        if (read.nextPosition == -1) break;
        position = read.nextPosition == position ? position + 1 : read.nextPosition;
    }
    return 0;
}
