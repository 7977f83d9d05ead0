#include "platform/recording/RecordingPresent.h"

#include <algorithm>

void TRecordingPresenter::FailAt(TPresentCallKind kind, HRESULT code, const char* why) {
    FailKind = kind;
    FailCode = code;
    FailWhy = why;
}

HRESULT TRecordingPresenter::Result(TPresentCallKind kind) {
    if (kind != FailKind || FailCode == DD_OK) {
        return DD_OK;
    }
    Error = FailWhy;
    return FailCode;
}

HRESULT TRecordingPresenter::OpenDriver() {
    Log.push_back({presentOpenDriver});
    return Result(presentOpenDriver);
}

HRESULT TRecordingPresenter::SetDisplayMode(uint32_t width, uint32_t height, uint32_t bits) {
    Log.push_back({presentSetDisplayMode, width, height, bits});
    return Result(presentSetDisplayMode);
}

HRESULT TRecordingPresenter::CreateFlipChain(uint32_t backBufferCount) {
    Log.push_back({presentCreateFlipChain, backBufferCount});
    return Result(presentCreateFlipChain);
}

TDirect3D* TRecordingPresenter::GetDirect3D() {
    Log.push_back({presentGetDirect3D});
    return Result(presentGetDirect3D) == DD_OK ? Direct3D : nullptr;
}

HRESULT TRecordingPresenter::CreateDepthBuffer(uint32_t width, uint32_t height, uint32_t bits,
                                               bool videoMemory) {
    Log.push_back({presentCreateDepthBuffer, width, height, bits, videoMemory ? 1u : 0u});
    return Result(presentCreateDepthBuffer);
}

void TRecordingPresenter::ColorFill(uint32_t color) {
    Log.push_back({presentColorFill, color});
}

TTextDevice* TRecordingPresenter::GetTextDevice() {
    Log.push_back({presentGetTextDevice});
    return TextAvailable ? Text : nullptr;
}

void TRecordingPresenter::Flip() {
    Log.push_back({presentFlip});
}

void TRecordingPresenter::ReleaseDirect3D() {
    Log.push_back({presentReleaseDirect3D});
}

void TRecordingPresenter::ReleaseDepthBuffer() {
    Log.push_back({presentReleaseDepthBuffer});
}

void TRecordingPresenter::ReleaseFlipChain() {
    Log.push_back({presentReleaseFlipChain});
}

void TRecordingPresenter::CloseDriver() {
    Log.push_back({presentCloseDriver});
}

std::vector<TPresentCallKind> TRecordingPresenter::Kinds() const {
    std::vector<TPresentCallKind> kinds;
    for (const TPresentCall& call : Log) {
        kinds.push_back(call.Kind);
    }
    return kinds;
}

size_t TRecordingPresenter::CountOf(TPresentCallKind kind) const {
    return static_cast<size_t>(std::count_if(
        Log.begin(), Log.end(), [kind](const TPresentCall& call) { return call.Kind == kind; }));
}
