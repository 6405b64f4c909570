#pragma once

#include <stdexcept>
#include <string>

// Raised by the media engine for failures the user should be told about; the
// application's exception handler shows it with a warning icon.
class FFmpegException : public std::runtime_error {
public:
    explicit FFmpegException(const std::string& message) : std::runtime_error(message) {}
};
