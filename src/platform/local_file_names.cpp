// Conversions between file-name bytes and the toolkit's strings.
#include "platform/local_file_names.h"

#include <QFile>
#include <QStringList>
#include "osdep/files.h"

namespace tessaview {

namespace {

// The one entry of `folder` whose decoded name is `part`; its encoded form when none or
// several are.
QByteArray EntryNamed(const QByteArray& folder, const QString& part) {
    QByteArray found;
    int matches = 0;
    for (const std::string& entry : FolderEntries(folder.toStdString())) {
        if (QFile::decodeName(QByteArray::fromStdString(entry)) != part) continue;
        found = QByteArray::fromStdString(entry);
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
        path +=
            parts[i].contains(QChar::ReplacementCharacter) ? EntryNamed(path, parts[i]) : QFile::encodeName(parts[i]);
    }
    return path.toStdString();
}

QString DisplayFileName(const std::string& name) {
    return QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size())));
}

}  // namespace tessaview
