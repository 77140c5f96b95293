// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/memorylocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace zelmo::ui {

namespace {

// The module's texts (UTF-8).
namespace locationTexts {
const QString kNotSaved = QStringLiteral("Память компьютера не удастся сохранить в файл «%1»: ");
const QString kNoFolder = QStringLiteral("папки «%1» нет (%2).");
const QString kNotFolder = QStringLiteral("«%1» не папка.");
const QString kNotCreated = QStringLiteral("папка «%1» не создаётся (%2).");
const QString kNotWritable = QStringLiteral("в папке «%1» нельзя создать файл (%2).");
}  // namespace locationTexts

QString causeOf(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

QString keptMemoryPath() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    // A relative value is to be ignored, as if it were unset.
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(base + QStringLiteral("/zelmo/memory.zelmo"));
}

QString checkMemoryFolder(const QString& path, FolderPolicy policy) {
    const QString folder = QFileInfo(path).absolutePath();
    const QString notSaved = locationTexts::kNotSaved.arg(path);
    const std::string folderName = QFile::encodeName(folder).toStdString();
    if (policy == FolderPolicy::Create) {
        std::error_code error;
        std::filesystem::create_directories(folderName, error);
        if (error) {
            return notSaved + locationTexts::kNotCreated.arg(
                                  folder, QString::fromLocal8Bit(error.message().c_str()));
        }
    }
    struct stat status {};
    if (::stat(folderName.c_str(), &status) != 0) {
        return notSaved + locationTexts::kNoFolder.arg(folder, causeOf(errno));
    }
    if (!S_ISDIR(status.st_mode)) {
        return notSaved + locationTexts::kNotFolder.arg(folder);
    }
    // Permission bits do not tell the whole story (read-only mounts, access lists): a save
    // creates a file beside the memory file, so try exactly that.
    std::string probe = folderName + "/.zelmo-check-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) {
        return notSaved + locationTexts::kNotWritable.arg(folder, causeOf(errno));
    }
    ::close(fd);
    ::unlink(probe.c_str());
    return {};
}

}  // namespace zelmo::ui
