// A shared library loaded on the first request for one of its functions; each function is looked
// up by name on its own first request and kept, so a library lacking one function still serves
// the others. The file is opened by exactly the name given: no prefixes, suffixes or search path.
#pragma once

#include <QString>

#include <string>
#include <unordered_map>

class LazyLibrary {
public:
    using Function = void (*)();

    explicit LazyLibrary(QString fileName);
    ~LazyLibrary();
    LazyLibrary(const LazyLibrary&) = delete;
    LazyLibrary& operator=(const LazyLibrary&) = delete;

    // Points at another file; the one loaded so far is let go and every function looked up anew.
    void setFileName(const QString& fileName);
    const QString& fileName() const { return fileName_; }

    // Throws LibraryError naming the file or the function, with the system's reason.
    Function function(const char* name);

private:
    void load();
    void unload();

    QString fileName_;
    void* handle_ = nullptr;
    std::unordered_map<std::string, Function> functions_;
};
