#pragma once
// Building and inspecting officer file images byte by byte in tests.

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "core/Bytes.h"

namespace k4r::testing {

struct ByteAt {
  std::size_t offset;
  std::uint8_t value;
};

// `size` bytes of `fill` with the listed bytes set (the image grows to hold them).
inline ByteString MakeImage(std::size_t size, std::initializer_list<ByteAt> bytes = {}, char fill = '\0') {
  ByteString image(size, fill);
  for (const ByteAt& byte : bytes) {
    if (image.size() <= byte.offset) {
      image.resize(byte.offset + 1, fill);
    }
    image[byte.offset] = static_cast<char>(byte.value);
  }
  return image;
}

inline void Put(ByteString& image, std::size_t offset, ByteView bytes) {
  image.replace(offset, bytes.size(), bytes);
}

[[nodiscard]] inline std::uint8_t At(ByteView image, std::size_t offset) {
  return static_cast<std::uint8_t>(image.at(offset));
}

}  // namespace k4r::testing
