#include "methods.h"

#include <cstdlib>

#include "child_process.h"
#include "runner.h"

namespace nt {

std::string Outcome::text() const {
    if (!isObject) return std::to_string(static_cast<int>(value));
    return object ? "an object" : "null";
}

bool Method::needs(const std::string& function) const {
    for (const std::string& f : functions)
        if (f == function) return true;
    return false;
}

namespace {

// A path that names no file: reading it fails in the record library, harmlessly.
const char* const missingFile = "no-such-file.an2";

std::vector<Method> build() {
    const std::string written = joinPath(options().scratch, "written.an2");
    const std::string missing = quoted(missingFile);
    auto intMethod = [](std::string name, std::function<jint(FakeJni&)> call, std::vector<std::string> calls) {
        return Method{name, {name}, false, [call](FakeJni& jni) { return intOutcome(call(jni)); }, calls};
    };
    auto objectMethod = [](std::string name, std::function<jobject(FakeJni&)> call, std::vector<std::string> calls) {
        return Method{name, {name}, true, [call](FakeJni& jni) { return objectOutcome(call(jni)); }, calls};
    };
    std::vector<Method> table{
        intMethod("CreateNewNISTFile", [](FakeJni& j) { return bridge().CreateNewNISTFile(j.env(), j.velmoraClass()); },
                  {"CreateNewNISTFile()"}),
        intMethod("WriteNISTToFile",
                  [written](FakeJni& j) { return bridge().WriteNISTToFile(j.env(), j.velmoraClass(), j.string("path", written)); },
                  {"WriteNISTToFile(" + quoted(written) + ")"}),
        objectMethod("ReadNISTByteArray", [](FakeJni& j) { return bridge().ReadNISTByteArray(j.env(), j.velmoraClass()); },
                     {"ReadSizeOfNISTByteArray()", "ReadNISTByteArray()"}),
        intMethod("ReadSizeOfNISTByteArray",
                  [](FakeJni& j) { return bridge().ReadSizeOfNISTByteArray(j.env(), j.velmoraClass()); },
                  {"ReadSizeOfNISTByteArray()"}),
        intMethod("ReadNISTFromFile",
                  [](FakeJni& j) { return bridge().ReadNISTFromFile(j.env(), j.velmoraClass(), j.string("path", missingFile)); },
                  {"ReadNISTFromFile(" + missing + ")"}),
        intMethod("ReadNISTFromMemory",
                  [](FakeJni& j) {
                      return bridge().ReadNISTFromMemory(j.env(), j.velmoraClass(), j.byteArray("data", "abc"), 3);
                  },
                  {"ReadNISTFromMemory([616263], 3)"}),
        intMethod("CheckIfRecordTypeExists",
                  [](FakeJni& j) { return bridge().CheckIfRecordTypeExists(j.env(), j.velmoraClass(), 2); },
                  {"CheckIfRecordTypeExists(2)"}),
        intMethod("ReadNumberOfRecords", [](FakeJni& j) { return bridge().ReadNumberOfRecords(j.env(), j.velmoraClass(), 2); },
                  {"ReadNumberOfRecords(2)"}),
        intMethod("ReadIDCofRecord", [](FakeJni& j) { return bridge().ReadIDCofRecord(j.env(), j.velmoraClass(), 2, 1); },
                  {"ReadIDCofRecord(2, 1)"}),
        objectMethod("ReadRecordTxtField",
                     [](FakeJni& j) {
                         return bridge().ReadRecordTxtField(j.env(), j.velmoraClass(), 2, 1, 3, j.string("item", "1"));
                     },
                     {"ReadRecordTxtField(2, 1, 3, \"1\")"}),
        intMethod("ReadSizeOfRecordTxtField",
                  [](FakeJni& j) {
                      return bridge().ReadSizeOfRecordTxtField(j.env(), j.velmoraClass(), 2, 1, 3, j.string("item", "1"));
                  },
                  {"ReadSizeOfRecordTxtField(2, 1, 3, \"1\")"}),
        objectMethod("ReadRecordTxtFieldName",
                     [](FakeJni& j) { return bridge().ReadRecordTxtFieldName(j.env(), j.velmoraClass(), 2, 1, 3); },
                     {"ReadRecordTxtFieldName(2, 1, 3)"}),
        intMethod("ReadSizeOfRecordTxtFieldName",
                  [](FakeJni& j) {
                      return bridge().ReadSizeOfRecordTxtFieldName(j.env(), j.velmoraClass(), 2, 1, 3, j.string("item", "1"));
                  },
                  {"ReadSizeOfRecordTxtFieldName(2, 1, 3, \"1\")"}),
        objectMethod("ReadRecordTxtFieldDescription",
                     [](FakeJni& j) {
                         return bridge().ReadRecordTxtFieldDescription(j.env(), j.velmoraClass(), 2, 1, 3, j.string("item", "1"));
                     },
                     {"ReadRecordTxtFieldDescription(2, 1, 3, \"1\")"}),
        intMethod("ReadSizeOfRecordTxtFieldDescription",
                  [](FakeJni& j) {
                      return bridge().ReadSizeOfRecordTxtFieldDescription(j.env(), j.velmoraClass(), 2, 1, 3,
                                                                   j.string("item", "1"));
                  },
                  {"ReadSizeOfRecordTxtFieldDescription(2, 1, 3, \"1\")"}),
        objectMethod("ReadRecordExportedTxtFields",
                     [](FakeJni& j) { return bridge().ReadRecordExportedTxtFields(j.env(), j.velmoraClass(), 2, 1); },
                     {"ReadRecordExportedTxtFields(2, 1)"}),
        intMethod("ReadSizeOfRecordExportedTxtFields",
                  [](FakeJni& j) { return bridge().ReadSizeOfRecordExportedTxtFields(j.env(), j.velmoraClass(), 2, 1); },
                  {"ReadSizeOfRecordExportedTxtFields(2, 1)"}),
        objectMethod("ReadRecordBinaryField",
                     [](FakeJni& j) { return bridge().ReadRecordBinaryField(j.env(), j.velmoraClass(), 2, 1); },
                     {"ReadSizeOfRecordBinaryField(2, 1)", "ReadRecordBinaryField(2, 1)"}),
        intMethod("ReadSizeOfRecordBinaryField",
                  [](FakeJni& j) { return bridge().ReadSizeOfRecordBinaryField(j.env(), j.velmoraClass(), 2, 1); },
                  {"ReadSizeOfRecordBinaryField(2, 1)"}),
        objectMethod("CreateHBITMAPfromRecordBinaryField",
                     [](FakeJni& j) {
                         return bridge().CreateHBITMAPfromRecordBinaryField(j.env(), j.velmoraClass(),
                                                                     j.intArray("dimensions", {7, 8}), 2, 1);
                     },
                     {"CreateHBITMAPfromRecordBinaryField(2, 1)"}),
        intMethod("InsertRecordBinaryFieldFromFile",
                  [](FakeJni& j) {
                      return bridge().InsertRecordBinaryFieldFromFile(j.env(), j.velmoraClass(), 2, 1, j.string("path", missingFile));
                  },
                  {"InsertRecordBinaryFieldFromFile(2, 1, " + missing + ")"}),
        intMethod("InsertRecordBinaryFieldFromMemory",
                  [](FakeJni& j) {
                      return bridge().InsertRecordBinaryFieldFromMemory(j.env(), j.velmoraClass(), 2, 1, j.byteArray("data", "abc"),
                                                                 3, j.string("format", "RAW"), 4, 5, 6);
                  },
                  {"InsertRecordBinaryFieldFromMemory(2, 1, [616263], 3, \"RAW\", 4, 5, 6)"}),
        intMethod("InsertRecordTxtField",
                  [](FakeJni& j) {
                      return bridge().InsertRecordTxtField(j.env(), j.velmoraClass(), 2, 1, 3, j.string("item", "1"),
                                                    j.string("value", "v"));
                  },
                  {"InsertRecordTxtField(2, 1, 3, \"1\", \"v\")"}),
        intMethod("DeleteRecord", [](FakeJni& j) { return bridge().DeleteRecord(j.env(), j.velmoraClass(), 2, 1); },
                  {"DeleteRecord(2, 1)"}),
        intMethod("SetVelmoraErrorReportMode",
                  [](FakeJni& j) { return bridge().SetVelmoraErrorReportMode(j.env(), j.velmoraClass(), 1); },
                  {"SetVelmoraErrorReportMode(1)"}),
        objectMethod("ReadVelmoraLastErrorMessage",
                     [](FakeJni& j) { return bridge().ReadVelmoraLastErrorMessage(j.env(), j.velmoraClass()); },
                     {"ReadVelmoraLastErrorMessage()"}),
    };
    table[2].functions.push_back("ReadSizeOfNISTByteArray");
    table[17].functions.push_back("ReadSizeOfRecordBinaryField");
    return table;
}

}  // namespace

const std::vector<Method>& methods() {
    static const std::vector<Method> table = build();
    return table;
}

const Method& method(const std::string& name) {
    for (const Method& m : methods())
        if (m.name == name) return m;
    ok(false, "no method %s in the table\n", name.c_str());
    std::abort();
}

}  // namespace nt
