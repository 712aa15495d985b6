// A stand-in for the sound library: exports its 21 functions, records each call with its
// argument and answers with scripted results.
#include "FakeLyrinth.h"

#include <map>
#include <string>

namespace {

std::map<std::string, int32_t>& results() {
    static std::map<std::string, int32_t> scripted;
    return scripted;
}

std::string& calls() {
    static std::string log;
    return log;
}

int32_t defaultResult(const std::string& function) {
    const bool succeedsOnTrue = function == "LyrinthCreate" || function == "LyrinthInitMidi" ||
                                function == "LyrinthInitWave" || function == "LyrinthPlaySound";
    return succeedsOnTrue ? -1 : 0;
}

int32_t record(const std::string& function, const std::string& argument = {}) {
    calls() += function + "(" + argument + ")\n";
    const auto scripted = results().find(function);
    return scripted != results().end() ? scripted->second : defaultResult(function);
}

} // namespace

extern "C" {

void fakeLyrinthReset(void) {
    results().clear();
    calls().clear();
}

void fakeLyrinthClearCalls(void) {
    calls().clear();
}

void fakeLyrinthSetResult(const char* function, int32_t result) {
    results()[function] = result;
}

const char* fakeLyrinthCalls(void) {
    return calls().c_str();
}

FAKE_LYRINTH_EXPORT int32_t LyrinthCreate(void) {
    return record("LyrinthCreate");
}
FAKE_LYRINTH_EXPORT int32_t LyrinthRelease(void) {
    return record("LyrinthRelease");
}
FAKE_LYRINTH_EXPORT int32_t LyrinthGetVersion(void) {
    return record("LyrinthGetVersion");
}
FAKE_LYRINTH_EXPORT int32_t LyrinthInitMidi(void) {
    return record("LyrinthInitMidi");
}
FAKE_LYRINTH_EXPORT int32_t LyrinthTermMidi(void) {
    return record("LyrinthTermMidi");
}
FAKE_LYRINTH_EXPORT int32_t LyrinthCheckValidMidi(void) {
    return record("LyrinthCheckValidMidi");
}
FAKE_LYRINTH_EXPORT int32_t LyrinthPlayMusic(const char* path) {
    return record("LyrinthPlayMusic", path);
}
FAKE_LYRINTH_EXPORT int32_t LyrinthStopMusic(void) {
    return record("LyrinthStopMusic");
}
FAKE_LYRINTH_EXPORT int32_t LyrinthSetMusicSpeed(int32_t speed) {
    return record("LyrinthSetMusicSpeed", std::to_string(speed));
}
FAKE_LYRINTH_EXPORT int32_t LyrinthSetMusicPanpot(int32_t pan) {
    return record("LyrinthSetMusicPanpot", std::to_string(pan));
}
FAKE_LYRINTH_EXPORT int32_t LyrinthSetMusicVolume(int32_t volume) {
    return record("LyrinthSetMusicVolume", std::to_string(volume));
}
FAKE_LYRINTH_EXPORT int32_t LyrinthFadeInMusic(int32_t time) {
    return record("LyrinthFadeInMusic", std::to_string(time));
}
FAKE_LYRINTH_EXPORT int32_t LyrinthFadeOutMusic(int32_t time) {
    return record("LyrinthFadeOutMusic", std::to_string(time));
}
FAKE_LYRINTH_EXPORT int32_t LyrinthGetMusicPlaying(void) {
    return record("LyrinthGetMusicPlaying");
}
FAKE_LYRINTH_EXPORT int32_t LyrinthGetMusicLooping(void) {
    return record("LyrinthGetMusicLooping");
}
FAKE_LYRINTH_EXPORT int32_t LyrinthGetMidiTick(void) {
    return record("LyrinthGetMidiTick");
}
FAKE_LYRINTH_EXPORT int32_t LyrinthInitWave(void) {
    return record("LyrinthInitWave");
}
FAKE_LYRINTH_EXPORT int32_t LyrinthTermWave(void) {
    return record("LyrinthTermWave");
}
FAKE_LYRINTH_EXPORT int32_t LyrinthCheckValidWave(void) {
    return record("LyrinthCheckValidWave");
}
FAKE_LYRINTH_EXPORT int32_t LyrinthPlaySound(const char* path) {
    return record("LyrinthPlaySound", path);
}
FAKE_LYRINTH_EXPORT int32_t LyrinthStopSound(void) {
    return record("LyrinthStopSound");
}
}
