// The unit's log stream as the download receives it: the file it gives does not depend on where
// the line cuts the stream into batches, and text after the stream's line end never reaches it.
#include "fuzz_support.h"

#include "link/command_link.h"
#include "link/link_state.h"
#include "logging/log_chart_commands.h"
#include "shell/definitions_table.h"

namespace {

QByteArray download(const QByteArray& stream, qsizetype cut1, qsizetype cut2) {
    reset_link_state();
    reset_command_link();
    LinkState& L = link();
    QByteArray data;
    auto buffer = std::make_unique<QBuffer>(&data);
    buffer->open(QIODevice::WriteOnly);
    L.download_file = std::move(buffer);
    L.log_download_active = true;
    qsizetype from = 0;
    for (qsizetype cut : {cut1, cut2, stream.size()}) {
        if (cut <= from || cut > stream.size())
            continue;
        receive_text(stream.mid(from, cut - from));
        from = cut;
    }
    L.log_download_active = false;
    L.download_file.reset();
    bool complete = false;
    QByteArray file = log_file_from_stream(data, QStringLiteral("~2|0|0|0|0|3|0"), complete);
    return file + (complete ? "complete" : "partial");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    if (size < 2)
        return 0;
    definitions_table()[92].unit_value = 4711;
    const QByteArray stream(reinterpret_cast<const char*>(bytes) + 2,
                            static_cast<qsizetype>(size) - 2);
    const QByteArray whole = download(stream, 0, 0);
    const qsizetype a = stream.isEmpty() ? 0 : bytes[0] % (stream.size() + 1);
    const qsizetype b = stream.isEmpty() ? 0 : bytes[1] % (stream.size() + 1);
    FUZZ_REQUIRE(download(stream, std::min(a, b), std::max(a, b)) == whole);
    // The data line holds no line end of its own: the stream ends at its first.
    const qsizetype line_end = whole.indexOf("\r\n");
    FUZZ_REQUIRE(line_end >= 0 && !whole.left(line_end).contains('\r') &&
                 !whole.left(line_end).contains('\n'));
    return 0;
}
