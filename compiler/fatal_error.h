// Fatal errors: a conflict in a reserved slot ends the run with a message
// box " Errore n. " and the number. `errore` throws; the entry point shows
// the message and ends the program.
#pragma once

#include <stdexcept>
#include <string>

namespace lorvena {

class FatalError : public std::runtime_error {
 public:
  explicit FatalError(const std::string& number)
      : std::runtime_error(" Errore n. " + number), number_(number) {}
  const std::string& number() const { return number_; }

 private:
  std::string number_;
};

[[noreturn]] inline void errore(const std::string& a) { throw FatalError(a); }

}  // namespace lorvena
