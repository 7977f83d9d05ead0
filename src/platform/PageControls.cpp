#include "platform/PageControls.h"

namespace {

TInputKind g_lastInputKind = inputKeys;
bool g_inputNoted = false;

bool IsControl(int control) {
    return control >= 0 && control < pageControlCount;
}

} // namespace

void TPageControls::Show(TPageControlSet shown) {
    if (Told && shown == ShownSet) {
        return;
    }
    ShownSet = shown;
    Told = true;
    ShowPageControls(shown);
}

void TPageControls::Press(int control) {
    if (IsControl(control) && Presses[control] < kMaxPendingPresses) {
        ++Presses[control];
    }
}

bool TPageControls::TakePress(int control) {
    if (!IsControl(control) || Presses[control] == 0) {
        return false;
    }
    --Presses[control];
    return true;
}

void TPageControls::Reset() {
    Presses.fill(0);
    ShownSet = 0;
    Told = false;
}

TPageControls& PageControls() {
    static TPageControls controls;
    return controls;
}

void NoteInputKind(TInputKind kind) {
    g_lastInputKind = kind;
    g_inputNoted = true;
}

TInputKind LastInputKind() {
    return g_inputNoted ? g_lastInputKind : PageInputKind();
}
