#include "curve_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double WIDTH = 760, HEIGHT = 440;
constexpr double LEFT = 72, RIGHT = 24, TOP = 56, BOTTOM = 64;

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '"') out += "&quot;";
    else out += c;
  }
  return out;
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

// A tick step of 1, 2 or 5 times a power of ten giving at most `most` steps.
double TickStep(double span, int most) {
  double step = 1;
  while (span / step > most) {
    for (double factor : {2.0, 2.5, 2.0}) {
      step *= factor;
      if (span / step <= most) break;
    }
  }
  return step;
}

// Maps games and win rates to picture coordinates.
struct Frame {
  double Games;          // the x axis runs from 0 to Games
  double Bottom, Top;    // win rates at the ends of the y axis
  double X(double games) const { return LEFT + (WIDTH - LEFT - RIGHT) * games / Games; }
  double Y(double rate) const { return TOP + (HEIGHT - TOP - BOTTOM) * (Top - rate) / (Top - Bottom); }
};

// The y axis covers every interval and the 50% line, on whole ticks.
Frame FrameFor(const WinCurve& curve, double& rateStep) {
  const auto& slices = curve.Slices();
  double low = 0.5, high = 0.5;
  for (const auto& s : slices) {
    low = std::min(low, s.Share.Low);
    high = std::max(high, s.Share.High);
  }
  rateStep = TickStep(std::max(high - low, 0.05) * 100, 8) / 100;
  Frame frame;
  frame.Bottom = std::max(0.0, std::floor(low / rateStep - 1e-9) * rateStep);
  frame.Top = std::min(1.0, std::ceil(high / rateStep + 1e-9) * rateStep);
  if (frame.Top <= frame.Bottom) frame.Top = frame.Bottom + rateStep;
  const auto& last = slices.back();
  frame.Games = static_cast<double>(last.FirstGame - 1 + last.Share.Games);
  return frame;
}

std::string Text(double x, double y, const std::string& text, const char* anchor, const char* extra = "") {
  return "<text x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" text-anchor=\"" + anchor + "\"" + extra + ">" +
         Escaped(text) + "</text>\n";
}

std::string Line(double x1, double y1, double x2, double y2, const char* style) {
  return "<line x1=\"" + Number(x1) + "\" y1=\"" + Number(y1) + "\" x2=\"" + Number(x2) + "\" y2=\"" + Number(y2) +
         "\" " + style + "/>\n";
}

std::string Axes(const Frame& f, double rateStep) {
  std::string out;
  const double left = f.X(0), right = f.X(f.Games), top = f.Y(f.Top), bottom = f.Y(f.Bottom);
  for (double rate = f.Bottom; rate <= f.Top + 1e-9; rate += rateStep) {
    out += Line(left, f.Y(rate), right, f.Y(rate), "stroke=\"#e4e4e4\"");
    out += Text(left - 8, f.Y(rate) + 4, std::to_string(std::lround(100 * rate)) + "%", "end");
  }
  const double gameStep = TickStep(f.Games, 10);
  for (double games = 0; games <= f.Games + 1e-9; games += gameStep) {
    out += Line(f.X(games), bottom, f.X(games), bottom + 5, "stroke=\"#333\"");
    out += Text(f.X(games), bottom + 20, std::to_string(static_cast<long long>(games)), "middle");
  }
  out += Line(left, top, left, bottom, "stroke=\"#333\"");
  out += Line(left, bottom, right, bottom, "stroke=\"#333\"");
  return out;
}

}  // namespace

std::string WinCurveSvg(const WinCurve& curve, const std::string& title, const std::string& seat) {
  const auto& slices = curve.Slices();
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Number(WIDTH) + "\" height=\"" + Number(HEIGHT) +
      "\" viewBox=\"0 0 " + Number(WIDTH) + " " + Number(HEIGHT) +
      "\" font-family=\"sans-serif\" font-size=\"12\">\n"
      "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n" +
      Text(WIDTH / 2, 24, title, "middle", " font-size=\"15\"");
  if (slices.empty()) return out + Text(WIDTH / 2, HEIGHT / 2, "no games", "middle") + "</svg>\n";
  double rateStep;
  const Frame f = FrameFor(curve, rateStep);
  out += Axes(f, rateStep);

  // Each slice's interval covers the games it was measured on.
  std::string band;
  for (const auto& s : slices) {
    const double first = static_cast<double>(s.FirstGame - 1);
    const double x0 = f.X(first), x1 = f.X(first + static_cast<double>(s.Share.Games));
    band += "M" + Number(x0) + "," + Number(f.Y(s.Share.High)) + " H" + Number(x1) + " V" + Number(f.Y(s.Share.Low)) +
            " H" + Number(x0) + " Z ";
  }
  out += "<path class=\"interval\" d=\"" + band + "\" fill=\"#9ecae1\" fill-opacity=\"0.6\" stroke=\"none\"/>\n";
  out += Line(f.X(0), f.Y(0.5), f.X(f.Games), f.Y(0.5),
              "class=\"even\" stroke=\"#c0392b\" stroke-width=\"1.5\" stroke-dasharray=\"6,4\"");

  std::string points, dots;
  for (const auto& s : slices) {
    double x = f.X(static_cast<double>(s.FirstGame - 1) + s.Share.Games / 2.0), y = f.Y(s.Share.Rate);
    points += Number(x) + "," + Number(y) + " ";
    dots += "<circle cx=\"" + Number(x) + "\" cy=\"" + Number(y) + "\" r=\"3\"/>\n";
  }
  out += "<polyline class=\"rate\" points=\"" + points + "\" fill=\"none\" stroke=\"#08519c\" stroke-width=\"2\"/>\n";
  out += "<g fill=\"#08519c\">\n" + dots + "</g>\n";

  const double plotBottom = f.Y(f.Bottom);
  out += Text(f.X(f.Games / 2), plotBottom + 44, "games played", "middle");
  // Above the axis rather than turned along it: every viewer shows it.
  out += Text(LEFT - 8, TOP - 12, "games won by " + seat, "start");
  out += Text(WIDTH - RIGHT, TOP - 12,
              "win rate per " + std::to_string(curve.GamesPerSlice()) + " games, band: 95% interval, dashed: 50%",
              "end", " font-size=\"11\" fill=\"#555\"");
  return out + "</svg>\n";
}
