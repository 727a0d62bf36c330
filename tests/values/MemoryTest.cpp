// The memory rule: heap blocks are owned and freed, blocks in the program's
// constant data are shared and never freed or written.
#include <cmath>
#include <cstring>
#include <limits>
#include "runtime/values/ValueSlots.h"
#include "tests/values/ValuesTestSupport.h"

namespace {

struct ConstantTextArray {
    int32_t dimensions;
    int32_t count;
    const char* elements[2];
};
struct ConstantData {
    char text[8];
    int32_t array[5];  // one dimension, three integers
    ConstantTextArray textArray;
    char tail[4];
};
const char kOutsideText[] = "name";
extern const ConstantData kConstant;
const ConstantData kConstant = {
    "const", {1, 3, 10, 20, 30}, {1, 2, {kConstant.text, kConstant.tail}}, "end"};

class ConstantDataTest : public ::testing::Test {
  protected:
    void SetUp() override { SetConstantDataRange(&kConstant, sizeof kConstant); }
    void TearDown() override { SetConstantDataRange(nullptr, 0); }
};

}  // namespace

TEST_F(ConstantDataTest, FreeingNullOrConstantDoesNothing) {
    EXPECT_TRUE(IsConstantData(kConstant.text));
    EXPECT_TRUE(IsConstantData(kConstant.tail + 3));
    // Addresses just outside the range, computed as integers so the compiler
    // does not see pointer arithmetic beyond the object.
    const uintptr_t start = reinterpret_cast<uintptr_t>(&kConstant);
    EXPECT_FALSE(IsConstantData(reinterpret_cast<const void*>(start + sizeof kConstant)));
    EXPECT_FALSE(IsConstantData(reinterpret_cast<const void*>(start - 1)));
    EXPECT_FALSE(IsConstantData(kOutsideText));
    FreeBlock(nullptr);
    FreeBlock(const_cast<char*>(kConstant.text));
    FreeBlock(const_cast<int32_t*>(kConstant.array));
    EXPECT_STREQ("const", kConstant.text);
}

TEST_F(ConstantDataTest, ReallocatingConstantCopiesAndKeepsTheOriginal) {
    auto* copy = static_cast<int32_t*>(ReallocateBlock(const_cast<int32_t*>(kConstant.array), 24));
    ASSERT_NE(copy, kConstant.array);
    EXPECT_FALSE(IsConstantData(copy));
    EXPECT_EQ(0, std::memcmp(copy, kConstant.array, 20));
    copy[2] = 99;
    EXPECT_EQ(10, kConstant.array[2]);
    FreeBlock(copy);

    // Only the bytes up to the end of the constant data are copied.
    char* tail = static_cast<char*>(ReallocateBlock(const_cast<char*>(kConstant.tail), 4096));
    EXPECT_STREQ("end", tail);
    FreeBlock(tail);
}

TEST_F(ConstantDataTest, ConstantArraysAreCopiedBeforeAnyChange) {
    void* variable = const_cast<int32_t*>(kConstant.array);
    MakeArrayWritable(4, &variable);
    ASSERT_NE(variable, kConstant.array);
    EXPECT_EQ(0, std::memcmp(variable, kConstant.array, sizeof kConstant.array));
    void* again = variable;
    MakeArrayWritable(4, &again);
    EXPECT_EQ(variable, again);
    FreeBlock(variable);

    ValueArray grown = const_cast<int32_t*>(kConstant.array);
    int32_t forty = 40;
    ArrayAppend(&grown, &forty, 4);
    ASSERT_EQ(4, ArrayCount(grown));
    EXPECT_EQ(40, ArrayData<int32_t>(grown)[3]);
    EXPECT_EQ(3, kConstant.array[1]);
    FreeBlock(grown);

    // Clearing or freeing a constant text array never frees its elements.
    ValueArray texts = const_cast<int32_t*>(reinterpret_cast<const int32_t*>(&kConstant.textArray));
    FreeTextArray(texts);
    ClearTextArray(&texts);
    EXPECT_FALSE(IsConstantData(texts));
    EXPECT_EQ(0, ArrayCount(texts));
    const char* shared = kConstant.text;
    Text owned = CopyText("owned");
    ArrayAppend(&texts, &owned, sizeof(Text));
    ArrayInsert(&texts, 0, &shared, sizeof(Text));
    EXPECT_STREQ("const", ArrayData<Text>(texts)[0]);
    EXPECT_STREQ("owned", ArrayData<Text>(texts)[1]);
    FreeTextArray(texts);
    EXPECT_STREQ("const", kConstant.text);
}

TEST(TextValues, EmptyValuesAreNull) {
    EXPECT_EQ(nullptr, MakeText(nullptr, 3));
    EXPECT_EQ(nullptr, MakeText("abc", 0));
    EXPECT_EQ(nullptr, MakeText("", 1));
    EXPECT_EQ(nullptr, CopyText(""));
    EXPECT_EQ(nullptr, MakeByteSet("x", 0));
    EXPECT_EQ(nullptr, TextConcat({nullptr, "", nullptr}));
    OwnedText joined(TextConcat({"快速", nullptr, "启动", ""}));
    EXPECT_STREQ("快速启动", joined.Get());
}

TEST(TextValues, CompareIsUnsignedBytewiseWithNullAsEmpty) {
    EXPECT_EQ(0, TextCompare(nullptr, ""));
    EXPECT_LT(TextCompare("Z", "a"), 0);    // case-sensitive
    EXPECT_LT(TextCompare("zz", "中"), 0);  // GBK bytes are above 0x7F
    EXPECT_GT(TextCompare(".lnk", ".ln"), 0);
}

TEST(Numbers, TruncateTowardZero) {
    EXPECT_EQ(-2, TruncateToInteger(-2.9));
    EXPECT_EQ(std::numeric_limits<int32_t>::max(), TruncateToInteger(1e12));
    EXPECT_EQ(std::numeric_limits<int32_t>::min(), TruncateToInteger(-1e12));
    EXPECT_EQ(0, TruncateToInteger(std::nan("")));
}

TEST(ValueSlots, StoredValuesAreNormalisedAndCopied) {
    ArgumentRecord slot;
    int32_t seven = 7;
    StoreValueInSlot(&slot, Tag::kBoolean, &seven, 4);
    EXPECT_EQ(1, slot.AsInt());
    double late = 2958465.5;
    StoreValueInSlot(&slot, Tag::kDateTime, &late, 8);
    EXPECT_EQ(2958465.0, slot.AsDouble());
    double early = -657435;
    StoreValueInSlot(&slot, Tag::kDateTime, &early, 8);
    EXPECT_EQ(-657434.0, slot.AsDouble());

    // A text is cut at its first zero within the length, and is a copy.
    const char bytes[] = {'a', 'b', 'c', 'd'};
    StoreValueInSlot(&slot, Tag::kText, bytes, 3);
    OwnedText abc(static_cast<Text>(slot.AsPointer()));
    EXPECT_STREQ("abc", abc.Get());
    StoreValueInSlot(&slot, Tag::kText, "x\0y", 3);
    OwnedText x(static_cast<Text>(slot.AsPointer()));
    EXPECT_STREQ("x", x.Get());

    OwnedByteSet set(MakeByteSet("\0\1", 2));
    StoreValueInSlot(&slot, Tag::kByteSet, set.Get(), 0);
    OwnedByteSet copy(slot.AsByteSet());
    ASSERT_NE(set.Get(), copy.Get());
    EXPECT_EQ(1, ByteSetBytes(copy.Get())[1]);
}
