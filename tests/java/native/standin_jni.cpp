// JNI side of corvelle.testing.Standin: the stand-in's steering API for Java tests.
//
// The steering functions are found in the very library the bridge loads: libVelmora64.so opened by the
// same bare name and the same loader search, so both handles name one instance. Nothing is linked
// against the stand-in, because a child JVM may start with no stand-in on the search path at all; the
// library is opened on first use, and a failed open is tried again on the next call.
#include <dlfcn.h>
#include <jni.h>

#include <atomic>
#include <cstdint>
#include <mutex>

#include "corvelle_testing_Standin.h"
#include "corvelle_testing_JniCanary.h"
#include "standin_control.h"

namespace {

constexpr const char* libraryName = "libVelmora64.so";

struct Control {
    decltype(&StandinReset) reset;
    decltype(&StandinSteerInt) steerInt;
    decltype(&StandinSteerString) steerString;
    decltype(&StandinSteerBytes) steerBytes;
    decltype(&StandinSteerBitmap) steerBitmap;
    decltype(&StandinSteerNotABitmap) steerNotABitmap;
    decltype(&StandinSetLastError) setLastError;
    decltype(&StandinCallLog) callLog;
    decltype(&StandinClearCallLog) clearCallLog;
};

std::mutex openMutex;
std::atomic<const Control*> control{nullptr};

template <class F>
bool lookUp(void* library, const char* name, F& out) {
    out = reinterpret_cast<F>(dlsym(library, name));
    return out != nullptr;
}

void throwNew(JNIEnv* env, const char* className, const char* message) {
    if (jclass type = env->FindClass(className)) env->ThrowNew(type, message);
}

// The steering functions, or null with IllegalStateException pending when the stand-in is absent.
const Control* steering(JNIEnv* env) {
    if (const Control* found = control.load(std::memory_order_acquire)) return found;
    std::lock_guard<std::mutex> lock(openMutex);
    static Control table;
    if (control.load(std::memory_order_relaxed)) return &table;
    void* library = dlopen(libraryName, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        throwNew(env, "java/lang/IllegalStateException", "libVelmora64.so is not on the library search path");
        return nullptr;
    }
    Control& c = table;
    if (!lookUp(library, "StandinReset", c.reset) || !lookUp(library, "StandinSteerInt", c.steerInt) ||
        !lookUp(library, "StandinSteerString", c.steerString) || !lookUp(library, "StandinSteerBytes", c.steerBytes) ||
        !lookUp(library, "StandinSteerBitmap", c.steerBitmap) ||
        !lookUp(library, "StandinSteerNotABitmap", c.steerNotABitmap) ||
        !lookUp(library, "StandinSetLastError", c.setLastError) || !lookUp(library, "StandinCallLog", c.callLog) ||
        !lookUp(library, "StandinClearCallLog", c.clearCallLog)) {
        throwNew(env, "java/lang/IllegalStateException", "libVelmora64.so lacks the steering functions");
        return nullptr;
    }
    control.store(&table, std::memory_order_release);
    return &table;
}

class Utf {
public:
    Utf(JNIEnv* env, jstring s) : env_(env), s_(s), chars_(s ? env->GetStringUTFChars(s, nullptr) : nullptr) {
        if (!s) throwNew(env, "java/lang/NullPointerException", "String argument is null");
    }
    ~Utf() {
        if (chars_) env_->ReleaseStringUTFChars(s_, chars_);
    }
    Utf(const Utf&) = delete;
    Utf& operator=(const Utf&) = delete;
    const char* get() const { return chars_; }

private:
    JNIEnv* env_;
    jstring s_;
    const char* chars_;
};

// Steers a string or bytes function with the array's bytes, or with a null pointer for a null array.
void steerWithBytes(JNIEnv* env, jstring jfunction, jbyteArray jbytes, bool asBytes) {
    const Control* c = steering(env);
    if (!c) return;
    Utf function(env, jfunction);
    if (!function.get()) return;
    if (!jbytes) {
        asBytes ? c->steerBytes(function.get(), nullptr, 0) : c->steerString(function.get(), nullptr, 0);
        return;
    }
    const jsize length = env->GetArrayLength(jbytes);
    jbyte* bytes = env->GetByteArrayElements(jbytes, nullptr);
    if (!bytes) return;
    if (asBytes)
        c->steerBytes(function.get(), reinterpret_cast<const unsigned char*>(bytes), length);
    else
        c->steerString(function.get(), reinterpret_cast<const char*>(bytes), length);
    env->ReleaseByteArrayElements(jbytes, bytes, JNI_ABORT);
}

}  // namespace

extern "C" {

JNIEXPORT jboolean JNICALL Java_corvelle_testing_Standin_isLoaded(JNIEnv*, jclass) {
    void* library = dlopen(libraryName, RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
    if (!library) return JNI_FALSE;
    dlclose(library);  // only drops the reference NOLOAD took
    return JNI_TRUE;
}

JNIEXPORT void JNICALL Java_corvelle_testing_Standin_reset(JNIEnv* env, jclass) {
    if (const Control* c = steering(env)) c->reset();
}

JNIEXPORT void JNICALL Java_corvelle_testing_Standin_steerInt(JNIEnv* env, jclass, jstring jfunction, jint result) {
    const Control* c = steering(env);
    if (!c) return;
    Utf function(env, jfunction);
    if (function.get()) c->steerInt(function.get(), result);
}

JNIEXPORT void JNICALL Java_corvelle_testing_Standin_steerString(JNIEnv* env, jclass, jstring jfunction,
                                                                 jbyteArray jbytes) {
    steerWithBytes(env, jfunction, jbytes, false);
}

JNIEXPORT void JNICALL Java_corvelle_testing_Standin_steerBytes(JNIEnv* env, jclass, jstring jfunction,
                                                                jbyteArray jbytes) {
    steerWithBytes(env, jfunction, jbytes, true);
}

JNIEXPORT void JNICALL Java_corvelle_testing_Standin_steerBitmap(JNIEnv* env, jclass, jint width, jint height,
                                                                 jint bitsPerPixel, jintArray jpixels) {
    const Control* c = steering(env);
    if (!c) return;
    if (!jpixels) {
        c->steerBitmap(width, height, bitsPerPixel, nullptr);
        return;
    }
    // The stand-in copies width x height pixels: refuse what would make it read outside the array.
    const std::int64_t count = static_cast<std::int64_t>(width) * height;
    if (width < 0 || height < 0 || count > env->GetArrayLength(jpixels)) {
        throwNew(env, "java/lang/IllegalArgumentException", "pixels must hold width x height elements");
        return;
    }
    jint* pixels = env->GetIntArrayElements(jpixels, nullptr);
    if (!pixels) return;
    c->steerBitmap(width, height, bitsPerPixel, reinterpret_cast<const unsigned int*>(pixels));
    env->ReleaseIntArrayElements(jpixels, pixels, JNI_ABORT);
}

JNIEXPORT void JNICALL Java_corvelle_testing_Standin_steerNotABitmap(JNIEnv* env, jclass) {
    if (const Control* c = steering(env)) c->steerNotABitmap();
}

JNIEXPORT void JNICALL Java_corvelle_testing_Standin_setLastError(JNIEnv* env, jclass, jstring jmessage) {
    const Control* c = steering(env);
    if (!c) return;
    Utf message(env, jmessage);
    if (message.get()) c->setLastError(message.get());
}

JNIEXPORT jstring JNICALL Java_corvelle_testing_Standin_callLog(JNIEnv* env, jclass) {
    const Control* c = steering(env);
    // The log escapes every byte outside printable ASCII, so it is valid modified UTF-8 as it stands.
    return c ? env->NewStringUTF(c->callLog()) : nullptr;
}

JNIEXPORT void JNICALL Java_corvelle_testing_Standin_clearCallLog(JNIEnv* env, jclass) {
    if (const Control* c = steering(env)) c->clearCallLog();
}

// Makes each of the two faults that -Xcheck:jni reports, so a test can see that the report is caught.
JNIEXPORT void JNICALL Java_corvelle_testing_JniCanary_callWithExceptionPending(JNIEnv* env, jclass) {
    throwNew(env, "java/lang/IllegalStateException", "canary");
    env->NewStringUTF("made with an exception pending");
}

JNIEXPORT void JNICALL Java_corvelle_testing_JniCanary_callInsideCriticalRegion(JNIEnv* env, jclass) {
    jintArray array = env->NewIntArray(1);
    if (!array) return;
    void* elements = env->GetPrimitiveArrayCritical(array, nullptr);
    env->NewIntArray(1);
    if (elements) env->ReleasePrimitiveArrayCritical(array, elements, 0);
}

}  // extern "C"
