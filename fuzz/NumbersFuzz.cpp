// Text to number and text to integer: any text gives a number (never "not a
// number", never a hexadecimal or "inf" reading) and an integer inside the
// 32-bit range that agrees with the number where the number fits.
#include <cmath>
#include <string>

#include "fuzz/FuzzInput.h"
#include "runtime/library/core/ByteParsers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string raw(reinterpret_cast<const char*>(data), size);
    const std::string text(raw.c_str());  // up to the first NUL, as a text value holds it
    const double number = ReadDecimalNumber(text.c_str());
    FUZZ_CHECK(!std::isnan(number));
    const int32_t integer = ReadDecimalInteger(text.c_str());
    // Where the text is a plain integer of a few digits, both readings agree.
    if (text.find_first_not_of("0123456789") == std::string::npos && !text.empty() &&
        text.size() <= 9)
        FUZZ_CHECK(double(integer) == number);
    const std::string half = FullWidthToHalfWidth(text.c_str());
    FUZZ_CHECK(!std::isnan(ReadDecimalNumber(half.c_str())));
    (void)ReadDecimalInteger(half.c_str());
    return 0;
}
