#pragma once

#include <stdexcept>
#include <string>

namespace orb {

/// An error of the image access or of a value conversion; each user operation catches it once.
class ImageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// An address (or index) outside the buffer it addresses.
class SubscriptOutOfRange : public ImageError {
  public:
    using ImageError::ImageError;
};

/// A value that does not fit where it is stored (a word above 65535, a byte above 255).
class Overflow : public ImageError {
  public:
    using ImageError::ImageError;
};

/// A text that should be a number (decimal or hexadecimal) and is not.
class TypeMismatch : public ImageError {
  public:
    using ImageError::ImageError;
};

/// A character of a text that the image's code page cannot hold, or a malformed text.
class EncodingError : public ImageError {
  public:
    using ImageError::ImageError;
};

} // namespace orb
