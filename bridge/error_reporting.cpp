// The record library's own error reporting. The bridge's own failures (library or function missing)
// are its message boxes alone and are never recorded here.
#include "conversions.h"
#include "corvelle_Velmora.h"

using namespace velmora;

JNIEXPORT jint JNICALL Java_corvelle_Velmora_SetVelmoraErrorReportMode(JNIEnv*, jclass, jint mode) {
    auto setVelmoraErrorReportMode = frame<function::SetVelmoraErrorReportMode>();
    if (!setVelmoraErrorReportMode) return {};
    return setVelmoraErrorReportMode(mode);
}

JNIEXPORT jstring JNICALL Java_corvelle_Velmora_ReadVelmoraLastErrorMessage(JNIEnv* env, jclass) {
    auto readVelmoraLastErrorMessage = frame<function::ReadVelmoraLastErrorMessage>();
    if (!readVelmoraLastErrorMessage) return {};
    return stringResult(env, readVelmoraLastErrorMessage());
}
