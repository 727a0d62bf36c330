// Sorting a text array by binary insertion, as the program's listings are
// sorted: byte-wise unsigned comparison, equal texts kept in their order.
#include "app/common/SortTextArray.h"

#include <vector>

void SortTextArray(ValueArray* texts) {
    int32_t count = ArrayCount(*texts);
    if (count < 2) return;
    Text* slots = ArrayData<Text>(*texts);
    std::vector<Text> input(slots, slots + count);
    // Binary insertion into an output that starts empty; positions are 1-based.
    std::vector<Text> output;
    output.reserve(input.size());
    for (Text e : input) {
        int32_t n = static_cast<int32_t>(output.size());
        int32_t position;
        if (n == 0) {
            position = 1;
        } else if (TextCompare(e, output[n - 1]) >= 0) {
            position = n + 1;
        } else if (TextCompare(e, output[0]) <= 0) {
            position = 1;
        } else {
            int32_t lo = 1, hi = n, mid = (lo + hi) / 2;
            while (hi - lo > 1) {
                int c = TextCompare(e, output[mid - 1]);
                if (c == 0) break;
                if (c < 0) {
                    hi = mid;
                } else {
                    lo = mid;
                }
                mid = (hi + lo) / 2;
            }
            position = TextCompare(e, output[mid - 1]) > 0 ? mid + 1 : mid;
        }
        output.insert(output.begin() + (position - 1), e);
    }
    for (int32_t i = 0; i < count; ++i) slots[i] = output[i];
}
