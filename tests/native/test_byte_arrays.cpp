// The two byte-array reads, ReadNISTByteArray and ReadRecordBinaryField: the size asked first with
// the same arguments as the read, both called even for size 0, exactly that many bytes copied out of
// a longer buffer into a new array released in mode 0.
#include "support.h"

namespace nt {
namespace {

struct Pair {
    const char* read;
    const char* size;
    std::string arguments;  // as the call log writes them
    jbyteArray (*call)(FakeJni&);
};

const Pair pairs[] = {
    {"ReadNISTByteArray", "ReadSizeOfNISTByteArray", "()",
     [](FakeJni& j) { return bridge().ReadNISTByteArray(j.env(), nullptr); }},
    {"ReadRecordBinaryField", "ReadSizeOfRecordBinaryField", "(7, -3)",
     [](FakeJni& j) { return bridge().ReadRecordBinaryField(j.env(), nullptr, 7, -3); }},
};

// The buffer the record library hands out; the stand-in puts guard bytes behind it as well.
const std::string buffer("NIST\x00\xFF\x1C\x1D" "end", 11);

struct Case {
    const char* what;
    int size;
    std::string bytes;  // the buffer the read function returns
    std::string expected;
};

const Case cases[] = {
    {"size 0", 0, buffer, ""},
    {"a size below the buffer's", 5, buffer, buffer.substr(0, 5)},
    {"the whole buffer", 11, buffer, buffer},
    {"1 MiB", 1 << 20, std::string(1 << 20, '\x5A') + "tail", std::string(1 << 20, '\x5A')},
};

SCENARIO("byte-arrays", exactlyTheSizeCopied, Library::full) {
    standin::load();
    for (const Pair& pair : pairs) {
        for (const Case& c : cases) {
            Context context("%s, %s", pair.read, c.what);
            standin::steerInt(pair.size, c.size);
            standin::steerBytes(pair.read, c.bytes);
            FakeJni jni;
            jbyteArray result = pair.call(jni);
            ok(result != nullptr, "null in place of an array\n");
            const std::string got = jni.bytes(result);
            ok(got == c.expected, "got %zu bytes, expected %zu\n", got.size(), c.expected.size());
            expect_calls(std::string(pair.size) + pair.arguments, std::string(pair.read) + pair.arguments);
            expect_jni(jni, "NewByteArray(" + std::to_string(c.size) + ") = new1", "GetByteArrayElements(new1, isCopy=null)",
                       "ReleaseByteArrayElements(new1, 0)");
        }
    }
    expect_boxes();
}

// Each call makes a new array, and a later call leaves an earlier array as it was.
SCENARIO("byte-arrays", eachCallANewArray, Library::full) {
    standin::load();
    for (const Pair& pair : pairs) {
        Context context("%s", pair.read);
        FakeJni jni;
        standin::steerInt(pair.size, 3);
        standin::steerBytes(pair.read, "one");
        jbyteArray first = pair.call(jni);
        standin::steerBytes(pair.read, "two");
        jbyteArray second = pair.call(jni);
        ok(first != second, "the same array twice\n");
        ok(jni.bytes(first) == "one" && jni.bytes(second) == "two", "got \"%s\" and \"%s\"\n", jni.bytes(first).c_str(),
           jni.bytes(second).c_str());
        standin::takeCalls();
        expect_clean(jni);
    }
}

}  // namespace
}  // namespace nt
