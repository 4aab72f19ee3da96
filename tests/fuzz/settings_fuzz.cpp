// Settings files: any file content, then one write. The written value reads back, and every other
// key of the file reads as before; a number kept in the file reads as a finite number or as none,
// and a number written with a point reads back as itself.
#include "fuzz_support.h"

#include "platform/profile.h"
#include "platform/text_file.h"
#include "platform/vb.h"

#include <cmath>

namespace {

const char* const SECTIONS[] = {"General", "Echo Control", "Print Header", "Ports", "graph"};
const char* const KEYS[] = {"Port", "Software Mode", "Site", "COM3", "Language"};

// The (section, key) pairs the file names, as far as a plain look at its lines tells.
std::vector<std::pair<QString, QString>> names_in(const QByteArray& bytes) {
    std::vector<std::pair<QString, QString>> names;
    QString section;
    for (const QString& line : platform::split_lines(platform::decode_text(bytes))) {
        const QString t = line.trimmed();
        if (t.startsWith('[') && t.contains(']')) {
            section = t.mid(1, t.indexOf(']') - 1).trimmed();
        } else if (line.contains('=') && names.size() < 12) {
            names.emplace_back(section, line.left(line.indexOf('=')).trimmed());
        }
    }
    return names;
}

QString expected_read(const QString& value) {
    QString v = value;
    return v.replace(QLatin1String("\r\n"), QLatin1String(" "))
        .replace('\r', ' ')
        .replace('\n', ' ')
        .trimmed();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const QString section = SECTIONS[in.byte() % 5];
    const QString key = KEYS[in.byte() % 5];
    const QByteArray value_bytes = in.take(in.byte() % 24);
    // Values in either encoding a user's editor might leave.
    const QString value =
        (in.byte() & 1) ? QString::fromUtf8(value_bytes) : platform::decode_line(value_bytes);
    const QByteArray file = in.rest();
    const QString path = fuzz::scratch().filePath("general.ini");
    fuzz::write_file(path, file);

    std::vector<std::pair<std::pair<QString, QString>, std::optional<QString>>> before;
    for (const auto& name : names_in(file))
        before.push_back({name, platform::read_profile_string(path, name.first, name.second)});

    FUZZ_CHECK(platform::write_profile_string(path, section, key, value), "write failed");

    const QString want = expected_read(value);
    const bool quoted = want.size() >= 2 && (want.startsWith('"') || want.startsWith('\'')) &&
                        (want.endsWith('"') || want.endsWith('\''));
    if (!quoted)
        FUZZ_CHECK(platform::read_profile_string(path, section, key) == want,
                   "the written value does not read back");
    for (const auto& [name, old] : before) {
        if (name.first.compare(section.trimmed(), Qt::CaseInsensitive) == 0 &&
            name.second.compare(key, Qt::CaseInsensitive) == 0)
            continue;
        FUZZ_CHECK(platform::read_profile_string(path, name.first, name.second) == old,
                   "another key changed");
        if (old)
            if (const auto n = platform::stored_number(*old))
                FUZZ_CHECK(std::isfinite(*n), "a kept number reads as no finite number");
    }
    if (const auto n = platform::stored_number(want)) {
        FUZZ_CHECK(std::isfinite(*n), "a kept number reads as no finite number");
        FUZZ_CHECK(platform::write_profile_string(path, section, key, platform::number_text_c(*n)),
                   "write failed");
        const auto again = platform::read_profile_string(path, section, key);
        const auto back = again ? platform::stored_number(*again) : std::nullopt;
        FUZZ_CHECK(back && std::abs(*back - *n) <= 1e-9 * std::max(1.0, std::abs(*n)),
                   "a number written with a point does not read back");
    }
    return 0;
}
