#pragma once
// Checks of option values by the very function that will read them, so that a value the command
// line takes is one the command can use.
#include <CLI/CLI.hpp>
#include <string>

namespace morvek {

template <typename Reader>
CLI::Validator ReadableBy(Reader reader, const std::string& shape) {
  return CLI::Validator(
      [reader, shape](const std::string& text) -> std::string {
        return reader(text) ? std::string() : "not " + shape + ": " + text;
      },
      shape);
}

}  // namespace morvek
