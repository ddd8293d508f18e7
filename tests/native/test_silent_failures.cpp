// The VM giving nothing and saying nothing: each JNI copy or allocation the bridge makes returns null
// with no exception pending, as HotSpot's GetStringUTFChars and Get<Type>ArrayElements do when the
// native heap cannot hold the copy, through each method that reaches it. A null that reached Java
// with nothing pending would read as a plain 0/null result, and 0 is the record library's success.
// So each row expects: 0/null returned, an OutOfMemoryError pending with the bridge's message for
// what it could not have, the record library not called when the copy was of an argument (called
// as usual when it was for the result), no JNI call after the throw but releases, and everything
// obtained released. Last, FindClass failing inside the throw itself: its own exception stays, and
// nothing but releases follows it.
#include <functional>

#include "support.h"

namespace nt {
namespace {

constexpr const char* OOM = "java/lang/OutOfMemoryError";

struct Row {
    std::string what;
    std::function<void(FakeJni&)> prepare;  // the failures to come and the record library's results
    std::function<Outcome(FakeJni&)> call;
    Lines recordLibrary;
    Lines jni;
    std::string exception = OOM;  // pending afterwards
    std::string message;          // its message
};

Lines operator+(Lines lines, const Lines& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

std::vector<Row> operator+(std::vector<Row> rows, const std::vector<Row>& more) {
    rows.insert(rows.end(), more.begin(), more.end());
    return rows;
}

const Lines checkThenThrow{"ExceptionCheck() = false", "FindClass(java/lang/OutOfMemoryError)",
                           "ThrowNew(java/lang/OutOfMemoryError)"};

// How many of the lines are calls of the operation `failed` is a call of: those succeed first.
int earlierCalls(const std::string& failed, const Lines& lines) {
    const std::string name = failed.substr(0, failed.find('(') + 1);
    int count = 0;
    for (const std::string& line : lines) count += line.compare(0, name.size(), name) == 0;
    return count;
}

// A method of methods.h, with its harmless arguments, during which the operation logged as `failed`
// gives null silently after the operations `before`; the bridge then checks, throws and releases
// what `after` lists. The record library is called when the operation was for its result alone.
Row silently(const std::string& name, int operation, const Lines& before, const std::string& failed,
             const Lines& after, const char* message, bool forResult, std::function<void()> steer = {}) {
    const Method& m = method(name);
    const int skip = earlierCalls(failed, before);
    return Row{name + ": " + failed + " silently",
               [operation, skip, steer](FakeJni& j) {
                   if (steer) steer();
                   j.failNext(operation, skip, FakeJni::Failure::silent);
               },
               m.call,
               forResult ? m.recordLibraryCalls : Lines{},
               before + Lines{failed + " = null"} + checkThenThrow + after,
               OOM,
               message};
}

Row stringArgument(const std::string& method, const std::string& label, const Lines& before = {},
                   const Lines& after = {}) {
    return silently(method, jni_op::GetStringUTFChars, before, "GetStringUTFChars(" + label + ", isCopy=null)", after,
                    "cannot get the chars of a String argument", false);
}

Row byteArrayArgument(const std::string& method, const Lines& before = {}, const Lines& after = {}) {
    return silently(method, jni_op::GetByteArrayElements, before + Lines{"GetArrayLength(data)"},
                    "GetByteArrayElements(data, isCopy=&0)", after, "cannot get the elements of a byte array argument",
                    false);
}

// A result of 3 bytes: the new array failing, then its elements.
std::vector<Row> byteArrayResult(const std::string& method, const std::string& sizeFunction) {
    auto steer = [method, sizeFunction] {
        standin::steerInt(sizeFunction, 3);
        standin::steerBytes(method, "abc");
    };
    return {silently(method, jni_op::NewByteArray, {}, "NewByteArray(3)", {}, "cannot make the new byte array", true,
                     steer),
            silently(method, jni_op::GetByteArrayElements, {"NewByteArray(3) = new1"},
                     "GetByteArrayElements(new1, isCopy=null)", {}, "cannot get the elements of the new byte array",
                     true, steer)};
}

// A String result, valid modified UTF-8 (made by NewStringUTF) and not (decoded for NewString); the
// item's chars around it for the methods that take one.
std::vector<Row> stringResult(const std::string& method, bool takesItem) {
    const Lines before = takesItem ? Lines{"GetStringUTFChars(item, isCopy=null)"} : Lines{};
    const Lines after = takesItem ? Lines{"ReleaseStringUTFChars(item)"} : Lines{};
    return {silently(method, jni_op::NewStringUTF, before, "NewStringUTF(\"text\")", after,
                     "cannot make the String result", true, [method] { standin::steerString(method, "text"); }),
            silently(method, jni_op::NewString, before, "NewString([0063 0061 0066 FFFD])", after,
                     "cannot make the String result", true, [method] { standin::steerString(method, "caf\xE9"); })};
}

// The 3 x 2 image: the dimensions' elements, the pixel array, the pixels' elements.
std::vector<Row> imageRows() {
    auto bitmap = [] { standin::steerBitmap(3, 2, 24, {1, 2, 3, 4, 5, 6}); };
    const Lines dimensionsWritten{"GetArrayLength(dimensions)", "GetPrimitiveArrayCritical(dimensions, isCopy=&0)",
                                  "ReleasePrimitiveArrayCritical(dimensions, 0)"};
    const std::string image = "CreateHBITMAPfromRecordBinaryField";
    return {silently(image, jni_op::GetPrimitiveArrayCritical, {"GetArrayLength(dimensions)"},
                     "GetPrimitiveArrayCritical(dimensions, isCopy=&0)", {}, "cannot get the elements of dimensions", true,
                     bitmap),
            silently(image, jni_op::NewIntArray, dimensionsWritten, "NewIntArray(6)", {}, "cannot make the pixel array",
                     true, bitmap),
            silently(image, jni_op::GetPrimitiveArrayCritical, dimensionsWritten + Lines{"NewIntArray(6) = new1"},
                     "GetPrimitiveArrayCritical(new1, isCopy=&0)", {}, "cannot get the elements of the pixel array",
                     true, bitmap)};
}

// The same row with FindClass failing for the OutOfMemoryError: the VM's NoClassDefFoundError naming
// it stays pending, and no ThrowNew or other call follows but the releases.
Row findClassFailing(Row row) {
    const auto prepare = row.prepare;
    row.what += ", FindClass failing";
    row.prepare = [prepare](FakeJni& j) {
        prepare(j);
        j.failNext(jni_op::FindClass);
    };
    Lines jni;
    for (std::size_t i = 0; i < row.jni.size(); ++i) {
        if (row.jni[i] == "FindClass(java/lang/OutOfMemoryError)") {
            jni.push_back(row.jni[i] + " = null");
            ++i;  // no ThrowNew
        } else {
            jni.push_back(row.jni[i]);
        }
    }
    row.jni = jni;
    row.exception = "java/lang/NoClassDefFoundError";
    row.message = OOM;
    return row;
}

std::vector<Row> rows() {
    const Row secondString =
        stringArgument("InsertRecordTxtField", "value", {"GetStringUTFChars(item, isCopy=null)"}, {"ReleaseStringUTFChars(item)"});
    const std::vector<Row> images = imageRows();
    const std::vector<Row> textResults = stringResult("ReadRecordTxtField", true);
    return std::vector<Row>{
               // ---- GetStringUTFChars of a String argument ----
               stringArgument("WriteNISTToFile", "path"),
               stringArgument("ReadNISTFromFile", "path"),
               stringArgument("InsertRecordBinaryFieldFromFile", "path"),
               stringArgument("ReadSizeOfRecordTxtField", "item"),
               stringArgument("ReadSizeOfRecordTxtFieldName", "item"),
               stringArgument("ReadRecordTxtField", "item"),
               stringArgument("ReadRecordTxtFieldDescription", "item"),
               stringArgument("ReadSizeOfRecordTxtFieldDescription", "item"),
               // The value is not asked for once the item failed; the item is released once the value did.
               stringArgument("InsertRecordTxtField", "item"),
               secondString,
               // The String is converted before the array.
               stringArgument("InsertRecordBinaryFieldFromMemory", "format"),

               // ---- GetByteArrayElements of an argument ----
               byteArrayArgument("ReadNISTFromMemory"),
               byteArrayArgument("InsertRecordBinaryFieldFromMemory", {"GetStringUTFChars(format, isCopy=null)"},
                                 {"ReleaseStringUTFChars(format)"}),
           } +
           // ---- NewByteArray and GetByteArrayElements of the new array ----
           byteArrayResult("ReadNISTByteArray", "ReadSizeOfNISTByteArray") +
           byteArrayResult("ReadRecordBinaryField", "ReadSizeOfRecordBinaryField") +
           // ---- NewStringUTF and NewString ----
           textResults + stringResult("ReadRecordTxtFieldName", false) +
           stringResult("ReadRecordTxtFieldDescription", true) + stringResult("ReadRecordExportedTxtFields", false) +
           stringResult("ReadVelmoraLastErrorMessage", false) +
           // ---- GetPrimitiveArrayCritical of dimensions, NewIntArray, GetPrimitiveArrayCritical of the pixels ----
           images +
           // ---- FindClass failing inside the throw ----
           std::vector<Row>{
               {"InsertRecordTxtField, a null value, FindClass failing for its NullPointerException",
                [](FakeJni& j) { j.failNext(jni_op::FindClass); },
                [](FakeJni& j) {
                    return intOutcome(
                        bridge().InsertRecordTxtField(j.env(), nullptr, 2, 1, 3, j.string("item", "1"), nullptr));
                },
                {},
                {"GetStringUTFChars(item, isCopy=null)", "FindClass(java/lang/NullPointerException) = null",
                 "ReleaseStringUTFChars(item)"},
                "java/lang/NoClassDefFoundError",
                "java/lang/NullPointerException"},
               findClassFailing(secondString),
               findClassFailing(textResults[0]),
               findClassFailing(images[2]),
           };
}

SCENARIO("bad-input", aJniOperationGivingNothingSilently, Library::full) {
    standin::load();
    for (const Row& row : rows()) {
        Context context("%s", row.what.c_str());
        standin::reset();
        FakeJni jni;
        row.prepare(jni);
        const Outcome outcome = row.call(jni);
        ok(outcome.isZero(), "returned %s\n", outcome.text().c_str());
        ok(jni.pendingException() == row.exception && jni.pendingMessage() == row.message,
           "pending %s \"%s\", expected %s \"%s\"\n", jni.pendingException().c_str(), jni.pendingMessage().c_str(),
           row.exception.c_str(), row.message.c_str());
        expect_calls(row.recordLibrary);
        expect_jni(jni, row.jni);
#ifdef _WIN32
        expectGdiReleased();
#endif
    }
    expect_boxes();
}

}  // namespace
}  // namespace nt
