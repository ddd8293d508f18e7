/* Machine-dependent JNI types for 64-bit Windows (LLP64), where long is 32 bits. */
#ifndef VELMORA_WINDOWS_JNI_MD_H
#define VELMORA_WINDOWS_JNI_MD_H

#define JNIEXPORT __declspec(dllexport)
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall

typedef long jint;
typedef __int64 jlong;
typedef signed char jbyte;

#endif
