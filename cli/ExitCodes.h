#pragma once
// Exit status of lcx3; scripts rely on these numbers.

#include "calibrator/InputError.h"

namespace vadero::cli {

enum ExitCode : int {
    kOk = 0,
    kUsage = 1,       // bad usage or a bad value; nothing was sent
    kNoDevice = 2,    // no matching calibrator
    kTimeOut = 3,     // the calibrator did not answer
    kMismatch = 4,    // verification found a difference
    kCannotOpen = 5,  // a matching device exists but cannot be opened
    kNotSaved = 6,    // the calibrator was read, but the backup file could not be written
    kNotPassed = 7,   // a loop check found a point out of tolerance, or was stopped
};

// Of two statuses, the one to report for a bench of calibrators: the first
// in this order, a configuration left wrong being the worst.
inline int MoreSevere(int a, int b) {
    for (const int status : {kMismatch, kTimeOut, kNoDevice, kCannotOpen, kNotSaved, kUsage})
        if (a == status || b == status)
            return status;
    return a != kOk ? a : b;
}

// Bad usage or a bad value, found before anything was sent.
using UsageError = InputError;

}  // namespace vadero::cli
