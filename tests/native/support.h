// Checks shared by the test files. Each macro takes the expected lines last, as a list:
//   expect_calls("ReadIDCofRecord(2, 1)");   the record library received exactly these calls
//   expect_platform(platform::loadLine);      the bridge made exactly these loads and lookups
//   expect_jni(jni, "GetArrayLength(dims)");  these JNI operations, and everything released
//   expect_boxes("Unable to load Velmora64.dll");   exactly these message boxes, each an error box
// Each takes what happened since the last check of its kind.
#pragma once

#include <string>
#include <vector>

#include "bridge.h"
#include "fake_jni.h"
#include "message_boxes.h"
#include "methods.h"
#include "platform_calls.h"
#include "runner.h"

namespace nt {

using Lines = std::vector<std::string>;

void expectLinesAt(const char* file, int line, const char* what, const Lines& actual, const Lines& expected);
void expectBoxesAt(const char* file, int line, const Lines& texts);

std::string lookupMessage(const std::string& function);
std::string intsText(const std::vector<jint>& ints);  // {3, 2}
extern const char* const loadMessage;

// One row of a family's table: a call of one method, what the record library then receives and the
// JNI operations the bridge makes for it.
struct CallCase {
    const char* what;
    void (*call)(FakeJni&);
    Lines recordLibrary;
    Lines jni;
};

// Runs every row, each with a fresh fake JNIEnv, and checks both lists of each.
void expectEachCase(const std::vector<CallCase>& cases);

#ifdef _WIN32
// Every bitmap the bridge was handed and every memory DC it made is deleted, on every path: checked
// on the GDI calls since the last take.
void expectGdiReleased();
#endif

// Whether a pending exception is an IndexOutOfBoundsException or one of its subclasses.
bool isIndexOutOfBounds(const std::string& className);

}  // namespace nt

#define expect_lines(what, actual, ...) ::nt::expectLinesAt(__FILE__, __LINE__, what, actual, ::nt::Lines{__VA_ARGS__})
#define expect_calls(...) expect_lines("record library calls", ::nt::standin::takeCalls(), __VA_ARGS__)
#define expect_platform(...) expect_lines("platform calls", ::nt::platform::takeCalls(), __VA_ARGS__)
#define expect_jni(jni, ...)                                   \
    do {                                                       \
        expect_lines("JNI calls", (jni).takeLog(), __VA_ARGS__); \
        expect_clean(jni);                                     \
    } while (0)
#define expect_boxes(...) ::nt::expectBoxesAt(__FILE__, __LINE__, ::nt::Lines{__VA_ARGS__})
