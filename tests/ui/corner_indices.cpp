#include "corner_indices.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

struct Mark {
  int Left, Top, Right, Bottom;  // inclusive
  int Pixels;
};

// The corner's own colour: the commonest one in it.
QRgb Background(const QImage& image, int width, int height) {
  std::map<QRgb, int> counts;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) ++counts[image.pixel(x, y)];
  return std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
}

bool IsInk(QRgb pixel, QRgb background) {
  const int distance = std::abs(qRed(pixel) - qRed(background)) + std::abs(qGreen(pixel) - qGreen(background)) +
                       std::abs(qBlue(pixel) - qBlue(background));
  return distance > 180;
}

// The 4-connected ink marks of the corner.
std::vector<Mark> Marks(const QImage& image, int width, int height) {
  const QRgb background = Background(image, width, height);
  std::vector<char> seen(static_cast<size_t>(width * height), 0);
  std::vector<Mark> marks;
  std::vector<std::pair<int, int>> stack;
  for (int y0 = 0; y0 < height; ++y0)
    for (int x0 = 0; x0 < width; ++x0) {
      if (seen[y0 * width + x0] || !IsInk(image.pixel(x0, y0), background)) continue;
      Mark mark{x0, y0, x0, y0, 0};
      stack.push_back({x0, y0});
      seen[y0 * width + x0] = 1;
      while (!stack.empty()) {
        auto [x, y] = stack.back();
        stack.pop_back();
        ++mark.Pixels;
        mark.Left = std::min(mark.Left, x);
        mark.Right = std::max(mark.Right, x);
        mark.Top = std::min(mark.Top, y);
        mark.Bottom = std::max(mark.Bottom, y);
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
          const int nx = x + dx, ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= width || ny >= height || seen[ny * width + nx]) continue;
          if (!IsInk(image.pixel(nx, ny), background)) continue;
          seen[ny * width + nx] = 1;
          stack.push_back({nx, ny});
        }
      }
      marks.push_back(mark);
    }
  return marks;
}

}  // namespace

CornerIndex MeasureCornerIndex(const QImage& face) {
  const int width = face.width() * 2 / 5;
  const int height = face.height() / 2;
  const int speck = std::max(4, face.width() * face.width() / 2000);
  std::vector<Mark> marks;
  for (const Mark& m : Marks(face, width, height)) {
    const bool atEdge = m.Left == 0 || m.Top == 0 || m.Right == width - 1 || m.Bottom == height - 1;
    const bool border = m.Right - m.Left > width * 3 / 4 || m.Bottom - m.Top > height * 3 / 4;
    if (!atEdge && !border && m.Pixels >= speck) marks.push_back(m);
  }
  if (marks.empty()) return {};
  std::sort(marks.begin(), marks.end(), [](const Mark& a, const Mark& b) { return a.Top < b.Top; });
  // The rank: the topmost mark and any beside it (the two digits of 10, a
  // letter's loose parts), that is, overlapping its rows.
  Mark rank = marks.front();
  for (const Mark& m : marks)
    if (m.Top <= rank.Bottom && m.Bottom >= rank.Top && m.Left < rank.Right + face.width() / 10) {
      rank.Left = std::min(rank.Left, m.Left);
      rank.Right = std::max(rank.Right, m.Right);
      rank.Bottom = std::max(rank.Bottom, m.Bottom);
    }
  CornerIndex index;
  index.RankHeight = rank.Bottom - rank.Top + 1;
  index.RankWidth = rank.Right - rank.Left + 1;
  // The suit: the first mark below the rank that shares its columns.
  for (const Mark& m : marks)
    if (m.Top > rank.Bottom && m.Left <= rank.Right && m.Right >= rank.Left) {
      index.SuitHeight = m.Bottom - m.Top + 1;
      break;
    }
  return index;
}
