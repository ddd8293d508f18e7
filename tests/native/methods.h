// The 26 native methods as the binding tests call them: each with harmless arguments, the
// record-library functions its frame needs, and what those arguments reach the record library as.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "bridge.h"
#include "fake_jni.h"

namespace nt {

struct Outcome {
    bool isObject = false;
    jint value = 0;
    jobject object = nullptr;
    bool isZero() const { return isObject ? object == nullptr : value == 0; }
    std::string text() const;
};

inline Outcome intOutcome(jint value) { return {false, value, nullptr}; }
inline Outcome objectOutcome(jobject object) { return {true, 0, object}; }

struct Method {
    std::string name;
    // The record-library functions its frame finds: its own, then for the two byte-array reads the
    // size function.
    std::vector<std::string> functions;
    bool returnsObject;
    std::function<Outcome(FakeJni&)> call;
    std::vector<std::string> recordLibraryCalls;
    bool needs(const std::string& function) const;
};

// The table, in the order of record_library_functions.h. Paths written go to the scratch folder.
const std::vector<Method>& methods();
const Method& method(const std::string& name);

}  // namespace nt
