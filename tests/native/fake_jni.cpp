#include "fake_jni.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runner.h"

namespace nt {

namespace {

enum Kind { kString = 1, kByteArray = 2, kIntArray = 4, kClass = 8 };

// Handed-out copies carry guard bytes behind them, checked when they come back.
constexpr std::size_t guardSize = 16;
constexpr unsigned char guardByte = 0xA5;

thread_local FakeJni* current = nullptr;

const char* kindName(int kind) {
    switch (kind) {
    case kString: return "a String";
    case kByteArray: return "a byte array";
    case kIntArray: return "an int array";
    case kClass: return "a class";
    default: return "an array";
    }
}

std::string modeName(jint mode) {
    if (mode == 0) return "0";
    if (mode == JNI_COMMIT) return "JNI_COMMIT";
    if (mode == JNI_ABORT) return "JNI_ABORT";
    return "mode " + std::to_string(static_cast<int>(mode));
}

std::string isCopyText(const jboolean* isCopy) {
    return isCopy ? "&" + std::to_string(static_cast<int>(*isCopy)) : std::string("null");
}

const char* operationName(int operation) {
    switch (operation) {
    case jni_op::FindClass: return "FindClass";
    case jni_op::ThrowNew: return "ThrowNew";
    case jni_op::NewString: return "NewString";
    case jni_op::NewStringUTF: return "NewStringUTF";
    case jni_op::GetStringUTFChars: return "GetStringUTFChars";
    case jni_op::ReleaseStringUTFChars: return "ReleaseStringUTFChars";
    case jni_op::GetArrayLength: return "GetArrayLength";
    case jni_op::NewByteArray: return "NewByteArray";
    case jni_op::NewIntArray: return "NewIntArray";
    case jni_op::GetByteArrayElements: return "GetByteArrayElements";
    case jni_op::ReleaseByteArrayElements: return "ReleaseByteArrayElements";
    case jni_op::GetPrimitiveArrayCritical: return "GetPrimitiveArrayCritical";
    case jni_op::ReleasePrimitiveArrayCritical: return "ReleasePrimitiveArrayCritical";
    case jni_op::ExceptionCheck: return "ExceptionCheck";
    default: return "an operation the fake does not know";
    }
}

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes modified UTF-8 as the JNI defines it; false for bytes that are not.
bool decodeModifiedUtf8(const unsigned char* p, std::u16string& out) {
    while (*p) {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            out += static_cast<char16_t>(lead);
            p += 1;
        } else if ((lead & 0xE0) == 0xC0 && isContinuation(p[1])) {
            const char16_t value = static_cast<char16_t>(((lead & 0x1F) << 6) | (p[1] & 0x3F));
            if (value != 0 && value < 0x80) return false;
            out += value;
            p += 2;
        } else if ((lead & 0xF0) == 0xE0 && isContinuation(p[1]) && isContinuation(p[2])) {
            const char16_t value =
                static_cast<char16_t>(((lead & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
            if (value < 0x800) return false;
            out += value;
            p += 3;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

struct FakeJni::Object {
    int kind;
    std::string label;
    std::u16string units;   // String
    std::string bytes;      // byte array
    std::vector<jint> ints; // int array
    std::size_t payload() const {
        return kind == kByteArray ? bytes.size() : kind == kIntArray ? ints.size() * sizeof(jint) : 0;
    }
    void* data() { return kind == kByteArray ? static_cast<void*>(bytes.data()) : static_cast<void*>(ints.data()); }
};

struct FakeJni::Held {
    Object* object;
    int getOperation;
    unsigned char* pointer;
    std::size_t size;  // bytes handed out, before the guard
};

// ---- text helpers ----

std::string quoted(const std::string& bytes) {
    std::string out = "\"";
    for (unsigned char byte : bytes) {
        if (byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\') {
            out += static_cast<char>(byte);
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        }
    }
    return out + "\"";
}

std::string unitsText(const std::u16string& units) {
    std::string out = "[";
    for (std::size_t i = 0; i < units.size(); ++i) {
        char digits[6];
        std::snprintf(digits, sizeof digits, "%s%04X", i ? " " : "", static_cast<unsigned>(units[i]));
        out += digits;
    }
    return out + "]";
}

std::string modifiedUtf8(const std::u16string& units) {
    std::string out;
    for (char16_t unit : units) {
        if (unit >= 0x01 && unit <= 0x7F) {
            out += static_cast<char>(unit);
        } else if (unit <= 0x7FF) {
            out += static_cast<char>(0xC0 | (unit >> 6));
            out += static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (unit >> 12));
            out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    return out;
}

std::u16string utf16(const std::string& utf8) {
    std::u16string out;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* end = p + utf8.size();
    while (p < end) {
        char32_t c = *p;
        int more = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        if (more) c &= 0x3F >> more;
        for (++p; more-- > 0 && p < end; ++p) c = (c << 6) | (*p & 0x3F);
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

// ---- the function table ----

template <std::size_t Index>
void* JNICALL FakeJni::trap(JNIEnv* env) {
    FakeJni& f = self(env);
    f.record("trap " + std::to_string(Index));
    f.fault("called JNI function " + std::to_string(Index) + " of the table, which the bridge may not use");
    return nullptr;
}

template <std::size_t... Index>
void FakeJni::fillTraps(void** slots, std::index_sequence<Index...>) {
    ((slots[Index] = reinterpret_cast<void*>(&FakeJni::trap<Index>)), ...);
}

// The table is all pointers: slot i of the standard numbering is the i-th pointer.
constexpr std::size_t slotCount = sizeof(JNINativeInterface_) / sizeof(void*);
static_assert(sizeof(JNINativeInterface_) % sizeof(void*) == 0, "the JNI table holds pointers only");
#define NT_SLOT(name) static_assert(offsetof(JNINativeInterface_, name) == jni_op::name * sizeof(void*), #name)
NT_SLOT(FindClass);
NT_SLOT(ThrowNew);
NT_SLOT(NewString);
NT_SLOT(NewStringUTF);
NT_SLOT(GetStringUTFChars);
NT_SLOT(ReleaseStringUTFChars);
NT_SLOT(GetArrayLength);
NT_SLOT(NewByteArray);
NT_SLOT(NewIntArray);
NT_SLOT(GetByteArrayElements);
NT_SLOT(ReleaseByteArrayElements);
NT_SLOT(GetPrimitiveArrayCritical);
NT_SLOT(ReleasePrimitiveArrayCritical);
NT_SLOT(ExceptionCheck);
#undef NT_SLOT

const JNINativeInterface_& FakeJni::table() {
    static const JNINativeInterface_ built = [] {
        void* slots[slotCount];
        fillTraps(slots, std::make_index_sequence<slotCount>{});
        JNINativeInterface_ t;
        std::memcpy(&t, slots, sizeof t);
        t.FindClass = &findClass;
        t.ThrowNew = &throwNew;
        t.NewString = &newString;
        t.NewStringUTF = &newStringUTF;
        t.GetStringUTFChars = &getStringUTFChars;
        t.ReleaseStringUTFChars = &releaseStringUTFChars;
        t.GetArrayLength = &getArrayLength;
        t.NewByteArray = &newByteArray;
        t.NewIntArray = &newIntArray;
        t.GetByteArrayElements = &getByteArrayElements;
        t.ReleaseByteArrayElements = &releaseByteArrayElements;
        t.GetPrimitiveArrayCritical = &getPrimitiveArrayCritical;
        t.ReleasePrimitiveArrayCritical = &releasePrimitiveArrayCritical;
        t.ExceptionCheck = &exceptionCheck;
        return t;
    }();
    return built;
}

// ---- life ----

FakeJni::FakeJni() : previous_(current) {
    holder_.env.functions = &table();
    holder_.self = this;
    current = this;
}

FakeJni::~FakeJni() {
    expectClean(__FILE__, __LINE__);
    for (Object* object : objects_) delete object;
    current = previous_;
}

void FakeJni::expectClean(const char* file, int line) {
    for (const std::string& what : faults_) checkAt(file, line, false, "%s", what.c_str());
    faults_.clear();
    for (Held* held : held_) {
        const char* operation = held->getOperation == jni_op::GetStringUTFChars      ? "GetStringUTFChars"
                                : held->getOperation == jni_op::GetByteArrayElements ? "GetByteArrayElements"
                                                                                     : "GetPrimitiveArrayCritical";
        checkAt(file, line, false, "what %s gave for %s was never released", operation, held->object->label.c_str());
        std::free(held->pointer);
        delete held;
    }
    held_.clear();
    critical_ = 0;
    for (const Plan& plan : plans_)
        checkAt(file, line, false, "the planned failure of %s (after %d more) never came\n", operationName(plan.operation),
                plan.skip);
    plans_.clear();
}

// ---- objects of the test ----

FakeJni::Object& FakeJni::create(int kind, const std::string& label) {
    auto* object = new Object{kind, label.empty() ? "new" + std::to_string(++created_) : label, {}, {}, {}};
    objects_.push_back(object);
    return *object;
}

jstring FakeJni::string(const std::string& label, const std::u16string& units) {
    Object& object = create(kString, label);
    object.units = units;
    return static_cast<jstring>(handle(object));
}

jstring FakeJni::string(const std::string& label, const std::string& utf8) { return string(label, utf16(utf8)); }

jbyteArray FakeJni::byteArray(const std::string& label, const std::string& bytes) {
    Object& object = create(kByteArray, label);
    object.bytes = bytes;
    return static_cast<jbyteArray>(handle(object));
}

jintArray FakeJni::intArray(const std::string& label, const std::vector<jint>& elements) {
    Object& object = create(kIntArray, label);
    object.ints = elements;
    return static_cast<jintArray>(handle(object));
}

jclass FakeJni::velmoraClass() {
    if (!velmoraClass_) velmoraClass_ = static_cast<jclass>(handle(create(kClass, "corvelle/Velmora")));
    return velmoraClass_;
}

std::u16string FakeJni::units(jobject string) {
    Object* object = string ? find(string, kString, "the test reading a String") : nullptr;
    return object ? object->units : std::u16string();
}

std::string FakeJni::bytes(jobject array) {
    Object* object = array ? find(array, kByteArray, "the test reading a byte array") : nullptr;
    return object ? object->bytes : std::string();
}

std::vector<jint> FakeJni::ints(jobject array) {
    Object* object = array ? find(array, kIntArray, "the test reading an int array") : nullptr;
    return object ? object->ints : std::vector<jint>();
}

std::string FakeJni::label(jobject reference) {
    if (!reference) return "null";
    Object* object = find(reference, kString | kByteArray | kIntArray | kClass, "the test naming an object");
    return object ? object->label : "?";
}

std::vector<std::string> FakeJni::takeLog(bool withNotes) {
    std::vector<std::string> lines;
    for (std::string& line : log_)
        if (withNotes || line.compare(0, 5, "note ") != 0) lines.push_back(std::move(line));
    log_.clear();
    return lines;
}

std::string FakeJni::describePointer(const void* pointer) {
    if (!current) return "a pointer";
    for (Held* held : current->held_) {
        if (held->pointer == pointer) return "elements of " + held->object->label;
        const auto* p = static_cast<const unsigned char*>(pointer);
        if (p > held->pointer && p < held->pointer + held->size) return "inside elements of " + held->object->label;
    }
    return pointer ? "a pointer the fake did not hand out" : "null";
}

void FakeJni::note(const std::string& line) {
    if (current) current->record("note " + line);
}

// ---- shared steps of the operations ----

void FakeJni::enter(int operation, const char* name) {
    // The releases, and the check for a pending exception itself, are the JNI calls the bridge may
    // make with an exception pending.
    const bool safeWhilePending = operation == jni_op::ExceptionCheck || operation == jni_op::ReleaseStringUTFChars ||
                                  operation == jni_op::ReleaseByteArrayElements ||
                                  operation == jni_op::ReleasePrimitiveArrayCritical;
    if (critical_ > 0 && operation != jni_op::ReleasePrimitiveArrayCritical)
        fault(std::string(name) + " called inside a critical region");
    if (!pending_.empty() && !safeWhilePending) fault(std::string(name) + " called with " + pending_ + " pending");
}

bool FakeJni::failing(int operation) {
    for (auto plan = plans_.begin(); plan != plans_.end(); ++plan) {
        if (plan->operation != operation) continue;
        if (plan->skip-- > 0) continue;
        if (plan->failure == Failure::withException) {
            pending_ = "java/lang/OutOfMemoryError";
            pendingMessage_ = vmOutOfMemory;
        }
        plans_.erase(plan);
        return true;
    }
    return false;
}

FakeJni::Object* FakeJni::find(jobject reference, int kinds, const char* operation) {
    if (!reference) {
        fault(std::string(operation) + " got a null reference");
        return nullptr;
    }
    for (Object* object : objects_) {
        if (handle(*object) != reference) continue;
        if (!(object->kind & kinds)) {
            fault(std::string(operation) + " got " + kindName(object->kind) + " (" + object->label + ") in place of " +
                  kindName(kinds));
            return nullptr;
        }
        return object;
    }
    fault(std::string(operation) + " got a reference that is no object of this JNIEnv");
    return nullptr;
}

void* FakeJni::copyOut(Object& object, int operation) {
    std::string utf;
    const void* source = object.data();
    std::size_t size = object.payload();
    if (object.kind == kString) {
        utf = modifiedUtf8(object.units);
        source = utf.c_str();
        size = utf.size() + 1;
    }
    auto* pointer = static_cast<unsigned char*>(std::malloc(size + guardSize));
    if (size) std::memcpy(pointer, source, size);
    std::memset(pointer + size, guardByte, guardSize);
    held_.push_back(new Held{&object, operation, pointer, size});
    return pointer;
}

FakeJni::Held* FakeJni::findHeld(Object* object, const void* pointer, int getOperation, const char* operation) {
    for (Held* held : held_)
        if (held->object == object && held->pointer == pointer && held->getOperation == getOperation) return held;
    fault(std::string(operation) + " of " + object->label + " with a pointer that is not held (never obtained, or released before)");
    return nullptr;
}

void FakeJni::release(Held* held, jint mode, const char* operation) {
    Object& object = *held->object;
    for (std::size_t i = 0; i < guardSize; ++i) {
        if (held->pointer[held->size + i] != guardByte) {
            fault(std::string(operation) + " of " + object.label + ": something wrote past the end of the elements");
            break;
        }
    }
    if (mode != 0 && mode != JNI_COMMIT && mode != JNI_ABORT) {
        fault(std::string(operation) + " of " + object.label + " with an unknown mode");
        return;
    }
    if ((mode == 0 || mode == JNI_COMMIT) && object.kind != kString && held->size)
        std::memcpy(object.data(), held->pointer, held->size);
    if (mode == JNI_COMMIT) return;
    // Poisoned, so that a pointer kept after its release reads nonsense.
    std::memset(held->pointer, 0xDD, held->size);
    std::free(held->pointer);
    if (held->getOperation == jni_op::GetPrimitiveArrayCritical) --critical_;
    for (auto it = held_.begin(); it != held_.end(); ++it) {
        if (*it == held) {
            held_.erase(it);
            break;
        }
    }
    delete held;
}

// ---- the operations ----

jclass JNICALL FakeJni::findClass(JNIEnv* env, const char* name) {
    FakeJni& f = self(env);
    f.enter(jni_op::FindClass, "FindClass");
    std::string className = name ? name : "(null)";
    if (f.failing(jni_op::FindClass)) {
        f.record("FindClass(" + className + ") = null");
        f.pending_ = "java/lang/NoClassDefFoundError";
        f.pendingMessage_ = className;
        return nullptr;
    }
    f.record("FindClass(" + className + ")");
    return static_cast<jclass>(f.handle(f.create(kClass, className)));
}

jint JNICALL FakeJni::throwNew(JNIEnv* env, jclass type, const char* message) {
    FakeJni& f = self(env);
    f.enter(jni_op::ThrowNew, "ThrowNew");
    Object* object = f.find(type, kClass, "ThrowNew");
    f.record("ThrowNew(" + (object ? object->label : std::string("?")) + ")");
    if (object) {
        f.pending_ = object->label;
        f.pendingMessage_ = message ? message : "";
    }
    return 0;
}

jstring JNICALL FakeJni::newString(JNIEnv* env, const jchar* units, jsize length) {
    FakeJni& f = self(env);
    f.enter(jni_op::NewString, "NewString");
    std::u16string text;
    if (length < 0 || (length > 0 && !units))
        f.fault("NewString given " + std::to_string(static_cast<int>(length)) + " units at " + (units ? "a pointer" : "null"));
    else
        text.assign(reinterpret_cast<const char16_t*>(units), static_cast<std::size_t>(length));
    if (f.failing(jni_op::NewString)) {
        f.record("NewString(" + unitsText(text) + ") = null");
        return nullptr;
    }
    Object& object = f.create(kString, "");
    object.units = text;
    f.record("NewString(" + unitsText(text) + ") = " + object.label);
    return static_cast<jstring>(f.handle(object));
}

jstring JNICALL FakeJni::newStringUTF(JNIEnv* env, const char* bytes) {
    FakeJni& f = self(env);
    f.enter(jni_op::NewStringUTF, "NewStringUTF");
    if (!bytes) {
        f.record("NewStringUTF(null)");
        f.fault("NewStringUTF given a null pointer");
        return nullptr;
    }
    std::u16string text;
    if (!decodeModifiedUtf8(reinterpret_cast<const unsigned char*>(bytes), text))
        f.fault("NewStringUTF given bytes that are not modified UTF-8: " + quoted(bytes));
    if (f.failing(jni_op::NewStringUTF)) {
        f.record("NewStringUTF(" + quoted(bytes) + ") = null");
        return nullptr;
    }
    Object& object = f.create(kString, "");
    object.units = text;
    f.record("NewStringUTF(" + quoted(bytes) + ") = " + object.label);
    return static_cast<jstring>(f.handle(object));
}

const char* JNICALL FakeJni::getStringUTFChars(JNIEnv* env, jstring string, jboolean* isCopy) {
    FakeJni& f = self(env);
    f.enter(jni_op::GetStringUTFChars, "GetStringUTFChars");
    Object* object = f.find(string, kString, "GetStringUTFChars");
    const std::string line = "GetStringUTFChars(" + (object ? object->label : "?") + ", isCopy=" + isCopyText(isCopy) + ")";
    if (!object || f.failing(jni_op::GetStringUTFChars)) {
        f.record(line + " = null");
        return nullptr;
    }
    f.record(line);
    if (isCopy) *isCopy = JNI_TRUE;
    return static_cast<const char*>(f.copyOut(*object, jni_op::GetStringUTFChars));
}

void JNICALL FakeJni::releaseStringUTFChars(JNIEnv* env, jstring string, const char* chars) {
    FakeJni& f = self(env);
    f.enter(jni_op::ReleaseStringUTFChars, "ReleaseStringUTFChars");
    Object* object = f.find(string, kString, "ReleaseStringUTFChars");
    f.record("ReleaseStringUTFChars(" + (object ? object->label : "?") + ")");
    if (!object) return;
    if (Held* held = f.findHeld(object, chars, jni_op::GetStringUTFChars, "ReleaseStringUTFChars"))
        f.release(held, 0, "ReleaseStringUTFChars");
}

jsize JNICALL FakeJni::getArrayLength(JNIEnv* env, jarray array) {
    FakeJni& f = self(env);
    f.enter(jni_op::GetArrayLength, "GetArrayLength");
    Object* object = f.find(array, kByteArray | kIntArray, "GetArrayLength");
    f.record("GetArrayLength(" + (object ? object->label : "?") + ")");
    if (!object) return 0;
    return static_cast<jsize>(object->kind == kByteArray ? object->bytes.size() : object->ints.size());
}

jbyteArray JNICALL FakeJni::newByteArray(JNIEnv* env, jsize length) {
    FakeJni& f = self(env);
    f.enter(jni_op::NewByteArray, "NewByteArray");
    const std::string line = "NewByteArray(" + std::to_string(static_cast<int>(length)) + ")";
    if (length < 0) {
        f.record(line + " = null");
        f.fault(line + ": a negative length");
        f.pending_ = "java/lang/NegativeArraySizeException";
        f.pendingMessage_.clear();
        return nullptr;
    }
    if (f.failing(jni_op::NewByteArray)) {
        f.record(line + " = null");
        return nullptr;
    }
    Object& object = f.create(kByteArray, "");
    object.bytes.assign(static_cast<std::size_t>(length), '\0');
    f.record(line + " = " + object.label);
    return static_cast<jbyteArray>(f.handle(object));
}

jintArray JNICALL FakeJni::newIntArray(JNIEnv* env, jsize length) {
    FakeJni& f = self(env);
    f.enter(jni_op::NewIntArray, "NewIntArray");
    const std::string line = "NewIntArray(" + std::to_string(static_cast<int>(length)) + ")";
    if (length < 0) {
        f.record(line + " = null");
        f.fault(line + ": a negative length");
        f.pending_ = "java/lang/NegativeArraySizeException";
        f.pendingMessage_.clear();
        return nullptr;
    }
    if (f.failing(jni_op::NewIntArray)) {
        f.record(line + " = null");
        return nullptr;
    }
    Object& object = f.create(kIntArray, "");
    object.ints.assign(static_cast<std::size_t>(length), 0);
    f.record(line + " = " + object.label);
    return static_cast<jintArray>(f.handle(object));
}

jbyte* JNICALL FakeJni::getByteArrayElements(JNIEnv* env, jbyteArray array, jboolean* isCopy) {
    FakeJni& f = self(env);
    f.enter(jni_op::GetByteArrayElements, "GetByteArrayElements");
    Object* object = f.find(array, kByteArray, "GetByteArrayElements");
    const std::string line =
        "GetByteArrayElements(" + (object ? object->label : "?") + ", isCopy=" + isCopyText(isCopy) + ")";
    if (!object || f.failing(jni_op::GetByteArrayElements)) {
        f.record(line + " = null");
        return nullptr;
    }
    f.record(line);
    if (isCopy) *isCopy = JNI_TRUE;
    return static_cast<jbyte*>(f.copyOut(*object, jni_op::GetByteArrayElements));
}

void JNICALL FakeJni::releaseByteArrayElements(JNIEnv* env, jbyteArray array, jbyte* elements, jint mode) {
    FakeJni& f = self(env);
    f.enter(jni_op::ReleaseByteArrayElements, "ReleaseByteArrayElements");
    Object* object = f.find(array, kByteArray, "ReleaseByteArrayElements");
    f.record("ReleaseByteArrayElements(" + (object ? object->label : "?") + ", " + modeName(mode) + ")");
    if (!object) return;
    if (Held* held = f.findHeld(object, elements, jni_op::GetByteArrayElements, "ReleaseByteArrayElements"))
        f.release(held, mode, "ReleaseByteArrayElements");
}

void* JNICALL FakeJni::getPrimitiveArrayCritical(JNIEnv* env, jarray array, jboolean* isCopy) {
    FakeJni& f = self(env);
    f.enter(jni_op::GetPrimitiveArrayCritical, "GetPrimitiveArrayCritical");
    Object* object = f.find(array, kByteArray | kIntArray, "GetPrimitiveArrayCritical");
    const std::string line =
        "GetPrimitiveArrayCritical(" + (object ? object->label : "?") + ", isCopy=" + isCopyText(isCopy) + ")";
    if (!object || f.failing(jni_op::GetPrimitiveArrayCritical)) {
        f.record(line + " = null");
        return nullptr;
    }
    f.record(line);
    if (isCopy) *isCopy = JNI_TRUE;
    ++f.critical_;
    return f.copyOut(*object, jni_op::GetPrimitiveArrayCritical);
}

void JNICALL FakeJni::releasePrimitiveArrayCritical(JNIEnv* env, jarray array, void* elements, jint mode) {
    FakeJni& f = self(env);
    f.enter(jni_op::ReleasePrimitiveArrayCritical, "ReleasePrimitiveArrayCritical");
    Object* object = f.find(array, kByteArray | kIntArray, "ReleasePrimitiveArrayCritical");
    f.record("ReleasePrimitiveArrayCritical(" + (object ? object->label : "?") + ", " + modeName(mode) + ")");
    if (!object) return;
    if (Held* held = f.findHeld(object, elements, jni_op::GetPrimitiveArrayCritical, "ReleasePrimitiveArrayCritical"))
        f.release(held, mode, "ReleasePrimitiveArrayCritical");
}

jboolean JNICALL FakeJni::exceptionCheck(JNIEnv* env) {
    FakeJni& f = self(env);
    f.enter(jni_op::ExceptionCheck, "ExceptionCheck");
    const bool pending = !f.pending_.empty();
    f.record(std::string("ExceptionCheck() = ") + (pending ? "true" : "false"));
    return pending ? JNI_TRUE : JNI_FALSE;
}

}  // namespace nt
