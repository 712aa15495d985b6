// The library's 21 exported functions: each checks the engine's state, translates its arguments
// and result, and hands over to the engine. Caller's thread.
#include "lyrinth.h"

#include "common/Log.h"
#include "engine/Engine.h"

#include <exception>
#include <memory>
#include <string>

namespace {

constexpr int32_t kVersion = 111; // 1.11
constexpr int32_t kYes = -1;
constexpr int32_t kNo = 0;

std::unique_ptr<lyrinth::Engine> engine;

int32_t answer(bool yes) {
    return yes ? kYes : kNo;
}

// The engine, after freeing what the audio thread let go of; nullptr, reported, when not created.
lyrinth::Engine* created(const char* function) {
    if (!engine) {
        lyrinth::reportFailure(function, "the engine is not created (call LyrinthCreate first)");
        return nullptr;
    }
    engine->collectRetired();
    return engine.get();
}

lyrinth::Engine* waveUp(const char* function) {
    lyrinth::Engine* e = created(function);
    if (e && !e->waveUp()) {
        lyrinth::reportFailure(function, "the WAV engine is not up (call LyrinthInitWave first)");
        return nullptr;
    }
    return e;
}

lyrinth::Engine* midiUp(const char* function) {
    lyrinth::Engine* e = created(function);
    if (e && !e->midiUp()) {
        lyrinth::reportFailure(function, "the MIDI engine is not up (call LyrinthInitMidi first)");
        return nullptr;
    }
    return e;
}

const char* path(const char* function, const char* given) {
    if (given == nullptr || *given == '\0') {
        lyrinth::reportFailure(function, "no file name given");
        return nullptr;
    }
    return given;
}

// No exception may cross into a C caller.
template <typename Body> int32_t guarded(const char* function, Body body) noexcept {
    try {
        return body();
    } catch (const std::exception& error) {
        lyrinth::reportFailure(function, std::string("internal error: ") + error.what());
    } catch (...) {
        lyrinth::reportFailure(function, "internal error");
    }
    return kNo;
}

// A music call: refused, with the reason, while the MIDI engine is down; else `body` speaks to
// the music stage.
template <typename Body> int32_t musicCall(const char* function, Body body) noexcept {
    return guarded(function, [function, &body] {
        lyrinth::Engine* e = midiUp(function);
        return e ? body(*e) : kNo;
    });
}

// A setting handed to the stage, which clamps it.
int32_t musicSetting(const char* function, void (lyrinth::MusicStage::*apply)(int),
                     int32_t value) noexcept {
    return musicCall(function, [apply, value](lyrinth::Engine& e) {
        (e.music().*apply)(value);
        return kYes;
    });
}

// A query: "no" (or 0) while the MIDI engine is down, without a complaint, like the checks.
template <typename Query> int32_t musicQuery(const char* function, Query query) noexcept {
    return guarded(function, [&query] {
        if (!engine || !engine->midiUp()) {
            return kNo;
        }
        engine->collectRetired();
        return query(engine->music());
    });
}

} // namespace

extern "C" {

int32_t LyrinthCreate(void) {
    return guarded("LyrinthCreate", [] {
        if (!engine) {
            engine = lyrinth::Engine::create();
        }
        return answer(engine != nullptr);
    });
}

int32_t LyrinthRelease(void) {
    return guarded("LyrinthRelease", [] {
        if (!created("LyrinthRelease")) {
            return kNo;
        }
        engine.reset();
        return kYes;
    });
}

int32_t LyrinthGetVersion(void) {
    return kVersion;
}

int32_t LyrinthInitMidi(void) {
    return guarded("LyrinthInitMidi", [] {
        lyrinth::Engine* e = created("LyrinthInitMidi");
        if (e && e->midiUp()) {
            lyrinth::reportFailure("LyrinthInitMidi", "the MIDI engine is already up");
            return kNo;
        }
        return answer(e && e->initMidi());
    });
}

int32_t LyrinthTermMidi(void) {
    return musicCall("LyrinthTermMidi", [](lyrinth::Engine& e) {
        e.termMidi();
        return kYes;
    });
}

int32_t LyrinthCheckValidMidi(void) {
    return answer(engine && engine->midiUp());
}

int32_t LyrinthPlayMusic(const char* file) {
    return musicCall("LyrinthPlayMusic", [file](lyrinth::Engine& e) {
        const char* p = path("LyrinthPlayMusic", file);
        return answer(p && e.playMusic(p));
    });
}

int32_t LyrinthStopMusic(void) {
    return musicCall("LyrinthStopMusic", [](lyrinth::Engine& e) {
        e.music().stop();
        return kYes;
    });
}

int32_t LyrinthSetMusicSpeed(int32_t percent) {
    return musicSetting("LyrinthSetMusicSpeed", &lyrinth::MusicStage::setSpeed, percent);
}

int32_t LyrinthSetMusicPanpot(int32_t pan) {
    return musicSetting("LyrinthSetMusicPanpot", &lyrinth::MusicStage::setPan, pan);
}

int32_t LyrinthSetMusicVolume(int32_t volume) {
    return musicSetting("LyrinthSetMusicVolume", &lyrinth::MusicStage::setVolume, volume);
}

int32_t LyrinthFadeInMusic(int32_t milliseconds) {
    return musicSetting("LyrinthFadeInMusic", &lyrinth::MusicStage::fadeIn, milliseconds);
}

int32_t LyrinthFadeOutMusic(int32_t milliseconds) {
    return musicCall("LyrinthFadeOutMusic", [milliseconds](lyrinth::Engine& e) {
        if (!e.music().fadeOut(milliseconds)) {
            lyrinth::reportFailure("LyrinthFadeOutMusic", "no music is playing");
            return kNo;
        }
        return kYes;
    });
}

int32_t LyrinthGetMusicPlaying(void) {
    return musicQuery("LyrinthGetMusicPlaying",
                      [](const lyrinth::MusicStage& m) { return answer(m.playing()); });
}

int32_t LyrinthGetMusicLooping(void) {
    return musicQuery("LyrinthGetMusicLooping",
                      [](const lyrinth::MusicStage& m) { return answer(m.looped()); });
}

int32_t LyrinthGetMidiTick(void) {
    return musicQuery("LyrinthGetMidiTick",
                      [](const lyrinth::MusicStage& m) { return static_cast<int32_t>(m.tick()); });
}

int32_t LyrinthInitWave(void) {
    return guarded("LyrinthInitWave", [] {
        lyrinth::Engine* e = created("LyrinthInitWave");
        if (e && e->waveUp()) {
            lyrinth::reportFailure("LyrinthInitWave", "the WAV engine is already up");
            return kNo;
        }
        if (e) {
            e->initWave();
        }
        return answer(e != nullptr);
    });
}

int32_t LyrinthTermWave(void) {
    return guarded("LyrinthTermWave", [] {
        lyrinth::Engine* e = waveUp("LyrinthTermWave");
        if (e) {
            e->termWave();
        }
        return answer(e != nullptr);
    });
}

int32_t LyrinthCheckValidWave(void) {
    return answer(engine && engine->waveUp());
}

int32_t LyrinthPlaySound(const char* file) {
    return guarded("LyrinthPlaySound", [file] {
        lyrinth::Engine* e = waveUp("LyrinthPlaySound");
        const char* p = e ? path("LyrinthPlaySound", file) : nullptr;
        return answer(p && e->playSound(p));
    });
}

int32_t LyrinthStopSound(void) {
    return guarded("LyrinthStopSound", [] {
        lyrinth::Engine* e = waveUp("LyrinthStopSound");
        if (e) {
            e->stopSounds();
        }
        return answer(e != nullptr);
    });
}

} // extern "C"
