#include "support/sound_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

std::string SoundFolder::tone(const std::string& name, double frequency, double seconds,
                              int sampleRate, int channels) {
  std::ostringstream source;
  source << "-f lavfi -i \"aevalsrc=";
  for (int channel = 0; channel < channels; ++channel) {
    source << (channel > 0 ? "|" : "") << "0.5*cos(2*PI*" << frequency << "*t)";
  }
  source << ":s=" << sampleRate << ":d=" << seconds << "\" -c:a aac -b:a 192k";
  return make(name, source.str());
}

std::string SoundFolder::make(const std::string& name, const std::string& arguments) {
  const std::string target = path(name);
  const std::string command =
      "ffmpeg -nostdin -loglevel error -y " + arguments + " '" + target + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  return target;
}
