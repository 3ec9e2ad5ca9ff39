#include <iostream>

#include "bridge/ProcessText.h"
#include "cli/Commands.h"
#include "cli/Progress.h"

int main(int argc, char** argv) {
  const k4r::bridge::Utf8StandardStreams streams;
  if (streams.ErrIsTerminal()) {
    k4r::cli::MarkAsTerminal(streams.Err());
  }
  return k4r::cli::Run(k4r::bridge::Utf8Arguments(argc, argv), std::cin, streams.Out(), streams.Err());
}
