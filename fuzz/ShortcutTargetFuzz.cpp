// What the program makes of names it does not choose: the target path a
// shortcut gives back and the file names in the category folders (any bytes,
// double-byte characters of code page 936 or broken ones). The program's own
// code runs unchanged (the item test and target decision of the item
// pictures, the icon command's file kind, the titles) over native stand-ins
// for the shell's path functions (fuzz/standin). Input: one byte chooses what
// the folder test answers, the rest is the name.
#include <cstring>
#include <string>

#include "app/common/DeclaredFunctions.h"
#include "app/common/FileTitle.h"
#include "app/launch/TargetPicture.h"
#include "fuzz/FuzzInput.h"
#include "runtime/library/icon/ModuleIcons.h"

namespace {
const BOOL kDirectoryAnswers[] = {0, 1, FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY | 0x20,
                                  -1};

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// True when `length` bytes of text end on a character boundary of code page 936.
bool OnCharacterBoundary(const std::string& text, size_t length) {
    size_t at = 0;
    while (at < length) {
        const unsigned char lead = static_cast<unsigned char>(text[at]);
        at += lead >= 0x81 && lead <= 0xFE && at + 1 < text.size() ? 2 : 1;
    }
    return at == length;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    gStandInDirectoryAnswer = kDirectoryAnswers[input.Byte() % 5];
    const std::vector<uint8_t> rest = input.Rest();
    // A text ends at its first NUL, as the shortcut's target does.
    std::string name(rest.begin(), rest.end());
    name.resize(std::strlen(name.c_str()));

    if (IsShortcutItem(name.c_str())) FUZZ_CHECK(EndsWith(name, ".lnk"));
    switch (PictureForTarget(name.c_str(), name.c_str())) {
        case TargetPicture::ProgramIcon:
            // The icon command must then read the target as a program.
            FUZZ_CHECK(EndsWith(name, ".exe") && FileKindOf(name.c_str()) == "exe");
            break;
        case TargetPicture::FolderPicture:
            FUZZ_CHECK(gStandInDirectoryAnswer == FILE_ATTRIBUTE_DIRECTORY);
            break;
        case TargetPicture::None:
            FUZZ_CHECK(gStandInDirectoryAnswer != FILE_ATTRIBUTE_DIRECTORY);
            break;
    }

    // Titles: the file name as the name holds it, and without its extension,
    // cut where a character ends.
    OwnedText whole(FileTitle(name.c_str(), true));
    OwnedText title(FileTitle(name.c_str(), false));
    if (!whole.Get()) {
        FUZZ_CHECK(!title.Get());
        return 0;
    }
    const std::string shown(whole.Get());
    FUZZ_CHECK(EndsWith(name, shown));
    const std::string cut(TextOrEmpty(title.Get()));
    FUZZ_CHECK(cut.size() <= shown.size() && shown.compare(0, cut.size(), cut) == 0);
    FUZZ_CHECK(OnCharacterBoundary(shown, cut.size()));
    return 0;
}
