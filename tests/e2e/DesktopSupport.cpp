#include "tests/e2e/DesktopSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>

namespace {

void SendMouse(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

void SendKey(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}

}  // namespace

void MoveMouse(int x, int y) {
    // Absolute coordinates run from 0 to 65535 across the primary screen.
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (x * 65536 + GetSystemMetrics(SM_CXSCREEN) / 2) / GetSystemMetrics(SM_CXSCREEN);
    input.mi.dy = (y * 65536 + GetSystemMetrics(SM_CYSCREEN) / 2) / GetSystemMetrics(SM_CYSCREEN);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
    Settle(60);
}

void ClickAt(int x, int y, bool right) {
    MoveMouse(x, y);
    SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    Settle(30);
    SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
    Settle(60);
}

void DoubleClickAt(int x, int y) {
    MoveMouse(x, y);
    for (int i = 0; i < 2; ++i) {
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        SendMouse(MOUSEEVENTF_LEFTUP);
    }
    Settle(60);
}

void PressKeys(const std::vector<WORD>& keys) {
    for (WORD key : keys) SendKey(key, false);
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) SendKey(*key, true);
    Settle(100);
}

ScreenPicture::ScreenPicture(const RECT& box)
    : width_(box.right - box.left), height_(box.bottom - box.top) {
    if (width_ <= 0 || height_ <= 0) {
        width_ = height_ = 0;
        return;
    }
    pixels_.resize(static_cast<size_t>(width_) * height_);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width_, height_, screen, box.left, box.top, SRCCOPY);
        GdiFlush();
        const auto* source = static_cast<const uint32_t*>(bits);
        for (size_t i = 0; i < pixels_.size(); ++i) pixels_[i] = source[i] & 0xFFFFFF;
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

COLORREF ScreenPicture::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    const uint32_t p = pixels_[static_cast<size_t>(y) * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int ScreenPicture::CountDifferent(const RECT& area, COLORREF colour) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = At(x, y);
            if (c == CLR_INVALID) continue;
            if (std::abs(GetRValue(c) - GetRValue(colour)) > 24 ||
                std::abs(GetGValue(c) - GetGValue(colour)) > 24 ||
                std::abs(GetBValue(c) - GetBValue(colour)) > 24)
                ++count;
        }
    }
    return count;
}

int ScreenPicture::CountColours(const RECT& area, int cap) const {
    std::set<COLORREF> colours;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = At(x, y);
            if (c != CLR_INVALID) colours.insert(c);
            if (static_cast<int>(colours.size()) >= cap) return cap;
        }
    }
    return static_cast<int>(colours.size());
}

double ScreenPicture::Difference(const RECT& a, const RECT& b) const {
    const int w = std::min(a.right - a.left, b.right - b.left);
    const int h = std::min(a.bottom - a.top, b.bottom - b.top);
    if (w <= 0 || h <= 0) return 0;
    double sum = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const COLORREF p = At(a.left + x, a.top + y), q = At(b.left + x, b.top + y);
            sum += std::abs(GetRValue(p) - GetRValue(q)) + std::abs(GetGValue(p) - GetGValue(q)) +
                   std::abs(GetBValue(p) - GetBValue(q));
        }
    }
    return sum / (3.0 * w * h);
}

bool ScreenPicture::SaveBmp(const std::string& path) const {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width_;
    info.biHeight = -height_;
    info.biPlanes = 1;
    info.biBitCount = 32;
    const DWORD bytes = static_cast<DWORD>(pixels_.size() * 4);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + bytes;
    std::fwrite(&file, sizeof(file), 1, f);
    std::fwrite(&info, sizeof(info), 1, f);
    std::fwrite(pixels_.data(), 1, bytes, f);
    std::fclose(f);
    return true;
}

FileCreations::FileCreations(const std::string& folder)
    : directory_(CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED,
                             nullptr)),
      stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      ready_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    if (directory_ == INVALID_HANDLE_VALUE) return;
    thread_ = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
    WaitForSingleObject(ready_, 10000);
}

FileCreations::~FileCreations() {
    SetEvent(stop_);
    if (thread_) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    if (directory_ != INVALID_HANDLE_VALUE) CloseHandle(directory_);
    CloseHandle(stop_);
    CloseHandle(ready_);
}

DWORD WINAPI FileCreations::Watch(LPVOID parameter) {
    auto* self = static_cast<FileCreations*>(parameter);
    alignas(DWORD) static thread_local BYTE notices[16384];
    OVERLAPPED overlapped = {};
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    for (;;) {
        ResetEvent(overlapped.hEvent);
        if (!ReadDirectoryChangesW(self->directory_, notices, sizeof(notices), FALSE,
                                   FILE_NOTIFY_CHANGE_FILE_NAME, nullptr, &overlapped, nullptr))
            break;
        SetEvent(self->ready_);
        const HANDLE waits[] = {overlapped.hEvent, self->stop_};
        DWORD bytes = 0;
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
            CancelIo(self->directory_);
            GetOverlappedResult(self->directory_, &overlapped, &bytes, TRUE);
            break;
        }
        if (!GetOverlappedResult(self->directory_, &overlapped, &bytes, FALSE)) break;
        for (DWORD at = 0; bytes > 0;) {
            const auto* notice = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(notices + at);
            if (notice->Action == FILE_ACTION_ADDED) ++self->count_;
            if (!notice->NextEntryOffset) break;
            at += notice->NextEntryOffset;
        }
    }
    SetEvent(self->ready_);
    CloseHandle(overlapped.hEvent);
    return 0;
}

void SubtreeWatchStandIn::HoldSubfolders(const std::string& root) {
    ReleaseAll();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((root + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || found.cFileName[0] == '.')
            continue;
        const std::string folder = root + "\\" + found.cFileName;
        HANDLE watch = FindFirstChangeNotificationA(
            folder.c_str(), FALSE,
            FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE);
        if (watch != INVALID_HANDLE_VALUE) held_.emplace_back(folder, watch);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void SubtreeWatchStandIn::Release(const std::string& folder) {
    for (auto it = held_.begin(); it != held_.end(); ++it) {
        if (it->first == folder) {
            FindCloseChangeNotification(it->second);
            held_.erase(it);
            return;
        }
    }
}

void SubtreeWatchStandIn::ReleaseAll() {
    for (auto& folder : held_) FindCloseChangeNotification(folder.second);
    held_.clear();
}
