// Results of the record library turned into Java values. Arguments are turned the other way by the
// scoped types of jni_scoped.h; ints pass both ways as the same 32 bits, with no conversion at all.
#pragma once

#include <jni.h>

#include <cstring>

#include "binding.h"
#include "jni_scoped.h"

namespace velmora {

// A new Java String from the record library's null-terminated bytes; null for a null pointer.
// Valid modified UTF-8 goes to NewStringUTF as it is. Other bytes would be silently mangled there, so
// they are decoded here: a standard 4-byte UTF-8 sequence becomes its surrogate pair, and every other
// byte that is not part of a valid sequence becomes U+FFFD. No byte after the terminator is read.
// Null with an exception pending when the String cannot be made.
jstring stringResult(JNIEnv* env, const char* bytes);

// A new Java byte array from a size function and a read function that take the same arguments.
// Size is the size function's descriptor, found through its own cache entry and lookup message;
// read is the native method's own function, already found by its frame. The size is asked first,
// both are called even when it is 0, and exactly that many bytes are copied. Null when the size
// function cannot be found, when the size is negative or the buffer null with a size above 0, and
// with an exception pending when the Java array or its elements cannot be had.
template <class Size, class Read, class... Arguments>
jbyteArray byteArrayResult(JNIEnv* env, Read read, Arguments... arguments) {
    typename Size::type size = find<Size>();
    if (!size) return nullptr;
    const jint n = size(arguments...);
    const unsigned char* bytes = read(arguments...);
    if (n < 0 || (n > 0 && !bytes)) return nullptr;

    jbyteArray array = env->NewByteArray(n);
    if (!array) {
        throwNotObtained(env, "cannot make the new byte array");
        return nullptr;
    }
    ScopedByteArrayRW elements(env, array);
    if (!elements.get()) return nullptr;
    if (n > 0) std::memcpy(elements.get(), bytes, static_cast<std::size_t>(n));
    return array;
}

}  // namespace velmora
