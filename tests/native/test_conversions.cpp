// The conversions every family shares: int results of every int method, String arguments as
// modified UTF-8, and String results, valid modified UTF-8 or not.
#include <climits>

#include "support.h"

namespace nt {
namespace {

// Every int the record library returns reaches Java with the same 32 bits, through every int method.
SCENARIO("conversions", intResultsPassUnchanged, Library::full) {
    standin::load();
    const int results[] = {0, 1, -1, 256, INT_MIN, INT_MAX};
    for (const Method& m : methods()) {
        if (m.returnsObject) continue;
        for (int result : results) {
            Context context("%s returning %d", m.name.c_str(), result);
            standin::steerInt(m.functions[0], result);
            FakeJni jni;
            const Outcome outcome = m.call(jni);
            ok(outcome.value == result, "got %d\n", static_cast<int>(outcome.value));
            expect_calls(m.recordLibraryCalls);
            expect_clean(jni);
        }
    }
    expect_boxes();
}

// A String argument reaches the record library as its modified UTF-8 chars, unconverted, obtained
// with isCopy null and released after the call.
SCENARIO("conversions", stringArgumentsAsModifiedUtf8, Library::full) {
    standin::load();
    struct Case {
        const char* what;
        std::u16string units;
        std::string bytes;
    };
    const Case cases[] = {
        {"the empty String", u"", ""},
        {"ASCII", u"NIST/file 1.an2", "NIST/file 1.an2"},
        {"U+0000", std::u16string(u"a\0b", 3), "a\xC0\x80" "b"},
        {"U+00E9", u"\u00E9", "\xC3\xA9"},
        {"U+20AC", u"\u20AC", "\xE2\x82\xAC"},
        {"a character beyond the BMP", u"\U0001F600", "\xED\xA0\xBD\xED\xB8\x80"},
    };
    for (const Case& c : cases) {
        Context context("%s", c.what);
        FakeJni jni;
        bridge().ReadNISTFromFile(jni.env(), nullptr, jni.string("path", c.units));
        expect_calls("ReadNISTFromFile(" + quoted(c.bytes) + ")");
        expect_jni(jni, "GetStringUTFChars(path, isCopy=null)", "ReleaseStringUTFChars(path)");
    }
    expect_boxes();
}

// The five methods that return a String, each made as a Java String alone.
struct StringMethod {
    const char* function;
    bool takesItem;
    jstring (*call)(FakeJni&);
};

const StringMethod stringMethods[] = {
    {"ReadRecordTxtField", true,
     [](FakeJni& j) { return bridge().ReadRecordTxtField(j.env(), nullptr, 2, 1, 3, j.string("item", "1")); }},
    {"ReadRecordTxtFieldName", false,
     [](FakeJni& j) { return bridge().ReadRecordTxtFieldName(j.env(), nullptr, 2, 1, 3); }},
    {"ReadRecordTxtFieldDescription", true,
     [](FakeJni& j) { return bridge().ReadRecordTxtFieldDescription(j.env(), nullptr, 2, 1, 3, j.string("item", "1")); }},
    {"ReadRecordExportedTxtFields", false,
     [](FakeJni& j) { return bridge().ReadRecordExportedTxtFields(j.env(), nullptr, 2, 1); }},
    {"ReadVelmoraLastErrorMessage", false, [](FakeJni& j) { return bridge().ReadVelmoraLastErrorMessage(j.env(), nullptr); }},
};

// The JNI operations of a String method whose result is made by the given operation.
Lines stringResultOperations(const StringMethod& m, const std::string& made) {
    if (!m.takesItem) return {made};
    return {"GetStringUTFChars(item, isCopy=null)", made, "ReleaseStringUTFChars(item)"};
}

struct ResultCase {
    const char* what;
    std::string bytes;     // what the record library returns, up to its zero byte
    bool valid;            // valid modified UTF-8: NewStringUTF gets the bytes as they are
    std::u16string units;  // the Java String
};

// Valid modified UTF-8 goes to NewStringUTF unchanged. Other bytes would be mangled there, so the
// bridge decodes them itself for NewString: a standard 4-byte sequence as its surrogate pair, every
// other byte outside a valid sequence as U+FFFD.
const ResultCase resultCases[] = {
    {"the empty string", "", true, u""},
    {"ASCII", "DAT=20240101", true, u"DAT=20240101"},
    {"bytes after the zero byte", std::string("ab\0cd", 5), true, u"ab"},
    {"U+0000 as C0 80", "a\xC0\x80", true, std::u16string(u"a\0", 2)},
    {"U+00E9", "caf\xC3\xA9", true, u"caf\u00E9"},
    {"a surrogate pair in six bytes", "\xED\xA0\xBD\xED\xB8\x80", true, u"\U0001F600"},
    {"a standard 4-byte sequence", "x\xF0\x9F\x98\x80y", false, u"x\U0001F600y"},
    // The lowest and highest code points of each length, beside the overlong and too-high sequences below.
    {"U+0080, the lowest 2-byte sequence", "\xC2\x80", true, u"\u0080"},
    {"U+0800, the lowest 3-byte sequence", "\xE0\xA0\x80", true, u"\u0800"},
    {"U+10000, the lowest 4-byte sequence", "\xF0\x90\x80\x80", false, u"\xD800\xDC00"},
    {"U+10FFFF, the highest 4-byte sequence", "\xF4\x8F\xBF\xBF", false, u"\xDBFF\xDFFF"},
    {"a Latin-1 byte", "caf\xE9!", false, u"caf\uFFFD!"},
    {"a lone continuation byte", "\x80", false, u"\uFFFD"},
    {"a truncated 3-byte sequence", "\xE2\x82", false, u"\uFFFD\uFFFD"},
    {"a truncated 4-byte sequence", "\xF0\x9F\x98", false, u"\uFFFD\uFFFD\uFFFD"},
    {"an overlong 2-byte sequence", "\xC1\x81", false, u"\uFFFD\uFFFD"},
    {"an overlong 3-byte sequence", "\xE0\x80\x80", false, u"\uFFFD\uFFFD\uFFFD"},
    // U+07FF in three bytes. Modified UTF-8 takes any 3-byte value from U+0800 up, surrogates too, but
    // not below: each byte is then on its own.
    {"an overlong 3-byte sequence, one below U+0800", "\xE0\x9F\xBF", false, u"\uFFFD\uFFFD\uFFFD"},
    {"an overlong 4-byte sequence, U+FFFF", "\xF0\x8F\xBF\xBF", false, u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"a 4-byte sequence beyond U+10FFFF", "\xF4\x90\x80\x80", false, u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"a valid sequence then an invalid byte", "\xED\xA0\xBD\xFF", false, u"\xD83D\uFFFD"},
};

void expectStringResult(const StringMethod& m, const ResultCase& c) {
    Context context("%s giving %s", m.function, c.what);
    standin::steerString(m.function, c.bytes);
    FakeJni jni;
    jstring result = m.call(jni);
    ok(result != nullptr, "null String\n");
    ok(jni.units(result) == c.units, "got %s, expected %s\n", unitsText(jni.units(result)).c_str(),
       unitsText(c.units).c_str());
    const std::string upToZero = c.bytes.substr(0, c.bytes.find('\0'));
    const std::string made = c.valid ? "NewStringUTF(" + quoted(upToZero) + ") = new1"
                                     : "NewString(" + unitsText(c.units) + ") = new1";
    expect_jni(jni, stringResultOperations(m, made));
    standin::takeCalls();
}

SCENARIO("conversions", stringResults, Library::full) {
    standin::load();
    // The whole table through one method; the path is the same conversion in all five.
    for (const ResultCase& c : resultCases) expectStringResult(stringMethods[0], c);
    for (const StringMethod& m : stringMethods) {
        expectStringResult(m, resultCases[4]);
        expectStringResult(m, resultCases[6]);
    }
    expect_boxes();
}

}  // namespace
}  // namespace nt
