// The natives that the bridge is measured against (Baseline.java). Each does the JNI operations and
// the record-library calls that its counterpart in the bridge does, without the bridge's frame and
// checks, or less, to show a floor. The record library is reached through the bench's own pointers,
// looked up in the instance the bridge uses as well.
#include <dlfcn.h>

#include <cstring>
#include <string>
#include <vector>

#include "Baseline.h"
#include "platform/windows_api.h"

namespace {

struct RecordLibrary {
#define VELMORA_FUNCTION(Result, Name, Parameters) Result(*Name) Parameters = nullptr;
#include "record_library_functions.h"
    void (*StandinReset)() = nullptr;
    void (*StandinSteerInt)(const char*, int) = nullptr;
    void (*StandinSteerString)(const char*, const char*, int) = nullptr;
    void (*StandinSteerBytes)(const char*, const unsigned char*, int) = nullptr;
    void (*StandinSteerBitmap)(int, int, int, const unsigned int*) = nullptr;
} library;

template <class F>
void lookUp(void* handle, F& entry, const char* name, std::string& missing) {
    entry = reinterpret_cast<F>(dlsym(handle, name));
    if (!entry) missing += std::string(missing.empty() ? "" : ", ") + name;
}

// Keeps the compiler from dropping a copy that nothing reads.
void keep(const void* p) { asm volatile("" : : "r"(p) : "memory"); }

// A native buffer kept from call to call and touched when it grows, as the JVM's heap is touched in
// advance: the floors pay for the copy, not for the page faults of a fresh allocation.
void* scratch(std::size_t size) {
    static thread_local std::vector<unsigned char> buffer;
    if (buffer.size() < size) buffer.resize(size);
    return buffer.data();
}

// Only what the benchmark calls must be there; the lean record library has no more.
#define LOOK_UP(name) lookUp(handle, library.name, #name, missing)

class Utf {
public:
    Utf(JNIEnv* env, jstring string) : env_(env), string_(string), chars_(env->GetStringUTFChars(string, nullptr)) {}
    ~Utf() { env_->ReleaseStringUTFChars(string_, chars_); }
    const char* get() const { return chars_; }

private:
    JNIEnv* env_;
    jstring string_;
    const char* chars_;
};

}  // namespace

JNIEXPORT jstring JNICALL Java_Baseline_open(JNIEnv* env, jclass) {
    void* handle = dlopen("libVelmora64.so", RTLD_NOW | RTLD_LOCAL);
    if (!handle) return env->NewStringUTF(dlerror());
    std::string missing;
    LOOK_UP(ReadNumberOfRecords);
    LOOK_UP(ReadRecordTxtField);
    LOOK_UP(ReadSizeOfNISTByteArray);
    LOOK_UP(ReadNISTByteArray);
    LOOK_UP(CreateHBITMAPfromRecordBinaryField);
    LOOK_UP(StandinReset);
    LOOK_UP(StandinSteerInt);
    LOOK_UP(StandinSteerString);
    LOOK_UP(StandinSteerBytes);
    LOOK_UP(StandinSteerBitmap);
    return missing.empty() ? nullptr : env->NewStringUTF(("missing: " + missing).c_str());
}

JNIEXPORT void JNICALL Java_Baseline_reset(JNIEnv*, jclass) { library.StandinReset(); }

JNIEXPORT void JNICALL Java_Baseline_steerInt(JNIEnv* env, jclass, jstring function, jint result) {
    library.StandinSteerInt(Utf(env, function).get(), result);
}

JNIEXPORT void JNICALL Java_Baseline_steerString(JNIEnv* env, jclass, jstring function, jbyteArray bytes) {
    jbyte* elements = env->GetByteArrayElements(bytes, nullptr);
    library.StandinSteerString(Utf(env, function).get(), reinterpret_cast<const char*>(elements),
                               env->GetArrayLength(bytes));
    env->ReleaseByteArrayElements(bytes, elements, JNI_ABORT);
}

JNIEXPORT void JNICALL Java_Baseline_steerBytes(JNIEnv* env, jclass, jstring function, jbyteArray bytes) {
    jbyte* elements = env->GetByteArrayElements(bytes, nullptr);
    library.StandinSteerBytes(Utf(env, function).get(), reinterpret_cast<const unsigned char*>(elements),
                              env->GetArrayLength(bytes));
    env->ReleaseByteArrayElements(bytes, elements, JNI_ABORT);
}

JNIEXPORT void JNICALL Java_Baseline_steerBitmap(JNIEnv* env, jclass, jint width, jint height, jint bitsPerPixel,
                                                 jintArray pixels) {
    jint* elements = env->GetIntArrayElements(pixels, nullptr);
    library.StandinSteerBitmap(width, height, bitsPerPixel, reinterpret_cast<const unsigned int*>(elements));
    env->ReleaseIntArrayElements(pixels, elements, JNI_ABORT);
}

JNIEXPORT jint JNICALL Java_Baseline_empty(JNIEnv*, jclass, jint value) { return value; }

JNIEXPORT jint JNICALL Java_Baseline_readNumberOfRecords(JNIEnv*, jclass, jint recordType) {
    return library.ReadNumberOfRecords(recordType);
}

// The bridge's order: chars, call, new String, release.
JNIEXPORT jstring JNICALL Java_Baseline_readRecordTxtField(JNIEnv* env, jclass, jint recordType, jint record,
                                                           jint field, jstring item) {
    Utf chars(env, item);
    return env->NewStringUTF(library.ReadRecordTxtField(recordType, record, field, chars.get()));
}

JNIEXPORT jbyteArray JNICALL Java_Baseline_readNISTByteArray(JNIEnv* env, jclass) {
    const jint n = library.ReadSizeOfNISTByteArray();
    const unsigned char* bytes = library.ReadNISTByteArray();
    jbyteArray array = env->NewByteArray(n);
    jbyte* elements = env->GetByteArrayElements(array, nullptr);
    std::memcpy(elements, bytes, static_cast<std::size_t>(n));
    env->ReleaseByteArrayElements(array, elements, 0);
    return array;
}

JNIEXPORT jbyteArray JNICALL Java_Baseline_readNISTByteArraySetRegion(JNIEnv* env, jclass) {
    const jint n = library.ReadSizeOfNISTByteArray();
    const unsigned char* bytes = library.ReadNISTByteArray();
    jbyteArray array = env->NewByteArray(n);
    env->SetByteArrayRegion(array, 0, n, reinterpret_cast<const jbyte*>(bytes));
    return array;
}

JNIEXPORT jbyteArray JNICALL Java_Baseline_readNISTByteArrayCritical(JNIEnv* env, jclass) {
    const jint n = library.ReadSizeOfNISTByteArray();
    const unsigned char* bytes = library.ReadNISTByteArray();
    jbyteArray array = env->NewByteArray(n);
    void* elements = env->GetPrimitiveArrayCritical(array, nullptr);
    std::memcpy(elements, bytes, static_cast<std::size_t>(n));
    env->ReleasePrimitiveArrayCritical(array, elements, 0);
    return array;
}

JNIEXPORT jint JNICALL Java_Baseline_readNISTByteArrayIntoNative(JNIEnv*, jclass) {
    const jint n = library.ReadSizeOfNISTByteArray();
    const unsigned char* bytes = library.ReadNISTByteArray();
    auto* copy = static_cast<unsigned char*>(scratch(static_cast<std::size_t>(n)));
    std::memcpy(copy, bytes, static_cast<std::size_t>(n));
    keep(copy);
    return n > 0 ? copy[n - 1] : 0;
}

namespace {

BITMAPINFO topDownRequest(const BITMAP& description) {
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    request.bmiHeader.biWidth = description.bmWidth;
    request.bmiHeader.biHeight = -description.bmHeight;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    return request;
}

}  // namespace

JNIEXPORT jintArray JNICALL Java_Baseline_readBitmapIntoIntArray(JNIEnv* env, jclass, jintArray jdimensions,
                                                                 jint recordType, jint record) {
    HBITMAP bitmap = library.CreateHBITMAPfromRecordBinaryField(recordType, record);
    BITMAP description{};
    GetObject(bitmap, sizeof description, &description);
    auto* dimensions = static_cast<jint*>(env->GetPrimitiveArrayCritical(jdimensions, nullptr));
    dimensions[0] = description.bmWidth;
    dimensions[1] = description.bmHeight;
    env->ReleasePrimitiveArrayCritical(jdimensions, dimensions, 0);
    BITMAPINFO request = topDownRequest(description);
    HDC dc = CreateCompatibleDC(nullptr);
    jintArray jpixels = env->NewIntArray(description.bmWidth * description.bmHeight);
    void* pixels = env->GetPrimitiveArrayCritical(jpixels, nullptr);
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(description.bmHeight), pixels, &request, DIB_RGB_COLORS);
    env->ReleasePrimitiveArrayCritical(jpixels, pixels, 0);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return jpixels;
}

JNIEXPORT jintArray JNICALL Java_Baseline_newIntArray(JNIEnv* env, jclass, jint length) {
    return env->NewIntArray(length);
}

JNIEXPORT jint JNICALL Java_Baseline_readBitmapIntoNative(JNIEnv*, jclass, jint recordType, jint record) {
    HBITMAP bitmap = library.CreateHBITMAPfromRecordBinaryField(recordType, record);
    BITMAP description{};
    GetObject(bitmap, sizeof description, &description);
    BITMAPINFO request = topDownRequest(description);
    const std::size_t count = static_cast<std::size_t>(description.bmWidth) * description.bmHeight;
    auto* pixels = static_cast<unsigned int*>(scratch(count * 4));
    HDC dc = CreateCompatibleDC(nullptr);
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(description.bmHeight), pixels, &request, DIB_RGB_COLORS);
    DeleteDC(dc);
    DeleteObject(bitmap);
    keep(pixels);
    return count > 0 ? static_cast<jint>(pixels[count - 1]) : 0;
}
