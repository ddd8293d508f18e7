// The Linux layer behind windows_layer.h. It is linked into every library that needs it (the bridge
// and the stand-in record library), so a bitmap that one creates, another can read and delete: each
// GDI object carries a tag that says what it is, and the layout is this file's alone.
#include "windows_layer.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// Writes the code point as UTF-8 into out, which has room for 4 bytes; returns the bytes written.
std::size_t encodeUtf8(char32_t c, char* out) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
        out[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<char>(0xC0 | (c >> 6));
        out[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (c >> 12));
        out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (c >> 18));
    out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}

// Appends the wide text as UTF-8 to out[length..capacity); stops where the next character would not fit.
std::size_t appendUtf8(char* out, std::size_t length, std::size_t capacity, const wchar_t* text) {
    for (; text && *text; ++text) {
        char encoded[4];
        std::size_t n = encodeUtf8(static_cast<char32_t>(*text), encoded);
        if (length + n > capacity) break;
        std::memcpy(out + length, encoded, n);
        length += n;
    }
    return length;
}

enum class Tag : std::uint32_t { bitmap = 0x42495450, dc = 0x44435f5f, dead = 0xdeaddead };

}  // namespace

struct LinuxGdiObject {
    Tag tag;
    // Bitmaps only: the pixels as a device-independent bitmap stores them.
    LONG width;
    LONG height;  // always positive; topDown tells the row order
    bool topDown;
    WORD bitsPerPixel;
    LONG stride;  // bytes per row, a whole number of 4-byte units
    BYTE* bits;
};

HMODULE LoadLibraryW(const wchar_t* name) {
    if (!name) return nullptr;
    // A bare name gets the platform's prefix and extension, as Windows adds ".dll".
    char file[PATH_MAX] = "lib";
    std::size_t length = appendUtf8(file, 3, sizeof file - 4, name);
    std::memcpy(file + length, ".so", 4);
    return static_cast<HMODULE>(dlopen(file, RTLD_NOW | RTLD_LOCAL));
}

FARPROC GetProcAddress(HMODULE module, const char* name) {
    if (!module || !name) return nullptr;
    return reinterpret_cast<FARPROC>(dlsym(module, name));
}

int MessageBoxW(HWND, const wchar_t* text, const wchar_t* caption, UINT) {
    // One write per message, so that lines of several threads never interleave.
    char line[1024];
    std::size_t length = appendUtf8(line, 0, sizeof line - 3, caption);
    line[length++] = ':';
    line[length++] = ' ';
    length = appendUtf8(line, length, sizeof line - 1, text);
    line[length++] = '\n';
    return write(STDERR_FILENO, line, length) == static_cast<ssize_t>(length) ? 1 : 0;
}

HDC CreateCompatibleDC(HDC) {
    auto* dc = static_cast<LinuxGdiObject*>(std::calloc(1, sizeof(LinuxGdiObject)));
    if (dc) dc->tag = Tag::dc;
    return dc;
}

BOOL DeleteDC(HDC dc) {
    if (!dc || dc->tag != Tag::dc) return 0;
    dc->tag = Tag::dead;
    std::free(dc);
    return 1;
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE, DWORD) {
    if (bits) *bits = nullptr;
    if (!info || usage != DIB_RGB_COLORS) return nullptr;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 ||
        header.biCompression != BI_RGB || (header.biBitCount != 24 && header.biBitCount != 32))
        return nullptr;
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biHeight == LONG_MIN) return nullptr;
    long long height = header.biHeight < 0 ? -static_cast<long long>(header.biHeight) : header.biHeight;
    long long stride = (static_cast<long long>(header.biWidth) * header.biBitCount + 31) / 32 * 4;
    if (stride > INT_MAX || stride * height > INT_MAX) return nullptr;

    auto* bitmap = static_cast<LinuxGdiObject*>(std::calloc(1, sizeof(LinuxGdiObject)));
    BYTE* pixels = static_cast<BYTE*>(std::calloc(static_cast<std::size_t>(stride * height), 1));
    if (!bitmap || !pixels) {
        std::free(bitmap);
        std::free(pixels);
        return nullptr;
    }
    *bitmap = {Tag::bitmap, header.biWidth, static_cast<LONG>(height), header.biHeight < 0,
               header.biBitCount, static_cast<LONG>(stride), pixels};
    if (bits) *bits = pixels;
    return bitmap;
}

int GetObject(HGDIOBJ object, int size, LPVOID buffer) {
    if (!object || object->tag != Tag::bitmap) return 0;
    if (!buffer) return sizeof(BITMAP);
    if (size < static_cast<int>(sizeof(BITMAP))) return 0;
    BITMAP description{0, object->width, object->height, object->stride, 1, object->bitsPerPixel,
                       object->bits};
    std::memcpy(buffer, &description, sizeof description);
    return sizeof(BITMAP);
}

int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info,
              UINT usage) {
    if (!dc || dc->tag != Tag::dc || !bitmap || bitmap->tag != Tag::bitmap) return 0;
    if (!bits || !info || usage != DIB_RGB_COLORS) return 0;
    const BITMAPINFOHEADER& request = info->bmiHeader;
    // The one request this layer serves: 32-bit BI_RGB rows of the bitmap's own size.
    if (request.biSize < sizeof(BITMAPINFOHEADER) || request.biPlanes != 1 ||
        request.biBitCount != 32 || request.biCompression != BI_RGB ||
        request.biWidth != bitmap->width ||
        (request.biHeight != bitmap->height && request.biHeight != -bitmap->height))
        return 0;
    if (start >= static_cast<UINT>(bitmap->height)) return 0;
    if (lines > static_cast<UINT>(bitmap->height) - start) lines = static_cast<UINT>(bitmap->height) - start;

    const bool requestTopDown = request.biHeight < 0;
    auto* out = static_cast<BYTE*>(bits);
    const std::size_t outStride = static_cast<std::size_t>(bitmap->width) * 4;
    for (UINT line = 0; line < lines; ++line) {
        // Scan line numbers count in the destination's own order; map each to a row from the top.
        UINT scan = start + line;
        LONG fromTop = requestTopDown ? static_cast<LONG>(scan) : bitmap->height - 1 - static_cast<LONG>(scan);
        LONG stored = bitmap->topDown ? fromTop : bitmap->height - 1 - fromTop;
        const BYTE* in = bitmap->bits + static_cast<std::size_t>(stored) * bitmap->stride;
        BYTE* row = out + static_cast<std::size_t>(line) * outStride;
        if (bitmap->bitsPerPixel == 32) {
            std::memcpy(row, in, outStride);
        } else {
            for (LONG x = 0; x < bitmap->width; ++x) {
                row[4 * x + 0] = in[3 * x + 0];
                row[4 * x + 1] = in[3 * x + 1];
                row[4 * x + 2] = in[3 * x + 2];
                row[4 * x + 3] = 0;
            }
        }
    }
    return static_cast<int>(lines);
}

BOOL DeleteObject(HGDIOBJ object) {
    if (!object || object->tag != Tag::bitmap) return 0;
    object->tag = Tag::dead;
    std::free(object->bits);
    std::free(object);
    return 1;
}
