#include <emscripten.h>

#include "platform/PageControls.h"

// The page (web/touch.js) keeps the controls; a program run outside it (the unit tests under
// node) finds none and shows nothing.
EM_JS(void, ShowControlsOnPage, (unsigned shown), {
    if (typeof window != 'undefined' && window.octavaneControls) {
        window.octavaneControls.show(shown);
    }
});

EM_JS(int, PageInTouchLayout, (), {
    return typeof window != 'undefined' && window.octavaneControls &&
                   window.octavaneControls.touchMode()
               ? 1
               : 0;
});

void ShowPageControls(TPageControlSet shown) {
    ShowControlsOnPage(shown);
}

TInputKind PageInputKind() {
    return PageInTouchLayout() != 0 ? inputTouch : inputKeys;
}

// The page's control `control` (a TPageControl) was pressed, by a finger when `touched` is
// non-zero. The page calls it between frames.
extern "C" EMSCRIPTEN_KEEPALIVE void OctavanePressControl(int control, int touched) {
    NoteInputKind(touched != 0 ? inputTouch : inputMouse);
    PageControls().Press(control);
}
