// Where the program's file dialogs open: in the folder the user last chose a file in, kept
// between sessions, so that a second export or a second file of a route is one click away; before
// any choice, the documents folder (else the home folder).
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace hcurve {

/// The folder a file dialog opens in.
QString dialogFolder();

/// The folder of a proposed file name: dialogFolder() joined with it.
QString proposedPath(const QString& fileName);

/// Keeps the folder of a file the user chose in a dialog; an empty path keeps nothing.
void rememberFolder(const QString& chosenPath);

/// The files to open, chosen in a dialog that opens in dialogFolder() (the folder is kept); none
/// when the user cancels.
QStringList chooseFilesToOpen(QWidget* parent, const QString& title, const QString& filter);

}  // namespace hcurve
