#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/MouseState.h"
#include "platform/RecordingDevice3D.h"

// A test bench for the screens: a clock moved by hand, the real scene objects on the recording
// device, the key states set per frame, the sound requests and the text of each frame written
// down. Frames are run through RunScreens, as the frame loop runs them.

struct TSoundRequest {
    int Id;
    uint32_t DelayMs;
};

struct TTextItem {
    std::string Text;
    int Top;
    uint32_t Colour;
};

class TScreenRig {
  public:
    TScreenRig();
    ~TScreenRig();
    TScreenRig(const TScreenRig&) = delete;
    TScreenRig& operator=(const TScreenRig&) = delete;

    // One frame with exactly these keys triggered, all others up, and the mouse of MouseNext;
    // its motion, clicks and wheel steps are gone after the frame, its place stays.
    void Frame(std::initializer_list<int> keys = {});
    void MoveMouse(double x, double y);
    void Click(double x, double y, bool right = false);
    // A press: one frame with the key, one without.
    void Press(int key, int times = 1);
    // Frames every `frameMs` (the clock moved first) for `ms`, with `keys` in every one of them.
    void RunFor(uint32_t ms, std::initializer_list<int> keys = {}, uint32_t frameMs = 20);
    // Frames 20 ms apart until the game reaches `state`; false if it does not within `ms`.
    bool RunUntilGameState(int state, uint32_t ms = 10000);
    // A game of these players from its start to the first human turn.
    void StartGame(int black, int white);
    // Walks the cursor there with the arrow keys; false if it does not get there.
    bool MoveCursorTo(int x, int y);

    // Sound requests made since the last ClearSounds, in order, or those of one id.
    const std::vector<TSoundRequest>& Sounds() const { return SoundLog; }
    std::vector<TSoundRequest> SoundsOf(int id) const;
    void ClearSounds() { SoundLog.clear(); }

    // The text drawn in the last frame; the first item with this text, or null; the text of the
    // selected (yellow) line.
    const std::vector<TTextItem>& Texts() const;
    const TTextItem* FindText(const std::string& text) const;
    std::string Yellow() const;
    const TRecordingLog& Log() const;

    TManualClock Clock{100000};
    TMouseFrame MouseNext;

  private:
    TScopedClock UseClock{Clock};
    std::vector<TSoundRequest> SoundLog;
    struct TParts;
    std::unique_ptr<TParts> Parts;
};

// The red, green and blue (0..255) the board's squares were drawn with in the frame logged.
struct TRgb {
    int R = -1, G = -1, B = -1;
    bool operator==(const TRgb&) const = default;
};
TRgb BoardColourDrawn(const TRecordingLog& log);

// Where the centre of square (column, row) shows on the logical screen through the matrices the
// camera last gave the device.
struct TScreenPoint {
    double X, Y;
};
TScreenPoint ScreenPointOfSquare(int column, int row);
