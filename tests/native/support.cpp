#include "support.h"

namespace nt {

const char* const loadMessage = "Unable to load Velmora64.dll";

std::string lookupMessage(const std::string& function) { return "Unable to get " + function + " function address"; }

namespace {

std::string joined(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines) text += "    " + line + "\n";
    return text.empty() ? "    (nothing)\n" : text;
}

}  // namespace

void expectLinesAt(const char* file, int line, const char* what, const Lines& actual, const Lines& expected) {
    checkAt(file, line, actual == expected, "%s differ; expected\n%sgot\n%s", what, joined(expected).c_str(),
            joined(actual).c_str());
}

void expectEachCase(const std::vector<CallCase>& cases) {
    for (const CallCase& c : cases) {
        Context context("%s", c.what);
        FakeJni jni;
        c.call(jni);
        expect_calls(c.recordLibrary);
        expect_jni(jni, c.jni);
    }
}

void expectBoxesAt(const char* file, int line, const Lines& texts) {
    const std::vector<CaughtBox> boxes = takeBoxes();
    Lines shown;
    for (const CaughtBox& box : boxes) shown.push_back(box.text);
    checkAt(file, line, shown == texts, "message boxes differ; expected\n%sgot\n%s", joined(texts).c_str(),
            joined(shown).c_str());
    for (const CaughtBox& box : boxes) {
        checkAt(file, line, box.caption == "Error", "box \"%s\" has the caption \"%s\"\n", box.text.c_str(),
                box.caption.c_str());
#ifdef _WIN32
        checkAt(file, line, box.buttons == std::vector<int>{1}, "box \"%s\" has %zu buttons, the first %d; expected OK alone\n",
                box.text.c_str(), box.buttons.size(), box.buttons.empty() ? 0 : box.buttons[0]);
        checkAt(file, line, !box.owned, "box \"%s\" has an owner window\n", box.text.c_str());
#endif
    }
}

std::string intsText(const std::vector<jint>& ints) {
    std::string text = "{";
    for (std::size_t i = 0; i < ints.size(); ++i) text += (i ? ", " : "") + std::to_string(static_cast<long long>(ints[i]));
    return text + "}";
}

#ifdef _WIN32
void expectGdiReleased() {
    const Lines calls = platform::takeGdiCalls();
    auto has = [&calls](const std::string& line) {
        for (const std::string& call : calls)
            if (call == line) return true;
        return false;
    };
    for (const std::string& call : calls) {
        if (call.compare(0, 10, "GetObject(") == 0) {
            const std::string handle = call.substr(10, call.find(',') - 10);
            ok(has("DeleteObject(" + handle + ")") || has("DeleteObject(" + handle + ") failed"),
               "the bitmap %s is not deleted\n", handle.c_str());
        }
        const std::size_t made = call.find(") = dc");
        if (call.compare(0, 19, "CreateCompatibleDC(") == 0 && made != std::string::npos)
            ok(has("DeleteDC(" + call.substr(made + 4) + ")"), "the memory DC %s is not deleted\n", call.substr(made + 4).c_str());
    }
}
#endif

bool isIndexOutOfBounds(const std::string& className) {
    return className == "java/lang/IndexOutOfBoundsException" ||
           className == "java/lang/ArrayIndexOutOfBoundsException";
}

}  // namespace nt
