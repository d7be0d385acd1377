#include "qt_resources.h"

#include <QFile>

namespace ep {

std::optional<std::string> QtResources::Load(int id, std::string_view type) const {
    if (type != kCustomType) return std::nullopt;
    QFile file(QStringLiteral(":/Custom/%1").arg(id));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace ep
