// The frame every native method runs first: the record library loaded on the first call and each
// function looked up on its first use, once; the load and lookup messages, 0 or null after them,
// and a retry on the next call; and 32 threads racing the first calls.
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <thread>

#include "child_process.h"
#include "support.h"

namespace nt {
namespace {

// The lookups a method's call makes, given the functions found before it.
Lines lookupsOf(const Method& m, std::vector<std::string>& found) {
    Lines lines;
    for (const std::string& function : m.functions) {
        if (std::find(found.begin(), found.end(), function) != found.end()) continue;
        lines.push_back(platform::lookupLine(function));
        found.push_back(function);
    }
    return lines;
}

// The first call of whichever method loads the record library and finds the functions it needs;
// a second call of the same method makes no platform call; the first call of another method then
// looks up its own function only.
SCENARIO_EACH("first-call", firstCallOf, Library::full, functionNames()) {
    const Method& m = method(parameter);
    ok(!standin::isLoaded(), "the record library is loaded before any native call\n");
    std::vector<std::string> found;
    {
        FakeJni jni;
        m.call(jni);
        Lines expected{platform::loadLine};
        for (const std::string& line : lookupsOf(m, found)) expected.push_back(line);
        expect_platform(expected);
        expect_boxes();
        expect_clean(jni);
    }
    ok(standin::isLoaded(), "the record library is not loaded after the first call\n");
    expect_calls(m.recordLibraryCalls);
    {
        FakeJni jni;
        m.call(jni);
        expect_platform();
        expect_calls(m.recordLibraryCalls);
        expect_clean(jni);
    }
    const Method& other = method(m.name == "ReadNumberOfRecords" ? "DeleteRecord" : "ReadNumberOfRecords");
    {
        FakeJni jni;
        other.call(jni);
        expect_platform(lookupsOf(other, found));
        expect_calls(other.recordLibraryCalls);
        expect_clean(jni);
    }
    expect_boxes();
}

// A byte-array read finds its size function through the entry the size method uses: whichever
// comes first fills it for both. In one process: the NIST pair read first, the binary pair size
// first; the second scenario the other way round.
void sizeEntryShared(bool readFirst) {
    const Bridge& b = bridge();
    struct Pair {
        const char* read;
        const char* size;
        std::function<void(FakeJni&)> callRead, callSize;
    };
    const Pair pairs[] = {
        {"ReadNISTByteArray", "ReadSizeOfNISTByteArray", [&b](FakeJni& j) { b.ReadNISTByteArray(j.env(), nullptr); },
         [&b](FakeJni& j) { b.ReadSizeOfNISTByteArray(j.env(), nullptr); }},
        {"ReadRecordBinaryField", "ReadSizeOfRecordBinaryField",
         [&b](FakeJni& j) { b.ReadRecordBinaryField(j.env(), nullptr, 1, 1); },
         [&b](FakeJni& j) { b.ReadSizeOfRecordBinaryField(j.env(), nullptr, 1, 1); }},
    };
    bool first = true;
    for (const Pair& pair : pairs) {
        Context context("%s and %s", pair.read, pair.size);
        const bool readNow = first == readFirst;
        FakeJni jni;
        Lines expected;
        if (first) expected.push_back(platform::loadLine);
        if (readNow) {
            pair.callRead(jni);
            expected.push_back(platform::lookupLine(pair.read));
            expected.push_back(platform::lookupLine(pair.size));
            expect_platform(expected);
            pair.callSize(jni);
            expect_platform();
        } else {
            pair.callSize(jni);
            expected.push_back(platform::lookupLine(pair.size));
            expect_platform(expected);
            pair.callRead(jni);
            expect_platform(platform::lookupLine(pair.read));
        }
        expect_clean(jni);
        first = false;
    }
    expect_boxes();
}

SCENARIO("first-call", sizeEntrySharedReadFirst, Library::full) { sizeEntryShared(true); }
SCENARIO("first-call", sizeEntrySharedSizeFirst, Library::full) { sizeEntryShared(false); }

// With no record library to load, every method shows the load message alone, returns 0 or null,
// converts nothing and calls no JNI function; and tries again on its next call.
SCENARIO("missing-library", everyMethodShowsTheLoadMessage, Library::none) {
    for (const Method& m : methods()) {
        Context context("%s", m.name.c_str());
        FakeJni jni;
        const Outcome result = m.call(jni);
        ok(result.isZero(), "returned %s after a failed load\n", result.text().c_str());
        expect_boxes(loadMessage);
        expect_platform(platform::loadLine);
        expect_jni(jni);
    }
    // The image method leaves the caller's dimensions as they were.
    FakeJni jni;
    jintArray dimensions = jni.intArray("dimensions", {7, 8});
    ok(!bridge().CreateHBITMAPfromRecordBinaryField(jni.env(), nullptr, dimensions, 2, 1), "an image after a failed load\n");
    ok(jni.ints(dimensions) == std::vector<jint>({7, 8}), "the dimensions changed after a failed load\n");
    expect_boxes(loadMessage);
    expect_platform(platform::loadLine);
    expect_jni(jni);
    ok(!standin::isLoaded(), "a record library is loaded\n");
}

// Once the record library is placed where the search finds it, the next call loads it.
SCENARIO("missing-library", placedLaterIsLoadedWithoutRestart, Library::none) {
    const Bridge& b = bridge();
    FakeJni jni;
    for (int attempt = 0; attempt < 2; ++attempt) {
        ok(b.ReadNumberOfRecords(jni.env(), nullptr, 1) == 0, "a result without a record library\n");
        expect_boxes(loadMessage);
        expect_platform(platform::loadLine);
    }
    std::filesystem::copy_file(std::filesystem::u8path(joinPath(joinPath(options().standins, "full"), standin::fileName())),
                               std::filesystem::u8path(joinPath(options().libraryDir, standin::fileName())));
    // The stand-in's NIST file holds its header record alone, of type 1.
    const jint count = b.ReadNumberOfRecords(jni.env(), nullptr, 1);
    ok(count == 1, "ReadNumberOfRecords(1) gave %d once the library was placed\n", static_cast<int>(count));
    expect_boxes();
    expect_platform(platform::loadLine, platform::lookupLine("ReadNumberOfRecords"));
    expect_calls("ReadNumberOfRecords(1)");
    expect_jni(jni);
}

// A record library lacking one function: every method that needs it shows that function's lookup
// message and returns 0 or null on every call, converting nothing and calling nothing of the
// record library, which stays loaded; every other method works; and the record library's last
// error message is still its own, never the bridge's.
SCENARIO_EACH("missing-function", lacking, Library::withoutFunction, functionNames()) {
    const std::string& missing = parameter;
    standin::load();
    standin::setLastError("the record library's own message");
    std::vector<std::string> found;
    bool loaded = false;
    for (const Method& m : methods()) {
        if (!m.needs(missing)) continue;
        for (int attempt = 1; attempt <= 2; ++attempt) {
            Context context("%s, call %d", m.name.c_str(), attempt);
            FakeJni jni;
            const Outcome result = m.call(jni);
            ok(result.isZero(), "returned %s without %s\n", result.text().c_str(), missing.c_str());
            expect_boxes(lookupMessage(missing));
            Lines expected;
            if (!loaded) expected.push_back(platform::loadLine);
            loaded = true;
            // Functions before the missing one are found once; the missing one is tried every time.
            for (const std::string& function : m.functions) {
                if (std::find(found.begin(), found.end(), function) == found.end())
                    expected.push_back(platform::lookupLine(function));
                if (function == missing) break;
                found.push_back(function);
            }
            expect_platform(expected);
            expect_calls();
            expect_jni(jni);
        }
    }
    if (missing != "ReadVelmoraLastErrorMessage") {
        FakeJni jni;
        jstring message = bridge().ReadVelmoraLastErrorMessage(jni.env(), nullptr);
        ok(jni.units(message) == u"the record library's own message", "the last error message is \"%s\"\n",
           modifiedUtf8(jni.units(message)).c_str());
        found.push_back("ReadVelmoraLastErrorMessage");
        standin::takeCalls();
        platform::takeCalls();
        expect_boxes();
    }
    for (const Method& m : methods()) {
        if (m.needs(missing)) continue;
        Context context("%s", m.name.c_str());
        FakeJni jni;
        m.call(jni);
        expect_boxes();
        expect_platform(lookupsOf(m, found));
        expect_calls(m.recordLibraryCalls);
        expect_clean(jni);
    }
}

// 32 threads make their first calls at once, each with its own JNIEnv: all get the right results,
// no box is shown, and at worst a load or lookup is made more than once. Under ThreadSanitizer
// this is the check that the binding's shared words are raced on safely.
SCENARIO("race", thirtyTwoThreadsRaceTheFirstCalls, Library::full) {
    constexpr int threads = 32;
    const Bridge& b = bridge();
    std::atomic<int> ready{0};
    std::atomic<bool> go{false};
    std::vector<std::string> nistFiles(threads);
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) {
        pool.emplace_back([&, t] {
            Context context("thread %d", t);
            catchBoxesOnThisThread();
            {
                FakeJni jni;
                const jint field = 100 + t;
                ++ready;
                while (!go) std::this_thread::yield();
                // The stand-in names a field it does not know "FLD" and its number.
                const std::string name = "FLD" + std::to_string(field);
                jstring fieldName = b.ReadRecordTxtFieldName(jni.env(), nullptr, 2, 1, field);
                ok(jni.units(fieldName) == utf16(name), "field name \"%s\"\n", modifiedUtf8(jni.units(fieldName)).c_str());
                ok(b.ReadNumberOfRecords(jni.env(), nullptr, 1) == 1, "ReadNumberOfRecords(1)\n");
                ok(b.CheckIfRecordTypeExists(jni.env(), nullptr, 1) == 1, "CheckIfRecordTypeExists(1)\n");
                const std::string description = "2." + std::to_string(field) + ": User-defined field";
                jstring text = b.ReadRecordTxtFieldDescription(jni.env(), nullptr, 2, 1, field, jni.string("item", ""));
                ok(jni.units(text) == utf16(description), "description \"%s\"\n", modifiedUtf8(jni.units(text)).c_str());
                nistFiles[static_cast<std::size_t>(t)] = jni.bytes(b.ReadNISTByteArray(jni.env(), nullptr));
                expect_clean(jni);
            }
            stopCatchingBoxesOnThisThread();
        });
    }
    while (ready < threads) std::this_thread::yield();
    go = true;
    for (std::thread& thread : pool) thread.join();
    expect_boxes();

    std::map<std::string, int> counts;
    for (const std::string& line : platform::takeCalls()) ++counts[line];
    const Lines expected{platform::loadLine,
                         platform::lookupLine("ReadRecordTxtFieldName"),
                         platform::lookupLine("ReadNumberOfRecords"),
                         platform::lookupLine("CheckIfRecordTypeExists"),
                         platform::lookupLine("ReadRecordTxtFieldDescription"),
                         platform::lookupLine("ReadNISTByteArray"),
                         platform::lookupLine("ReadSizeOfNISTByteArray")};
    for (const std::string& line : expected) {
        ok(counts[line] >= 1 && counts[line] <= threads, "\"%s\" made %d times\n", line.c_str(), counts[line]);
        counts.erase(line);
    }
    for (const auto& [line, count] : counts) ok(false, "unexpected platform call \"%s\", %d times\n", line.c_str(), count);

    // Every thread got the stand-in's whole NIST file, as the stand-in itself hands it out.
    const int size = reinterpret_cast<int (*)()>(standin::symbol("ReadSizeOfNISTByteArray"))();
    const auto* bytes = reinterpret_cast<const unsigned char* (*)()>(standin::symbol("ReadNISTByteArray"))();
    const std::string file(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
    for (int t = 0; t < threads; ++t)
        ok(nistFiles[static_cast<std::size_t>(t)] == file, "thread %d got %zu bytes of the NIST file\n", t,
           nistFiles[static_cast<std::size_t>(t)].size());
    const Lines calls = standin::takeCalls();
    std::map<std::string, int> perFunction;
    for (const std::string& call : calls) ++perFunction[call.substr(0, call.find('('))];
    for (const auto& [function, count] : perFunction)
        ok(count == (function == "ReadNISTByteArray" || function == "ReadSizeOfNISTByteArray" ? threads + 1 : threads),
           "the record library received %d calls of %s\n", count, function.c_str());
    ok(perFunction.size() == 6, "the record library received calls of %zu functions\n", perFunction.size());

    // All set now: no platform call at all.
    FakeJni jni;
    b.ReadRecordTxtFieldName(jni.env(), nullptr, 2, 1, 3);
    b.ReadNISTByteArray(jni.env(), nullptr);
    expect_platform();
    expect_clean(jni);
}

}  // namespace
}  // namespace nt
