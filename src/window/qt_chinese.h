// Qt's own texts (standard buttons, the file dialog and its questions) in Chinese, as every
// other text of the program, whatever the desktop's language.
#pragma once

class QCoreApplication;

namespace hcurve {

/// Installs Qt's Chinese translation from Qt's translations folder; false when it is missing
/// (then Qt's own texts stay English).
bool installQtChinese(QCoreApplication& application);

}  // namespace hcurve
