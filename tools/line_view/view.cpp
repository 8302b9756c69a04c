#include "tools/line_view/view.h"

#include "tools/line_view/view_data.h"
#include "tools/text/script_json.h"
#include "tools/text/text_encoding.h"

namespace lorvena {

// tools/line_view/page/, built in by cmake/embed_text.cmake.
extern const char kViewStyle[];
extern const char kViewLabelsScript[];
extern const char kViewKeptTextsScript[];
extern const char kViewPlanShapeScript[];
extern const char kViewAlongMarksScript[];
extern const char kViewScript[];

std::string view_html(const CompileResult& result, const std::vector<Diagnostic>& diagnostics,
                      const std::string& line_file, const std::string& train_file) {
  return view_html_of(result, view_data_json(result, diagnostics, line_file, train_file));
}

std::string view_html_of(const CompileResult& result, const std::string& data_json) {
  std::string title = xml_escape(utf8_from_1252(result.model.scenario_name + " " + result.model.train_number));
  std::string html = "<!DOCTYPE html>\n<html lang=\"it\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + title +
                     "</title>\n<style>\n";
  html += kViewStyle;
  html += "</style>\n</head>\n<body>\n<header><h1>" + title + "</h1>\n"
          "<form id=\"range\"><label>da km <input id=\"from-km\" type=\"number\" step=\"any\"></label> "
          "<label>a km <input id=\"to-km\" type=\"number\" step=\"any\"></label> "
          "<button type=\"submit\">mostra</button> <button type=\"button\" id=\"whole-line\">tutta la linea</button> "
          "<span id=\"shown-range\"></span></form></header>\n"
          "<main><svg id=\"view\" xmlns=\"http://www.w3.org/2000/svg\"></svg>\n"
          "<aside id=\"record\" aria-live=\"polite\">Passa sopra un oggetto per vederne il record.</aside></main>\n"
          "<section><h2>Diagnostica</h2><ol id=\"diagnostics\"></ol></section>\n"
          "<section><h2>Stazioni</h2><table id=\"stations\"><thead><tr><th>stazione</th><th>km</th><th>ora</th><th>arrivo possibile</th>"
          "<th>record</th></tr></thead><tbody></tbody></table></section>\n"
          "<script type=\"application/json\" id=\"line-data\">";
  html += script_safe_json(data_json);
  html += "</script>\n<script>\n";
  html += kViewLabelsScript;
  html += "\n";
  html += kViewKeptTextsScript;
  html += "\n";
  html += kViewPlanShapeScript;
  html += "\n";
  html += kViewAlongMarksScript;
  html += "\n";
  html += kViewScript;
  html += "</script>\n</body>\n</html>\n";
  return html;
}

}  // namespace lorvena
