// For the test programs run by node (--pre-js). This emscripten loads the wasm file with fetch()
// wherever fetch exists, and node has had one since version 18, which takes no file paths: hidden
// here, the program reads its wasm file from the disk as emscripten does for node.
var fetch = undefined;
