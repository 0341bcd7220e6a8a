#include "NotifyIconData.h"

#include <QByteArray>
#include <algorithm>
#include <cstring>

namespace vexlo {

void SetNotifyTip(NOTIFYICONDATAA& data, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    qsizetype length = std::min<qsizetype>(utf8.size(), kNotifyTipBytes - 1);
    // Step back over continuation bytes so that no character is split.
    if (length < utf8.size()) {
        while (length > 0 && (static_cast<unsigned char>(utf8[length]) & 0xC0) == 0x80) {
            --length;
        }
    }
    std::memset(data.szTip, 0, sizeof data.szTip);
    std::memcpy(data.szTip, utf8.constData(), static_cast<size_t>(length));
}

QString NotifyTip(const NOTIFYICONDATAA& data) {
    const void* end = std::memchr(data.szTip, '\0', sizeof data.szTip);
    const qsizetype length =
        end ? static_cast<const char*>(end) - data.szTip : qsizetype{sizeof data.szTip};
    return QString::fromUtf8(data.szTip, length);
}

}  // namespace vexlo
