// What the bridge and the stand-in record library use of Windows, offered on Linux.
//
// Libraries: LoadLibraryW("Velmora64") opens "libVelmora64.so" by the dynamic loader's own search
// (LD_LIBRARY_PATH, then the system's paths); GetProcAddress looks a symbol up.
// Messages: MessageBoxW writes one line "Error: <text>" to standard error in a single write.
// Bitmaps: device-independent bitmaps in memory, enough to create one (CreateDIBSection), describe it
// (GetObject), read its rows as 32-bit pixels (GetDIBits) and delete it (DeleteObject); a memory
// device context (CreateCompatibleDC, DeleteDC) that carries nothing but its own validity.
#pragma once

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;
using BOOL = int;
using LPVOID = void*;

struct LinuxModule;
struct LinuxGdiObject;
using HMODULE = LinuxModule*;
using HWND = void*;
using HANDLE = void*;
using HGDIOBJ = LinuxGdiObject*;
using HBITMAP = LinuxGdiObject*;
using HDC = LinuxGdiObject*;
using FARPROC = void (*)();

constexpr UINT MB_OK = 0;
constexpr DWORD BI_RGB = 0;
constexpr UINT DIB_RGB_COLORS = 0;

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;  // positive: rows stored bottom-up; negative: top-down
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

HMODULE LoadLibraryW(const wchar_t* name);
FARPROC GetProcAddress(HMODULE module, const char* name);
int MessageBoxW(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);
int GetObject(HGDIOBJ object, int size, LPVOID buffer);
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info,
              UINT usage);
BOOL DeleteObject(HGDIOBJ object);
