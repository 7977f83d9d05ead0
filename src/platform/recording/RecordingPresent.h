#pragma once

#include "platform/Present.h"
#include "platform/Text.h"

#include <string>
#include <vector>

class TRecordingText;

// A presenter that shows nothing and writes every call into a log, for tests of the set-up and
// of the frame. Any step can be made to fail with a chosen code. The Direct3D object it hands
// out is given by the test (usually a TRecordingDirect3D) and not owned.

enum TPresentCallKind : uint8_t {
    presentOpenDriver,
    presentSetDisplayMode,  // A = width, B = height, C = bits
    presentCreateFlipChain, // A = back buffers
    presentGetDirect3D,
    presentCreateDepthBuffer, // A = width, B = height, C = bits, D = video memory
    presentColorFill,         // A = colour
    presentGetTextDevice,
    presentFlip,
    presentReleaseDirect3D,
    presentReleaseDepthBuffer,
    presentReleaseFlipChain,
    presentCloseDriver,
};

struct TPresentCall {
    TPresentCallKind Kind;
    uint32_t A = 0;
    uint32_t B = 0;
    uint32_t C = 0;
    uint32_t D = 0;
};

class TRecordingPresenter final : public TPresenter {
  public:
    TRecordingPresenter(TDirect3D* direct3D, TTextDevice* text) : Direct3D(direct3D), Text(text) {}

    HRESULT OpenDriver() override;
    HRESULT SetDisplayMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel) override;
    HRESULT CreateFlipChain(uint32_t backBufferCount) override;
    TDirect3D* GetDirect3D() override;
    bool BackBufferInVideoMemory() const override { return VideoMemory; }
    HRESULT CreateDepthBuffer(uint32_t width, uint32_t height, uint32_t bitsPerPixel,
                              bool videoMemory) override;
    void ColorFill(uint32_t color) override;
    TTextDevice* GetTextDevice() override;
    void Flip() override;
    void ReleaseDirect3D() override;
    void ReleaseDepthBuffer() override;
    void ReleaseFlipChain() override;
    void CloseDriver() override;
    const char* LastError() const override { return Error.c_str(); }

    // The step that fails (as its call kind) and the code it returns; presentFlip never fails.
    void FailAt(TPresentCallKind kind, HRESULT code, const char* why);
    bool VideoMemory = true;
    bool TextAvailable = true;

    const std::vector<TPresentCall>& Calls() const { return Log; }
    std::vector<TPresentCallKind> Kinds() const;
    size_t CountOf(TPresentCallKind kind) const;
    void ClearLog() { Log.clear(); }

  private:
    HRESULT Result(TPresentCallKind kind);

    TDirect3D* Direct3D;
    TTextDevice* Text;
    std::vector<TPresentCall> Log;
    TPresentCallKind FailKind = presentFlip;
    HRESULT FailCode = DD_OK;
    std::string FailWhy;
    std::string Error;
};
