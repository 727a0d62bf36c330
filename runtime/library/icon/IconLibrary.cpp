#include "runtime/library/icon/IconLibrary.h"

#include <windows.h>

#include <new>
#include <string>
#include <vector>

#include "runtime/library/Commands.h"
#include "runtime/library/icon/IconFile.h"
#include "runtime/library/icon/ModuleIcons.h"
#include "runtime/library/LibraryArguments.h"
#include "runtime/process/Runtime.h"
#include "runtime/win32/FileNames.h"
#include "runtime/win32/ScopedOwners.h"

namespace {

// At most `stated` bytes from p on, as many as the mapping holds. A module
// loaded as a data file is its file mapped as it is, so a resource whose
// stated size runs past the end of the file would be read beyond the view.
size_t MappedBytesFrom(const void* p, size_t stated) {
    MEMORY_BASIC_INFORMATION info;
    if (!VirtualQuery(p, &info, sizeof info) || info.State != MEM_COMMIT ||
        (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)))
        return 0;
    const size_t mapped = size_t(static_cast<const uint8_t*>(info.BaseAddress) + info.RegionSize -
                                 static_cast<const uint8_t*>(p));
    return mapped < stated ? mapped : stated;
}

BOOL CALLBACK CollectGroupName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
    auto* names = reinterpret_cast<std::vector<ResourceName>*>(param);
    ResourceName n;
    if (IS_INTRESOURCE(name)) {
        n.id = static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(name));
    } else {
        n.named = true;
        n.text = name;
    }
    names->push_back(n);
    return TRUE;
}

// A module loaded by the system as a data file.
class LoadedIconModule : public IconModule {
  public:
    explicit LoadedIconModule(HMODULE module) : module_(module) {}

    std::vector<ResourceName> IconGroupNames() const override {
        std::vector<ResourceName> names;
        EnumResourceNamesA(module_, MAKEINTRESOURCEA(kResourceTypeIconGroup), CollectGroupName,
                           reinterpret_cast<LONG_PTR>(&names));
        return names;
    }

    bool FindResourceBytes(const ResourceName& name, uint16_t type, const uint8_t** data,
                           size_t* size) const override {
        LPCSTR resourceName = name.named ? name.text.c_str() : MAKEINTRESOURCEA(name.id);
        HRSRC info = FindResourceA(module_, resourceName, MAKEINTRESOURCEA(type));
        if (!info) return false;
        HGLOBAL loaded = LoadResource(module_, info);
        if (!loaded) return false;
        *data = static_cast<const uint8_t*>(LockResource(loaded));
        if (!*data) return false;
        *size = MappedBytesFrom(*data, SizeofResource(module_, info));
        return true;
    }

  private:
    HMODULE module_;
};

std::vector<uint8_t> ReadFileBytes(const char* path) {
    std::vector<uint8_t> bytes;
    ScopedFileHandle file(CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return bytes;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 || size.QuadPart > 0x7FFFFFFF)
        return bytes;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size())
        bytes.clear();
    return bytes;
}

// The images of an icon file, bitmap fields taken again from their headers.
std::vector<IconImage> LoadIconFileImages(const char* path) {
    std::vector<IconImage> images;
    std::vector<uint8_t> bytes = ReadFileBytes(path);
    std::vector<IconImage> stored;
    if (!ReadIconFile(bytes.data(), bytes.size(), &stored)) return images;
    for (const IconImage& entry : stored) {
        IconImage image;
        if (MakeIconImage(entry.data.data(), entry.data.size(), entry, &image))
            images.push_back(std::move(image));
    }
    return images;
}

// Reads the whole file from its start through `file`.
bool ReadBackThrough(HANDLE file, size_t size, std::vector<uint8_t>* bytes) {
    bytes->assign(size, 0);
    DWORD read = 0;
    LARGE_INTEGER start{};
    if (SetFilePointerEx(file, start, nullptr, FILE_BEGIN) &&
        ReadFile(file, bytes->data(), static_cast<DWORD>(size), &read, nullptr) && read == size)
        return true;
    bytes->clear();
    return false;
}

// The target is created new: whatever already has its name (a file, a link,
// a junction) is neither replaced nor followed, and nothing is written then.
// Given `readBack`, the file is shared with nobody, read back through its own
// handle and deleted when that handle closes.
bool WriteFileBytes(const char* path, const std::vector<uint8_t>& bytes,
                    std::vector<uint8_t>* readBack) {
    const std::wstring widePath = WidePath(path);
    bool written = false;
    {
        const DWORD access = readBack ? GENERIC_READ | GENERIC_WRITE | DELETE : GENERIC_WRITE;
        const DWORD flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT |
                            (readBack ? FILE_FLAG_DELETE_ON_CLOSE : 0);
        ScopedFileHandle file(
            CreateFileW(widePath.c_str(), access, 0, nullptr, CREATE_NEW, flags, nullptr));
        if (!file.Valid()) return false;
        DWORD done = 0;
        written =
            WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
            done == bytes.size();
        if (readBack) return written && ReadBackThrough(file.Get(), bytes.size(), readBack);
    }
    // A half-written file (ours: it was created above) would be read back as
    // a damaged icon.
    if (!written) DeleteFileW(widePath.c_str());
    return written;
}

// A 32-bit bitmap file of the icon's largest image, drawn on white.
std::vector<uint8_t> IconBitmapFile(const std::vector<IconImage>& images) {
    std::vector<uint8_t> file;
    const IconImage* best = nullptr;
    int bestSide = 0;
    for (const IconImage& image : images) {
        int side = image.width ? image.width : 256;
        if (side > bestSide) {
            best = &image;
            bestSide = side;
        }
    }
    if (!best) return file;
    int height = best->height ? best->height : 256;
    HICON icon = CreateIconFromResourceEx(const_cast<PBYTE>(best->data.data()),
                                          static_cast<DWORD>(best->data.size()), TRUE, 0x00030000,
                                          bestSide, height, LR_DEFAULTCOLOR);
    if (!icon) return file;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = bestSide;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                      &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (dc && bitmap && bits) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT all = {0, 0, bestSide, height};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawIconEx(dc, 0, 0, icon, bestSide, height, 0, nullptr, DI_NORMAL);
        GdiFlush();
        SelectObject(dc, old);
        uint32_t pixelBytes = static_cast<uint32_t>(bestSide) * height * 4;
        BITMAPFILEHEADER head{};
        head.bfType = 0x4D42;
        head.bfOffBits = sizeof(head) + sizeof(info);
        head.bfSize = head.bfOffBits + pixelBytes;
        auto put = [&file](const void* p, size_t n) {
            file.insert(file.end(), static_cast<const uint8_t*>(p),
                        static_cast<const uint8_t*>(p) + n);
        };
        put(&head, sizeof(head));
        put(&info, sizeof(info));
        put(bits, pixelBytes);
    }
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
    DestroyIcon(icon);
    return file;
}

// True when the target was created and written.
bool WriteIconTarget(const std::vector<IconImage>& images, const char* target,
                     std::vector<uint8_t>* readBack) {
    if (images.empty()) return false;
    std::string kind = FileKindOf(target);
    if (kind == "ico") return WriteFileBytes(target, WriteIconFile(images), readBack);
    if (kind == "bmp") {
        std::vector<uint8_t> bitmap = IconBitmapFile(images);
        return !bitmap.empty() && WriteFileBytes(target, bitmap, readBack);
    }
    return false;
}

// A fifth argument, a boolean variable, learns whether the target was
// created and written (so that a caller deletes only a file it made). A
// sixth, a byte-set variable, makes the target a scratch file and receives
// its bytes as read back through the handle that wrote it.
void CmdSaveIconToFile(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    int32_t mode = ArgumentInt(argCount, args, 1, 1);
    int32_t number = ArgumentInt(argCount, args, 3, 1);
    bool written = false;
    void* readBackVariable = OutputVariable(argCount, args, 5, Tag::kByteSet);
    std::vector<uint8_t> readBack;
    SetResultInt(result, SaveIconToFile(TextArgument(argCount, args, 0), mode,
                                        TextArgument(argCount, args, 2), number, &written,
                                        readBackVariable ? &readBack : nullptr));
    if (void* v = OutputVariable(argCount, args, 4, Tag::kBoolean))
        *static_cast<int32_t*>(v) = written ? 1 : 0;
    if (readBackVariable) {
        ByteSet* slot = static_cast<ByteSet*>(readBackVariable);
        FreeBlock(*slot);
        *slot = MakeByteSet(readBack.data(), static_cast<int32_t>(readBack.size()));
    }
}

const CommandFn kIconCommands[static_cast<int>(IconCommand::Count)] = {CmdSaveIconToFile};

const SupportLibrary kIconLibraryEntry = {
    "6D2E8A41C5B7490F93E1A0C4B85F2D17",       "ICONLIB", 1, 0, 0, nullptr, kIconCommands,
    static_cast<int32_t>(IconCommand::Count), nullptr,   0};

}  // namespace

int32_t SaveIconToFile(const char* source, int32_t mode, const char* target, int32_t number,
                       bool* written, std::vector<uint8_t>* readBack) {
    if (written) *written = false;
    if (readBack) readBack->clear();
    if (number <= 0) number = 1;
    if (mode != 0) mode = 1;
    bool save = mode == 0;
    if (save && TextLength(target) == 0) return 0;

    std::string kind = FileKindOf(source);
    if (kind == "ico") {
        if (save && number <= 1) {
            const bool done = WriteIconTarget(LoadIconFileImages(source), target, readBack);
            if (written) *written = done;
        }
        return 1;
    }
    if (kind != "exe" && kind != "dll" && kind != "icl") return 0;

    // Module loading takes no path of MAX_PATH bytes or more, not even in its
    // wide "\\?\" form: a program that deep is loaded by its short form.
    ScopedModule module(LoadLibraryExA(ShortFormForAnsiCalls(TextOrEmpty(source)).c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE));
    if (!module.Get()) return 0;
    // Every allocation of the walk is bounded, but one can still fail on a
    // crowded 32-bit address space: the item then simply has no picture.
    try {
        const ModuleIcon icon = ReadModuleIcon(LoadedIconModule(module.Get()), save ? number : 0);
        if (save) {
            const bool done = WriteIconTarget(icon.images, target, readBack);
            if (written) *written = done;
        }
        return icon.groupCount;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

const SupportLibrary& IconLibrary() {
    return kIconLibraryEntry;
}
