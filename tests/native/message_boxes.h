// Message boxes caught for real, as the bridge shows them.
// Windows: hooks on each calling thread see the real box of user32, read its text (dialog item
// 0xFFFF), caption, remaining buttons and owner once WM_INITDIALOG has returned (Wine fills the
// caption and removes unused buttons in there), and dismiss it with OK.
// Linux: the box is one line "Error: <text>" on standard error, which is caught in a file.
#pragma once

#include <string>
#include <vector>

namespace nt {

struct CaughtBox {
    std::string text;
    std::string caption;
    std::vector<int> buttons;  // control ids of the buttons shown (Windows only)
    bool owned = false;        // whether the box has an owner window (Windows only)
};

// From now on boxes are caught: on Windows on this thread, on Linux in the whole process.
// captureFile is where Linux keeps what standard error receives.
void startCatchingBoxes(const std::string& captureFile);
// Windows: catches the boxes of the calling thread too (each thread that calls the bridge needs it,
// or a box would wait for a click that never comes). Linux: nothing to do.
void catchBoxesOnThisThread();
void stopCatchingBoxesOnThisThread();

// The boxes caught since the last take, in order; on Linux also any other line on standard error,
// as a box with an empty caption, so that nothing written there goes unseen.
std::vector<CaughtBox> takeBoxes();

}  // namespace nt
