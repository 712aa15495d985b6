// The sound library's 21 functions, each a call through the lazily loaded library.
#include "modDeclares.h"

#include "LazyLibrary.h"
#include "LibraryError.h"

#include <QCoreApplication>
#include <QFile>

#if defined(_WIN32)
#define LYRINTH_CALL __stdcall
#else
#define LYRINTH_CALL
#endif

namespace {

using NoArgument = int32_t(LYRINTH_CALL*)();
using IntegerArgument = int32_t(LYRINTH_CALL*)(int32_t);
using PathArgument = int32_t(LYRINTH_CALL*)(const char*);

template <typename Function> Function resolve(const char* name) {
    return reinterpret_cast<Function>(modDeclares::library().function(name));
}

int32_t call(const char* name) {
    return resolve<NoArgument>(name)();
}

int32_t call(const char* name, int32_t value) {
    return resolve<IntegerArgument>(name)(value);
}

// The library takes NUL-terminated text in the system's narrow encoding. A name that encoding
// cannot carry, or one holding a NUL, would reach the library as another file: refuse it.
QByteArray narrowPath(const char* name, const QString& path) {
    QByteArray encoded = QFile::encodeName(path);
    if (path.contains(QChar::Null) || QFile::decodeName(encoded) != path) {
        throw LibraryError(
            QStringLiteral("%1: the file name \"%2\" cannot be passed in the system's encoding")
                .arg(QLatin1String(name), path)
                .toStdString());
    }
    return encoded;
}

int32_t call(const char* name, const QString& path) {
    const QByteArray encoded = narrowPath(name, path);
    return resolve<PathArgument>(name)(encoded.constData());
}

} // namespace

namespace modDeclares {

QString defaultLibraryPath() {
#if defined(_WIN32)
    const QString fileName = QStringLiteral("lyrinth.dll");
#elif defined(__APPLE__)
    const QString fileName = QStringLiteral("liblyrinth.dylib");
#else
    const QString fileName = QStringLiteral("liblyrinth.so");
#endif
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + fileName;
}

LazyLibrary& library() {
    static LazyLibrary lyrinth(defaultLibraryPath());
    return lyrinth;
}

int32_t LyrinthCreate() {
    return call("LyrinthCreate");
}
int32_t LyrinthInitMidi() {
    return call("LyrinthInitMidi");
}
int32_t LyrinthInitWave() {
    return call("LyrinthInitWave");
}
int32_t LyrinthTermMidi() {
    return call("LyrinthTermMidi");
}
int32_t LyrinthTermWave() {
    return call("LyrinthTermWave");
}
int32_t LyrinthRelease() {
    return call("LyrinthRelease");
}
int32_t LyrinthStopMusic() {
    return call("LyrinthStopMusic");
}
int32_t LyrinthPlayMusic(const QString& path) {
    return call("LyrinthPlayMusic", path);
}
int32_t LyrinthSetMusicSpeed(int32_t speed) {
    return call("LyrinthSetMusicSpeed", speed);
}
int32_t LyrinthSetMusicPanpot(int32_t pan) {
    return call("LyrinthSetMusicPanpot", pan);
}
int32_t LyrinthFadeInMusic(int32_t time) {
    return call("LyrinthFadeInMusic", time);
}
int32_t LyrinthFadeOutMusic(int32_t time) {
    return call("LyrinthFadeOutMusic", time);
}
int32_t LyrinthSetMusicVolume(int32_t volume) {
    return call("LyrinthSetMusicVolume", volume);
}
int32_t LyrinthPlaySound(const QString& path) {
    return call("LyrinthPlaySound", path);
}
int32_t LyrinthStopSound() {
    return call("LyrinthStopSound");
}
int32_t LyrinthGetVersion() {
    return call("LyrinthGetVersion");
}
int32_t LyrinthGetMidiTick() {
    return call("LyrinthGetMidiTick");
}
int32_t LyrinthGetMusicPlaying() {
    return call("LyrinthGetMusicPlaying");
}
int32_t LyrinthGetMusicLooping() {
    return call("LyrinthGetMusicLooping");
}
int32_t LyrinthCheckValidMidi() {
    return call("LyrinthCheckValidMidi");
}
int32_t LyrinthCheckValidWave() {
    return call("LyrinthCheckValidWave");
}

} // namespace modDeclares
