// What the fuzz targets share: a scratch folder of the process's own (in memory where
// the system has one) for readers that take a path, and the one way a target reports
// a broken promise so that libFuzzer keeps the input.
//
//   const std::string path = fuzz::WriteScratch("work.qznr", data, size);
//   if (saved != reread) fuzz::Broken("a saved work reads back differently", saved, reread);
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qz::fuzz {

// A folder made on first use, removed when the process ends; with its trailing "/".
const std::string& ScratchDir();
// Writes the bytes to ScratchDir() + name, replacing it, and gives the path.
std::string WriteScratch(const std::string& name, const uint8_t* data, size_t size);
std::string WriteScratch(const std::string& name, const std::string& text);
std::string ReadScratch(const std::string& path);

// Prints what went wrong (and the first line where two texts differ) and aborts.
[[noreturn]] void Broken(const std::string& what);
[[noreturn]] void Broken(const std::string& what, const std::string& expected, const std::string& actual);

}  // namespace qz::fuzz
