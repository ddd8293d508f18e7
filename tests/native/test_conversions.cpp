// The conversions every family shares: int results of every int method, String arguments as
// modified UTF-8, and String results, valid modified UTF-8 or not.
#include <algorithm>
#include <climits>
#include <cstdint>

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

// The ASCII check reads the bytes eight at a time, then the tail. Over every length up to past two
// words and a tail, with one sequence at every offset, valid or not, and the string starting at every
// offset from an 8-byte boundary: each String exactly as the bytes say, made by the right operation.
// The string's zero byte is the last byte of its heap block, so the sanitizer build also sees any read
// past it.
SCENARIO("conversions", stringResultsAtEveryLengthOffsetAndAlignment, Library::full) {
    standin::load();
    struct Sequence {
        const char* what;
        std::string bytes;
        bool valid;
        std::u16string units;
    };
    const Sequence sequences[] = {
        {"no sequence", "", true, u""},
        {"C3 A9", "\xC3\xA9", true, u"\u00E9"},
        {"E2 82 AC", "\xE2\x82\xAC", true, u"\u20AC"},
        {"a lone E9", "\xE9", false, u"\uFFFD"},
    };
    constexpr std::size_t longest = 40;
    const auto readName = reinterpret_cast<const char* (*)(int, int, int)>(standin::symbol("ReadRecordTxtFieldName"));
    for (int alignment = 0; alignment < 8; ++alignment) {
        standin::steerStringAlignment(alignment);
        standin::steerString("ReadRecordTxtFieldName", "x");
        const auto start = reinterpret_cast<std::uintptr_t>(readName(2, 1, 3));
        ok(start % 8 == static_cast<std::uintptr_t>(alignment), "the stand-in's string starts at %d past a boundary, not %d\n",
           static_cast<int>(start % 8), alignment);
        standin::takeCalls();
        for (const Sequence& sequence : sequences) {
            const std::size_t size = sequence.bytes.size();
            for (std::size_t length = size; length <= longest; ++length) {
                // With no sequence, one string of each length.
                for (std::size_t at = 0; at + size <= length && (size > 0 || at == 0); ++at) {
                    Context context("starting %d past a boundary, %zu bytes, %s at %zu", alignment, length, sequence.what, at);
                    std::string bytes;
                    std::u16string units;
                    for (std::size_t i = 0; i < length - size; ++i) {
                        bytes += static_cast<char>('a' + i % 26);
                        units += static_cast<char16_t>('a' + i % 26);
                    }
                    bytes.insert(at, sequence.bytes);
                    units.insert(at, sequence.units);
                    standin::steerString("ReadRecordTxtFieldName", bytes);
                    FakeJni jni;
                    jstring result = bridge().ReadRecordTxtFieldName(jni.env(), nullptr, 2, 1, 3);
                    ok(jni.units(result) == units, "got %s\n", unitsText(jni.units(result)).c_str());
                    expect_calls("ReadRecordTxtFieldName(2, 1, 3)");
                    expect_jni(jni, sequence.valid ? "NewStringUTF(" + quoted(bytes) + ") = new1"
                                                   : "NewString(" + unitsText(units) + ") = new1");
                }
            }
        }
    }
    expect_boxes();
}

// A long invalid string: thousands of bytes that each become one U+FFFD, with ASCII and 4-byte
// sequences (two units from four bytes) among them. The decode buffer must hold a unit per byte.
SCENARIO("conversions", aLongInvalidStringUnitByUnit, Library::full) {
    standin::load();
    std::string bytes;
    std::u16string units;
    for (int i = 0; i < 4096; ++i) {
        if (i % 64 == 63) {
            bytes += "\xF0\x90\x80\x80";
            units += u"\U00010000";
        } else if (i % 16 == 15) {
            bytes += static_cast<char>('a' + i % 26);
            units += static_cast<char16_t>('a' + i % 26);
        } else {
            bytes += '\xE9';
            units += u'\uFFFD';
        }
    }
    standin::steerString("ReadRecordTxtFieldName", bytes);
    FakeJni jni;
    const std::u16string got = jni.units(bridge().ReadRecordTxtFieldName(jni.env(), nullptr, 2, 1, 3));
    ok(got.size() == units.size(), "%zu units, expected %zu\n", got.size(), units.size());
    std::size_t wrong = 0, first = 0;
    for (std::size_t i = 0; i < std::min(got.size(), units.size()); ++i) {
        if (got[i] == units[i]) continue;
        if (!wrong++) first = i;
    }
    ok(wrong == 0, "%zu units differ, the first at %zu: %04X, expected %04X\n", wrong, first,
       wrong ? static_cast<unsigned>(got[first]) : 0u, static_cast<unsigned>(units[first]));
    const Lines log = jni.takeLog();
    ok(log.size() == 1 && log[0].compare(0, 10, "NewString(") == 0, "made by %zu operations, the first %.40s\n",
       log.size(), log.empty() ? "none" : log[0].c_str());
    expect_clean(jni);
    expect_calls("ReadRecordTxtFieldName(2, 1, 3)");
    expect_boxes();
}

}  // namespace
}  // namespace nt
