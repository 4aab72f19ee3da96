// lang.def as the user may leave it: any bytes. Loading is deterministic, does not depend on the
// file's line-end style, and a UTF-16 copy of the same text loads the same captions.
#include "fuzz_support.h"

#include "platform/text_file.h"
#include "shell/definitions_table.h"
#include "shell/language_file.h"

namespace {

std::vector<QString> snapshot() {
    std::vector<QString> texts;
    for (int n = 0; n <= ADDED_TEXTS_LAST; ++n)
        if (const QString* slot = text_slot(n))
            texts.push_back(*slot);
    return texts;
}

std::vector<QString> load(const QString& text, int language) {
    for (int n = 0; n <= ADDED_TEXTS_LAST; ++n)
        if (QString* slot = text_slot(n))
            slot->clear();
    load_language_text(text, language);
    return snapshot();
}

QByteArray utf16le(const QString& text) {
    QByteArray out("\xFF\xFE", 2);
    for (QChar c : text)
        out.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const int language = in.byte() % 5;
    const QByteArray bytes = in.rest();
    const QString text = platform::decode_text(bytes);
    const auto first = load(text, language);
    FUZZ_CHECK(load(text, language) == first, "loading twice gave other captions");

    QString lf = text;
    lf.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace('\r', '\n');
    FUZZ_CHECK(load(lf, language) == first, "the line-end style changed the captions");

    FUZZ_CHECK(platform::decode_text(utf16le(text)) == text, "UTF-16 reads as another text");
    return 0;
}
