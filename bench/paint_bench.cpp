// The bar's gradient and the colour blend on a 4K-wide bar, and the soft bevel of a caption
// strip, each beside a memset of the same bitmap bytes.
#include <benchmark/benchmark.h>

#include <cstring>

#include "bench/bench_support.h"
#include "widgets/bevel.h"
#include "widgets/gradient.h"

namespace kv::bench {
namespace {

constexpr char kBarGradient[] =
    "16777215;12632256;22;0;0;12632256;12632256;54;0;0;12632256;16777215;23;0;0;16777215;"
    "16777215;0;0;0";

void Memset(benchmark::State& state, int width, int height) {
  Bitmap image(width, height);
  const size_t bytes = static_cast<size_t>(image.stride()) * height;
  int value = 0;
  for (auto _ : state) {
    std::memset(image.bits(), ++value & 0xFF, bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void Gradient(benchmark::State& state) {
  Bitmap image(3840, 61);
  const std::vector<GradientSegment> segments = ParseGradientData(kBarGradient);
  for (auto _ : state) {
    PaintGradient(image, {0, 0, image.width(), image.height()}, segments);
    benchmark::ClobberMemory();
  }
  if (image.pixel(0, 30) != 0xC0C0C0 || image.pixel(3839, 60) != 0xFFFFFF)
    state.SkipWithError("the gradient is not the bar's");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * image.stride() * 61));
}

void Blend(benchmark::State& state) {
  Bitmap image(3840, 61);
  PaintGradient(image, {0, 0, image.width(), image.height()}, ParseGradientData(kBarGradient));
  for (auto _ : state) {
    // The caption strips' share: 70 % gradient over 30 % of the plain colour.
    BlendWithColor(image, {0, 0, image.width() - 1, image.height() - 1}, 70, 0xC0C0C0);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * image.stride() * 61));
}

void Bevel(benchmark::State& state) {
  Bitmap image(497, 20);
  image.fill(0x808040);
  for (auto _ : state) {
    // Shading the same bitmap again and again drifts its edges, which costs the same.
    PaintSoftBevel(image, BevelKind::cbRaisedSoft, 2);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * image.stride() * 20));
}

const bool registered = [] {
  benchmark::RegisterBenchmark("paint_3840x61/memset", [](benchmark::State& s) {
    Memset(s, 3840, 61);
  })->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("paint_3840x61/PaintGradient", Gradient)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("paint_3840x61/BlendWithColor", Blend)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("bevel_497x20/memset", [](benchmark::State& s) {
    Memset(s, 497, 20);
  })->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("bevel_497x20/PaintSoftBevel", Bevel)->Unit(benchmark::kMicrosecond);
  AddComparison({"paint_3840x61/PaintGradient", "paint_3840x61/memset", 2});
  AddComparison({"paint_3840x61/BlendWithColor", "paint_3840x61/memset"});
  AddComparison({"bevel_497x20/PaintSoftBevel", "bevel_497x20/memset"});
  return true;
}();

}  // namespace
}  // namespace kv::bench
