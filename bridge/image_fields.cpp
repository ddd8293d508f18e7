// An image field as pixels: the record library makes a bitmap of it, and the bridge reads the bitmap
// as 32-bit pixels, rows from the top, straight into a new Java int array.
#include <climits>

#include "conversions.h"
#include "corvelle_Velmora.h"

using namespace velmora;

namespace {

// The bitmap is made for the caller of CreateHBITMAPfromRecordBinaryField, and nobody else can free
// it: it is deleted on every path once read. So is the memory device context made to read it.
class ScopedBitmap {
public:
    explicit ScopedBitmap(HBITMAP bitmap) : bitmap_(bitmap) {}
    ~ScopedBitmap() {
        if (bitmap_) DeleteObject(bitmap_);
    }
    ScopedBitmap(const ScopedBitmap&) = delete;
    ScopedBitmap& operator=(const ScopedBitmap&) = delete;
    HBITMAP get() const { return bitmap_; }

private:
    HBITMAP bitmap_;
};

class ScopedMemoryDC {
public:
    ScopedMemoryDC() : dc_(CreateCompatibleDC(nullptr)) {}
    ~ScopedMemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    ScopedMemoryDC(const ScopedMemoryDC&) = delete;
    ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

}  // namespace

JNIEXPORT jintArray JNICALL Java_corvelle_Velmora_CreateHBITMAPfromRecordBinaryField(JNIEnv* env, jclass,
                                                                                     jintArray jdimensions,
                                                                                     jint recordType,
                                                                                     jint record) {
    auto createHBITMAPfromRecordBinaryField = frame<function::CreateHBITMAPfromRecordBinaryField>();
    if (!createHBITMAPfromRecordBinaryField) return {};
    if (!jdimensions) {
        throwNullPointer(env, "dimensions is null");
        return {};
    }
    if (env->GetArrayLength(jdimensions) < 2) {
        throwOutOfBounds(env, "dimensions has fewer than two elements");
        return {};
    }

    ScopedBitmap bitmap(createHBITMAPfromRecordBinaryField(recordType, record));
    if (!bitmap.get()) return {};
    BITMAP description{};
    if (!GetObject(bitmap.get(), sizeof description, &description)) return {};
    const LONG width = description.bmWidth;
    const LONG height = description.bmHeight;
    if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > INT_MAX) return {};

    {
        ScopedCriticalIntArray dimensions(env, jdimensions, "cannot get the elements of dimensions");
        if (!dimensions.get()) return {};
        dimensions.get()[0] = width;
        dimensions.get()[1] = height;
    }

    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    request.bmiHeader.biWidth = width;
    request.bmiHeader.biHeight = -height;  // negative: rows from the top
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;

    ScopedMemoryDC dc;
    if (!dc.get()) return {};
    jintArray jpixels = env->NewIntArray(width * height);
    if (!jpixels) {
        throwNotObtained(env, "cannot make the pixel array");
        return {};
    }
    ScopedCriticalIntArray pixels(env, jpixels, "cannot get the elements of the pixel array");
    if (!pixels.get()) return {};
    const int lines = GetDIBits(dc.get(), bitmap.get(), 0, static_cast<UINT>(height), pixels.get(), &request,
                                DIB_RGB_COLORS);
    return lines == height ? jpixels : nullptr;
}
