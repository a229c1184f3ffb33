// The updater's executable, as the build made it from updater/, carried in
// the program byte for byte (the definition is generated at build time).
#pragma once

#include <cstddef>

extern const unsigned char kUpdaterImage[];
extern const std::size_t kUpdaterImageSize;
