// The image field as pixels: the bitmap the record library makes, read as 32-bit pixels with rows
// from the top straight into a new int array through a critical region, its width and height
// written into the caller's dimensions; the bitmap and the memory DC deleted on every path.
#include <algorithm>

#include "support.h"

namespace nt {
namespace {

jintArray image(FakeJni& jni, jintArray dimensions) {
    return bridge().CreateHBITMAPfromRecordBinaryField(jni.env(), nullptr, dimensions, 2, 1);
}

std::vector<unsigned> rgbOf(const std::vector<jint>& pixels) {
    std::vector<unsigned> rgb;
    for (jint pixel : pixels) rgb.push_back(static_cast<unsigned>(pixel) & 0xFFFFFFu);  // bits 24-31 have no meaning
    return rgb;
}

// The JNI operations of an image read of width x height (on Windows with the GDI calls between
// them): dimensions written in a critical region first, then the DC made, then the pixel array, and
// GetDIBits writing straight into its critical elements. The deletions, in whatever order, follow.
void expectImageOperations(FakeJni& jni, int width, int height) {
    Lines expected{"GetArrayLength(dimensions)",
#ifdef _WIN32
                   "note gdi GetObject(obj1, 32) = 32",
#endif
                   "GetPrimitiveArrayCritical(dimensions, isCopy=&0)",
                   "ReleasePrimitiveArrayCritical(dimensions, 0)",
#ifdef _WIN32
                   "note gdi CreateCompatibleDC(null) = dc1",
#endif
                   "NewIntArray(" + std::to_string(width * height) + ") = new1",
                   "GetPrimitiveArrayCritical(new1, isCopy=&0)",
#ifdef _WIN32
                   "note gdi GetDIBits(dc1, obj1, 0, " + std::to_string(height) + ", elements of new1, {40, " +
                       std::to_string(width) + ", " + std::to_string(-height) + ", 1, 32, 0, 0, 0}, 0) = " +
                       std::to_string(height),
#endif
                   "ReleasePrimitiveArrayCritical(new1, 0)"};
    Lines log = jni.takeLog(true);
    Lines deletions;
    if (log.size() > expected.size()) {
        deletions.assign(log.begin() + static_cast<std::ptrdiff_t>(expected.size()), log.end());
        log.resize(expected.size());
        std::sort(deletions.begin(), deletions.end());
    }
    expect_lines("JNI calls", log, expected);
#ifdef _WIN32
    expect_lines("GDI deletions", deletions, "note gdi DeleteDC(dc1)", "note gdi DeleteObject(obj1)");
    platform::takeGdiCalls();
#else
    expect_lines("calls after the pixels", deletions);
#endif
    expect_clean(jni);
}

// The 3 x 2 bitmap, from a 24-bit and a 32-bit bottom-up bitmap: element 0 the top-left pixel,
// 2 the top-right, 3 the bottom-left, 5 the bottom-right; red in bits 16-23, blue in bits 0-7.
SCENARIO("image", threeByTwo, Library::full) {
    standin::load();
    const std::vector<unsigned> pixels{0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0x654321};
    for (int bitsPerPixel : {24, 32}) {
        Context context("%d bits per pixel", bitsPerPixel);
        standin::steerBitmap(3, 2, bitsPerPixel, pixels);
        FakeJni jni;
        jintArray dimensions = jni.intArray("dimensions", {0, 0});
        jintArray result = image(jni, dimensions);
        ok(jni.ints(dimensions) == std::vector<jint>({3, 2}), "dimensions %s\n", intsText(jni.ints(dimensions)).c_str());
        const std::vector<jint> got = jni.ints(result);
        ok(rgbOf(got) == pixels, "pixels differ\n");
        for (std::size_t i = 0; i < got.size() && i < pixels.size(); ++i)
            ok(rgbOf({got[i]})[0] == pixels[i], "pixel %zu is %06X, expected %06X\n", i, rgbOf({got[i]})[0], pixels[i]);
        if (got.size() == 6) {
            ok((got[0] & 0xFF0000) == 0xFF0000 && (got[0] & 0xFFFF) == 0, "red reads as %08X\n", static_cast<unsigned>(got[0]));
            ok((got[2] & 0xFF) == 0xFF && (got[2] & 0xFFFF00) == 0, "blue reads as %08X\n", static_cast<unsigned>(got[2]));
        }
        expect_calls("CreateHBITMAPfromRecordBinaryField(2, 1)");
        expectImageOperations(jni, 3, 2);
    }
    expect_boxes();
}

// Elements beyond the first two keep their values; each call makes a new array and leaves the
// arrays of earlier calls as they were.
SCENARIO("image", dimensionsAndArraysOfTheCaller, Library::full) {
    standin::load();
    FakeJni jni;
    jintArray dimensions = jni.intArray("dimensions", {-1, -1, 111, 222});
    standin::steerBitmap(1, 2, 24, {0x010203, 0x040506});
    jintArray first = image(jni, dimensions);
    ok(jni.ints(dimensions) == std::vector<jint>({1, 2, 111, 222}), "four dimensions became %s\n",
       intsText(jni.ints(dimensions)).c_str());
    standin::steerBitmap(2, 1, 24, {0x0A0B0C, 0x0D0E0F});
    jintArray second = image(jni, dimensions);
    ok(first != second, "the same array twice\n");
    ok(rgbOf(jni.ints(first)) == std::vector<unsigned>({0x010203, 0x040506}), "the first array changed\n");
    ok(rgbOf(jni.ints(second)) == std::vector<unsigned>({0x0A0B0C, 0x0D0E0F}), "the second array is wrong\n");
    ok(jni.ints(dimensions) == std::vector<jint>({2, 1, 111, 222}), "the second call's dimensions\n");
    standin::takeCalls();
#ifdef _WIN32
    platform::takeGdiCalls();
#endif
    expect_clean(jni);
}

// No bitmap: null, no message, the dimensions untouched, nothing called beyond the check of the
// dimensions made before the record library is asked.
SCENARIO("image", noBitmap, Library::full) {
    standin::load();
    standin::steerNoBitmap();
    FakeJni jni;
    jintArray dimensions = jni.intArray("dimensions", {7, 8});
    ok(image(jni, dimensions) == nullptr, "an image without a bitmap\n");
    ok(jni.ints(dimensions) == std::vector<jint>({7, 8}), "the dimensions changed\n");
    expect_calls("CreateHBITMAPfromRecordBinaryField(2, 1)");
    expect_jni(jni, "GetArrayLength(dimensions)");
#ifdef _WIN32
    expect_lines("GDI calls", platform::takeGdiCalls());
#endif
    expect_boxes();
}

SCENARIO("image", twoThousandFortyEightSquare, Library::full) {
    standin::load();
    constexpr int side = 2048;
    std::vector<unsigned> pixels(static_cast<std::size_t>(side) * side);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<unsigned>((i % side) * 2654435761u ^ (i / side) * 40503u) & 0xFFFFFFu;
    standin::steerBitmap(side, side, 24, pixels);
    FakeJni jni;
    jintArray dimensions = jni.intArray("dimensions", {0, 0});
    const std::vector<unsigned> got = rgbOf(jni.ints(image(jni, dimensions)));
    ok(jni.ints(dimensions) == std::vector<jint>({side, side}), "dimensions\n");
    ok(got.size() == pixels.size(), "%zu pixels\n", got.size());
    const auto mismatch = std::mismatch(got.begin(), got.end(), pixels.begin(), pixels.end());
    ok(mismatch.first == got.end(), "pixel %td differs\n", mismatch.first - got.begin());
    standin::takeCalls();
    expectImageOperations(jni, side, side);
}

// Ten thousand image calls leave the process's GDI objects (Windows) or its heap (Linux) where they
// were: the bitmap and the memory DC of each call are deleted.
SCENARIO("image", tenThousandCallsReleaseEverything, Library::full) {
    standin::load();
    standin::steerBitmap(3, 2, 24, {1, 2, 3, 4, 5, 6});
    auto calls = [](int count) {
        for (int i = 0; i < count; ++i) {
            FakeJni jni;
            ok(image(jni, jni.intArray("dimensions", {0, 0})) != nullptr, "call %d gave no image\n", i);
            expect_clean(jni);
#ifdef _WIN32
            if (i % 1000 == 0) platform::takeGdiCalls();
#endif
        }
        standin::takeCalls();
    };
    // Enough calls first for the stand-in's call log to reach its full length.
    calls(5000);
#ifdef _WIN32
    platform::takeGdiCalls();
    const int before = platform::liveGdiObjects();
    calls(10000);
    const int after = platform::liveGdiObjects();
    ok(before > 0 && after == before, "GDI objects: %d before, %d after 10000 calls\n", before, after);
#else
    const std::size_t before = platform::heapBytesInUse();
    calls(10000);
    const std::size_t after = platform::heapBytesInUse();
    // A DC or a bitmap left behind by each call would be at least 400 KB here.
    ok(after < before + 64 * 1024, "heap grew by %td bytes over 10000 calls\n",
       static_cast<std::ptrdiff_t>(after) - static_cast<std::ptrdiff_t>(before));
#endif
    expect_boxes();
}

}  // namespace
}  // namespace nt
