#pragma once
// Reading and writing the files a test sets up, and read-only files and folders even as root.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace testfiles {

inline QByteArray read_bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// `text` as UTF-16 with its byte order mark, little- or big-endian.
inline QByteArray utf16_bytes(const QString& text, bool little) {
    QByteArray out = little ? QByteArray("\xFF\xFE", 2) : QByteArray("\xFE\xFF", 2);
    for (QChar c : text) {
        const char hi = static_cast<char>(c.unicode() >> 8), lo = static_cast<char>(c.unicode());
        little ? out.append(lo).append(hi) : out.append(hi).append(lo);
    }
    return out;
}

// Makes the parent folder when it is missing.
inline void write_bytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

// Gives `path` the permissions `p` while the object lives. Root passes every permission, so the
// capabilities that override them are dropped for the calling thread meanwhile.
class ScopedPermissions {
public:
    ScopedPermissions(const QString& path, QFile::Permissions p)
        : path_(path), old_(QFile::permissions(path)) {
        EXPECT_TRUE(QFile::setPermissions(path, p)) << path.toStdString();
        if (geteuid() != 0 || syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &=
            ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
        dropped_ = syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~ScopedPermissions() {
        if (dropped_)
            syscall(SYS_capset, &header_, saved_);
        QFile::setPermissions(path_, old_);
    }
    ScopedPermissions(const ScopedPermissions&) = delete;
    ScopedPermissions& operator=(const ScopedPermissions&) = delete;

private:
    QString path_;
    QFile::Permissions old_;
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2] = {};
    bool dropped_ = false;
};

inline constexpr QFile::Permissions read_only_folder = QFile::ReadOwner | QFile::ExeOwner;

} // namespace testfiles
