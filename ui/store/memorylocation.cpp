// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/store/memorylocation.h"
#include "ui/store/storetexts.h"

#include "engine/store/atomicfile.h"
#include "engine/store/systemerrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <string>
#include <system_error>

namespace zelmo::ui {

QString keptMemoryPath() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    // A relative value is to be ignored, as if it were unset.
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        // Only the HOME the user has: Qt would fall back to the root folder without one.
        const QString home = qEnvironmentVariable("HOME");
        if (home.isEmpty() || QDir::isRelativePath(home)) {
            return {};
        }
        base = home + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(base + QStringLiteral("/zelmo/memory.zelmo"));
}

QString checkMemoryFolder(const QString& path, FolderPolicy policy) {
    const QString notSaved = storetexts::kNotSaved.arg(path);
    if (policy == FolderPolicy::Create) {
        const QString folder = QFileInfo(path).absolutePath();
        std::error_code error;
        std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), error);
        if (error) {
            return notSaved +
                   storetexts::kFolderNotCreated.arg(
                       folder, QString::fromStdString(engine::systemErrorText(error.value())));
        }
    }
    // Permission bits do not tell the whole story (read-only mounts, access lists): the check
    // creates the temporary file a save would create beside the memory file.
    const std::string why = engine::checkReplaceable(QFile::encodeName(path).toStdString());
    return why.empty() ? QString() : notSaved + QString::fromStdString(why);
}

}  // namespace zelmo::ui
