// The core library's text, number and byte-set commands, called through the
// command door so that the argument and result records are exercised.
#include <cstring>
#include <vector>
#include "tests/values/ValuesTestSupport.h"

namespace {

template <typename... A>
std::string CallText(CoreCommand command, A... args) {
    return ResultText(CallCore(command, args...));
}

// The elements of a SplitText result, taking the array over.
std::vector<std::string> Pieces(const ResultRecord& r) {
    EXPECT_EQ(Tag::kText | Tag::kArrayOrReference, r.tag);
    OwnedTextArray array(static_cast<ValueArray>(r.AsPointer()));
    std::vector<std::string> out;
    for (int32_t i = 0; i < array.Count(); ++i) out.push_back(array.At(i) ? array.At(i) : "<null>");
    return out;
}
using Strings = std::vector<std::string>;

ArgumentRecord ArgFloat(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return MakeRecord(bits, Tag::kFloat);
}

}  // namespace

TEST(MathCommands, IntegerDivideAndRemainderTruncateTowardZero) {
    EXPECT_EQ(-3.0, CallCore(CoreCommand::IntegerDivide, ArgDouble(-7), ArgDouble(2)).AsDouble());
    EXPECT_EQ(-1.0, CallCore(CoreCommand::Remainder, ArgDouble(-7), ArgDouble(2)).AsDouble());
    EXPECT_EQ(-3.0, CallCore(CoreCommand::IntegerDivide, ArgDouble(7), ArgDouble(-2)).AsDouble());
    EXPECT_EQ(1.0, CallCore(CoreCommand::Remainder, ArgDouble(7), ArgDouble(-2)).AsDouble());
    // Further divisors apply in turn; integer arguments are accepted too.
    EXPECT_EQ(8.0,
              CallCore(CoreCommand::IntegerDivide, ArgInt(100), ArgInt(3), ArgInt(4)).AsDouble());
    EXPECT_EQ(
        2.0,
        CallCore(CoreCommand::Remainder, ArgDouble(100), ArgDouble(7), ArgDouble(3)).AsDouble());
    EXPECT_EQ(2.5, CallCore(CoreCommand::Remainder, ArgDouble(-7.5), ArgDouble(-5)).AsDouble() + 5);
}

TEST(MathCommands, ZeroDivisorIsARuntimeError) {
    CapturedRuntimeError divide = CatchRuntimeError(
        [] { CallCore(CoreCommand::IntegerDivide, ArgDouble(1), ArgDouble(2), ArgDouble(0)); });
    EXPECT_TRUE(Contains(divide.text, "错误信息：不能整除于零")) << divide.text;
    CapturedRuntimeError remainder =
        CatchRuntimeError([] { CallCore(CoreCommand::Remainder, ArgDouble(1), ArgInt(0)); });
    EXPECT_TRUE(Contains(remainder.text, "错误信息：不能求余数于零")) << remainder.text;
}

TEST(TextCommands, LeftRightAndLength) {
    EXPECT_EQ(4, CallCore(CoreCommand::TextLength, ArgText("中文")).AsInt());
    EXPECT_EQ("ab", CallText(CoreCommand::LeftText, ArgText("abc"), ArgInt(2)));
    EXPECT_EQ("abc", CallText(CoreCommand::LeftText, ArgText("abc"), ArgInt(99)));
    EXPECT_EQ("bc", CallText(CoreCommand::RightText, ArgText("abc"), ArgInt(2)));
    EXPECT_EQ("abc", CallText(CoreCommand::RightText, ArgText("abc"), ArgInt(99)));
    // Empty results are null, not a block holding only the terminator.
    EXPECT_EQ(nullptr, CallCore(CoreCommand::LeftText, ArgText("abc"), ArgInt(0)).AsPointer());
    EXPECT_EQ(nullptr, CallCore(CoreCommand::RightText, ArgText("abc"), ArgInt(-3)).AsPointer());
    EXPECT_EQ(Tag::kText, CallCore(CoreCommand::LeftText, ArgText("abc"), ArgInt(0)).tag);
}

TEST(TextCommands, CharactersBlanksAndUpperCase) {
    EXPECT_EQ("A", CallText(CoreCommand::CharacterText, ArgInt(65)));
    EXPECT_EQ(nullptr, CallCore(CoreCommand::CharacterText, ArgInt(0)).AsPointer());
    EXPECT_EQ("   ", CallText(CoreCommand::BlankText, ArgInt(3)));
    EXPECT_EQ(nullptr, CallCore(CoreCommand::BlankText, ArgInt(0)).AsPointer());
    // The second byte of a double-byte character may look like a letter; it
    // must stay as it is.
    EXPECT_EQ("ABC\xB0\x61Z.LNK\x81",
              CallText(CoreCommand::ToUpperCase, ArgText("abc\xB0\x61z.lnk\x81")));
}

TEST(TextCommands, SplitText) {
    EXPECT_EQ(Strings{}, Pieces(CallCore(CoreCommand::SplitText, ArgText(""))));
    EXPECT_EQ(Strings{"a,b"},
              Pieces(CallCore(CoreCommand::SplitText, ArgText("a,b"), ArgText(""))));
    EXPECT_EQ((Strings{"a", "<null>", "b"}),
              Pieces(CallCore(CoreCommand::SplitText, ArgText("a,,b,"))));
    EXPECT_EQ((Strings{"a", "<null>"}),
              Pieces(CallCore(CoreCommand::SplitText, ArgText("a,,b,"), ArgOmitted(), ArgInt(2))));
    EXPECT_EQ(Strings{},
              Pieces(CallCore(CoreCommand::SplitText, ArgText("a,b"), ArgText(","), ArgInt(-1))));
    EXPECT_EQ((Strings{"*.lnk", "*.exe"}),
              Pieces(CallCore(CoreCommand::SplitText, ArgText("*.lnk||*.exe"), ArgText("||"))));
    EXPECT_EQ((Strings{"a", "b"}),
              Pieces(CallCore(CoreCommand::SplitText, ArgText("a|b|"), ArgText("|"), ArgInt(5))));
    // 0x81 0x7C is one character whose second byte is "|": no cut inside it.
    EXPECT_EQ((Strings{"x\x81\x7Cy", "z"}),
              Pieces(CallCore(CoreCommand::SplitText, ArgText("x\x81\x7Cy|z"), ArgText("|"))));
    // A lead byte at the very end stays with the last element.
    EXPECT_EQ((Strings{"a", "b\xB0"}),
              Pieces(CallCore(CoreCommand::SplitText, ArgText("a,b\xB0"))));
}

TEST(TextCommands, CompareTextOrdersAsciiBeforeGbkAndFoldsOnlyAscii) {
    auto compare = [](const char* a, const char* b, bool caseSensitive) {
        return CallCore(CoreCommand::CompareText, ArgText(a), ArgText(b), ArgBool(caseSensitive))
            .AsInt();
    };
    EXPECT_LT(compare("Zebra", "工具", true), 0);
    EXPECT_GT(compare("快速", "abc", false), 0);
    EXPECT_LT(compare("工具", "快速", true), 0);  // GBK order: B9A4 before BFEC
    EXPECT_LT(compare("ABC", "abc", true), 0);
    EXPECT_EQ(0, compare("ABC", "abc", false));
    EXPECT_EQ(0, compare("中Ab", "中aB", false));
    EXPECT_LT(compare("ab", "abc", false), 0);
    // Trail bytes 0x41 and 0x61 are different characters whatever the case flag.
    EXPECT_NE(0, compare("\xB0\x41", "\xB0\x61", false));
    EXPECT_EQ(0, compare("", "", false));
}

TEST(ConversionCommands, ToNumberReadsFullWidthText) {
    auto number = [](ArgumentRecord a) { return CallCore(CoreCommand::ToNumber, a).AsDouble(); };
    EXPECT_EQ(-12.5, number(ArgText("－１２．５")));
    EXPECT_EQ(42.0, number(ArgText("　＋４２元")));
    EXPECT_EQ(300.0, number(ArgText("  3e2x")));
    EXPECT_EQ(1.0, number(ArgText("1e")));
    EXPECT_EQ(0.5, number(ArgText(".5")));
    EXPECT_EQ(0.0, number(ArgText("abc")));
    EXPECT_EQ(0.0, number(ArgText("0x1A")));
    EXPECT_EQ(0.0, number(ArgText("inf")));
    EXPECT_EQ(1.0, number(ArgBool(true)));
    EXPECT_EQ(2.5, number(ArgFloat(2.5f)));
}

TEST(ConversionCommands, ToIntegerTruncatesAndReadsDigitsOnly) {
    auto integer = [](ArgumentRecord a) { return CallCore(CoreCommand::ToInteger, a).AsInt(); };
    EXPECT_EQ(-12, integer(ArgText("－１２．５")));
    EXPECT_EQ(12, integer(ArgText("12.9")));
    EXPECT_EQ(-2, integer(ArgDouble(-2.9)));
    EXPECT_EQ(2147483647, integer(ArgText("99999999999")));
    static int32_t variable = 31;
    EXPECT_EQ(31, integer(ArgReference(&variable, Tag::kInteger)));
}

TEST(ConversionCommands, ToText) {
    EXPECT_EQ("255", CallText(CoreCommand::ToText, MakeRecord(255, Tag::kByte)));
    EXPECT_EQ("-9000000000", CallText(CoreCommand::ToText, ArgLong(-9000000000ll)));
    EXPECT_EQ(nullptr, CallCore(CoreCommand::ToText, ArgText("")).AsPointer());
    OwnedByteSet set(MakeByteSet("ab\0cd", 5));
    EXPECT_EQ("ab", CallText(CoreCommand::ToText, ArgByteSet(set.Get())));
    ValueArray bytes = NewArray(1, 3);
    std::memcpy(ArrayData<char>(bytes), "xyz", 3);
    EXPECT_EQ("xyz", CallText(CoreCommand::ToText, ArgReference(&bytes, Tag::kByte)));
    FreeBlock(bytes);
}

TEST(ByteSetCommands, ShortReadsFillTheLowBytes) {
    OwnedByteSet two(MakeByteSet("\x34\x12", 2));
    ResultRecord r = CallCore(CoreCommand::ReadFromByteSet, ArgByteSet(two.Get()), ArgInt(3));
    EXPECT_EQ(Tag::kInteger, r.tag);
    EXPECT_EQ(0x1234, r.AsInt());
    r = CallCore(CoreCommand::ReadFromByteSet, ArgByteSet(two.Get()), ArgInt(4));
    EXPECT_EQ(0x1234, r.AsInt64());
    r = CallCore(CoreCommand::ReadFromByteSet, ArgByteSet(nullptr), ArgInt(3));
    EXPECT_EQ(0, r.AsInt());
    EXPECT_EQ(Tag::kInteger, r.tag);
}

TEST(ByteSetCommands, PositionVariableAdvancesToMinusOne) {
    const char data[] =
        "\x01\x00\x02\x00\x00\x00"
        "ab\0cd";
    OwnedByteSet set(MakeByteSet(data, 11));
    int32_t position = 1;
    ArgumentRecord setArg = ArgByteSet(set.Get());
    ArgumentRecord positionArg = ArgReference(&position, Tag::kInteger);
    EXPECT_EQ(1, CallCore(CoreCommand::ReadFromByteSet, setArg, ArgInt(2), positionArg).AsInt());
    EXPECT_EQ(3, position);
    EXPECT_EQ(2, CallCore(CoreCommand::ReadFromByteSet, setArg, ArgInt(3), positionArg).AsInt());
    EXPECT_EQ(7, position);
    EXPECT_EQ("ab",
              ResultText(CallCore(CoreCommand::ReadFromByteSet, setArg, ArgInt(10), positionArg)));
    EXPECT_EQ(10, position);  // past the terminating zero
    // Two bytes remain for a four-byte value: read short, then the end.
    EXPECT_EQ(0x6463,
              CallCore(CoreCommand::ReadFromByteSet, setArg, ArgInt(3), positionArg).AsInt());
    EXPECT_EQ(-1, position);
    // A position below 1 reads nothing and stays.
    EXPECT_EQ(0, CallCore(CoreCommand::ReadFromByteSet, setArg, ArgInt(3), positionArg).AsInt());
    EXPECT_EQ(-1, position);

    // A text that ends the set without a zero ends the reading too.
    OwnedByteSet text(MakeByteSet("xy", 2));
    position = 1;
    EXPECT_EQ("xy", ResultText(CallCore(CoreCommand::ReadFromByteSet, ArgByteSet(text.Get()),
                                        ArgInt(10), ArgReference(&position, Tag::kInteger))));
    EXPECT_EQ(-1, position);
    // A position given by value is only read.
    EXPECT_EQ('y',
              CallCore(CoreCommand::ReadFromByteSet, ArgByteSet(text.Get()), ArgInt(1), ArgInt(2))
                  .AsInt());
}

TEST(ByteSetCommands, TypedReadsAndBadTypeCode) {
    double big = 1e9;
    OwnedByteSet dateSet(MakeByteSet(&big, 8));
    ResultRecord r = CallCore(CoreCommand::ReadFromByteSet, ArgByteSet(dateSet.Get()), ArgInt(8));
    EXPECT_EQ(Tag::kDateTime, r.tag);
    EXPECT_EQ(2958465.0, r.AsDouble());
    int32_t seven = 7;
    OwnedByteSet boolSet(MakeByteSet(&seven, 4));
    r = CallCore(CoreCommand::ReadFromByteSet, ArgByteSet(boolSet.Get()), ArgInt(7));
    EXPECT_EQ(Tag::kBoolean, r.tag);
    EXPECT_EQ(1, r.AsInt());

    for (int32_t code : {0, 11}) {
        CapturedRuntimeError e = CatchRuntimeError([&] {
            CallCore(CoreCommand::ReadFromByteSet, ArgByteSet(boolSet.Get()), ArgInt(code));
        });
        EXPECT_TRUE(Contains(e.text, "错误信息：“欲取出数据的类型”参数值无效")) << e.text;
    }
}

TEST(ByteSetCommands, AddressCopies) {
    static const char bytes[] = "hello";
    int64_t address = static_cast<int64_t>(reinterpret_cast<uintptr_t>(bytes));
    EXPECT_EQ("hello", ResultText(CallCore(CoreCommand::TextAtAddress, ArgLong(address))));
    EXPECT_EQ(nullptr, CallCore(CoreCommand::TextAtAddress, ArgInt(0)).AsPointer());
    OwnedByteSet set(
        CallCore(CoreCommand::ByteSetAtAddress, ArgLong(address), ArgInt(3)).AsByteSet());
    ASSERT_EQ(3, ByteSetLength(set.Get()));
    EXPECT_EQ(nullptr,
              CallCore(CoreCommand::ByteSetAtAddress, ArgLong(address), ArgInt(0)).AsPointer());
    EXPECT_EQ(nullptr, CallCore(CoreCommand::ByteSetAtAddress, ArgInt(0), ArgInt(4)).AsPointer());
}
