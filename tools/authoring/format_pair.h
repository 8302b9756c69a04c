// `scenario_tool fmt`: a description pair written one way (keywords spelt as
// the record table spells them, each run of records in aligned columns, CR LF
// line ends, Windows-1252) without changing what the pair compiles to.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>


namespace lorvena {

struct PairTexts {
  std::string line;   // the line description's bytes
  std::string train;  // the train description's bytes
};

// Why a pair is not formatted; nothing is written then.
class FormatRefused : public std::runtime_error {
 public:
  explicit FormatRefused(const std::string& what) : std::runtime_error(what) {}
};

// A description's bytes in Windows-1252. A text with a byte above 127 that is
// well-formed UTF-8 is taken as UTF-8 and converted exactly (a leading byte
// order mark dropped); any other text is Windows-1252 already. Throws
// FormatRefused naming `file`, the line and column and the character when a
// character has no Windows-1252 form.
std::string description_1252(std::string_view bytes, const std::string& file);

// One Windows-1252 description formatted; `line`: the line description, else
// the train description. A line that holds exactly one whole record, read as
// the compile reads it, is written afresh; every other line (comments,
// headers, blank lines, anything the reader skips or a record that spans
// lines) is kept byte for byte. Every line ends with CR LF.
std::string format_description(std::string_view text, bool line);

// A formatted pair, and what its conversion from UTF-8 changes: the names a
// UTF-8 file gives the compiled table (station names, sign texts) are its
// bytes as they stand, so converting them gives the simulator other names.
struct FormattedPair {
  PairTexts texts;
  bool line_converted = false;  // the file was UTF-8 and is now Windows-1252
  bool train_converted = false;
  bool names_change = false;  // the original bytes compile to another table
};

// The pair formatted. Refuses (FormatRefused) a pair whose compile records
// an error, and any result that would compile to other bytes than the
// pair converted to Windows-1252, with or without the plan. `name` and
// `train` as typed (UTF-8).
FormattedPair format_pair(const std::string& name, const std::string& train, const PairTexts& original);

}  // namespace lorvena
