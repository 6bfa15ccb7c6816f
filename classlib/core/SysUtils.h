#pragma once
// Exceptions and the basic string helpers every module uses.
#include <exception>
#include <string>

namespace tq {

// Base of every failure the programs raise; carries a user-readable message.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : Message(std::move(message)) {}
  const char* what() const noexcept override { return Message.c_str(); }
  std::string Message;
};

}  // namespace tq
