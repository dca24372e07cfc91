// Writes the installation's default backdrop picture: green baize with a
// faint woven texture, 576 x 384 pixels, as an uncompressed 24-bit Windows
// bitmap. The picture depends on nothing but this code, so every build makes
// the same file.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int WIDTH = 576;
constexpr int HEIGHT = 384;

// A small deterministic hash noise in -1..1.
double Noise(uint32_t x, uint32_t y) {
  uint32_t h = x * 374761393u + y * 668265263u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return static_cast<double>(h & 0xFFFF) / 32767.5 - 1.0;
}

// Felt: the base green, a fine fibre grain along both diagonals, a gentle
// lighting falloff towards the edges.
void BaizePixel(int x, int y, uint8_t& r, uint8_t& g, uint8_t& b) {
  const double grain = 0.55 * Noise(static_cast<uint32_t>(x), static_cast<uint32_t>(y)) +
                       0.25 * Noise(static_cast<uint32_t>((x + y) / 3), 7u) +
                       0.20 * Noise(static_cast<uint32_t>((x - y + 1000) / 3), 11u);
  const double dx = (x - WIDTH / 2.0) / (WIDTH / 2.0);
  const double dy = (y - HEIGHT / 2.0) / (HEIGHT / 2.0);
  const double light = 1.0 - 0.18 * (dx * dx + dy * dy) / 2.0;
  const double shade = light * (1.0 + 0.06 * grain);
  auto channel = [shade](double base) {
    const double v = std::round(base * shade);
    return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
  };
  r = channel(22);
  g = channel(104);
  b = channel(52);
}

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

std::vector<uint8_t> Bitmap() {
  const uint32_t rowBytes = (WIDTH * 3 + 3) / 4 * 4;
  const uint32_t offset = 14 + 40;
  const uint32_t imageBytes = rowBytes * HEIGHT;
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put(out, offset + imageBytes, 4);
  Put(out, 0, 4);
  Put(out, offset, 4);
  Put(out, 40, 4);
  Put(out, WIDTH, 4);
  Put(out, HEIGHT, 4);
  Put(out, 1, 2);
  Put(out, 24, 2);
  Put(out, 0, 4);
  Put(out, imageBytes, 4);
  Put(out, 3780, 4);
  Put(out, 3780, 4);
  Put(out, 0, 4);
  Put(out, 0, 4);
  for (int y = HEIGHT - 1; y >= 0; --y) {
    for (int x = 0; x < WIDTH; ++x) {
      uint8_t r, g, b;
      BaizePixel(x, y, r, g, b);
      out.push_back(b);
      out.push_back(g);
      out.push_back(r);
    }
    for (uint32_t pad = WIDTH * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || std::strcmp(argv[1], "--help") == 0) {
    std::fprintf(argc == 2 ? stdout : stderr,
                 "usage: make-backdrop OUTPUT\n"
                 "Writes the default table backdrop (576 x 384, 24-bit BMP) to OUTPUT.\n");
    return argc == 2 ? 0 : 2;
  }
  const std::vector<uint8_t> data = Bitmap();
  const std::string path = argv[1];
  const std::string temporary = path + ".tmp";
  FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) {
    std::fprintf(stderr, "make-backdrop: cannot create %s\n", temporary.c_str());
    return 1;
  }
  const bool written = std::fwrite(data.data(), 1, data.size(), file) == data.size();
  if (std::fclose(file) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    std::fprintf(stderr, "make-backdrop: cannot write %s\n", path.c_str());
    return 1;
  }
  return 0;
}
