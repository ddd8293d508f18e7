// Text fields, their names and descriptions, and exported text fields: what each method hands the
// record library, in order, and its JNI operations. No String method calls its size twin; the odd
// pair: the name takes three ints and no String, its size twin three ints and a String.
#include <climits>

#include "support.h"

namespace nt {
namespace {

const Lines itemAndResult{"GetStringUTFChars(item, isCopy=null)", "NewStringUTF(\"text\") = new1",
                          "ReleaseStringUTFChars(item)"};
const Lines itemOnly{"GetStringUTFChars(item, isCopy=null)", "ReleaseStringUTFChars(item)"};

const std::vector<CallCase> cases = {
    {"ReadRecordTxtField",
     [](FakeJni& j) { bridge().ReadRecordTxtField(j.env(), nullptr, INT_MIN, -1, INT_MAX, j.string("item", "2.1")); },
     {"ReadRecordTxtField(-2147483648, -1, 2147483647, \"2.1\")"}, itemAndResult},
    {"ReadSizeOfRecordTxtField",
     [](FakeJni& j) { bridge().ReadSizeOfRecordTxtField(j.env(), nullptr, 1, 2, 3, j.string("item", "\u00E9")); },
     {"ReadSizeOfRecordTxtField(1, 2, 3, \"\\xC3\\xA9\")"}, itemOnly},
    {"ReadRecordTxtFieldName", [](FakeJni& j) { bridge().ReadRecordTxtFieldName(j.env(), nullptr, 3, 0, -3); },
     {"ReadRecordTxtFieldName(3, 0, -3)"}, {"NewStringUTF(\"text\") = new1"}},
    {"ReadSizeOfRecordTxtFieldName",
     [](FakeJni& j) { bridge().ReadSizeOfRecordTxtFieldName(j.env(), nullptr, 3, 0, -3, j.string("item", "x")); },
     {"ReadSizeOfRecordTxtFieldName(3, 0, -3, \"x\")"}, itemOnly},
    {"ReadRecordTxtFieldDescription",
     [](FakeJni& j) { bridge().ReadRecordTxtFieldDescription(j.env(), nullptr, 10, 20, 30, j.string("item", "")); },
     {"ReadRecordTxtFieldDescription(10, 20, 30, \"\")"}, itemAndResult},
    {"ReadSizeOfRecordTxtFieldDescription",
     [](FakeJni& j) {
         bridge().ReadSizeOfRecordTxtFieldDescription(j.env(), nullptr, 10, 20, 30, j.string("item", "1.2"));
     },
     {"ReadSizeOfRecordTxtFieldDescription(10, 20, 30, \"1.2\")"}, itemOnly},
    {"ReadRecordExportedTxtFields", [](FakeJni& j) { bridge().ReadRecordExportedTxtFields(j.env(), nullptr, 5, -6); },
     {"ReadRecordExportedTxtFields(5, -6)"}, {"NewStringUTF(\"text\") = new1"}},
    {"ReadSizeOfRecordExportedTxtFields",
     [](FakeJni& j) { bridge().ReadSizeOfRecordExportedTxtFields(j.env(), nullptr, -6, 5); },
     {"ReadSizeOfRecordExportedTxtFields(-6, 5)"}, {}},
};

SCENARIO("text-fields", argumentsReachTheRecordLibrary, Library::full) {
    standin::load();
    for (const char* function : {"ReadRecordTxtField", "ReadRecordTxtFieldName", "ReadRecordTxtFieldDescription",
                                 "ReadRecordExportedTxtFields"})
        standin::steerString(function, "text");
    expectEachCase(cases);
    expect_boxes();
}

}  // namespace
}  // namespace nt
