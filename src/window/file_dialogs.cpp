#include "window/file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace hcurve {
namespace {

const char* const kSettingsOrganisation = "hcurve";
const char* const kSettingsApplication = "hcurve";
const char* const kLastFolderKey = "files/lastFolder";

}  // namespace

QString dialogFolder() {
    const QString last =
        QSettings(kSettingsOrganisation, kSettingsApplication).value(kLastFolderKey).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

QString proposedPath(const QString& fileName) {
    return QDir(dialogFolder()).filePath(fileName);
}

void rememberFolder(const QString& chosenPath) {
    if (chosenPath.isEmpty())
        return;
    QSettings(kSettingsOrganisation, kSettingsApplication)
        .setValue(kLastFolderKey, QFileInfo(chosenPath).absolutePath());
}

QStringList chooseFilesToOpen(QWidget* parent, const QString& title, const QString& filter) {
    const QStringList paths = QFileDialog::getOpenFileNames(parent, title, dialogFolder(), filter);
    if (!paths.isEmpty())
        rememberFolder(paths.front());
    return paths;
}

}  // namespace hcurve
