#include "tools/picture/svg_writer.h"

#include <cmath>
#include <cstdio>

#include "tools/text/text_encoding.h"

namespace lorvena {

std::string fmt(double value) {
  if (!std::isfinite(value)) value = 0;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", value);
  return buf;
}

SvgWriter::SvgWriter(double width, double height) {
  out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
         fmt(width) + "\" height=\"" + fmt(height) + "\" viewBox=\"0 0 " + fmt(width) + " " + fmt(height) +
         "\" font-family=\"DejaVu Sans, Arial, sans-serif\">\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
}

std::string SvgWriter::class_attr(std::string_view cls) {
  return cls.empty() ? std::string() : " class=\"" + std::string(cls) + "\"";
}

void SvgWriter::line(double x1, double y1, double x2, double y2, std::string_view style, std::string_view cls) {
  out_ += "<line x1=\"" + fmt(x1) + "\" y1=\"" + fmt(y1) + "\" x2=\"" + fmt(x2) + "\" y2=\"" + fmt(y2) +
          "\" style=\"" + std::string(style) + "\"" + class_attr(cls) + "/>\n";
}

void SvgWriter::rect(double x, double y, double w, double h, std::string_view style, std::string_view cls) {
  out_ += "<rect x=\"" + fmt(x) + "\" y=\"" + fmt(y) + "\" width=\"" + fmt(w) + "\" height=\"" + fmt(h) +
          "\" style=\"" + std::string(style) + "\"" + class_attr(cls) + "/>\n";
}

void SvgWriter::circle(double cx, double cy, double r, std::string_view style, std::string_view cls) {
  out_ += "<circle cx=\"" + fmt(cx) + "\" cy=\"" + fmt(cy) + "\" r=\"" + fmt(r) + "\" style=\"" +
          std::string(style) + "\"" + class_attr(cls) + "/>\n";
}

void SvgWriter::path(std::string_view d, std::string_view style, std::string_view cls) {
  out_ += "<path d=\"" + std::string(d) + "\" style=\"" + std::string(style) + "\"" + class_attr(cls) + "/>\n";
}

void SvgWriter::text(double x, double y, std::string_view utf8, double size, std::string_view anchor, double rotate,
                     std::string_view style) {
  out_ += "<text x=\"" + fmt(x) + "\" y=\"" + fmt(y) + "\" font-size=\"" + fmt(size) + "\" text-anchor=\"" +
          std::string(anchor) + "\"";
  if (rotate != 0) out_ += " transform=\"rotate(" + fmt(rotate) + " " + fmt(x) + " " + fmt(y) + ")\"";
  if (!style.empty()) out_ += " style=\"" + std::string(style) + "\"";
  out_ += " xml:space=\"preserve\">" + xml_escape(utf8) + "</text>\n";
}

void SvgWriter::open_group(std::string_view cls, std::string_view title_utf8) {
  out_ += "<g" + class_attr(cls) + ">";
  if (!title_utf8.empty()) out_ += "<title>" + xml_escape(title_utf8) + "</title>";
  out_ += "\n";
}

void SvgWriter::close_group() { out_ += "</g>\n"; }

std::string SvgWriter::finish() { return out_ + "</svg>\n"; }

}  // namespace lorvena
