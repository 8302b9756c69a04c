// A small builder of SVG text: elements with attributes, numbers written
// with one decimal, text escaped.
#pragma once

#include <string>
#include <string_view>

namespace lorvena {

std::string fmt(double value);

class SvgWriter {
 public:
  SvgWriter(double width, double height);

  void line(double x1, double y1, double x2, double y2, std::string_view style, std::string_view cls = {});
  void rect(double x, double y, double w, double h, std::string_view style, std::string_view cls = {});
  void circle(double cx, double cy, double r, std::string_view style, std::string_view cls = {});
  void path(std::string_view d, std::string_view style, std::string_view cls = {});
  // `anchor`: start, middle or end; `rotate` in degrees about (x, y).
  void text(double x, double y, std::string_view utf8, double size, std::string_view anchor = "start",
            double rotate = 0, std::string_view style = {});
  void open_group(std::string_view cls, std::string_view title_utf8 = {});
  void close_group();

  std::string finish();

 private:
  static std::string class_attr(std::string_view cls);
  std::string out_;
};

}  // namespace lorvena
