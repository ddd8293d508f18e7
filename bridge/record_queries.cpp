// Questions about the records of the current NIST file: ints in, an int out, all 32 bits unchanged.
#include "binding.h"
#include "corvelle_Velmora.h"

using namespace velmora;

JNIEXPORT jint JNICALL Java_corvelle_Velmora_CheckIfRecordTypeExists(JNIEnv*, jclass, jint recordType) {
    auto checkIfRecordTypeExists = frame<function::CheckIfRecordTypeExists>();
    if (!checkIfRecordTypeExists) return {};
    return checkIfRecordTypeExists(recordType);
}

JNIEXPORT jint JNICALL Java_corvelle_Velmora_ReadNumberOfRecords(JNIEnv*, jclass, jint recordType) {
    auto readNumberOfRecords = frame<function::ReadNumberOfRecords>();
    if (!readNumberOfRecords) return {};
    return readNumberOfRecords(recordType);
}

JNIEXPORT jint JNICALL Java_corvelle_Velmora_ReadIDCofRecord(JNIEnv*, jclass, jint recordType, jint record) {
    auto readIDCofRecord = frame<function::ReadIDCofRecord>();
    if (!readIDCofRecord) return {};
    return readIDCofRecord(recordType, record);
}
