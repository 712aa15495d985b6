// A shared library loaded on the first request for one of its functions.
#include "LazyLibrary.h"

#include "LibraryError.h"

#include <QFile>

#include <utility>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

#if defined(_WIN32)
QString systemReason(const QString&) {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, GetLastError(), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const QString reason = QString::fromWCharArray(text).trimmed();
    LocalFree(text);
    return reason;
}

void* openLibrary(const QString& fileName) {
    return LoadLibraryExW(reinterpret_cast<const wchar_t*>(fileName.utf16()), nullptr,
                          LOAD_WITH_ALTERED_SEARCH_PATH);
}

LazyLibrary::Function findFunction(void* handle, const char* name) {
    return reinterpret_cast<LazyLibrary::Function>(
        GetProcAddress(static_cast<HMODULE>(handle), name));
}

void closeLibrary(void* handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
}
#else
// dlerror() starts with the file name, which our own message already gives.
QString systemReason(const QString& fileName) {
    const char* text = dlerror();
    QString reason =
        text != nullptr ? QString::fromLocal8Bit(text) : QStringLiteral("unknown reason");
    if (reason.startsWith(fileName + QStringLiteral(": "))) {
        reason.remove(0, fileName.size() + 2);
    }
    return reason;
}

void* openLibrary(const QString& fileName) {
    return dlopen(QFile::encodeName(fileName).constData(), RTLD_NOW | RTLD_LOCAL);
}

LazyLibrary::Function findFunction(void* handle, const char* name) {
    dlerror();
    return reinterpret_cast<LazyLibrary::Function>(dlsym(handle, name));
}

void closeLibrary(void* handle) {
    dlclose(handle);
}
#endif

} // namespace

LazyLibrary::LazyLibrary(QString fileName) : fileName_(std::move(fileName)) {}

// The library stays loaded until the process ends: unloading code at exit while a thread of its
// own (an audio device's, say) may still run would risk a crash for nothing.
LazyLibrary::~LazyLibrary() = default;

void LazyLibrary::setFileName(const QString& fileName) {
    unload();
    fileName_ = fileName;
}

LazyLibrary::Function LazyLibrary::function(const char* name) {
    if (const auto known = functions_.find(name); known != functions_.end()) {
        return known->second;
    }
    load();
    const Function found = findFunction(handle_, name);
    if (found == nullptr) {
        throw LibraryError(QStringLiteral("The library %1 has no function %2 (%3)")
                               .arg(fileName_, QLatin1String(name), systemReason(fileName_))
                               .toStdString());
    }
    functions_.emplace(name, found);
    return found;
}

void LazyLibrary::load() {
    if (handle_ != nullptr) {
        return;
    }
    handle_ = openLibrary(fileName_);
    if (handle_ == nullptr) {
        throw LibraryError(QStringLiteral("Cannot load %1 (%2)")
                               .arg(fileName_, systemReason(fileName_))
                               .toStdString());
    }
}

void LazyLibrary::unload() {
    functions_.clear();
    if (handle_ != nullptr) {
        closeLibrary(handle_);
        handle_ = nullptr;
    }
}
