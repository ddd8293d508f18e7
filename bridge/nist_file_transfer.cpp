// Whole NIST files: created, read from a file or from memory, written to a file, taken out as bytes.
#include "conversions.h"
#include "corvelle_Velmora.h"

using namespace velmora;

JNIEXPORT jint JNICALL Java_corvelle_Velmora_CreateNewNISTFile(JNIEnv*, jclass) {
    auto createNewNISTFile = frame<function::CreateNewNISTFile>();
    if (!createNewNISTFile) return {};
    return createNewNISTFile();
}

JNIEXPORT jint JNICALL Java_corvelle_Velmora_WriteNISTToFile(JNIEnv* env, jclass, jstring jpath) {
    auto writeNISTToFile = frame<function::WriteNISTToFile>();
    if (!writeNISTToFile) return {};
    ScopedUtfChars path(env, jpath);
    if (!path.get()) return {};
    return writeNISTToFile(path.get());
}

JNIEXPORT jint JNICALL Java_corvelle_Velmora_ReadNISTFromFile(JNIEnv* env, jclass, jstring jpath) {
    auto readNISTFromFile = frame<function::ReadNISTFromFile>();
    if (!readNISTFromFile) return {};
    ScopedUtfChars path(env, jpath);
    if (!path.get()) return {};
    return readNISTFromFile(path.get());
}

JNIEXPORT jint JNICALL Java_corvelle_Velmora_ReadNISTFromMemory(JNIEnv* env, jclass, jbyteArray jdata,
                                                                jint length) {
    auto readNISTFromMemory = frame<function::ReadNISTFromMemory>();
    if (!readNISTFromMemory) return {};
    ScopedByteArrayRO data(env, jdata, length);
    if (!data.get()) return {};
    return readNISTFromMemory(data.get(), length);
}

JNIEXPORT jint JNICALL Java_corvelle_Velmora_ReadSizeOfNISTByteArray(JNIEnv*, jclass) {
    auto readSizeOfNISTByteArray = frame<function::ReadSizeOfNISTByteArray>();
    if (!readSizeOfNISTByteArray) return {};
    return readSizeOfNISTByteArray();
}

JNIEXPORT jbyteArray JNICALL Java_corvelle_Velmora_ReadNISTByteArray(JNIEnv* env, jclass) {
    auto readNISTByteArray = frame<function::ReadNISTByteArray>();
    if (!readNISTByteArray) return {};
    return byteArrayResult<function::ReadSizeOfNISTByteArray>(env, readNISTByteArray);
}
