#include "engine/SearchWorker.h"

// This build has no threads: every search runs inside the frame that asks for it.
std::unique_ptr<TSearchWorker> MakeSearchWorker() {
    return std::make_unique<TInlineSearchWorker>();
}
