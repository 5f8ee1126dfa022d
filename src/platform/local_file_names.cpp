// Conversions between file-name bytes and the toolkit's strings.
#include "platform/local_file_names.h"

#include <QFile>
#include <QStringList>
#include <dirent.h>
#include <memory>

namespace tessaview {

namespace {

// The one entry of `folder` whose decoded name is `part`; its encoded form when none or
// several are.
QByteArray EntryNamed(const QByteArray& folder, const QString& part) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.isEmpty() ? "." : folder.constData()), ::closedir);
    QByteArray found;
    int matches = 0;
    while (const dirent* entry = dir ? ::readdir(dir.get()) : nullptr) {
        if (QFile::decodeName(entry->d_name) != part) continue;
        found = entry->d_name;
        ++matches;
    }
    return matches == 1 ? found : QFile::encodeName(part);
}

}  // namespace

std::string LocalFileName(const QString& name) {
    if (!name.contains(QChar::ReplacementCharacter)) return QFile::encodeName(name).toStdString();
    QByteArray path;
    const QStringList parts = name.split('/');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0) path += '/';
        path += parts[i].contains(QChar::ReplacementCharacter) ? EntryNamed(path, parts[i]) : QFile::encodeName(parts[i]);
    }
    return path.toStdString();
}

QString DisplayFileName(const std::string& name) {
    return QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size())));
}

}  // namespace tessaview
