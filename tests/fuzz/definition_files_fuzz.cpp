// The definition files (access_vars.def and Def<version>.def) as any bytes: reading is
// deterministic, does not depend on the file's line-end style, and never takes more lines than
// the file holds.
#include "fuzz_support.h"

#include "parameters/definition_files.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "shell/definitions_table.h"

#include <QHash>

namespace {

// What the readers leave in a record (the fields they write), as one number: comparing these is
// cheap enough to do for the whole table three times a run.
size_t fingerprint(const DefinitionRecord& r) {
    size_t h = qHashMulti(0, r.number, r.name, r.read_only, r.lookup_code, r.decimals, r.attribute6,
                          r.units_code, r.min_text, r.max_text, r.present);
    return qHashMulti(h, r.default_value);
}

struct Result {
    std::vector<size_t> table;
    int applied = 0;
    int skipped = 0;
    bool section = false;
    bool operator==(const Result&) const = default;
};

Result read_both(const QByteArray& access, const QByteArray& def, int system_type, bool p61) {
    static const DefinitionRecord pristine{};
    auto& table = definitions_table();
    for (auto& rec : table)
        rec = pristine;
    const QString folder = parameters::definitions_folder();
    fuzz::write_file(folder + "/" + parameters::ACCESS_VARS_FILE_NAME, access);
    fuzz::write_file(parameters::version_def_path(205), def);
    Result r;
    const auto a = read_access_vars_def();
    const auto d = read_version_def(205, system_type, p61);
    r.applied = a.lines_applied + d.lines_applied;
    r.skipped = static_cast<int>(a.skipped.size() + d.skipped.size());
    r.section = d.section_found;
    r.table.reserve(table.size());
    for (const auto& rec : table)
        r.table.push_back(fingerprint(rec));
    return r;
}

QByteArray lf_only(QByteArray b) {
    return b.replace("\r\n", "\n").replace('\r', '\n');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::application();
    static platform::ScriptedDialogs dialogs;
    platform::set_dialogs(&dialogs);
    dialogs.prompts.clear();
    [[maybe_unused]] static const bool folder_made = [] {
        platform::set_program_folder(fuzz::scratch().path());
        return QDir().mkpath(parameters::definitions_folder());
    }();

    fuzz::Input in(data, size);
    const int system_type = in.byte() % 4;
    const bool p61 = in.byte() & 1;
    const int split = in.byte() | (in.byte() << 8);
    const QByteArray rest = in.rest();
    const QByteArray access = rest.left(split % (rest.size() + 1));
    const QByteArray def = rest.mid(access.size());

    const Result first = read_both(access, def, system_type, p61);
    FUZZ_CHECK(read_both(access, def, system_type, p61) == first, "reading twice differs");
    // Bytes of a UTF-16 file are halves of characters: only 8-bit text changes its line ends so.
    auto utf16 = [](const QByteArray& b) {
        return b.startsWith("\xFF\xFE") || b.startsWith("\xFE\xFF");
    };
    if (!utf16(access) && !utf16(def))
        FUZZ_CHECK(read_both(lf_only(access), lf_only(def), system_type, p61) == first,
                   "the line-end style changed what was read");
    FUZZ_CHECK(first.applied <= rest.count('\n') + rest.count('\r') + 2,
               "more lines applied than the files hold");
    return 0;
}
