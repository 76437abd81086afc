#pragma once
// Why a backup file is refused, in parts, so that each program says it in its
// own words: what() is lcx3's English sentence, Problem() the facts the window
// puts in French.

#include <cstdint>
#include <string>

#include "calibrator/InputError.h"
#include "modbus/RegisterImage.h"

namespace vadero {

struct Parameter;

struct BackupProblem {
    enum class Kind {
        CannotRead,  // detail: the system's reason
        Directory,
        NotRegular,
        TooLarge,  // number: the size in bytes, when known
        Empty,
        NotJson,       // number: the byte where the text stops being JSON
        DuplicateKey,  // detail: the key
        NoHolding,
        HoldingSize,  // number: the registers it has
        NotNull,      // number: the register
        NotWord,      // number: the register
        Impossible,   // parameter, with the registers read in words
        Disagrees,    // detail: the decoded field
    };
    Kind kind = Kind::CannotRead;
    std::string path;
    std::string detail;
    long long number = 0;
    const Parameter* parameter = nullptr;
    RegisterImage words{};
};

class BackupError : public InputError {
  public:
    BackupError(BackupProblem problem, const std::string& what)
        : InputError(what), problem_(std::move(problem)) {}
    const BackupProblem& Problem() const { return problem_; }

  private:
    BackupProblem problem_;
};

}  // namespace vadero
