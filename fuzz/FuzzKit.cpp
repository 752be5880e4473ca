#include "FuzzKit.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qz::fuzz {

namespace {

void RemoveScratch() {
  std::error_code ec;
  std::filesystem::remove_all(ScratchDir(), ec);
}

// The line of text that holds byte at.
std::string LineAround(const std::string& text, size_t at) {
  const size_t begin = text.rfind('\n', at == 0 ? 0 : at - 1);
  const size_t from = begin == std::string::npos ? 0 : begin + 1;
  const size_t end = text.find('\n', at);
  return text.substr(from, (end == std::string::npos ? text.size() : end) - from);
}

}  // namespace

const std::string& ScratchDir() {
  // Never destroyed, so the exit handler that removes the folder can still name it.
  static const std::string* const dir = [] {
    // Saves fsync their file: a folder in memory keeps that cheap.
    const std::string base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm/" : "/tmp/";
    auto* d = new std::string(base + "quenzar-fuzz-" + std::to_string(::getpid()) + "/");
    std::filesystem::create_directories(*d);
    std::atexit(RemoveScratch);
    return d;
  }();
  return *dir;
}

std::string WriteScratch(const std::string& name, const uint8_t* data, size_t size) {
  const std::string path = ScratchDir() + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || (size && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0)
    Broken("cannot write the scratch file " + path);
  return path;
}

std::string WriteScratch(const std::string& name, const std::string& text) {
  return WriteScratch(name, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

std::string ReadScratch(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void Broken(const std::string& what) {
  std::fprintf(stderr, "BROKEN PROMISE: %s\n", what.c_str());
  std::abort();
}

void Broken(const std::string& what, const std::string& expected, const std::string& actual) {
  size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  std::fprintf(stderr, "BROKEN PROMISE: %s\n  expected: %s\n  actual:   %s\n", what.c_str(),
               LineAround(expected, at).c_str(), LineAround(actual, at).c_str());
  std::abort();
}

}  // namespace qz::fuzz
