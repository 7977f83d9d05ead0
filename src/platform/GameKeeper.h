#pragma once

#include <memory>
#include <string>

// Where the game in play outlives the program. A phone's browser drops a tab it has put in the
// background and opens the page afresh when it is shown again, and a closed page never gets to
// run its last events; so the browser build keeps the game in its storage after every ply and
// the next start goes straight back into it. The desktop builds keep none: their window closes
// only when the player closes it.
//
// The keeper only moves text: what the text holds, and whether it is still a game worth going
// back to, belong to the game.
class TGameKeeper {
  public:
    virtual ~TGameKeeper() = default;
    // Replaces the kept game with `text`. The lasting write is under way when this returns; it
    // never waits for the page to close.
    virtual void Keep(const std::string& text) = 0;
    // The kept game; false when none is kept (or it cannot be read).
    virtual bool Kept(std::string& text) = 0;
    // Drops the kept game, if any.
    virtual void Forget() = 0;
};

// Installs the keeper (not owned); null removes it. Without one nothing is kept.
void SetGameKeeper(TGameKeeper* keeper);
// The installed keeper, or null.
TGameKeeper* GameKeeper();

// This platform's own keeper, or null where the platform keeps no game (the desktops).
std::unique_ptr<TGameKeeper> OpenPlatformGameKeeper();

// A keeper in memory, for tests.
class TRecordingGameKeeper final : public TGameKeeper {
  public:
    void Keep(const std::string& text) override;
    bool Kept(std::string& text) override;
    void Forget() override;

    std::string Text;
    bool HasGame = false;
    int Keeps = 0; // Keep calls so far
};
