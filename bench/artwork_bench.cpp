// The pictures are drawn in code the first time they are used; these measure
// that first drawing (all 54 faces, the 62 icons) and the cached look-up after it.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <cstdlib>

#include "client/ui/artwork.h"
#include "client/ui/artwork_draw.h"

namespace {

using namespace quarn::client;

QPixmap Canvas(QSize size, qreal ratio) {
  QPixmap pixmap(size * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

void BM_DrawAllCardFaces(benchmark::State& state) {
  const qreal ratio = static_cast<qreal>(state.range(0));
  for (auto _ : state) {
    for (int m = 1; m <= 54; ++m) {
      QPixmap face = Canvas({kCardFaceWidth, kCardFaceHeight}, ratio);
      QPainter painter(&face);
      painter.setRenderHint(QPainter::Antialiasing);
      art::DrawCardFace(painter, m);
      painter.end();
      benchmark::DoNotOptimize(face);
    }
  }
  state.SetItemsProcessed(state.iterations() * 54);
}
BENCHMARK(BM_DrawAllCardFaces)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_DrawAllIcons(benchmark::State& state) {
  for (auto _ : state) {
    for (int n = 1; n <= kHeadIconCount + kServiceIconCount; ++n) {
      QPixmap icon = Canvas({kIconSize, kIconSize}, 1.0);
      QPainter painter(&icon);
      painter.setRenderHint(QPainter::Antialiasing);
      if (n <= kHeadIconCount) {
        art::DrawHeadIcon(painter, n);
      } else {
        art::DrawServiceIcon(painter, n - kHeadIconCount);
      }
      painter.end();
      benchmark::DoNotOptimize(icon);
    }
  }
  state.SetItemsProcessed(state.iterations() * (kHeadIconCount + kServiceIconCount));
}
BENCHMARK(BM_DrawAllIcons)->Unit(benchmark::kMillisecond);

void BM_CachedCardLookup(benchmark::State& state) {
  int card = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(LoadCardBitmap(card, 1.0));
    card = card % 108 + 1;
  }
}
BENCHMARK(BM_CachedCardLookup);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
