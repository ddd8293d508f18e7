// Changes to the current NIST file: binary fields and text fields inserted, records deleted.
#include "conversions.h"
#include "corvelle_Velmora.h"

using namespace velmora;

JNIEXPORT jint JNICALL Java_corvelle_Velmora_InsertRecordBinaryFieldFromFile(JNIEnv* env, jclass, jint recordType,
                                                                             jint record, jstring jpath) {
    auto insertRecordBinaryFieldFromFile = frame<function::InsertRecordBinaryFieldFromFile>();
    if (!insertRecordBinaryFieldFromFile) return {};
    ScopedUtfChars path(env, jpath);
    if (!path.get()) return {};
    return insertRecordBinaryFieldFromFile(recordType, record, path.get());
}

// The String is converted before the array, though the array comes first among the arguments;
// length is the byte count of data and must lie within it.
JNIEXPORT jint JNICALL Java_corvelle_Velmora_InsertRecordBinaryFieldFromMemory(
    JNIEnv* env, jclass, jint recordType, jint record, jbyteArray jdata, jint length, jstring jformat,
    jint width, jint height, jint depth) {
    auto insertRecordBinaryFieldFromMemory = frame<function::InsertRecordBinaryFieldFromMemory>();
    if (!insertRecordBinaryFieldFromMemory) return {};
    ScopedUtfChars format(env, jformat);
    if (!format.get()) return {};
    ScopedByteArrayRO data(env, jdata, length);
    if (!data.get()) return {};
    return insertRecordBinaryFieldFromMemory(recordType, record, data.get(), length, format.get(), width, height,
                                             depth);
}

JNIEXPORT jint JNICALL Java_corvelle_Velmora_InsertRecordTxtField(JNIEnv* env, jclass, jint recordType,
                                                                  jint record, jint field, jstring jitem,
                                                                  jstring jvalue) {
    auto insertRecordTxtField = frame<function::InsertRecordTxtField>();
    if (!insertRecordTxtField) return {};
    ScopedUtfChars item(env, jitem);
    if (!item.get()) return {};
    ScopedUtfChars value(env, jvalue);
    if (!value.get()) return {};
    return insertRecordTxtField(recordType, record, field, item.get(), value.get());
}

JNIEXPORT jint JNICALL Java_corvelle_Velmora_DeleteRecord(JNIEnv*, jclass, jint recordType, jint record) {
    auto deleteRecord = frame<function::DeleteRecord>();
    if (!deleteRecord) return {};
    return deleteRecord(recordType, record);
}
