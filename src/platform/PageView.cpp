#include "platform/PageControls.h"

// A desktop program has no page around its window: the controls' keys are on the keyboard.
void ShowPageControls(TPageControlSet /*shown*/) {}

TInputKind PageInputKind() {
    return inputKeys;
}
