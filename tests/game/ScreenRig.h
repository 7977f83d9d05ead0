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
    uint32_t At; // tick of the frame that asked
};

struct TTextItem {
    std::string Text;
    int Left, Top, Right, Bottom;
    uint32_t Colour;
    std::string Face;
    int Height;
};

class TScreenRig {
  public:
    static constexpr uint32_t kStartTick = 100000;

    TScreenRig();
    ~TScreenRig();
    TScreenRig(const TScreenRig&) = delete;
    TScreenRig& operator=(const TScreenRig&) = delete;

    // One frame with exactly these keys triggered (0x81), all others up, and the mouse of
    // MouseNext; its motion, clicks and wheel steps are gone after the frame, its place stays.
    void Frame(std::initializer_list<int> keys = {});
    // One frame with the mouse moved to logical (x, y), or clicked there.
    void MoveMouse(double x, double y);
    void Click(double x, double y, bool right = false);
    // A press: one frame with the key, one without.
    void Press(int key);
    void Press(int key, int times);
    // Runs a frame every `frameMs` (the clock moved first) until `ms` have passed, with `keys`
    // triggered in every one of them, as Control is while held.
    void RunFor(uint32_t ms, std::initializer_list<int> keys = {}, uint32_t frameMs = 20);
    // Runs frames 20 ms apart until the game reaches `state`; false if it does not within `ms`.
    bool RunUntilGameState(int state, uint32_t ms = 10000);

    // Sound requests made since the last ClearSounds, in order.
    const std::vector<TSoundRequest>& Sounds() const { return SoundLog; }
    void ClearSounds() { SoundLog.clear(); }
    // Requests for `id` since the last ClearSounds.
    std::vector<TSoundRequest> SoundsOf(int id) const;

    // The text drawn in the last frame, in drawing order.
    const std::vector<TTextItem>& Texts() const;
    // The first item of the last frame with this text, or null.
    const TTextItem* FindText(const std::string& text) const;

    // Calls recorded during the last frame.
    const TRecordingLog& Log() const;

    TManualClock Clock{kStartTick};
    TMouseFrame MouseNext;

  private:
    void CollectSounds();
    TScopedClock UseClock{Clock};
    std::vector<TSoundRequest> SoundLog;
    struct TParts;
    std::unique_ptr<TParts> Parts;
};

// The colour (diffuse, 0..255) the board's squares were last drawn with, from the recording log
// of one frame; -1 components when the board was not drawn.
struct TRgb {
    int R = -1, G = -1, B = -1;
};
TRgb BoardColourDrawn(const TRecordingLog& log);

// Where the centre of square (column, row) shows on the logical screen through the matrices the
// camera last gave the device, by the forward projection and the viewport's clip window.
struct TScreenPoint {
    double X, Y;
};
TScreenPoint ScreenPointOfSquare(int column, int row);
