// GBK with Qt's decoder (Qt Core only: no display is needed).
#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include "route_cli/text_decoding.h"

namespace hcurve {

std::optional<std::string> gbkToUtf8(std::string_view bytes) {
    QStringDecoder decoder("GB18030", QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    QString text =
        decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError())
        return std::nullopt;
    return text.toStdString();
}

}  // namespace hcurve
