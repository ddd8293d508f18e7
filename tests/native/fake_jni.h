// A fake JNIEnv: the real JNINativeInterface_ table of jni.h, in which every slot traps except the
// operations the bridge may use. It records each operation in order with its arguments, hands out
// copies of array elements (so a missing or wrong-mode release loses data and shows), and finds the
// faults a real VM would not report: anything obtained and not released exactly once, a JNI call
// inside a critical region, a JNI call other than a release with an exception pending, bytes given
// to NewStringUTF that are not modified UTF-8, writes past the end of handed-out elements.
//
// One FakeJni per thread, as a JNIEnv is.
#pragma once

#include <jni.h>

#include <cstddef>
#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace nt {

// The operations the bridge may use, by their index in the function table.
namespace jni_op {
constexpr int FindClass = 6;
constexpr int ThrowNew = 14;
constexpr int NewString = 163;
constexpr int NewStringUTF = 167;
constexpr int GetStringUTFChars = 169;
constexpr int ReleaseStringUTFChars = 170;
constexpr int GetArrayLength = 171;
constexpr int NewByteArray = 176;
constexpr int NewIntArray = 179;
constexpr int GetByteArrayElements = 184;
constexpr int ReleaseByteArrayElements = 192;
constexpr int GetPrimitiveArrayCritical = 222;
constexpr int ReleasePrimitiveArrayCritical = 223;
constexpr int ExceptionCheck = 228;
}  // namespace jni_op

class FakeJni {
public:
    FakeJni();
    ~FakeJni();
    FakeJni(const FakeJni&) = delete;
    FakeJni& operator=(const FakeJni&) = delete;

    JNIEnv* env() { return &holder_.env; }

    // Objects that the test hands to the bridge (their creation is not logged).
    jstring string(const std::string& label, const std::u16string& units);
    jstring string(const std::string& label, const std::string& utf8);
    jbyteArray byteArray(const std::string& label, const std::string& bytes);
    jintArray intArray(const std::string& label, const std::vector<jint>& elements);
    jclass velmoraClass();

    // What an object holds now; a reference that is not a fake object of that kind fails the test.
    std::u16string units(jobject string);
    std::string bytes(jobject byteArray);
    std::vector<jint> ints(jobject intArray);
    std::string label(jobject object);

    // The operations since the last take, one line each, e.g. "GetStringUTFChars(item, isCopy=null)".
    // Notes (see note()) are left out unless asked for.
    std::vector<std::string> takeLog(bool withNotes = false);

    // The class name of the pending exception, "" when none, and its message; clearing it is the
    // test's, not the bridge's.
    std::string pendingException() const { return pending_; }
    std::string pendingMessage() const { return pendingMessage_; }
    void clearException() {
        pending_.clear();
        pendingMessage_.clear();
    }

    // How a failing operation leaves the VM: with an OutOfMemoryError of the VM's own pending
    // (message vmOutOfMemory), as a VM out of memory does; or with nothing pending, as HotSpot's
    // GetStringUTFChars and Get<Type>ArrayElements do when the native heap cannot hold the copy.
    // A failing FindClass always leaves its own NoClassDefFoundError, the class name its message.
    enum class Failure { withException, silent };
    static constexpr const char* vmOutOfMemory = "thrown by the VM";

    // A later call of the operation (a jni_op index) fails, the next one or the one after `skip`
    // more: it returns null. Failures of different operations can be planned together.
    void failNext(int operation, int skip = 0, Failure failure = Failure::withException) {
        plans_.push_back({operation, skip, failure});
    }

    // Reports every fault found so far, everything still held, an open critical region and a planned
    // failure that never came; then forgets them. Called at the end of each call under test (the
    // destructor also reports).
    void expectClean(const char* file, int line);

    // For the platform-call logs: what a pointer is to the current thread's fake ("elements of new1").
    static std::string describePointer(const void* pointer);
    // Adds a line to the current thread's fake's log, marked as a note: other calls in between.
    static void note(const std::string& line);

    struct Object;
    struct Held;

private:
    struct Holder {
        JNIEnv env;
        FakeJni* self;
    };
    static FakeJni& self(JNIEnv* env) { return *reinterpret_cast<Holder*>(env)->self; }
    static const JNINativeInterface_& table();
    template <std::size_t... Index>
    static void fillTraps(void** slots, std::index_sequence<Index...>);
    template <std::size_t Index>
    static void* JNICALL trap(JNIEnv* env);

    // Every operation first: faults for a call inside a critical region or with an exception pending.
    void enter(int operation, const char* name);
    bool failing(int operation);
    void record(const std::string& line) { log_.push_back(line); }
    void fault(const std::string& what) { faults_.push_back(what); }
    Object* find(jobject object, int kinds, const char* operation);
    Object& create(int kind, const std::string& label);
    jobject handle(Object& object) { return reinterpret_cast<jobject>(&object); }
    void* copyOut(Object& object, int operation);
    Held* findHeld(Object* object, const void* pointer, int getOperation, const char* operation);
    void release(Held* held, jint mode, const char* operation);

    static jclass JNICALL findClass(JNIEnv* env, const char* name);
    static jint JNICALL throwNew(JNIEnv* env, jclass type, const char* message);
    static jstring JNICALL newString(JNIEnv* env, const jchar* units, jsize length);
    static jstring JNICALL newStringUTF(JNIEnv* env, const char* bytes);
    static const char* JNICALL getStringUTFChars(JNIEnv* env, jstring string, jboolean* isCopy);
    static void JNICALL releaseStringUTFChars(JNIEnv* env, jstring string, const char* chars);
    static jsize JNICALL getArrayLength(JNIEnv* env, jarray array);
    static jbyteArray JNICALL newByteArray(JNIEnv* env, jsize length);
    static jintArray JNICALL newIntArray(JNIEnv* env, jsize length);
    static jbyte* JNICALL getByteArrayElements(JNIEnv* env, jbyteArray array, jboolean* isCopy);
    static void JNICALL releaseByteArrayElements(JNIEnv* env, jbyteArray array, jbyte* elements, jint mode);
    static void* JNICALL getPrimitiveArrayCritical(JNIEnv* env, jarray array, jboolean* isCopy);
    static void JNICALL releasePrimitiveArrayCritical(JNIEnv* env, jarray array, void* elements, jint mode);
    static jboolean JNICALL exceptionCheck(JNIEnv* env);

    Holder holder_;
    std::deque<Object*> objects_;
    std::vector<Held*> held_;
    std::vector<std::string> log_;
    std::vector<std::string> faults_;
    std::string pending_;
    std::string pendingMessage_;
    int critical_ = 0;
    struct Plan {
        int operation;
        int skip;
        Failure failure;
    };
    std::vector<Plan> plans_;
    int created_ = 0;
    jclass velmoraClass_ = nullptr;
    FakeJni* previous_;
};

// Text helpers shared with the tests.
std::string quoted(const std::string& bytes);           // "a\xC3\xA9" as the stand-in's call log writes it
std::string unitsText(const std::u16string& units);     // [0061 00E9]
std::string modifiedUtf8(const std::u16string& units);  // as GetStringUTFChars gives it
std::u16string utf16(const std::string& utf8);          // standard UTF-8 decoded

}  // namespace nt

#define expect_clean(jni) (jni).expectClean(__FILE__, __LINE__)
