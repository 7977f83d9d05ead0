// Costs of the per-frame work of the scene: reading an animated value and drawing the 66 models
// into the recording device. Every heap allocation made inside the timed loops is counted and
// reported as the "allocations" counter, which must stay 0.
#include "AllocationCount.h"
#include "platform/Clock.h"
#include "platform/recording/RecordingDevice3D.h"
#include "scene/BoardGeometry.h"
#include "scene/Camera.h"
#include "scene/Light.h"
#include "scene/Movement.h"
#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

namespace {

// A frame's worth of the scene as the game scene draws it: 64 discs showing random sides, the
// board, and the spinning pointer.
struct TScene {
    TRecordingLog Log;
    TRecordingDirect3D D3D{Log};
    std::unique_ptr<TDevice3D> Device = D3D.CreateDevice(devHardware);
    std::unique_ptr<TDeviceMaterial> Material = D3D.CreateMaterial();
    std::vector<std::unique_ptr<TSolid>> Models;

    TScene() {
        Device->SetLightState(D3DLIGHTSTATE_MATERIAL, Material->GetHandle(*Device));
        auto board = std::make_unique<TSolidBoard>(Device.get(), Material.get());
        board->Visible = true;
        for (int i = 0; i < kPieceCount; ++i) {
            auto piece = std::make_unique<TSolidPiece>(Device.get(), Material.get());
            piece->Visible = true;
            piece->Position.X.SetValue(CellToWorld(i % kBoardSide));
            piece->Position.Y.SetValue(CellToWorld(i / kBoardSide));
            piece->Position.Z.SetValue(10.0);
            piece->Rotation.X.SetValue(i % 3 == 0 ? 180.0 : 0.0);
            Models.push_back(std::move(piece));
        }
        Models.push_back(std::move(board));
        auto pointer = std::make_unique<TSolidPointer>(Device.get(), Material.get());
        pointer->Visible = true;
        pointer->Rotation.Z.AddSchedule(0.0, 0, true);
        pointer->Rotation.Z.AddSchedule(360.0, 2000, true);
        Models.push_back(std::move(pointer));
    }

    void Render() {
        Log.Clear();
        for (const auto& model : Models) {
            model->Render();
        }
    }
};

void BM_GetValueOnARunningSegment(benchmark::State& state) {
    TManualClock clock(0);
    TScopedClock scope(clock);
    TMovement value(0.0);
    value.AddSchedule(1000.0, 0xFFFFFFF0u, false);
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) {
        clock.Advance(1);
        benchmark::DoNotOptimize(value.GetValue());
    }
    state.counters["allocations"] = static_cast<double>(AllocationCount() - before);
}
BENCHMARK(BM_GetValueOnARunningSegment);

void BM_GetValueOnARepeatingCycle(benchmark::State& state) {
    // The pointer's spin: each reading 16 ms on, so the cycle wraps round every 125 readings.
    TManualClock clock(0);
    TScopedClock scope(clock);
    TMovement value(0.0);
    value.AddSchedule(0.0, 0, true);
    value.AddSchedule(360.0, 2000, true);
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) {
        clock.Advance(16);
        benchmark::DoNotOptimize(value.GetValue());
    }
    state.counters["allocations"] = static_cast<double>(AllocationCount() - before);
}
BENCHMARK(BM_GetValueOnARepeatingCycle);

void BM_RenderSixtySixModels(benchmark::State& state) {
    TManualClock clock(0);
    TScopedClock scope(clock);
    TScene scene;
    scene.Render(); // warm up: the log has seen a whole frame
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) {
        clock.Advance(16);
        scene.Render();
        benchmark::ClobberMemory();
    }
    state.counters["allocations"] = static_cast<double>(AllocationCount() - before);
    state.counters["calls"] = static_cast<double>(scene.Log.Size());
}
BENCHMARK(BM_RenderSixtySixModels)->Unit(benchmark::kMicrosecond);

void BM_FrameWithCameraAndLight(benchmark::State& state) {
    TManualClock clock(0);
    TScopedClock scope(clock);
    TScene scene;
    auto viewport = scene.D3D.CreateViewport();
    TCamera camera(scene.Device.get());
    TLight light(&scene.D3D, viewport.get());
    light.SetPointLight({2, 2, 2, 0}, {0, 0, 100}, 400.0f);
    for (int i = 0; i < 64; ++i) {
        light.Position.X.AddSchedule(i % 2 ? 300.0 : -300.0, 100, true);
    }
    camera.Eye.X.AddSchedule(1000.0, 0xFFFFFFF0u, false);
    scene.Render();
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) {
        clock.Advance(16);
        scene.Log.Clear();
        camera.Update();
        light.Update();
        for (const auto& model : scene.Models) {
            model->Render();
        }
        benchmark::ClobberMemory();
    }
    state.counters["allocations"] = static_cast<double>(AllocationCount() - before);
}
BENCHMARK(BM_FrameWithCameraAndLight)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
