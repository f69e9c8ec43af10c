#pragma once

#include <QFile>
#include <QTemporaryDir>

// A pdfinfo of the test's own, first on PATH while this lives: by default one that never answers,
// so that the reader's time limit is all that ends it.
struct ReaderThatHangs {
    QTemporaryDir folder;
    const QByteArray path = qgetenv("PATH");
    explicit ReaderThatHangs(const QString& script = "exec sleep 60")
    {
        QFile reader(folder.filePath("pdfinfo"));
        reader.open(QIODevice::WriteOnly);
        reader.write("#!/bin/sh\n" + script.toUtf8() + "\n");
        reader.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        reader.close();
        qputenv("PATH", folder.path().toUtf8() + ":" + path);
    }
    ~ReaderThatHangs() { qputenv("PATH", path); }
};
