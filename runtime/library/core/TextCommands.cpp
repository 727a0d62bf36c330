// Text commands of the core library. Results are new texts (null for empty).
#include <cstring>
#include <string>
#include "runtime/library/core/ByteParsers.h"
#include "runtime/library/core/CoreArguments.h"
#include "runtime/library/core/CoreCommandList.h"

namespace {

Text TextFromString(const std::string& s) {
    return MakeText(s.data(), static_cast<int32_t>(s.size()));
}

}  // namespace

void CmdTextLength(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    SetResultInt(result, TextLength(ArgumentText(argCount, args, 0)));
}

void CmdLeftText(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    const char* text = ArgumentText(argCount, args, 0);
    int32_t n = OptionalInteger(argCount, args, 1, 0);
    int32_t length = TextLength(text);
    SetResultText(result, n <= 0 ? nullptr : MakeText(text, n < length ? n : length));
}

void CmdRightText(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    const char* text = ArgumentText(argCount, args, 0);
    int32_t n = OptionalInteger(argCount, args, 1, 0);
    int32_t length = TextLength(text);
    if (n <= 0) return SetResultText(result, nullptr);
    if (n > length) n = length;
    SetResultText(result, MakeText(text + (length - n), n));
}

void CmdCharacterText(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    char code = static_cast<char>(OptionalInteger(argCount, args, 0, 0) & 0xFF);
    SetResultText(result, MakeText(&code, 1));
}

void CmdToUpperCase(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    SetResultText(result, TextFromString(UpperCaseGbk(ArgumentText(argCount, args, 0))));
}

void CmdSplitText(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    const char* text = ArgumentText(argCount, args, 0);
    const char* delimiter =
        GivenArgument(argCount, args, 1) ? ArgumentText(argCount, args, 1) : ",";
    int32_t maxCount = -1;
    if (GivenArgument(argCount, args, 2)) {
        maxCount = OptionalInteger(argCount, args, 2, 0);
        if (maxCount < 0) maxCount = 0;
    }
    std::vector<TextPiece> pieces =
        SplitTextPieces(text, std::strlen(text), delimiter, std::strlen(delimiter), maxCount);
    ValueArray array = NewArray(sizeof(Text), static_cast<int32_t>(pieces.size()));
    Text* elements = ArrayData<Text>(array);
    for (size_t i = 0; i < pieces.size(); ++i) {
        elements[i] = MakeText(text + pieces[i].offset, static_cast<int32_t>(pieces[i].length));
    }
    SetResultArray(result, array, Tag::kText);
}

void CmdBlankText(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    int32_t n = OptionalInteger(argCount, args, 0, 0);
    if (n < 1) return SetResultText(result, nullptr);
    Text text = static_cast<Text>(AllocateBlock(static_cast<uint32_t>(n) + 1));
    std::memset(text, ' ', static_cast<size_t>(n));
    text[n] = 0;
    SetResultText(result, text);
}

void CmdCompareText(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    bool caseSensitive = OptionalInteger(argCount, args, 2, 1) != 0;
    SetResultInt(result, CompareGbkText(ArgumentText(argCount, args, 0),
                                        ArgumentText(argCount, args, 1), caseSensitive));
}

void CmdTextAtAddress(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    const ArgumentRecord* a = GivenArgument(argCount, args, 0);
    const char* address = a ? reinterpret_cast<const char*>(ArgumentAddress(*a)) : nullptr;
    SetResultText(result, CopyText(address));
}
