// Whose compile it is. The installer's run compiles the two descriptions it
// has just written and leaves the compiled files for good; every other compile
// (the authors' tool on copies, the tests, the fuzzer, the benchmarks) works
// on files that someone else supplies, keeps or throws away.
#pragma once

namespace lorvena {

enum class CompileMode {
  // A description that cannot be opened or read back is a failure of the
  // disk (FileSystemError, thrown before any compiled file is written); the
  // compiled files are flushed to stable storage before they replace the old.
  kInstallerRun,
  // A missing or unreadable description is recorded (101, 25) and the
  // compile goes on; the compiled files are not flushed.
  kCopies,
};

}  // namespace lorvena
