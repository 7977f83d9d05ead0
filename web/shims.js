// SDL 2.26's browser audio calls two runtime helpers that this emscripten (3.1.6) does not
// provide. Both are small; they run in the module's own scope (--pre-js), beside the runtime.

// Calls the wasm function at table index `ptr` with `args`; `sig` (its signature) is not needed
// with a wasm table.
var dynCall = function (sig, ptr, args) {
  return wasmTable.get(ptr).apply(null, args || []);
};

// Browsers start an AudioContext suspended until the page's first user gesture; the sound
// starts at the first key, click or touch (a touch counts as a gesture when it ends).
var autoResumeAudioContext = function (context) {
  var gestures = ['keydown', 'mousedown', 'pointerdown', 'touchstart', 'touchend'];
  var resume = function () {
    if (context.state === 'suspended') {
      context.resume();
      return;
    }
    gestures.forEach(function (name) {
      document.removeEventListener(name, resume, true);
    });
  };
  gestures.forEach(function (name) {
    document.addEventListener(name, resume, true);
  });
};
