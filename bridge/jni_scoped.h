// JNI resources held by small scoped types: each releases, on every path, only what it acquired.
// A constructor that cannot acquire (a null argument, a byte count outside the array, a failed JNI
// operation) leaves a Java exception pending and get() null; the caller's idiom is
//     ScopedUtfChars path(env, jpath);
//     if (!path.get()) return {};
#pragma once

#include <jni.h>

namespace velmora {

void throwNullPointer(JNIEnv* env, const char* message);
void throwOutOfBounds(JNIEnv* env, const char* message);
void throwOutOfMemory(JNIEnv* env, const char* message);

// For a JNI operation that gave nothing. HotSpot's copies (GetStringUTFChars, Get<Type>ArrayElements)
// return null with no exception pending when the native heap cannot hold them, and a null with
// nothing pending would reach Java as a plain result: the VM's own exception stays, or else an
// OutOfMemoryError says what could not be had.
void throwNotObtained(JNIEnv* env, const char* what);

class ScopedUtfChars {
public:
    ScopedUtfChars(JNIEnv* env, jstring string) : env_(env), string_(string) {
        if (!string) {
            throwNullPointer(env, "String argument is null");
            return;
        }
        chars_ = env->GetStringUTFChars(string, nullptr);
        if (!chars_) throwNotObtained(env, "cannot get the chars of a String argument");
    }
    ~ScopedUtfChars() {
        if (chars_) env_->ReleaseStringUTFChars(string_, chars_);
    }
    ScopedUtfChars(const ScopedUtfChars&) = delete;
    ScopedUtfChars& operator=(const ScopedUtfChars&) = delete;

    const char* get() const { return chars_; }

private:
    JNIEnv* env_;
    jstring string_;
    const char* chars_ = nullptr;
};

// The elements of a caller's byte array, for reading during one call; released with JNI_ABORT.
class ScopedByteArrayRO {
public:
    // byteCount is the number of bytes the caller says the array holds: it must lie within the array.
    ScopedByteArrayRO(JNIEnv* env, jbyteArray array, jint byteCount) : env_(env), array_(array) {
        if (!array) {
            throwNullPointer(env, "byte array argument is null");
            return;
        }
        if (byteCount < 0 || byteCount > env->GetArrayLength(array)) {
            throwOutOfBounds(env, "byte count lies outside the byte array");
            return;
        }
        jboolean isCopy = JNI_FALSE;
        elements_ = env->GetByteArrayElements(array, &isCopy);
        if (!elements_) throwNotObtained(env, "cannot get the elements of a byte array argument");
    }
    ~ScopedByteArrayRO() {
        if (elements_) env_->ReleaseByteArrayElements(array_, elements_, JNI_ABORT);
    }
    ScopedByteArrayRO(const ScopedByteArrayRO&) = delete;
    ScopedByteArrayRO& operator=(const ScopedByteArrayRO&) = delete;

    const unsigned char* get() const { return reinterpret_cast<const unsigned char*>(elements_); }

private:
    JNIEnv* env_;
    jbyteArray array_;
    jbyte* elements_ = nullptr;
};

// The elements of a byte array the bridge fills; released with mode 0, which copies them back.
class ScopedByteArrayRW {
public:
    ScopedByteArrayRW(JNIEnv* env, jbyteArray array)
        : env_(env), array_(array), elements_(env->GetByteArrayElements(array, nullptr)) {
        if (!elements_) throwNotObtained(env, "cannot get the elements of the new byte array");
    }
    ~ScopedByteArrayRW() {
        if (elements_) env_->ReleaseByteArrayElements(array_, elements_, 0);
    }
    ScopedByteArrayRW(const ScopedByteArrayRW&) = delete;
    ScopedByteArrayRW& operator=(const ScopedByteArrayRW&) = delete;

    unsigned char* get() const { return reinterpret_cast<unsigned char*>(elements_); }

private:
    JNIEnv* env_;
    jbyteArray array_;
    jbyte* elements_;
};

// Critical access to an int array; released with mode 0. No JNI call may be made while it is held.
// `what` names the array in the OutOfMemoryError when its elements cannot be had.
class ScopedCriticalIntArray {
public:
    ScopedCriticalIntArray(JNIEnv* env, jintArray array, const char* what) : env_(env), array_(array) {
        jboolean isCopy = JNI_FALSE;
        elements_ = static_cast<jint*>(env->GetPrimitiveArrayCritical(array, &isCopy));
        if (!elements_) throwNotObtained(env, what);
    }
    ~ScopedCriticalIntArray() {
        if (elements_) env_->ReleasePrimitiveArrayCritical(array_, elements_, 0);
    }
    ScopedCriticalIntArray(const ScopedCriticalIntArray&) = delete;
    ScopedCriticalIntArray& operator=(const ScopedCriticalIntArray&) = delete;

    jint* get() const { return elements_; }

private:
    JNIEnv* env_;
    jintArray array_;
    jint* elements_ = nullptr;
};

}  // namespace velmora
