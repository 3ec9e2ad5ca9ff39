#include <iostream>

#include "bridge/ProcessText.h"
#include "cli/Commands.h"

int main(int argc, char** argv) {
  const k4r::bridge::Utf8StandardStreams streams;
  return k4r::cli::Run(k4r::bridge::Utf8Arguments(argc, argv), std::cin, streams.Out(), streams.Err());
}
