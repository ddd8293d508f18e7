// NIST file transfer and record queries: what each method hands the record library, in order,
// and the JNI operations it makes for it; and a NIST file written to and read back from a path
// beyond ASCII, and through memory.
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "child_process.h"
#include "support.h"

namespace nt {
namespace {

const Lines pathChars{"GetStringUTFChars(path, isCopy=null)", "ReleaseStringUTFChars(path)"};
// The elements of a byte-array argument: obtained with a local isCopy flag, released with
// JNI_ABORT (read only), after a check that the byte count lies within the array.
const Lines dataElements{"GetArrayLength(data)", "GetByteArrayElements(data, isCopy=&0)",
                         "ReleaseByteArrayElements(data, JNI_ABORT)"};

const std::vector<CallCase> cases = {
    {"CreateNewNISTFile", [](FakeJni& j) { bridge().CreateNewNISTFile(j.env(), nullptr); }, {"CreateNewNISTFile()"}, {}},
    {"WriteNISTToFile", [](FakeJni& j) { bridge().WriteNISTToFile(j.env(), nullptr, j.string("path", "")); },
     {"WriteNISTToFile(\"\")"}, pathChars},
    {"ReadNISTFromFile", [](FakeJni& j) { bridge().ReadNISTFromFile(j.env(), nullptr, j.string("path", "no-file")); },
     {"ReadNISTFromFile(\"no-file\")"}, pathChars},
    {"ReadNISTFromMemory, the whole array",
     [](FakeJni& j) { bridge().ReadNISTFromMemory(j.env(), nullptr, j.byteArray("data", std::string("1.\0\xFF", 4)), 4); },
     {"ReadNISTFromMemory([312E00FF], 4)"}, dataElements},
    {"ReadNISTFromMemory, a length below the array's",
     [](FakeJni& j) { bridge().ReadNISTFromMemory(j.env(), nullptr, j.byteArray("data", "1.001:"), 2); },
     {"ReadNISTFromMemory([312E], 2)"}, dataElements},
    {"ReadNISTFromMemory, length 0",
     [](FakeJni& j) { bridge().ReadNISTFromMemory(j.env(), nullptr, j.byteArray("data", "1."), 0); },
     {"ReadNISTFromMemory([], 0)"}, dataElements},
    {"ReadSizeOfNISTByteArray", [](FakeJni& j) { bridge().ReadSizeOfNISTByteArray(j.env(), nullptr); },
     {"ReadSizeOfNISTByteArray()"}, {}},
    {"CheckIfRecordTypeExists", [](FakeJni& j) { bridge().CheckIfRecordTypeExists(j.env(), nullptr, INT_MIN); },
     {"CheckIfRecordTypeExists(-2147483648)"}, {}},
    {"ReadNumberOfRecords", [](FakeJni& j) { bridge().ReadNumberOfRecords(j.env(), nullptr, INT_MAX); },
     {"ReadNumberOfRecords(2147483647)"}, {}},
    {"ReadIDCofRecord", [](FakeJni& j) { bridge().ReadIDCofRecord(j.env(), nullptr, 14, -1); },
     {"ReadIDCofRecord(14, -1)"}, {}},
    {"ReadIDCofRecord, extremes", [](FakeJni& j) { bridge().ReadIDCofRecord(j.env(), nullptr, INT_MAX, INT_MIN); },
     {"ReadIDCofRecord(2147483647, -2147483648)"}, {}},
};

SCENARIO("transfer-queries", argumentsReachTheRecordLibrary, Library::full) {
    standin::load();
    expectEachCase(cases);
    expect_boxes();
}

std::string contentsOf(const std::string& path) {
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A NIST file written to a path with characters beyond ASCII, read back from it, and read back
// from memory: the same bytes each way.
SCENARIO("transfer-queries", nistFileRoundTrips, Library::full) {
    const Bridge& b = bridge();
    FakeJni jni;
    ok(b.CreateNewNISTFile(jni.env(), nullptr) == 0, "CreateNewNISTFile failed\n");
    ok(b.InsertRecordTxtField(jni.env(), nullptr, 2, 1, 3, jni.string("item", ""), jni.string("value", "caf\u00E9")) == 0,
       "InsertRecordTxtField failed\n");
    const std::string file = jni.bytes(b.ReadNISTByteArray(jni.env(), nullptr));
    ok(file.find("2.003:caf\xC3\xA9") != std::string::npos, "the field is not in the file\n");

    const std::string path = joinPath(options().scratch, "nist-\u00E9\u20AC.an2");
    ok(b.WriteNISTToFile(jni.env(), nullptr, jni.string("path", path)) == 0, "WriteNISTToFile failed\n");
    ok(contentsOf(path) == file, "the file at the path holds %zu bytes, not the %zu of the NIST file\n",
       contentsOf(path).size(), file.size());
    b.CreateNewNISTFile(jni.env(), nullptr);
    ok(b.ReadNISTFromFile(jni.env(), nullptr, jni.string("path", path)) == 0, "ReadNISTFromFile failed\n");
    ok(jni.bytes(b.ReadNISTByteArray(jni.env(), nullptr)) == file, "the file read back differs\n");

    b.CreateNewNISTFile(jni.env(), nullptr);
    ok(b.ReadNISTFromMemory(jni.env(), nullptr, jni.byteArray("data", file), static_cast<jint>(file.size())) == 0,
       "ReadNISTFromMemory failed\n");
    ok(b.ReadSizeOfNISTByteArray(jni.env(), nullptr) == static_cast<jint>(file.size()), "the size differs\n");
    ok(jni.bytes(b.ReadNISTByteArray(jni.env(), nullptr)) == file, "the file read from memory differs\n");
    expect_clean(jni);
    expect_boxes();
}

}  // namespace
}  // namespace nt
