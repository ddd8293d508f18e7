// One table of bad input over all the methods it reaches: from the Java side (null Strings and
// arrays, byte counts outside an array, null or short dimensions), from the record library's side
// (a null or invalid string, a negative size, a null buffer, bitmaps of no size or none at all, and
// on Windows GDI failing) and from the VM's (each JNI operation failing). Each gives its clear
// result: a pending Java exception or 0/null, the record library not called when the input was
// the caller's, everything obtained released, and nothing touched outside a buffer (which the
// sanitizer builds check on top of the fake's guard bytes).
#include <climits>

#include "support.h"

namespace nt {
namespace {

enum class Expect { zero, emptyArray, anything };

constexpr const char* NPE = "java/lang/NullPointerException";
constexpr const char* IOOBE = "IndexOutOfBoundsException";  // or a subclass
constexpr const char* OOM = "java/lang/OutOfMemoryError";

struct Row {
    const char* what;
    void (*steer)(FakeJni&);  // may be null
    Outcome (*call)(FakeJni&);
    const char* exception;  // null: none pending after the call
    Lines recordLibrary;
    Lines jni;  // a FindClass and ThrowNew pair reads "throw <class>"
    Expect expect = Expect::zero;
};

const Bridge& b() { return bridge(); }
Outcome of(jint value) { return intOutcome(value); }
Outcome of(jobject object) { return objectOutcome(object); }
jstring item(FakeJni& j) { return j.string("item", "1"); }
jstring format(FakeJni& j) { return j.string("format", "RAW"); }
jbyteArray data(FakeJni& j) { return j.byteArray("data", "abcd"); }

// The image method with dimensions of these elements, checked untouched (or written) afterwards.
Outcome image(FakeJni& j, std::vector<jint> elements, bool written = false) {
    jintArray dimensions = j.intArray("dimensions", elements);
    jintArray pixels = b().CreateHBITMAPfromRecordBinaryField(j.env(), nullptr, dimensions, 2, 1);
    if (!written) ok(j.ints(dimensions) == elements, "the dimensions changed\n");
    return of(pixels);
}
Outcome imageNullDimensions(FakeJni& j) { return of(b().CreateHBITMAPfromRecordBinaryField(j.env(), nullptr, nullptr, 2, 1)); }
void bitmap3x2(FakeJni&) { standin::steerBitmap(3, 2, 24, {1, 2, 3, 4, 5, 6}); }

const Lines formatOnly{"GetStringUTFChars(format, isCopy=null)", "ReleaseStringUTFChars(format)"};
const Lines itemOnly{"GetStringUTFChars(item, isCopy=null)", "ReleaseStringUTFChars(item)"};
const Lines dimensionsWritten{"GetPrimitiveArrayCritical(dimensions, isCopy=&0)",
                              "ReleasePrimitiveArrayCritical(dimensions, 0)"};
const Lines pixelsRead{"GetPrimitiveArrayCritical(dimensions, isCopy=&0)",
                       "ReleasePrimitiveArrayCritical(dimensions, 0)", "NewIntArray(6) = new1",
                       "GetPrimitiveArrayCritical(new1, isCopy=&0)", "ReleasePrimitiveArrayCritical(new1, 0)"};

const Row rows[] = {
    // ---- the Java side: null Strings ----
    {"WriteNISTToFile, null path", nullptr, [](FakeJni& j) { return of(b().WriteNISTToFile(j.env(), nullptr, nullptr)); },
     NPE, {}, {"throw NullPointerException"}},
    {"ReadNISTFromFile, null path", nullptr, [](FakeJni& j) { return of(b().ReadNISTFromFile(j.env(), nullptr, nullptr)); },
     NPE, {}, {"throw NullPointerException"}},
    {"ReadRecordTxtField, null item", nullptr,
     [](FakeJni& j) { return of(b().ReadRecordTxtField(j.env(), nullptr, 2, 1, 3, nullptr)); }, NPE, {},
     {"throw NullPointerException"}},
    {"ReadSizeOfRecordTxtField, null item", nullptr,
     [](FakeJni& j) { return of(b().ReadSizeOfRecordTxtField(j.env(), nullptr, 2, 1, 3, nullptr)); }, NPE, {},
     {"throw NullPointerException"}},
    {"ReadSizeOfRecordTxtFieldName, null item", nullptr,
     [](FakeJni& j) { return of(b().ReadSizeOfRecordTxtFieldName(j.env(), nullptr, 2, 1, 3, nullptr)); }, NPE, {},
     {"throw NullPointerException"}},
    {"ReadRecordTxtFieldDescription, null item", nullptr,
     [](FakeJni& j) { return of(b().ReadRecordTxtFieldDescription(j.env(), nullptr, 2, 1, 3, nullptr)); }, NPE, {},
     {"throw NullPointerException"}},
    {"ReadSizeOfRecordTxtFieldDescription, null item", nullptr,
     [](FakeJni& j) { return of(b().ReadSizeOfRecordTxtFieldDescription(j.env(), nullptr, 2, 1, 3, nullptr)); }, NPE, {},
     {"throw NullPointerException"}},
    {"InsertRecordBinaryFieldFromFile, null path", nullptr,
     [](FakeJni& j) { return of(b().InsertRecordBinaryFieldFromFile(j.env(), nullptr, 2, 1, nullptr)); }, NPE, {},
     {"throw NullPointerException"}},
    {"InsertRecordBinaryFieldFromMemory, null format: the array is not touched", nullptr,
     [](FakeJni& j) {
         return of(b().InsertRecordBinaryFieldFromMemory(j.env(), nullptr, 2, 1, data(j), 4, nullptr, 1, 1, 8));
     },
     NPE, {}, {"throw NullPointerException"}},
    {"InsertRecordTxtField, null item", nullptr,
     [](FakeJni& j) { return of(b().InsertRecordTxtField(j.env(), nullptr, 2, 1, 3, nullptr, j.string("value", "v"))); },
     NPE, {}, {"throw NullPointerException"}},
    {"InsertRecordTxtField, null value: the item's chars released", nullptr,
     [](FakeJni& j) { return of(b().InsertRecordTxtField(j.env(), nullptr, 2, 1, 3, item(j), nullptr)); }, NPE, {},
     {"GetStringUTFChars(item, isCopy=null)", "throw NullPointerException", "ReleaseStringUTFChars(item)"}},

    // ---- the Java side: null arrays and byte counts ----
    {"ReadNISTFromMemory, null data", nullptr,
     [](FakeJni& j) { return of(b().ReadNISTFromMemory(j.env(), nullptr, nullptr, 0)); }, NPE, {},
     {"throw NullPointerException"}},
    {"InsertRecordBinaryFieldFromMemory, null data", nullptr,
     [](FakeJni& j) {
         return of(b().InsertRecordBinaryFieldFromMemory(j.env(), nullptr, 2, 1, nullptr, 0, format(j), 1, 1, 8));
     },
     NPE, {}, {"GetStringUTFChars(format, isCopy=null)", "throw NullPointerException", "ReleaseStringUTFChars(format)"}},
    {"ReadNISTFromMemory, length -1", nullptr,
     [](FakeJni& j) { return of(b().ReadNISTFromMemory(j.env(), nullptr, data(j), -1)); }, IOOBE, {},
     {"throw IndexOutOfBoundsException"}},
    {"ReadNISTFromMemory, length one beyond the array", nullptr,
     [](FakeJni& j) { return of(b().ReadNISTFromMemory(j.env(), nullptr, data(j), 5)); }, IOOBE, {},
     {"throw IndexOutOfBoundsException"}},
    {"ReadNISTFromMemory, length INT_MIN", nullptr,
     [](FakeJni& j) { return of(b().ReadNISTFromMemory(j.env(), nullptr, data(j), INT_MIN)); }, IOOBE, {},
     {"throw IndexOutOfBoundsException"}},
    {"ReadNISTFromMemory, length INT_MAX", nullptr,
     [](FakeJni& j) { return of(b().ReadNISTFromMemory(j.env(), nullptr, data(j), INT_MAX)); }, IOOBE, {},
     {"throw IndexOutOfBoundsException"}},
    {"ReadNISTFromMemory, length the array's", nullptr,
     [](FakeJni& j) { return of(b().ReadNISTFromMemory(j.env(), nullptr, data(j), 4)); }, nullptr,
     {"ReadNISTFromMemory([61626364], 4)"},
     {"GetByteArrayElements(data, isCopy=&0)", "ReleaseByteArrayElements(data, JNI_ABORT)"},
     Expect::anything},
    {"InsertRecordBinaryFieldFromMemory, length -1", nullptr,
     [](FakeJni& j) {
         return of(b().InsertRecordBinaryFieldFromMemory(j.env(), nullptr, 2, 1, data(j), -1, format(j), 1, 1, 8));
     },
     IOOBE, {},
     {"GetStringUTFChars(format, isCopy=null)", "throw IndexOutOfBoundsException",
      "ReleaseStringUTFChars(format)"}},
    {"InsertRecordBinaryFieldFromMemory, length one beyond the array", nullptr,
     [](FakeJni& j) {
         return of(b().InsertRecordBinaryFieldFromMemory(j.env(), nullptr, 2, 1, data(j), 5, format(j), 1, 1, 8));
     },
     IOOBE, {},
     {"GetStringUTFChars(format, isCopy=null)", "throw IndexOutOfBoundsException",
      "ReleaseStringUTFChars(format)"}},
    {"InsertRecordBinaryFieldFromMemory, length 0", nullptr,
     [](FakeJni& j) {
         return of(b().InsertRecordBinaryFieldFromMemory(j.env(), nullptr, 2, 1, data(j), 0, format(j), 1, 1, 8));
     },
     nullptr, {"InsertRecordBinaryFieldFromMemory(2, 1, [], 0, \"RAW\", 1, 1, 8)"},
     {"GetStringUTFChars(format, isCopy=null)", "GetByteArrayElements(data, isCopy=&0)",
      "ReleaseByteArrayElements(data, JNI_ABORT)", "ReleaseStringUTFChars(format)"},
     Expect::anything},

    // ---- the Java side: dimensions ----
    {"CreateHBITMAPfromRecordBinaryField, null dimensions", bitmap3x2, imageNullDimensions, NPE, {},
     {"throw NullPointerException"}},
    {"CreateHBITMAPfromRecordBinaryField, no dimensions", bitmap3x2, [](FakeJni& j) { return image(j, {}); }, IOOBE, {},
     {"throw IndexOutOfBoundsException"}},
    {"CreateHBITMAPfromRecordBinaryField, one dimension", bitmap3x2, [](FakeJni& j) { return image(j, {9}); }, IOOBE, {},
     {"throw IndexOutOfBoundsException"}},

    // ---- the record library's side: strings ----
    {"ReadRecordTxtField, a null string", [](FakeJni&) { standin::steerNullString("ReadRecordTxtField"); },
     [](FakeJni& j) { return of(b().ReadRecordTxtField(j.env(), nullptr, 2, 1, 3, item(j))); }, nullptr,
     {"ReadRecordTxtField(2, 1, 3, \"1\")"}, itemOnly},
    {"ReadRecordTxtFieldName, a null string", [](FakeJni&) { standin::steerNullString("ReadRecordTxtFieldName"); },
     [](FakeJni& j) { return of(b().ReadRecordTxtFieldName(j.env(), nullptr, 2, 1, 3)); }, nullptr,
     {"ReadRecordTxtFieldName(2, 1, 3)"}, {}},
    {"ReadRecordTxtFieldDescription, a null string",
     [](FakeJni&) { standin::steerNullString("ReadRecordTxtFieldDescription"); },
     [](FakeJni& j) { return of(b().ReadRecordTxtFieldDescription(j.env(), nullptr, 2, 1, 3, item(j))); }, nullptr,
     {"ReadRecordTxtFieldDescription(2, 1, 3, \"1\")"}, itemOnly},
    {"ReadRecordExportedTxtFields, a null string",
     [](FakeJni&) { standin::steerNullString("ReadRecordExportedTxtFields"); },
     [](FakeJni& j) { return of(b().ReadRecordExportedTxtFields(j.env(), nullptr, 2, 1)); }, nullptr,
     {"ReadRecordExportedTxtFields(2, 1)"}, {}},
    {"ReadVelmoraLastErrorMessage, a null string",
     [](FakeJni&) { standin::steerNullString("ReadVelmoraLastErrorMessage"); },
     [](FakeJni& j) { return of(b().ReadVelmoraLastErrorMessage(j.env(), nullptr)); }, nullptr,
     {"ReadVelmoraLastErrorMessage()"}, {}},

    // ---- the record library's side: sizes and buffers ----
    {"ReadNISTByteArray, size -1", [](FakeJni&) { standin::steerInt("ReadSizeOfNISTByteArray", -1); },
     [](FakeJni& j) { return of(b().ReadNISTByteArray(j.env(), nullptr)); }, nullptr,
     {"ReadSizeOfNISTByteArray()", "ReadNISTByteArray()"}, {}},
    {"ReadNISTByteArray, size INT_MIN", [](FakeJni&) { standin::steerInt("ReadSizeOfNISTByteArray", INT_MIN); },
     [](FakeJni& j) { return of(b().ReadNISTByteArray(j.env(), nullptr)); }, nullptr,
     {"ReadSizeOfNISTByteArray()", "ReadNISTByteArray()"}, {}},
    {"ReadRecordBinaryField, size -1", [](FakeJni&) { standin::steerInt("ReadSizeOfRecordBinaryField", -1); },
     [](FakeJni& j) { return of(b().ReadRecordBinaryField(j.env(), nullptr, 2, 1)); }, nullptr,
     {"ReadSizeOfRecordBinaryField(2, 1)", "ReadRecordBinaryField(2, 1)"}, {}},
    {"ReadNISTByteArray, a null buffer of size 3",
     [](FakeJni&) {
         standin::steerInt("ReadSizeOfNISTByteArray", 3);
         standin::steerNullBytes("ReadNISTByteArray");
     },
     [](FakeJni& j) { return of(b().ReadNISTByteArray(j.env(), nullptr)); }, nullptr,
     {"ReadSizeOfNISTByteArray()", "ReadNISTByteArray()"}, {}},
    {"ReadRecordBinaryField, a null buffer of size 3",
     [](FakeJni&) {
         standin::steerInt("ReadSizeOfRecordBinaryField", 3);
         standin::steerNullBytes("ReadRecordBinaryField");
     },
     [](FakeJni& j) { return of(b().ReadRecordBinaryField(j.env(), nullptr, 2, 1)); }, nullptr,
     {"ReadSizeOfRecordBinaryField(2, 1)", "ReadRecordBinaryField(2, 1)"}, {}},
    {"ReadRecordBinaryField, a null buffer of size 0: nothing read through it",
     [](FakeJni&) {
         standin::steerInt("ReadSizeOfRecordBinaryField", 0);
         standin::steerNullBytes("ReadRecordBinaryField");
     },
     [](FakeJni& j) { return of(b().ReadRecordBinaryField(j.env(), nullptr, 2, 1)); }, nullptr,
     {"ReadSizeOfRecordBinaryField(2, 1)", "ReadRecordBinaryField(2, 1)"},
     {"NewByteArray(0) = new1", "GetByteArrayElements(new1, isCopy=null)", "ReleaseByteArrayElements(new1, 0)"},
     Expect::emptyArray},

    // ---- the record library's side: bitmaps ----
    {"a bitmap of width 0", [](FakeJni&) { standin::steerBitmap(0, 2, 24, {}); },
     [](FakeJni& j) { return image(j, {7, 8}); }, nullptr, {"CreateHBITMAPfromRecordBinaryField(2, 1)"},
     {}},
    {"a bitmap of height 0", [](FakeJni&) { standin::steerBitmap(3, 0, 24, {}); },
     [](FakeJni& j) { return image(j, {7, 8}); }, nullptr, {"CreateHBITMAPfromRecordBinaryField(2, 1)"},
     {}},
    {"a bitmap of negative width", [](FakeJni&) { standin::steerBitmap(-3, 0, 32, {}); },
     [](FakeJni& j) { return image(j, {7, 8}); }, nullptr, {"CreateHBITMAPfromRecordBinaryField(2, 1)"},
     {}},
    {"a handle GetObject cannot describe", [](FakeJni&) { standin::steerNotABitmap(); },
     [](FakeJni& j) { return image(j, {7, 8}); }, nullptr, {"CreateHBITMAPfromRecordBinaryField(2, 1)"},
     {}},
#ifdef _WIN32
    {"CreateCompatibleDC failing",
     [](FakeJni& j) {
         bitmap3x2(j);
         platform::failGdi({true, false});
     },
     [](FakeJni& j) { return image(j, {7, 8}, true); }, nullptr, {"CreateHBITMAPfromRecordBinaryField(2, 1)"},
     dimensionsWritten},
    {"GetDIBits failing",
     [](FakeJni& j) {
         bitmap3x2(j);
         platform::failGdi({false, true});
     },
     [](FakeJni& j) { return image(j, {7, 8}, true); }, nullptr, {"CreateHBITMAPfromRecordBinaryField(2, 1)"},
     pixelsRead},
#endif

    // ---- the VM's side: each JNI operation failing ----
    {"GetStringUTFChars failing", [](FakeJni& j) { j.failNext(jni_op::GetStringUTFChars); },
     [](FakeJni& j) { return of(b().ReadRecordTxtField(j.env(), nullptr, 2, 1, 3, item(j))); }, OOM, {},
     {"GetStringUTFChars(item, isCopy=null) = null", "ExceptionCheck() = true"}},
    {"GetByteArrayElements failing on an argument", [](FakeJni& j) { j.failNext(jni_op::GetByteArrayElements); },
     [](FakeJni& j) {
         return of(b().InsertRecordBinaryFieldFromMemory(j.env(), nullptr, 2, 1, data(j), 4, format(j), 1, 1, 8));
     },
     OOM, {},
     {"GetStringUTFChars(format, isCopy=null)", "GetByteArrayElements(data, isCopy=&0) = null", "ExceptionCheck() = true",
      "ReleaseStringUTFChars(format)"}},
    {"NewByteArray failing",
     [](FakeJni& j) {
         standin::steerInt("ReadSizeOfRecordBinaryField", 3);
         standin::steerBytes("ReadRecordBinaryField", "abc");
         j.failNext(jni_op::NewByteArray);
     },
     [](FakeJni& j) { return of(b().ReadRecordBinaryField(j.env(), nullptr, 2, 1)); }, OOM,
     {"ReadSizeOfRecordBinaryField(2, 1)", "ReadRecordBinaryField(2, 1)"}, {"NewByteArray(3) = null", "ExceptionCheck() = true"}},
    {"GetByteArrayElements failing on the new array",
     [](FakeJni& j) {
         standin::steerInt("ReadSizeOfNISTByteArray", 3);
         standin::steerBytes("ReadNISTByteArray", "abc");
         j.failNext(jni_op::GetByteArrayElements);
     },
     [](FakeJni& j) { return of(b().ReadNISTByteArray(j.env(), nullptr)); }, OOM,
     {"ReadSizeOfNISTByteArray()", "ReadNISTByteArray()"},
     {"NewByteArray(3) = new1", "GetByteArrayElements(new1, isCopy=null) = null", "ExceptionCheck() = true"}},
    {"NewStringUTF failing",
     [](FakeJni& j) {
         standin::steerString("ReadRecordTxtFieldName", "text");
         j.failNext(jni_op::NewStringUTF);
     },
     [](FakeJni& j) { return of(b().ReadRecordTxtFieldName(j.env(), nullptr, 2, 1, 3)); }, OOM,
     {"ReadRecordTxtFieldName(2, 1, 3)"}, {"NewStringUTF(\"text\") = null", "ExceptionCheck() = true"}},
    {"NewString failing",
     [](FakeJni& j) {
         standin::steerString("ReadRecordTxtFieldName", "\xE9");
         j.failNext(jni_op::NewString);
     },
     [](FakeJni& j) { return of(b().ReadRecordTxtFieldName(j.env(), nullptr, 2, 1, 3)); }, OOM,
     {"ReadRecordTxtFieldName(2, 1, 3)"}, {"NewString([FFFD]) = null", "ExceptionCheck() = true"}},
    {"GetPrimitiveArrayCritical failing on the dimensions",
     [](FakeJni& j) {
         bitmap3x2(j);
         j.failNext(jni_op::GetPrimitiveArrayCritical);
     },
     [](FakeJni& j) { return image(j, {7, 8}); }, OOM, {"CreateHBITMAPfromRecordBinaryField(2, 1)"},
     {"GetPrimitiveArrayCritical(dimensions, isCopy=&0) = null", "ExceptionCheck() = true"}},
    {"NewIntArray failing",
     [](FakeJni& j) {
         bitmap3x2(j);
         j.failNext(jni_op::NewIntArray);
     },
     [](FakeJni& j) { return image(j, {7, 8}, true); }, OOM, {"CreateHBITMAPfromRecordBinaryField(2, 1)"},
     {"GetPrimitiveArrayCritical(dimensions, isCopy=&0)",
      "ReleasePrimitiveArrayCritical(dimensions, 0)", "NewIntArray(6) = null", "ExceptionCheck() = true"}},
    {"GetPrimitiveArrayCritical failing on the pixels",
     [](FakeJni& j) {
         bitmap3x2(j);
         j.failNext(jni_op::GetPrimitiveArrayCritical, 1);
     },
     [](FakeJni& j) { return image(j, {7, 8}, true); }, OOM, {"CreateHBITMAPfromRecordBinaryField(2, 1)"},
     {"GetPrimitiveArrayCritical(dimensions, isCopy=&0)",
      "ReleasePrimitiveArrayCritical(dimensions, 0)", "NewIntArray(6) = new1",
      "GetPrimitiveArrayCritical(new1, isCopy=&0) = null", "ExceptionCheck() = true"}},
};

// A FindClass of an exception class followed by its ThrowNew reads "throw <simple name>", the
// IndexOutOfBoundsException family as its base class. Lengths asked of the VM are left out: a
// byte count below zero needs no array length to be refused, and asking is harmless either way.
Lines withThrows(const Lines& log) {
    Lines out;
    for (std::size_t i = 0; i < log.size(); ++i) {
        const std::string& line = log[i];
        if (line.compare(0, 15, "GetArrayLength(") == 0) continue;
        if (line.compare(0, 10, "FindClass(") == 0 && i + 1 < log.size() &&
            log[i + 1] == "ThrowNew(" + line.substr(10)) {
            const std::string name = line.substr(10, line.size() - 11);
            out.push_back("throw " + (isIndexOutOfBounds(name) ? std::string(IOOBE) : name.substr(name.rfind('/') + 1)));
            ++i;
        } else {
            out.push_back(line);
        }
    }
    return out;
}

SCENARIO("bad-input", eachLimitGivesItsClearResult, Library::full) {
    standin::load();
    for (const Row& row : rows) {
        Context context("%s", row.what);
        standin::reset();
        FakeJni jni;
        if (row.steer) row.steer(jni);
        const Outcome outcome = row.call(jni);
        switch (row.expect) {
        case Expect::zero: ok(outcome.isZero(), "returned %s\n", outcome.text().c_str()); break;
        case Expect::emptyArray:
            ok(outcome.object && jni.bytes(outcome.object).empty(), "returned %s, not an empty array\n", outcome.text().c_str());
            break;
        case Expect::anything: break;
        }
        const std::string pending = jni.pendingException();
        const std::string expected = row.exception ? row.exception : "";
        if (expected == IOOBE)
            ok(isIndexOutOfBounds(pending), "pending \"%s\", expected an IndexOutOfBoundsException\n", pending.c_str());
        else
            ok(pending == expected, "pending \"%s\", expected \"%s\"\n", pending.c_str(), expected.c_str());
        expect_calls(row.recordLibrary);
        expect_lines("JNI calls", withThrows(jni.takeLog()), row.jni);
        expect_clean(jni);
#ifdef _WIN32
        expectGdiReleased();
        platform::failGdi({});
#endif
    }
    expect_boxes();
}

}  // namespace
}  // namespace nt
