#include "board/svg_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace board {
namespace {

constexpr double kWidth = 480, kHeight = 300;
constexpr double kLeft = 76, kRight = 16, kTop = 28, kBottom = 44;

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

class Frame {
 public:
  explicit Frame(const Plot& plot) : x(plot.x), y(plot.y) {}
  double left(double value) const {
    return kLeft + (value - x.from) / span(x) * (kWidth - kLeft - kRight);
  }
  double top(double value) const {
    const double share = (value - y.from) / span(y);
    return kTop + (y.downward ? share : 1 - share) * (kHeight - kTop - kBottom);
  }

 private:
  static double span(const PlotAxis& axis) { return axis.to > axis.from ? axis.to - axis.from : 1; }
  const PlotAxis& x;
  const PlotAxis& y;
};

std::string text(double left, double top, const std::string& anchor, const std::string& body,
                 const std::string& extra = "") {
  return "<text x=\"" + number(left) + "\" y=\"" + number(top) + "\" text-anchor=\"" + anchor +
         "\"" + extra + ">" + body + "</text>";
}

std::string axes(const Plot& plot, const Frame& frame) {
  std::string svg = "<g stroke=\"#ccc\" stroke-width=\"1\">";
  std::string labels = "<g font-size=\"12\" fill=\"#333\">";
  for (const double value : ticks(plot.x.from, plot.x.to, plot.x.minStep)) {
    const double left = frame.left(value);
    svg += "<line x1=\"" + number(left) + "\" x2=\"" + number(left) + "\" y1=\"" + number(kTop) +
           "\" y2=\"" + number(kHeight - kBottom) + "\"/>";
    labels += text(left, kHeight - kBottom + 16, "middle", plot.x.tickText(value));
  }
  for (const double value : ticks(plot.y.from, plot.y.to, plot.y.minStep)) {
    const double top = frame.top(value);
    svg += "<line x1=\"" + number(kLeft) + "\" x2=\"" + number(kWidth - kRight) + "\" y1=\"" +
           number(top) + "\" y2=\"" + number(top) + "\"/>";
    labels += text(kLeft - 6, top + 4, "end", plot.y.tickText(value));
  }
  labels += text((kLeft + kWidth - kRight) / 2, kHeight - 6, "middle", plot.x.label);
  labels += text(14, (kTop + kHeight - kBottom) / 2, "middle", plot.y.label,
                 " transform=\"rotate(-90 14 " + number((kTop + kHeight - kBottom) / 2) + ")\"");
  return svg + "</g>" + labels + "</g>";
}

std::string line(const PlotSeries& series, const Frame& frame) {
  std::string points;
  for (std::size_t at = 0; at < series.points.size(); ++at) {
    const auto [x, y] = series.points[at];
    if (series.steps && at > 0) {
      points += number(frame.left(x)) + "," + number(frame.top(series.points[at - 1].second)) + " ";
    }
    points += number(frame.left(x)) + "," + number(frame.top(y)) + " ";
  }
  std::string svg = "<polyline fill=\"none\" stroke=\"" + series.colour +
                    "\" stroke-width=\"2\" stroke-linejoin=\"round\" points=\"" + points + "\"/>";
  if (series.points.size() == 1 || series.steps) {  // a lone point, or each best, shows as a dot
    for (const auto& [x, y] : series.points) {
      svg += "<circle r=\"3\" fill=\"" + series.colour + "\" cx=\"" + number(frame.left(x)) +
             "\" cy=\"" + number(frame.top(y)) + "\"/>";
    }
  }
  return svg;
}

}  // namespace

std::vector<double> ticks(double from, double to, double minStep) {
  if (!(to > from) || !std::isfinite(to - from)) return {from};
  const double rough = (to - from) / 5;
  const double power = std::pow(10, std::floor(std::log10(rough)));
  double step = power * 5;
  for (const double factor : {1.0, 2.0}) {
    if (rough <= power * factor) {
      step = power * factor;
      break;
    }
  }
  step = std::max(step, minStep);
  std::vector<double> values;
  for (double value = std::ceil(from / step - 1e-9) * step; value <= to + step * 1e-9;
       value += step) {
    values.push_back(std::abs(value) < step * 1e-9 ? 0 : value);
  }
  return values;
}

std::string svgPlot(const Plot& plot) {
  const Frame frame(plot);
  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + number(kWidth) +
                    " " + number(kHeight) + "\" width=\"" + number(kWidth) + "\" height=\"" +
                    number(kHeight) + "\" role=\"img\" font-family=\"sans-serif\"><title>" +
                    plot.title + "</title><desc>" + plot.description + "</desc>" +
                    "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>" + axes(plot, frame);
  double legend = kLeft + 8;
  for (const PlotSeries& series : plot.series) {
    svg += line(series, frame);
    if (plot.legend) {
      svg += "<rect x=\"" + number(legend) + "\" y=\"8\" width=\"12\" height=\"12\" fill=\"" +
             series.colour + "\"/>" +
             text(legend + 16, 18, "start", series.label, " font-size=\"12\"");
      legend += 24 + 8 * double(series.label.size());
    }
  }
  return svg + "</svg>";
}

}  // namespace board
