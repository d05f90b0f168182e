// Composing a launcher-sized window: a 1000 x 700 root with a full background, 12 translucent panels of
// 300 x 200 and 24 skinned buttons of 70 x 24 in each (301 nodes), every node painting its own image each
// frame the way skinned controls do. Prints the time of one frame (update, one mouse move, whole-tree draw)
// against the 33 ms frame budget.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "ui/gfx/Dib.h"
#include "ui/view/NWnd.h"

namespace {

// A node whose look is one image, copied into its surface on every paint.
class ImageNode : public NWnd {
 public:
  explicit ImageNode(Dib* look) : look_(look) {}
  ~ImageNode() override { Destroy(); }
  void OnPaint(HDC, Dib* surface) override { Dib::Draw(nullptr, nullptr, look_, surface, 0); }

 private:
  Dib* look_;
};

Dib* MakeLook(int32_t width, int32_t height, uint32_t seed, bool translucent_edges) {
  Dib* image = Dib::CreateBlank(width, height, 0);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      bool edge = x < 2 || y < 2 || x >= width - 2 || y >= height - 2;
      uint32_t alpha = translucent_edges && edge ? 0x60u : 0xFFu;
      image->Row(y)[x] =
          alpha << 24 | ((seed * 2654435761u + static_cast<uint32_t>(x * 31 + y)) & 0x00FFFFFF);
    }
  }
  return image;
}

double Milliseconds(LARGE_INTEGER start, LARGE_INTEGER end, LARGE_INTEGER frequency) {
  return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main() {
  Dib* background = MakeLook(1000, 700, 1, false);
  Dib* panel_look = MakeLook(300, 200, 2, true);
  panel_look->set_alpha(230);
  Dib* button_look = MakeLook(70, 24, 3, true);

  ImageNode root(background);
  root.Create(0, 0, 1000, 700, 0, nullptr);
  root.Show(1, 0);
  std::vector<std::unique_ptr<ImageNode>> nodes;
  for (int panel_index = 0; panel_index < 12; ++panel_index) {
    nodes.push_back(std::make_unique<ImageNode>(panel_look));
    ImageNode* panel = nodes.back().get();
    panel->Create(20 + (panel_index % 4) * 240, 20 + (panel_index / 4) * 220, 300, 200, panel_index, &root);
    panel->Show(1, 0);
    for (int button_index = 0; button_index < 24; ++button_index) {
      nodes.push_back(std::make_unique<ImageNode>(button_look));
      ImageNode* button = nodes.back().get();
      button->Create(8 + (button_index % 4) * 72, 8 + (button_index / 4) * 30, 70, 24, button_index, panel);
      button->Show(1, 0);
    }
  }
  int node_count = 1 + static_cast<int>(nodes.size());

  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  const int kWarmUp = 5;
  const int kFrames = 100;
  std::vector<double> frames;
  for (int frame = 0; frame < kWarmUp + kFrames; ++frame) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    root.Update();
    root.DispatchMouseMove(100 + frame % 700, 100 + frame % 500, nullptr);
    root.Draw(nullptr, nullptr, 0);
    QueryPerformanceCounter(&end);
    if (frame >= kWarmUp)
      frames.push_back(Milliseconds(start, end, frequency));
  }
  std::sort(frames.begin(), frames.end());
  double total = 0;
  for (double ms : frames)
    total += ms;
  std::printf(
      "compose %d nodes into 1000 x 700: median %.2f ms, mean %.2f ms, worst %.2f ms per frame (%d frames; "
      "budget 33 ms)\n",
      node_count, frames[frames.size() / 2], total / frames.size(), frames.back(), kFrames);

  nodes.clear();
  root.Destroy();
  background->Release();
  panel_look->Release();
  button_look->Release();
  return 0;
}
