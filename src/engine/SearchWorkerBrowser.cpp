#include <emscripten.h>

#include <type_traits>

#include "engine/SearchWorker.h"

// The browser's worker: the page's only thread draws the frames, so the engine answers in a Web
// Worker of its own, a small module that holds nothing but the engine (web/search-worker.js and
// web/SearchModule.cpp). A request and its reply cross between the two as their bytes; both
// modules are built by the same compiler from the same header, so the bytes mean the same on
// either side, whatever kind of search the request asks for.
//
// The page's half (web/search-page.js) is there only in the game's page. Without it (the unit
// tests under node), without Web Workers, or should the worker's module fail to load, each
// search is answered inline in the frame that asks, as a build without a worker would.

static_assert(std::is_trivially_copyable_v<TSearchRequest>);
static_assert(std::is_trivially_copyable_v<TSearchReply>);

namespace {

// How long Wait gives the browser each time round while a worker's answer is awaited.
constexpr unsigned kWaitStepMs = 1;

// The states the page's half reports for a worker.
enum TWorkerState : int {
    stateIdle = 0,
    stateBusy = 1,
    stateDone = 2,
    stateFailed = 3, // the worker's module could not answer: the caller answers inline
};

// clang-format off
EM_JS(int, OpenPageWorker, (), {
    var search = Module['octavaneSearch'];
    return search ? search.open() : -1;
});
EM_JS(int, StartPageWorker, (int slot, const void* request, int size), {
    return Module['octavaneSearch'].start(slot, HEAPU8.slice(request, request + size)) ? 1 : 0;
});
EM_JS(int, PageWorkerState, (int slot), {
    return Module['octavaneSearch'].state(slot);
});
EM_JS(int, CopyPageWorkerReply, (int slot, void* reply, int size), {
    var bytes = Module['octavaneSearch'].reply(slot);
    if (!bytes || bytes.length !== size) {
        return 0;
    }
    HEAPU8.set(bytes, reply);
    return 1;
});
EM_JS(void, StopPageWorker, (int slot), {
    Module['octavaneSearch'].stop(slot);
});
EM_JS(void, ClosePageWorker, (int slot), {
    Module['octavaneSearch'].close(slot);
});
// clang-format on

class TBrowserSearchWorker final : public TSearchWorker {
  public:
    TBrowserSearchWorker() : m_slot(OpenPageWorker()) {}
    TBrowserSearchWorker(const TBrowserSearchWorker&) = delete;
    TBrowserSearchWorker& operator=(const TBrowserSearchWorker&) = delete;
    ~TBrowserSearchWorker() override {
        Stop();
        if (m_slot >= 0) {
            ClosePageWorker(m_slot);
        }
    }

    void Start(const TSearchRequest& request) override {
        Stop();
        m_request = request;
        m_reply = TSearchReply{};
        if (m_slot >= 0 && StartPageWorker(m_slot, &m_request, sizeof m_request) != 0) {
            m_busy = true;
            return;
        }
        AnswerInline();
    }

    bool Finished() const override {
        if (!m_busy) {
            return true;
        }
        switch (PageWorkerState(m_slot)) {
        case stateDone:
            m_busy = false;
            if (CopyPageWorkerReply(m_slot, &m_reply, sizeof m_reply) == 0) {
                AnswerInline();
            }
            break;
        case stateFailed:
            m_busy = false;
            AnswerInline();
            break;
        default:
            break;
        }
        return !m_busy;
    }

    TSearchReply Reply() const override { return m_reply; }

    // Ending the worker is the only way to stop a search that runs in it; a fresh one takes its
    // place for the next request.
    void Stop() override {
        if (m_busy) {
            StopPageWorker(m_slot);
            m_busy = false;
        }
        m_reply.Answered = false;
    }

    void Wait() override {
        while (!Finished()) {
            emscripten_sleep(kWaitStepMs);
        }
    }

  private:
    void AnswerInline() const {
        const std::atomic<bool> go{false};
        m_reply = AnswerSearch(m_request, go);
    }

    int m_slot; // the page's worker, or -1: every search is answered inline
    TSearchRequest m_request;
    // What Finished learns from the page; it only collects what the worker already sent.
    mutable TSearchReply m_reply;
    mutable bool m_busy = false;
};

} // namespace

std::unique_ptr<TSearchWorker> MakeSearchWorker() {
    return std::make_unique<TBrowserSearchWorker>();
}
