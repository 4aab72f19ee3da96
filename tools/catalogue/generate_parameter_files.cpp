// generate_parameter_files <data folder>: rewrites the definition files and the row captions
// from data/catalogue/parameters.txt, and removes Def files the catalogue no longer gives.

#include "parameter_catalogue.h"
#include "platform/text_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: generate_parameter_files <data folder>\n");
        return 2;
    }
    const QDir data(QString::fromLocal8Bit(argv[1]));
    const QString source = data.filePath(catalogue::CATALOGUE_PATH);
    const auto text = platform::read_text_file(source);
    if (!text) {
        std::fprintf(stderr, "%s can't be read\n", qPrintable(source));
        return 1;
    }
    const auto parsed = catalogue::parse_catalogue(*text);
    if (!parsed.errors.isEmpty()) {
        for (const QString& e : parsed.errors)
            std::fprintf(stderr, "%s: %s\n", qPrintable(source), qPrintable(e));
        return 1;
    }
    QSet<QString> generated;
    int changed = 0;
    for (const auto& file : catalogue::render_catalogue(parsed.catalogue)) {
        const QString path = data.filePath(file.path);
        generated.insert(QFileInfo(path).absoluteFilePath());
        QFile current(path);
        if (current.open(QIODevice::ReadOnly) && current.readAll() == file.bytes)
            continue;
        current.close();
        QDir().mkpath(QFileInfo(path).path());
        if (!platform::write_file_atomically(path, file.bytes)) {
            std::fprintf(stderr, "%s can't be written\n", qPrintable(path));
            return 1;
        }
        std::printf("wrote %s\n", qPrintable(file.path));
        ++changed;
    }
    const QDir definitions(data.filePath(QStringLiteral("Quillarn Version Definitions")));
    for (const QFileInfo& f :
         definitions.entryInfoList({QStringLiteral("Def*.def")}, QDir::Files)) {
        if (generated.contains(f.absoluteFilePath()))
            continue;
        if (!QFile::remove(f.absoluteFilePath())) {
            std::fprintf(stderr, "%s can't be removed\n", qPrintable(f.absoluteFilePath()));
            return 1;
        }
        std::printf("removed %s\n", qPrintable(f.fileName()));
        ++changed;
    }
    std::printf("%s\n", changed ? "the definition files follow the catalogue again"
                                : "the definition files were up to date");
    return 0;
}
