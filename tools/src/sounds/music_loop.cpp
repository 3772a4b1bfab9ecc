#include <array>
#include <vector>

#include "drums.h"
#include "piano.h"
#include "reverb.h"
#include "sounds.h"

namespace resgen {

namespace {

// Very nearly 120 beats a minute: 22048 frames a beat make the whole loop a whole number
// of 1024-frame AAC blocks, so the encoder adds no padding that would leave a gap at the
// loop point in players that do not trim it.
constexpr double kSecondsPerBeat = 22048.0 / kSampleRate;
constexpr int kBeatsPerBar = 4;
constexpr int kBars = 16;

struct Chord {
  int bass;                 // root, low
  std::array<int, 3> hand;  // close voicing around middle C for the broken chords
};

constexpr Chord kC{36, {60, 64, 67}}, kG{43, {59, 62, 67}}, kAm{45, {60, 64, 69}},
    kF{41, {60, 65, 69}}, kDm{38, {62, 65, 69}};

// Two eight-bar phrases; the last bar's G leads back into the first bar's C.
constexpr std::array<Chord, kBars> kChords = {kC,  kG, kAm, kF, kC,  kG, kF,  kG,
                                              kAm, kF, kC,  kG, kAm, kF, kDm, kG};

struct MelodyNote {
  int bar;
  double beat;
  double beats;
  int key;
};

const std::vector<MelodyNote>& melody() {
  static const std::vector<MelodyNote> notes = {
      {0, 0, 1, 76},    {0, 1, 1, 79},     {0, 2, 1, 76},    {0, 3, 1, 74},     {1, 0, 1.5, 74},
      {1, 1.5, .5, 71}, {1, 2, 1, 74},     {1, 3, 1, 79},    {2, 0, 2, 76},     {2, 2, 1, 72},
      {2, 3, 1, 76},    {3, 0, 1, 77},     {3, 1, 1, 76},    {3, 2, 1, 74},     {3, 3, 1, 72},
      {4, 0, 1, 76},    {4, 1, 1, 79},     {4, 2, 1.5, 84},  {4, 3.5, .5, 83},  {5, 0, 1, 79},
      {5, 1, 1, 74},    {5, 2, 1, 71},     {5, 3, 1, 74},    {6, 0, 1, 72},     {6, 1, 1, 69},
      {6, 2, 1, 72},    {6, 3, 1, 77},     {7, 0, 3, 74},    {8, 0, 1, 72},     {8, 1, 1, 76},
      {8, 2, 1.5, 81},  {8, 3.5, .5, 79},  {9, 0, 2, 77},    {9, 2, 1, 81},     {9, 3, 1, 84},
      {10, 0, 2, 79},   {10, 2, 1, 76},    {10, 3, 1, 72},   {11, 0, 1, 74},    {11, 1, 1, 79},
      {11, 2, 1, 83},   {11, 3, 1, 86},    {12, 0, 1.5, 84}, {12, 1.5, .5, 83}, {12, 2, 1, 81},
      {12, 3, 1, 76},   {13, 0, 1, 77},    {13, 1, 1, 81},   {13, 2, 1, 84},    {13, 3, 1, 81},
      {14, 0, 1, 77},   {14, 1, 1, 74},    {14, 2, 1, 81},   {14, 3, 1, 77},    {15, 0, 1, 79},
      {15, 1, .5, 77},  {15, 1.5, .5, 74}, {15, 2, 2, 71},
  };
  return notes;
}

double timeOf(int bar, double beat) { return (bar * kBeatsPerBar + beat) * kSecondsPerBeat; }

// Low notes to the left, high to the right, as a pianist hears the instrument.
float panOfKey(int key) { return static_cast<float>(key - 62) / 40.0f; }

void playLeftHand(SoundBuffer& out) {
  for (int bar = 0; bar < kBars; ++bar) {
    const int root = kChords[bar].bass;
    const struct {
      double beat, beats;
      int key;
      float velocity;
    } pattern[] = {{0, 1.9, root, 0.75f}, {2, 0.9, root + 7, 0.6f}, {3, 0.9, root + 12, 0.55f}};
    for (const auto& step : pattern) {
      playPianoNote(out, {timeOf(bar, step.beat), step.beats * kSecondsPerBeat, step.key,
                          step.velocity, panOfKey(step.key)});
    }
  }
}

// Broken chords in eighths; each note is held on like a half-pedalled piano.
void playBrokenChords(SoundBuffer& out) {
  constexpr int order[] = {0, 2, 1, 2, 3, 2, 1, 2};  // 3 is the root an octave up
  for (int bar = 0; bar < kBars; ++bar) {
    const std::array<int, 3>& hand = kChords[bar].hand;
    for (int eighth = 0; eighth < 8; ++eighth) {
      const int key = order[eighth] == 3 ? hand[0] + 12 : hand[order[eighth]];
      const float velocity = eighth % 2 == 0 ? 0.34f : 0.27f;
      playPianoNote(
          out, {timeOf(bar, eighth * 0.5), 1.5 * kSecondsPerBeat, key, velocity, panOfKey(key)});
    }
  }
}

void playMelody(SoundBuffer& out) {
  for (const MelodyNote& note : melody()) {
    playPianoNote(out, {timeOf(note.bar, note.beat), note.beats * kSecondsPerBeat * 0.95, note.key,
                        0.75f, panOfKey(note.key) * 0.5f});
  }
}

void playDrums(SoundBuffer& out) {
  for (int bar = 0; bar < kBars; ++bar) {
    // The last bar of each phrase ends in a snare roll into the next phrase.
    const bool fill = bar % 8 == 7;
    playDrum(out, {timeOf(bar, 0), Drum::Kick, 1.0f});
    playDrum(out, {timeOf(bar, 2), Drum::Kick, 0.9f});
    if (bar % 2 == 1) playDrum(out, {timeOf(bar, 2.5), Drum::Kick, 0.6f});
    playDrum(out, {timeOf(bar, 1), Drum::Snare, 0.8f});
    if (fill) {
      const float roll[] = {0.45f, 0.55f, 0.7f, 0.85f};
      for (int i = 0; i < 4; ++i) playDrum(out, {timeOf(bar, 3 + 0.25 * i), Drum::Snare, roll[i]});
    } else {
      playDrum(out, {timeOf(bar, 3), Drum::Snare, 0.8f});
    }
    for (int eighth = 0; eighth < 8; ++eighth) {
      const bool open = eighth == 7 && bar % 4 == 3 && !fill;
      playDrum(out, {timeOf(bar, eighth * 0.5), open ? Drum::OpenHat : Drum::ClosedHat,
                     eighth % 2 == 1 ? 1.0f : 0.6f});
    }
  }
}

}  // namespace

SoundBuffer makeMusicLoop() {
  SoundBuffer music(framesOf(timeOf(kBars, 0)), SoundBuffer::Ending::Loop);
  playLeftHand(music);
  playBrokenChords(music);
  playMelody(music);
  playDrums(music);
  addReverb(music, 0.25f);
  return music;
}

}  // namespace resgen
