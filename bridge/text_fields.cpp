// Text fields, their names and descriptions, and a record's exported text fields, with their sizes.
// No String method calls its size twin: a String's length is where its bytes end.
#include "conversions.h"
#include "corvelle_Velmora.h"

using namespace velmora;

JNIEXPORT jstring JNICALL Java_corvelle_Velmora_ReadRecordTxtField(JNIEnv* env, jclass, jint recordType,
                                                                   jint record, jint field, jstring jitem) {
    auto readRecordTxtField = frame<function::ReadRecordTxtField>();
    if (!readRecordTxtField) return {};
    ScopedUtfChars item(env, jitem);
    if (!item.get()) return {};
    return stringResult(env, readRecordTxtField(recordType, record, field, item.get()));
}

JNIEXPORT jint JNICALL Java_corvelle_Velmora_ReadSizeOfRecordTxtField(JNIEnv* env, jclass, jint recordType,
                                                                      jint record, jint field, jstring jitem) {
    auto readSizeOfRecordTxtField = frame<function::ReadSizeOfRecordTxtField>();
    if (!readSizeOfRecordTxtField) return {};
    ScopedUtfChars item(env, jitem);
    if (!item.get()) return {};
    return readSizeOfRecordTxtField(recordType, record, field, item.get());
}

// Unlike its size twin, the name takes no String.
JNIEXPORT jstring JNICALL Java_corvelle_Velmora_ReadRecordTxtFieldName(JNIEnv* env, jclass, jint recordType,
                                                                       jint record, jint field) {
    auto readRecordTxtFieldName = frame<function::ReadRecordTxtFieldName>();
    if (!readRecordTxtFieldName) return {};
    return stringResult(env, readRecordTxtFieldName(recordType, record, field));
}

JNIEXPORT jint JNICALL Java_corvelle_Velmora_ReadSizeOfRecordTxtFieldName(JNIEnv* env, jclass, jint recordType,
                                                                          jint record, jint field, jstring jitem) {
    auto readSizeOfRecordTxtFieldName = frame<function::ReadSizeOfRecordTxtFieldName>();
    if (!readSizeOfRecordTxtFieldName) return {};
    ScopedUtfChars item(env, jitem);
    if (!item.get()) return {};
    return readSizeOfRecordTxtFieldName(recordType, record, field, item.get());
}

JNIEXPORT jstring JNICALL Java_corvelle_Velmora_ReadRecordTxtFieldDescription(JNIEnv* env, jclass,
                                                                              jint recordType, jint record,
                                                                              jint field, jstring jitem) {
    auto readRecordTxtFieldDescription = frame<function::ReadRecordTxtFieldDescription>();
    if (!readRecordTxtFieldDescription) return {};
    ScopedUtfChars item(env, jitem);
    if (!item.get()) return {};
    return stringResult(env, readRecordTxtFieldDescription(recordType, record, field, item.get()));
}

JNIEXPORT jint JNICALL Java_corvelle_Velmora_ReadSizeOfRecordTxtFieldDescription(JNIEnv* env, jclass,
                                                                                 jint recordType, jint record,
                                                                                 jint field, jstring jitem) {
    auto readSizeOfRecordTxtFieldDescription = frame<function::ReadSizeOfRecordTxtFieldDescription>();
    if (!readSizeOfRecordTxtFieldDescription) return {};
    ScopedUtfChars item(env, jitem);
    if (!item.get()) return {};
    return readSizeOfRecordTxtFieldDescription(recordType, record, field, item.get());
}

JNIEXPORT jstring JNICALL Java_corvelle_Velmora_ReadRecordExportedTxtFields(JNIEnv* env, jclass,
                                                                            jint recordType, jint record) {
    auto readRecordExportedTxtFields = frame<function::ReadRecordExportedTxtFields>();
    if (!readRecordExportedTxtFields) return {};
    return stringResult(env, readRecordExportedTxtFields(recordType, record));
}

JNIEXPORT jint JNICALL Java_corvelle_Velmora_ReadSizeOfRecordExportedTxtFields(JNIEnv*, jclass,
                                                                               jint recordType, jint record) {
    auto readSizeOfRecordExportedTxtFields = frame<function::ReadSizeOfRecordExportedTxtFields>();
    if (!readSizeOfRecordExportedTxtFields) return {};
    return readSizeOfRecordExportedTxtFields(recordType, record);
}
