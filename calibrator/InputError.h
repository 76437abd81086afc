#pragma once
// Input from a person or a file that is refused before anything reaches the
// calibrator; what() says why.

#include <stdexcept>

namespace vadero {

class InputError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace vadero
