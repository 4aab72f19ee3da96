#pragma once
// What the harnesses share: a check that stops the run with a readable reason (libFuzzer then
// keeps the input), a Qt application for readers that need one, and a scratch folder.

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#define FUZZ_CHECK(condition, what) fuzz::check(condition, what, __FILE__, __LINE__)
// A property whose reason is the condition itself.
#define FUZZ_REQUIRE(condition) FUZZ_CHECK(condition, #condition)

namespace fuzz {

inline void check(bool holds, const char* what, const char* file, int line) {
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s (%s:%d)\n", what, file, line);
    std::abort();
}

inline QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app =
        QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    return app ? *app : *QCoreApplication::instance();
}

// The input bytes as one Latin-1 text.
inline QString latin1(const uint8_t* data, size_t size) {
    return QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

inline void write_file(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

// In memory where the system offers it: the readers under test write through temporary files
// and flush them, which on a disk would dominate every run.
inline const QTemporaryDir& scratch() {
    static QTemporaryDir dir(
        (QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm") : QDir::tempPath()) +
        "/quillarn-fuzz-XXXXXX");
    return dir;
}

// Reads input bytes front to back; past the end it gives zeros.
class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    QByteArray rest() { return take(size_ - pos_); }
    QByteArray take(size_t n) {
        n = std::min(n, size_ - pos_);
        QByteArray out(reinterpret_cast<const char*>(data_ + pos_), static_cast<qsizetype>(n));
        pos_ += n;
        return out;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

} // namespace fuzz
