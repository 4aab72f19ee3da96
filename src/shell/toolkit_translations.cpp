#include "shell/toolkit_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace {
QPointer<QTranslator>& installed() {
    static QPointer<QTranslator> t;
    return t;
}
} // namespace

QString toolkit_language_code(int language_index) {
    switch (language_index) {
    case 1:
        return QStringLiteral("de");
    case 2:
        return QStringLiteral("fr");
    case 3:
        return QStringLiteral("it");
    case 4:
        return QStringLiteral("es");
    default:
        return {};
    }
}

bool use_toolkit_translations(int language_index) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    if (installed()) {
        QCoreApplication::removeTranslator(installed());
        delete installed();
    }
    const QString code = toolkit_language_code(language_index);
    if (code.isEmpty())
        return true;
    auto* translator = new QTranslator(app);
    if (!translator->load(QStringLiteral("qtbase_") + code,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed() = translator;
    return true;
}
