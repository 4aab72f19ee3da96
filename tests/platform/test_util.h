#pragma once
// Helpers shared by the platform tests.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <optional>
#include <ostream>
#include <sys/syscall.h>
#include <unistd.h>

#include "qt_print.h"

namespace testutil {

inline QByteArray read_bytes(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return f.readAll();
}

inline void write_bytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << qPrintable(path);
    f.write(bytes);
}

// Sets (or, with nullopt, removes) an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char *name, std::optional<QByteArray> value) : name_(name) {
        if (qEnvironmentVariableIsSet(name))
            old_ = qgetenv(name);
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            qputenv(name_, *old_);
        else
            qunsetenv(name_);
    }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    const char *name_;
    std::optional<QByteArray> old_;
};

// Tests run as root in some containers, where file permissions stop nothing. This drops the
// capabilities that override them for the calling thread while the object lives, so that a
// read-only folder really is read-only.
class ScopedFilePermissions {
public:
    ScopedFilePermissions() {
        if (geteuid() != 0)
            return;
        if (syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        const unsigned mask =
            (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);
        reduced[0].effective &= ~mask;
        changed_ = syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~ScopedFilePermissions() {
        if (changed_)
            syscall(SYS_capset, &header_, saved_);
    }
    ScopedFilePermissions(const ScopedFilePermissions &) = delete;
    ScopedFilePermissions &operator=(const ScopedFilePermissions &) = delete;

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2] = {};
    bool changed_ = false;
};

} // namespace testutil
