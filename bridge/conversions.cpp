#include "conversions.h"

#include <cstdint>
#include <cstdlib>

namespace velmora {

namespace {

void throwNew(JNIEnv* env, const char* className, const char* message) {
    // When the class cannot be found, FindClass has left its own exception pending.
    if (jclass type = env->FindClass(className)) env->ThrowNew(type, message);
}

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the valid modified UTF-8 sequence at p, or 0 when none starts there. Modified UTF-8
// writes U+0000 as C0 80 and each surrogate of a pair as its own 3-byte sequence; it has no 4-byte
// form, and a zero byte only ends the string.
std::size_t modifiedSequence(const unsigned char* p, char16_t* unit) {
    const unsigned char lead = p[0];
    if (lead >= 0x01 && lead < 0x80) {
        *unit = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0 && isContinuation(p[1])) {
        const char16_t value = static_cast<char16_t>(((lead & 0x1F) << 6) | (p[1] & 0x3F));
        if (value != 0 && value < 0x80) return 0;  // overlong, except the encoding of U+0000
        *unit = value;
        return 2;
    }
    if ((lead & 0xF0) == 0xE0 && isContinuation(p[1]) && isContinuation(p[2])) {
        const char16_t value =
            static_cast<char16_t>(((lead & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
        if (value < 0x800) return 0;  // overlong
        *unit = value;
        return 3;
    }
    return 0;
}

// The code point of a standard UTF-8 4-byte sequence at p, or 0 when there is none.
char32_t standardFourByteSequence(const unsigned char* p) {
    if ((p[0] & 0xF8) != 0xF0 || !isContinuation(p[1]) || !isContinuation(p[2]) || !isContinuation(p[3]))
        return 0;
    const char32_t value = (static_cast<char32_t>(p[0] & 0x07) << 18) | ((p[1] & 0x3F) << 12) |
                           ((p[2] & 0x3F) << 6) | (p[3] & 0x3F);
    return value >= 0x10000 && value <= 0x10FFFF ? value : 0;
}

// Whether all n bytes are below 0x80, which makes them valid modified UTF-8 as they stand. Pure
// ASCII is the common case, so it is checked eight bytes at a time; only the string's own bytes are
// read, the same in every build.
bool isAscii(const unsigned char* p, std::size_t n) {
    constexpr std::uint64_t highs = 0x8080808080808080u;
    std::size_t i = 0;
    for (; n - i >= 8; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, sizeof word);
        if (word & highs) return false;
    }
    for (; i < n; ++i)
        if (p[i] & 0x80) return false;
    return true;
}

// A sequence ends at the first byte that is not a continuation, so no check reads past the terminator.
bool isModifiedUtf8(const unsigned char* p) {
    char16_t unit;
    while (*p) {
        const std::size_t length = modifiedSequence(p, &unit);
        if (!length) return false;
        p += length;
    }
    return true;
}

// Decodes the n bytes (not valid modified UTF-8) into a String of UTF-16 units.
jstring decodedString(JNIEnv* env, const unsigned char* p, std::size_t n) {
    // No sequence gives more units than it has bytes.
    auto* units = static_cast<jchar*>(std::malloc(n * sizeof(jchar)));
    if (!units) {
        throwOutOfMemory(env, "cannot allocate the buffer to decode the record library's string");
        return nullptr;
    }
    std::size_t count = 0;
    while (*p) {
        char16_t unit;
        if (const std::size_t length = modifiedSequence(p, &unit)) {
            units[count++] = unit;
            p += length;
        } else if (const char32_t c = standardFourByteSequence(p)) {
            units[count++] = static_cast<jchar>(0xD800 + ((c - 0x10000) >> 10));
            units[count++] = static_cast<jchar>(0xDC00 + ((c - 0x10000) & 0x3FF));
            p += 4;
        } else {
            units[count++] = 0xFFFD;
            p += 1;
        }
    }
    jstring string = env->NewString(units, static_cast<jsize>(count));
    std::free(units);
    if (!string) throwNotObtained(env, "cannot make the String result");
    return string;
}

}  // namespace

void throwNullPointer(JNIEnv* env, const char* message) {
    throwNew(env, "java/lang/NullPointerException", message);
}

void throwOutOfBounds(JNIEnv* env, const char* message) {
    throwNew(env, "java/lang/ArrayIndexOutOfBoundsException", message);
}

void throwOutOfMemory(JNIEnv* env, const char* message) {
    throwNew(env, "java/lang/OutOfMemoryError", message);
}

void throwNotObtained(JNIEnv* env, const char* what) {
    if (!env->ExceptionCheck()) throwOutOfMemory(env, what);
}

jstring stringResult(JNIEnv* env, const char* bytes) {
    if (!bytes) return nullptr;
    const std::size_t n = std::strlen(bytes);
    // The VM counts a String's bytes and units in 32-bit ints.
    if (n > static_cast<std::size_t>(INT32_MAX)) {
        throwOutOfMemory(env, "the record library's string is too long for a Java String");
        return nullptr;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    if (!isAscii(p, n) && !isModifiedUtf8(p)) return decodedString(env, p, n);
    jstring string = env->NewStringUTF(bytes);
    if (!string) throwNotObtained(env, "cannot make the String result");
    return string;
}

}  // namespace velmora
