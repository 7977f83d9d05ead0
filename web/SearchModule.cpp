// The engine alone, as the module the browser's search worker runs (search-worker.js): the page
// posts a request's bytes, the worker answers it here and posts the reply's bytes back. Both
// sides are built from the same engine headers by the same compiler, so the bytes agree.

#include <emscripten.h>

#include "engine/SearchRequest.h"

extern "C" {

EMSCRIPTEN_KEEPALIVE int OctavaneRequestSize() {
    return sizeof(TSearchRequest);
}

EMSCRIPTEN_KEEPALIVE int OctavaneReplySize() {
    return sizeof(TSearchReply);
}

// Answers the request at `request` into `reply`. Nothing stops it from inside: the page ends
// the whole worker when it no longer wants the answer.
EMSCRIPTEN_KEEPALIVE void OctavaneAnswerSearch(const TSearchRequest* request, TSearchReply* reply) {
    const std::atomic<bool> go{false};
    *reply = AnswerSearch(*request, go);
}

} // extern "C"
