// A record library Velmora64 that does as little as a record library can: each function the benchmark
// calls hands back what it was steered to, with no lock, no call log and no copy beyond the fresh
// bitmap that CreateHBITMAPfromRecordBinaryField must make. The stand-in takes a mutex and writes a
// log line on every call, which costs many times a warm JNI frame and serialises threads; with this
// library in its place the benchmark sees the bridge itself.
//
// It offers the stand-in's steering calls that the benchmark uses, so the same benchmark drives
// either library. Steering happens before the timed calls, on one thread, so the functions read the
// steered values without synchronisation.
#include <cstring>
#include <string>
#include <vector>

#include "platform/windows_api.h"

#define LEAN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

int numberOfRecords = 0;
int sizeOfNISTByteArray = 0;
std::string recordTxtField;
std::vector<unsigned char> nistByteArray;

// The bitmap as CreateDIBSection stores it, bottom-up, ready to be copied into each new bitmap.
BITMAPINFO bitmapInfo{};
std::vector<unsigned char> bitmapBits;
bool hasBitmap = false;

bool is(const char* function, const char* name) { return function && std::strcmp(function, name) == 0; }

}  // namespace

LEAN_EXPORT int ReadNumberOfRecords(int) { return numberOfRecords; }

LEAN_EXPORT const char* ReadRecordTxtField(int, int, int, const char*) { return recordTxtField.c_str(); }

LEAN_EXPORT int ReadSizeOfNISTByteArray() { return sizeOfNISTByteArray; }

LEAN_EXPORT const unsigned char* ReadNISTByteArray() { return nistByteArray.data(); }

// Every call makes a new bitmap, as a real record library must: the caller deletes it.
LEAN_EXPORT HBITMAP CreateHBITMAPfromRecordBinaryField(int, int) {
    if (!hasBitmap) return nullptr;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bitmapInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) std::memcpy(bits, bitmapBits.data(), bitmapBits.size());
    return bitmap;
}

LEAN_EXPORT void StandinReset() {
    numberOfRecords = sizeOfNISTByteArray = 0;
    recordTxtField.clear();
    nistByteArray.clear();
    bitmapBits.clear();
    hasBitmap = false;
}

LEAN_EXPORT void StandinSteerInt(const char* function, int result) {
    if (is(function, "ReadNumberOfRecords")) numberOfRecords = result;
    if (is(function, "ReadSizeOfNISTByteArray")) sizeOfNISTByteArray = result;
}

LEAN_EXPORT void StandinSteerString(const char* function, const char* bytes, int length) {
    if (is(function, "ReadRecordTxtField") && bytes) recordTxtField.assign(bytes, static_cast<std::size_t>(length));
}

LEAN_EXPORT void StandinSteerBytes(const char* function, const unsigned char* bytes, int length) {
    if (is(function, "ReadNISTByteArray") && bytes) nistByteArray.assign(bytes, bytes + length);
}

// Pixels are 0x00RRGGBB, rows from the top; only 32 bits per pixel, the layout GetDIBits copies row
// by row.
LEAN_EXPORT void StandinSteerBitmap(int width, int height, int bitsPerPixel, const unsigned int* pixels) {
    hasBitmap = pixels && width > 0 && height > 0 && bitsPerPixel == 32;
    if (!hasBitmap) return;
    bitmapInfo = BITMAPINFO{};
    bitmapInfo.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bitmapInfo.bmiHeader.biWidth = width;
    bitmapInfo.bmiHeader.biHeight = height;  // bottom-up, as the stand-in stores its bitmaps
    bitmapInfo.bmiHeader.biPlanes = 1;
    bitmapInfo.bmiHeader.biBitCount = 32;
    bitmapInfo.bmiHeader.biCompression = BI_RGB;
    const std::size_t stride = static_cast<std::size_t>(width) * 4;
    bitmapBits.resize(stride * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        std::memcpy(bitmapBits.data() + static_cast<std::size_t>(height - 1 - y) * stride,
                    pixels + static_cast<std::size_t>(y) * width, stride);
}
