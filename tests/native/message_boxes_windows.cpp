#include <windows.h>

#include <mutex>

#include "child_process.h"
#include "message_boxes.h"

namespace nt {

namespace {

std::mutex mutex;
std::vector<CaughtBox> caught;

thread_local HHOOK creationHook = nullptr;
thread_local HHOOK initialisedHook = nullptr;
thread_local HWND ownerAtCreation = nullptr;

bool isBox(HWND window) {
    wchar_t name[16];
    return GetClassNameW(window, name, 16) && lstrcmpW(name, L"#32770") == 0;
}

std::string windowText(HWND window) {
    if (!window) return "";
    wchar_t text[2048];
    const int length = GetWindowTextW(window, text, 2048);
    return narrow(std::wstring(text, static_cast<std::size_t>(length > 0 ? length : 0)));
}

BOOL CALLBACK addButton(HWND child, LPARAM buttons) {
    wchar_t name[16];
    if (GetClassNameW(child, name, 16) && lstrcmpW(name, L"Button") == 0 &&
        (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE))
        reinterpret_cast<std::vector<int>*>(buttons)->push_back(GetDlgCtrlID(child));
    return TRUE;
}

// The owner as given at creation, before the dialog code could change anything.
LRESULT CALLBACK onCbt(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && isBox(reinterpret_cast<HWND>(wParam)))
        ownerAtCreation = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->hwndParent;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK onReturn(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_INITDIALOG && isBox(message->hwnd)) {
        HWND box = message->hwnd;
        CaughtBox seen;
        seen.text = windowText(GetDlgItem(box, 0xFFFF));
        seen.caption = windowText(box);
        EnumChildWindows(box, addButton, reinterpret_cast<LPARAM>(&seen.buttons));
        seen.owned = ownerAtCreation != nullptr || GetWindow(box, GW_OWNER) != nullptr;
        ownerAtCreation = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex);
            caught.push_back(seen);
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void startCatchingBoxes(const std::string&) { catchBoxesOnThisThread(); }

void catchBoxesOnThisThread() {
    if (creationHook) return;
    creationHook = SetWindowsHookExW(WH_CBT, onCbt, nullptr, GetCurrentThreadId());
    initialisedHook = SetWindowsHookExW(WH_CALLWNDPROCRET, onReturn, nullptr, GetCurrentThreadId());
}

void stopCatchingBoxesOnThisThread() {
    if (creationHook) UnhookWindowsHookEx(creationHook);
    if (initialisedHook) UnhookWindowsHookEx(initialisedHook);
    creationHook = initialisedHook = nullptr;
}

std::vector<CaughtBox> takeBoxes() {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<CaughtBox> boxes;
    boxes.swap(caught);
    return boxes;
}

}  // namespace nt
