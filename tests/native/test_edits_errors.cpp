// Record edits and error reporting: the values each method hands the record library, in order, and
// the order of its conversions (the memory insert converts its String before its array, the text
// insert argument 4 before argument 5); the error report mode both ways; a new String for each
// last error message.
#include <climits>

#include "support.h"

namespace nt {
namespace {

const Lines formatThenData{"GetStringUTFChars(format, isCopy=null)", "GetArrayLength(data)",
                           "GetByteArrayElements(data, isCopy=&0)", "ReleaseByteArrayElements(data, JNI_ABORT)",
                           "ReleaseStringUTFChars(format)"};

const std::vector<CallCase> cases = {
    {"InsertRecordBinaryFieldFromFile",
     [](FakeJni& j) {
         bridge().InsertRecordBinaryFieldFromFile(j.env(), nullptr, INT_MAX, INT_MIN, j.string("path", "no-such.wsq"));
     },
     {"InsertRecordBinaryFieldFromFile(2147483647, -2147483648, \"no-such.wsq\")"},
     {"GetStringUTFChars(path, isCopy=null)", "ReleaseStringUTFChars(path)"}},
    {"InsertRecordBinaryFieldFromMemory, a length below the array's",
     [](FakeJni& j) {
         bridge().InsertRecordBinaryFieldFromMemory(j.env(), nullptr, 14, 2, j.byteArray("data", "\x01\x02\x03\x04\x05"), 3,
                                                    j.string("format", "WSQ"), -6, -7, -8);
     },
     {"InsertRecordBinaryFieldFromMemory(14, 2, [010203], 3, \"WSQ\", -6, -7, -8)"}, formatThenData},
    {"InsertRecordBinaryFieldFromMemory, the whole array",
     [](FakeJni& j) {
         bridge().InsertRecordBinaryFieldFromMemory(j.env(), nullptr, -1, 0, j.byteArray("data", std::string("\xFF\x00", 2)), 2,
                                                    j.string("format", "RAW"), INT_MAX, 1, INT_MIN);
     },
     {"InsertRecordBinaryFieldFromMemory(-1, 0, [FF00], 2, \"RAW\", 2147483647, 1, -2147483648)"}, formatThenData},
    {"InsertRecordTxtField",
     [](FakeJni& j) {
         bridge().InsertRecordTxtField(j.env(), nullptr, 2, 1, 5, j.string("item", "fourth"), j.string("value", "fifth"));
     },
     {"InsertRecordTxtField(2, 1, 5, \"fourth\", \"fifth\")"},
     {"GetStringUTFChars(item, isCopy=null)", "GetStringUTFChars(value, isCopy=null)", "ReleaseStringUTFChars(value)",
      "ReleaseStringUTFChars(item)"}},
    {"DeleteRecord", [](FakeJni& j) { bridge().DeleteRecord(j.env(), nullptr, -1, 7); }, {"DeleteRecord(-1, 7)"}, {}},
    {"SetVelmoraErrorReportMode", [](FakeJni& j) { bridge().SetVelmoraErrorReportMode(j.env(), nullptr, INT_MIN); },
     {"SetVelmoraErrorReportMode(-2147483648)"}, {}},
    {"ReadVelmoraLastErrorMessage", [](FakeJni& j) { bridge().ReadVelmoraLastErrorMessage(j.env(), nullptr); },
     {"ReadVelmoraLastErrorMessage()"}, {"NewStringUTF(\"last error\") = new1"}},
};

SCENARIO("edits-errors", argumentsReachTheRecordLibrary, Library::full) {
    standin::load();
    standin::steerString("ReadVelmoraLastErrorMessage", "last error");
    expectEachCase(cases);
    expect_boxes();
}

// The stand-in answers each mode with the one before it: the mode reaches it unchanged and its
// answer comes back unchanged.
SCENARIO("edits-errors", errorReportModeBothWays, Library::full) {
    FakeJni jni;
    const Bridge& b = bridge();
    const jint modes[] = {5, -9, INT_MAX, INT_MIN, 0};
    jint previous = 0;
    for (jint mode : modes) {
        const jint answer = b.SetVelmoraErrorReportMode(jni.env(), nullptr, mode);
        ok(answer == previous, "setting %d answered %d, expected %d\n", static_cast<int>(mode), static_cast<int>(answer),
           static_cast<int>(previous));
        previous = mode;
    }
    expect_jni(jni);
    expect_boxes();
}

// Each call makes a new String of the text the record library has at that moment.
SCENARIO("edits-errors", lastErrorMessageNewEachCall, Library::full) {
    standin::load();
    FakeJni jni;
    const Bridge& b = bridge();
    standin::setLastError("first");
    jstring first = b.ReadVelmoraLastErrorMessage(jni.env(), nullptr);
    jstring again = b.ReadVelmoraLastErrorMessage(jni.env(), nullptr);
    standin::setLastError("second");
    jstring second = b.ReadVelmoraLastErrorMessage(jni.env(), nullptr);
    ok(first != again, "the same String for two calls\n");
    ok(jni.units(first) == u"first" && jni.units(again) == u"first" && jni.units(second) == u"second",
       "got \"%s\", \"%s\", \"%s\"\n", modifiedUtf8(jni.units(first)).c_str(), modifiedUtf8(jni.units(again)).c_str(),
       modifiedUtf8(jni.units(second)).c_str());
    expect_jni(jni, "NewStringUTF(\"first\") = new1", "NewStringUTF(\"first\") = new2", "NewStringUTF(\"second\") = new3");
    standin::takeCalls();
    expect_boxes();
}

}  // namespace
}  // namespace nt
