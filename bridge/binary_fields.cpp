// A binary field as a new byte array, with its size.
#include "conversions.h"
#include "corvelle_Velmora.h"

using namespace velmora;

JNIEXPORT jbyteArray JNICALL Java_corvelle_Velmora_ReadRecordBinaryField(JNIEnv* env, jclass, jint recordType,
                                                                         jint record) {
    auto readRecordBinaryField = frame<function::ReadRecordBinaryField>();
    if (!readRecordBinaryField) return {};
    return byteArrayResult<function::ReadSizeOfRecordBinaryField>(env, readRecordBinaryField, recordType, record);
}

JNIEXPORT jint JNICALL Java_corvelle_Velmora_ReadSizeOfRecordBinaryField(JNIEnv*, jclass, jint recordType,
                                                                         jint record) {
    auto readSizeOfRecordBinaryField = frame<function::ReadSizeOfRecordBinaryField>();
    if (!readSizeOfRecordBinaryField) return {};
    return readSizeOfRecordBinaryField(recordType, record);
}
